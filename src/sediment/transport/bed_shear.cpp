// The bed shear stress of the sediment formulas. By default it is 300 times
// k of a column's bottom cell; the column methods write bedshear on block 1,
// and the bed-cell shear corrects either value by neighbours, smoothing, grid
// resolution, bed forms and grain roughness.
#include "sediment/transport/bed_shear.h"

#include <algorithm>
#include <cmath>

#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/grid_index.h"
#include "model/settings.h"
#include "model/structured.h"

namespace {

// The bottom cell of column (i, j), 0 when the column has no cells.
int bottomCell(int i, int j) { return static_cast<int>(zval[i][j][0]); }

// The highest cell of the column that starts at cell c.
int topCell(int c) {
  while (Ccellt[c] > 0) c = Ccellt[c];
  return c;
}

// The slope shear of a column: the highest face between two of its cells
// (the top face of the cell below the top cell) gives the slope angle. A
// column of one cell has no such face; its bed face stands in.
double slopeShear(int c, int b) {
  int face = Cflateb[c];
  if (Ccellt[c] > 0) {
    while (Ccellt[Ccellt[c]] > 0) c = Ccellt[c];
    face = Cflatet[c];
  }
  const double theta = std::acos(std::clamp(Fvz[face], -1.0, 1.0));
  return 19600.0 * Bdepth[b] * std::tan(theta);
}

// Method 1 on line i of block 1: 300 k reduced by the grain share of the
// roughness where bed forms stand, then scaled so that the line's mean factor
// is 1: the shear moves from columns with bed forms to those without.
void partitionLine(const GridBlock &blk, int i) {
  int columns = 0;
  double sum = 0.0;
  for (int j = blk.j1; j <= blk.j2; ++j) {
    const int c = bottomCell(i, j);
    if (c <= 0) continue;
    ++columns;
    const int b = pointbed[i][j];
    const double form = Bedformheight[b];
    double f = 1.0;
    if (form > 1e-10) {
      const double ksg = coeffRoughRijn * Bd90[b];
      const double ksf = 1.1 * form * (1.0 - std::exp(-25.0 * form / (7.3 * Bdepth[b])));
      f = std::pow(std::min(1.0, ksg / (ksf + ksg)), 0.25);
    }
    bedshear[i][j] = 300.0 * Ckinen[c] * f;
    sum += f;
  }
  const double scale = columns / (sum + 1e-20);
  for (int j = blk.j1; j <= blk.j2; ++j) {
    if (bottomCell(i, j) > 0) bedshear[i][j] *= scale;
  }
}

}  // namespace

// Columns of 30 half heights over the roughness or less have no log layer:
// the logarithm is then taken as 1 instead of running to 0 (infinite shear)
// or below it.
double logLawShear(int c) {
  const double u = Cxvel[c], v = Cyvel[c];
  const double ratio = 30.0 * Ckdist[c] / Croughness[c];
  const double lnRatio = ratio > std::exp(1.0) ? std::log(ratio) : 1.0;
  const double factor = 0.4 / lnRatio;
  return 1000.0 * (u * u + v * v) * factor * factor;
}

void computeBedshear() {
  const int method = FlagDuneShearPartCross;
  if (method < 1 || method > 6 || NoBlocks < 1) return;
  const GridBlock &blk = block[1];
  for (int i = blk.i1; i <= blk.i2; ++i) {
    if (method == 1) {
      partitionLine(blk, i);
      continue;
    }
    for (int j = blk.j1; j <= blk.j2; ++j) {
      const int c = bottomCell(i, j);
      if (c <= 0) continue;
      const double k300 = 300.0 * Ckinen[c];
      switch (method) {
        case 2: bedshear[i][j] = logLawShear(c); break;
        case 3: bedshear[i][j] = slopeShear(c, pointbed[i][j]); break;
        case 4: bedshear[i][j] = std::max(logLawShear(c), k300); break;
        case 5: bedshear[i][j] = std::sqrt(logLawShear(c) * k300); break;
        default: bedshear[i][j] = (k300 + logLawShear(c) + slopeShear(c, pointbed[i][j])) * 0.33333; break;
      }
    }
  }
}

// Walks up from the bottom cell in steps of its half height while within its
// roughness; the top cell of the column never counts, so a column of one
// cell gets 0.
void computeShearTramel() {
  if (NoBlocks < 1) return;
  const GridBlock &blk = block[1];
  for (int i = blk.i1; i <= blk.i2; ++i) {
    for (int j = blk.j1; j <= blk.j2; ++j) {
      const int c0 = bottomCell(i, j);
      if (c0 <= 0) continue;
      double z = 0.0, kmax = 0.0;
      for (int c = c0; Ccellt[c] > 0; c = Ccellt[c]) {
        z += Ckdist[c0];
        kmax = std::max(kmax, Ckinen[c]);
        if (z > Croughness[c0]) break;
        z += Ckdist[c0];
      }
      bedshear[i][j] = 300.0 * kmax;
    }
  }
}

int dryNeighbourCount(int blockNo, int i, int j) {
  const GridBlock &blk = block[blockNo];
  int dry = 0;
  if (i > blk.i1 && bottomCell(i - 1, j) == 0) ++dry;
  if (i < blk.i2 && bottomCell(i + 1, j) == 0) ++dry;
  if (j > blk.j1 && bottomCell(i, j - 1) == 0) ++dry;
  if (j < blk.j2 && bottomCell(i, j + 1) == 0) ++dry;
  return dry;
}

