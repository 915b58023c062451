// Joins between blocks: a free side of a top cell is matched in plan with the
// free side of a column of another block, and the two columns are linked
// level by level from the top. Writes the neighbour entries and faces of the
// linked cells, connFlate and NoConnFlate.
#include <algorithm>
#include <cmath>
#include <vector>

#include "grid/generation/grid_build.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/blocks_groups.h"
#include "model/grid_index.h"
#include "model/points.h"
#include "model/settings.h"
#include "model/structured.h"
#include "model/work_ranges.h"
#include "base/log.h"

namespace {

enum Side { kSouth = 1, kEast, kNorth, kWest };

int *neighbourOf(int side) {
  switch (side) {
    case kSouth: return Ccells;
    case kEast: return Ccelle;
    case kNorth: return Ccelln;
    default: return Ccellw;
  }
}

int *faceOf(int side) {
  switch (side) {
    case kSouth: return Cflates;
    case kEast: return Cflatee;
    case kNorth: return Cflaten;
    default: return Cflatew;
  }
}

// The two lower corners that bound a side in plan.
void sideCorners(int c, int side, int &a, int &b) {
  switch (side) {
    case kSouth: a = Cpoint1[c]; b = Cpoint2[c]; break;
    case kEast: a = Cpoint2[c]; b = Cpoint3[c]; break;
    case kNorth: a = Cpoint3[c]; b = Cpoint4[c]; break;
    default: a = Cpoint4[c]; b = Cpoint1[c]; break;
  }
}

// A cell's east and north faces lead to the other cell, its south and west
// faces come from it.
bool leadsOut(int side) { return side == kEast || side == kNorth; }

void link(int c, int s, int d, int side) {
  neighbourOf(s)[c] = d;
  neighbourOf(side)[d] = c;
  const int fc = faceOf(s)[c], fd = faceOf(side)[d];
  Fcell1[fc] = leadsOut(s) ? c : d;
  Fcell2[fc] = leadsOut(s) ? d : c;
  Fcell1[fd] = leadsOut(side) ? d : c;
  Fcell2[fd] = leadsOut(side) ? c : d;
}

// Row n of connFlate: the face on the west or south side of the join first.
void storePair(int n, int c, int s, int d, int side) {
  const int fc = faceOf(s)[c], fd = faceOf(side)[d];
  connFlate[n][0] = leadsOut(s) ? fc : fd;
  connFlate[n][1] = leadsOut(s) ? fd : fc;
}

// Undoes the link of cell c on side s (the other cell keeps its own entries,
// they are overwritten next).
void unlink(int c, int s) {
  neighbourOf(s)[c] = 0;
  const int f = faceOf(s)[c];
  if (leadsOut(s)) {
    Fcell2[f] = 0;
  } else {
    Fcell1[f] = 0;
  }
}

int bottomOf(int c) {
  while (Ccellb[c] != 0) c = Ccellb[c];
  return c;
}

// The grid methods whose columns may end at different depths link the bottom
// cells of two joined columns, so that the bed of both is connected.
bool linksBottomCells() {
  return (UMethod >= 8 && UMethod <= 13) || (UMethod >= 30 && UMethod <= 40) || UMethod >= 100;
}

bool samePoint(double dx, double dy) { return std::fabs(dx) < ConnectLimit && std::fabs(dy) < ConnectLimit; }

// Links the column of the found top cell c (side s) with that of `cell`
// (side `side`) from the top down; see Connect.
int joinColumns(int c, int s, int cell, int side) {
  int d = cell;
  for (;;) {
    if (NoConnFlate + 1 >= MaxConnFlate) {
      logPrintf("Error, increase 5th integer on F 65 data set, now at: %d\n", NoConnFlate + 1);
      return kConnectListFull;
    }
    link(c, s, d, side);
    storePair(++NoConnFlate, c, s, d, side);
    if (Ccellb[c] == 0 || Ccellb[d] == 0) break;
    c = Ccellb[c];
    d = Ccellb[d];
  }
  if (!linksBottomCells() || (Ccellb[c] == 0 && Ccellb[d] == 0)) return 1;

  // One column goes deeper: its cell of the last pair gives up the link to the
  // column's bottom cell.
  if (Ccellb[c] != 0) {
    unlink(c, s);
    c = bottomOf(c);
  } else {
    unlink(d, side);
    d = bottomOf(d);
  }
  link(c, s, d, side);
  storePair(NoConnFlate, c, s, d, side);
  return 1;
}

// True when side s of top cell c may take the edge a-b: c is in the work
// range, is not the asking cell, has no neighbour there, and the edge matches.
bool freeMatch(int c, int s, int cell, double xa, double xb, double ya, double yb) {
  if (c == cell || c < WCStart || c > WCEnd || Ccellt[c] != 0 || neighbourOf(s)[c] != 0) return false;
  int pc, pd;
  sideCorners(c, s, pc, pd);
  return checkXY(xa, xb, Px[pc], Px[pd], ya, yb, Py[pc], Py[pd]) != 0;
}

}  // namespace

