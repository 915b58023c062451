// Joins between blocks: a free side of a top cell is matched in plan with the
// free side of a column of another block, and the two columns are linked
// level by level from the top. Writes the neighbour entries and faces of the
// linked cells, connFlate and NoConnFlate.
#include <cmath>

#include "grid/grid_build.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/grid_index.h"
#include "model/points.h"
#include "model/settings.h"
#include "model/work_ranges.h"
#include "startup/log.h"

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
  int c = 0, s = 0;
  for (int cand = WCStart; cand <= WCEnd && c == 0; ++cand) {
    if (cand == cell || Ccellt[cand] != 0) continue;
    for (int candSide = kSouth; candSide <= kWest; ++candSide) {
      if (neighbourOf(candSide)[cand] != 0) continue;
      int pc, pd;
      sideCorners(cand, candSide, pc, pd);
      if (checkXY(xa, xb, Px[pc], Px[pd], ya, yb, Py[pc], Py[pd]) != 0) {
        c = cand;
        s = candSide;
        break;
      }
    }
  }
  if (c == 0) return 0;

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
