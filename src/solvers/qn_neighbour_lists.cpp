// Neighbour-list coefficients and relaxation of independently layered
// columns: not built yet; a run that asks for them (F 137) ends here.
#include "solvers/qn_neighbour_lists.h"

#include "startup/log.h"

void QNGridCoeff() { notAvailableYet("QNGridCoeff", "F 137"); }
void GaussQN(int, int, int) { notAvailableYet("GaussQN", "F 137"); }
void pressureCoeffQN() { notAvailableYet("pressureCoeffQN", "F 137"); }
