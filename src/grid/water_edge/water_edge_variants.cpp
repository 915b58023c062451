// The other ways of reshaping wet columns at the water edge that F 493
// selects (1 to 6), and the line-count rule of F 503 that acts before the
// second generator builds its cells. None of them marks Ctrekant: they move
// points of the built grid (Px, Py, Pz) or lower antlin and antlinT.
#include <algorithm>
#include <cmath>

#include "grid/water_edge/column_corners.h"
#include "grid/water_edge/edge_and_layer.h"
#include "grid/water_edge/water_edge.h"
#include "model/blocks_groups.h"
#include "model/grid_index.h"

namespace {

// The columns a variant visits: all of a block, or only those inside its
// first and last rows (and columns) of the i and/or j direction.
enum class Inner { None, I, Both };

// Calls treat(i, j, first) for every column of every block that is not a
// one-cell-per-column block, j outer and i inner; `first` is the block's
// column (i1, j1).
template <typename Treat>
void forEachColumn(Inner inner, Treat treat) {
  for (int n = 1; n <= NoBlocks; ++n) {
    const GridBlock &blk = block[n];
    if (blk.BlockKind == 1) continue;
    const int di = inner == Inner::None ? 0 : 1, dj = inner == Inner::Both ? 1 : 0;
    for (int j = blk.j1 + dj; j <= blk.j2 - dj; ++j) {
      for (int i = blk.i1 + di; i <= blk.i2 - di; ++i) treat(i, j, i == blk.i1 && j == blk.j1);
    }
  }
}

int columnCells(int i, int j) { return onStructuredGrid(i, j) ? ant[i][j] : 0; }

// The bottom cell of a column as the second generator keeps it, where it does.
int keptBottom(int i, int j) {
  if (UMethod2 <= 0 || !pointcell) return columnBottom(i, j);
  return onStructuredGrid(i, j) ? pointcell[i][j] : 0;
}

// The columns beyond corner k of column (i, j): the one along i, the one
// along j, and the diagonal one.
struct Beyond {
  int alongI, alongJ, diagonal;
};

template <typename Bottom>
Beyond beyond(int i, int j, int k, Bottom bottom) {
  const int si = kBeyondDi[k], sj = kBeyondDj[k];
  return {bottom(i + si, j), bottom(i, j + sj), bottom(i + si, j + sj)};
}

bool allDry(const Beyond &b) { return b.alongI == 0 && b.alongJ == 0 && b.diagonal == 0; }

int cornerLines(int i, int j, int k) { return gridLines(i + kCornerDi[k], j + kCornerDj[k]); }

// 0.4 of each adjacent corner and 0.2 of the tip, from the current bottom points.
void pullBetweenAdjacent(int b, int k) {
  const int pk = lowerCorner(k)[b], pa = lowerCorner(kAdjacentA[k])[b], pb = lowerCorner(kAdjacentB[k])[b];
  Px[pk] = 0.4 * Px[pa] + 0.2 * Px[pk] + 0.4 * Px[pb];
  Py[pk] = 0.4 * Py[pa] + 0.2 * Py[pk] + 0.4 * Py[pb];
}

// Variant 1: the corner t of the way along the edge to corner `to`, from the
// structured positions.
void slideTowards(int i, int j, int b, int k, int to, double t) {
  const double x = (1.0 - t) * cornerGridX(i, j, k) + t * cornerGridX(i, j, to);
  const double y = (1.0 - t) * cornerGridY(i, j, k) + t * cornerGridY(i, j, to);
  placeCornerLine(b, k, x, y);
}

double gridEdge(int i, int j, int k, int to) {
  return std::hypot(cornerGridX(i, j, k) - cornerGridX(i, j, to), cornerGridY(i, j, k) - cornerGridY(i, j, to));
}

// Every corner among three dry columns that is shallower than dmin: along
// the edge to a deeper adjacent corner (the shorter edge when both are), or,
// with F 456, among shallow corners towards the diagonal. A depth of exactly
// dmin moves nothing.
void shallowTipToDmin(int i, int j, bool firstColumn, double dmin) {
  const int b = columnBottom(i, j);
  if (b <= 0) return;
  for (int k = 1; k <= 4; ++k) {
    if (!allDry(beyond(i, j, k, columnBottom))) continue;
    const int a = kAdjacentA[k], c = kAdjacentB[k];
    const double dk = cornerDepth(i, j, k), da = cornerDepth(i, j, a), dc = cornerDepth(i, j, c);
    if (dk < dmin && ((da > dmin && dc < dmin) || (dc > dmin && da < dmin))) {
      const int deep = da > dmin ? a : c;
      const double t = std::min((dmin - dk) / (cornerDepth(i, j, deep) - dk), DistGridHoriz);
      slideTowards(i, j, b, k, deep, t);
    } else if (dk < dmin && da > dmin && dc > dmin) {
      const double la = gridEdge(i, j, k, a), lc = gridEdge(i, j, k, c);
      const int to = la < lc ? a : lc < la ? c : kMergeTie[k];
      const double t = std::min((dmin - dk) / (cornerDepth(i, j, to) - dk), DistGridHoriz);
      slideTowards(i, j, b, k, to, t);
    } else if (FlagMinLevCorner > 0 && dk < dmin && da < dmin && dc < dmin && !firstColumn) {
      double x = 0.5 * (cornerGridX(i, j, a) + cornerGridX(i, j, c));
      double y = 0.5 * (cornerGridY(i, j, a) + cornerGridY(i, j, c));
      if (FlagMinLevCorner != 1) {
        x = 0.5 * (x + cornerGridX(i, j, k));
        y = 0.5 * (y + cornerGridY(i, j, k));
      }
      placeCornerLine(b, k, x, y);
    }
  }
}

// F 159 fifth value 7: a deep corner beside a dry side column is raised, in
// every cell, to the bed of the shallow adjacent corner across that side.
void raiseBesideDrySides(int i, int j, double dmin) {
  const int b = columnBottom(i, j);
  if (b <= 0) return;
  for (int k = 1; k <= 4; ++k) {
    const Beyond around = beyond(i, j, k, columnBottom);
    if (around.diagonal != 0 || cornerDepth(i, j, k) <= dmin) continue;
    const int pairs[2][2] = {{around.alongJ, kAlongJ[k]}, {around.alongI, kAlongI[k]}};
    for (const auto &pair : pairs) {
      if (pair[0] != 0 || cornerDepth(i, j, pair[1]) >= dmin) continue;
      const double floor = Pz[lowerCorner(pair[1])[b]];
      for (int c = b; c > 0; c = Ccellt[c]) {
        double &z = Pz[lowerCorner(k)[c]];
        z = std::max(z, floor);
      }
    }
  }
}

// Variants 3 and 4: the tip's bottom point between its adjacent corners, its
// level between the opposite corner's bed and water level; the main
// generator carries the upper points of the line along.
void pullAndClamp(int i, int j, int b, int k) {
  const int pk = lowerCorner(k)[b];
  pullBetweenAdjacent(b, k);
  const int o = kOpposite[k];
  const double low = Pz[lowerCorner(o)[b]], high = cornerSurface(i, j, o);
  auto clamp = [&](double z) { return std::min(std::max(z, low), high); };
  Pz[pk] = clamp(Pz[pk]);
  if (UMethod2 != 0) return;
  for (int c = b; c > 0; c = Ccellt[c]) {
    const int p = upperCorner(k)[c];
    Px[p] = Px[pk];
    Py[p] = Py[pk];
    Pz[p] = clamp(Pz[p]);
  }
}

template <typename Dry>
void tipBetweenAdjacent(int i, int j, Dry dry) {
  const int b = columnBottom(i, j);
  if (b <= 0) return;
  for (int k = 1; k <= 4; ++k) {
    if (cornerLines(i, j, k) == 1 && dry(beyond(i, j, k, keptBottom))) {
      pullAndClamp(i, j, b, k);
      return;
    }
  }
}

// Variant 5 at corner k: towards the opposite structured corner by a share
// that grows as the tip gets shallower than a fifth of the column's depth,
// then a line of one or two points set between the water and the bed.
void towardsOpposite(int i, int j, int b, int k) {
  const int o = kOpposite[k];
  const double dk = cornerDepth(i, j, k);
  const double depth = std::max({cornerDepth(i, j, kAdjacentA[k]), cornerDepth(i, j, kAdjacentB[k]),
                                 cornerDepth(i, j, o)});
  const double a = 0.2 * depth - dk;
  const int pk = lowerCorner(k)[b], pu = upperCorner(k)[b];
  if (a > 0.0) {
    // A column no deeper anywhere than zero takes the largest share.
    const double f = depth > 0.0 ? std::min(a / depth, 0.5) : depth == 0.0 ? 0.5 : 0.0;
    Px[pk] = f * cornerGridX(i, j, o) + (1.0 - f) * cornerGridX(i, j, k);
    Py[pk] = f * cornerGridY(i, j, o) + (1.0 - f) * cornerGridY(i, j, k);
  }
  const double water = cornerSurface(i, j, o);
  if (pu == pk) {
    Pz[pk] = water;
  } else if (cornerLines(i, j, k) == 2) {
    Pz[pu] = std::min(Pz[pu], water);
    Pz[pk] = std::min(Pz[pk], Pz[pu] - MinVertDist0);
    Pz[pk] = std::max(Pz[pk], Pz[pu] - depth);
    Px[pu] = Px[pk];
    Py[pu] = Py[pk];
  }
}

}  // namespace

