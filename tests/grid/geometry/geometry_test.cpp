// The geometry pass on grids built column by column like the generator's:
// unit-cube and channel values, face orientation and closure, flow flags by
// F 70 and on collapsed side faces, block joins, the solve order and the gate.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "grid/column_grid.h"
#include "grid/fixture_values.h"
#include "grid/generation/grid_build.h"
#include "grid/grid_fixture.h"
#include "grid/grid_services.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/grid_index.h"
#include "model/points.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"
#include "model/work_ranges.h"
#include "support/run_case.h"

namespace {

using Geometry = GridFixture;

// The cube's faces in the order the cell builder appends them.
enum CubeFace { kSouth = 1, kEast, kNorth, kWest, kBottom, kTop };

TEST_F(Geometry, UnitCubeValues) {
  buildCaseByHand(CaseGrid::Cube);
  ASSERT_EQ(NoCells, 1);
  ASSERT_EQ(NoSurfaces, 6);
  metric();
  expectUnitCube();
}

// Rows of the flag table: F 70 against the bed, the four sides and the surface.
struct WallCase {
  int wallFlag, bed, side, surface;
};

TEST_F(Geometry, BoundaryFlagsFollowF70) {
  buildCaseByHand(CaseGrid::Cube);
  const WallCase cases[] = {{0, -1, -1, 0}, {1, -1, 0, 0}, {2, -1, 0, 0},  {3, -1, -1, 0},
                            {4, -1, -1, -1}, {5, 0, 0, -1}, {6, -1, 0, 0}, {100, -1, 0, 0}};
  for (const WallCase &c : cases) {
    SCOPED_TRACE("F 70 " + std::to_string(c.wallFlag));
    WallFlag = c.wallFlag;
    FlagHaveDoneMetric = 0;
    metric();
    EXPECT_EQ(Fflagflow[kBottom], c.bed);
    for (int f : {kSouth, kEast, kNorth, kWest}) EXPECT_EQ(Fflagflow[f], c.side) << "face " << f;
    EXPECT_EQ(Fflagflow[kTop], c.surface);
  }
}

TEST_F(Geometry, ChannelValues) {
  buildCaseByHand(CaseGrid::Channel);
  metric();
  expectChannelGeometry();
}

// Every cell of every fixture closes.
class ClosedCells : public GridFixture, public ::testing::WithParamInterface<CaseGrid> {};

TEST_P(ClosedCells, FaceVectorsCloseEveryCell) {
  buildCaseByHand(GetParam());
  metric();
  expectClosedCells();
}

INSTANTIATE_TEST_SUITE_P(Cases, ClosedCells, ::testing::Values(CaseGrid::Cube, CaseGrid::Column3, CaseGrid::Channel),
                         [](const auto &info) { return caseName(info.param); });

// Two columns side by side in one block, the west one sloping: bed 0 under
// both, surface 2 on the west lines, 1 on the east lines.
void buildSlopingPair() {
  addBlock(2, 3, 2, 2);
  for (int i = 1; i <= 3; ++i) {
    for (int j = 1; j <= 2; ++j) {
      xval[i][j] = 0.3 * i;  // 0.3 m columns
      yval[i][j] = 0.7 * j + 0.1 * i;
    }
    const std::vector<double> levels = i == 1 ? std::vector<double>{0.0, 1.0, 2.0} : std::vector<double>{0.0, 0.5, 1.0};
    setLineLevels(i, 1, levels);
    setLineLevels(i, 2, levels);
  }
  setColumnCells(1, 2);
  buildBlocks();
}

TEST_F(Geometry, SlopingCellsClose) {
  allocate(6, 6, 5);
  buildSlopingPair();
  metric();
  expectClosedCells();
  // The column on the slope holds a trapezium: mean height 0.75 times plan area.
  EXPECT_NEAR(Cvol[1], 0.75 * 0.3 * 0.7, 1e-14);
  EXPECT_NEAR(Cdzdk[1], 0.75, 1e-14);
  // The shared face between the columns is a side of both.
  EXPECT_EQ(Ftype1[Cflatee[1]], 2);
  EXPECT_EQ(Ftype2[Cflatee[1]], 4);
  EXPECT_EQ(Fcell22[Cflatee[1]], 0);
  EXPECT_NEAR(Fdz[Cflatee[1]], 0.5, 1e-14);
}

// Two blocks of one column each, side by side along i (or along j), joined
// by Connect under F 64 `method`: 11 links the top pairs and then the two
// bottom cells, 1 only the top pairs; cells of the deeper column left without
// a partner keep an open side. The side of cell `pinched` (counted from the
// bottom of the deeper column) towards the other block has no height.
struct JoinedColumns {
  int firstCells, secondCells, pinched, method;
  bool alongJ;
};

void buildJoinedColumns(const JoinedColumns &g) {
  auto at = [&](int along, int across) { return g.alongJ ? std::pair{across, along} : std::pair{along, across}; };
  const auto [i1, j1] = at(2, 2);
  const auto [i2, j2] = at(4, 2);
  addBlock(i1, i1, j1, j1);
  addBlock(i2, i2, j2, j2);
  const int deeper = std::max(g.firstCells, g.secondCells);
  for (int along = 1; along <= 4; ++along) {
    for (int across = 1; across <= 2; ++across) {
      const auto [i, j] = at(along, across);
      const double a = along <= 2 ? along - 1 : along - 2, c = across - 1;  // line 3 lies on line 2
      xval[i][j] = g.alongJ ? c : a;
      yval[i][j] = g.alongJ ? a : c;
      const int cells = along <= 2 ? g.firstCells : g.secondCells;
      std::vector<double> v;
      for (int m = 0; m <= cells; ++m) v.push_back(m);
      const bool edge = along == 2 || along == 3;
      if (edge && cells == deeper && g.pinched > 0) v[g.pinched] = v[g.pinched - 1];
      setLineLevels(i, j, v);
    }
  }
  ant[i1][j1] = g.firstCells;
  ant[i2][j2] = g.secondCells;
  buildBlocks();
  UMethod = g.method;
  ASSERT_EQ(connectBlockSides(), 0);
}

// The face of cell c towards the second block, or towards the first.
int towardsSecond(int c, bool alongJ) { return alongJ ? Cflaten[c] : Cflatee[c]; }
int towardsFirst(int c, bool alongJ) { return alongJ ? Cflates[c] : Cflatew[c]; }

struct CollapseCase {
  const char *name;
  JoinedColumns grid;
  int openCell;     // the pinched middle cell
  bool inFirst;     // it lies in the first block
  friend void PrintTo(const CollapseCase &c, std::ostream *os) { *os << c.name; }
};

class CollapsedFaces : public GridFixture, public ::testing::WithParamInterface<CollapseCase> {};

// A pinched side of a middle cell takes 2 when the bottom cell has a neighbour
// across that side: through Fcell1 on an east or north face, through Fcell2
// on a west or south face.
TEST_P(CollapsedFaces, MiddleSideTakesTheTriangleFlag) {
  const CollapseCase &c = GetParam();
  allocate(6, 6, 6);
  buildJoinedColumns(c.grid);
  metric();
  const int f = c.inFirst ? towardsSecond(c.openCell, c.grid.alongJ) : towardsFirst(c.openCell, c.grid.alongJ);
  ASSERT_LT(Farea[f], SmallNumberUnstruc);
  EXPECT_EQ(Fflagflow[f], 2);
  expectClosedCells();
  // The bottom cell without its partner: 0.
  const int bottom = c.inFirst ? 1 : c.grid.firstCells + 1;
  int *across = c.inFirst ? (c.grid.alongJ ? Ccelln : Ccelle) : (c.grid.alongJ ? Ccells : Ccellw);
  across[bottom] = 0;
  EXPECT_EQ(findFlagflowTriangle(f), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Sides, CollapsedFaces,
    ::testing::Values(CollapseCase{"DeeperWestColumn", {3, 2, 2, 11, false}, 2, true},
                      CollapseCase{"DeeperEastColumn", {2, 3, 2, 11, false}, 4, false},
                      CollapseCase{"DeeperSouthColumn", {3, 2, 2, 11, true}, 2, true},
                      CollapseCase{"DeeperNorthColumn", {2, 3, 2, 11, true}, 4, false}),
    [](const auto &info) { return std::string(info.param.name); });

// F 64 1 links only the top pairs: the deeper column's bottom cell keeps its
// side open, and pinched there it is closed (0) although the other column is wet.
TEST_F(Geometry, PinchedSideOfABottomCellIsClosed) {
  allocate(6, 6, 6);
  buildJoinedColumns({3, 2, 1, 1, false});
  metric();
  ASSERT_EQ(Ccelle[1], 0);
  ASSERT_EQ(Ccelle[2], 4);
  ASSERT_LT(Farea[Cflatee[1]], SmallNumberUnstruc);
  EXPECT_EQ(Fflagflow[Cflatee[1]], 0);
}

TEST_F(Geometry, FiniteSidesWithoutPartnerAreWalls) {
  allocate(6, 6, 6);
  buildJoinedColumns({3, 2, 0, 11, false});
  metric();
  EXPECT_GT(Farea[Cflatee[2]], 0.5);
  EXPECT_EQ(Fflagflow[Cflatee[2]], -1);
  EXPECT_EQ(Fflagflow[Cflatee[1]], 1);
  EXPECT_EQ(Fflagflow[Cflatee[3]], 1);
}

// A joined pair: each face record sees the other block's cell with its side
// code, the cell beyond it and its half width.
TEST_F(Geometry, JoinedFacesSeeTheOtherBlock) {
  allocate(10, 4, 4);
  addBlock(2, 3, 2, 2);
  addBlock(6, 7, 2, 2);
  for (int j = 1; j <= 2; ++j) {
    for (int i = 1; i <= 7; ++i) {
      xval[i][j] = i <= 3 ? i - 1 : i - 3;  // line 5 lies on line 3
      yval[i][j] = j - 1;
      setLineLevels(i, j, {0.0, 1.0});
    }
  }
  setColumnCells(1, 1);
  setColumnCells(2, 1);
  buildBlocks();
  ASSERT_EQ(NoCells, 4);
  ASSERT_EQ(connectBlockSides(), 0);
  ASSERT_EQ(NoConnFlate, 1);
  const int a = connFlate[1][0], b = connFlate[1][1];
  ASSERT_EQ(a, Cflatee[2]);
  ASSERT_EQ(b, Cflatew[3]);
  metric();
  EXPECT_EQ(Ftype1[a], 2);
  EXPECT_EQ(Fcell11[a], 1);
  EXPECT_EQ(Ftype2[a], 4);
  EXPECT_EQ(Fcell22[a], 4);
  EXPECT_DOUBLE_EQ(Fdist2[a], 0.5);
  EXPECT_EQ(Ftype1[b], 2);
  EXPECT_EQ(Fcell11[b], 1);
  EXPECT_EQ(Ftype2[b], 4);
  EXPECT_EQ(Fcell22[b], 4);
  EXPECT_DOUBLE_EQ(Fdist1[b], 0.5);
  EXPECT_EQ(Fflagflow[a], 1);
  EXPECT_EQ(Fflagflow[b], 1);
  EXPECT_EQ(Fin[a], 1);
  EXPECT_EQ(Fin[b], 1);

  // Two faces that are both the first side of their cells: each ends with
  // the partner's values in its second side.
  const int e2 = Cflatee[2], e4 = Cflatee[4];
  connFlate[1][0] = e2;
  connFlate[1][1] = e4;
  FlagHaveDoneMetric = 0;
  metric();
  EXPECT_EQ(Ftype2[e2], 2);
  EXPECT_EQ(Fcell22[e2], 3);
  EXPECT_EQ(Ftype2[e4], 2);
  EXPECT_EQ(Fcell22[e4], 1);
  EXPECT_DOUBLE_EQ(Fdist2[e2], 0.5);
}

// Cells are numbered j outer, i inner; they are solved i outer, j inner,
// each column bottom up. Blocks of another kind and empty blocks add nothing.
TEST_F(Geometry, SolveOrderRunsColumnsIOuter) {
  allocate(8, 8, 4);
  flatGrid(1, 3, 1, 3, 2.0);
  addBlock(2, 3, 2, 3);
  for (int i = 1; i <= 3; ++i) {
    for (int j = 1; j <= 3; ++j) setLineLevels(i, j, {0.0, 1.0, 2.0});
  }
  setColumnCells(1, 2);
  buildBlocks();
  const int hydrostatic = addBlock(2, 3, 2, 3);
  block[hydrostatic].BlockKind = 1;
  addBlock(5, 4, 2, 3);
  metric();
  const int expected[] = {0, 1, 2, 5, 6, 3, 4, 7, 8, 0};
  for (int k = 0; k < 10; ++k) EXPECT_EQ(Cisolve[k], expected[k]) << "entry " << k;

  NoBlocks = 0;
  Cisolve[1] = 7;
  FlagHaveDoneMetric = 0;
  metric();
  EXPECT_EQ(Cisolve[0], 0);
  EXPECT_EQ(Cisolve[1], 0);
}

// Without a regeneration a second call changes nothing, though a point moved;
// F 523 makes every call recompute.
TEST_F(Geometry, GateKeepsTheGeometryUntilRegeneration) {
  buildCaseByHand(CaseGrid::Cube);
  FlagExtraDebug = 1;
  metric();
  Pz[Cpoint7[1]] += 0.5;
  metric();
  EXPECT_DOUBLE_EQ(Cvol[1], 1.0);
  EXPECT_DOUBLE_EQ(Farea[kTop], 1.0);
  EXPECT_TRUE(endsWith(boogie(), "In start of metric 0\nEnd metric\nIn start of metric 1\n"));
  FlagTestBugMetric = 1;
  metric();
  EXPECT_NEAR(Cvol[1], 1.125, 1e-14);
  EXPECT_GT(Farea[kTop], 1.0);
  EXPECT_TRUE(endsWith(boogie(), "In start of metric 1\nEnd metric\n"));
}

TEST_F(Geometry, WithoutCellsOnlyTheFacesAreMeasured) {
  buildCaseByHand(CaseGrid::Cube);
  NoCells = 0;
  Cvol[1] = 42.0;
  Fcell11[kBottom] = 7;  // stale values of an earlier grid
  Fdist1[kBottom] = Fdz[kBottom] = 7.0;
  Px[Cpoint3[1]] += 1.0;
  metric();
  EXPECT_EQ(Cvol[1], 42.0);
  EXPECT_NEAR(Farea[kBottom], 1.5, 1e-14);
  EXPECT_EQ(Fcell11[kBottom], 0);
  EXPECT_EQ(Fdist1[kBottom], 0.0);
  EXPECT_EQ(Fdz[kBottom], 0.0);
}

}  // namespace
