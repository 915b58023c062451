// The column generators of F 64 and F 137 through the binary on the step
// case, the combination that is refused, and the fixed levels of G 3.
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "grid/grid_fixture.h"
#include "grid/grid_services.h"
#include "model/grid_index.h"
#include "model/settings.h"
#include "model/structured.h"
#include "support/run_case.h"

namespace {

CaseSetup stepWith(const std::string &extra) {
  CaseSetup setup;
  setup.files["control"] = caseFile("step", "control") + extra;
  setup.files["koosurf"] = caseFile("step", "koosurf");
  return setup;
}

struct RunCase {
  const char *name;
  std::string extra;
  int status;
  std::string tail;  // the end of the log
  friend void PrintTo(const RunCase &c, std::ostream *os) { *os << c.name; }
};

class ColumnMemberRun : public ::testing::TestWithParam<RunCase> {};

TEST_P(ColumnMemberRun, StatusAndLog) {
  const RunCase &c = GetParam();
  const CaseResult r = runCase(stepWith(c.extra));
  EXPECT_EQ(r.status, c.status);
  EXPECT_TRUE(endsWith(r.file("boogie"), c.tail)) << r.file("boogie");
}

std::string generated(int method, int cells) {
  return "Generating grid with F 64 " + std::to_string(method) + " algorithm. \nEnd Unstructure " +
         std::to_string(cells) + " cells\n";
}

INSTANTIATE_TEST_SUITE_P(
    Step, ColumnMemberRun,
    ::testing::Values(
        RunCase{"Default", "", 1, generated(11, 8)}, RunCase{"Layered", "F 137 1\n", 1, generated(11, 9)},
        RunCase{"LayeredWhateverF64", "F 64 9\nF 137 1\n", 1, generated(9, 9)},
        RunCase{"Uncapped2", "F 64 2\n", 1, generated(2, 7)}, RunCase{"FromTheBed3", "F 64 3\n", 1, generated(3, 9)},
        RunCase{"TopToTop4", "F 64 4\n", 1, generated(4, 9)}, RunCase{"Exponent5", "F 64 5\n", 1, generated(5, 9)},
        RunCase{"Capped6", "F 64 6\n", 1, generated(6, 9)}, RunCase{"Marked7", "F 64 7\n", 1, generated(7, 9)},
        RunCase{"DryCorners10", "F 64 10\n", 1, generated(10, 9)},
        RunCase{"SingleCells12", "F 64 12\n", 1, generated(12, 9)},
        RunCase{"LinePoints14", "F 64 14\n", 1, generated(14, 7)},
        RunCase{"Crack9", "F 64 9\n", 1, generated(9, 9)}, RunCase{"Marks15", "F 64 15\n", 1, generated(15, 7)},
        RunCase{"Smoothing231", "F 64 33\nF 231 1\n", 1, generated(33, 9)},
        RunCase{"FastSolverOnLists", "F 137 1\nF 170 1\n", 251,
                "Error for F 137 in control\nThe fast solver (F 170) cannot use QN grids\n\n"}),
    [](const auto &info) { return std::string(info.param.name); });

// G 3 fixed levels -1.5 .. 0.6: members 0 and 1 lower the bed of every grid
// point to the first fixed level at or below it (0 stays, -1.4 becomes
// -1.5) and take the levels above from the list; the levels a wet column
// uses are then the lowest of its four corners, so the grid point between
// the two columns takes the deep column's levels.
class FixedLevels : public GridFixture, public ::testing::WithParamInterface<int> {};

TEST_P(FixedLevels, BedOnTheFirstLevelBelow) {
  UMethod = GetParam();
  readStep();
  const double levels[8] = {0.0, -1.5, -1.0, -0.5, 0.0, 0.2, 0.4, 0.6};
  for (int k = 1; k <= 7; ++k) zdistrib[k] = levels[k];
  ASSERT_EQ(Unstructure(), 1);
  EXPECT_DOUBLE_EQ(zval[1][1][1], 0.0);
  EXPECT_DOUBLE_EQ(zval[1][1][3], 0.0);
  EXPECT_DOUBLE_EQ(zval[3][1][1], -1.5);
  EXPECT_DOUBLE_EQ(zval[3][1][2], -1.0);
  EXPECT_DOUBLE_EQ(zval[3][1][7], 0.6);
  EXPECT_DOUBLE_EQ(zval[2][1][2], -1.0);
  // Member 1's deep column has one cell less and leaves the lowest level.
  EXPECT_DOUBLE_EQ(zval[2][1][1], GetParam() == 1 ? 0.0 : -1.5);
  // The shallow column has the three levels above 0, the deep one six
  // (the member 1 slope correction keeps them: a 1.5 m rise over 1 m
  // removes trunc(0.5 · 7 / 2.1) = 1 cell).
  EXPECT_EQ(ant[2][2], 3);
  EXPECT_EQ(ant[3][2], GetParam() == 1 ? 5 : 6);
  metric();
}

INSTANTIATE_TEST_SUITE_P(Members, FixedLevels, ::testing::Values(0, 1, 30));

}  // namespace
