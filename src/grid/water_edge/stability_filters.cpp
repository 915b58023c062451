// Filters that keep the generated grid stable near the shore and over shoals:
// line counts are capped, opened or closed, columns hanging on too few wet
// sides, isolated or too shallow lose their cells, and some filters deepen
// bed levels so that a repaired line carries water. Works in place on antlin,
// ant and the levels of zval of one block; a sweep sees what it has changed.
#include <algorithm>
#include <cmath>
#include <utility>

#include "grid/generation/grid_build.h"
#include "model/bed_cells.h"
#include "model/grid_index.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"

namespace {

// Grid lines and columns outside the structured arrays count as dry and empty.
bool inArrays(int i, int j) { return i >= 0 && j >= 0 && i <= xnumber + 1 && j <= ynumber + 1; }

int countAt(int i, int j) { return inArrays(i, j) ? antlin[i][j] : 0; }

bool wetLine(int i, int j) { return countAt(i, j) >= 2; }

bool dryLine(int i, int j) { return !wetLine(i, j); }

bool hasCells(int i, int j) { return inArrays(i, j) && ant[i][j] > 0; }

bool hadCells(int i, int j) { return inArrays(i, j) && pointcell_old[i][j] > 0; }

double depthAt(int i, int j) { return zval[i][j][znumber] - zval[i][j][1]; }

// The corner lines of column (i, j): (i-1, j-1), (i, j-1), (i, j), (i-1, j).
constexpr int kCornerDi[4] = {-1, 0, 0, -1};
constexpr int kCornerDj[4] = {-1, -1, 0, 0};

double cornerDepthSum(int i, int j) {
  double sum = 0.0;
  for (int c = 0; c < 4; ++c) sum += depthAt(i + kCornerDi[c], j + kCornerDj[c]);
  return sum;
}

double cornerDepthSumPositive(int i, int j) {
  double sum = 0.0;
  for (int c = 0; c < 4; ++c) sum += std::max(depthAt(i + kCornerDi[c], j + kCornerDj[c]), 0.0);
  return sum;
}

// The bed of line (i, j) goes down to at most `depth` below its water level.
void deepenLine(int i, int j, double depth) {
  zval[i][j][1] = std::min(zval[i][j][1], zval[i][j][znumber] - depth);
}

void limitCount(int i, int j, int cap) { antlin[i][j] = std::min(antlin[i][j], cap); }

// ---- line counts ----

// F 383 1: a column whose one diagonal lies above MinVertDist0 at both ends
// keeps at most one cell height on the other diagonal.
void limitShallowDiagonals(int i1, int i2, int j1, int j2) {
  for (int j = j1; j <= j2; ++j) {
    for (int i = i1; i <= i2; ++i) {
      if (!wetLine(i - 1, j - 1) && !wetLine(i, j - 1) && !wetLine(i, j) && !wetLine(i - 1, j)) continue;
      if (depthAt(i, j) < MinVertDist0 && depthAt(i - 1, j - 1) < MinVertDist0) {
        limitCount(i, j - 1, 2);
        limitCount(i - 1, j, 2);
      }
      if (depthAt(i - 1, j) < MinVertDist0 && depthAt(i, j - 1) < MinVertDist0) {
        limitCount(i, j, 2);
        limitCount(i - 1, j - 1, 2);
      }
    }
  }
}

// F 383 2: a line far finer than the coarsest of its four columns is brought
// down to the mean of the two, so that the cells of a column stay alike.
void limitAgainstCornerMinimum(int i1, int i2, int j1, int j2) {
  for (int j = j1; j <= j2; ++j) {
    for (int i = i1; i <= i2; ++i) {
      antmin[i][j] = std::min({antlin[i - 1][j - 1], antlin[i][j - 1], antlin[i][j], antlin[i - 1][j]});
    }
  }
  for (int j = j1; j <= j2 - 1; ++j) {
    for (int i = i1; i <= i2 - 1; ++i) {
      const int m = std::min({antmin[i][j], antmin[i + 1][j], antmin[i][j + 1], antmin[i + 1][j + 1]});
      const int s = m + antlin[i][j];
      limitCount(i, j, s <= 5 ? 2 : s / 2);
    }
  }
  for (int j = j1; j <= j2; ++j) {
    for (int i = i1; i <= i2; ++i) antmin[i][j] = 0;
  }
}

// Beside a dry line a count may not exceed that of its wet partner across
// it; between two dry lines it falls to theirs.
void capPair(int i, int j, int ai, int aj, int bi, int bj) {
  const int a = countAt(ai, aj), b = countAt(bi, bj);
  if (a >= 2 && b >= 2) return;
  if (a >= 2) {
    limitCount(i, j, a);
  } else if (b >= 2) {
    limitCount(i, j, b);
  } else {
    if (a > 0) limitCount(i, j, a);
    if (b > 0) limitCount(i, j, b);
  }
}

void capAtNeighbours(int i, int j) {
  capPair(i, j, i - 1, j, i + 1, j);
  capPair(i, j, i, j - 1, i, j + 1);
}

// A line between a dry line and a line of more than one cell gets at least
// one cell height, so that the wet area does not end in a step.
void wetAtNeighbours(int i, int j) {
  const int pairs[2][4] = {{i - 1, j, i + 1, j}, {i, j - 1, i, j + 1}};
  for (const auto &p : pairs) {
    const int a = countAt(p[0], p[1]), b = countAt(p[2], p[3]);
    if ((a < 2 && b > 2) || (b < 2 && a > 2)) antlin[i][j] = std::max(antlin[i][j], 2);
  }
}

template <typename Rule>
void sweepForward(int ia, int ib, int ja, int jb, Rule rule) {
  for (int j = ja; j <= jb; ++j) {
    for (int i = ia; i <= ib; ++i) rule(i, j);
  }
}

template <typename Rule>
void sweepBackward(int ia, int ib, int ja, int jb, Rule rule) {
  for (int j = jb; j >= ja; --j) {
    for (int i = ib; i >= ia; --i) rule(i, j);
  }
}

// F 508: the neighbour caps (1 all lines, 2 inner lines, 3 forth and back)
// or the wetting rule (4, forth and back).
void neighbourCaps(int i1, int i2, int j1, int j2) {
  switch (FlagGridStab9) {
    case 1: sweepForward(i1 - 1, i2, j1 - 1, j2, capAtNeighbours); break;
    case 2: sweepForward(i1, i2 - 1, j1, j2 - 1, capAtNeighbours); break;
    case 3:
      sweepForward(i1 - 1, i2, j1 - 1, j2, capAtNeighbours);
      sweepBackward(i1 - 1, i2, j1 - 1, j2, capAtNeighbours);
      break;
    case 4:
      sweepForward(i1 - 1, i2, j1 - 1, j2, wetAtNeighbours);
      sweepBackward(i1 - 1, i2, j1 - 1, j2, wetAtNeighbours);
      break;
    default: break;
  }
}

// Opening a dry pair gives both lines one cell height and a bed deep enough
// to carry it.
void openPair(int ia, int ja, int ib, int jb) {
  for (const auto &[i, j] : {std::pair{ia, ja}, std::pair{ib, jb}}) {
    antlin[i][j] = 2;
    deepenLine(i, j, MinVertDist0 + 1e-6);
  }
}

bool dryPair(int ia, int ja, int ib, int jb) { return dryLine(ia, ja) && dryLine(ib, jb); }

// A pair of lines across the waterline, nearly level with it, is closed.
void closeWhenAcrossWaterline(int ia, int ja, int ib, int jb) {
  const double d1 = depthAt(ia, ja), d2 = depthAt(ib, jb);
  if (d1 * d2 < 0.0 && d1 + d2 < 0.1 * MinVertDist0) antlin[ia][ja] = antlin[ib][jb] = 1;
}

// i-pairs (i, j)-(i+1, j) and j-pairs (i, j)-(i, j+1) of the second F 159
// value, each visited in its own range.
template <typename Rule>
void overIPairs(int i1, int i2, int j1, int j2, Rule rule) {
  for (int j = j1 + 1; j <= j2 - 1; ++j) {
    for (int i = i1 + 1; i <= i2; ++i) rule(i, j);
  }
}

template <typename Rule>
void overJPairs(int i1, int i2, int j1, int j2, Rule rule) {
  for (int j = j1 + 1; j <= j2; ++j) {
    for (int i = i1 + 1; i <= i2 - 1; ++i) rule(i, j);
  }
}

// F 159 second value: thin dry dams between wet lines are opened (2, 3, 11,
// 12, 14); with 3, pairs across the waterline are closed again.
void openDryDams(int i1, int i2, int j1, int j2) {
  const int mode = FlagGridStab2;
  if (mode == 2 || mode == 3 || mode == 11) {
    overIPairs(i1, i2, j1, j2, [](int i, int j) {
      if (dryPair(i, j, i + 1, j) && wetLine(i, j - 1) && wetLine(i, j + 1) && wetLine(i + 1, j - 1) &&
          wetLine(i + 1, j + 1)) {
        openPair(i, j, i + 1, j);
      }
    });
    overJPairs(i1, i2, j1, j2, [](int i, int j) {
      if (dryPair(i, j, i, j + 1) && wetLine(i - 1, j) && wetLine(i + 1, j) && wetLine(i - 1, j + 1) &&
          wetLine(i + 1, j + 1)) {
        openPair(i, j, i, j + 1);
      }
    });
  }
  if (mode == 3) {
    overIPairs(i1, i2, j1, j2, [](int i, int j) { closeWhenAcrossWaterline(i, j, i + 1, j); });
    overJPairs(i1, i2, j1, j2, [](int i, int j) { closeWhenAcrossWaterline(i, j, i, j + 1); });
  }
  if (mode == 11 || mode == 12) {
    overIPairs(i1, i2, j1, j2, [](int i, int j) {
      if (dryPair(i, j, i + 1, j) && dryLine(i - 1, j) && dryLine(i + 2, j) &&
          (wetLine(i, j - 1) || wetLine(i + 1, j - 1)) && (wetLine(i, j + 1) || wetLine(i + 1, j + 1))) {
        openPair(i, j, i + 1, j);
      }
    });
    overJPairs(i1, i2, j1, j2, [](int i, int j) {
      if (dryPair(i, j, i, j + 1) && dryLine(i, j - 1) && dryLine(i, j + 2) &&
          (wetLine(i - 1, j) || wetLine(i - 1, j + 1)) && (wetLine(i + 1, j) || wetLine(i + 1, j + 1))) {
        openPair(i, j, i, j + 1);
      }
    });
  }
  if (mode == 14) {
    overIPairs(i1, i2, j1, j2, [](int i, int j) {
      if (dryPair(i, j, i + 1, j) && (wetLine(i, j - 1) || wetLine(i + 1, j - 1)) &&
          (wetLine(i, j + 1) || wetLine(i + 1, j + 1))) {
        openPair(i, j, i + 1, j);
      }
    });
    overJPairs(i1, i2, j1, j2, [](int i, int j) {
      if (dryPair(i, j, i, j + 1) && (wetLine(i - 1, j) || wetLine(i - 1, j + 1)) &&
          (wetLine(i + 1, j) || wetLine(i + 1, j + 1))) {
        openPair(i, j, i, j + 1);
      }
    });
  }
}

// A wet grid line whose four neighbours in i and j are all dry would make a
// spike of cells around one corner: it turns dry. F 183 2 keeps it.
void dryLoneLines(int i1, int i2, int j1, int j2) {
  for (int j = j1 - 1; j <= j2; ++j) {
    for (int i = i1 - 1; i <= i2; ++i) {
      if (wetLine(i, j) && !wetLine(i - 1, j) && !wetLine(i + 1, j) && !wetLine(i, j - 1) && !wetLine(i, j + 1)) {
        antlin[i][j] = 1;
      }
    }
  }
}

// F 159 fourth value 2: the block's boundary lines are as fine as the lines
// just inside, so that the boundary cells do not shrink.
void boundaryLinesFollowInside(int i1, int i2, int j1, int j2) {
  for (int j = j1; j <= j2; ++j) {
    antlin[i1 - 1][j] = std::max(antlin[i1 - 1][j], antlin[i1][j]);
    antlin[i2][j] = std::max(antlin[i2][j], antlin[i2 - 1][j]);
  }
  for (int i = i1; i <= i2; ++i) {
    antlin[i][j1 - 1] = std::max(antlin[i][j1 - 1], antlin[i][j1]);
    antlin[i][j2] = std::max(antlin[i][j2], antlin[i][j2 - 1]);
  }
}

// F 64 114: a column that was wet before and now lies mostly above the water
// keeps one cell height at its corners. The counts of the previous grid are
// cleared when a generation starts, so "wet before" is read from the bottom
// cell it had.
void thinDryingColumns(int i1, int i2, int j1, int j2) {
  for (int j = j1; j <= j2; ++j) {
    for (int i = i1; i <= i2; ++i) {
      if (!hadCells(i, j) || cornerDepthSum(i, j) >= 0.0) continue;
      for (int c = 0; c < 4; ++c) limitCount(i + kCornerDi[c], j + kCornerDj[c], 2);
    }
  }
}

// ---- cell counts ----

// A side counts when the column beyond it has cells and one of the side's two
// grid lines is wet: water can pass there.
int countingSides(int i, int j) {
  int sides = 0;
  if (hasCells(i + 1, j) && (wetLine(i, j - 1) || wetLine(i, j))) ++sides;
  if (hasCells(i - 1, j) && (wetLine(i - 1, j - 1) || wetLine(i - 1, j))) ++sides;
  if (hasCells(i, j + 1) && (wetLine(i - 1, j) || wetLine(i, j))) ++sides;
  if (hasCells(i, j - 1) && (wetLine(i - 1, j - 1) || wetLine(i, j - 1))) ++sides;
  return sides;
}

// Removes column (i, j) when it has cells and fewer than `needed` sides count;
// true when it was removed.
bool removeWhenLoose(int i, int j, int needed) {
  if (ant[i][j] <= 0 || countingSides(i, j) >= needed) return false;
  ant[i][j] = 0;
  return true;
}

// A column that touches the rest only through corners carries no flow across
// its sides; 30 sweeps let such chains unravel from their ends. A sweep that
// removes nothing leaves every later sweep idle, so the loop may stop there.
void removeColumnsWithOneSide(int i1, int i2, int j1, int j2) {
  for (int sweep = 0; sweep < 30; ++sweep) {
    bool removed = false;
    for (int j = j1; j <= j2; ++j) {
      for (int i = i1; i <= i2; ++i) removed |= removeWhenLoose(i, j, 2);
    }
    if (!removed) break;
  }
}

// Forward and backward sweeps remove columns of which no side counts, until
// the cell total of the kept columns stops changing (at most 15 passes).
void removeIsolatedColumns(int i1, int i2, int j1, int j2) {
  long previous = -1;
  for (int pass = 0; pass < 15; ++pass) {
    long kept = 0;
    for (int j = j1; j <= j2; ++j) {
      for (int i = i1; i <= i2; ++i) {
        if (!removeWhenLoose(i, j, 1) && ant[i][j] > 0) kept += ant[i][j];
      }
    }
    for (int j = j2; j >= j1; --j) {
      for (int i = i2; i >= i1; --i) {
        if (!removeWhenLoose(i, j, 1) && ant[i][j] > 0) kept += ant[i][j];
      }
    }
    if (kept == previous) break;
    previous = kept;
  }
}

template <typename Test>
void removeColumnsWhere(int i1, int i2, int j1, int j2, Test test) {
  for (int j = j1; j <= j2; ++j) {
    for (int i = i1; i <= i2; ++i) {
      if (ant[i][j] > 0 && test(i, j)) ant[i][j] = 0;
    }
  }
}

// F 64 111 to 113: columns above the water on average lose their cells.
void removeByMethod(int i1, int i2, int j1, int j2) {
  if (UMethod == 111 || UMethod == 113) {
    removeColumnsWhere(i1, i2, j1, j2, [](int i, int j) { return cornerDepthSum(i, j) < 0.0; });
  } else if (UMethod == 112) {
    removeColumnsWhere(i1, i2, j1, j2, [](int i, int j) { return 0.25 * cornerDepthSum(i, j) < MinVertDist2; });
  }
}

// Roughness scale of column (i, j) for F 380 2 and 3: the bed roughness or
// three diameters of the finest grain, whichever is larger.
double roughnessScale(int i, int j) {
  const double bed = Broughness && pointbed ? Broughness[pointbed[i][j]] : 0.0;
  return std::max(bed, 3.0 * gsize[lnumber]);
}

// F 380 5: a newly wet column takes the water level of its deepest wet corner,
// within 2 % of its diagonal; without a wet corner it is left as it is.
void levelNewColumn(int i, int j) {
  if (hadCells(i, j)) return;
  const int order[4][2] = {{i, j}, {i - 1, j}, {i, j - 1}, {i - 1, j - 1}};
  bool found = false;
  double deepest = 0.0, level = 0.0;
  for (const auto &p : order) {
    const double d = depthAt(p[0], p[1]);
    if (d > 0.0 && (!found || d > deepest)) {
      found = true;
      deepest = d;
      level = zval[p[0]][p[1]][znumber];
    }
  }
  if (!found) return;
  const double diagonal = std::hypot(xval[i][j] - xval[i - 1][j - 1], yval[i][j] - yval[i - 1][j - 1]);
  for (const auto &p : order) {
    double &surface = zval[p[0]][p[1]][znumber];
    surface = std::clamp(surface, level - 0.02 * diagonal, level + 0.02 * diagonal);
  }
}

// F 380 6: a column of three or four shallow corners has its other corners
// raised to that shallow depth, so that it does not form a pit.
void raiseDeepCornersOfShallowColumn(int i, int j) {
  int shallow = 0;
  for (int c = 0; c < 4; ++c) shallow += depthAt(i + kCornerDi[c], j + kCornerDj[c]) < MinVertDist0 ? 1 : 0;
  if (shallow < 3) return;
  for (int c = 0; c < 4; ++c) {
    const int ci = i + kCornerDi[c], cj = j + kCornerDj[c];
    if (depthAt(ci, cj) >= MinVertDist0) zval[ci][cj][1] = std::max(zval[ci][cj][1], zval[ci][cj][znumber] - MinVertDist0);
  }
}

// F 380: one of eight shoreline rules for the columns of the block.
void shorelineColumns(int i1, int i2, int j1, int j2) {
  switch (FlagGridStab7) {
    case 1:
      removeColumnsWhere(i1, i2, j1, j2, [](int i, int j) {
        return (depthAt(i, j) < 0.0 && depthAt(i - 1, j - 1) < 0.0) ||
               (depthAt(i - 1, j) < 0.0 && depthAt(i, j - 1) < 0.0);
      });
      break;
    case 2:
      if (Iter < 2) break;
      removeColumnsWhere(i1, i2, j1, j2, [](int i, int j) {
        const double r = roughnessScale(i, j);
        return r > 0.0 && cornerDepthSumPositive(i, j) / r < 0.4;
      });
      break;
    case 3:
      removeColumnsWhere(i1, i2, j1, j2, [](int i, int j) {
        const double r = roughnessScale(i, j);
        return r > 0.0 && 0.25 * cornerDepthSumPositive(i, j) / r < 0.1;
      });
      break;
    case 4:
      removeColumnsWhere(i1, i2, j1, j2, [](int i, int j) { return 0.25 * cornerDepthSum(i, j) < MinVertDist0; });
      break;
    case 5: sweepForward(i1, i2, j1, j2, levelNewColumn); break;
    case 6: sweepForward(i1, i2, j1, j2, raiseDeepCornersOfShallowColumn); break;
    case 7:
      removeColumnsWhere(i1, i2, j1, j2, [](int i, int j) { return cornerDepthSum(i, j) < 0.0; });
      break;
    case 8:
      removeColumnsWhere(i1, i2, j1, j2,
                         [](int i, int j) { return 0.25 * cornerDepthSumPositive(i, j) < MinVertDist0; });
      break;
    default: break;
  }
}

int dryCorners(int i, int j) {
  int dry = 0;
  for (int c = 0; c < 4; ++c) dry += dryLine(i + kCornerDi[c], j + kCornerDj[c]) ? 1 : 0;
  return dry;
}

// F 159 fourth value 5: a mostly dry column standing on a dry side is removed.
void removeOnDrySides(int i1, int i2, int j1, int j2) {
  removeColumnsWhere(i1, i2, j1, j2, [](int i, int j) {
    if (dryCorners(i, j) < 3) return false;
    return (hasCells(i + 1, j) && dryPair(i, j - 1, i, j)) || (!hasCells(i - 1, j) && dryPair(i - 1, j - 1, i - 1, j)) ||
           (!hasCells(i, j + 1) && dryPair(i - 1, j, i, j)) || (!hasCells(i, j - 1) && dryPair(i - 1, j - 1, i, j - 1));
  });
}

// A quarter of the mean corner depth of column (i, j).
double quarterMeanDepth(int i, int j) { return 0.0625 * cornerDepthSum(i, j); }

// F 159 second value 5, 6, 8: the depth a side needs, from its two columns;
// (fi, fj) and (gi, gj) are the columns beyond each of them on the far side.
double sideDepthNeeded(int ai, int aj, int fi, int fj, int bi, int bj, int gi, int gj) {
  const int mode = FlagGridStab2;
  double t = mode == 8 ? MinVertDist1 : MinVertDist0;
  const auto raise = [&](int i, int j, int farI, int farJ) {
    if (mode == 6 || (ant[i][j] == 1 && !hasCells(farI, farJ))) t = std::max(t, quarterMeanDepth(i, j));
  };
  raise(ai, aj, fi, fj);
  raise(bi, bj, gi, gj);
  return t;
}

// The side between columns (ai, aj) and (bi, bj), with its lines (pi, pj)
// and (qi, qj), is deepened by the rule of the second F 159 value.
void deepenSide(int ai, int aj, int fi, int fj, int bi, int bj, int gi, int gj, int pi, int pj, int qi, int qj) {
  const double d1 = depthAt(pi, pj), d2 = depthAt(qi, qj), sum = d1 + d2;
  const auto deepenBoth = [&](double depth) {
    deepenLine(pi, pj, depth);
    deepenLine(qi, qj, depth);
  };
  switch (FlagGridStab2) {
    case 1:
      if (sum < 1.6 * MinVertDist0) deepenBoth(0.8 * MinVertDist0);
      break;
    case 4:
      if (sum < 4.0 * MinVertDist0) deepenBoth(2.0 * MinVertDist0);
      break;
    case 7:
      if (sum < MinVertDist1) deepenBoth(MinVertDist1);
      break;
    case 5:
    case 6:
    case 8: {
      const double t = sideDepthNeeded(ai, aj, fi, fj, bi, bj, gi, gj);
      if (t <= 0.5 * sum) break;
      if (FlagGridStab2 != 8 || antlin[pi][pj] > 1) deepenLine(pi, pj, t);
      if (FlagGridStab2 != 8 || antlin[qi][qj] > 1) deepenLine(qi, qj, t);
      break;
    }
    default: break;
  }
}

// F 159 second value 1, 4 to 8: shallow sides between two wet columns are
// deepened, first the sides towards j+1, then those towards i+1.
void deepenShallowSides(int i1, int i2, int j1, int j2) {
  const int mode = FlagGridStab2;
  if (mode != 1 && (mode < 4 || mode > 8)) return;
  for (int j = j1; j <= j2 - 1; ++j) {
    for (int i = i1; i <= i2; ++i) {
      if (ant[i][j] > 0 && ant[i][j + 1] > 0) deepenSide(i, j, i, j - 1, i, j + 1, i, j + 2, i - 1, j, i, j);
    }
  }
  for (int j = j1; j <= j2; ++j) {
    for (int i = i1; i <= i2 - 1; ++i) {
      if (ant[i][j] > 0 && ant[i + 1][j] > 0) deepenSide(i, j, i - 1, j, i + 1, j, i + 2, j, i, j - 1, i, j);
    }
  }
}

// F 159 fifth value 1: every wet corner of a wet column is at least
// MinVertDist1 deep.
void deepenWetCorners(int i1, int i2, int j1, int j2) {
  sweepForward(i1, i2, j1, j2, [](int i, int j) {
    if (ant[i][j] <= 0) return;
    for (int c = 0; c < 4; ++c) {
      const int ci = i + kCornerDi[c], cj = j + kCornerDj[c];
      if (wetLine(ci, cj)) deepenLine(ci, cj, MinVertDist1);
    }
  });
}

// F 391: a column that pokes into dry land with one fine corner between two
// empty side neighbours keeps one cell, and that corner one cell height.
void thinPokingCorners(int i1, int i2, int j1, int j2) {
  // Per corner: the two side columns beyond the sides that meet there.
  const int side[4][4] = {{0, -1, -1, 0}, {0, -1, 1, 0}, {1, 0, 0, 1}, {0, 1, -1, 0}};
  sweepForward(i1, i2, j1, j2, [&side](int i, int j) {
    if (ant[i][j] <= 0) return;
    for (int c = 0; c < 4; ++c) {
      if (hasCells(i + side[c][0], j + side[c][1]) || hasCells(i + side[c][2], j + side[c][3])) continue;
      if (antlin[i + kCornerDi[c]][j + kCornerDj[c]] <= 2) continue;
      bool othersCoarse = true;
      for (int o = 0; o < 4; ++o) {
        if (o != c && antlin[i + kCornerDi[o]][j + kCornerDj[o]] >= 3) othersCoarse = false;
      }
      if (!othersCoarse) continue;
      antlin[i + kCornerDi[c]][j + kCornerDj[c]] = 2;
      ant[i][j] = 1;
      return;
    }
  });
}

// F 430: the wet area grows by at most one column per generation: an inner
// column none of whose side neighbours had cells before loses its cells.
void limitExpansion(int i1, int i2, int j1, int j2) {
  removeColumnsWhere(i1 + 1, i2 - 1, j1 + 1, j2 - 1, [](int i, int j) {
    return !hadCells(i + 1, j) && !hadCells(i - 1, j) && !hadCells(i, j + 1) && !hadCells(i, j - 1);
  });
}

// F 529: a newly wet column must be deeper on average than MinVertDist2.
void removeShallowNewColumns(int i1, int i2, int j1, int j2) {
  sweepForward(i1, i2, j1, j2, [](int i, int j) {
    if (!hadCells(i, j) && 0.25 * cornerDepthSum(i, j) < MinVertDist2) ant[i][j] = 0;
  });
}

// F 528: a dry line between two wet lines in i, or else in j, whose water
// still stands above its bed gets one cell height, so that the water can pass.
void wetBetweenWetLines(int i, int j) {
  if (antlin[i][j] != 1 || zval[i][j][znumber] - zval[i][j][1] <= 0.0) return;
  if ((wetLine(i - 1, j) && wetLine(i + 1, j)) || (wetLine(i, j - 1) && wetLine(i, j + 1))) {
    antlin[i][j] = antlinT[i][j] = 2;
  }
}

void wetDryGaps(int i1, int i2, int j1, int j2) {
  for (int j = j1; j <= j2 - 1; ++j) {
    for (int i = i1; i <= i2 - 1; ++i) wetBetweenWetLines(i, j);
  }
  for (int j = j2 - 1; j >= j1; --j) {
    for (int i = i2 - 1; i >= i1; --i) wetBetweenWetLines(i, j);
  }
}

// The second generator's lower zone never holds more lines than the line.
void capLowerZone(int i1, int i2, int j1, int j2) {
  for (int i = i1 - 1; i <= i2; ++i) {
    for (int j = j1 - 1; j <= j2; ++j) antlinT[i][j] = std::min(antlinT[i][j], antlin[i][j]);
  }
}

}  // namespace

