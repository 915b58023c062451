// Reference levels on the channel: the level series, when GlobZRef is taken
// anew, the outflow average of F 416, the searches for the reference column
// and the stops when it cannot be found.
#include <gtest/gtest.h>

#include <vector>

#include "flow/flow_fixture.h"
#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/series.h"
#include "model/settings.h"
#include "model/structured.h"
#include "surface/steady/reference_levels.h"
#include "surface/surface_fixture.h"
#include "surface/surface_services.h"
#include "support/run_case.h"

namespace {

using ReferenceLevels = SurfaceFixture;

// The surface of a top cell moved by dz.
void raiseTop(int c, double dz) { Czcenter[c] += dz; }

}  // namespace

TEST_F(ReferenceLevels, LevelSeriesInterpolatesAndExtrapolates) {
  channelAt(0.0);
  FlagTFS = 2;
  iPres = 11;
  jPres = 3;
  std::vector<double> times{0.0, 100.0}, out{10.0, 12.0}, in{0.0, 0.0};
  TimeInTime = times.data();
  TimeInHout = out.data();
  TimeInHinn = in.data();
  TimeInNo = 2;
  struct Row {
    double t, level;
  };
  for (const Row row : {Row{50.0, 11.0}, Row{150.0, 12.0}, Row{-50.0, 9.0}}) {
    stimet = row.t;
    EXPECT_EQ(computeSurfaceReferences(), topCell(11, 3));
    EXPECT_NEAR(GlobZRef, row.level, 1e-12) << "at " << row.t << " s";
  }
  TimeInNo = 1;
  stimet = 500.0;
  computeSurfaceReferences();
  EXPECT_EQ(GlobZRef, 10.0);
  EXPECT_EQ(stimeWL1, -50.0);
  EXPECT_EQ(stimeWL2, 500.0);
  EXPECT_EQ(NoNumSurfUpdate, 4);
}

// Without a level series the level of the first update stays, with F 91 and
// with an outflow group alike; a second reference takes the reference
// column's own level at every update.
TEST_F(ReferenceLevels, GlobZRefKeptWithoutASeriesAnewWithTwoReferences) {
  channelAt(0.0);
  FlagTFS = 2;
  iPres = 11;
  jPres = 3;
  const int ref = topCell(11, 3);
  GlobZRef = -1e20;
  Cpres[ref] = 42.0;
  EXPECT_EQ(computeSurfaceReferences(), ref);
  EXPECT_NEAR(GlobZRef, 1.0, 1e-12);
  EXPECT_EQ(GlobPresRef, 42.0);
  raiseTop(ref, 0.1);
  computeSurfaceReferences();
  EXPECT_NEAR(GlobZRef, 1.0, 1e-12) << "F 91: the first level stays";
  kSurf = 2;
  computeSurfaceReferences();
  EXPECT_NEAR(GlobZRef, 1.0, 1e-12) << "a group number: the first level stays too";
  EXPECT_EQ(FlagDSO1, -1) << "no outflow group holds the cell";
  jSurf = 1;  // a second reference: the level is the reference column's again
  computeSurfaceReferences();
  EXPECT_NEAR(GlobZRef, 1.1, 1e-12);
}

TEST_F(ReferenceLevels, OutflowWindowWithoutCellsGivesZero) {
  channelAt(500.0);
  FlagTFS = 2;
  iPres = 11;
  jPres = 3;
  kSurf = 2;
  setGroup(2, 0, -1000.0, downstreamFaces());
  FlagPresDownstream = 3;
  IntervalPresDownstream = 100.0;
  for (int c = 1; c <= NoCells; ++c) Cpres[c] = c % 2 ? 500.0 : -500.0;
  computeSurfaceReferences();
  EXPECT_EQ(GlobPresRef, 0.0);
  EXPECT_EQ(GlobZRef, 0.0);
  EXPECT_EQ(FlagDSO1, 2) << "the reference cell's outflow group";
  EXPECT_EQ(Cpres[1], 500.0) << "nothing to subtract";
}

