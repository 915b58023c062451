// Waterline moves of the built grid: the dry corner of a shoreline column
// slides along a side to where the depth reaches the threshold, a shallow dry
// side can fold onto one of its corners, and the inflow edge of block 1 goes
// back onto its grid lines. Writes Px, Py, with F 235 15 Pz, with F 102 2 the
// water levels of zval.
#include <algorithm>
#include <cmath>

#include "grid/water_edge/column_corners.h"
#include "grid/generation/grid_build.h"
#include "model/blocks_groups.h"

namespace {

bool wet(int i, int j) { return columnBottom(i, j) > 0; }

// The depth a dry corner slides to, by F 102.
double moveThreshold() {
  switch (FlagMinLevUnstruc) {
    case 1:
    case 4: return MinVertDist0;
    case 3: return MinVertDist1;
    default: return 0.5 * MinVertDist0;
  }
}

// One move: corner k slides towards corner m across the side whose far
// column is (ai, aj); the columns (oi, oj), (pi, pj) around corner k must be dry.
struct Move {
  int k, m;
  int ai, aj;
  int oi, oj, pi, pj;
};

// Offsets from column (i, j), in the order the moves are tried.
constexpr Move kMoves[8] = {
    {1, 4, -1, 0, -1, -1, 0, -1}, {2, 3, 1, 0, 1, -1, 0, -1}, {4, 1, -1, 0, 0, 1, -1, 1},
    {3, 2, 1, 0, 0, 1, 1, 1},     {1, 2, 0, -1, -1, -1, -1, 0}, {4, 3, 0, 1, -1, 0, -1, 1},
    {2, 1, 0, -1, 1, 0, 1, -1},   {3, 4, 0, 1, 1, 0, 1, 1},
};

// The move is computed from the structured positions of the two lines, so
// that the two columns beside a side put the shared line on the same spot.
void slideCorner(int i, int j, int b, const Move &mv, double h) {
  const int ki = i + kCornerDi[mv.k], kj = j + kCornerDj[mv.k];
  const int mi = i + kCornerDi[mv.m], mj = j + kCornerDj[mv.m];
  const double dk = gridDepth(ki, kj), dm = gridDepth(mi, mj);
  if (!(dk < h && h < dm)) return;
  if (!wet(i + mv.ai, j + mv.aj) || wet(i + mv.oi, j + mv.oj) || wet(i + mv.pi, j + mv.pj)) return;
  const double f = std::min((h - dk) / (dm - dk), DistGridHoriz);
  placeCornerLine(b, mv.k, (1.0 - f) * xval[ki][kj] + f * xval[mi][mj], (1.0 - f) * yval[ki][kj] + f * yval[mi][mj]);
  // F 235 15: the slid corner may not stand above the wet corner's cell top.
  if (FlagCorrTrekant == 15) {
    const double cap = Pz[upperCorner(mv.m)[b]];
    for (int c = b; c > 0; c = Ccellt[c]) {
      double &z = Pz[lowerCorner(mv.k)[c]];
      z = std::min(z, cap);
    }
  }
}

// One side of the column for the side collapse: its end corners, the column
// across it, and the two columns beyond each end.
struct Side {
  int a, b;          // end corners
  int ai, aj;        // column across the side
  int e1[4], e2[4];  // columns beyond end a, beyond end b
};

constexpr Side kSides[4] = {
    {1, 4, -1, 0, {0, -1, -1, -1}, {0, 1, -1, 1}},  // west
    {2, 3, 1, 0, {0, -1, 1, -1}, {0, 1, 1, 1}},     // east
    {1, 2, 0, -1, {-1, 0, -1, -1}, {1, 0, 1, -1}},  // south
    {4, 3, 0, 1, {-1, 0, -1, 1}, {1, 0, 1, 1}},     // north
};

// F 159 fifth value 6: a shallow side between a dry end and a wet end folds
// onto the wet end's corner.
void foldShallowSides(int i, int j, int b) {
  for (const Side &s : kSides) {
    if (gridDepth(i + kCornerDi[s.a], j + kCornerDj[s.a]) >= MinVertDist0) continue;
    if (gridDepth(i + kCornerDi[s.b], j + kCornerDj[s.b]) >= MinVertDist0) continue;
    if (!wet(i + s.ai, j + s.aj)) continue;
    const bool aDry = !wet(i + s.e1[0], j + s.e1[1]) && !wet(i + s.e1[2], j + s.e1[3]);
    const bool aWet = wet(i + s.e1[0], j + s.e1[1]) && wet(i + s.e1[2], j + s.e1[3]);
    const bool bDry = !wet(i + s.e2[0], j + s.e2[1]) && !wet(i + s.e2[2], j + s.e2[3]);
    const bool bWet = wet(i + s.e2[0], j + s.e2[1]) && wet(i + s.e2[2], j + s.e2[3]);
    int from = 0, onto = 0;
    if (aDry && bWet) {
      from = s.a;
      onto = s.b;
    } else if (bDry && aWet) {
      from = s.b;
      onto = s.a;
    } else {
      continue;
    }
    const int target = lowerCorner(onto)[b];
    placeCornerLine(b, from, Px[target], Py[target]);
  }
}

// F 102 2: the water of the columns stands at least MinVertDist0 above the bed.
void raiseShallowWater() {
  for (int n = 1; n <= NoBlocks; ++n) {
    const GridBlock &blk = block[n];
    if (blk.BlockKind == 1) continue;
    for (int i = blk.i1 - 1; i <= blk.i2 - 1; ++i) {
      for (int j = blk.j1; j <= blk.j2; ++j) {
        zval[i][j][znumber] = std::max(zval[i][j][znumber], zval[i][j][1] + MinVertDist0);
      }
    }
  }
}

// Puts the corner line k of the column with bottom cell b back on grid line (gi, gj).
void restoreCorner(int b, int k, int gi, int gj) { placeCornerLine(b, k, xval[gi][gj], yval[gi][gj]); }

// An inflow polygon point on the midpoint of the west edge of row j of block
// 1 puts that edge and its ends back on the structured lines.
void restoreInflowRow(const GridBlock &blk, int j, double x, double y) {
  const int i1 = blk.i1;
  const double mx = 0.5 * (xval[i1 - 1][j - 1] + xval[i1 - 1][j]);
  const double my = 0.5 * (yval[i1 - 1][j - 1] + yval[i1 - 1][j]);
  if (std::fabs(x - mx) + std::fabs(y - my) >= 0.001) return;
  const int b = columnBottom(i1, j);
  if (b <= 0) return;
  restoreCorner(b, 1, i1 - 1, j - 1);
  restoreCorner(b, 4, i1 - 1, j);
  if (const int south = columnBottom(i1, j - 1); south > 0) restoreCorner(south, 4, i1 - 1, j - 1);
  if (const int north = columnBottom(i1, j + 1); north > 0) restoreCorner(north, 1, i1 - 1, j);
}

}  // namespace

void UnstrucHorMove() {
  if (FlagMinLevUnstruc == 2) raiseShallowWater();
  const double h = moveThreshold();
  for (int n = 1; n <= NoBlocks; ++n) {
    const GridBlock &blk = block[n];
    if (blk.BlockKind == 1) continue;
    for (int j = blk.j1; j <= blk.j2; ++j) {
      for (int i = blk.i1; i <= blk.i2; ++i) {
        const int b = columnBottom(i, j);
        if (b <= 0) continue;
        for (const Move &mv : kMoves) slideCorner(i, j, b, mv, h);
        if (FlagGridStab5 == 6) foldShallowSides(i, j, b);
      }
    }
  }
}

void FixInflowCells() {
  if (NoBlocks < 1) return;
  const GridBlock &blk = block[1];
  for (int g = 1; g <= 9; ++g) {
    const DischargeGroup &group = DischargeStruct[g];
    if (group.type != 1 || group.polygonCount <= 0) continue;
    for (int p = 0; p < group.polygonCount; ++p) {
      for (int j = blk.j1; j <= blk.j2; ++j) restoreInflowRow(blk, j, group.polygonX[p], group.polygonY[p]);
    }
  }
}
