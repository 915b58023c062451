// The transport formulas of F 10 against hand values on a two-cell column:
// depth 1 m, cells 0.5 m high with speeds 0.5 and 1.0 m/s (U = 0.75 m/s),
// bed shear 300 k = 2.25 Pa, one grain of 0.2 mm falling at 0.025 m/s.
#include "sediment/transport/classic_formulas.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

#include "base/exit_codes.h"
#include "model/bed_cells.h"
#include "model/cells.h"
#include "model/settings.h"
#include "model/work_ranges.h"
#include "sediment/transport/tiny_grid.h"
#include "startup/control_reader.h"
#include "support/work_folder.h"

namespace {

void expectRelative(double got, double expected, double tolerance, const std::string &what) {
  EXPECT_NEAR(got, expected, tolerance * std::fabs(expected)) << what;
}

class ClassicFormulas : public WorkFolderTest {
 protected:
  void SetUp() override {
    WorkFolderTest::SetUp();
    kreadDefaults();
    lnumber = 1;
    gsize[1] = 0.0002;
    fallvelo[1] = 0.025;
    NoBedLayers = 2;
    grid_ = std::make_unique<TinyGrid>(2, 0, 1, 1);
    grid_->stack(1, 2);
    Ckdist[1] = Ckdist[2] = 0.25;
    Cxvel[1] = 0.5;
    Cxvel[2] = 1.0;
    Ckinen[1] = 2.25 / 300.0;
    Croughness[1] = 0.01;
    Bcellt[1] = 1;
    BlayerTop[1] = 1;
    BSedDistrib[1][1][1] = 1.0;
    BSedDistrib[1][0][1] = BSedDistrib[0][0][1] = 1.0;
    WBStart = WBEnd = 1;
  }
  void TearDown() override {
    grid_.reset();
    WorkFolderTest::TearDown();
  }

  // The column of the hand values with the profile integral of the grain.
  static FormulaColumn column() {
    FormulaColumn col{};
    col.h = 1.0;
    col.U = 0.75;
    col.ustar = std::sqrt(2.25 * 0.001);
    col.slope = 2.25 / 9810.0;
    col.tauG = 2.25;
    col.integral = rouseIntegral(1, 1.0, 0.025 / (0.4 * col.ustar));
    col.bottomFlow = 0.25;
    return col;
  }
  static FormulaGrain grain(const FormulaColumn &col) {
    return {0.0002, 0.025, 2.65, classicCriticalShear(0.0002, col.ustar, 2.65)};
  }

