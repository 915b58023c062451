// The component source terms against hand values on a column of three
// cells (bottom 1, middle 2, top 3) of 2 m2 plan area and 1, 2 and 0.5 m
// height: V = 2000, 4000, 1000 and A = 2000 in the face-flux unit; the
// centres lie 3.0, 1.5 and 0.25 m below the surface.
#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <ostream>
#include <string>
#include <vector>

#include "grid/grid_fixture.h"
#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/control_tables.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/series.h"
#include "model/settings.h"
#include "model/work_ranges.h"
#include "quality/components/component_terms.h"
#include "quality/process_sources.h"

namespace {

constexpr double kV[4] = {0.0, 2000.0, 4000.0, 1000.0};
constexpr double kFix = 1e30;

// A record from its fields in table order: target, type, i1..i6, c1..c10;
// the fields not given are 0.
SourceTerm term(std::initializer_list<double> fields) {
  double v[18] = {};
  int k = 0;
  for (double f : fields) v[k++] = f;
  SourceTerm t{};
  int *ints[] = {&t.target, &t.type, &t.i1, &t.i2, &t.i3, &t.i4, &t.i5, &t.i6};
  for (int m = 0; m < 8; ++m) *ints[m] = static_cast<int>(v[m]);
  double *coefficients[] = {&t.c1, &t.c2, &t.c3, &t.c4, &t.c5, &t.c6, &t.c7, &t.c8, &t.c9, &t.c10};
  for (int m = 0; m < 10; ++m) *coefficients[m] = v[8 + m];
  return t;
}

class ThreeCellColumn : public GridFixture {
 protected:
  void SetUp() override {
    GridFixture::SetUp();
    NoComponents = 4;
    FlagBedCalc = 3;
    allocate(6, 6, 6, 50);
    NoCells = 3;
    NoSurfaces = 4;
    WCStart = 1;
    WCEnd = 3;
    const double height[4] = {0.0, 1.0, 2.0, 0.5};
    for (int c = 1; c <= 3; ++c) {
      Ccellb[c] = c - 1;
      Ccellt[c] = c < 3 ? c + 1 : 0;
      Cflateb[c] = c;
      Cflatet[c] = c + 1;
      Ckdist[c] = 0.5 * height[c];
      Cvol[c] = 2.0 * height[c];
    }
    for (int f = 1; f <= 4; ++f) Farea[f] = 2.0;
    NoBCells = 1;
    Bcellt[1] = 1;
    TimeStep = 10.0;
    TransInnerIter = 1;
    stimet = 10.0;
    setComponent(0, {1.0, 2.0, 4.0});
    setComponent(1, {0.5, 1.0, 2.0});
    setComponent(2, {3.0, 3.0, 3.0});
    setComponent(3, {1.0, 1.0, 1.0});
  }
  void TearDown() override {
    TimeInNo = 0;
    TimeInTime = nullptr;
    Irradi = AirTemp = nullptr;
    Winn = nullptr;
    GridFixture::TearDown();
  }

  static void setComponent(int n, std::vector<double> values) {
    for (int c = 1; c <= 3; ++c) Ccomp[n][c] = values[c - 1];
  }

  // One term in the table; component 0 is its target unless given.
  static void addTerm(SourceTerm t) { QTerms[NoTerms++] = t; }

  // The sources of component n assembled on cleared coefficients.
  static void assemble(int n = 0) {
    for (int c = 0; c <= 3; ++c) Cap[c] = Csource[c] = 0.0;
    Equation = 8 + n;
    CompSource();
  }

  // A one-row "timei" series: irradiance, air temperature and wind.
  void series(double irradiance, double air, double wind) {
    time_[0] = 0.0;
    irradiance_[0] = irradiance;
    air_[0] = air;
    windRow_[0] = wind;
    windRows_[0] = windRow_;
    TimeInNo = 1;
    TimeInTime = time_;
    Irradi = irradiance_;
    AirTemp = air_;
    Winn = windRows_;
  }

