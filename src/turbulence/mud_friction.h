// Mud (thixotropic) flow: the wall friction of the mud layer and the damping
// of its velocities.
#pragma once

void wall_thixo();    // wall friction of the mud layer (F 236)
void ThixoVelDamp();  // velocity damping of the mud layer (F 289)