int checkXY(double xa, double xb, double xc, double xd, double ya, double yb, double yc, double yd) {
  if (samePoint(xa - xc, ya - yc) && samePoint(xb - xd, yb - yd)) return 1;
  if (samePoint(xa - xd, ya - yd) && samePoint(xb - xc, yb - yc)) return 2;
  return 0;
}

// The first top cell of the work range, in rising number, with a free side on
// the same edge is taken; only plan positions are compared, so the two columns
// may stand on different levels. The list is tested before every pair: when it
// is full nothing of that pair is linked or stored.
int Connect(int pa, int pb, int cell, int side) {
  const double xa = Px[pa], xb = Px[pb], ya = Py[pa], yb = Py[pb];
  for (int c = WCStart; c <= WCEnd; ++c) {
    if (c == cell || Ccellt[c] != 0) continue;
    for (int s = kSouth; s <= kWest; ++s) {
      if (freeMatch(c, s, cell, xa, xb, ya, yb)) return joinColumns(c, s, cell, side);
    }
  }
  return 0;
}

namespace {

// The sides of the top cells filed by the plan bins of both their lower
// corners, bins ConnectLimit wide. Two points that match differ by less than
// one bin width in x and in y; with the rounding of the divisions their bins
// differ by at most two, so a search of the 5 x 5 bins around a corner finds
// every side that Connect's scan could take. Whether a side is still free is
// tested when it is looked up, so the index stays valid while sides are joined.
class SideIndex {
 public:
  // Files the sides of the top cells of the work range; false when the bins
  // cannot be formed (a limit that is not positive, coordinates too far out).
  bool build() {
    entries_.clear();
    if (!(ConnectLimit > 0.0)) return false;
    width_ = ConnectLimit;
    for (int c = WCStart; c <= WCEnd; ++c) {
      if (Ccellt[c] != 0) continue;
      for (int s = kSouth; s <= kWest; ++s) {
        int pa, pb;
        sideCorners(c, s, pa, pb);
        long long bx, by;
        for (int p : {pa, pb}) {
          if (!bin(Px[p], bx) || !bin(Py[p], by)) return false;
          entries_.push_back({bx, by, c, s});
        }
      }
    }
    std::sort(entries_.begin(), entries_.end());
    return true;
  }

  // The lowest (cell, side) that Connect's scan would take for edge pa-pb of `cell`.
  bool find(int pa, int pb, int cell, int &found, int &foundSide) const {
    const double xa = Px[pa], xb = Px[pb], ya = Py[pa], yb = Py[pb];
    long long bx, by;
    if (!bin(xa, bx) || !bin(ya, by)) return false;
    found = 0;
    for (long long dx = -2; dx <= 2; ++dx) {
      for (long long dy = -2; dy <= 2; ++dy) {
        const Entry key{bx + dx, by + dy, 0, 0};
        for (auto e = std::lower_bound(entries_.begin(), entries_.end(), key);
             e != entries_.end() && e->bx == key.bx && e->by == key.by; ++e) {
          if (found != 0 && (e->cell > found || (e->cell == found && e->side >= foundSide))) break;
          if (freeMatch(e->cell, e->side, cell, xa, xb, ya, yb)) {
            found = e->cell;
            foundSide = e->side;
          }
        }
      }
    }
    return found != 0;
  }

 private:
  struct Entry {
    long long bx, by;
    int cell, side;
    bool operator<(const Entry &o) const {
      if (bx != o.bx) return bx < o.bx;
      if (by != o.by) return by < o.by;
      if (cell != o.cell) return cell < o.cell;
      return side < o.side;
    }
  };

  bool bin(double v, long long &b) const {
    const double q = std::floor(v / width_);
    if (!(std::fabs(q) < 1e15)) return false;
    b = static_cast<long long>(q);
    return true;
  }

  std::vector<Entry> entries_;  // kept between generations, so its room is reused
  double width_ = 0.0;
};

SideIndex sideIndex;

}  // namespace

// Every free side of every top cell, cells in rising order and sides south to
// west, is offered to Connect's search; the index only shortens the search.
int connectBlockSides() {
  const bool indexed = sideIndex.build();
  for (int c = 1; c <= NoCells; ++c) {
    if (Ccellt[c] != 0) continue;
    for (int side = kSouth; side <= kWest; ++side) {
      if (neighbourOf(side)[c] != 0) continue;
      int pa, pb;
      sideCorners(c, side, pa, pb);
      int result;
      int found = 0, foundSide = 0;
      if (!indexed) {
        result = Connect(pa, pb, c, side);
      } else if (sideIndex.find(pa, pb, c, found, foundSide)) {
        result = joinColumns(found, foundSide, c, side);
      } else {
        result = 0;
      }
      if (result == kConnectListFull) return kConnectListFull;
    }
  }
  return 0;
}

