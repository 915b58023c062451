// One whole surface update on the channel, in-process: the levels move, the
// grid is regenerated on them, the outflow points are held, the fixed level
// of F 36 3, the trace rows of "F 1 J", the stop on a reference pressure
// that is not a number, and the tail's own steps.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "flow/drivers/flow_drivers.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/points.h"
#include "model/run_state.h"
#include "model/series.h"
#include "model/settings.h"
#include "model/status.h"
#include "model/structured.h"
#include "surface/surface_fixture.h"
#include "surface/surface_services.h"
#include "surface/steady/surface_tail.h"

namespace {

using SurfaceUpdate = SurfaceFixture;

// The sum of the cell volumes of column (i, j).
double columnVolume(int i, int j) {
  double v = 0.0;
  for (int c = static_cast<int>(zval[i][j][0]); c > 0; c = Ccellt[c]) v += Cvol[c];
  return v;
}

}  // namespace

TEST_F(SurfaceUpdate, LevelsMoveAndTheGridFollows) {
  channelAt(981.0);
  FlagTFS = 2;
  iPres = 11;
  jPres = 3;
  GlobZRef = -1e20;  // set by the first update from the reference column
  Cpres[topCell(11, 3)] = 0.0;
  for (int c = 1; c <= NoCells; ++c) Cxvel[c] = 1.0;
  FlagGridChange = 0;
  surface();
  EXPECT_EQ(FlagGridChange, 1);
  EXPECT_EQ(NoCells, 360);
  EXPECT_NEAR(GlobZRef, 1.0, 1e-12);
  // Point (5, 3) and its columns: 0.01 m up, in both slots, in the points,
  // the cell volumes and the top faces' fluxes of the new grid.
  EXPECT_NEAR(levelAt(5, 3), 1.01, 2e-6);
  EXPECT_EQ(secondSlotAt(5, 3), levelAt(5, 3));
  const int top = topCell(5, 3);
  EXPECT_EQ(Pz[Cpoint7[top]], levelAt(5, 3));
  EXPECT_NEAR(columnVolume(5, 3), 1.01, 1e-5);
  EXPECT_NEAR(Czcenter[top] + Ckdist[top], 1.01, 1e-5);
  const int east = Cflatee[top];
  EXPECT_NEAR(Fflux[east], 1000.0 * Fax[east], 1e-6 * std::fabs(Fflux[east]) + 1e-9);
  EXPECT_NEAR(Farea[east], 1.01 / 9.0, 1e-5);
  EXPECT_EQ(std::string(mc_program), " Surface ");
}

TEST_F(SurfaceUpdate, OutflowGroupHoldsTheOutletPoints) {
  channelAt(981.0);
  // The generated end groups, as F 314 1 1 makes them. Group 2's points
  // stand at y 0.5 .. 3.5; of points 1..3 the one at the box centre, y 2.5,
  // gives the reference column (11, 4).
  FlagGenerateUpFlux = 1;
  FlagGenerateDownFlux = 1;
  setFluxes();
  FlagTFS = 2;
  kSurf = 2;
  SetiPresjPres();
  ASSERT_EQ(iPres, 11);
  ASSERT_EQ(jPres, 4);
  surface();
  EXPECT_EQ(FlagDSO1, 2);
  for (int j = 1; j <= 5; ++j) EXPECT_EQ(levelAt(11, j), GlobZRef) << "point (11, " << j << ")";
  EXPECT_NEAR(levelAt(5, 3), GlobZRef, 1e-9) << "every top cell at the reference pressure";
}

TEST_F(SurfaceUpdate, FixedLevelLiftsEveryBaseBlock) {
  channelAt(0.0);
  FlagTFS = 3;
  iPres = 11;
  jPres = 3;
  SurfUpdate[1] = 0;  // F 36 3 does not ask G 26
  std::vector<double> time{0.0}, out{1.3}, in{0.0};
  TimeInTime = time.data();
  TimeInHout = out.data();
  TimeInHinn = in.data();
  TimeInNo = 1;
  surface();
  for (int i : {1, 6, 11}) {
    for (int j : {1, 3, 5}) {
      EXPECT_NEAR(levelAt(i, j), 1.3, 1e-12);
      EXPECT_EQ(secondSlotAt(i, j), levelAt(i, j));
    }
  }
  EXPECT_NEAR(columnVolume(4, 4), 1.3, 1e-9);
}

