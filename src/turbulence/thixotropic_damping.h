// Damping of the flow in a thixotropic mud or slide layer, one routine per
// variant of F 289; the argument is the block of the layer.
#pragma once

void ThixoDamp(int block);
void ThixoDamp1(int block);
void ThixoDamp2(int block);
void ThixoDamp3(int block);
