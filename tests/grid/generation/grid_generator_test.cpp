// The grid generator in process: counts and spot numbers of the channel and
// step cases worked by hand, mutual links of every cell and face, corner
// levels of dry and shallow grid lines, the G 13, F 159 and F 165 variants,
// the depth scale kept through a run, and the block ranges.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "grid/grid_fixture.h"
#include "grid/grid_services.h"
#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/control_tables.h"
#include "model/faces.h"
#include "model/grid_index.h"
#include "model/points.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"
#include "model/work_ranges.h"

namespace {

using GridGenerator = GridFixture;

struct SideTables {
  const char *name;
  int **cell, **face;
  int opposite;       // index of the opposite side in kSides
  bool cellIsFirst;   // the cell is Fcell1 of its face on this side
};

const std::array<SideTables, 6> kSides = {{{"south", &Ccells, &Cflates, 2, false},
                                           {"east", &Ccelle, &Cflatee, 3, true},
                                           {"north", &Ccelln, &Cflaten, 0, true},
                                           {"west", &Ccellw, &Cflatew, 1, false},
                                           {"bottom", &Ccellb, &Cflateb, 5, false},
                                           {"top", &Ccellt, &Cflatet, 4, true}}};

// Every neighbour link is mutual, two linked cells hold the same face record,
// each face is oriented from its west, south or lower cell, and every face of
// the grid belongs to the cells it names.
void expectConsistentGrid() {
  std::vector<int> uses(NoSurfaces + 1, 0);
  for (int c = 1; c <= NoCells; ++c) {
    for (const SideTables &s : kSides) {
      const int d = (*s.cell)[c], f = (*s.face)[c];
      ASSERT_GE(f, 1) << "cell " << c << " " << s.name;
      ASSERT_LE(f, NoSurfaces) << "cell " << c << " " << s.name;
      ++uses[f];
      EXPECT_EQ(s.cellIsFirst ? Fcell1[f] : Fcell2[f], c) << "cell " << c << " " << s.name;
      EXPECT_EQ(s.cellIsFirst ? Fcell2[f] : Fcell1[f], d) << "cell " << c << " " << s.name;
      if (d == 0) continue;
      const SideTables &o = kSides[s.opposite];
      EXPECT_EQ((*o.cell)[d], c) << "cell " << c << " " << s.name;
      EXPECT_EQ((*o.face)[d], f) << "cell " << c << " " << s.name;
    }
  }
  for (int f = 1; f <= NoSurfaces; ++f) {
    EXPECT_EQ(uses[f], (Fcell1[f] != 0) + (Fcell2[f] != 0)) << "face " << f;
  }
}

std::array<int, 6> facesOf(int c) {
  return {Cflates[c], Cflatee[c], Cflaten[c], Cflatew[c], Cflateb[c], Cflatet[c]};
}

std::array<int, 8> pointsOf(int c) {
  return {Cpoint1[c], Cpoint2[c], Cpoint3[c], Cpoint4[c], Cpoint5[c], Cpoint6[c], Cpoint7[c], Cpoint8[c]};
}

int pointsAt(double x, double y) {
  int n = 0;
  for (int p = 1; p <= NoPoints; ++p) n += std::fabs(Px[p] - x) < 1e-12 && std::fabs(Py[p] - y) < 1e-12;
  return n;
}

// 40 columns of 9 cells; faces 11·4·9 + 10·5·9 + 10·4·10 and points 11·5·10,
// each shared record made once.
TEST_F(GridGenerator, ChannelCountsAndNumbers) {
  readChannel();
  ASSERT_EQ(Unstructure(), 1);
  EXPECT_EQ(NoCells, 360);
  EXPECT_EQ(NoSurfaces, 1246);
  EXPECT_EQ(NoPoints, 550);
  expectConsistentGrid();

  EXPECT_EQ(facesOf(1), (std::array<int, 6>{1, 2, 3, 4, 5, 6}));
  EXPECT_EQ(pointsOf(1), (std::array<int, 8>{1, 2, 5, 7, 3, 4, 6, 8}));
  EXPECT_EQ(facesOf(10), (std::array<int, 6>{47, 48, 49, 2, 50, 51}));
  EXPECT_EQ(pointsOf(10), (std::array<int, 8>{2, 41, 43, 5, 4, 42, 44, 6}));
  EXPECT_EQ(facesOf(91), (std::array<int, 6>{3, 380, 381, 382, 383, 384}));
  EXPECT_EQ(facesOf(360), (std::array<int, 6>{956, 1244, 1245, 1216, 1243, 1246}));
  EXPECT_EQ(pointsOf(360), (std::array<int, 8>{429, 439, 549, 539, 430, 440, 550, 540}));

  for (int i = 2; i <= 11; ++i) {
    for (int j = 2; j <= 5; ++j) {
      SCOPED_TRACE("column " + std::to_string(i) + "," + std::to_string(j));
      const int bottom = 9 * (10 * (j - 2) + (i - 2)) + 1, bed = 4 * (i - 2) + (j - 2) + 1;
      EXPECT_EQ(zval[i][j][0], bottom);
      EXPECT_EQ(pointbed[i][j], bed);
      EXPECT_EQ(Bkooi[bed], i);
      EXPECT_EQ(Bkooj[bed], j);
      for (int n = 1; n <= 9; ++n) {
        const int c = bottom + n - 1;
        EXPECT_EQ(num[i][j][n + 2], c);
        EXPECT_EQ(Cbed[c], bed);
        EXPECT_NEAR(Pz[Cpoint1[c]], (n - 1) / 9.0, 1e-9);
        EXPECT_NEAR(Pz[Cpoint7[c]], n / 9.0, 1e-9);
      }
    }
  }
  EXPECT_EQ(Cbed[0], 0);
  const GridBlock &b = block[1];
  EXPECT_EQ((std::array<int, 6>{b.FirstCell, b.LastCell, b.FirstFace, b.LastFace, b.FirstPoint, b.LastPoint}),
            (std::array<int, 6>{1, 360, 1, 1246, 1, 550}));
  EXPECT_EQ(b.WorkFlag, 1);
  EXPECT_EQ((std::array<int, 4>{WCStart, WCEnd, WFStart, WFEnd}), (std::array<int, 4>{1, 360, 1, 1246}));
  EXPECT_EQ(NoCells0, 360);
  EXPECT_EQ(NoSurfaces0, 1246);
  EXPECT_EQ(NoBlocks0, 1);
  EXPECT_EQ(FlagGridHasChanged, 1);
  EXPECT_EQ(FlagNeedsToBeInterpolated, 1);
  EXPECT_EQ(FlagHaveDoneMetric, 0);
  for (int c = 1; c <= NoCells; ++c) ASSERT_EQ(Conecell[c], 0) << c;
}

// Columns of 3 and 5 cells side by side: the bottom cells are linked, cells 2
// and 3 of the taller column face the shorter one's bottom cell and have no
// west neighbour, cells 4 and 5 face cells 2 and 3.
TEST_F(GridGenerator, StepColumnsOfThreeAndFive) {
  readStep();
  ASSERT_EQ(Unstructure(), 1);
  EXPECT_EQ(NoCells, 8);
  EXPECT_EQ(NoSurfaces, 39);
  EXPECT_EQ(NoPoints, 32);
  expectConsistentGrid();
  EXPECT_EQ(ant[2][2], 3);
  EXPECT_EQ(ant[3][2], 5);
  EXPECT_EQ((std::array<int, 5>{Ccellw[4], Ccellw[5], Ccellw[6], Ccellw[7], Ccellw[8]}),
            (std::array<int, 5>{1, 0, 0, 2, 3}));
  EXPECT_EQ((std::array<int, 3>{Ccelle[1], Ccelle[2], Ccelle[3]}), (std::array<int, 3>{4, 7, 8}));
  EXPECT_EQ(Cflatew[4], 2);
  EXPECT_EQ(Cflatee[1], 2);

  // The west corners (line 2: 4 lines over 0.6 m) and the east corners (line
  // 3: 6 lines over 2 m) of the taller column, bottom and top of each cell.
  const double west[5][2] = {{0.0, 0.2}, {0.2, 0.2}, {0.2, 0.2}, {0.2, 0.4}, {0.4, 0.6}};
  const double east[5][2] = {{-1.4, -1.0}, {-1.0, -0.6}, {-0.6, -0.2}, {-0.2, 0.2}, {0.2, 0.6}};
  for (int n = 1; n <= 5; ++n) {
    const int c = 3 + n;
    SCOPED_TRACE("cell " + std::to_string(c));
    EXPECT_NEAR(Pz[Cpoint1[c]], west[n - 1][0], 1e-9);
    EXPECT_NEAR(Pz[Cpoint5[c]], west[n - 1][1], 1e-9);
    EXPECT_NEAR(Pz[Cpoint4[c]], west[n - 1][0], 1e-9);
    EXPECT_NEAR(Pz[Cpoint2[c]], east[n - 1][0], 1e-9);
    EXPECT_NEAR(Pz[Cpoint6[c]], east[n - 1][1], 1e-9);
    EXPECT_NEAR(Pz[Cpoint7[c]], east[n - 1][1], 1e-9);
  }
  // The collapsed cells 5 and 6 share no face with the shorter column, so
  // their west corners are points of their own.
  for (int c : {5, 6}) {
    EXPECT_NE(Cpoint5[c], Cpoint5[1]);
    EXPECT_NE(Cpoint8[c], Cpoint8[1]);
  }
}

// One column over a dry corner (line 1), a shallow corner (2 lines) and two
// deep ones (6 lines, 5 cells). The shallow corner's upper levels lie 5e-12
// below the surface: 1 - 1/(1 + 1e-10) is not snapped to 0. F 159 fifth value 2 keeps MinDepthGrid below
// the surface at every corner, 8 lifts the surface to that depth.
struct CornerCase {
  const char *name;
  int stab5;
  double dryBottom;                  // corner 1, bottom of the bottom cell
  double dryTop;                     // corner 1, every other level
  double shallowBottom, shallowTop;  // corner 2, bottom and top of the bottom cell
  double shallowAbove;               // corner 2, every level of the cells above
};

void PrintTo(const CornerCase &c, std::ostream *os) { *os << c.name; }

class ColumnCorners : public GridFixture, public ::testing::WithParamInterface<CornerCase> {};

TEST_P(ColumnCorners, LevelsOfDryAndShallowLines) {
  const CornerCase &c = GetParam();
  allocate(4, 4, 7);
  flatGrid(1, 2, 1, 2, 1.0);
  zval[1][1][1] = 0.598;
  zval[1][1][7] = 0.6;
  zval[2][1][1] = 0.55;
  zval[2][1][7] = 0.6;
  addBlock(2, 2, 2, 2);
  FlagGridStab5 = c.stab5;
  MinDepthGrid = 0.2;
  ASSERT_EQ(Unstructure(), 1);
  EXPECT_EQ(antlin[1][1], 1);
  EXPECT_EQ(antlin[2][1], 2);
  ASSERT_EQ(NoCells, 5);
  EXPECT_NEAR(Pz[Cpoint1[1]], c.dryBottom, 1e-9);
  EXPECT_NEAR(Pz[Cpoint2[1]], c.shallowBottom, 1e-9);
  EXPECT_NEAR(Pz[Cpoint6[1]], c.shallowTop, 1e-9);
  for (int cell = 1; cell <= 5; ++cell) {
    SCOPED_TRACE("cell " + std::to_string(cell));
    if (cell > 1) {
      EXPECT_NEAR(Pz[Cpoint1[cell]], c.dryTop, 1e-9);
      EXPECT_NEAR(Pz[Cpoint2[cell]], c.shallowAbove, 1e-9);
      EXPECT_NEAR(Pz[Cpoint6[cell]], c.shallowAbove, 1e-9);
    }
    EXPECT_NEAR(Pz[Cpoint5[cell]], c.dryTop, 1e-9);
    EXPECT_NEAR(Pz[Cpoint3[cell]], (cell - 1) / 5.0, 1e-9);
  }
  expectConsistentGrid();
}

INSTANTIATE_TEST_SUITE_P(Variants, ColumnCorners,
                         ::testing::Values(CornerCase{"Plain", 0, 0.598, 0.6, 0.55, 0.6, 0.6},
                                           CornerCase{"KeepDepth2", 2, 0.4, 0.6, 0.4, 0.6, 0.6},
                                           CornerCase{"LiftSurface8", 8, 0.598, 0.798, 0.55, 0.75, 0.75}),
                         [](const ::testing::TestParamInfo<CornerCase> &info) { return std::string(info.param.name); });

// F 159 second value: the side between columns (2,2) and (3,2) is cut when
// both its grid points are shallower than the value's limit (MinVertDist0 =
// 0.005 for 9, 0 for 10, MinVertDist1 = 0.1 for 13).
struct CutCase {
  int stab2;
  double sideDepth;
  bool linked;
};

void PrintTo(const CutCase &c, std::ostream *os) { *os << c.stab2 << " at depth " << c.sideDepth; }

class SideCuts : public GridFixture, public ::testing::WithParamInterface<CutCase> {};

TEST_P(SideCuts, LinkAcrossShallowSide) {
  const CutCase &c = GetParam();
  allocate(6, 4, 5);
  flatGrid(1, 3, 1, 2, 1.0);
  for (int j = 1; j <= 2; ++j) zval[2][j][1] = 1.0 - c.sideDepth;
  addBlock(2, 3, 2, 2);
  FlagGridStab2 = c.stab2;
  ASSERT_EQ(Unstructure(), 1);
  ASSERT_GT(ant[2][2], 0);
  ASSERT_GT(ant[3][2], 0);
  const int west = static_cast<int>(zval[2][2][0]), east = static_cast<int>(zval[3][2][0]);
  EXPECT_EQ(Ccelle[west] != 0, c.linked) << c.stab2 << " " << c.sideDepth;
  EXPECT_EQ(Ccellw[east] != 0, c.linked) << c.stab2 << " " << c.sideDepth;
  expectConsistentGrid();
}

INSTANTIATE_TEST_SUITE_P(Limits, SideCuts,
                         ::testing::Values(CutCase{0, -0.1, true}, CutCase{10, -0.1, false}, CutCase{10, 0.001, true},
                                           CutCase{9, 0.001, false}, CutCase{9, 0.05, true},
                                           CutCase{13, 0.05, false}, CutCase{13, 0.2, true}));

// A G 13 rectangle takes four columns out of the channel: grid line (4,3) is
// left without points, and line (5,4) gets a second point per level because
// columns (6,4) and (5,5) meet only there.
TEST_F(GridGenerator, OutBlockRectangle) {
  readChannel();
  OutBlock[1] = OutBlockEntry{0, 4, 5, 3, 4, 2, 11};
  OutBlockNo = 1;
  ASSERT_EQ(Unstructure(), 1);
  EXPECT_EQ(NoCells, 324);
  EXPECT_EQ(NoSurfaces, 1170);
  EXPECT_EQ(NoPoints, 550);
  EXPECT_EQ(pointsAt(3.0, 2.0), 0);
  EXPECT_EQ(pointsAt(4.0, 3.0), 20);
  EXPECT_EQ(pointsAt(5.0, 3.0), 10);
  for (int i : {4, 5}) {
    for (int j : {3, 4}) EXPECT_EQ(zval[i][j][0], 0.0) << i << " " << j;
  }
  EXPECT_EQ(pointbed[4][3], 10);
  expectConsistentGrid();
}

// F 165 numbers the rows from the last j, but builds them from the first.
TEST_F(GridGenerator, NumberingFromTheLastRow) {
  readChannel();
  FlagUnstrucDir = 1;
  ASSERT_EQ(Unstructure(), 1);
  EXPECT_EQ(NoSurfaces, 1246);
  EXPECT_EQ(NoPoints, 550);
  EXPECT_EQ(zval[2][5][0], 1.0);
  EXPECT_EQ(zval[2][2][0], 271.0);
  for (int n = 1; n <= 9; ++n) {
    EXPECT_EQ(num[2][5][n + 2], n);
    EXPECT_EQ(num[2][2][n + 2], 270 + n);
  }
  EXPECT_EQ(Cflates[271], 1);
  EXPECT_EQ(Cbed[271], 1);
  expectConsistentGrid();
}

// The depth scale keeps the largest depth of the run: a falling water level
// keeps the earlier resolution, unless F 209 fixes the scale.
TEST_F(GridGenerator, DepthScaleNeverShrinks) {
  readChannel();
  ASSERT_EQ(Unstructure(), 1);
  EXPECT_EQ(MaxDepth, 1.0);
  for (int i = 1; i <= 11; ++i) {
    for (int j = 1; j <= 5; ++j) zval[i][j][11] = 0.5;
  }
  ASSERT_EQ(Unstructure(), 1);
  EXPECT_EQ(MaxDepth, 1.0);
  EXPECT_EQ(ant[3][3], 6);  // (0.5)^0.6·9 = 5.94: 7 lines
  EXPECT_EQ(NoCells, 240);
  EXPECT_EQ(pointcell_old[3][2], 10);
  EXPECT_EQ(pointcell_old[3][3], 100);

  MaxDepth209 = 0.5;
  ASSERT_EQ(Unstructure(), 1);
  EXPECT_EQ(MaxDepth, 0.5);
  EXPECT_EQ(NoCells, 360);
  EXPECT_EQ(pointcell_old[3][3], 67);
}

// Two blocks: each keeps its own ranges, the bed cells run on over them, and
// the generator's own columns never link across a block edge.
TEST_F(GridGenerator, TwoBlocksKeepTheirRanges) {
  allocate(9, 5, 5);
  flatGrid(1, 7, 1, 3, 1.0);
  addBlock(2, 3, 2, 3);
  addBlock(6, 7, 2, 2);
  ASSERT_EQ(Unstructure(), 1);
  ASSERT_EQ(NoCells, 18);
  const GridBlock &a = block[1], &b = block[2];
  EXPECT_EQ((std::array<int, 4>{a.FirstCell, a.LastCell, b.FirstCell, b.LastCell}),
            (std::array<int, 4>{1, 12, 13, 18}));
  EXPECT_EQ(b.FirstFace, a.LastFace + 1);
  EXPECT_EQ(b.FirstPoint, a.LastPoint + 1);
  EXPECT_EQ(b.LastFace, NoSurfaces);
  EXPECT_EQ(b.LastPoint, NoPoints);
  EXPECT_EQ(pointbed[3][3], 4);
  EXPECT_EQ(pointbed[6][2], 5);
  EXPECT_EQ(pointbed[7][2], 6);
  EXPECT_EQ(Cbed[16], 6);
  expectConsistentGrid();
}

}  // namespace
