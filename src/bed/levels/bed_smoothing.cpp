// Smoothing of the bed points after a bed change (F 144): exchanges between
// the two points of a shared column edge (methods 1, 3), spreading of the
// columns' change (5), down-slope transport (6), peak and Laplacian
// smoothing (9 to 13) and fast-flow smoothing (14). Writes zval[][][1] and
// plane 1 of Surfaces, or Bedmove for method 5.
#include "bed/levels/bed_smoothing.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "grid/geometry/plane_vectors.h"
#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/settings.h"
#include "model/structured.h"

namespace {

bool treatedBlock(const GridBlock &g) { return g.BlockKind == 0 && g.GridLevel == 0 && g.WorkFlag == 1; }

int bottomCell(int i, int j) { return static_cast<int>(zval[i][j][0]); }
bool wet(int i, int j) { return bottomCell(i, j) > 0; }
// The bed cell of column (i, j), 0 for a dry column.
int bedOf(int i, int j) {
  const int c = bottomCell(i, j);
  return c > 0 ? Cbed[c] : 0;
}
double &level(int i, int j) { return zval[i][j][1]; }

// Every move of a bed point is also booked in plane 1, the bed movement
// since the start, from which F 471 rebuilds the bed.
void movePoint(int i, int j, double dz) {
  zval[i][j][1] += dz;
  Surfaces[1][i][j] += dz;
}

double speedOf(int c) { return std::sqrt(Cxvel[c] * Cxvel[c] + Cyvel[c] * Cyvel[c]); }

// Water depth over bottom cell c: its cells' heights summed up the column.
double depthOver(int c) {
  double half = 0.0;
  for (; c > 0; c = Ccellt[c]) half += Ckdist[c];
  return 2.0 * half;
}

// Visits the points i0..i1 (outer), j0..j1 forwards, or both backwards.
template <class Visit>
void sweep(int i0, int i1, int j0, int j1, bool backward, Visit visit) {
  if (!backward) {
    for (int i = i0; i <= i1; ++i)
      for (int j = j0; j <= j1; ++j) visit(i, j);
  } else {
    for (int i = i1; i >= i0; --i)
      for (int j = j1; j >= j0; --j) visit(i, j);
  }
}

// ---- Methods 1 and 3: the two points of the edge between two wet columns
// move towards each other, weighted by the plan area around each point so
// that the volume stays.

// Plan area of the wet columns around point (i, j).
double areaAround(int i, int j) {
  double a = 0.0;
  for (const int c : {bottomCell(i, j), bottomCell(i + 1, j), bottomCell(i, j + 1), bottomCell(i + 1, j + 1)}) {
    if (c > 0) a += Careaz[c];
  }
  return a;
}

// Method 1: the bed forms travel a column in the time T; the points close
// their difference at the rate TimeStep/T, T at least 20 steps.
double formTime(int c) {
  const double depth = depthOver(c);
  return depth * Bedformheight[Cbed[c]] * 7.3 * 0.5 /
         (2.0 * Cconc[0][c] * Ckdist[c] * SolidFrac * speedOf(c) + 1e-10);
}

double exchangeByTime(int c1, int c2, double difference) {
  const double T = std::max(0.5 * (formTime(c1) + formTime(c2)), 20.0 * TimeStep);
  return difference * TimeStep * ParamBedSmooth / T;
}

// Method 3: the share of a column's bed forms the suspended load passes on
// in one step.
double formRate(int c) {
  return 4.0 * Cconc[0][c] * Ckdist[c] * speedOf(c) * TimeStep * Bedformheight[Cbed[c]] /
         (SolidFrac * depthOver(c) * 7.3 * Farea[Cflateb[c]] + 1e-20);
}

double exchangeByRate(int c1, int c2, double difference) {
  return (formRate(c1) + formRate(c2)) * ParamBedSmooth * 0.5 * difference;
}

using Exchange = double (*)(int, int, double);

// Points a and b of the edge shared by columns c1 and c2: a gives (1 - w)·D,
// b takes w·D, w the area share of a, so the volume is kept whatever the
// sign of D.
void exchangePoints(int c1, int c2, int ai, int aj, int bi, int bj, Exchange exchange) {
  const double aa = areaAround(ai, aj), ab = areaAround(bi, bj);
  const double w = aa / (ab + aa);
  const double D = exchange(c1, c2, level(ai, aj) - level(bi, bj));
  movePoint(ai, aj, -(1.0 - w) * D);
  movePoint(bi, bj, w * D);
}

void exchangeEdges(const GridBlock &g, Exchange exchange) {
  // Along i: columns (i, j) and (i+1, j) share the points (i, j) and (i, j-1).
  for (int i = g.i1; i <= g.i2 - 1; ++i) {
    for (int j = g.j1; j <= g.j2; ++j) {
      const int c1 = bottomCell(i, j), c2 = bottomCell(i + 1, j);
      if (c1 > 0 && c2 > 0) exchangePoints(c1, c2, i, j, i, j - 1, exchange);
    }
  }
  // Along j: columns (i, j) and (i, j+1) share the points (i, j) and (i-1, j).
  for (int i = g.i1; i <= g.i2; ++i) {
    for (int j = g.j1; j <= g.j2 - 1; ++j) {
      const int c1 = bottomCell(i, j), c2 = bottomCell(i, j + 1);
      if (c1 > 0 && c2 > 0) exchangePoints(c1, c2, i, j, i - 1, j, exchange);
    }
  }
}

// ---- Method 5: each changing column takes an eighth of its neighbours'
// change, in two Gauss-Seidel sweeps. The neighbours keep theirs, so the
// sweeps alone would create sediment; what they add in total is taken back
// evenly from the columns they changed.

std::vector<unsigned char> spreadMark;  // 1 for a column the sweeps change, sized once

void spreadChange(const GridBlock &g) {
  if (spreadMark.size() < static_cast<std::size_t>(bedCellCapacity())) spreadMark.assign(bedCellCapacity(), 0);
  double before = 0.0, area = 0.0;
  for (int i = g.i1; i <= g.i2; ++i) {
    for (int j = g.j1; j <= g.j2; ++j) {
      const int b = bedOf(i, j);
      if (b <= 0) continue;
      // A column unchanged by the first sweep keeps its value for the second.
      spreadMark[b] = Bcellt[b] > 0 && std::fabs(Bedmove[b]) > 1e-12;
      if (!spreadMark[b]) continue;
      before += Barea[b] * Bedmove[b];
      area += Barea[b];
    }
  }
  if (area <= 0.0) return;
  auto visit = [](int i, int j) {
    const int b = bedOf(i, j);
    if (b <= 0 || Bcellt[b] <= 0 || !(std::fabs(Bedmove[b]) > 1e-12)) return;
    Bedmove[b] += 0.125 * ParamBedSmooth *
                  (Bedmove[bedOf(i + 1, j)] + Bedmove[bedOf(i - 1, j)] + Bedmove[bedOf(i, j + 1)] +
                   Bedmove[bedOf(i, j - 1)]);
  };
  sweep(g.i1, g.i2, g.j1, g.j2, false, visit);
  sweep(g.i1, g.i2, g.j1, g.j2, true, visit);
  double after = 0.0;
  for (int i = g.i1; i <= g.i2; ++i) {
    for (int j = g.j1; j <= g.j2; ++j) {
      const int b = bedOf(i, j);
      if (b > 0 && spreadMark[b]) after += Barea[b] * Bedmove[b];
    }
  }
  const double correction = (after - before) / area;
  for (int i = g.i1; i <= g.i2; ++i) {
    for (int j = g.j1; j <= g.j2; ++j) {
      const int b = bedOf(i, j);
      if (b > 0 && spreadMark[b]) Bedmove[b] -= correction;
    }
  }
}

// ---- Method 6: the suspended load near a sloping bed rolls down the slope
// within a step: the corners downhill of the cell centre rise, those uphill
// fall, by at most the active layer.
void slopeTransport(const GridBlock &g) {
  for (int i = g.i1; i <= g.i2; ++i) {
    for (int j = g.j1; j <= g.j2; ++j) {
      const int c = bottomCell(i, j);
      if (c <= 0) continue;
      const int b = Cbed[c], fb = Cflateb[c];
      const double sine = std::sqrt(std::max(0.0, 1.0 - Fvz[fb] * Fvz[fb]));
      const double tau = std::max(300.0 * Ckinen[c], 0.0);
      double Q = 0.0;
      for (int k = 1; k <= lnumber; ++k) {
        const double theta = tau / (std::fabs(shieldscoeff) * gsize[k] * (density - 1.0) * 9810.0);
        if (theta > 0.0) Q += 0.6 * sine * Cconc[k][c] / std::sqrt(theta);  // no shear, no bed load
      }
      const double V = std::min(Q * 2.0 * speedOf(c) * Ckdist[c] * TimeStep / SolidFrac, BSedDistrib[1][0][b]);
      const int corners[4][2] = {{i, j}, {i, j - 1}, {i - 1, j - 1}, {i - 1, j}};
      for (const auto &p : corners) {
        const double toCorner =
            dotproduct(Fvx[fb], Fvy[fb], xval[p[0]][p[1]] - Cxcenter[c], yval[p[0]][p[1]] - Cycenter[c]);
        movePoint(p[0], p[1], toCorner * V);
      }
    }
  }
}

// ---- Methods 9 to 13: point (i, j) gives D, its four neighbours take D/4.

void lowerPoint(int i, int j, double D) {
  movePoint(i, j, -D);
  movePoint(i + 1, j, 0.25 * D);
  movePoint(i - 1, j, 0.25 * D);
  movePoint(i, j + 1, 0.25 * D);
  movePoint(i, j - 1, 0.25 * D);
}

bool wetAround(int i, int j) { return wet(i, j) && wet(i + 1, j) && wet(i, j + 1) && wet(i + 1, j + 1); }

double neighbourMean(int i, int j) {
  return 0.25 * (level(i + 1, j) + level(i - 1, j) + level(i, j + 1) + level(i, j - 1));
}

bool aboveNeighbours(int i, int j) {
  const double z = level(i, j);
  return level(i + 1, j) < z && level(i - 1, j) < z && level(i, j + 1) < z && level(i, j - 1) < z;
}

void smoothTowardsMean(int i, int j) { lowerPoint(i, j, ParamBedSmooth * (level(i, j) - neighbourMean(i, j))); }

// Method 9: only single-point spikes, whose neighbours are lower than the
// points beyond them. The south neighbour is compared with the point two
// places north: it reads inside the grid and only changes which peaks count.
void sharpPeaks(const GridBlock &g) {
  for (int i = g.i1 + 1; i <= g.i2 - 2; ++i) {
    for (int j = g.j1 + 1; j <= g.j2 - 2; ++j) {
      if (!wetAround(i, j) || !aboveNeighbours(i, j)) continue;
      if (level(i + 1, j) < level(i + 2, j) && level(i - 1, j) < level(i - 2, j) &&
          level(i, j + 1) < level(i, j + 2) && level(i, j - 1) < level(i, j + 2)) {
        smoothTowardsMean(i, j);
      }
    }
  }
}

// Method 10: every point strictly above its four neighbours.
void peaks(const GridBlock &g) {
  for (int i = g.i1 + 1; i <= g.i2 - 1; ++i) {
    for (int j = g.j1 + 1; j <= g.j2 - 1; ++j) {
      if (wetAround(i, j) && aboveNeighbours(i, j)) smoothTowardsMean(i, j);
    }
  }
}

// Method 11: the Laplacian, forwards then backwards.
void laplacian(const GridBlock &g) {
  for (const bool backward : {false, true}) {
    sweep(g.i1 + 1, g.i2 - 1, g.j1 + 1, g.j2 - 1, backward, [](int i, int j) {
      if (wetAround(i, j)) smoothTowardsMean(i, j);
    });
  }
}

// Method 11 on a channel one column wide: the two lines of points along the
// column row are smoothed along i each, a point giving D and its two
// neighbours on the line taking D/2.
void laplacianAlongI(const GridBlock &g) {
  const int j = g.j2;
  auto visit = [j](int i, int) {
    if (!wet(i, j) || !wet(i + 1, j)) return;
    for (const int line : {j, j - 1}) {
      const double D = ParamBedSmooth * (level(i, line) - 0.5 * (level(i + 1, line) + level(i - 1, line)));
      movePoint(i, line, -D);
      movePoint(i + 1, line, 0.5 * D);
      movePoint(i - 1, line, 0.5 * D);
    }
  };
  sweep(g.i1 + 1, g.i2 - 1, 0, 0, false, visit);
  sweep(g.i1 + 1, g.i2 - 1, 0, 0, true, visit);
}

// Method 12: the Laplacian where the bed of all four columns around the
// point twists more than ParamBedSmooth: by magnitude forwards, signed
// backwards.
void twistedLaplacian(const GridBlock &g) {
  for (const bool backward : {false, true}) {
    sweep(g.i1 + 1, g.i2 - 1, g.j1 + 1, g.j2 - 1, backward, [backward](int i, int j) {
      if (!wetAround(i, j)) return;
      for (const int b : {pointbed[i][j], pointbed[i + 1][j], pointbed[i][j + 1], pointbed[i + 1][j + 1]}) {
        const double twist = backward ? Bfly[b] : std::fabs(Bfly[b]);
        if (!(twist > ParamBedSmooth)) return;
      }
      smoothTowardsMean(i, j);
    });
  }
}

// Method 13: the full Laplacian step, limited by the columns' own change of
// the step, so that smoothing never outruns the bed change.
void limitedLaplacian(const GridBlock &g) {
  for (const bool backward : {false, true}) {
    sweep(g.i1, g.i2 - 1, g.j1, g.j2 - 1, backward, [](int i, int j) {
      const double L = 0.25 * ParamBedSmooth *
                       (std::fabs(Bedmove[pointbed[i][j]]) + std::fabs(Bedmove[pointbed[i + 1][j]]) +
                        std::fabs(Bedmove[pointbed[i][j + 1]]) + std::fabs(Bedmove[pointbed[i + 1][j + 1]]));
      lowerPoint(i, j, std::min(std::max(level(i, j) - neighbourMean(i, j), -L), L));
    });
  }
}

// ---- Method 14: a point next to a column of fast flow (Froude number above
// 0.6) moves towards the mean of its neighbours on that side; the neighbours
// do not change.

bool fast(int i, int j) { return BFroude[bedOf(i, j)] > 0.6; }

void fastFlowSmoothing(const GridBlock &g) {
  auto visit = [](int i, int j) {
    const bool w1 = wet(i, j), w2 = wet(i + 1, j), w3 = wet(i + 1, j + 1), w4 = wet(i, j + 1);
    const bool f1 = fast(i, j), f2 = fast(i + 1, j), f3 = fast(i + 1, j + 1), f4 = fast(i, j + 1);
    double sum = 0.0;
    int n = 0;
    auto take = [&](bool taken, int ni, int nj) {
      if (!taken) return;
      sum += level(ni, nj);
      ++n;
    };
    take(w1 && (f1 || f2), i, j - 1);
    take((w2 || w3) && (f2 || f3), i + 1, j);
    take((w3 || w4) && (f3 || f4), i, j + 1);
    take((w4 || w1) && (f4 || f1), i - 1, j);
    if (n > 0) movePoint(i, j, (sum / n - level(i, j)) * ParamBedSmooth);
  };
  sweep(g.i1 - 1, g.i2, g.j1 - 1, g.j2, false, visit);
  sweep(g.i1 - 1, g.i2, g.j1 - 1, g.j2, true, visit);
}

}  // namespace

