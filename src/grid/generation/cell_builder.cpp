// The two cell builders: each appends the cell described in NewCell, reusing
// the faces and points of its built neighbours and appending new ones, so that
// neighbours share one face record and common corners are one point. Writes
// the cell's links, faces and corners, new faces, new points, NoSurfaces, NoPoints.
#include "grid/generation/grid_build.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/grid_index.h"
#include "model/points.h"
#include "model/settings.h"

namespace {

enum Side { kSouth = 1, kEast, kNorth, kWest, kBottom, kTop };

// The cell corners that become Fpoint1..Fpoint4 of the face on each side. The
// north face read this way gives corners 1, 5, 6, 2 of the cell to the north,
// the east face corners 1, 4, 8, 5 of the cell to the east, the top face
// corners 1-4 of the cell above: sharing a face shares its four points.
constexpr int kFaceCorners[7][4] = {
    {0, 0, 0, 0}, {1, 5, 6, 2}, {2, 3, 7, 6}, {4, 8, 7, 3}, {1, 4, 8, 5}, {1, 2, 3, 4}, {5, 6, 7, 8}};

// The order in which MakeCell gives new points to the corners of a new face;
// it fixes the point numbering of the grids it builds.
constexpr int kMakeCellVisit[7][4] = {
    {0, 0, 0, 0}, {1, 2, 5, 6}, {2, 3, 6, 7}, {3, 4, 7, 8}, {1, 4, 5, 8}, {1, 2, 3, 4}, {5, 6, 7, 8}};

// A new face is oriented from the cell on its west, south or lower side
// (Fcell1) to the cell on its east, north or upper side (Fcell2).
constexpr bool cellIsFirst(int side) { return side == kEast || side == kNorth || side == kTop; }

// Shorter vertical edges than this are collapsed by the wedge rule.
constexpr double kZeroEdge = 1e-8;

enum class Builder { Plain, New };

int *faceOf(int side) {
  switch (side) {
    case kSouth: return Cflates;
    case kEast: return Cflatee;
    case kNorth: return Cflaten;
    case kWest: return Cflatew;
    case kBottom: return Cflateb;
    default: return Cflatet;
  }
}

int newPoint(int corner) {
  const int p = ++NoPoints;
  Px[p] = NewCell.x[corner];
  Py[p] = NewCell.y[corner];
  Pz[p] = NewCell.z[corner];
  return p;
}

// Corners taken from the shared faces, side by side; a later side overwrites.
void takeSharedCorners(int p[9]) {
  for (int side = kSouth; side <= kTop; ++side) {
    const int f = NewCell.face[side];
    if (f <= 0) continue;
    const int *corner = kFaceCorners[side];
    p[corner[0]] = Fpoint1[f];
    p[corner[1]] = Fpoint2[f];
    p[corner[2]] = Fpoint3[f];
    p[corner[3]] = Fpoint4[f];
  }
}

// Appends the face of `cell` on `side`, giving new points to its corners that
// have none yet, in the builder's visiting order.
int appendFace(int cell, int side, int p[9], const int visit[4]) {
  const int f = ++NoSurfaces;
  for (int m = 0; m < 4; ++m) {
    if (p[visit[m]] == 0) p[visit[m]] = newPoint(visit[m]);
  }
  Fcell1[f] = cellIsFirst(side) ? cell : 0;
  Fcell2[f] = cellIsFirst(side) ? 0 : cell;
  const int *corner = kFaceCorners[side];
  Fpoint1[f] = p[corner[0]];
  Fpoint2[f] = p[corner[1]];
  Fpoint3[f] = p[corner[2]];
  Fpoint4[f] = p[corner[3]];
  return f;
}

// The six faces south to top: a shared face takes the cell as its free
// entry (MakeCellNew puts it below a shared bottom face and above a shared
// top face whatever they hold), the others are appended.
void buildFaces(int cell, int p[9], Builder builder) {
  for (int side = kSouth; side <= kTop; ++side) {
    const int f = NewCell.face[side];
    if (f > 0) {
      faceOf(side)[cell] = f;
      if (builder == Builder::New && side == kBottom) {
        Fcell2[f] = cell;
      } else if (builder == Builder::New && side == kTop) {
        Fcell1[f] = cell;
      } else if (Fcell1[f] == 0) {
        Fcell1[f] = cell;
      } else {
        Fcell2[f] = cell;
      }
    } else {
      faceOf(side)[cell] = appendFace(cell, side, p, builder == Builder::New ? kFaceCorners[side] : kMakeCellVisit[side]);
    }
  }
}

void storeCell(int cell, const int p[9]) {
  Cpoint1[cell] = p[1];
  Cpoint2[cell] = p[2];
  Cpoint3[cell] = p[3];
  Cpoint4[cell] = p[4];
  Cpoint5[cell] = p[5];
  Cpoint6[cell] = p[6];
  Cpoint7[cell] = p[7];
  Cpoint8[cell] = p[8];
  Ccells[cell] = NewCell.cell[kSouth];
  Ccelle[cell] = NewCell.cell[kEast];
  Ccelln[cell] = NewCell.cell[kNorth];
  Ccellw[cell] = NewCell.cell[kWest];
  Ccellb[cell] = NewCell.cell[kBottom];
  Ccellt[cell] = NewCell.cell[kTop];
}

bool zeroEdge(int m) { return NewCell.z[m + 4] - NewCell.z[m] < kZeroEdge; }

// The first cell of column (i, j) at index k or above, 0 when there is none.
int firstCellFrom(int i, int j, int k) {
  for (int kk = k; kk <= znumber; ++kk) {
    if (num[i][j][kk] > 0) return num[i][j][kk];
  }
  return 0;
}

// UMethod 2 on fixed levels: a lower corner that lies at or above the lowest
// point of the neighbouring column on the shared edge becomes that point, and
// the corner above it the same point (a vertical edge of zero length).
void joinFixedLevelCorners(int i, int j, int k, int p[9]) {
  if (k > znumber) return;
  if (NewCell.face[kSouth] <= 0 && j >= 1) {
    if (const int s = firstCellFrom(i, j - 1, k)) {
      if (p[1] == 0 && Pz[Cpoint4[s]] - NewCell.z[1] < kZeroEdge) p[1] = p[5] = Cpoint4[s];
      if (p[2] == 0 && Pz[Cpoint3[s]] - NewCell.z[2] < kZeroEdge) p[2] = p[6] = Cpoint3[s];
    }
  }
  if (NewCell.face[kWest] <= 0 && i >= 1) {
    if (const int w = firstCellFrom(i - 1, j, k)) {
      if (p[1] == 0 && Pz[Cpoint2[w]] - NewCell.z[1] < kZeroEdge) p[1] = p[5] = Cpoint2[w];
      if (p[4] == 0 && Pz[Cpoint3[w]] - NewCell.z[4] < kZeroEdge) p[4] = p[8] = Cpoint3[w];
    }
  }
}

}  // namespace

