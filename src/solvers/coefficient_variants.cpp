// Coefficient variants: the multigrid form of the power law (eddy viscosity
// Cgamma on every face, no clamp) and the extra face diffusion of bed forms
// (F 176) that the other builders add.
#include "solvers/coefficient_variants.h"

#include <algorithm>
#include <cmath>

#include "model/bed_cells.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "solvers/coefficients.h"

void coeff_MGS(int first, int last) {
  const double fac = diffusionFactor();
  const bool constant = TurbulenceModel == 6, minimumOnVertical = TurbDensFlag == 3;
  const double minGamma = MinGamma, tdVert = TDCvert, tdHoriz = TDChoriz;
  double *side[7] = {nullptr, Cas, Cae, Can, Caw, Cab, Cat};
  for (int f = first; f <= last; ++f) {
    const int c1 = Fcell1[f], c2 = Fcell2[f];
    const int t1 = Ftype1[f], t2 = Ftype2[f];
    const double F = Fflux[f];
    double diffusion = 0.0;
    if (c1 != 0 && c2 != 0) {
      const bool vertical = t1 == 5 || t2 == 5;
      const double inv = 1.0 / (Fdist1[f] + Fdist2[f] + 1e-20);
      double G = constant ? (vertical ? TCvert : TChoriz) : (Fdist1[f] * Cgamma[c2] + Fdist2[f] * Cgamma[c1]) * inv;
      if (minimumOnVertical && vertical) G = minGamma;
      const double D = fac * Farea[f] * G * inv;
      double t = tdHoriz;
      if (vertical) {
        const double Pe = std::fabs(F / (D + 1e-20));
        const double b = 1.0 - 0.1 * Pe;
        const double A = (Pe > 20.0 || b <= 0.0) ? 0.0 : b * b * b * b * b;
        t = A * tdVert;
      }
      diffusion = D * std::max(t, minGamma / G);
    }
    if (t1 >= 1 && t1 <= 6) side[t1][c1] = std::max(-F, 0.0) + diffusion;
    if (t2 >= 1 && t2 <= 6) side[t2][c2] = std::max(F, 0.0) + diffusion;
  }
}

double coeff_bedform(int f, int c1, int c2) {
  const int mode = FlagRBedformsmooth;
  if (mode < 1 || mode > 4 || Ftype1[f] >= 5) return 0.0;
  // Modes 2 and 4 act only next to a bed cell (a cell with none below).
  if ((mode == 2 || mode == 4) && Ccellb[c1] != 0 && Ccellb[c2] != 0) return 0.0;
  const double u = 0.5 * (Cxvel[c1] + Cxvel[c2]), v = 0.5 * (Cyvel[c1] + Cyvel[c2]);
  const double speed = std::sqrt(u * u + v * v);
  const double base = 1000.0 * Farea[f] * RBedformsmooth * speed;
  if (mode <= 2) return base;
  const int b1 = Cbed[c1], b2 = Cbed[c2];
  return 0.5 * base * (Bedformheight[b1] + Bedformheight[b2]) / (Bdepth[b1] + Bdepth[b2] + 1e-30);
}
