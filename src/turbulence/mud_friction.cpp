// Mud friction and damping: not built yet; F 236 and F 289 end the run as
// not available.
#include "turbulence/mud_friction.h"

#include "startup/log.h"

void wall_thixo() { notAvailableYet("wall_thixo", "F 236"); }

void ThixoVelDamp() { notAvailableYet("ThixoVelDamp", "F 289"); }