void bedsmooth() {
  const int method = FlagBedSmooth;
  const bool known = method == 1 || method == 3 || method == 5 || method == 6 || (method >= 9 && method <= 14);
  if (!known || NoBlocks < 1) return;
  // Method 11 on a first block one column wide smooths along i only.
  const bool alongI = method == 11 && block[1].j2 == block[1].j1;
  if (method == 11 && block[1].j2 < block[1].j1) return;
  Bedmove[0] = 0.0;  // a dry neighbour counts with no change
  if (method == 14) {
    Cbed[0] = 0;
    BFroude[0] = 0.0;
  }
  for (int n = 1; n <= NoBlocks; ++n) {
    const GridBlock &g = block[n];
    if (!treatedBlock(g)) continue;
    switch (method) {
      case 1: exchangeEdges(g, exchangeByTime); break;
      case 3: exchangeEdges(g, exchangeByRate); break;
      case 5: spreadChange(g); break;
      case 6: slopeTransport(g); break;
      case 9: sharpPeaks(g); break;
      case 10: peaks(g); break;
      case 11: alongI ? laplacianAlongI(g) : laplacian(g); break;
      case 12: twistedLaplacian(g); break;
      case 13: limitedLaplacian(g); break;
      default: fastFlowSmoothing(g); break;
    }
  }
}
