// The three cells the geometry pass refuses, each with its diagnosis in the
// log, the restart file (and for a skewed cell the outputs) written before
// the run ends with -1: a cell of zero or negative volume, a cell whose top
// lies beside its bottom, and a cell turned upside down.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "grid/column_grid.h"
#include "grid/grid_fixture.h"
#include "grid/grid_services.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/grid_index.h"
#include "model/points.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"
#include "base/log.h"
#include "startup/operations.h"
#include "support/run_case.h"

namespace {

// The restart writer and the output dispatcher leave a mark in the log, so
// that their calls and their order show before the end.
class GeometryChecks : public GridFixture {
 protected:
  void SetUp() override {
    GridFixture::SetUp();
    operations.WriteAllData = [] { logText("WriteAllData\n"); };
    operations.sprintflow = [] { logText("sprintflow\n"); };
  }
  void TearDown() override {
    operations = engineOperations();
    GridFixture::TearDown();
  }
};

// The diagnosis of the first cell of the mirrored channel.
constexpr const char *kMirroredChannelDiagnosis =
    "\nIn metric, Error for cell 1, zero volume: -0.111111\n "
    "Bed cell b=1\n"
    "Cell indexes: i=2, j=2, bed cell=1\n"
    "zval[1]: 0.000000 0.000000 0.000000 0.000000\n"
    "zval[znumber]: 1.000000 1.000000 1.000000 1.000000\n"
    "Surfaces[LB]: 0.000000 0.000000 0.000000 0.000000\n"
    "Iter = 0\n"
    "idist,jdist,kdist = 0.500000 0.500000 0.055556\n"
    "Careax = 0.111111, Careay = 0.111111, Careaz = -1.000000\n"
    "Coordinates: x: 0.000000 -1.000000 -1.000000 0.000000\n"
    "Coordinates: x: 0.000000 -1.000000 -1.000000 0.000000\n"
    "Coordinates: y: 0.000000 0.000000 1.000000 1.000000\n"
    "Coordinates: y: 0.000000 0.000000 1.000000 1.000000\n"
    "Coordinates: z: 0.000000 0.000000 0.000000 0.000000\n"
    "Coordinates: z: 0.111111 0.111111 0.111111 0.111111\n"
    "WriteAllData\n";

// The cube case with its grid lines as given, one cell per column.
void buildCube(const std::vector<double> &levels, double mirror = 0.0) {
  readCaseGrid("cube");
  for (int i = 1; i <= 2; ++i) {
    for (int j = 1; j <= 2; ++j) {
      if (mirror != 0.0) xval[i][j] = mirror - i;
      setLineLevels(i, j, levels);
    }
  }
  setColumnCells(1, static_cast<int>(levels.size()) - 1);
  buildBlocks();
}

std::string format(const char *pattern, int a, int b, int c, int d) {
  char text[200];
  std::snprintf(text, sizeof text, pattern, a, b, c, d);
  return text;
}

// The corner point numbers of cell c, "%d %d ... %d".
std::string cornerPoints(int c) {
  return format("%d %d %d %d ", Cpoint1[c], Cpoint2[c], Cpoint3[c], Cpoint4[c]) +
         format("%d %d %d %d", Cpoint5[c], Cpoint6[c], Cpoint7[c], Cpoint8[c]);
}

// Distinct levels at the corner lines (1,1), (2,1), (2,2), (1,2) of column
// (2, 2), to show the corner order of the diagnosis.
void markCornerLines() {
  const int ci[4] = {1, 2, 2, 1}, cj[4] = {1, 1, 2, 2};
  for (int m = 0; m < 4; ++m) {
    zval[ci[m]][cj[m]][1] = 0.1 * (m + 1);
    zval[ci[m]][cj[m]][znumber] = 1.1 + 0.1 * m;
    Surfaces[3][ci[m]][cj[m]] = -(m + 1.0);
    antlin[ci[m]][cj[m]] = m + 1;
  }
}

struct ZeroVolumeCase {
  const char *name;
  bool bedCells;  // BedMake has run: the column is known
  int method2;    // F 488
  friend void PrintTo(const ZeroVolumeCase &c, std::ostream *os) { *os << c.name; }
};

class ZeroVolume : public GeometryChecks, public ::testing::WithParamInterface<ZeroVolumeCase> {};

// The cube mirrored in x: its bottom corners run clockwise, so its plan area
// and volume are negative.
TEST_P(ZeroVolume, MirroredCellIsDiagnosed) {
  const ZeroVolumeCase &c = GetParam();
  buildCube({0.0, 1.0}, 1.0);
  if (c.bedCells) BedMake();
  markCornerLines();
  Iter = 7;
  UMethod2 = c.method2;
  EXPECT_EXIT(metric(), ::testing::ExitedWithCode(255), "");
  std::string expected = "\nIn metric, Error for cell 1, zero volume: -1.000000\n ";
  if (c.bedCells) {
    expected +=
        "Bed cell b=1\n"
        "Cell indexes: i=2, j=2, bed cell=1\n"
        "zval[1]: 0.100000 0.200000 0.300000 0.400000\n"
        "zval[znumber]: 1.100000 1.200000 1.300000 1.400000\n"
        "Surfaces[LB]: -1.000000 -2.000000 -3.000000 -4.000000\n";
  } else {
    expected += "Bed cell b=0\n";
  }
  expected +=
      "Iter = 7\n"
      "idist,jdist,kdist = 0.500000 0.500000 0.500000\n"
      "Careax = 1.000000, Careay = 1.000000, Careaz = -1.000000\n"
      "Coordinates: x: 0.000000 -1.000000 -1.000000 0.000000\n"
      "Coordinates: x: 0.000000 -1.000000 -1.000000 0.000000\n"
      "Coordinates: y: 0.000000 0.000000 1.000000 1.000000\n"
      "Coordinates: y: 0.000000 0.000000 1.000000 1.000000\n"
      "Coordinates: z: 0.000000 0.000000 0.000000 0.000000\n"
      "Coordinates: z: 1.000000 1.000000 1.000000 1.000000\n";
  if (c.method2 > 0) expected += "Point numbers: " + cornerPoints(1) + "\n";
  expected += "WriteAllData\n";
  EXPECT_TRUE(endsWith(boogie(), expected)) << boogie();
}

INSTANTIATE_TEST_SUITE_P(Diagnoses, ZeroVolume,
                         ::testing::Values(ZeroVolumeCase{"WithColumn", true, 0},
                                           ZeroVolumeCase{"WithoutBedCell", false, 0},
                                           ZeroVolumeCase{"SecondGenerator", true, 1}),
                         [](const auto &info) { return std::string(info.param.name); });

// The channel mirrored in x (x = 1 - i): every cell turns clockwise; the
// first one ends the run.
TEST_F(GeometryChecks, MirroredChannel) {
  readCaseGrid("channel");
  for (int i = 1; i <= 11; ++i) {
    for (int j = 1; j <= 5; ++j) xval[i][j] = 1 - i;
  }
  uniformLevels(1, 10);
  setColumnCells(1, 9);
  buildBlocks();
  BedMake();
  EXPECT_EXIT(metric(), ::testing::ExitedWithCode(255), "");
  EXPECT_TRUE(endsWith(boogie(), kMirroredChannelDiagnosis)) << boogie();
}

// The volume check comes first: a flat cell is a zero volume, not upside down.
TEST_F(GeometryChecks, FlatCellIsAZeroVolume) {
  buildCube({0.5, 0.5});
  EXPECT_EXIT(metric(), ::testing::ExitedWithCode(255), "");
  const std::string log = boogie();
  EXPECT_NE(log.find("\nIn metric, Error for cell 1, zero volume: 0.000000\n "), std::string::npos) << log;
  EXPECT_EQ(log.find("negative vertical"), std::string::npos) << log;
  EXPECT_TRUE(endsWith(log, "WriteAllData\n"));
}

struct SkewCase {
  const char *name;
  double dx, dy;
  bool fatal;
  friend void PrintTo(const SkewCase &c, std::ostream *os) { *os << c.name; }
};

class Skew : public GeometryChecks, public ::testing::WithParamInterface<SkewCase> {};

// The top of the third cell of a column is moved sideways: up to 1e-7 m is
// rounding, beyond it the cell is refused.
TEST_P(Skew, TopBesideBottom) {
  const SkewCase &c = GetParam();
  readCaseGrid("column3");
  uniformLevels(1, 4);
  setColumnCells(1, 3);
  buildBlocks();
  BedMake();
  for (int p : {Cpoint5[3], Cpoint6[3], Cpoint7[3], Cpoint8[3]}) {
    Px[p] += c.dx;
    Py[p] += c.dy;
  }
  Iter = 3;
  if (!c.fatal) {
    metric();
    EXPECT_NEAR(Cdxdk[3], c.dx, 1e-15);
    EXPECT_NEAR(Cdydk[3], c.dy, 1e-15);
    return;
  }
  EXPECT_EXIT(metric(), ::testing::ExitedWithCode(255), "");
  std::string expected =
      "\nIn metric, Error for cell 3, skewed in horizontal direction\n"
      "Iter = 3\n";
  char line[100];
  std::snprintf(line, sizeof line, "Cdxdk,Cdydk = %lf %lf\n", c.dx, c.dy);
  expected += line;
  expected +=
      "Both these numbers should have very small values\n"
      "This error may be due to too large numbers in the geometry data\n"
      "A correction is to use a local coordinate system,\n"
      "with origo close to the work area\n"
      "Another cause of the error may be incorrect data in the input files\n"
      "Then check that pairs of coordinates below are identical:\n"
      "Coordinates: x and y values for the eight corners of the cell: \n";
  for (int m : {1, 5, 2, 6, 3, 7, 4, 8}) {
    const int *corner[9] = {nullptr, Cpoint1, Cpoint2, Cpoint3, Cpoint4, Cpoint5, Cpoint6, Cpoint7, Cpoint8};
    const int p = corner[m][3];
    std::snprintf(line, sizeof line, "Point %d: %lf %lf\n", m, Px[p], Py[p]);
    expected += line;
  }
  expected += "Indexes for pointers to cells: \n";
  const int points[9] = {0, Cpoint1[3], Cpoint2[3], Cpoint3[3], Cpoint4[3], Cpoint5[3], Cpoint6[3], Cpoint7[3],
                         Cpoint8[3]};
  for (int m = 1; m <= 8; ++m) expected += "Point " + std::to_string(m) + ": " + std::to_string(points[m]) + "\n";
  expected +=
      "Grid indexes: (2,2)\n"
      "Neighbour cells: \n"
      "North: 0, South: 0, East: 0, West: 0, Top: 0, Bottom: 2\n"
      "WriteAllData\n"
      "sprintflow\n";
  EXPECT_TRUE(endsWith(boogie(), expected)) << boogie();
}

INSTANTIATE_TEST_SUITE_P(Shifts, Skew,
                         ::testing::Values(SkewCase{"EastBeyondTheLimit", 2e-7, 0, true},
                                           SkewCase{"EastWithinTheLimit", 5e-8, 0, false},
                                           SkewCase{"SouthBeyondTheLimit", 0, -2e-7, true},
                                           SkewCase{"SouthWithinTheLimit", 0, -5e-8, false}),
                         [](const auto &info) { return std::string(info.param.name); });

// The lower of two cells has its top below its bottom: a positive volume,
// but a negative height.
TEST_F(GeometryChecks, UpsideDownCellIsDiagnosed) {
  buildCube({1.0, 0.0, 2.0});
  BedMake();
  ASSERT_EQ(NoCells, 2);
  markCornerLines();
  const int si[4] = {2, 3, 2, 1}, sj[4] = {1, 2, 3, 2};
  for (int m = 0; m < 4; ++m) {
    pointbed[si[m]][sj[m]] = 11 + m;
    zval[si[m]][sj[m]][0] = 21 + m;
  }
  Cdzdk[2] = 3.5;  // what the cell above holds from an earlier pass
  Iter = 9;
  EXPECT_EXIT(metric(), ::testing::ExitedWithCode(255), "");
  const std::string expected =
      "\nIn metric, Error for cell 1, negative vertical direction\n"
      "Iter = 9\n"
      "Cdzdk = -1.000000e+00, Ckdist = 5.000000e-01\n"
      "Ccellb = 0, Ccellt = 2\n"
      "Cdzdk[Ccellt[ll]] = 3.500000e+00\n"
      "Point 1: 0.000000 0.000000 1.000000e+00\n"
      "Point 5: 0.000000 0.000000 0.000000e+00\n"
      "Point 2: 1.000000 0.000000 1.000000e+00\n"
      "Point 6: 1.000000 0.000000 0.000000e+00\n"
      "Point 3: 1.000000 1.000000 1.000000e+00\n"
      "Point 7: 1.000000 1.000000 0.000000e+00\n"
      "Point 4: 0.000000 1.000000 1.000000e+00\n"
      "Point 8: 0.000000 1.000000 0.000000e+00\n"
      "2D cell indexes: 2 2, depth = 1.000000 meters.\n"
      "ant = 2, antlin = 1, 2, 3, 4\n"
      "zval[i-1][j-1] = 0.100000 1.100000\n"
      "zval[i][j-1] = 0.200000 1.200000\n"
      "zval[i][j] = 0.300000 1.300000\n"
      "zval[i-1][j] = 0.400000 1.400000\n"
      "Bed neighbours (senw): 11 12 13 14\n"
      "Cell neighbours (senw): 21 22 23 24\n"
      "zval[0] = 1\n"
      "WriteAllData\n";
  EXPECT_TRUE(endsWith(boogie(), expected)) << boogie();
}

// Without a bed cell the column of an upside-down cell is not shown.
TEST_F(GeometryChecks, UpsideDownCellWithoutColumn) {
  buildCube({1.0, 0.0});
  EXPECT_EXIT(metric(), ::testing::ExitedWithCode(255), "");
  EXPECT_TRUE(endsWith(boogie(), "Point 8: 0.000000 1.000000 0.000000e+00\nWriteAllData\n")) << boogie();
}

}  // namespace
