// The two cell builders: the fixed numbering of a lone cell, sharing of faces
// and points inside a box of cells, orientation of shared faces, collapsed
// vertical edges and the corners taken across columns of unequal depth.
#include <gtest/gtest.h>

#include <array>
#include <set>

#include "grid/generation/grid_build.h"
#include "grid/grid_fixture.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/grid_index.h"
#include "model/points.h"
#include "model/settings.h"

namespace {

enum class Builder { Plain, New };

// Describes a cell over the plan square x0..x0+1, y0..y0+1 with its lower
// corners 1-4 at zLow and upper corners 5-8 at zHigh; nothing shared.
void describe(double x0, double y0, std::array<double, 4> zLow, std::array<double, 4> zHigh) {
  NewCell = NewCellRecord{};
  const double xs[4] = {x0, x0 + 1, x0 + 1, x0}, ys[4] = {y0, y0, y0 + 1, y0 + 1};
  for (int m = 0; m < 4; ++m) {
    NewCell.x[m + 1] = NewCell.x[m + 5] = xs[m];
    NewCell.y[m + 1] = NewCell.y[m + 5] = ys[m];
    NewCell.z[m + 1] = zLow[m];
    NewCell.z[m + 5] = zHigh[m];
  }
}

void describeCube(double x0, double y0, double z0) {
  describe(x0, y0, {z0, z0, z0, z0}, {z0 + 1, z0 + 1, z0 + 1, z0 + 1});
}

void build(Builder b, int cell, int i, int j, int k) {
  if (b == Builder::Plain) {
    MakeCell(cell);
  } else {
    MakeCellNew(cell, i, j, k);
  }
}

std::array<int, 9> corners(int c) {
  return {0, Cpoint1[c], Cpoint2[c], Cpoint3[c], Cpoint4[c], Cpoint5[c], Cpoint6[c], Cpoint7[c], Cpoint8[c]};
}

std::array<int, 4> facePoints(int f) { return {Fpoint1[f], Fpoint2[f], Fpoint3[f], Fpoint4[f]}; }

using CellBuilders = GridFixture;

// A cell that shares nothing: faces south, east, north, west, bottom, top
// numbered 1-6, oriented from the west, south or lower side, and points in
// the corner order each builder visits.
TEST_F(CellBuilders, LoneCellNumbering) {
  allocate(6, 6, 4);
  struct Expected {
    Builder builder;
    std::array<int, 9> pointOfCorner;
  };
  for (const Expected &e : {Expected{Builder::Plain, {0, 1, 2, 5, 7, 3, 4, 6, 8}},
                            Expected{Builder::New, {0, 1, 4, 5, 7, 2, 3, 6, 8}}}) {
    NoPoints = NoSurfaces = 0;
    describe(10, 20, {0, 0.5, 1, 1.5}, {3, 3.5, 4, 4.5});
    for (int s = 1; s <= 6; ++s) NewCell.cell[s] = 10 + s;
    build(e.builder, 1, 3, 3, 2);
    EXPECT_EQ(NoPoints, 8);
    EXPECT_EQ(NoSurfaces, 6);
    const auto p = corners(1);
    EXPECT_EQ(p, e.pointOfCorner);
    for (int m = 1; m <= 8; ++m) {
      EXPECT_EQ(Px[p[m]], NewCell.x[m]);
      EXPECT_EQ(Py[p[m]], NewCell.y[m]);
      EXPECT_EQ(Pz[p[m]], NewCell.z[m]);
    }
    EXPECT_EQ((std::array<int, 6>{Cflates[1], Cflatee[1], Cflaten[1], Cflatew[1], Cflateb[1], Cflatet[1]}),
              (std::array<int, 6>{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ((std::array<int, 6>{Fcell1[1], Fcell1[2], Fcell1[3], Fcell1[4], Fcell1[5], Fcell1[6]}),
              (std::array<int, 6>{0, 1, 1, 0, 0, 1}));
    EXPECT_EQ((std::array<int, 6>{Fcell2[1], Fcell2[2], Fcell2[3], Fcell2[4], Fcell2[5], Fcell2[6]}),
              (std::array<int, 6>{1, 0, 0, 1, 1, 0}));
    EXPECT_EQ(facePoints(1), (std::array<int, 4>{p[1], p[5], p[6], p[2]}));
    EXPECT_EQ(facePoints(2), (std::array<int, 4>{p[2], p[3], p[7], p[6]}));
    EXPECT_EQ(facePoints(3), (std::array<int, 4>{p[4], p[8], p[7], p[3]}));
    EXPECT_EQ(facePoints(4), (std::array<int, 4>{p[1], p[4], p[8], p[5]}));
    EXPECT_EQ(facePoints(5), (std::array<int, 4>{p[1], p[2], p[3], p[4]}));
    EXPECT_EQ(facePoints(6), (std::array<int, 4>{p[5], p[6], p[7], p[8]}));
    EXPECT_EQ((std::array<int, 6>{Ccells[1], Ccelle[1], Ccelln[1], Ccellw[1], Ccellb[1], Ccellt[1]}),
              (std::array<int, 6>{11, 12, 13, 14, 15, 16}));
  }
}

// Builds nx·ny·nz unit cubes as the grid generator does: columns numbered in
// advance (j outer, i inner, bottom up), then built in that order sharing the
// east face of the west cell, the north face of the south cell and the top
// face of the cell below. Column (i, j) is structured column (i+2, j+2).
void buildBox(Builder b, int nx, int ny, int nz) {
  auto number = [&](int i, int j, int k) {
    return i < 0 || j < 0 || k < 0 || i >= nx || j >= ny || k >= nz ? 0 : (j * nx + i) * nz + k + 1;
  };
  for (int j = 0; j < ny; ++j)
    for (int i = 0; i < nx; ++i)
      for (int k = 0; k < nz; ++k) num[i + 2][j + 2][k + 1] = number(i, j, k);
  for (int j = 0; j < ny; ++j) {
    for (int i = 0; i < nx; ++i) {
      for (int k = 0; k < nz; ++k) {
        const int c = number(i, j, k);
        describeCube(i, j, k);
        NewCell.cell[1] = number(i, j - 1, k);
        NewCell.cell[2] = number(i + 1, j, k);
        NewCell.cell[3] = number(i, j + 1, k);
        NewCell.cell[4] = number(i - 1, j, k);
        NewCell.cell[5] = number(i, j, k - 1);
        NewCell.cell[6] = number(i, j, k + 1);
        if (i > 0) NewCell.face[4] = Cflatee[number(i - 1, j, k)];
        if (j > 0) NewCell.face[1] = Cflaten[number(i, j - 1, k)];
        if (k > 0) NewCell.face[5] = Cflatet[number(i, j, k - 1)];
        build(b, c, i + 2, j + 2, k + 1);
      }
    }
  }
}

class CellBox : public GridFixture, public ::testing::WithParamInterface<Builder> {};

// Neighbours own one face record, oriented from Fcell1 on the west, south or
// lower side to Fcell2; common corners are one point. The last cell shares
// its south, west and bottom faces and adds three faces and one point (corner 7).
TEST_P(CellBox, TwoByTwoByTwoSharesFacesAndPoints) {
  allocate(6, 6, 4);
  buildBox(GetParam(), 2, 2, 2);
  EXPECT_EQ(NoSurfaces, 36);
  EXPECT_EQ(NoPoints, 27);
  for (int c = 1; c <= 8; ++c) {
    const int sides[6][3] = {{Cflates[c], Ccells[c], 0}, {Cflatee[c], Ccelle[c], 1}, {Cflaten[c], Ccelln[c], 1},
                             {Cflatew[c], Ccellw[c], 0}, {Cflateb[c], Ccellb[c], 0}, {Cflatet[c], Ccellt[c], 1}};
    for (const auto &s : sides) {
      const int f = s[0], other = s[1];
      EXPECT_EQ(s[2] ? Fcell1[f] : Fcell2[f], c) << "cell " << c << " face " << f;
      EXPECT_EQ(s[2] ? Fcell2[f] : Fcell1[f], other) << "cell " << c << " face " << f;
    }
    const auto p = corners(c);
    EXPECT_EQ(std::set<int>(p.begin() + 1, p.end()).size(), 8u) << c;
  }
  // The last cell, (1, 1, 1): its corners 1..8 are the points at the unit cube (1..2, 1..2, 1..2).
  const auto p = corners(8);
  EXPECT_EQ(p[7], 27);
  for (int m : {1, 2, 3, 4, 5, 6, 8}) EXPECT_LT(p[m], 27) << m;
  EXPECT_EQ(Cflatet[8], 36);
  EXPECT_EQ(Cflaten[8], 35);
  EXPECT_EQ(Cflatee[8], 34);
  // The cell below it shares all four of its top points.
  const auto below = corners(7);
  EXPECT_EQ((std::array<int, 4>{p[1], p[2], p[3], p[4]}), (std::array<int, 4>{below[5], below[6], below[7], below[8]}));
}

INSTANTIATE_TEST_SUITE_P(Builders, CellBox, ::testing::Values(Builder::Plain, Builder::New),
                         [](const auto &info) { return info.param == Builder::Plain ? "MakeCell" : "MakeCellNew"; });

TEST_F(CellBuilders, TwoCellsAcrossSouthNorthOwnOneFace) {
  allocate(6, 6, 4);
  describeCube(0, 0, 0);
  NewCell.cell[3] = 2;
  MakeCell(1);
  const int f = Cflaten[1];
  EXPECT_EQ(Fcell1[f], 1);
  EXPECT_EQ(Fcell2[f], 0);
  describeCube(0, 1, 0);
  NewCell.cell[1] = 1;
  NewCell.face[1] = f;
  MakeCell(2);
  EXPECT_EQ(Cflates[2], f);
  EXPECT_EQ(Fcell1[f], 1);
  EXPECT_EQ(Fcell2[f], 2);
  EXPECT_EQ(NoSurfaces, 11);
  EXPECT_EQ(NoPoints, 12);
}

// A face given to share: which entry the new cell takes, by builder and side.
struct SharedCase {
  const char *name;
  Builder builder;
  int side, fcell1, fcell2;
  int expected1, expected2;
  friend void PrintTo(const SharedCase &c, std::ostream *os) { *os << c.name; }
};

class SharedFace : public GridFixture, public ::testing::WithParamInterface<SharedCase> {};

TEST_P(SharedFace, NewCellTakesTheFreeEntry) {
  const SharedCase &c = GetParam();
  allocate(6, 6, 4);
  NoPoints = 4;
  NoSurfaces = 1;
  Fcell1[1] = c.fcell1;
  Fcell2[1] = c.fcell2;
  Fpoint1[1] = 1, Fpoint2[1] = 2, Fpoint3[1] = 3, Fpoint4[1] = 4;
  describeCube(0, 0, 0);
  NewCell.face[c.side] = 1;
  build(c.builder, 5, 3, 3, 2);
  EXPECT_EQ(Fcell1[1], c.expected1);
  EXPECT_EQ(Fcell2[1], c.expected2);
  EXPECT_EQ(NoSurfaces, 6);
  EXPECT_EQ(NoPoints, 8);
}

INSTANTIATE_TEST_SUITE_P(
    Entries, SharedFace,
    ::testing::Values(SharedCase{"PlainNorthMadeAsSouthFace", Builder::Plain, 3, 0, 7, 5, 7},
                      SharedCase{"PlainNorthMadeAsNorthFace", Builder::Plain, 3, 7, 0, 7, 5},
                      SharedCase{"NewWestMadeAsWestFace", Builder::New, 4, 0, 7, 5, 7},
                      SharedCase{"PlainBottomWithFirstEntryFree", Builder::Plain, 5, 0, 7, 5, 7},
                      SharedCase{"NewBottomAlwaysSecond", Builder::New, 5, 0, 7, 0, 5},
                      SharedCase{"PlainTopWithFirstEntryTaken", Builder::Plain, 6, 3, 7, 3, 5},
                      SharedCase{"NewTopAlwaysFirst", Builder::New, 6, 3, 7, 5, 7}));

// The corners of a shared face become the cell's corners on that side.
TEST_F(CellBuilders, SharedNorthFaceGivesItsCorners) {
  allocate(6, 6, 4);
  NoPoints = 4;
  NoSurfaces = 1;
  Fpoint1[1] = 1, Fpoint2[1] = 2, Fpoint3[1] = 3, Fpoint4[1] = 4;
  describeCube(0, 0, 0);
  NewCell.face[3] = 1;
  MakeCell(2);
  const auto p = corners(2);
  EXPECT_EQ((std::array<int, 4>{p[4], p[8], p[7], p[3]}), (std::array<int, 4>{1, 2, 3, 4}));
}

// F 299: a cell above another with a vertical edge of zero height at corner 1
// takes the lower point for its upper corner: seven distinct points.
struct WedgeCase {
  Builder builder;
  int wedge, newPoints, distinct;
};

class WedgeEdge : public GridFixture, public ::testing::WithParamInterface<WedgeCase> {};

TEST_P(WedgeEdge, ZeroHeightEdgeSharesItsPoint) {
  const WedgeCase &c = GetParam();
  allocate(6, 6, 4);
  FlagUnstrucWedge = c.wedge;
  describeCube(0, 0, 0);
  build(c.builder, 1, 3, 3, 1);
  describe(0, 0, {1, 1, 1, 1}, {1, 2, 2, 2});
  NewCell.face[5] = Cflatet[1];
  const int before = NoPoints;
  build(c.builder, 2, 3, 3, 2);
  EXPECT_EQ(NoPoints - before, c.newPoints);
  const auto p = corners(2);
  EXPECT_EQ(std::set<int>(p.begin() + 1, p.end()).size(), static_cast<std::size_t>(c.distinct));
  if (c.wedge) {
    EXPECT_EQ(p[5], p[1]);
  }
}

INSTANTIATE_TEST_SUITE_P(Wedge, WedgeEdge,
                         ::testing::Values(WedgeCase{Builder::Plain, 1, 3, 7}, WedgeCase{Builder::New, 1, 3, 7},
                                           WedgeCase{Builder::Plain, 0, 4, 8}, WedgeCase{Builder::New, 0, 4, 8}));

// MakeCellNew: where the west (or south) column is shallower, the cell below
// its lowest one takes that cell's lower corners on the common edge as its
// upper corners. Columns: the neighbour has one cell at index 3, the column
// (3, 3) cells at 2 and 3.
TEST_F(CellBuilders, UpperCornersFromTheShallowerColumn) {
  allocate(6, 6, 4);
  for (bool west : {true, false}) {
    SCOPED_TRACE(west ? "west" : "south");
    const int ni = west ? 2 : 3, nj = west ? 3 : 2;
    const double nx = west ? -1 : 0, ny = west ? 0 : -1;
    num[ni][nj][3] = 1;
    num[3][3][2] = 2;
    num[3][3][3] = 3;
    describeCube(nx, ny, 2);
    MakeCellNew(1, ni, nj, 3);
    describeCube(0, 0, 1);
    NewCell.cell[6] = 3;
    MakeCellNew(2, 3, 3, 2);
    describeCube(0, 0, 2);
    NewCell.cell[5] = 2;
    NewCell.cell[west ? 4 : 1] = 1;
    NewCell.face[west ? 4 : 1] = west ? Cflatee[1] : Cflaten[1];
    NewCell.face[5] = Cflatet[2];
    MakeCellNew(3, 3, 3, 3);
    const auto n = corners(1), p = corners(2);
    if (west) {
      EXPECT_EQ(p[5], n[2]);
      EXPECT_EQ(p[8], n[3]);
    } else {
      EXPECT_EQ(p[5], n[4]);
      EXPECT_EQ(p[6], n[3]);
    }
    EXPECT_EQ(NoPoints, 16);  // 8 + 6 + 2: no point twice at one place
    std::set<std::array<double, 3>> places;
    for (int q = 1; q <= NoPoints; ++q) places.insert({Px[q], Py[q], Pz[q]});
    EXPECT_EQ(places.size(), 16u);
    NoPoints = NoSurfaces = 0;
    for (int k = 0; k <= 5; ++k) num[ni][nj][k] = num[3][3][k] = 0;
  }
}

// UMethod 2, fixed levels: the south column starts one level higher; the
// cell's south lower corners lie at the level of that column's lowest points,
// so they become those points, with zero-height edges above them, and the
// bottom face is made before the south face. UMethod 32 has no such search.
TEST_F(CellBuilders, FixedLevelSearchOfMethodTwo) {
  allocate(6, 6, 4);
  for (int method : {2, 32}) {
    SCOPED_TRACE(method);
    UMethod = method;
    num[3][2][3] = 1;
    num[3][3][2] = 2;
    describeCube(0, -1, 2);
    MakeCellNew(1, 3, 2, 3);
    describe(0, 0, {2, 2, 1, 1}, {2, 2, 2, 2});
    MakeCellNew(2, 3, 3, 2);
    const auto s = corners(1), p = corners(2);
    EXPECT_EQ(p[5], s[4]);
    EXPECT_EQ(p[6], s[3]);
    if (method == 2) {
      EXPECT_EQ(p[1], s[4]);
      EXPECT_EQ(p[2], s[3]);
      EXPECT_EQ(NoPoints, 12);
      EXPECT_EQ(Cflateb[2], 7);
      EXPECT_EQ(Cflates[2], 8);
    } else {
      EXPECT_NE(p[1], s[4]);
      EXPECT_EQ(NoPoints, 14);
      EXPECT_EQ(Cflates[2], 7);
      EXPECT_EQ(Cflateb[2], 11);
    }
    EXPECT_EQ(Fcell1[Cflateb[2]], 0);
    EXPECT_EQ(Fcell2[Cflateb[2]], 2);
    EXPECT_EQ(NoSurfaces, 12);
    NoPoints = NoSurfaces = 0;
    num[3][2][3] = num[3][3][2] = 0;
  }
}

}  // namespace
