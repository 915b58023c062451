// Pond removal on a block of columns 2..5 x 2..5 whose inflow group lists
// the bed cells of row 2: columns that the marks cannot reach lose their
// cells, across wet columns or, with ridge marks, across wet grid edges.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "grid/generation/grid_build.h"
#include "grid/grid_services.h"
#include "model/allocation.h"
#include "grid/grid_fixture.h"
#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/grid_index.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/status.h"
#include "model/structured.h"
#include "startup/control_reader.h"
#include "startup/control_stream.h"

namespace {

using Map = std::vector<std::string>;  // rows j = 5 down to 2, columns i = 2..5

Map cellMap() {
  Map rows;
  for (int j = 5; j >= 2; --j) {
    std::string row;
    for (int i = 2; i <= 5; ++i) row += ant[i][j] > 0 ? '4' : '.';
    rows.push_back(row);
  }
  return rows;
}

struct PondCase {
  const char *name;
  int flag;                 // F 394
  std::vector<int> listed;  // bed cells of group 1, in list order
  Map cells;                // columns with cells before
  bool dryDam;              // grid lines of row j = 3 dry
  Map kept;
  friend void PrintTo(const PondCase &c, std::ostream *os) { *os << c.name; }
};

class PondRemoval : public GridFixture, public ::testing::WithParamInterface<PondCase> {};

TEST_P(PondRemoval, KeepsWhatTheGroupsReach) {
  const PondCase &c = GetParam();
  FlagRemovePonds = c.flag;  // the pond and ridge tables follow F 394
  allocate(8, 8, 11);
  flatGrid(0, 7, 0, 7, 1.0);
  addBlock(2, 5, 2, 5);
  NoBCells = 16;
  for (int i = 2; i <= 5; ++i) {
    for (int j = 2; j <= 5; ++j) {
      pointbed[i][j] = (i - 2) * 4 + (j - 1);
      antlin[i - 1][j - 1] = antlin[i][j] = 5;
      ant[i][j] = c.cells[5 - j][i - 2] == '.' ? 0 : 4;
    }
  }
  if (c.dryDam) {
    for (int i = 1; i <= 5; ++i) antlin[i][3] = 1;
  }
  DischargeGroup &inflow = DischargeStruct[1];
  inflow.faceCount = 3;
  inflow.bedCells[0] = static_cast<int>(c.listed.size());
  for (std::size_t n = 0; n < c.listed.size(); ++n) inflow.bedCells[n + 1] = c.listed[n];
  if (FlagRemovePonds > 1000) makeRidge();
  removePonds();
  EXPECT_EQ(cellMap(), c.kept);
  EXPECT_STREQ(mc_message, "End removePonds");
}

const Map kAll = {"4444", "4444", "4444", "4444"};
const Map kLakeAndChannel = {"4444", "4444", "....", "4444"};
const Map kChannel = {"....", "....", "....", "4444"};
const Map kNone = {"....", "....", "....", "...."};
// Bed cells of columns (2, 2), (3, 2), (4, 2), (5, 2); the last entry of a
// list is not a seed.
const std::vector<int> kRow2 = {1, 5, 9, 13};

INSTANTIATE_TEST_SUITE_P(
    Cases, PondRemoval,
    ::testing::Values(
        PondCase{"LakeCutOffByDryColumns", 3, kRow2, kLakeAndChannel, false, kChannel},
        PondCase{"ConnectedLakeStays", 3, kRow2, kAll, false, kAll},
        // The first grid: the lists are not filled yet, nothing is removed.
        PondCase{"EmptyListReturns", 3, {}, kLakeAndChannel, false, kLakeAndChannel},
        PondCase{"SingleBedCellSeedsNothing", 3, {1}, kAll, false, kNone},
        // One pass of forward and backward sweeps reaches the whole channel.
        PondCase{"OnePassReachesTheRow", 1, {5, 9}, kLakeAndChannel, false, kChannel},
        // Wet columns beyond a row of dry lines: only ridge marks stop the marks.
        PondCase{"RidgesStopAtDryLines", 1003, kRow2, kAll, true, {"....", "....", "4444", "4444"}},
        PondCase{"WithoutRidgesDryLinesPass", 3, kRow2, kAll, true, kAll}));

// F 542 follows the cleared bottom-cell entry of the removed columns, which
// reaches the spare cell 0 only.
TEST_F(PondRemoval, PressureResetReachesTheSpareCell) {
  FlagRemovePonds = 3;
  allocate(8, 8, 11);
  flatGrid(0, 7, 0, 7, 1.0);
  addBlock(2, 3, 2, 2);
  NoBCells = 2;
  pointbed[2][2] = 1;
  pointbed[3][2] = 2;
  ant[2][2] = ant[3][2] = 3;
  FlagPondsPres = 1;
  DischargeStruct[1].faceCount = 1;
  DischargeStruct[1].bedCells[0] = 1;
  DischargeStruct[1].bedCells[1] = 1;
  Cpres[0] = Cpres[1] = 7.0;
  removePonds();
  EXPECT_EQ(ant[2][2], 0);
  EXPECT_EQ(Cpres[0], 0.0);
  EXPECT_EQ(Cpres[1], 7.0);
}

}  // namespace

namespace {

// Grid lines 1..5 x 1..6 of 1 m squares, 1 m deep except the dry rows j = 3
// and 4: the columns of row 4 stay dry and cut the lake (rows 5, 6) off the
// channel (rows 2, 3).
std::string lakeKoosurf() {
  std::string text;
  for (int i = 1; i <= 5; ++i) {
    for (int j = 1; j <= 6; ++j) {
      const double bed = j == 3 || j == 4 ? 1.2 : 0.0;
      text += std::to_string(i) + " " + std::to_string(j) + " " + std::to_string(i - 1) + " " +
              std::to_string(j - 1) + " " + std::to_string(bed) + " 1.0\n";
    }
  }
  return text;
}

using PondRegeneration = GridFixture;

// The first grid keeps the lake; once the inflow group lists the bed cells of
// row 2, the next generation removes it, between the two cell-count filters.
TEST_F(PondRegeneration, SecondGridLosesTheLake) {
  ControlStream control("G 1 7 8 11 1\nF 394 3\n");
  kreadPass(control);
  ASSERT_EQ(sialloc(), 0);
  ASSERT_GT(AllocateArrays(1, 1, 1), 0.0);
  writeFile("koosurf", lakeKoosurf());
  readKoosurf();
  ASSERT_EQ(Unstructure(), 1);
  for (int i = 2; i <= 5; ++i) {
    EXPECT_GT(ant[i][6], 0) << i;
    EXPECT_EQ(ant[i][4], 0) << i;
  }
  DischargeGroup &inflow = DischargeStruct[1];
  inflow.faceCount = 4;
  inflow.bedCells[0] = 4;
  for (int i = 2; i <= 5; ++i) inflow.bedCells[i - 1] = pointbed[i][2];
  Iter = 2;
  ASSERT_EQ(Unstructure(), 1);
  for (int i = 2; i <= 5; ++i) {
    EXPECT_GT(ant[i][2], 0) << i;
    EXPECT_GT(ant[i][3], 0) << i;
    EXPECT_EQ(ant[i][5], 0) << i;
    EXPECT_EQ(ant[i][6], 0) << i;
    EXPECT_EQ(zval[i][6][0], 0.0) << i;
  }
}

}  // namespace
