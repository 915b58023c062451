// The boundary discharges in the pressure-correction source, on hand-built
// cells behind boundary faces: every distribution rule against shares worked
// by hand, the order in which the rules are chosen, and the roughness stand-in.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "flow/boundaries/boundary_fluxes.h"
#include "flow/drivers/flow_drivers.h"
#include "grid/column_grid.h"
#include "grid/grid_fixture.h"
#include "grid/grid_services.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/side_tables.h"
#include "startup/control_reader.h"

namespace {

class BoundaryFluxes : public GridFixture {
 protected:
  void SetUp() override {
    GridFixture::SetUp();
    allocate(4, 4, 4, 200);
    NoCells = 20;
    for (int c = 1; c <= NoCells; ++c) {
      Czcenter[c] = 0.5;
      Ckdist[c] = 0.5;
      Cjdist[c] = 0.5;
    }
  }

  // Face f at the east end of the grid, behind it cell c, in group g:
  // outward normal +x, so a positive Cxvel leaves the grid.
  static void eastFace(int g, int f, int c, double area) {
    Fcell1[f] = c;
    Fcell2[f] = 0;
    Farea[f] = area;
    Fax[f] = area;
    Fvx[f] = 1.0;
    Fin[f] = -1;
    DischargeGroup &group = DischargeStruct[g];
    group.faces[group.faceCount++] = f;
    group.area += area;
  }

