// The stiffness coefficients of the soil-stress displacement equations. A
// face's coefficients go to the side Ftype1 of Fcell1 and Ftype2 of Fcell2;
// a boundary face (one cell 0) passes no stress.
#include "solvers/stress_coefficients.h"

#include <cmath>

#include "model/cells.h"
#include "model/faces.h"
#include "model/settings.h"

namespace {

// The coefficient arrays by side code 1 south .. 6 top.
double *sideArray(int side) {
  switch (side) {
    case 1: return Cas;
    case 2: return Cae;
    case 3: return Can;
    case 4: return Caw;
    case 5: return Cab;
    case 6: return Cat;
    default: return nullptr;
  }
}

void setSide(int side, int c, double value) {
  if (double *a = sideArray(side)) a[c] = value;
}

// A face between a cell and the one above it.
bool levelFace(int f) { return Ftype1[f] == 6 || Ftype2[f] == 5; }

// Linear elasticity: the normal stiffness acts across the faces normal to the
// displacement, the shear stiffness across the others.
void elasticStiffness(int equation, int first, int last) {
  const double E = EModulus, nu = PoissonRatio;
  for (int f = first; f <= last; ++f) {
    const int c1 = Fcell1[f], c2 = Fcell2[f];
    double normal = 0.0, shear = 0.0;
    if (c1 > 0 && c2 > 0) {
      const double d = Fdist1[f] + Fdist2[f];
      normal = E * Farea[f] / ((1.0 - nu * nu) * d);
      shear = E * Farea[f] / ((2.0 + nu) * d);
    }
    const bool normalAcross = levelFace(f) == (equation == 3);
    const double k = normalAcross ? normal : shear;
    if (c1 > 0) setSide(Ftype1[f], c1, k);
    if (c2 > 0) setSide(Ftype2[f], c2, k);
  }
}

// One-dimensional vertical compression: only level faces carry stiffness.
void constrainedCompression(int first, int last) {
  for (int f = first; f <= last; ++f) {
    const int c1 = Fcell1[f], c2 = Fcell2[f];
    const double k = (c1 > 0 && c2 > 0) ? Faz[f] * MModulus : 0.0;
    const double perLength = k != 0.0 ? k / (Fdist1[f] + Fdist2[f]) : 0.0;
    if (c1 > 0 && Ftype1[f] == 6) Cat[c1] = perLength;
    if (c2 > 0 && Ftype2[f] == 5) Cab[c2] = perLength;
    if (c2 > 0 && Ftype1[f] == 2) Cae[c2] = k;
    if (c2 > 0 && Ftype1[f] == 1) Cas[c2] = k;
  }
}

// Stiffness only on the side the surface moves away from (sign of Fflux).
void switchedStiffness(int equation, int first, int last) {
  const double E = EModulus;
  for (int f = first; f <= last; ++f) {
    const int c1 = Fcell1[f], c2 = Fcell2[f];
    const double a = (c1 > 0 && c2 > 0) ? 0.5 * E * Farea[f] : 0.0;
    const double F = Fflux[f];
    if (c1 > 0) {
      const int side = Ftype1[f];
      if (side >= 1 && side <= 4) {
        setSide(side, c1, F < 0.0 ? a / Fdist1[f] : 0.0);
      } else if (side == 6) {
        if (equation == 3) {
          Cat[c1] = E * Faz[f] / (Ckdist[c1] + Ckdist[Ccellt[c1]]);
        } else if (equation == 2 && F < 0.0) {
          Cat[c1] = 0.5 * E * std::fabs(Fay[f]) / Fdist1[f];
        }
      }
    }
    if (c2 > 0) {
      const int side = Ftype2[f];
      if (side >= 1 && side <= 4) {
        setSide(side, c2, F > 0.0 ? a / Fdist2[f] : 0.0);
      } else if (side == 5) {
        Cab[c2] = 0.0;
      }
    }
  }
}

}  // namespace

void coeff_make_stress(int equation, int first, int last) {
  Cidist[0] = Cjdist[0] = 0.0;
  switch (FlagStressStrain) {
    case 9: elasticStiffness(equation, first, last); break;
    case 5: constrainedCompression(first, last); break;
    case 2: switchedStiffness(equation, first, last); break;
    default: break;
  }
}