int MakeCell(int cell) {
  int p[9] = {};
  takeSharedCorners(p);
  if (FlagUnstrucWedge > 0) {
    for (int m = 1; m <= 4; ++m) {
      if (zeroEdge(m)) p[m + 4] = p[m];
    }
  }
  buildFaces(cell, p, Builder::Plain);
  storeCell(cell, p);
  return 0;
}

// Columns of unequal depth: where a side face cannot be shared, the upper
// corners still can be, from the next cell up in the west or south column.
int MakeCellNew(int cell, int i, int j, int k) {
  int p[9] = {};
  takeSharedCorners(p);
  if (FlagUnstrucWedge > 0) {
    for (int m = 1; m <= 4; ++m) {
      if (zeroEdge(m) && p[m] > 0) p[m + 4] = p[m];
    }
  }
  if (k <= znumber) {
    if (NewCell.face[kWest] <= 0 && i >= 1 && p[5] == 0 && p[8] == 0) {
      if (const int w = num[i - 1][j][k + 1]) {
        p[5] = Cpoint2[w];
        p[8] = Cpoint3[w];
      }
    }
    if (NewCell.face[kSouth] <= 0 && j >= 1 && p[5] == 0 && p[6] == 0) {
      if (const int s = num[i][j - 1][k + 1]) {
        p[5] = Cpoint4[s];
        p[6] = Cpoint3[s];
      }
    }
  }
  if (UMethod == 2) {
    joinFixedLevelCorners(i, j, k, p);
    // A cell without a cell below gets its bottom face first, so that the
    // collapsed edges below can take its points.
    if (k >= 1 && num[i][j][k - 1] == 0) {
      NewCell.face[kBottom] = appendFace(cell, kBottom, p, kFaceCorners[kBottom]);
      for (int m = 1; m <= 4; ++m) {
        if (zeroEdge(m)) p[m + 4] = p[m];
      }
    }
  }
  buildFaces(cell, p, Builder::New);
  storeCell(cell, p);
  return 0;
}