  // A group of one face per cell 1..n with the given areas.
  static void group(int g, int type, int kind, const std::vector<double> &areas, int firstCell = 1) {
    DischargeStruct[g].type = type;
    DischargeStruct[g].boundaryKind = kind;
    for (size_t m = 0; m < areas.size(); ++m) {
      const int c = firstCell + static_cast<int>(m);
      eastFace(g, 100 + c, c, areas[m]);
    }
  }
};

// Uniform share by area: added by an inflow group, withdrawn by an outflow
// group of kind 0 and by a group of another type with kind 0.
TEST_F(BoundaryFluxes, UniformShareByArea) {
  struct Case {
    int type, kind;
    double first, second;
  };
  const Case cases[] = {{1, 0, 100.0, 300.0}, {0, 0, -100.0, -300.0}, {2, 0, -100.0, -300.0},
                        {2, 1, 0.0, 0.0},     {0, 2, 0.0, 0.0}};
  for (const Case &k : cases) {
    SCOPED_TRACE("type " + std::to_string(k.type) + " kind " + std::to_string(k.kind));
    DischargeStruct[3] = DischargeGroup{};
    Csource[1] = Csource[2] = 0.0;
    group(3, k.type, k.kind, {1.0, 3.0});
    DischargeArray[3] = 400.0;
    boundaryFluxes();
    EXPECT_NEAR(Csource[1], k.first, 1e-9);
    EXPECT_NEAR(Csource[2], k.second, 1e-9);
  }
}

// Zero gradient: the outflow follows each cell's outgoing velocity flux.
TEST_F(BoundaryFluxes, ZeroGradientFollowsOutgoingSpeeds) {
  group(2, 0, 1, {1.0, 1.0});
  DischargeArray[2] = 400.0;
  Cxvel[1] = 1.0;
  Cxvel[2] = 3.0;
  boundaryFluxes();
  EXPECT_NEAR(Csource[1], -100.0, 1e-6);
  EXPECT_NEAR(Csource[2], -300.0, 1e-6);

  Csource[1] = Csource[2] = 0.0;
  Cxvel[1] = -1.0;
  Cxvel[2] = -3.0;
  boundaryFluxes();
  EXPECT_EQ(Csource[1], 0.0);
  EXPECT_EQ(Csource[2], 0.0);
}

// The rating outflow scales the discharge by r^0.25, r held in 0.3 .. 3; the
// factor is continuous at both ends. One face of 1 m2 whose cell is 1 m wide
// gives r = 1000 sqrt(9.81) / Qg.
TEST_F(BoundaryFluxes, RatingFactorIsContinuous) {
  FlagTFS = 1;
  FlagSurfDownstream = 1;
  group(2, 0, 0, {1.0});
  const double wave = 1000.0 * std::sqrt(9.81);
  struct Case {
    double r, factor;
  };
  const Case cases[] = {{0.1, 0.74}, {0.3, 0.740083}, {1.0, 1.0}, {3.0, 1.316074}, {30.0, 1.316}};
  for (const Case &k : cases) {
    SCOPED_TRACE("r " + std::to_string(k.r));
    DischargeStruct[2].discharge = wave / k.r;
    Csource[1] = 0.0;
    boundaryFluxes();
    EXPECT_NEAR(-Csource[1] / DischargeStruct[2].discharge, k.factor, 1e-6);
  }
}

// The critical-depth rule: a deep (subcritical) section withdraws at least
// each face's uniform share, a shallow one at most.
TEST_F(BoundaryFluxes, CriticalDepthBoundsTheUniformShare) {
  FlagSurfPresDownstream = 3;
  group(2, 0, 0, {1.0, 1.0});
  DischargeArray[2] = 2000.0;  // v = 1 m/s over 2 m2
  Cxvel[1] = 0.5;
  Cxvel[2] = 2.0;
  // Deep: 1 m against v^2/g = 0.1 m.
  boundaryFluxes();
  EXPECT_NEAR(Csource[1], -1000.0, 1e-6);
  EXPECT_NEAR(Csource[2], -2000.0, 1e-6);
  // Shallow: 0.05 m.
  Csource[1] = Csource[2] = 0.0;
  for (int c : {1, 2}) Ckdist[c] = 0.025, Czcenter[c] = 0.025;
  boundaryFluxes();
  EXPECT_NEAR(Csource[1], -500.0, 1e-6);
  EXPECT_NEAR(Csource[2], -1000.0, 1e-6);
  // No cell on the bed: the uniform share.
  Csource[1] = Csource[2] = 0.0;
  Ccellb[1] = Ccellb[2] = 5;
  boundaryFluxes();
  EXPECT_NEAR(Csource[1], -1000.0, 1e-6);
  EXPECT_NEAR(Csource[2], -1000.0, 1e-6);
}

// The downstream-level rule compares the mean top level with Hout.
TEST_F(BoundaryFluxes, DownstreamLevelDecidesTheBound) {
  FlagSurfPresDownstream = 4;
  group(2, 0, 0, {1.0, 1.0});
  DischargeArray[2] = 2000.0;
  Cxvel[1] = 0.5;
  Cxvel[2] = 2.0;
  Hout = 0.5;  // tops at 1 m lie above
  boundaryFluxes();
  EXPECT_NEAR(Csource[1] + Csource[2], -3000.0, 1e-6);
  Csource[1] = Csource[2] = 0.0;
  Hout = 1.5;
  boundaryFluxes();
  EXPECT_NEAR(Csource[1] + Csource[2], -1500.0, 1e-6);
}

// The inflow table shares group 1's own discharge by the table's velocities,
// a new row for every column (met at its top cell); without "inflow" the
// time discharge is shared uniformly.
TEST_F(BoundaryFluxes, InflowTableUsesTheGroupDischarge) {
  group(1, 1, 0, {1.0, 1.0});
  Ccellt[1] = 0;  // the top cell of the column
  Ccellt[2] = 1;
  DischargeStruct[1].faceLevels[0] = 2;
  DischargeStruct[1].faceLevels[1] = 1;
  DischargeStruct[1].discharge = 400.0;
  DischargeArray[1] = 999.0;
  inflowj = 2;
  inflowk = 3;
  inflowu[2][3] = 3.0;
  inflowu[2][2] = 1.0;
  boundaryFluxes();
  EXPECT_NEAR(Csource[1], 300.0, 1e-9);
  EXPECT_NEAR(Csource[2], 100.0, 1e-9);

  Csource[1] = Csource[2] = 0.0;
  inflowj = 0;
  boundaryFluxes();
  EXPECT_NEAR(Csource[1], 499.5, 1e-9);
  EXPECT_NEAR(Csource[2], 499.5, 1e-9);
}

// An inflow group whose discharge in use is not positive takes neither the
// shaped nor the logarithmic profile: group 1 falls to the inflow table.
TEST_F(BoundaryFluxes, NoProfileWithoutPositiveDischarge) {
  FlagShapeInflow = 1;
  FlagLogInflow = 1;
  XksInflow = 0.05;
  group(1, 1, 0, {1.0, 1.0});
  Ccellt[1] = 0;
  Ccellt[2] = 1;
  DischargeStruct[1].faceLevels[0] = 2;
  DischargeStruct[1].faceLevels[1] = 1;
  DischargeStruct[1].discharge = 400.0;
  inflowj = 2;
  inflowk = 3;
  inflowu[2][3] = 3.0;
  inflowu[2][2] = 1.0;
  for (double q : {0.0, -400.0}) {
    SCOPED_TRACE(q);
    Csource[1] = Csource[2] = 0.0;
    DischargeArray[1] = q;
    boundaryFluxes();
    EXPECT_NEAR(Csource[1], 300.0, 1e-9);
    EXPECT_NEAR(Csource[2], 100.0, 1e-9);
  }
}

// The shaped inflow: full weight in the lower half, falling to 0 at the top.
TEST_F(BoundaryFluxes, ShapedInflowFallsToTheTop) {
  FlagShapeInflow = 1;
  group(2, 1, 0, {1.0, 1.0, 1.0, 1.0});
  const double centres[4] = {0.125, 0.375, 0.625, 0.875};  // a column of four 0.25 m cells
  for (int c = 1; c <= 4; ++c) Czcenter[c] = centres[c - 1], Ckdist[c] = 0.125;
  DischargeArray[2] = 300.0;  // weights 1, 1, 0.75, 0.25
  boundaryFluxes();
  EXPECT_NEAR(Csource[1], 100.0, 1e-9);
  EXPECT_NEAR(Csource[2], 100.0, 1e-9);
  EXPECT_NEAR(Csource[3], 75.0, 1e-9);
  EXPECT_NEAR(Csource[4], 25.0, 1e-9);
}

// The logarithmic inflow: weights ln(30 (z - zb) / ks), never below 1e-7.
TEST_F(BoundaryFluxes, LogWeightsNeverBelowTheFloor) {
  FlagLogInflow = 1;
  XksInflow = 0.05;
  group(2, 1, 0, {1.0, 2.0});
  Czcenter[2] = 0.001;
  Ckdist[2] = 0.001;  // 30 * 0.001 / 0.05 = 0.6: ln < 0
  DischargeArray[2] = 100.0;
  boundaryFluxes();
  const double w1 = std::log(30.0 * 0.5 / 0.05), w2 = 1e-7;
  const double sum = w1 * 1.0 + w2 * 2.0;
  EXPECT_NEAR(Csource[1], 100.0 * w1 / sum, 1e-9);
  EXPECT_DOUBLE_EQ(Csource[2], 100.0 * w2 * 2.0 / (sum + 1e-30));
  EXPECT_GT(Csource[2], 0.0);
}

// With F 202 = 2 every column measures from its own bed: the faces are met
// from the last to the first, each column's bed cell first.
TEST_F(BoundaryFluxes, LogProfileFromEachColumnsBed) {
  FlagLogInflow = 2;
  XksInflow = 0.05;
  group(2, 1, 0, {1.0, 1.0, 1.0, 1.0});
  // Two columns listed top cell first: cells 1 (top), 2 (bed) on a bed at 0;
  // cells 3 (top), 4 (bed) on a bed at 1.
  const double z[4] = {1.5, 0.5, 2.5, 1.5};
  for (int c = 1; c <= 4; ++c) Czcenter[c] = z[c - 1];
  Ccellb[1] = 2;
  Ccellb[3] = 4;
  DischargeArray[2] = 100.0;
  boundaryFluxes();
  EXPECT_NEAR(Csource[1], Csource[3], 1e-9);
  EXPECT_NEAR(Csource[2], Csource[4], 1e-9);
  EXPECT_NEAR(Csource[1] / Csource[2], std::log(900.0) / std::log(300.0), 1e-9);
}

// A roughness of 0 on F 202 takes the wall roughness, said once in the log.
TEST_F(BoundaryFluxes, ZeroInflowRoughnessTakesTheWallRoughness) {
  FlagLogInflow = 1;
  XksInflow = 0.0;
  XksWall = 0.1;
  group(2, 1, 0, {1.0, 1.0});
  Czcenter[2] = 0.25;
  Ckdist[2] = 0.25;
  DischargeArray[2] = 100.0;
  boundaryFluxes();
  boundaryFluxes();
  const double w1 = std::log(30.0 * 0.5 / 0.1), w2 = std::log(30.0 * 0.25 / 0.1);
  EXPECT_NEAR(Csource[1] / Csource[2], w1 / w2, 1e-9);
  const std::string line = "Warning: F 202 roughness is not positive, the wall roughness 0.100000 m is used\n";
  const std::string log = boogie();
  ASSERT_NE(log.find(line), std::string::npos) << log;
  EXPECT_EQ(log.find(line), log.rfind(line)) << log;
}

// The cyclic rules: the profile of "cyclic" shapes the inflow by level, the
// cyclic outflow withdraws by the profile's outgoing flux.
TEST_F(BoundaryFluxes, CyclicProfileAndOutflow) {
  FlagCyclic = 1;
  FlagHaveReadCyclic = 1;
  group(2, 1, 0, {1.0, 1.0});
  DischargeStruct[2].faceLevels[0] = 1;
  DischargeStruct[2].faceLevels[1] = 2;
  DischargeStruct[2].discharge = 300.0;
  cyclicU[1] = 1.0;
  cyclicU[2] = 2.0;
  boundaryFluxes();
  EXPECT_NEAR(Csource[1], 100.0, 1e-9);
  EXPECT_NEAR(Csource[2], 200.0, 1e-9);

  Csource[1] = Csource[2] = 0.0;
  FlagCyclic = -1;
  FlagHaveInitiatedCyclic = 1;
  DischargeStruct[2].type = 0;
  DischargeArray[2] = 300.0;
  boundaryFluxes();
  EXPECT_NEAR(Csource[1], -100.0, 1e-9);
  EXPECT_NEAR(Csource[2], -200.0, 1e-9);
}

// The recirculation start pairs the faces of groups 1 and 2; a face of group
// 1 without a partner uses its own cell's velocity.
TEST_F(BoundaryFluxes, RecirculationPairsTheGroups) {
  FlagCyclic = 1;
  Iter = 5;
  group(1, 1, 0, {1.0, 1.0, 1.0}, 1);
  group(2, 0, 2, {1.0}, 4);  // kind 2: group 2 itself withdraws nothing
  DischargeStruct[1].discharge = 600.0;
  Cxvel[1] = 1.0;
  Cxvel[4] = 3.0;  // pair (1, 4): 2 m/s
  Cxvel[2] = 1.0;  // unpaired: 1 m/s
  Cxvel[3] = -1.0; // unpaired, inward: 0.0001
  boundaryFluxes();
  const double sum = 2.0 + 1.0 + 0.0001;
  EXPECT_NEAR(Csource[1], 600.0 * 2.0 / sum, 1e-9);
  EXPECT_NEAR(Csource[2], 600.0 * 1.0 / sum, 1e-9);
  EXPECT_NEAR(Csource[3], 600.0 * 0.0001 / sum, 1e-9);
  EXPECT_EQ(Csource[4], 0.0);
  // Before the iteration of F 174 the inflow table (here: uniform) is used.
  for (int c = 1; c <= 4; ++c) Csource[c] = 0.0;
  Iter = 1;
  DischargeArray[1] = 600.0;
  boundaryFluxes();
  EXPECT_NEAR(Csource[3], 200.0, 1e-9);
}

// The surface-following outflow lets out what each cell carries, never in.
TEST_F(BoundaryFluxes, SurfaceFollowingOutflow) {
  FlagTFS = 17;
  FlagSurfDownstream = 3;
  group(2, 0, 0, {2.0, 2.0});
  Cxvel[1] = 0.5;
  Cxvel[2] = -0.5;
  boundaryFluxes();
  EXPECT_NEAR(Csource[1], -1000.0, 1e-9);
  EXPECT_EQ(Csource[2], 0.0);
}

// On a multigrid level the shares go to the level's cell, two steps up.
TEST_F(BoundaryFluxes, LevelCellsTakeTheShares) {
  static int links[21][5];
  static int *rows[21];
  for (int c = 0; c <= 20; ++c) rows[c] = links[c];
  MGSCpoint = rows;
  links[1][0] = 10, links[10][0] = 15;
  links[2][0] = 11, links[11][0] = 16;
  MGSGrid = 3;
  group(1, 1, 1, {1.0, 3.0});  // an inflow group is shared uniformly whatever its kind
  DischargeArray[1] = 400.0;
  boundaryFluxes();
  EXPECT_NEAR(Csource[15], 100.0, 1e-9);
  EXPECT_NEAR(Csource[16], 300.0, 1e-9);
  EXPECT_EQ(Csource[1] + Csource[2] + Csource[10] + Csource[11], 0.0);

  // Zero gradient: the sum from the faces' own cells, the shares from the level's.
  Csource[15] = Csource[16] = 0.0;
  DischargeStruct[1].faceCount = 0;
  group(2, 0, 1, {1.0, 1.0});
  DischargeArray[2] = 400.0;
  Cxvel[1] = 1.0;
  Cxvel[2] = 3.0;
  Cxvel[15] = Cxvel[16] = 1.0;
  boundaryFluxes();
  EXPECT_NEAR(Csource[15], -100.0, 1e-9);
  EXPECT_NEAR(Csource[16], -100.0, 1e-9);
  MGSCpoint = nullptr;
}

}  // namespace

