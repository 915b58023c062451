// Boundary levels of the transient free surface: the "timei" levels at the
// outflow and inflow faces, the corners of every group's faces extrapolated
// from inside with a Manning-Strickler friction slope (F 353), and the
// minimum outflow depth. Writes zval[..][znumber].
#include "surface/transient/transient_boundary_levels.h"

#include <algorithm>
#include <cmath>

#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/series.h"
#include "model/settings.h"
#include "model/structured.h"

namespace {

double &level(int i, int j) { return zval[i][j][znumber]; }

// A boundary face: its cell, side (1 south, 2 east, 3 north, 4 west) and the
// column (i, j) of that cell.
struct BoundaryFace {
  int cell, side, i, j;
};

BoundaryFace boundaryFace(int f) {
  BoundaryFace bf{};
  bf.cell = Fcell1[f] != 0 ? Fcell1[f] : Fcell2[f];
  bf.side = Fcell1[f] != 0 ? Ftype1[f] : Ftype2[f];
  const int b = Cbed[bf.cell];
  bf.i = Bkooi[b];
  bf.j = Bkooj[b];
  return bf;
}

// Boundary corner n (0 or 1) of a side and the step inward from it.
struct CornerLine {
  int i, j, di, dj;
};

CornerLine cornerLine(const BoundaryFace &bf, int n) {
  switch (bf.side) {
    case 1: return {n == 0 ? bf.i : bf.i - 1, bf.j - 1, 0, 1};
    case 2: return {bf.i, n == 0 ? bf.j - 1 : bf.j, -1, 0};
    case 3: return {n == 0 ? bf.i : bf.i - 1, bf.j, 0, -1};
    default: return {bf.i - 1, n == 0 ? bf.j - 1 : bf.j, 1, 0};
  }
}

void forBoundaryCorners(const BoundaryFace &bf, double value, bool raiseOnly) {
  for (int n = 0; n < 2; ++n) {
    const CornerLine c = cornerLine(bf, n);
    double &z = level(c.i, c.j);
    z = raiseOnly ? std::max(z, value + zval[c.i][c.j][1]) : value;
  }
}

bool isBottomCell(int c) { return c > 0 && Ccellb[c] == 0; }
bool isTopCell(int c) { return c > 0 && Ccellt[c] == 0; }

const DischargeGroup *firstOutflowGroup() {
  for (const DischargeGroup &g : DischargeStruct) {
    if (g.type == 0 && g.faceCount > 0) return &g;
  }
  return nullptr;
}

// One line of corners from the boundary corner P0 inward, walked no further
// than the corners of the block.
class Line {
 public:
  Line(const CornerLine &c, const GridBlock &g) : c_(c) {
    const int longest = std::max(10, surfaceDampSec + 1);
    last_ = 0;
    while (last_ < longest && inside(g, c.i + (last_ + 1) * c.di, c.j + (last_ + 1) * c.dj)) ++last_;
  }
  double &operator[](int m) {
    m = std::min(m, last_);
    return level(c_.i + m * c_.di, c_.j + m * c_.dj);
  }
  int last() const { return last_; }

 private:
  static bool inside(const GridBlock &g, int i, int j) { return i >= g.i1 - 1 && i <= g.i2 && j >= g.j1 - 1 && j <= g.j2; }
  CornerLine c_;
  int last_;
};

enum class Rule { None, OneCell, FourRow, FourRowSmoothed, InwardBlend, OutwardBlend, ThreePoint };

void oneCell(Line &P, double dz) { P[0] = P[1] - dz; }

void fourRow(Line &P, double dz) {
  P[0] = 0.5 * (P[1] - dz) + 0.3 * (P[2] - 2.0 * dz) + 0.15 * (P[3] - 3.0 * dz) + 0.05 * (P[4] - 4.0 * dz);
}

void inwardBlend(Line &P, double dz) {
  for (int m = 1; m <= std::min(9, P.last()); ++m) {
    const double w = (10 - m) / 10.0;
    P[m] = (P[m - 1] + dz) * w + P[m] * (1.0 - w);
  }
}

void outwardBlend(Line &P, double dz) {
  for (int m = 1; m <= std::min(9, P.last() - 1); ++m) {
    const double w = (10 - m) / 10.0;
    P[m] = (P[m + 1] - dz) * w + P[m] * (1.0 - w);
  }
}

void threePoint(Line &P, bool capped) {
  const double f1 = surfaceDampFactor1, f2 = surfaceDampFactor2;
  const double a = (1.0 - f2) * f1, c = (1.0 - f1) * (1.0 - f2);
  for (int m = 1; m <= std::min(surfaceDampSec, P.last() - 1); ++m) {
    P[m] = a * P[m + 1] + f2 * P[m] + c * P[m - 1];
    if (capped) P[m] = std::min(P[m], P[0]);
  }
}

// The sequence of rules of F 353 for one side of an outflow or inflow group.
void applySide(Line &P, double dz, bool outflow, int side, double outflowLevel, double inflowLevel) {
  const int mode = surfaceDownstreamDamp;
  if (mode == 1) {
    if (side == 2 && outflowLevel >= 0.0) return;
    outflow ? oneCell(P, dz) : fourRow(P, dz);
    return;
  }
  if (mode == 2 || mode == 3) {
    if (outflow) {
      side == 2 ? inwardBlend(P, dz) : oneCell(P, dz);
    } else if (side == 4) {
      fourRow(P, dz);
      P[1] = 0.25 * (P[0] + P[2]) + 0.5 * P[1];
    } else {
      fourRow(P, dz);
    }
    return;
  }
  if (mode == 4) {
    if (outflow) {
      if (side == 2) inwardBlend(P, dz);
      else if (side == 4) outwardBlend(P, dz), oneCell(P, dz);
      else oneCell(P, dz);
    } else if (side == 4) {
      outwardBlend(P, dz);
    }
    return;
  }
  if (mode == 5 || mode == 6) {
    if (outflow && side != 4) {
      side == 2 ? inwardBlend(P, dz) : oneCell(P, dz);
      return;
    }
    if (side != 4) return;
    if (inflowLevel < 0.0) oneCell(P, dz);
    threePoint(P, mode == 6);
    if (outflow) oneCell(P, dz);
  }
}

}  // namespace