TEST_F(ReferenceLevels, PolygonOnTheWestBoundaryFindsTheFirstColumn) {
  channelAt(0.0);
  FlagTFS = 2;
  kSurf = 3;
  // Group 3 on the west end: faces of column (2, 3)'s top cell first, then
  // the points; among points 1..2 (y 1.5 and 2.5 on x 0) the one nearest
  // the box centre on a tie is the first: column (2, 3).
  const int top = topCell(2, 3);
  setGroup(3, 0, -1000.0, {Cflatew[top]});
  DischargeGroup &g = DischargeStruct[3];
  g.polygonCount = 3;
  g.polygonX[0] = 50.0;
  g.polygonY[0] = 50.0;
  g.polygonX[1] = 0.0;
  g.polygonY[1] = 1.5;
  g.polygonX[2] = 0.0;
  g.polygonY[2] = 2.5;
  SetiPresjPres();
  EXPECT_EQ(iPres, 2);
  EXPECT_EQ(jPres, 3);
  EXPECT_EQ(iSurf, top);
  EXPECT_NE(readFile("boogie").find("G 6/62 2D reference indexes: 2 3 0 0\n"), std::string::npos);
}

TEST_F(ReferenceLevels, CellAboveTheBedFindsItsColumn) {
  channelAt(0.0);
  FlagTFS = 2;
  iSurf = topCell(7, 4);
  SetiPresjPres();
  EXPECT_EQ(iPres, 7);
  EXPECT_EQ(jPres, 4);
  EXPECT_EQ(iSurf, static_cast<int>(zval[7][4][0]));
}

TEST_F(ReferenceLevels, CellNotInTheGridStops) {
  channelAt(0.0);
  FlagTFS = 2;
  iSurf = NoCells + 5;
  EXPECT_EXIT(SetiPresjPres(), ::testing::ExitedWithCode(255), "");
  EXPECT_NE(readFile("boogie").find("Error in algorithm for G 6/62 data set. Have not found (i,j) indexes\n"
                                    "for cell number 365, first integer on the data set.\n"
                                    "Searched areas i=1,13; j=1,7\n\n"),
            std::string::npos);
}

TEST_F(ReferenceLevels, DryReferenceTakesTheGroupsMiddleOrStops) {
  channelAt(0.0);
  iPres = 1;  // the grid line west of the block: no cells
  jPres = 1;
  // F 36 3 goes on with the level of the grid point.
  FlagTFS = 3;
  zval[1][1][znumber] = 0.7;
  EXPECT_EQ(computeSurfaceReferences(), 0);
  EXPECT_EQ(GlobZRef, 0.7);
  // With an outflow group, the column at its middle face.
  FlagTFS = 2;
  kSurf = 2;
  FlagDSO1 = 2;
  const std::vector<int> faces = downstreamFaces();
  setGroup(2, 0, -1000.0, faces);
  const int expected = topCellOfColumn(11, Bkooj[Cbed[cellBehind(faces[faces.size() / 2])]]);
  EXPECT_EQ(computeSurfaceReferences(), expected);
  // Without a group the run stops.
  kSurf = 0;
  FlagDSO1 = -1;
  EXPECT_EXIT(computeSurfaceReferences(), ::testing::ExitedWithCode(255), "");
  EXPECT_TRUE(endsWith(readFile("boogie"),
                       "where X is the number of the discharge group of the outflow region\n\n"));
}

TEST_F(ReferenceLevels, ModifyWaterlevelSpreadsTheDownstreamRise) {
  channelAt(0.0);
  oldZvalDownstream = 1.0;
  GlobZRef = 1.2;
  iPres2 = 0;
  const double slot = secondSlotAt(11, 3);
  modifyWaterlevel();
  // Ten columns of 1 m: line i rises by 0.2 (i - 1) / 10, line 1 not at all.
  EXPECT_NEAR(levelAt(11, 3), 1.2, 1e-12);
  EXPECT_NEAR(levelAt(2, 3), 1.02, 1e-12);
  EXPECT_NEAR(levelAt(6, 1), 1.1, 1e-12);
  EXPECT_EQ(levelAt(1, 3), 1.0);
  EXPECT_EQ(secondSlotAt(11, 3), slot) << "only the level slot";
}
