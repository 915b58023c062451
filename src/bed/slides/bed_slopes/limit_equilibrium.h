// Bank failure by limit equilibrium: the wet columns beside a dry one whose
// driving force beats friction and cohesion are flattened.
#pragma once

// With F 262 the groundwater levels are advanced first; with F 266 1 every
// bank column of the worked blocks is tested and each failing one moves its
// four bed corners towards their mean (zval plane 1 and Surfaces plane 1).
void computeGLEA();
