// The built-in test of the explicit shallow-water scheme (run letter L): a
// two-step scheme of the Lax-Wendroff kind, predictor at the faces and
// corrector in the cells, on the two-dimensional layer of F 311, with a fixed
// start state, a fixed inflow at the west end and an outflow at the east end.
// Writes CU, CF, CG, FF, FG, Cxvel, Cyvel and the top corner levels Pz.
#include <algorithm>
#include <cmath>

#include "flow/drivers/flow_drivers.h"
#include "grid/grid_services.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/points.h"
#include "model/settings.h"
#include "model/work_ranges.h"
#include "base/exit_codes.h"
#include "base/log.h"

namespace {

constexpr double kHalfG = 4.905;  // g/2, m/s2
// The inflow: 0.22 m deep, 0.066 m2/s (0.3 m/s); its x flux
// 0.066^2/0.22 + 4.905 0.22^2 and y flux 4.905 0.22^2.
constexpr double kInflowDepth = 0.22, kInflowDischarge = 0.066;
constexpr double kInflowFluxX = 0.257202, kInflowFluxY = 0.237402;

void setState(int c, double h, double hu, double hv) {
  CU[0][c] = h;
  CU[1][c] = hu;
  CU[2][c] = hv;
}

// The fluxes of a state moving along x at speed u.
void setCellFluxes(int c, double h, double u) {
  CF[0][c] = h * u;
  CF[1][c] = u * u * h + kHalfG * h * h;
  CF[2][c] = 0.0;
  CG[0][c] = CG[1][c] = 0.0;
  CG[2][c] = kHalfG * h * h;
}

// Start state, inflow faces and inflow corners.
void setUp() {
  const double h0 = 2.0 * Ckdist[WCStart];
  for (int c = WCStart; c <= WCEnd; ++c) {
    setState(c, h0, 0.2 * h0, 0.0);
    setCellFluxes(c, h0, 0.2);
  }
  for (int c = WCStart; c <= WCEnd; ++c) {
    if (Ccellw[c] != 0) continue;
    Pz[Cpoint5[c]] = Pz[Cpoint8[c]] = kInflowDepth;
    const int w = Cflatew[c];
    FF[0][w] = kInflowDischarge;
    FF[1][w] = kInflowFluxX;
    FF[2][w] = 0.0;
    FF[3][w] = kInflowDepth;
    FG[0][w] = FG[1][w] = 0.0;
    FG[2][w] = kInflowFluxY;
    CF[0][c] = kInflowDischarge;
    CF[1][c] = kInflowFluxX;
    CF[2][c] = 0.0;
    Fvx[Cflatet[c]] = 0.1;
    Fvz[Cflatet[c]] = 0.994987;
  }
}

// Predictor: the state at every interior face half a step on, limited to 5 %
// of the mean state where that is negative, turned into its x flux; the
// boundary faces keep the inflow (west), copy it (east, outflow) or take the
// cell's fluxes along their normal (walls).
void faceFluxes(double dt) {
  for (int f = WFStart; f <= WFEnd; ++f) {
    const int c1 = Fcell1[f], c2 = Fcell2[f];
    if (c1 > 0 && c2 > 0) {
      const double factor = dt / (2.0 * (Fdist1[f] + Fdist2[f]));
      for (int k = 0; k <= 2; ++k) {
        FG[k][f] = 0.5 * (CG[k][c1] + CG[k][c2]);
        const double mean = 0.5 * (CU[k][c1] + CU[k][c2]);
        double s = factor * (CF[k][c2] - CF[k][c1]);
        s = s < 0.0 ? std::min(s, 0.05 * mean) : std::max(s, -0.05 * mean);
        FF[k][f] = mean - s;
      }
      const double h = FF[0][f], u = FF[1][f] / h;
      FF[0][f] = h * u;
      FF[1][f] = u * u * h + kHalfG * h * h;
      FF[2][f] = 0.0;
      FF[3][f] = h;
      continue;
    }
    const int c = c1 > 0 ? c1 : c2;
    if (f == Cflatew[c]) continue;
    if (f == Cflatee[c]) {
      const int w = Cflatew[c];
      for (int k = 0; k <= 2; ++k) {
        FF[k][f] = FF[k][w];
        FG[k][f] = FG[k][w];
      }
    } else {
      for (int k = 0; k <= 2; ++k) {
        FF[k][f] = CF[k][c] * Fvx[f];
        FG[k][f] = CG[k][c] * Fvy[f];
      }
    }
    FF[3][f] = CU[0][c];
  }
}

inline double volumeFlux(int f) { return FF[0][f] * Fax[f] / FF[3][f] + FG[0][f] * Fay[f]; }
inline double momentumFlux(int f) { return FF[1][f] * Fax[f]; }

// Corrector: depth and unit discharge of every cell from its face fluxes,
// the Manning-Strickler friction of the bed, and the cell fluxes rebuilt
// with the old depth. A depth that is gone or not a number ends the run: the
// scheme has no stability control, and every later step would divide by it.
void cellUpdate(double dt, int step) {
  const double m2 = ManningInit * ManningInit;
  for (int c = WCStart; c <= WCEnd; ++c) {
    const int e = Cflatee[c], w = Cflatew[c], s = Cflates[c], n = Cflaten[c], b = Cflateb[c];
    const double hOld = CU[0][c];
    const double h = hOld - dt * (volumeFlux(e) - volumeFlux(w) + volumeFlux(s) - volumeFlux(n)) / Faz[b];
    if (!std::isfinite(h) || h <= 1e-6) {
      fatalPrintf(kExitInconsistent, nullptr,
                  "Error in computation of Shallow Water Equations: depth %e in cell %d at step %d\n", h, c, step);
    }
    double hu = CU[1][c] - dt * (momentumFlux(e) - momentumFlux(w) + momentumFlux(s) - momentumFlux(n)) / (Faz[b] * hOld);
    const double u = hu / hOld;
    hu -= 9.81 * hOld * dt * u * std::fabs(u) / (m2 * std::pow(hOld, 1.3333333));
    setState(c, h, hu, 0.0);
    Cxvel[c] = hu / h;
    Cyvel[c] = 0.0;
    setCellFluxes(c, hOld, Cxvel[c]);
  }
}

// The mean depth of cell c and of those of a, b, d that exist.
double cornerDepth(int c, int a, int b, int d) {
  double sum = CU[0][c];
  int n = 1;
  for (int x : {a, b, d}) {
    if (x > 0) sum += CU[0][x], ++n;
  }
  return sum / n;
}

// The top corners take the mean new depth of the cells around them, at least
// 0.1 m, and 0.2 m at the outflow end.
void surfaceLevels() {
  for (int c = WCStart; c <= WCEnd; ++c) {
    const int s = Ccells[c], e = Ccelle[c], n = Ccelln[c], w = Ccellw[c];
    const int sw = w > 0 && Ccells[w] > 0 ? Ccells[w] : (s > 0 ? Ccellw[s] : 0);
    const int se = e > 0 && Ccells[e] > 0 ? Ccells[e] : (s > 0 ? Ccelle[s] : 0);
    const int ne = e > 0 && Ccelln[e] > 0 ? Ccelln[e] : (n > 0 ? Ccelle[n] : 0);
    const int nw = w > 0 && Ccelln[w] > 0 ? Ccelln[w] : (n > 0 ? Ccellw[n] : 0);
    const double least = e == 0 ? 0.2 : 0.1;
    Pz[Cpoint5[c]] = std::max(cornerDepth(c, s, w, sw), least);
    Pz[Cpoint6[c]] = std::max(cornerDepth(c, s, e, se), least);
    Pz[Cpoint7[c]] = std::max(cornerDepth(c, n, e, ne), least);
    Pz[Cpoint8[c]] = std::max(cornerDepth(c, n, w, nw), least);
  }
}

// The inflow corners return to the inflow depth; the y fluxes of the side
// walls are turned by the x component of their normal.
void boundaryResets() {
  for (int c = WCStart; c <= WCEnd; ++c) {
    if (Ccellw[c] == 0) Pz[Cpoint5[c]] = Pz[Cpoint8[c]] = kInflowDepth;
    if (Ccelln[c] == 0) {
      const int f = Cflaten[c];
      for (int k = 0; k <= 2; ++k) FG[k][f] *= Fvx[f];
    }
    if (Ccells[c] == 0) {
      const int f = Cflates[c];
      for (int k = 0; k <= 2; ++k) FG[k][f] *= Fvx[f];
    }
  }
}

}  // namespace

int shallowWater() {
  if (FlagShallowWater == 0) {
    logText("The F 311 data set has to be used in the control file when computing the \n"
            "Shallow-Water equations\n\n");
    return 0;
  }
  if (NoBlocks < 1 || block[NoBlocks].BlockKind != 1 || !CU) {
    logText("Error in computation of Shallow Water Equations: 2D block not correctly made\n");
    return 0;
  }
  const GridBlock &layer = block[NoBlocks];
  WCStart = layer.FirstCell;
  WCEnd = layer.LastCell;
  WFStart = layer.FirstFace;
  WFEnd = layer.LastFace;
  // The scheme reads the face areas and centre distances from the start.
  metric();
  setUp();
  const double dt = TimeStep;
  for (int n = 0; n < iterGlobalMax; ++n) {
    faceFluxes(dt);
    cellUpdate(dt, n);
    surfaceLevels();
    boundaryResets();
    metric();
    logPrintf("Iter %d\n", n);
  }
  return 0;
}