// The line-count filters in their fixed order; each sees what the earlier
// ones changed.
void Grid1Stability(int i1, int i2, int j1, int j2) {
  if (FlagGridStab6 == 1) limitShallowDiagonals(i1, i2, j1, j2);
  if (FlagGridStab6 == 2) limitAgainstCornerMinimum(i1, i2, j1, j2);
  neighbourCaps(i1, i2, j1, j2);
  openDryDams(i1, i2, j1, j2);
  if (FlagPresDebug != 2) dryLoneLines(i1, i2, j1, j2);
  if (FlagGridStab10 == 1 && antlinT) wetDryGaps(i1, i2, j1, j2);
  if (FlagGridStab4 == 2) boundaryLinesFollowInside(i1, i2, j1, j2);
  if (UMethod == 114) thinDryingColumns(i1, i2, j1, j2);
  if (UMethod2 > 0 && antlinT) capLowerZone(i1, i2, j1, j2);
}

// The cell-count filters in their fixed order. Of F 159, the first value 1
// removes the columns hanging on fewer than two sides (blocks of more than one
// row) and the fourth value 1, or 5 and above, then the isolated columns
// (blocks of more than one row and column); the deepening rules follow.
void Grid2Stability(int i1, int i2, int j1, int j2) {
  removeByMethod(i1, i2, j1, j2);
  shorelineColumns(i1, i2, j1, j2);
  if (FlagGridStab4 == 5) removeOnDrySides(i1, i2, j1, j2);
  if (FlagGridStab1 == 1 && j1 < j2) removeColumnsWithOneSide(i1, i2, j1, j2);
  if ((FlagGridStab4 == 1 || FlagGridStab4 >= 5) && i1 < i2 && j1 < j2) removeIsolatedColumns(i1, i2, j1, j2);
  deepenShallowSides(i1, i2, j1, j2);
  if (FlagGridStab5 == 1) deepenWetCorners(i1, i2, j1, j2);
  if (FlagGridStab8 > 0) thinPokingCorners(i1, i2, j1, j2);
  if (FlagLimitExpansion > 0) limitExpansion(i1, i2, j1, j2);
  if (FlagGridStab11 == 1) removeShallowNewColumns(i1, i2, j1, j2);
}