 private:
  double time_[1], irradiance_[1], air_[1], windRow_[3] = {}, *windRows_[1];
};

void expectSources(const std::vector<double> &expected, double tolerance = 1e-9) {
  for (int c = 1; c <= 3; ++c) {
    EXPECT_NEAR(Csource[c], expected[c - 1], tolerance * std::max(1.0, std::fabs(expected[c - 1]))) << "cell " << c;
  }
}

// ---- terms by cell class ------------------------------------------------------------------------

struct ClassCase {
  const char *name;
  SourceTerm term;
  std::vector<double> sources;  // cells 1, 2, 3
  friend void PrintTo(const ClassCase &c, std::ostream *os) { *os << c.name; }
};

class CellClassTerms : public ThreeCellColumn, public ::testing::WithParamInterface<ClassCase> {};

TEST_P(CellClassTerms, AddTheirHandValues) {
  addTerm(GetParam().term);
  assemble();
  expectSources(GetParam().sources);
  for (int c = 1; c <= 3; ++c) EXPECT_EQ(Cap[c], 0.0);
}

// (1 - 0.1)^(N dt - 1) with N = 1 and dt = 10 s.
const double kPerIteration = 0.1 * std::pow(0.9, 9.0);

INSTANTIATE_TEST_SUITE_P(
    Types, CellClassTerms,
    ::testing::Values(
        ClassCase{"top1001", term({0, 1001, 0, 0, 0, 0, 0, 0, 0.1}), {0, 0, 200}},
        ClassCase{"top1002_towards_i1", term({0, 1002, 1, 0, 0, 0, 0, 0, 0.1}), {0, 0, -400}},
        // An index equal to the component count, which its data set accepts,
        // reads zeros: the top cell relaxes towards 0.
        ClassCase{"top1002_index_past_the_components", term({0, 1002, 4, 0, 0, 0, 0, 0, 0.1}), {0, 0, -800}},
        ClassCase{"top1003", term({0, 1003, 1, 2, 0, 0, 0, 0, 0.1}), {0, 0, 1200}},
        ClassCase{"top1004", term({0, 1004, 1, 2, 0, 0, 0, 0, 0.1, 0.0}), {0, 0, 6000}},
        ClassCase{"top1012", term({0, 1012, 1, 0, 0, 0, 0, 0, 0.1}), {0, 0, 400}},
        ClassCase{"top1007_adds_nothing", term({0, 1007, 1, 0, 0, 0, 0, 0, 0.1}), {0, 0, 0}},
        ClassCase{"bed2001", term({0, 2001, 0, 0, 0, 0, 0, 0, 0.1}), {200, 0, 0}},
        ClassCase{"bed2002", term({0, 2002, 1, 0, 0, 0, 0, 0, 0.1}), {100, 0, 0}},
        ClassCase{"bed2003", term({0, 2003, 1, 2, 0, 0, 0, 0, 0.1}), {300, 0, 0}},
        ClassCase{"bed2004", term({0, 2004, 1, 2, 0, 0, 0, 0, 0.1, 0.0}), {6000, 0, 0}},
        ClassCase{"all1", term({0, 1, 0, 0, 0, 0, 0, 0, 0.1}),
                  {2000 * kPerIteration, 4000 * kPerIteration, 1000 * kPerIteration}},
        ClassCase{"all2", term({0, 2, 1, 0, 0, 0, 0, 0, 0.1}),
                  {1000 * kPerIteration, 4000 * kPerIteration, 2000 * kPerIteration}},
        ClassCase{"all3", term({0, 3, 1, 2, 0, 0, 0, 0, 0.1}), {300, 1200, 600}},
        ClassCase{"all4", term({0, 4, 1, 2, 0, 0, 0, 0, 0.1, 0.0}), {6000, 12000, 3000}},
        ClassCase{"all120", term({0, 120, 1, 0, 0, 0, 0, 0, 0.1, 1.0}), {200.0 / 3.0, 400, 800.0 / 3.0}},
        ClassCase{"all230", term({0, 230, 1, 2, 0, 0, 0, 0, 0.1, 1.0, 3.0}), {200.0 / 3.0, 400, 200}},
        ClassCase{"all340", term({0, 340, 1, 2, 3, 0, 0, 0, 0.1, 1.0, 3.0, 3.0}), {50, 200, 100}},
        ClassCase{"type5_adds_nothing", term({0, 5, 0, 0, 0, 0, 0, 0, 0.1}), {0, 0, 0}},
        ClassCase{"other_target_ignored", term({1, 1001, 0, 0, 0, 0, 0, 0, 0.1}), {0, 0, 0}}),
    [](const auto &info) { return std::string(info.param.name); });

// ---- the other terms of the source routine ------------------------------------------------------

// The bed shear 300 k = 3 Pa of the bottom cell against thresholds of 2 and 4 Pa.
TEST_F(ThreeCellColumn, BedErosionActsAboveItsThreshold) {
  Ckinen[1] = 0.01;
  addTerm(term({0, 2030, 0, 0, 0, 0, 0, 0, 2.0, 0.5, 1.5}));
  assemble();
  expectSources({0.5 * 2000 * 1.0, 0, 0});
  QTerms[0].c1 = 4.0;
  assemble();
  expectSources({0, 0, 0});
}

TEST_F(ThreeCellColumn, SurfaceExchangeOnTheTopCell) {
  Cgamma[3] = 0.5;
  addTerm(term({0, 1102, 0, 0, 0, 0, 0, 0, 10.0, 0.01}));
  assemble();
  expectSources({0, 0, 0.5 * 0.01 * 2000 * (10.0 - 4.0)});
}

// Upwards the flux stops at the surface; downwards the bed cell's flux
// leaves the water.
TEST_F(ThreeCellColumn, VerticalMovementRule) {
  addTerm(term({0, 11, 0, 0, 0, 0, 0, 0, 0.001}));
  assemble();
  expectSources({-2, 2 - 4, 4});  // fluxes 2, 4 and 8 (kept in the top cell)
  QTerms[0].c1 = -0.001;
  assemble();
  expectSources({-2 + 4, -4 + 8, -8});
  // 123: F = c1 A max(0, C1 Ct / (c1 + Ct)) in every cell, the same rule.
  QTerms[0] = term({0, 123, 1, 0, 0, 0, 0, 0, 0.5});
  const double f1 = 0.5 * 2000 * 0.5 * 1.0 / 1.5, f2 = 0.5 * 2000 * 1.0 * 2.0 / 2.5;
  assemble();
  expectSources({-f1, f1 - f2, f2});
}

// T_w = T_a: no convection; the radiation, back radiation and evaporation of
// I = 100, T = 10 deg C and W = 2 m/s.
TEST_F(ThreeCellColumn, HeatExchangeAtEqualTemperatures) {
  setComponent(0, {10.0, 10.0, 10.0});
  series(100.0, 10.0, 2.0);
  addTerm(term({0, 1060, 0, 0, 0, 0, 0, 0, 0.5, 0.9, 4.0, 0.2, 0.97, 1.5}));
  addTerm(term({1, 42}));  // makes the irradiance read
  assemble();
  expectSources({0, 0, -12596939556.012358});
}

TEST_F(ThreeCellColumn, HeatExchangeWithoutItsIrradianceWarnsOnce) {
  setComponent(0, {10.0, 10.0, 10.0});
  series(100.0, 10.0, 2.0);
  addTerm(term({0, 1060, 0, 0, 0, 0, 0, 0, 0.5, 0.9, 4.0, 0.2, 0.97, 1.5}));
  assemble();
  assemble();
  expectSources({0, 0, -12597039556.012358});
  const std::string log = boogie();
  const std::string line = "Warning: no irradiance is read from 'timei' for Q 1060\n";
  ASSERT_NE(log.find(line), std::string::npos) << log;
  EXPECT_EQ(log.find(line), log.rfind(line));
}

// The bed state of 2149 iterated from its stored values (two passes here).
TEST_F(ThreeCellColumn, IteratedBedExchangeConverges) {
  BQvar[0][1] = 1.0;  // s
  BQvar[1][1] = 0.2;  // a
  BQvar[2][1] = 0.3;  // b
  addTerm(term({0, 2149, 1, 1, 2, 0, 0, 0, 0.1, 0.5, 0.2, 2.0, 1.0, 0.0, 0.3, 1.5, 0.4}));
  assemble();
  EXPECT_NEAR(BQvar[1][1], 0.2495, 1e-12);
  EXPECT_NEAR(BQvar[2][1], 0.2756382454059272, 1e-12);
  EXPECT_NEAR(BQvar[0][1], 11.178427350682286, 1e-9);
  expectSources({-89.45802201227922, 0, 0});
}

TEST_F(ThreeCellColumn, IteratedBedExchangeRefusesAnIndexBeyondItsArrays) {
  addTerm(term({0, 2149, 1, 1, 2, 3, 0, 0, 0.1}));
  Equation = 8;
  EXPECT_EXIT(CompSource(), ::testing::ExitedWithCode(251), "");
  EXPECT_NE(boogie().find("Error for Q 2149: index 3 not below the F 79 count 3\n"), std::string::npos);
}

// A first-order loss of k c1 dt = -0.01 per step at C_t = 100: the cell loses
// (1 - e^-0.01) of its content per step whatever the inner iterations, and
// in a steady run the rate itself.
TEST_F(ThreeCellColumn, FirstOrderReactionsIntegrateTheWholeStep) {
  setComponent(0, {100.0, 100.0, 100.0});
  setComponent(1, {1.0, 1.0, 1.0});
  const double c1 = -0.01 / (kPerDayRate * 10.0);
  for (int type : {122, 121}) {
    NoTerms = 0;
    addTerm(term({0, static_cast<double>(type), 1, 0, 0, 0, 0, 0, c1, 0.0}));
    for (int inner : {1, 5}) {
      TransInnerIter = inner;
      assemble();
      for (int c = 1; c <= 3; ++c) EXPECT_NEAR(Csource[c], std::expm1(-0.01) * kV[c] * 100.0 / 10.0, 1e-9) << type;
    }
    TimeStep = 1e-20;
    TransInnerIter = 200;
    assemble();
    for (int c = 1; c <= 3; ++c) EXPECT_NEAR(Csource[c], kPerDayRate * c1 * kV[c] * 100.0, 1e-9) << type;
    TimeStep = 10.0;
  }
}

// ---- light ----------------------------------------------------------------------------------

// 6100 with one species: the cells hold I e^(-k depth), added as fixed values.
TEST_F(ThreeCellColumn, LightFallsExponentiallyWithTheCentreDepth) {
  series(50.0, 0.0, 0.0);
  addTerm(term({0, 6100, 1, 1, 0, 0, 0, 0, 0.1, 0.2}));  // k = 0.1 C1 + 0.2
  assemble();
  const double depth[4] = {0.0, 3.0, 1.5, 0.25}, c1[4] = {0.0, 0.5, 1.0, 2.0};
  for (int c = 1; c <= 3; ++c) {
    EXPECT_EQ(Cap[c], kFix);
    EXPECT_NEAR(Csource[c] / kFix, 50.0 * std::exp(-(0.1 * c1[c] + 0.2) * depth[c]), 1e-12) << c;
  }
  // A negative extinction is capped at the surface light; negative light is 0.
  QTerms[0].c2 = -1.0;
  assemble();
  for (int c = 1; c <= 3; ++c) EXPECT_NEAR(Csource[c] / kFix, 50.0, 1e-12) << c;
  series(-50.0, 0.0, 0.0);
  assemble();
  for (int c = 1; c <= 3; ++c) EXPECT_EQ(Csource[c], 0.0) << c;
}

// 151 takes negative light as it comes, 161 as darkness; both fix the
// density within 0.7..1.5, 282 within c7..c8.
TEST_F(ThreeCellColumn, ColonyDensityLimits) {
  setComponent(0, {1.0, 1.0, 1.0});
  series(-5.0, 0.0, 0.0);
  struct Case {
    SourceTerm term;
    double value;
  };
  const Case cases[] = {
      {term({0, 151, 0, 0, 0, 0, 0, 0, 0.0, 0.0, 0.001, 0.0, 1.0}), 1.05},   // 1 + 0.001 * 5 * 10
      {term({0, 161, 1, 0, 0, 0, 0, 0, 0.0, 0.0, 0.0, 0.001, 0.0, 1.0}), 1.0},
      {term({0, 151, 0, 0, 0, 0, 0, 0, 0.0, 0.0, 0.0, 1.0, 1.0}), 0.7},       // loses 10 per step
      {term({0, 151, 0, 0, 0, 0, 0, 0, 0.0, 0.0, 0.0, -1.0, 1.0}), 1.5},
      {term({0, 282, 1, 2, 0, 0, 0, 0, 0.0, 0.0, 0.0, 0.0, 1.0, 1.0, 0.95, 1.2}), 0.95},
      {term({0, 282, 1, 2, 0, 0, 0, 0, 0.0, 0.0, 0.0, 0.0, -1.0, 1.0, 0.8, 1.2}), 1.2},
  };
  for (const Case &k : cases) {
    NoTerms = 0;
    addTerm(k.term);
    assemble();
    for (int c = 1; c <= 3; ++c) {
      EXPECT_EQ(Cap[c], kFix);
      EXPECT_NEAR(Csource[c] / kFix, k.value, 1e-12) << "type " << k.term.type << " cell " << c;
    }
  }
}

// 132 takes the light at once when the step is longer than its time scale,
// otherwise follows it with the weight dt / c3.
TEST_F(ThreeCellColumn, SmoothedLightFollowsWithItsWeight) {
  series(40.0, 0.0, 0.0);
  addTerm(term({0, 132, 1, 0, 0, 0, 0, 0, 0.0, 0.0, 5.0}));  // no extinction, q = 2
  assemble();
  for (int c = 1; c <= 3; ++c) EXPECT_NEAR(Csource[c] / kFix, 40.0, 1e-12);
  QTerms[0].c3 = 40.0;  // q = 0.25
  const double held[4] = {0.0, 1.0, 2.0, 4.0};
  assemble();
  for (int c = 1; c <= 3; ++c) EXPECT_NEAR(Csource[c] / kFix, 0.25 * 40.0 + 0.75 * held[c], 1e-12);
}

// ---- loads and inflow ---------------------------------------------------------------------------

// An inflow group of 100 kg/s through a 2 m2 face into the middle cell:
// it counts once, with its M (or "timei") concentration of the component
// where it has one, otherwise with its own component's concentration. The
// water adds nothing to the diagonal: what leaves the cell is its centre
// coefficient's.
TEST_F(ThreeCellColumn, InflowGroupCountsOnce) {
  Fcell1[5] = 0;
  Fcell2[5] = 2;
  Farea[5] = 2.0;
  DischargeGroup &g = DischargeStruct[1];
  g.type = 1;
  g.faceCount = 1;
  g.faces[0] = 5;
  g.discharge = 100.0;
  g.area = 2.0;
  g.component = 0;
  g.concentration = 3.0;
  assemble(0);
  EXPECT_EQ(Cap[2], 0.0);
  EXPECT_NEAR(Csource[2], 300.0, 1e-9);
  assemble(1);  // neither the group's component nor an M entry
  EXPECT_EQ(Csource[2], 0.0);
  CompInflowNo = 2;
  CompInflow[1].order[0] = 0;
  CompInflow[1].conc[0] = 5.0;
  CompInflow[1].order[1] = 1;
  CompInflow[1].conc[1] = 7.0;
  for (int n : {0, 1}) {
    assemble(n);
    EXPECT_EQ(Cap[2], 0.0) << n;
    EXPECT_NEAR(Csource[2], 100.0 * (n == 0 ? 5.0 : 7.0), 1e-9) << n;
    EXPECT_EQ(Cap[1] + Cap[3] + Csource[1] + Csource[3], 0.0);
  }
  // From "timei": column 1 holds 6 at 0 s and 10 at 20 s; 8 at 10 s.
  double times[2] = {0.0, 20.0}, row0[2] = {0.0, 6.0}, row1[2] = {0.0, 10.0};
  double *rows[2] = {row0, row1};
  TimeInNo = 2;
  TimeInTime = times;
  Cinn = rows;
  assemble(1);
  EXPECT_NEAR(Csource[2], 800.0, 1e-9);
  Cinn = nullptr;
}

// A load of 50 spread over the top cell's 2 m2 in the first step of 10 s:
// 5 per second; later steps and steady runs get nothing, a steady run says so once.
TEST_F(ThreeCellColumn, SurfaceLoadsInTheFirstStepOnly) {
  SurfaceDischarge &load = SurfDischargeStruct[0];
  load.component = 0;
  load.cellCount = 1;
  load.cells[0] = 3;
  load.amount = 50.0;
  assemble();
  expectSources({0, 0, 5.0});
  stimet = 20.0;
  assemble();
  expectSources({0, 0, 0});
  TimeStep = 1e-20;
  stimet = 0.0;
  assemble();
  assemble();
  expectSources({0, 0, 0});
  const std::string line = "Warning: surface loads are applied in transient runs only\n";
  EXPECT_NE(boogie().find(line), std::string::npos);
  EXPECT_EQ(boogie().find(line), boogie().rfind(line));
}

// ---- growth and migration -----------------------------------------------------------------------

// 42 without extinction: the light 50 against the saturation 50 gives
// r = c3 (1 - 1/e) per day over the step of 10 s.
TEST_F(ThreeCellColumn, LightLimitedGrowth) {
  series(50.0, 0.0, 0.0);
  addTerm(term({0, 42, 0, 0, 0, 0, 0, 0, 0.0, 0.0, 2.0, 50.0}));
  assemble();
  const double r = 2.0 * (1.0 - std::exp(-1.0));
  const double held[4] = {0.0, 1.0, 2.0, 4.0};
  for (int c = 1; c <= 3; ++c) {
    EXPECT_NEAR(Csource[c], std::expm1(kPerDayRate * r * 10.0) * kV[c] * held[c] / 10.0, 1e-12) << c;
  }
}

// Colonies of 131 at 20 deg C: lighter than water they rise (the top cell
// keeps what reaches it), heavier they sink (the bed cell's flux leaves the
// water); large colonies move at most a cell height per step.
TEST_F(ThreeCellColumn, ColonyMigration) {
  const double nu = 1e-6 * std::exp(0.55234 - 0.026668 * 20.0);
  const double v = 0.1 * 0.545 / nu * 1e-8;  // rho 0.9, d 0.1 mm, phi 1
  setComponent(3, {0.9, 0.9, 0.9});
  addTerm(term({0, 131, 3, 0, 0, 0, 0, 0, 1e-4, 1.0, 20.0}));
  assemble();
  const double f1 = 1.0 * v * 2000, f2 = 2.0 * v * 2000;
  expectSources({-f1, f1 - f2, f2});
  QTerms[0].c1 = 1e-2;  // limited to 2 Ckdist / dt = 0.1, 0.2 and 0.05 m/s
  assemble();
  expectSources({-200, 200 - 800, 800});
  setComponent(3, {1.1, 1.1, 1.1});
  assemble();
  expectSources({-200 + 800, -800 + 400, -400});
}

}  // namespace
