// The realizable k-epsilon viscosity, whose coefficient falls where the flow
// is strained hard, and epsilon from k and a length scale for the models
// that solve no epsilon equation.
#include "turbulence/realizable_length_scale.h"

#include <algorithm>
#include <cmath>

#include "model/bed_cells.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/work_ranges.h"
#include "base/exit_codes.h"
#include "base/log.h"

namespace {

// The value of a field at the face towards neighbour n, interpolated
// linearly by the half extents; a missing neighbour gives the cell's value.
inline double faceValue(const double *q, int c, int n, const double *half) {
  if (n <= 0) return q[c];
  const double w = half[c] / (half[c] + half[n]);
  return q[c] + w * (q[n] - q[c]);
}

// The nine velocity derivatives g[a][b] = d(velocity a)/d(direction b) of a
// cell by the Gauss theorem over its three pairs of opposite faces.
void velocityGradient(int c, double g[3][3]) {
  const double *vel[3] = {Cxvel, Cyvel, Czvel};
  const int hi[3] = {Ccelle[c], Ccelln[c], Ccellt[c]}, lo[3] = {Ccellw[c], Ccells[c], Ccellb[c]};
  const int fhi[3] = {Cflatee[c], Cflaten[c], Cflatet[c]}, flo[3] = {Cflatew[c], Cflates[c], Cflateb[c]};
  const double *half[3] = {Cidist, Cjdist, Ckdist};
  double area[3][3];  // mean area vector of each face pair
  for (int p = 0; p < 3; ++p) {
    area[p][0] = 0.5 * (Fax[fhi[p]] + Fax[flo[p]]);
    area[p][1] = 0.5 * (Fay[fhi[p]] + Fay[flo[p]]);
    area[p][2] = 0.5 * (Faz[fhi[p]] + Faz[flo[p]]);
  }
  const double inv = 1.0 / Cvol[c];
  for (int a = 0; a < 3; ++a) {
    double diff[3];
    for (int p = 0; p < 3; ++p) diff[p] = faceValue(vel[a], c, hi[p], half[p]) - faceValue(vel[a], c, lo[p], half[p]);
    for (int b = 0; b < 3; ++b) g[a][b] = (diff[0] * area[0][b] + diff[1] * area[1][b] + diff[2] * area[2][b]) * inv;
  }
}

}  // namespace

void GammaCalcRealizable(int first, int last) {
  for (int c = first; c <= last; ++c) {
    double g[3][3];
    velocityGradient(c, g);
    double s[3][3];
    double ss = 0.0;
    for (int a = 0; a < 3; ++a) {
      for (int b = 0; b < 3; ++b) {
        s[a][b] = 0.5 * (g[a][b] + g[b][a]);
        ss += s[a][b] * s[a][b];
      }
    }
    double sss = 0.0;
    for (int a = 0; a < 3; ++a) {
      for (int b = 0; b < 3; ++b) {
        for (int d = 0; d < 3; ++d) sss += s[a][b] * s[b][d] * s[d][a];
      }
    }
    const double r1 = g[1][0] - g[0][1], r2 = g[2][0] - g[0][2], r3 = g[2][1] - g[1][2];
    const double rotation = (r1 * r1 + r2 * r2 + r3 * r3) / 4.0;
    const double ustar = std::sqrt(ss + rotation);
    // Without strain the invariant is undefined and counts as -1.
    const double w = ss > 0.0 ? std::clamp(2.54 * sss / (ss * std::sqrt(ss)), -1.0, 1.0) : -1.0;
    const double as = 2.54 * std::cos(std::acos(w) * 0.333333);
    const double k = Ckinen[c], epsilon = Cepsilon[c] + 1e-20;
    const double cmu = 1.0 / (4.04 + as * k * ustar / epsilon);
    Cgamma[c] = cmu < 0.09 ? 1000.0 * cmu * k * k / epsilon : 90.0 * k * k / epsilon;
  }
}

void computeEpsilon() {
  const int model = TurbulenceModel;
  const double ce = coeffEpsilon;
  const double *length = model == 19 ? BTheight : (model == 20 ? Bdepth : nullptr);
  if (model == 18) {
    for (int c = WCStart; c <= WCEnd; ++c) Cepsilon[c] = ce * Ckinen[c] * Ckinen[c] / (Cgamma[c] + 1e-20);
  } else if ((model == 19 || model == 20) && length) {
    for (int c = WCStart; c <= WCEnd; ++c) Cepsilon[c] = ce * std::pow(Ckinen[c], 1.5) / (length[Cbed[c]] + 1e-20);
  } else {
    fatalExit(kExitModelCombination, "Error in combination of F 24 and F 328 in control file\n\n");
  }
}