TEST_F(SurfaceUpdate, LetterJLeavesRowsOpenAndSkipsHundreds) {
  channelAt(0.0);
  FlagTFS = 3;
  iPres = 11;
  jPres = 3;
  debugging = 'J';
  for (int it : {99, 100, 101}) {
    Iter = it;
    surface();
  }
  const std::string trace = readFile("boogie-t");
  const std::string header =
      "Time   dh  Czcenter  Ckdist  iSurfLocal  iPres  jPres   zval   GlobZRef GlobPresRef residualP BI1 dep1 dep2\n";
  ASSERT_EQ(trace.substr(0, header.size()), header);
  const std::string rows = trace.substr(header.size());
  EXPECT_EQ(rows.find('\n'), std::string::npos) << "rows stay open";
  std::istringstream in(rows);
  int numbers = 0;
  for (double v; in >> v;) ++numbers;
  EXPECT_EQ(numbers, 26) << "two rows of thirteen";
}

TEST_F(SurfaceUpdate, NanReferencePressureStops) {
  channelAt(0.0);
  FlagTFS = 3;
  FlagNonHydrostaticSurf = 6;  // the column mean of a dry column is not a number
  iPres = 1;
  jPres = 1;
  EXPECT_EXIT(surface(), ::testing::ExitedWithCode(255), "");
  const std::string log = readFile("boogie");
  EXPECT_NE(log.find("Error 9 in surface computation, reference cell is zero. iPres=1, jPres=1, i=0\n\n\n"
                     "Stopped after 0.000000 seconds due to NAN value for pressure reference\n\n"),
            std::string::npos)
      << log;
  EXPECT_NE(readFile("alldata.0"), "") << "the restart file for a look";
}

TEST_F(SurfaceUpdate, SedimentModeKeepsTheCells) {
  channelAt(0.0);
  FlagTSC = 1;  // without F 166 and F 308 the grid waits for the bed change
  const double volume = columnVolume(5, 3);
  zval[5][3][znumber] = 1.5;
  FlagGridChange = 0;
  computeTailSurf();
  EXPECT_EQ(columnVolume(5, 3), volume);
  EXPECT_EQ(FlagGridChange, 1);
}

TEST_F(SurfaceUpdate, TailClampsBlockOneAndClearsTheRegression) {
  PresRegres = 1;
  channelAt(0.0);
  FlagFlushWaterLevel = 1;
  FlushWaterLevelMin = 0.5;
  FlushWaterLevelMax = 0.8;
  RegIter = 7;
  PresRegresN[5][3] = 7;
  PresRegresSumX[5][3] = 28;
  PresRegresSumXX[5][3] = 140;
  PresRegresSumPres[5][3] = 700.0;
  PresRegresSumXPres[5][3] = 2800.0;
  zval[6][3][znumber] = 0.2;
  const double slot = secondSlotAt(5, 3);
  computeTailSurf();
  EXPECT_EQ(levelAt(5, 3), 0.8);
  EXPECT_EQ(levelAt(6, 3), 0.5);
  EXPECT_EQ(secondSlotAt(5, 3), slot) << "only the level slot";
  EXPECT_EQ(RegIter, 0);
  EXPECT_EQ(PresRegresN[5][3], 0);
  EXPECT_EQ(PresRegresSumX[5][3], 0);
  EXPECT_EQ(PresRegresSumXX[5][3], 0);
  EXPECT_EQ(PresRegresSumPres[5][3], 0.0);
  EXPECT_EQ(PresRegresSumXPres[5][3], 0.0);
  EXPECT_NEAR(columnVolume(5, 3), 0.8, 1e-9) << "the grid follows the clamped levels";
}

// A regeneration that numbers the cells as before keeps their momentum
// diagonals, so a settled surface does not disturb the next face fluxes; one
// that drops cells clears them, since the numbers now mean other cells.
TEST_F(SurfaceUpdate, TailKeepsTheDiagonalsOfCellsThatKeepTheirNumbers) {
  channelAt(0.0);
  std::fill(CinvAp + 1, CinvAp + NoCells + 1, 0.5);
  zval[5][3][znumber] = 1.05;
  computeTailSurf();
  EXPECT_EQ(NoCells, 360);
  for (int c = 1; c <= NoCells; ++c) ASSERT_EQ(CinvAp[c], 0.5) << "cell " << c;

  for (int i = 4; i <= 7; ++i)
    for (int j = 1; j <= 5; ++j) zval[i][j][znumber] = -0.5;  // columns 4..6 run dry
  computeTailSurf();
  ASSERT_LT(NoCells, 360);
  for (int c = 1; c <= NoCells; ++c) ASSERT_EQ(CinvAp[c], 0.0) << "cell " << c;
}
