// "profiles": column by column along the middle line of block 1, the mass
// balance of the first grain size over the last time step (bed change
// against fluxes and the change of suspended load), then sums over the line
// and how far the bed layers agree with the grid's bed level.
#include "files/monitoring/longitudinal_profiles.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "files/write_check.h"
#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"
#include "base/exit_codes.h"
#include "base/log.h"

namespace {

constexpr double kGrainDensity = 2.65;  // t/m3 of the bed material

double at(const double *table, int n) { return table ? table[n] : 0.0; }
double at(double *const *table, int row, int n) { return table && table[row] ? table[row][n] : 0.0; }

struct ColumnBalance {
  double flux = 0.0;  // upwind sediment flux into the column through its west and east faces
  double store = 0.0; // rate of suspended mass held in the column, less its sources
};

// The sums of one column of cells from its bottom cell upwards, for the
// concentration field c1.
ColumnBalance columnBalance(int c0, const double *c1, double dt) {
  ColumnBalance s;
  if (c0 < 1 || !c1) return s;
  for (int k = c0; k > 0; k = Ccellt[k]) {
    const double fw = Fflux[Cflatew[k]], fe = Fflux[Cflatee[k]];
    s.flux += std::max(fw, 0.0) * c1[Ccellw[k]] + std::max(-fe, 0.0) * c1[Ccelle[k]] - std::max(fe, 0.0) * c1[k] +
              std::min(fw, 0.0) * c1[k];
    if (Ccelle[k] == 0 && fw >= 0.0) s.flux -= fw * c1[k];
    s.store += c1[k] * Cvol[k] * 1000.0 / dt - at(Csourcem, 1, k);
  }
  return s;
}

// The bed-layer thickness above the non-erodible level against the grid's
// bed level, at column i of line jm.
double layerDelta(int i, int jm, int b) {
  double layers = 0.0;
  const int top = BlayerTop ? BlayerTop[b] : -1;
  for (int layer = 0; layer <= top; ++layer) layers += BSedDistrib[layer][0][b];
  const double floor = Surfaces ? (Surfaces[3][i - 1][jm] + Surfaces[3][i][jm]) / 2 : 0.0;
  return floor + layers - (zval[i - 1][jm][1] + zval[i][jm][1]) / 2;
}

}  // namespace

void print_profiles() {
  std::FILE *f = std::fopen("profiles", "w");
  if (!f) fatalExit(kExitInconsistent, "Can not open profiles file\n\n");
  const GridBlock &bl = block[1];
  const int jm = (bl.j1 + bl.j2) / 2;
  const double dt = TimeStep;
  const double *c1 = Cconc ? Cconc[1] : nullptr;
  std::fprintf(f,
               "X, LB, zval[1], wl, LB+BSed[0], sdef [kg], sdefc [kg], sdefv [kg], sdefb [kg], bech [m], bmove [m], "
               "time = %lf sec\n\n",
               stimet);
  double sumDef = 0, sumDefc = 0, sumDefv = 0, sumDefb = 0, up = 0, down = 0;
  double deltaSum = 0.0, deltaMax = 0.0;
  int iMax = 0;
  for (int i = bl.i1; i <= bl.i2; ++i) {
    const int b = pointbed[i][jm];
    const int c0 = static_cast<int>(zval[i][jm][0]);
    const ColumnBalance s = columnBalance(c0, c1, dt);
    double sdefc = kGrainDensity * dt * s.flux;
    if (i == bl.i1) sdefc += kIn[1];
    if (i == bl.i2) sdefc -= kUt[1];
    const double sdefv = kGrainDensity * dt * s.store;
    const double bech = at(Bbedchange, 1, b);
    const double sdefb = bech * Barea[b] * SolidFrac * 1000.0 * kGrainDensity;
    const double sdef = sdefb - sdefc + sdefv;
    const double x = (xval[i - 1][jm] + xval[i][jm]) / 2;
    std::fprintf(f, "%lf %lf %lf %lf %lf %lf %lf\n", x, sdef, sdefc, sdefv, sdefb, bech, at(Bedmove, b));
    sumDef += sdef, sumDefc += sdefc, sumDefv += sdefv, sumDefb += sdefb;
    if (FlagBedDefect == 2 && Bdefect) Bdefect[b] = sdef;
    const double delta = layerDelta(i, jm, b);
    deltaSum += std::fabs(delta);
    if (std::fabs(delta) > std::fabs(deltaMax)) deltaMax = delta, iMax = i;
    up += at(Bupflux, 1, b) * density * dt;
    if (c1 && c0 >= 1) down += dt * c1[c0] * fallvelo[1] * Barea[b] * density * 1000.0;
  }
  const int columns = bl.i2 - bl.i1 + 1;
  std::fprintf(f, "Deltasum = %lf, deltamax[%d] = %lf\n", columns > 0 ? deltaSum / columns : 0.0, iMax, deltaMax);
  std::fprintf(f, "Total defect: %lf kg, Flux defect: %lf kg, Time change: %lf kg, Bed change: %lf kg\n", sumDef,
               sumDefc, sumDefv, sumDefb);
  std::fprintf(f, "Bupflux = %lf kg, downflux = %lf kg, difference: %lf kg.\n", up, down, down - up);
  closeWrittenFile(f, "profiles");
}