namespace {

// One side of an uneven join: the column index, its rows, the grid line
// along which the row positions are measured, and the side its cells link on.
struct UnevenSide {
  int i, j1, j2, line;
  int *neighbour, *face;
  bool east;
};

// Arc length along grid line `line` from row j1-1 to the middle of each row's
// segment, kept per row.
void rowPositions(const UnevenSide &s, std::vector<double> &pos) {
  double run = 0.0;
  for (int j = s.j1; j <= s.j2; ++j) {
    const double seg = std::hypot(xval[s.line][j] - xval[s.line][j - 1], yval[s.line][j] - yval[s.line][j - 1]);
    pos[j] = run + 0.5 * seg;
    run += seg;
  }
}

// Level of a cell at the side the columns share: the mean height of the
// corners of its east face (the levels between its grid levels on the two
// lines of that face).
double cellLevel(int c) { return 0.25 * (Pz[Cpoint2[c]] + Pz[Cpoint3[c]] + Pz[Cpoint6[c]] + Pz[Cpoint7[c]]); }

// The cells of a column below its top cell, bottom up, into `cells`.
int cellsBelowTop(int i, int j, std::vector<int> &cells) {
  int n = 0;
  for (int c = static_cast<int>(zval[i][j][0]); c > 0 && Ccellt[c] != 0; c = Ccellt[c]) cells[n++] = c;
  return n;
}

// Every listed cell of `from` takes the listed cell of `to` at the nearest
// level as neighbour on its side; a column without such cells gives none.
void linkNearest(const UnevenSide &s, const std::vector<int> &from, int nf, const std::vector<int> &to, int nt) {
  if (nt == 0) return;
  for (int m = 0; m < nf; ++m) {
    const int a = from[m];
    const double level = cellLevel(a);
    int best = to[0];
    double gap = std::fabs(cellLevel(best) - level);
    for (int n = 1; n < nt; ++n) {
      const double g = std::fabs(cellLevel(to[n]) - level);
      if (g < gap) {
        gap = g;
        best = to[n];
      }
    }
    s.neighbour[a] = best;
    (s.east ? Fcell2 : Fcell1)[s.face[a]] = best;
  }
}

}  // namespace

// F 348: two blocks whose shared boundary has a different number of rows on
// its two sides. Each row of the east-linking side is joined to the nearest
// row of the other side, and each cell below the top of the two columns to
// the cell at the nearest level. With 1 block 1's column i2 links east to
// block 2's column i1; 2 and above exchange the roles of the two columns
// (block 2's column i1 links east, measured along its line i1, block 1's
// column i2 west, along its line i2 - 1), as the flux balance of the uneven
// faces reads them. A column of a single cell has no
// level to match: the other column's links stay as they were. The join list
// connFlate is not changed.
void connectUneven() {
  if (UnevenConnect <= 0 || NoBlocks < 2) return;
  const GridBlock &b1 = block[1], &b2 = block[2];
  const bool first = UnevenConnect == 1;
  const UnevenSide west = first ? UnevenSide{b1.i2, b1.j1, b1.j2, b1.i2, Ccelle, Cflatee, true}
                                : UnevenSide{b2.i1, b2.j1, b2.j2, b2.i1, Ccelle, Cflatee, true};
  const UnevenSide east = first ? UnevenSide{b2.i1, b2.j1, b2.j2, b2.i1 - 1, Ccellw, Cflatew, false}
                                : UnevenSide{b1.i2, b1.j1, b1.j2, b1.i2 - 1, Ccellw, Cflatew, false};
  static std::vector<double> westPos, eastPos;
  static std::vector<int> westCells, eastCells;
  const std::size_t rows = static_cast<std::size_t>(ynumber) + 2, levels = static_cast<std::size_t>(MaxCeller);
  if (westPos.size() < rows) westPos.resize(rows), eastPos.resize(rows);
  if (westCells.size() < levels) westCells.resize(levels), eastCells.resize(levels);
  rowPositions(west, westPos);
  rowPositions(east, eastPos);
  for (int j = west.j1; j <= west.j2; ++j) {
    int near = east.j1;
    for (int k = east.j1 + 1; k <= east.j2; ++k) {
      if (std::fabs(eastPos[k] - westPos[j]) < std::fabs(eastPos[near] - westPos[j])) near = k;
    }
    const int nw = cellsBelowTop(west.i, j, westCells);
    const int ne = cellsBelowTop(east.i, near, eastCells);
    linkNearest(west, westCells, nw, eastCells, ne);
    linkNearest(east, eastCells, ne, westCells, nw);
  }
}