// Every corner whose three other columns are dry slides along a column edge
// to where the depth interpolated on it reaches dmin, at most F 89 of the
// edge; with F 456 a corner among shallow ones goes to the diagonal.
void UnstrucTriangular0() {
  const double dmin = collapseDepth();
  forEachColumn(Inner::None, [&](int i, int j, bool first) {
    shallowTipToDmin(i, j, first, dmin);
    if (FlagGridStab5 == 7) raiseBesideDrySides(i, j, dmin);
  });
}

// The first corner between two dry side columns goes to a weighted mean of
// the column's four structured corners.
void UnstrucTriangular2() {
  const double dmin = collapseDepth();
  forEachColumn(Inner::Both, [&](int i, int j, bool) {
    const int b = columnBottom(i, j);
    if (b <= 0) return;
    const Around a = aroundFromLinks(b);
    const bool sidesDry[5] = {false, a.s == 0 && a.w == 0, a.s == 0 && a.e == 0, a.n == 0 && a.e == 0,
                              a.n == 0 && a.w == 0};
    for (int k = 1; k <= 4; ++k) {
      if (!sidesDry[k]) continue;
      const int o = kOpposite[k], ka = kAdjacentA[k], kb = kAdjacentB[k];
      const double x = 0.35 * cornerGridX(i, j, k) + 0.25 * (cornerGridX(i, j, ka) + cornerGridX(i, j, kb)) +
                       0.15 * cornerGridX(i, j, o);
      const double y = 0.35 * cornerGridY(i, j, k) + 0.25 * (cornerGridY(i, j, ka) + cornerGridY(i, j, kb)) +
                       0.15 * cornerGridY(i, j, o);
      placeCornerLine(b, k, x, y);
      if (FlagCorrTrekant3 == 1) collapseCornerLevels(b, k, Pz[topOfCorner(b, k)], dmin);
      return;
    }
  });
}

