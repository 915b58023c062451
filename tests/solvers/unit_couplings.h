// The level equation of the multigrid tests: cells 1..n coupled to each
// horizontal neighbour they have with 1, Cap 5, Csource the cell number and
// every Cf the given start value.
#pragma once

#include "model/cells.h"

inline void setUnitCouplings(int n, double start) {
  for (int c = 1; c <= n; ++c) {
    Cae[c] = Ccelle[c] ? 1.0 : 0.0;
    Caw[c] = Ccellw[c] ? 1.0 : 0.0;
    Can[c] = Ccelln[c] ? 1.0 : 0.0;
    Cas[c] = Ccells[c] ? 1.0 : 0.0;
    Cap[c] = 5.0;
    Csource[c] = c;
    Cf[c] = start;
  }
}
