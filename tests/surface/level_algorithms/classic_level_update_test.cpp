// The classic point-wise level update on the channel: each row sets up the
// top-cell pressures and switches, runs one update and checks a grid point
// against its value worked by hand (0.000101937 m of water per pascal).
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"
#include "surface/level_algorithms/classic_level_update.h"
#include "grid/grid_fixture.h"
#include "surface/surface_fixture.h"

namespace {

struct Point {
  int i, j;
  double level;
};

struct ClassicRow {
  const char *name;
  std::function<void()> before;  // flags that the allocation must see
  std::function<void()> setUp;   // after the channel is built at 981 Pa
  int c2;                        // second reference bottom cell, 0 none
  std::vector<Point> expected;
};

void PrintTo(const ClassicRow &row, std::ostream *os) { *os << row.name; }

int bottom(int i, int j) { return static_cast<int>(zval[i][j][0]); }

void setAllVelocities(double u) {
  for (int c = 1; c <= NoCells; ++c) Cxvel[c] = u;
}

std::vector<double> presavg;  // Bpresavg of the F 233 row

const ClassicRow kRows[] = {
    // 981 Pa with relaxation 0.1: 0.1 x 0.1 = 0.01 m.
    {"Standard", [] {}, [] {}, 0, {{5, 3, 1.01}, {1, 1, 1.01}, {11, 5, 1.01}}},
    {"DirectTakesTheWholeChange", [] {}, [] { FlagDeltaSurface = 1; }, 0, {{5, 3, 1.1}, {1, 1, 1.1}}},
    // A point on the block's edge averages only its block's columns.
    {"EdgePointAveragesItsOwnColumns", [] {},
     [] {
       setTopPressures(0.0);
       Cpres[topCell(2, 2)] = 981.0;
     },
     0, {{1, 1, 1.01}, {2, 1, 1.005}, {3, 1, 1.0}}},
    // Two joined blocks: point (5, 1) on the joining line reaches the two
    // columns of the other block, (8, 3) and (9, 3) here, through the south
    // neighbours of its own bottom cells: (0 + 0 + 1962 + 1962) / 4 Pa.
    {"JoinedBlocksAverageFourColumns", [] {},
     [] {
       setTopPressures(0.0);
       TopBed = 0;
       addBlock(2, 11, 2, 5);
       block[2].GridLevel = 2;  // a second block that the update does not treat
       Ccells[bottom(5, 2)] = bottom(8, 3);
       Ccells[bottom(6, 2)] = bottom(9, 3);
       Cpres[topCell(8, 3)] = Cpres[topCell(9, 3)] = 1962.0;
     },
     0, {{5, 1, 1.01}}},
    // F 132 0.3 is not above 0.5: no limit, however fast the flow.
    {"FroudeLimitOffAtOrBelowHalf", [] {},
     [] {
       setTopPressures(0.0);
       setAllVelocities(4.0);
       FroudeMaxSurface = 0.3;
     },
     0, {{5, 3, 1.0}}},
    // 4 m/s at Froude number 1 needs 16 / 9.81 = 1.63099 m of water.
    {"FroudeLimitRaisesToTheCriticalDepth", [] {},
     [] {
       setTopPressures(0.0);
       setAllVelocities(4.0);
       FroudeMaxSurface = 1.0;
     },
     0, {{5, 3, 16.0 / 9.81}}},
    // Slope 0.01 with neighbours 10 m away and 0.2 m higher: the point,
    // asked to fall 0.5 m, ends 0.1 m below them. The direct variant visits
    // (11, 1) first, so both neighbours still hold their levels.
    {"SlopeLimit", [] {},
     [] {
       FlagDeltaSurface = 1;
       MaxSurfSlope = 0.01;
       setTopPressures(-0.5 * 9810.0);
       for (int i = 0; i <= xnumber + 1; ++i) {
         for (int j = 0; j <= ynumber + 1; ++j) {
           xval[i][j] *= 10.0;
           yval[i][j] *= 10.0;
         }
       }
       zval[10][1][znumber] = zval[11][2][znumber] = 1.2;
     },
     0, {{11, 1, 1.1}}},
    // References at the centres of columns (2, 2) and (5, 2), (0.5, 0.5)
    // and (3.5, 0.5), levels 1 and 2 m, relaxation 1: point (3, 1) at (2, 0)
    // lies as far from both, w = 0.5.
    {"TwoReferencesWeighByDistance", [] {},
     [] {
       setTopPressures(0.0);
       GlobZRef2 = 2.0;
       GlobPresRef2 = 0.0;
       RelaxSurface = 1.0;
     },
     -1, {{3, 1, 1.5}}},
    // F 233 6: the columns' mean pressures, not the top cells'.
    {"ColumnMeanPressure", [] {},
     [] {
       presavg.assign(NoBCells + 1, 981.0);
       Bpresavg = presavg.data();
       FlagNonHydrostaticSurf = 6;
       setTopPressures(0.0);
     },
     0, {{5, 3, 1.01}}},
    // Mean of the samples 0 and 981 Pa: 490.5 Pa, 0.005 m; the first grid
    // lines i1 - 1 and j1 - 1 keep their levels.
    {"RegressionMean", [] { PresRegres = 2; },
     [] {
       for (int i = 2; i <= 11; ++i) {
         for (int j = 2; j <= 5; ++j) {
           PresRegresN[i][j] = 2;
           PresRegresSumPres[i][j] = 981.0;
         }
       }
       iPres = 12;  // a column without samples: reference pressure 0
       jPres = 6;
     },
     0, {{5, 3, 1.005}, {1, 3, 1.0}, {5, 1, 1.0}}},
    // The line through (1, 0 Pa) and (2, 981 Pa) at sample 2: 981 Pa.
    {"RegressionLine", [] { PresRegres = 1; },
     [] {
       RegIter = 2;
       for (int i = 2; i <= 11; ++i) {
         for (int j = 2; j <= 5; ++j) {
           PresRegresN[i][j] = 2;
           PresRegresSumX[i][j] = 3;
           PresRegresSumXX[i][j] = 5;
           PresRegresSumPres[i][j] = 981.0;
           PresRegresSumXPres[i][j] = 1962.0;
         }
       }
       iPres = 12;
       jPres = 6;
     },
     0, {{5, 3, 1.01}, {1, 1, 1.0}}},
};

class ClassicUpdate : public SurfaceFixture, public ::testing::WithParamInterface<ClassicRow> {};

}  // namespace

TEST_P(ClassicUpdate, MovesThePointsAsWorkedByHand) {
  const ClassicRow &row = GetParam();
  row.before();
  channelAt(981.0);
  row.setUp();
  const int c = bottom(2, 2);
  const int c2 = row.c2 < 0 ? bottom(5, 2) : row.c2;
  classicLevelUpdate(c, c2);
  for (const Point &p : row.expected) {
    EXPECT_NEAR(levelAt(p.i, p.j), p.level, 2e-6) << "point " << p.i << " " << p.j;
    if (p.level != 1.0) {
      EXPECT_EQ(secondSlotAt(p.i, p.j), levelAt(p.i, p.j)) << "point " << p.i << " " << p.j;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Rows, ClassicUpdate, ::testing::ValuesIn(kRows),
                         [](const auto &info) { return std::string(info.param.name); });
