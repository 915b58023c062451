// Inflow boundary conditions on the channel: the discharges in use, the
// in/out marks and the inflow terms of the uniform, shaped, logarithmic and
// cyclic variants, and the outflow that closes the mass balance.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "flow/boundaries/boundary_conditions.h"
#include "flow/flow_fixture.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/control_tables.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/series.h"
#include "model/settings.h"
#include "model/side_tables.h"
#include "model/structured.h"

namespace {

class Boundary : public FlowFixture {
 protected:
  void SetUp() override {
    FlowFixture::SetUp();
    channel();
    in = upstreamFaces();
    out = downstreamFaces();
    ASSERT_EQ(in.size(), 36u);
    ASSERT_EQ(out.size(), 36u);
    setGroup(1, 1, 50000.0, in);
    DischargeStruct[1].area = 100.0;  // 500 kg/s per m2: 0.5 m/s
    DischargeStruct[1].inflowK = 0.01;
    DischargeStruct[1].inflowEpsilon = 0.002;
    setGroup(2, 0, 50000.0, out);
    clearCoefficients();
  }
  double sumCap() const {
    double sum = 0.0;
    for (int c = 1; c <= NoCells; ++c) sum += Cap[c];
    return sum;
  }
  std::vector<int> in, out;
};

TEST_F(Boundary, UniformInflowPerEquation) {
  struct Case {
    const char *name;
    int equation;
    int noImpulse;
    double value;  // the value the inflow carries, per unit of Fvx Fin for U
  } cases[] = {
      {"U", 1, 0, 0.5}, {"U without momentum (F 366)", 1, 1, 0.0}, {"W", 3, 0, 0.0},
      {"k", 5, 0, 0.01}, {"epsilon", 6, 0, 0.002},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    clearCoefficients();
    Equation = c.equation;
    FlagNoImpulse = c.noImpulse;
    boundary();
    for (int f : in) {
      const int cell = cellBehind(f);
      ASSERT_NEAR(Fvx[f] * Fin[f], 1.0, 1e-12);  // the flow enters along x
      EXPECT_NEAR(Cap[cell], 500.0 * Farea[f], 1e-9);
      EXPECT_NEAR(Csource[cell], 500.0 * Farea[f] * c.value, 1e-9);
      EXPECT_EQ(Cinout[cell], 1);
    }
    for (int f : out) {
      EXPECT_EQ(Cap[cellBehind(f)], 0.0);
      EXPECT_EQ(Cinout[cellBehind(f)], -2);
    }
    EXPECT_EQ(Cinout[150], 0);
    EXPECT_EQ(DischargeArray[1], 50000.0);
  }
}

TEST_F(Boundary, InflowGroupsWithoutPositiveDischarge) {
  Equation = 1;
  DischargeStruct[1].discharge = -10.0;  // a negative discharge turns the group into a marked, term-free one
  boundary();
  EXPECT_EQ(Cinout[cellBehind(in[0])], -1);
  EXPECT_EQ(sumCap(), 0.0);
  DischargeStruct[1].discharge = 0.0;  // no discharge: neither terms nor marks
  boundary();
  EXPECT_EQ(Cinout[cellBehind(in[0])], 0);
  EXPECT_EQ(sumCap(), 0.0);
}

TEST_F(Boundary, DischargeFromTheTimeSeries) {
  static double times[2] = {0.0, 3600.0};
  static double row0[10] = {0, 10.0, 3.0}, row1[10] = {0, 20.0, 3.0};
  static double *rows[2] = {row0, row1};
  TimeInTime = times;
  QDinn = rows;
  TimeInNo = 2;
  FlagDischargeTime = 1;
  Equation = 2;
  struct Case {
    double time, expected;
  } cases[] = {{900.0, 12500.0}, {3600.0, 20000.0}, {7200.0, 20000.0}};
  for (const Case &c : cases) {
    stimet = c.time;
    boundary();
    EXPECT_NEAR(DischargeArray[1], c.expected, 1e-6) << "at " << c.time << " s";
    EXPECT_NEAR(DischargeArray[2], 3000.0, 1e-9);
    EXPECT_EQ(DischargeStruct[1].discharge, 50000.0);  // the record keeps its value without F 435
  }
  // A single row holds its values.
  TimeInNo = 1;
  boundary();
  EXPECT_NEAR(DischargeArray[1], 10000.0, 1e-9);
}

TEST_F(Boundary, OutflowFromTheMassBalance) {
  DischargeStruct[2].discharge = 30000.0;
  struct Case {
    const char *name;
    int flag;
    double expected;
  } cases[] = {
      {"F 287 2 takes the balance", 2, 50000.0},
      {"F 287 3 lifts a smaller outflow", 3, 50000.0},
      {"F 287 4 keeps the smaller outflow", 4, 30000.0},
      {"F 287 0 leaves it", 0, 30000.0},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    FlagGlobFlux = c.flag;
    boundary();
    EXPECT_NEAR(DischargeArray[2], c.expected, 1e-9);
  }
  // A third group counted as an outflow (G 7) that takes more than flows in.
  DischargeStruct[3].discharge = 80000.0;
  IO[3].param[0] = 1;
  FlagGlobFlux = 2;
  boundary();
  EXPECT_EQ(DischargeArray[2], 0.0);
}

TEST_F(Boundary, OutflowStorageTerm) {
  for (int g = 1; g <= 9; ++g) DischargeArray[g] = 0.0;
  DischargeArray[1] = 50000.0;
  SurfVolDefect = 2.0;  // m3 taken out by the surface update
  TimeStep = 1e-20;     // steady, no water-level span: no storage term
  EXPECT_NEAR(computeOutflow(2), 50000.0, 1e-9);
  TimeStep = 10.0;
  EXPECT_NEAR(computeOutflow(2), 50000.0 + 1000.0 * 2.0 / 10.0, 1e-9);
  TimeStep = 1e-20;
  stimeWL1 = 100.0;
  stimeWL2 = 500.0;
  EXPECT_NEAR(computeOutflow(2), 50000.0 + 1000.0 * 2.0 / 400.0, 1e-9);
}

TEST_F(Boundary, CyclicInflowFromTheIterationOfF174) {
  FlagCyclic = 5;
  Equation = 1;
  for (int c = 1; c <= NoCells; ++c) Cxvel[c] = 0.2;
  for (int f : out) Cxvel[cellBehind(f)] = 0.6;
  struct Case {
    int iter;
    double value;  // per unit of Fvx Fin
  } cases[] = {{3, 0.5}, {5, 0.5}, {6, 0.4}};
  for (const Case &c : cases) {
    SCOPED_TRACE(c.iter);
    Iter = c.iter;
    clearCoefficients();
    boundary();
    for (int f : in) {
      const int cell = cellBehind(f);
      EXPECT_NEAR(Cap[cell], 500.0 * Farea[f], 1e-9);
      EXPECT_NEAR(Csource[cell], 500.0 * Farea[f] * c.value * Fvx[f] * Fin[f], 1e-9);
    }
  }
  // Paired faces pair up to the shorter list; the others take their own cell.
  DischargeStruct[2].faceCount = 10;
  clearCoefficients();
  boundary();
  const int paired = cellBehind(in[3]), alone = cellBehind(in[20]);
  EXPECT_NEAR(Csource[paired], Cap[paired] * 0.4 * Fvx[in[3]] * Fin[in[3]], 1e-9);
  EXPECT_NEAR(Csource[alone], Cap[alone] * 0.2 * Fvx[in[20]] * Fin[in[20]], 1e-9);
  EXPECT_EQ(Cinout[cellBehind(out[3])], -2);
  EXPECT_EQ(Cinout[cellBehind(out[20])], 0);
}

// The level of a cell in its column, 1 on the bed.
int levelOf(int c) {
  int level = 1;
  while (Ccellb[c] != 0) c = Ccellb[c], ++level;
  return level;
}

TEST_F(Boundary, CyclicProfileFromTheOutflow) {
  FlagCyclic = -2;
  Equation = 1;
  Iter = 200;
  for (size_t n = 0; n < out.size(); ++n) DischargeStruct[2].faceLevels[n] = levelOf(cellBehind(out[n]));
  for (int c = 1; c <= NoCells; ++c) {
    Cxvel[c] = 0.1 * levelOf(c) + (Cbed[c] % 2 ? 0.01 : 0.03);  // two columns each way at the outflow
    Ckinen[c] = 0.001;
    Cepsilon[c] = 0.0001;
  }
  // While the residual is large the paired inflow drives the flow.
  MaxResidual[4] = 0.5;
  boundary();
  EXPECT_EQ(FlagHaveInitiatedCyclic, 0);
  EXPECT_GT(Cap[cellBehind(in[0])], 0.0);

  MaxResidual[4] = 0.005;
  clearCoefficients();
  boundary();
  EXPECT_EQ(FlagHaveInitiatedCyclic, 1);
  EXPECT_EQ(NoCyclesDone, 1);
  double sum = 0.0;
  for (int c = 1; c <= NoCells; ++c) sum += std::fabs(Cap[c]) + std::fabs(Csource[c]);
  EXPECT_EQ(sum, 0.0);  // the profile now drives the flow through the boundary fluxes
  for (int level = 1; level <= 9; ++level) {
    EXPECT_NEAR(cyclicU[level], 0.1 * level + 0.02, 1e-12) << "level " << level;
    EXPECT_NEAR(cyclicK[level], 0.001, 1e-15);
  }
  EXPECT_NE(boogie().find("Cyclic values, stimet = 0.000000\nU, K, E (1) = 0.120000 0.001000 0.000100\n"),
            std::string::npos);
  // At most -F 174 profiles.
  boundary();
  boundary();
  EXPECT_EQ(NoCyclesDone, 2);
}

TEST_F(Boundary, ShapedAndLogarithmicProfilesCarryTheDischarge) {
  struct Case {
    const char *name;
    int shape, log;
  } cases[] = {{"shaped (F 524)", 1, 0}, {"logarithmic, one bed (F 202 1)", 0, 1}, {"logarithmic, own bed (F 202 2)", 0, 2}};
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    FlagShapeInflow = c.shape;
    FlagLogInflow = c.log;
    XksInflow = 0.01;
    Equation = 1;
    clearCoefficients();
    boundary();
    EXPECT_NEAR(sumCap(), 50000.0, 1e-6);
    // In the first column the rate per area grows with the height of the face.
    int bottom = cellBehind(in[0]);
    ASSERT_EQ(Ccellb[bottom], 0);
    int top = bottom;
    while (Ccellt[top] != 0) top = Ccellt[top];
    const double bottomRate = Cap[bottom] / Farea[Cflatew[bottom]], topRate = Cap[top] / Farea[Cflatew[top]];
    if (c.shape) {
      EXPECT_GT(bottomRate, 4 * topRate);
      EXPECT_NEAR(Cap[Ccellt[bottom]] / Farea[Cflatew[Ccellt[bottom]]], bottomRate, 1e-9);  // lower half: full rate
    } else {
      EXPECT_LT(bottomRate, topRate);
    }
    EXPECT_NEAR(Csource[top], Cap[top] * topRate * 0.001, 1e-9);
  }
}

TEST_F(Boundary, VerticalTestSourceOnExistingColumns) {
  SourceVarnel = 3.0;
  Equation = 3;
  boundary();
  int columns = 0;
  double sum = 0.0;
  for (int c = 1; c <= NoCells; ++c) sum += Csource[c];
  for (int i = 2; i <= xnumber; ++i) columns += zval[i][2][0] >= 1 ? 1 : 0;
  EXPECT_GT(columns, 0);
  EXPECT_NEAR(sum, 3.0 * columns, 1e-12);
  Equation = 1;
  clearCoefficients();
  setGroup(1, 1, 0.0, in);
  boundary();
  for (int c = 1; c <= NoCells; ++c) EXPECT_EQ(Csource[c], 0.0);
}

}  // namespace
