// The "braided" and "thalweg" rows of the channel case (10 x 4 columns of
// nine cells): the six run counts, the thalweg with its parabola, the
// sinuosity, the bank share and the averaging windows of BI.
#include <gtest/gtest.h>

#include <vector>

#include "grid/column_grid.h"
#include "grid/grid_fixture.h"
#include "grid/grid_services.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"
#include "sediment/statistics/braiding_measures.h"
#include "support/run_case.h"

namespace {

class BraidedRows : public GridFixture {
 protected:
  void SetUp() override {
    GridFixture::SetUp();
    readCaseGrid("channel", "F 368 10 1 2 4 6 2\nF 378 1\nF 33 100 1\n");
    ASSERT_FALSE(HasFatalFailure());
    Unstructure();
    metric();
    BedMake();
  }
};

int bottomOf(int i, int j) { return static_cast<int>(zval[i][j][0]); }

// Bed shear (Pa) of the columns j1.. of cross-section i.
void setShears(int i, const std::vector<double> &shears) {
  for (std::size_t m = 0; m < shears.size(); ++m) Ckinen[bottomOf(i, block[1].j1 + static_cast<int>(m))] = shears[m] / 300.0;
}

}  // namespace

// Thresholds BraidedTot 1, BraidedActive 2, 4 and 6, BraidCells 2, over the
// cross-sections 10 and 11. The statics of the windows live for the process:
// the whole sequence is one test.
TEST_F(BraidedRows, RunsThalwegAndWindows) {
  ASSERT_EQ(block[1].i2, 11);
  ASSERT_EQ(block[1].j2 - block[1].j1, 3);
  // 5 5 0 5: one channel of two, the bank run of one too short; 5 1.5 5 5:
  // the 1.5 column neither splits nor ends the run, which reaches the bank.
  setShears(10, {5.0, 5.0, 0.0, 5.0});
  setShears(11, {5.0, 1.5, 5.0, 5.0});
  // The thalweg of section 11 is column 4, whose bottom cell lies 0.05 m
  // deeper; its north neighbour lies 0.02 m deeper, so the parabola's
  // minimum moves north by 0.02/(0.1 - 0.02) of the half width.
  Czcenter[bottomOf(11, 4)] -= 0.05;
  Czcenter[bottomOf(11, 5)] -= 0.02;
  stimet = 1000.0;
  writeBraided();
  // The bed shear falls everywhere: the drop is logged, the windows stay.
  for (int c = 1; c <= NoCells; ++c) Ckinen[c] = 0.0;
  stimet = 300000.0;
  writeBraided();
  setShears(10, {5.0, 5.0, 0.0, 5.0});
  setShears(11, {5.0, 1.5, 5.0, 5.0});
  stimet = 756000.0;
  writeBraided();
  // 100 s steps: 25.2 calls in each window of 252000 s.
  EXPECT_EQ(readFile("braided"),
            "1000.000000 1.000000 1.000000 0.000000 1.000000 1.000000 1.000000 2.236068 1.000000\n"
            "300000.000000 0.000000 0.000000 0.000000 0.000000 1.000000 1.000000 2.236068 0.000000\n"
            "756000.000000 1.000000 1.000000 0.000000 1.000000 1.000000 1.000000 2.236068 1.000000\n"
            "Averaged BI: 0.039683 0.000000 0.039683\n");
  EXPECT_EQ(readFile("thalweg"), "\n\nTime 1000.000000 sec.\n8.500000 0.500000 0.000000\n9.500000 2.625000 -0.050000\n"
                                 "\n\nTime 300000.000000 sec.\n8.500000 0.500000 0.000000\n9.500000 2.625000 -0.050000\n"
                                 "\n\nTime 756000.000000 sec.\n8.500000 0.500000 0.000000\n9.500000 2.625000 -0.050000\n");
  EXPECT_TRUE(endsWith(boogie(), "Drop in BI index, 1.000000 -> 0.000000, wl downstream 1.000000, wl upstream 1.000000\n\n"))
      << boogie();
}

// Columns without cells end the wet runs, columns without water the covered
// runs; without cross-sections every quotient is 0.
TEST_F(BraidedRows, WetAndCoveredRunsAndNoSection) {
  FlagThalweg = 0;
  for (int c = 1; c <= NoCells; ++c) Ckinen[c] = 0.0;
  // Section 10: columns 3 and 5 have no cells, no wet run reaches two
  // columns. Section 11: the grid points between its columns 3 and 4 are
  // dry, so neither column holds water (runs of one column each).
  zval[10][3][0] = zval[10][5][0] = 0.0;
  for (int j = 2; j <= 4; ++j) {
    for (int i = 10; i <= 11; ++i) zval[i][j][znumber] = zval[i][j][1];
  }
  stimet = 1000.0;
  writeBraided();
  IBraidedStart = 12;
  stimet = 2000.0;
  writeBraided();
  const std::vector<std::string> rows = linesOf(readFile("braided"));
  ASSERT_GE(rows.size(), 2u);
  EXPECT_EQ(rows[0], "1000.000000 0.000000 0.000000 0.000000 0.000000 0.500000 0.500000 1.000000 0.000000");
  EXPECT_EQ(rows[1], "2000.000000 0.000000 0.000000 0.000000 0.000000 0.000000 0.000000 0.000000 0.000000");
}
