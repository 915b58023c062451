// Cross-section continuity corrections towards the discharge of group 1.
#pragma once

void correctContinuity2();  // F 413 2 and 3, inside the flow stages