// A dry corner line (one point) among three dry columns.
void UnstrucTriangular3() {
  forEachColumn(Inner::Both, [](int i, int j, bool) { tipBetweenAdjacent(i, j, allDry); });
}

// A dry corner line between two dry side columns.
void UnstrucTriangular4() {
  forEachColumn(Inner::Both, [](int i, int j, bool) {
    tipBetweenAdjacent(i, j, [](const Beyond &b) { return b.alongI == 0 && b.alongJ == 0; });
  });
}

// Every corner of one or two line points among three columns without cells.
void UnstrucTriangular5() {
  forEachColumn(Inner::I, [](int i, int j, bool) {
    if (ant[i][j] <= 0) return;
    const int b = columnBottom(i, j);
    if (b <= 0) return;
    for (int k = 1; k <= 4; ++k) {
      if (allDry(beyond(i, j, k, columnCells)) && cornerLines(i, j, k) < 3) towardsOpposite(i, j, b, k);
    }
  });
}

// The first shallow corner among three dry columns goes between its adjacent
// corners, and its line is squeezed into dmin below the opposite corner's
// water level. A corner at least dmin deep keeps its place and its levels:
// the blocks' outer corners count as dry land outside, and would otherwise
// lose their whole depth.
void UnstrucTriangular6() {
  const double dmin = collapseDepth();
  forEachColumn(Inner::None, [&](int i, int j, bool) {
    const int b = columnBottom(i, j);
    if (b <= 0) return;
    for (int k = 1; k <= 4; ++k) {
      if (!allDry(beyond(i, j, k, columnBottom)) || cornerDepth(i, j, k) >= dmin) continue;
      pullBetweenAdjacent(b, k);
      const int pk = lowerCorner(k)[b];
      placeCornerLine(b, k, Px[pk], Py[pk]);
      spreadCornerLevels(b, k, ant[i][j], cornerSurface(i, j, kOpposite[k]), dmin);
      return;
    }
  });
}

// Before the second generator builds its cells: a corner among three columns
// without cells has no more lines than the opposite corner, when that one
// has at most two.
void UnstrucTriangular10() {
  forEachColumn(Inner::Both, [](int i, int j, bool) {
    if (ant[i][j] <= 0) return;
    for (int k = 1; k <= 4; ++k) {
      if (!allDry(beyond(i, j, k, columnCells))) continue;
      const int o = kOpposite[k];
      const int oi = i + kCornerDi[o], oj = j + kCornerDj[o], ki = i + kCornerDi[k], kj = j + kCornerDj[k];
      if (antlin[oi][oj] > 2) continue;
      antlin[ki][kj] = std::min(antlin[ki][kj], antlin[oi][oj]);
      antlinT[ki][kj] = std::min(antlinT[ki][kj], antlinT[oi][oj]);
    }
  });
}
