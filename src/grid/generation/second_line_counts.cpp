// Vertical line counts of the second grid generator: a lower zone from the bed
// to TurbTop sized by its depth (or by the bed roughness, F 531) and an upper
// zone on the fixed levels zdistrib. Writes antlinT, antlin, antT and ant.
#include <algorithm>
#include <cmath>

#include "grid/generation/second_generator.h"
#include "model/bed_cells.h"
#include "model/grid_index.h"
#include "model/settings.h"
#include "model/structured.h"

namespace {

// A water surface closer than this to TurbTop makes no line of its own, m.
constexpr double kSurfaceGap = 1e-10;

double bedAt(int i, int j) { return zval[i][j][1]; }
double surfaceAt(int i, int j) { return zval[i][j][znumber]; }

// Lines of the lower zone by its depth d: a dry line has one point, a thin
// zone one cell, deeper zones follow the power law of the depth relative to
// MaxDepth.
int lowerLines(double d, double s) {
  if (d < MinVertDist0) return 1;
  if (d < MinVertDist1) return 2;
  return static_cast<int>(std::pow(s * d, GridDistCoeff) * (znumber - 2) * NestNoRatioLoc + 2.0);
}

// The whole line: with F 488 1 the fixed levels that lie more than half a
// lower cell above TurbTop and below the surface, and the surface itself.
int wholeLine(int i, int j, int lower, double d) {
  if (UMethod2 != 1 || d <= 0.0) return lower;
  const double h = lower > 1 ? d / (lower - 1) : d;
  const double top = TurbTop[i][j], surface = surfaceAt(i, j);
  int lines = lower;
  for (int k = 1; k <= znumber; ++k) {
    if (zdistrib[k] > top + 0.5 * h && zdistrib[k] < surface - 0.5 * h) ++lines;
  }
  if (surface > top + kSurfaceGap) ++lines;
  return lines;
}

void setLine(int i, int j, int lower, double d) {
  antlinT[i][j] = lower;
  antlin[i][j] = wholeLine(i, j, lower, d);
}

// Bed roughness of column (i, j), 0 without a bed cell.
double roughnessOf(int i, int j) {
  const int b = pointbed[i][j];
  return b > 0 ? Broughness[b] : 0.0;
}

// An edge whose columns hold as many cells as its lines allow gets one line
// more at both ends, with the water just above the bed there.
void raiseEdge(int pi, int pj, int qi, int qj, int c) {
  const int l = std::max(antlin[pi][pj], antlin[qi][qj]);
  if (c < l) return;
  for (const auto &[i, j] : {std::pair{pi, pj}, std::pair{qi, qj}}) {
    antlin[i][j] = antlinT[i][j] = c + 1;
    zval[i][j][znumber] = zval[i][j][1] + MinVertDist0;
  }
}

}  // namespace

void secondLineCounts(double s, int i1, int i2, int j1, int j2) {
  for (int j = j1 - 1; j <= j2; ++j) {
    for (int i = i1 - 1; i <= i2; ++i) {
      const double d = TurbTop[i][j] - bedAt(i, j);
      setLine(i, j, lowerLines(d, s), d);
    }
  }
}

// A rough bed under a thin lower zone is better met by one cell over the
// roughness than by cells smaller than the roughness elements. The four
// columns around a grid line are clamped into the block, so a border line
// takes the nearest columns inside.
void computeAntlinRoughness(double s, int i1, int i2, int j1, int j2) {
  for (int j = j1 - 1; j <= j2; ++j) {
    for (int i = i1 - 1; i <= i2; ++i) {
      const double d = TurbTop[i][j] - bedAt(i, j);
      int lower;
      if (d < MinVertDist0) {
        lower = 1;
      } else if (d < MinVertDist1) {
        lower = 2;
      } else {
        const int il = std::max(i, i1), ih = std::min(i + 1, i2), jl = std::max(j, j1), jh = std::min(j + 1, j2);
        const double r = 0.25 * (roughnessOf(il, jl) + roughnessOf(il, jh) + roughnessOf(ih, jl) + roughnessOf(ih, jh));
        lower = r / d > GridRoughnessParam ? 2 : lowerLines(d, s);
      }
      setLine(i, j, lower, d);
    }
  }
}

// The lower zone of a column spans the most lower lines of its corners, the
// upper zone the most fixed levels above them.
void secondColumnCounts(int i1, int i2, int j1, int j2) {
  for (int j = j1; j <= j2; ++j) {
    for (int i = i1; i <= i2; ++i) {
      int lower = 0, upper = 0;
      for (const auto &[ci, cj] : {std::pair{i - 1, j - 1}, std::pair{i, j - 1}, std::pair{i, j}, std::pair{i - 1, j}}) {
        lower = std::max(lower, antlinT[ci][cj]);
        upper = std::max(upper, antlin[ci][cj] - antlinT[ci][cj]);
      }
      antT[i][j] = lower - 1;
      ant[i][j] = antT[i][j] + upper;
    }
  }
}

// First the edge between lines (i, j-1) and (i, j), shared by the columns
// (i, j) and (i+1, j); then the edge between (i-1, j) and (i, j), shared by
// (i, j) and (i, j+1), which sees the first change.
void stabiliseEdgeLines(int i1, int i2, int j1, int j2) {
  for (int j = j1; j <= j2 - 1; ++j) {
    for (int i = i1; i <= i2 - 1; ++i) {
      raiseEdge(i, j - 1, i, j, std::max(ant[i][j], ant[i + 1][j]));
      raiseEdge(i - 1, j, i, j, std::max(ant[i][j], ant[i][j + 1]));
    }
  }
}
