// Erosion at banks where the secondary flow points to the dry side
// (F 214 to F 217): a factor on the effective shear, a factor on the
// near-bed concentration and a concentration from the collapsing slope.
#pragma once

struct BankFactors {
  double shear = 1.0;          // fτ on the effective shear
  double concentration = 1.0;  // fc on the concentration
  double added = 0.0;          // ca added to the concentration
};

// True when any of F 214 to F 217 is switched on.
bool bankErosionOn();

// The factors of bottom cell c0 in depth h; off bank cells 1, 1, 0.
BankFactors bankErosionFactors(int c0, double h, bool bank);