  std::unique_ptr<TinyGrid> grid_;
};

TEST_F(ClassicFormulas, ColumnValuesOfTheHandColumn) {
  const FormulaColumn col = column();
  expectRelative(col.ustar, 0.0474342, 1e-6, "u*");
  expectRelative(col.slope, 2.29358e-4, 1e-5, "slope");
  expectRelative(col.ustar * 0.0002 / 1e-6, 9.48683, 1e-6, "grain Reynolds number");
  const FormulaGrain g = grain(col);
  expectRelative(g.tauC, 0.111361, 5e-6, "critical shear of the curve");
  expectRelative(g.tauC / (1.65 * 9810.0 * 0.0002), 0.0343992, 5e-6, "critical Shields value");
  expectRelative(2.25 / (1000.0 * 9.81 * 1.65 * 0.0002), 0.695024, 1e-6, "mobility");
  expectRelative(0.025 / (0.4 * col.ustar), 1.31762, 1e-5, "Rouse number");
  expectRelative(col.integral, 0.277647, 5e-6, "profile integral");
  // F 11 with a coefficient above 0 fixes the Shields value.
  shieldscoeff = 0.047;
  expectRelative(classicCriticalShear(0.0002, col.ustar, 2.65), 0.047 * 1.65 * 9810.0 * 0.0002, 1e-12, "F 11");
}

TEST_F(ClassicFormulas, TransportRatesAndConcentrations) {
  const FormulaColumn col = column();
  const FormulaGrain g = grain(col);
  expectRelative(engelundHansenLoad(col, g), 5.72836e-5, 5e-6, "Engelund-Hansen load");
  expectRelative(meyerPeterMuellerLoad(col, g), 4.88658e-5, 5e-6, "Meyer-Peter-Mueller load");
  expectRelative(einsteinBrownLoad(col, g), 6.79560e-5, 5e-6, "Einstein-Brown load");
  expectRelative(ackersWhitePpm(col, g), 186.653, 5e-6, "Ackers-White X");
  expectRelative(yangPpm(col, g), 89.2820, 5e-6, "Yang Ct");
  expectRelative(shenHungPpm(col, g), 79.6785, 5e-5, "Shen-Hung Cs");
  struct Row {
    char letter;
    double conc;
  };
  // The ppm formulas carry their load with the water discharge U h.
  const Row rows[] = {{'E', 2.06318e-4}, {'M', 1.76000e-4}, {'I', 2.71824e-4},
                      {'A', 1.90264e-4}, {'Y', 9.10095e-5}, {'S', 8.12201e-5}};
  for (const Row &r : rows) {
    expectRelative(classicConcentration(r.letter, col, g, 1, 1), r.conc, 5e-5, std::string(1, r.letter));
  }
  // The same values through the whole bed-cell pass.
  for (const Row &r : rows) {
    SedimentFormula = r.letter;
    concEngelund();
    expectRelative(Bconc[1][1], r.conc, 5e-5, std::string("bed cell, ") + r.letter);
  }
  EXPECT_EQ(Bd90[1], 0.0002);
  EXPECT_EQ(readFile("boogie"), "");
}

TEST_F(ClassicFormulas, ThresholdsGiveNothing) {
  FormulaColumn col = column();
  FormulaGrain g = grain(col);
  // Below the critical shear Meyer-Peter-Mueller moves nothing.
  col.tauG = 0.1;
  EXPECT_EQ(meyerPeterMuellerLoad(col, g), 0.0);
  // A slow flow leaves Ackers-White's mobility below its start value and
  // Yang's stream power below the critical one.
  col = column();
  col.U = 0.05;
  EXPECT_EQ(ackersWhitePpm(col, g), 0.0);
  EXPECT_EQ(yangPpm(col, g), 0.0);
  // Grains below Dgr 1 are outside Ackers-White's range: logged, n = 1.
  g.d = 1e-5;
  col = column();
  EXPECT_GT(ackersWhitePpm(col, g), 0.0);
  EXPECT_EQ(readFile("boogie"), "Ackers/White formula not valid for this situation\n");
}

TEST_F(ClassicFormulas, StillWaterGivesNoConcentration) {
  Cxvel[1] = Cxvel[2] = 0.0;
  for (char letter : {'E', 'M', 'A', 'Y', 'S'}) {
    SedimentFormula = letter;
    Bconc[1][1] = 1.0;
    concEngelund();
    EXPECT_EQ(Bconc[1][1], 0.0) << letter;
  }
}

TEST_F(ClassicFormulas, EngelundAboveTheLimitIsReported) {
  FormulaColumn col = column();
  col.integral = 1e-5;
  const double c = classicConcentration('E', col, grain(col), 1, 7);
  EXPECT_GT(c, 2.65);
  const std::string log = readFile("boogie");
  EXPECT_EQ(log.rfind("Error Engelund Bconc(1,7) = ", 0), 0u) << log;
  EXPECT_NE(log.find("  engelund,konc,eqshear = "), std::string::npos) << log;
  EXPECT_NE(log.find("  velocity,slope,partfroude = "), std::string::npos) << log;
}

TEST_F(ClassicFormulas, EinsteinBrownWithoutFlowEndsTheRun) {
  FormulaColumn col = column();
  col.bottomFlow = 0.0;
  EXPECT_EXIT(classicConcentration('I', col, grain(col), 1, 1), ::testing::ExitedWithCode(kExitInputError & 255), "");
  EXPECT_NE(readFile("boogie").find("Einsteins formula not valid for this situation"), std::string::npos);
}

TEST_F(ClassicFormulas, D90ByClassCentres) {
  gsize[1] = 0.004;
  gsize[2] = 0.002;
  gsize[3] = 0.001;
  const double centres[] = {0.0, 0.1, 0.3, 0.6};
  EXPECT_DOUBLE_EQ(classicD90(centres, 3), 0.75 * 0.004 + 0.25 * 0.002);
  // At most 90 % finer than the coarsest class centre: the coarsest size.
  const double coarse[] = {0.0, 0.2, 0.8};
  EXPECT_EQ(classicD90(coarse, 2), 0.004);
  // All in the finest class: past 90 % only at the next coarser centre.
  const double fine[] = {0.0, 0.0, 0.0, 1.0};
  EXPECT_DOUBLE_EQ(classicD90(fine, 3), 0.8 * 0.002 + 0.2 * 0.001);
  // One size: its diameter.
  EXPECT_EQ(classicD90(fine, 1), 0.004);
}

TEST_F(ClassicFormulas, BedFormsAndRoughness) {
  // Stage (2.25 - 0.111361) / 0.111361 on the hand column.
  expectRelative(classicBedFormHeight(19.2045599, 1.0, 0.0002, 2.0), 0.0495175, 1e-5, "bed forms");
  EXPECT_EQ(classicBedFormHeight(25.5, 1.0, 0.0002, 2.0), 0.0);
  EXPECT_EQ(classicBedFormHeight(10.0, 1.0, 0.0002, 0.02), 0.01) << "half the two top layers";
  EXPECT_DOUBLE_EQ(classicBedFormHeight(10.0, 2e-5, 0.0002, 2.0), 3.0 * 2e-5) << "three depths";

  coeffRoughRijn = 3.0;
  XksWall = 0.05;
  const double d90 = 0.001, form = 0.2, h = 2.0;
  const double withForms = 0.003 + 1.1 * form * (1.0 - std::exp(-25.0 * form / (7.3 * h)));
  struct Row {
    int variant, rule;
    double thickness, roughness;
  };
  const Row rows[] = {
      {2, 0, 1.0, 0.003},    {2, 0, 0.0005, 0.05},  {2, 1, 1.0, 0.003},    {2, 1, 0.0005, 0.05},
      {3, 0, 1.0, withForms}, {6, 0, 1.0, withForms}, {4, 1, 1.0, withForms}, {5, 1, 0.0005, 0.05},
      {3, 0, 0.0009, 0.05},  {1, 0, 1.0, 7.0},       {3, 2, 1.0, 7.0},
  };
  for (const Row &r : rows) {
    FlagRoughness = r.variant;
    Flag2BedRoughness = r.rule;
    EXPECT_DOUBLE_EQ(classicBedRoughness(r.thickness, d90, form, h, 7.0), r.roughness)
        << "F 90 " << r.variant << ", F 103 " << r.rule << ", thickness " << r.thickness;
  }
  // A thin bed whose kc D exceeds the wall value takes kc D.
  XksWall = 0.001;
  FlagRoughness = 3;
  Flag2BedRoughness = 0;
  EXPECT_DOUBLE_EQ(classicBedRoughness(0.0009, d90, form, h, 7.0), 0.0027);
}

// F 90 4 and 5 move the grains with the grain shear of d90 against the
// cell's roughness; u* and the slope keep the full shear.
TEST_F(ClassicFormulas, GrainShearOfRoughBeds) {
  SedimentFormula = 'E';
  concEngelund();
  const double full = Bconc[1][1];
  Croughness[1] = 0.012;
  const double reduction = std::pow(3.0 * 0.0002 / 0.012, 0.25);
  for (int variant : {4, 5}) {
    FlagRoughness = variant;
    concEngelund();
    expectRelative(Bconc[1][1], full * std::pow(reduction, 1.5), 1e-12, "F 90 " + std::to_string(variant));
  }
  FlagRoughness = 3;
  concEngelund();
  EXPECT_EQ(Bconc[1][1], full);
}

TEST_F(ClassicFormulas, BedCellPassStoresFormsAndRoughness) {
  FlagRoughness = 3;
  Flag2BedRoughness = 0;
  coeffRoughRijn = 3.0;
  SedimentFormula = 'E';
  concEngelund();
  const double form = Bedformheight[1];
  expectRelative(form, 0.0495175, 5e-5, "bed-form height");
  EXPECT_DOUBLE_EQ(Broughness[1], 0.0006 + 1.1 * form * (1.0 - std::exp(-25.0 * form / 7.3)));
  // A bed cell without cells keeps its values.
  Bcellt[1] = 0;
  Bconc[1][1] = 9.0;
  concEngelund();
  EXPECT_EQ(Bconc[1][1], 9.0);
}

}  // namespace
