// The horizontal-velocity step of the hydrostatic drivers on the channel case
// with its column block (40 column cells of 1 m3 under 360 cells of 1/9 m3,
// 1 m3/s entering the four west columns). The wall laws are switched off
// (F 15 outside its families) and every neighbour coefficient is 1, so that
// the V equation left in Cap and Csource shows each term by hand: the
// gathered inflow, Coriolis, the wind laws, the second-neighbour sums of U's
// scheme, the time term against the relaxation, the baroclinic force, and an
// unusable U diagonal that leaves V alone.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "flow/drivers/flow_drivers.h"
#include "flow/hydrostatic/simple_water.h"
#include "grid/grid_services.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"
#include "model/work_ranges.h"
#include "startup/entry.h"
#include "support/run_case.h"
#include "support/work_folder.h"

namespace {

class SimpleWaterStep : public WorkFolderTest {
 protected:
  void generate(const std::string &extra = "") {
    writeFile("control", "F 2 Y\nG 1 13 7 11 1\nF 314 1 1\nF 237 1 1.0\nF 237 2 1.0\nF 68 1\nF 33 0.5 1\nK 6 1 0 0 0 0 0\n" + extra);
    writeFile("koosurf", caseFile("channel", "koosurf"));
    InitialFunction();
    ASSERT_EQ(NoCells, 400);
    metric();
    BedMake();
    startup();
    FlagInitialized = 1;
    FlagWallAll = 1000;
    TimeStep = 1e-20;
    first = block[NoBlocks].FirstCell;
  }
  // Fresh fields, unit neighbour coefficients (second neighbours `second`,
// which K 6 makes exist) and the first-order scheme.
  void reset(double second = 0.0) {
    for (int c = 0; c <= NoCells; ++c) {
      Cae[c] = Caw[c] = Can[c] = Cas[c] = Cat[c] = Cab[c] = 1.0;
      Caee[c] = Caww[c] = Cann[c] = Cass[c] = Catt[c] = Cabb[c] = second;
      Cxvel[c] = 0.3;
      Cyvel[c] = 0.0;
      Czvel[c] = Cpres[c] = 0.0;
      Cap[c] = Csource[c] = 999.0;
    }
    relaxVelocity = 0.8;
    invRelaxVelocity = 1.25;
    sou[1] = sou[2] = 0;
    FlagErrorBreak = 0;
  }
  void layerRange() {
    WCStart = first;
    WCEnd = block[NoBlocks].LastCell;
    WFStart = block[NoBlocks].FirstFace;
    WFEnd = block[NoBlocks].LastFace;
  }
  // Column cell of column (i, j) of the channel, i 2..11, j 2..5.
  int columnCell(int i, int j) const { return first + 10 * (j - 2) + (i - 2); }
  int first = 0;
};

TEST_F(SimpleWaterStep, GatheredInflowCoriolisAndWind) {
  generate();
  struct Row {
    int law;
    double speed, drag;  // f(W)
  };
  const Row rows[] = {
      {-1, 0.0, 0.0},  // no wind, no Coriolis
      {0, 5.6, 5.6 * 5.6},
      {0, 10.0, 100.0 * (1.0 + 1.9 * 0.44 * 0.44)},
      {1, 1.0, 1.1},
      {2, 0.99, 1.25 * std::pow(0.99, 1.5)},
      {2, 1.0, 0.5},
      {2, 14.99, 0.5 * std::pow(14.99, 2.5)},
      {2, 15.0, 2.6 * 225.0},
      {7, 3.0, 3.0},
  };
  for (const Row &row : rows) {
    SCOPED_TRACE(row.law);
    reset();
    layerRange();
    FlagCoriolis = row.law >= 0 ? 1 : 0;
    Coriolis = 1e-4;
    WindFlag = row.law;
    Wind[0] = row.speed;
    Wind[1] = 0.0;  // wind along y: U sees none of it
    Wind[2] = 1.0;
    SimpleWater(2);
    ASSERT_EQ(FlagErrorBreak, 0);
    for (int j = 2; j <= 5; ++j) {
      for (int i = 2; i <= 11; ++i) {
        const int k = columnCell(i, j);
        // The west columns hold their share of the inflow: 1000 kg/s over four.
        const double inflow = i == 2 ? 250.0 : 0.0;
        EXPECT_NEAR(Cap[k], (6.0 + inflow) * 1.25, 1e-7) << "column " << i << ", " << j;
        const double coriolis = row.law >= 0 ? -Cxvel[k] * 1e-4 * 1000.0 * Cvol[k] : 0.0;
        const double wind = 0.0012 * row.drag * Farea[Cflatet[k]];
        EXPECT_NEAR(Csource[k], coriolis + wind, 1e-9 * (1.0 + std::fabs(wind))) << "column " << i << ", " << j;
      }
    }
    // The three-dimensional cells start from 0 and keep the inflow terms only.
    for (int c = 1; c < first; ++c) {
      ASSERT_NEAR(Cap[c], Ccellw[c] == 0 ? 250.0 / 9.0 : 0.0, 1e-7) << c;
      ASSERT_EQ(Csource[c], 0.0) << c;
    }
  }
}

// V takes U's coefficients, so U's scheme decides on the second neighbours;
// the time term stands after the relaxation unless F 74 is 1.
TEST_F(SimpleWaterStep, SchemeOfUAndTimeTermAgainstTheRelaxation) {
  generate();
  const int k = columnCell(6, 3);
  const double expected[2] = {(6.0 + 12.0) * 1.25, 6.0 * 1.25};
  for (int scheme = 0; scheme <= 1; ++scheme) {
    reset(2.0);
    layerRange();
    sou[1] = scheme == 0 ? 1 : 0;
    sou[2] = scheme == 0 ? 0 : 1;
    SimpleWater(2);
    EXPECT_NEAR(Cap[k], expected[scheme], 1e-9) << "sou[1] = " << sou[1];
  }
  TimeStep = 0.5;
  const double term = 1000.0 * Cvol[k] / 0.5;
  for (int flag = 0; flag <= 1; ++flag) {
    reset();
    layerRange();
    TimeRelaxFlag = flag;
    SimpleWater(2);
    const double ap = flag == 1 ? (6.0 + term) * 1.25 : 6.0 * 1.25 + term;
    EXPECT_NEAR(Cap[k], ap, 1e-9) << "F 74 " << flag;
  }
}

// A U diagonal below 1e-30 is reported; V keeps its field and residual.
TEST_F(SimpleWaterStep, UnusableDiagonalLeavesVUnsolved) {
  generate();
  reset();
  layerRange();
  const int k = columnCell(6, 3);
  Cae[k] = -100.0;
  for (int c = 0; c <= NoCells; ++c) Cyvel[c] = 0.05;
  MaxResidual[2] = 123.0;
  SimpleWater(2);
  EXPECT_EQ(FlagErrorBreak, 1);
  EXPECT_EQ(MaxResidual[2], 123.0);
  for (int c = 1; c <= NoCells; ++c) ASSERT_EQ(Cyvel[c], 0.05) << c;
  const std::string log = readFile("boogie");
  char head[100];
  std::snprintf(head, sizeof head, "Error 4, Cap(%d) = %e\n", k, (6.0 - 101.0) * 1.25);
  EXPECT_NE(log.find(head), std::string::npos) << log;
  EXPECT_NE(log.find("Volume = 1.000000e+00\nNeighbour indexes: 0 0 "), std::string::npos) << log;
  EXPECT_NE(log.find("Bed level: 0.000000e+00b = "), std::string::npos) << log;
  EXPECT_TRUE(endsWith(log, "Water level: 1.000000e+00")) << log;
}

// Row j = 3 of the three-dimensional cells is 20 degrees warm, the rest at
// the density maximum. Column (6, 2) on the south wall takes the one-sided
// difference north minus itself; its level m from the top integrates
// 2m - 1 half heights of the density difference.
TEST_F(SimpleWaterStep, BaroclinicForceOneSidedAtTheWall) {
  generate("F 67 1\nF 40 1.0\n");
  ASSERT_NE(Ccomp, nullptr);
  const double cold = 4.029325;
  auto rho = [](double t) { return 0.9999726 * (1.0 - 9.297173e-06 * std::pow(std::fabs(t - 4.029325), 1.894816)); };
  double baseline[400 + 1];
  for (int warm = 0; warm <= 1; ++warm) {
    reset();
    WCStart = WFStart = 1;
    WCEnd = 360;
    WFEnd = block[1].LastFace;
    for (int j = 2; j <= 5; ++j) {
      for (int i = 2; i <= 11; ++i) {
        for (int c = static_cast<int>(zval[i][j][0]); c > 0; c = Ccellt[c]) Ccomp[0][c] = warm && j == 3 ? 20.0 : cold;
      }
    }
    SimpleWater(3);
    ASSERT_EQ(FlagErrorBreak, 0);
    if (!warm) {
      for (int c = 1; c <= 360; ++c) baseline[c] = Csource[c];
      continue;
    }
    const double half = 1.0 / 18.0, faces = 2.0 / 9.0;
    int top = static_cast<int>(zval[6][2][0]);
    while (Ccellt[top] > 0) top = Ccellt[top];
    int m = 1;
    for (int c = top; c > 0; c = Ccellb[c], ++m) {
      const double dy = (2 * m - 1) * (rho(20.0) - rho(cold)) * half;
      EXPECT_NEAR(Csource[c] - baseline[c], -dy * faces * 9810.0 * 0.5, 1e-9) << "level " << m;
    }
  }
}

}  // namespace
