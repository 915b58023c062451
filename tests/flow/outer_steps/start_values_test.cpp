// Start values of a flow computation: group areas, inflow k and epsilon,
// residual normalisers, the relaxation in use, the first field and the wall
// roughness, on the channel.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "flow/drivers/flow_drivers.h"
#include "flow/flow_fixture.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/control_tables.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"

namespace {

using StartValues = FlowFixture;

// One inflow group on two faces whose areas make up the group's area.
struct InflowCase {
  const char *name;
  double discharge;  // kg/s, 0 for no inflow group
  double area;       // m2
  double k, epsilon;
  double momentumNorm, massNorm;
};

TEST_F(StartValues, InflowValuesAndNorms) {
  const double k1 = 0.0025 * 0.5 * 0.5;
  const InflowCase cases[] = {
      {"half a metre per second", 100000.0, 200.0, k1, 0.8 * k1 * std::sqrt(k1 / 200.0), 0.1 + 100000.0 * 0.5, 100010.0},
      {"slow inflow", 1000.0, 200.0, 1e-6, 8e-7 * std::sqrt(1e-6 / 200.0), 0.1 + 1000.0 * 0.005, 1010.0},
      {"no inflow", 0.0, 200.0, 0.0001, 0.0001, 0.1, 10.0},
  };
  channel();
  for (const InflowCase &c : cases) {
    SCOPED_TRACE(c.name);
    FlagInitialized = 0;
    NormResidual[5] = 7.0;
    NormResidual[6] = 8.0;
    const std::vector<int> faces{1, 2};
    setGroup(1, 1, c.discharge, faces);
    Farea[1] = Farea[2] = c.area / 2;
    startup();
    if (c.discharge > 0) {
      EXPECT_NEAR(DischargeStruct[1].area, c.area, 1e-12);
      EXPECT_NEAR(DischargeStruct[1].inflowK, c.k, 1e-6 * c.k);
      EXPECT_NEAR(DischargeStruct[1].inflowEpsilon, c.epsilon, 1e-6 * c.epsilon);
      EXPECT_NEAR(NormResidual[5], c.massNorm * c.k, 1e-6 * c.massNorm * c.k);
      EXPECT_NEAR(NormResidual[6], c.massNorm * c.epsilon, 1e-6 * c.massNorm * c.epsilon);
      EXPECT_EQ(Fflagflow[1], 1);
      EXPECT_EQ(Fflagflow[2], 1);
    } else {
      EXPECT_EQ(NormResidual[5], 7.0);  // kept: nothing flows in
      EXPECT_EQ(NormResidual[6], 8.0);
    }
    for (int e = 1; e <= 3; ++e) EXPECT_NEAR(NormResidual[e], c.momentumNorm, 1e-2);
    EXPECT_DOUBLE_EQ(NormResidual[4], c.massNorm);
    // The first field carries the inflow's k and epsilon.
    EXPECT_NEAR(Ckinen[100], c.k, 1e-6 * c.k);
    EXPECT_NEAR(Cepsilon[100], c.epsilon, 1e-6 * c.epsilon);
  }
}

TEST_F(StartValues, FixedNormsOfF200) {
  channel();
  setGroup(1, 1, 100000.0, upstreamFaces());
  FlagNormSet = 2;
  NormVel = 3.0;
  NormPres = 4.0;
  NormK = 5.0;
  NormEps = 6.0;
  startup();
  EXPECT_EQ(NormResidual[1], 3.0);
  EXPECT_EQ(NormResidual[3], 3.0);
  EXPECT_EQ(NormResidual[4], 4.0);
  EXPECT_EQ(NormResidual[5], 5.0);
  EXPECT_EQ(NormResidual[6], 6.0);
  EXPECT_EQ(DischargeStruct[1].inflowK, 5.0);
}

struct RelaxCase {
  const char *name;
  double given[7];
  double velocity, inverse, pressure, k, epsilon;
};

TEST_F(StartValues, RelaxationClampedNotChanged) {
  const RelaxCase cases[] = {
      {"defaults", {0, 0.8, 0.8, 0.8, 0.2, 0.5, 0.5}, 0.8, 1.25, 0.2, 0.5, 0.5},
      {"too large", {0, 2.5, 0.8, 0.8, 2.0, 0.5, 3.0}, 0.001, 1000.0, 0.001, 0.5, 0.01},
      {"too small", {0, 0.001, 0.8, 0.8, 0.0005, 0.005, 0.01}, 0.001, 1000.0, 0.001, 0.01, 0.01},
  };
  channel();
  for (const RelaxCase &c : cases) {
    SCOPED_TRACE(c.name);
    for (int e = 1; e <= 6; ++e) relax[e] = c.given[e];
    startup();
    EXPECT_DOUBLE_EQ(relaxVelocity, c.velocity);
    EXPECT_DOUBLE_EQ(invRelaxVelocity, c.inverse);
    EXPECT_DOUBLE_EQ(relaxPressure, c.pressure);
    EXPECT_DOUBLE_EQ(relaxK, c.k);
    EXPECT_DOUBLE_EQ(relaxEpsilon, c.epsilon);
    EXPECT_EQ(relax[1], c.given[1]);
  }
}

TEST_F(StartValues, RelaxationLoggedOnTheFirstCallOnly) {
  channel();
  startup();
  FlagInitialized = 1;
  startup();
  const std::string log = boogie();
  const std::string line = "Relaxation: 0.800000 0.200000 0.500000 0.500000\n";
  ASSERT_NE(log.find(line), std::string::npos);
  EXPECT_EQ(log.find(line), log.rfind(line));
}

TEST_F(StartValues, WallRoughness) {
  struct Case {
    const char *name;
    double xksWall, manning, expected;
  } cases[] = {
      {"F 16 not given, W 1 50", -2.0, 50.0, 0.019770609664},
      {"F 16 0", 0.0, 50.0, 1e-5},
      {"F 16 0.1", 0.1, 50.0, 0.1},
  };
  channel();
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    XksWall = c.xksWall;
    ManningInit = c.manning;
    startup();
    EXPECT_NEAR(XksWall, c.expected, 1e-12);
    EXPECT_NEAR(Croughness[1], c.expected, 1e-12);
    EXPECT_NEAR(Croughness[NoCells], c.expected, 1e-12);
  }
}