double seriesLevelAt(const double *H) {
  const int n = TimeInNo;
  if (n <= 1) return H[0];
  int k = 1;
  if (stimet >= TimeInTime[1]) {
    k = n - 1;
    for (int m = 2; m <= n - 1; ++m) {
      if (TimeInTime[m] > stimet) {
        k = m;
        break;
      }
    }
  }
  const double f = std::max(TimeInTime[k] - stimet, 0.0) / (TimeInTime[k] - TimeInTime[k - 1] + 1e-20);
  return H[k - 1] * f + H[k] * (1.0 - f);
}

double transientOutflowLevel(int b) {
  if (TimeInNo < 1 || block[b].LayerMark != 0) return -1.0;
  switch (FlagDepthDeposit) {
    case 0: return seriesLevelAt(TimeInHout);
    case 3: return TimeInHout[0] + (depthDepositOut + depthDepositIn) * 0.5;
    case 4: return TimeInHout[0] + depthDepositOut + depthDepositIn;
    default: return TimeInHout[0] + depthDepositOut;
  }
}

double transientInflowLevel(int b) {
  if (TimeInNo < 1 || block[b].LayerMark != 0) return -1.0;
  switch (FlagDepthDeposit) {
    case 2: return TimeInHinn[0] + depthDepositIn;
    case 3: return TimeInHinn[0] + (depthDepositOut + depthDepositIn) * 0.5;
    case 4: return TimeInHinn[0] + depthDepositOut + depthDepositIn;
    default: return seriesLevelAt(TimeInHinn);
  }
}

void imposeSeriesLevels(double outflowLevel, double inflowLevel) {
  // Each column once: through the group's face at its bottom cell.
  const DischargeGroup *out = outflowLevel > 0.0 ? firstOutflowGroup() : nullptr;
  if (out) {
    for (int k = 0; k < out->faceCount; ++k) {
      const BoundaryFace bf = boundaryFace(out->faces[k]);
      if (isBottomCell(bf.cell)) forBoundaryCorners(bf, outflowLevel, false);
    }
  }
  if (inflowLevel <= 0.0) return;
  for (const DischargeGroup &g : DischargeStruct) {
    if (g.type != 1) continue;
    for (int k = 0; k < g.faceCount; ++k) {
      const BoundaryFace bf = boundaryFace(g.faces[k]);
      if (isBottomCell(bf.cell)) forBoundaryCorners(bf, inflowLevel, false);
    }
  }
}

void frictionSlopeLevels(int b, double outflowLevel, double inflowLevel) {
  if (surfaceDownstreamDamp < 1 || surfaceDownstreamDamp > 6) return;
  const GridBlock &g = block[b];
  const double M2 = ManningInit * ManningInit;
  const double tiny = surfaceDownstreamDamp >= 2 ? 1e-20 : 0.0;
  for (const DischargeGroup &group : DischargeStruct) {
    const bool outflow = group.type == 0;
    for (int k = 0; k < group.faceCount; ++k) {
      const BoundaryFace bf = boundaryFace(group.faces[k]);
      if (!isTopCell(bf.cell)) continue;
      const int top = bf.cell;
      double h = 0.0;
      for (int c = top; c > 0; c = Ccellb[c]) h += Ckdist[c];
      h *= 2.0;
      // Friction slope of the column; at an inflow the level rises toward
      // the boundary.
      double S = (Cxvel[top] * Cxvel[top] + Cyvel[top] * Cyvel[top]) / (M2 * std::pow(h, 1.333) + tiny);
      if (group.type == 1) S = -S;
      const double dz = S * 2.0 * (bf.side == 1 || bf.side == 3 ? Cjdist[top] : Cidist[top]);
      for (int n = 0; n < 2; ++n) {
        Line P(cornerLine(bf, n), g);
        applySide(P, dz, outflow, bf.side, outflowLevel, inflowLevel);
      }
    }
  }
}

void outflowMinimumDepth() {
  const DischargeGroup *out = firstOutflowGroup();
  if (!out) return;
  for (int k = 0; k < out->faceCount; ++k) {
    const BoundaryFace bf = boundaryFace(out->faces[k]);
    if (isBottomCell(bf.cell)) forBoundaryCorners(bf, TFSminDepth, true);
  }
}