namespace {

// A bank cell with a dry side and a deeper column on the opposite side sees
// at most the shear of that deeper neighbour.
bool deeperOpposite(int b, int missing, int present) {
  return missing <= 0 && present > 0 && Bdepth[Cbed[present]] > Bdepth[b];
}

void capAcross(double &tau, int b, int side1, int side2) {
  if (deeperOpposite(b, side1, side2)) {
    tau = std::min(tau, 300.0 * Ckinen[side2]);
  } else if (deeperOpposite(b, side2, side1)) {
    tau = std::min(tau, 300.0 * Ckinen[side1]);
  }
}

double neighbourCorrection(double tau, int b, int c0, bool bank) {
  const double h = Bdepth[b];
  switch (FlagShearNB) {
    case 1:
      if (Ccellt[c0] > 0) tau = std::max(tau, 300.0 * Ckinen[Ccellt[c0]]);
      break;
    case 2:
      if (Faz[Cflateb[c0]] < 0.95 * Barea[b]) {
        for (int n : {Ccellw[c0], Ccelle[c0], Ccelln[c0], Ccells[c0]}) {
          if (n > 0) tau = std::max(tau, 300.0 * Ckinen[n]);
        }
      }
      break;
    case 4: {
      const int ct = topCell(c0), f = Cflatet[ct];
      const double u = Cxvel[ct], v = Cyvel[ct];
      tau = std::max(tau, (Fvx[f] * u + Fvy[f] * v) / std::sqrt(u * u + v * v + 1e-10) * h * 9810.0);
      break;
    }
    case 5:
      // The Manning-Strickler shear 9810 U^2 / (M^2 h^(1/3)) of the surface
      // velocity caps the shear of a bank cell.
      if (bank) {
        const int ct = topCell(c0);
        const double u = Cxvel[ct], v = Cyvel[ct];
        tau = std::min(tau, (u * u + v * v) / (std::pow(h, 1.33333) * ManningInit * ManningInit) * h * 9810.0);
      }
      break;
    case 6:
      if (bank) {
        capAcross(tau, b, Ccelle[c0], Ccellw[c0]);
        capAcross(tau, b, Ccells[c0], Ccelln[c0]);
      }
      break;
    default: break;
  }
  return tau;
}

double smoothed(double tau, int c0) {
  if (FlagShearSmooth < 1 || FlagShearSmooth > 5) return tau;
  double sum = 0.0, largest = 0.0;
  int count = 0;
  for (int n : {Ccellw[c0], Ccells[c0], Ccelln[c0], Ccelle[c0]}) {
    if (n <= 0) continue;
    sum += Ckinen[n];
    largest = std::max(largest, Ckinen[n]);
    ++count;
  }
  const double mean = sum / (count + 1e-20);
  switch (FlagShearSmooth) {
    case 1: return 0.5 * 300.0 * mean + 0.5 * tau;
    case 2: return 0.667 * 300.0 * mean + 0.333 * tau;
    case 3: return 0.8 * 300.0 * mean + 0.2 * tau;
    case 4: return std::max(tau, 300.0 * mean);
    default: return std::max(tau, 300.0 * largest);
  }
}

// h / (h - x) limited to lim; where the bed forms reach the surface the
// ratio is taken at its limit.
double depthRatio(double h, double x, double lim) {
  if (h - x <= 0.0) return lim;
  return std::min(h / (h - x), lim);
}

double bedFormReduction(double tau, double tauE, double h, double d90, double form) {
  const double lim = ShearBedformLim, p = ShearBedformCoeff;
  switch (FlagShearBedform) {
    case 1: return tau * std::pow(depthRatio(h, (d90 + form) / 2.0, lim), p);
    case 2: return tauE * std::pow(depthRatio(h, form / 2.0, lim), p);
    case 3: {
      const double r = h - form / 2.0 <= 0.0 ? lim : std::min(std::max(h / (h - form / 2.0) - 0.25, 1.0), lim);
      return tauE * std::pow(r, p);
    }
    default: return tauE;
  }
}

}  // namespace

BedCellShear bedCellShear(int blockNo, int b, double h, double d90, int dryNeighbours) {
  const int c0 = Bcellt[b], i = Bkooi[b], j = Bkooj[b];
  // The column tables are written on block 1 alone; elsewhere 300 k stands.
  double tau = FlagDuneShearPartCross > 0 && blockNo == 1 ? bedshear[i][j] : 300.0 * Ckinen[c0];
  tau = neighbourCorrection(tau, b, c0, dryNeighbours > 0);
  tau = smoothed(tau, c0);
  if (ShearGridCoeff[1] > 1.0) tau *= ShearGridCoeff[std::clamp(ant[i][j], 0, 10)];
  double tauE = bedFormReduction(tau, tau, h, d90, Bedformheight[b]);
  if (FlagRoughness == 4 || FlagRoughness == 5) tauE *= std::pow(std::min(1.0, 3.0 * d90 / Croughness[c0]), 0.25);
  return {tau, tauE};
}