TEST_F(StartValues, TheLastG18SetStartsTheField) {
  channel();
  UInitNo = 2;
  UInit[1] = UInitEntry{{0, 1, 1, 1, 1, 1, 1}};
  UInit[2] = UInitEntry{{0, 0.3, -0.2, 0.01, 0, 0.004, 0.0005}};
  for (int c = 0; c <= NoCells; ++c) Cpres[c] = 77.0;
  startup();
  for (int c : {1, 180, 360}) {
    EXPECT_EQ(Cxvel[c], 0.3);
    EXPECT_EQ(Cyvel[c], -0.2);
    EXPECT_EQ(Czvel[c], 0.01);
    EXPECT_EQ(Ckinen[c], 0.004);
    EXPECT_EQ(Cepsilon[c], 0.0005);
    EXPECT_EQ(Cpres[c], 77.0);  // a pressure of 0 is not a start value
  }
}

TEST_F(StartValues, HydrostaticStartPressureAndAKeptField) {
  channel();
  FlagGravity = 1;
  startup();
  // The bottom cell of a column of nine cells of 1/9 m lies 17/18 m deep.
  int bottom = 1;
  while (Ccellb[bottom] != 0) bottom = Ccellb[bottom];
  int top = bottom;
  while (Ccellt[top] != 0) top = Ccellt[top];
  EXPECT_NEAR(Cpres[top], 9810.0 / 18.0, 1e-6);
  EXPECT_NEAR(Cpres[bottom], 9810.0 * 17.0 / 18.0, 1e-6);

  // A later call keeps the field the run has computed.
  FlagInitialized = 1;
  Cxvel[5] = 0.7;
  startup();
  EXPECT_EQ(Cxvel[5], 0.7);
}

}  // namespace