// The end groups that setFluxes generates on the channel, with "F 263 2 1":
// the downstream group withdraws by zero gradient instead of uniformly.
TEST_F(GridFixture, GeneratedOutflowTakesTheKindOfF263) {
  generateCase(CaseGrid::Channel);
  ControlStream control("F 314 1 1\nF 263 2 1\n");
  kreadPass(control);
  setFluxes();
  metric();
  const DischargeGroup &g = DischargeStruct[2];
  ASSERT_GT(g.faceCount, 1);
  EXPECT_EQ(g.boundaryKind, 1);
  for (int c = 1; c <= NoCells; ++c) Cxvel[c] = 1.0;
  const int fast = Fcell1[g.faces[0]] ? Fcell1[g.faces[0]] : Fcell2[g.faces[0]];
  Cxvel[fast] = 3.0;
  DischargeArray[2] = 400.0;
  DischargeStruct[1].faceCount = 0;
  for (int c = 1; c <= NoCells; ++c) Csource[c] = 0.0;
  boundaryFluxes();
  double total = 0.0;
  for (int c = 1; c <= NoCells; ++c) total += Csource[c];
  EXPECT_NEAR(total, -400.0, 1e-6);
  const int slow = Fcell1[g.faces[1]] ? Fcell1[g.faces[1]] : Fcell2[g.faces[1]];
  EXPECT_NEAR(Csource[fast] / Csource[slow], 3.0 * Farea[g.faces[0]] / Farea[g.faces[1]], 1e-6);
}
