// Pressure and level treatments of the correction stage: not in the engine
// yet, so a run that switches one on ends here as not available.
#include "flow/pressure_treatments.h"

#include "startup/log.h"

void stressTermPressure(int, int) { notAvailableYet("stressTermPressure", "F 258"); }
void levelCorrection(int, int) { notAvailableYet("levelCorrection", "F 271"); }
void mudPressureClip(int, int) { notAvailableYet("mudPressureClip", "F 372 2"); }
void topCellPressure(int, int) { notAvailableYet("topCellPressure", "F 36 11"); }
