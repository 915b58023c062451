// SIMPLE correction: not built yet, each routine does nothing.
#include "flow/simple_corrections.h"

void SimpleCorrections(int, int, int, int) {}
void SimpleCorrectionsRegion(int, int, int, int) {}
