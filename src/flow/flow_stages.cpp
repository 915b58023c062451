// Flow stages: not built yet, each does nothing.
#include "flow/flow_stages.h"

void pressureEquationVariant() {}
void momentumStage(int) {}
int pressureStage(int) { return 0; }
void turbulenceStage(int) {}
void componentStage() {}
