// The variant builders (threaded power law, fixed-weight second order), the
// deferred-correction limiters and the bed-form diffusion against values
// worked by hand on rows of hand-wired cells.
#include <gtest/gtest.h>

#include <cmath>

#include "model/bed_cells.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "solvers/coefficient_variants.h"
#include "solvers/coefficients.h"
#include "solvers/hand_cells.h"

namespace {

class Variants : public HandCellsTest {
 protected:
  void SetUp() override {
    HandCellsTest::SetUp();
    sou[1] = 1;  // with the second-neighbour rows
    allocateCells(6);
    Equation = 1;
    TDCvert = TDChoriz = 1.0;
    TurbulenceModel = 0;
    TurbDensFlag = 0;
  }
};

// Two cells, eddy viscosity 5, one face of 2 m2 with centres 1 m apart: D 10.
void twoCells(bool vertical, double flux) {
  for (int c = 1; c <= 2; ++c) Cgamma[c] = CgammaV[c] = 5.0;
  if (vertical) {
    stackColumn(1, 2);
    setFace(1, {1, 2, 6, 5, 2.0, 0.5, 0.5, flux});
  } else {
    linkEast(1, 2);
    setFace(1, {1, 2, 2, 4, 2.0, 0.5, 0.5, flux});
  }
}

TEST_F(Variants, ThreadedPowerLawDampsVerticalDiffusionTwice) {
  // Pe chosen so that the power-law factor A is 0.5.
  const double flux = 100.0 * (1.0 - std::pow(0.5, 0.2));
  sou[1] = 0;  // coeff_make by the power law
  twoCells(true, flux);
  coeff_make(1, 1);
  const double make = Cat[1];
  coeff_make_pow(1, 1);
  EXPECT_NEAR(make, 5.0, 1e-9);
  EXPECT_NEAR(Cat[1], 0.5 * make, 1e-12);
  EXPECT_NEAR(Cab[2], flux + 0.5 * make, 1e-12);
  // Horizontal faces: the same diffusion from both builders.
  twoCells(false, 0.0);
  coeff_make(1, 1);
  const double horizontal = Cae[1];
  coeff_make_pow(1, 1);
  EXPECT_DOUBLE_EQ(Cae[1], horizontal);
  EXPECT_DOUBLE_EQ(Cae[1], 10.0);
}

TEST_F(Variants, ThreadedPowerLawBoundaryAndSideCodes) {
  twoCells(false, 7.0);
  Cae[1] = 9.0;
  setFace(1, {1, 0, 2, 0, 2.0, 0.5, 0.5, 7.0});
  coeff_make_pow(1, 1);
  EXPECT_EQ(Cae[1], 0.0);  // no convective part at a boundary face
  // A south side code on Fcell1 is logged; the other side still gets its value.
  setFace(1, {1, 2, 1, 4, 2.0, 0.5, 0.5, 7.0});
  coeff_make_pow(1, 1);
  EXPECT_DOUBLE_EQ(Caw[2], 17.0);
  EXPECT_NE(boogie().find("Error in coefficient1 computation, surface 1, cells 1 2, type 1, area 2.000000\n"), std::string::npos) << boogie();
}

// An east row 1-2-3-4, D 10 on every face; face 1 joins 2 and 3.
void row(double flux, bool farCell) {
  for (int c = 1; c <= 4; ++c) Cgamma[c] = CgammaV[c] = 5.0;
  linkEast(1, 2);
  linkEast(2, 3);
  if (farCell) linkEast(3, 4);
  else Ccelle[3] = 0;
  setFace(1, {2, 3, 2, 4, 2.0, 0.5, 0.5, flux});
}

TEST_F(Variants, FixedWeightSecondOrder) {
  struct Row {
    const char *name;
    double flux;
    bool far;
    int fold;
    double ae, aee, aw, aww;  // Cae, Caee of 2; Caw, Caww of 3
  };
  const Row rows[] = {
      {"westward with a far cell", -2.0, true, 0, 13.0, -1.0, 10.0, 0.0},
      {"westward without one", -2.0, false, 0, 12.0, 0.0, 10.0, 0.0},
      {"eastward", 2.0, true, 0, 10.0, 0.0, 13.0, -1.0},
      {"folded by F 362 1", -2.0, true, 1, 12.0, 0.0, 10.0, 0.0},
      {"F 362 2 keeps the second neighbours", -2.0, true, 2, 13.0, -1.0, 10.0, 0.0},
  };
  for (const Row &r : rows) {
    row(r.flux, r.far);
    FlagSetPow = r.fold;
    coeff_make_sou2(1, 1);
    EXPECT_DOUBLE_EQ(Cae[2], r.ae) << r.name;
    EXPECT_DOUBLE_EQ(Caee[2], r.aee) << r.name;
    EXPECT_DOUBLE_EQ(Caw[3], r.aw) << r.name;
    EXPECT_DOUBLE_EQ(Caww[3], r.aww) << r.name;
  }
}

TEST_F(Variants, FixedWeightSecondOrderOppositeFace) {
  // Cell 2 loses 4 kg/s through its west face: half of it enters Cae[2].
  row(-2.0, true);
  Cflatew[2] = 2;
  setFace(2, {1, 2, 2, 4, 2.0, 0.5, 0.5, -4.0});
  coeff_make_sou2(1, 1);
  EXPECT_DOUBLE_EQ(Cae[2], 15.0);
}

TEST_F(Variants, FixedWeightSecondOrderRefusesImpossibleSides) {
  row(-2.0, true);
  setFace(1, {2, 3, 4, 4, 2.0, 0.5, 0.5, -2.0});
  EXPECT_EXIT(coeff_make_sou2(1, 1), ::testing::ExitedWithCode(179), "");
  EXPECT_NE(boogie().find("Error in coefficient1 computation, surface 1, cells 2 3, type 4, area 2.000000\n"), std::string::npos) << boogie();
  setFace(1, {2, 3, 2, 6, 2.0, 0.5, 0.5, -2.0});
  EXPECT_EXIT(coeff_make_sou2(1, 1), ::testing::ExitedWithCode(178), "");
}

TEST(DeferredLimiters, ClosedForms) {
  struct Row {
    int scheme;
    double r, psi;
  };
  const Row rows[] = {
      {15, 0.25, 0.5}, {15, 0.75, 1.0}, {15, 1.5, 1.5}, {15, 3.0, 2.0}, {15, -1.0, 0.0},
      {13, -3.0, 0.0}, {14, -1.0, 0.0}, {13, 1.0, 1.0}, {14, 1.0, 1.0},
      {10, 1.0, 1.0},  {11, 0.0, 0.3333335}, {12, 0.1, 0.2}, {12, 10.0, 4.0},
      {16, 0.5, 0.5},  {16, 2.0, 1.0}, {17, -5.0, 1.0}, {18, 1.0, 0.0},
      {19, 0.1, 0.2},  {19, 1.0, 1.0}, {19, 4.0, 2.0}, {9, 1.0, 0.0}, {20, 1.0, 0.0},
  };
  for (const Row &r : rows)
    EXPECT_NEAR(deferredLimiter(r.scheme, r.r), r.psi, 1e-12) << r.scheme << " at " << r.r;
}

TEST_F(Variants, DeferredCorrectionOfOneFace) {
  // Cells 1-2-3 east; face 1 joins 2 and 3 with 4 kg/s eastward, so U = 2,
  // UU = 1 (behind Fcell1), D = 3.
  linkEast(1, 2);
  linkEast(2, 3);
  setFace(1, {2, 3, 2, 4, 1.0, 0.5, 0.5, 4.0});
  Fcell11[1] = 1;
  Fcell22[1] = 0;
  Cxvel[1] = 1.0;
  Cxvel[2] = 2.0;
  Cxvel[3] = 2.5;
  // Scheme 17: face value 1.5 * 2 - 0.5 * 1 = 2.5, half a difference above U.
  sou[1] = 17;
  Csource[2] = Csource[3] = 0.0;
  coeff_make_source(1, 1);
  EXPECT_DOUBLE_EQ(Csource[2], -4.0 * 0.5);
  EXPECT_DOUBLE_EQ(Csource[3], 4.0 * 0.5);
  // Scheme 15 at r = 0.5: psi 1, the same correction.
  sou[1] = 15;
  Csource[2] = Csource[3] = 0.0;
  coeff_make_source(1, 1);
  EXPECT_DOUBLE_EQ(Csource[3], 2.0);
  // Westward flow has no cell behind Fcell2: no correction.
  Fflux[1] = -4.0;
  Csource[2] = Csource[3] = 0.0;
  coeff_make_source(1, 1);
  EXPECT_EQ(Csource[2], 0.0);
  EXPECT_EQ(Csource[3], 0.0);
}

TEST_F(Variants, SettlingMakesTheCellAboveUpwind) {
  // Column 1-2-3 (bottom to top); face 1 between 2 (below, Fcell1) and 3.
  stackColumn(1, 3);
  setFace(1, {2, 3, 6, 5, 1.0, 0.5, 0.5, 0.0});
  Faz[1] = 1.0;
  Fcell11[1] = 1;
  Fcell22[1] = 4;
  Ccellt[3] = 4;
  Equation = 7;
  sou[7] = 17;
  grainsize_number = 1;
  fallvelo[1] = 0.01;
  for (int c = 1; c <= 4; ++c) Cconc[1][c] = c;  // 1, 2, 3, 4 upwards
  Csource[2] = Csource[3] = 0.0;
  coeff_make_source(1, 1);
  // F = -10: U = 3, UU = 4, dd = -1; corr = -10 * 0.5 * -1 = 5.
  EXPECT_DOUBLE_EQ(Csource[2], -5.0);
  EXPECT_DOUBLE_EQ(Csource[3], 5.0);
}

TEST_F(Variants, BedFormDiffusion) {
  twoCells(false, 0.0);
  Cxvel[1] = 1.0;
  Cxvel[2] = 3.0;
  Cyvel[1] = Cyvel[2] = 0.0;
  Cbed[1] = 1;
  Cbed[2] = 2;
  Bedformheight[1] = 0.2;
  Bedformheight[2] = 0.4;
  Bdepth[1] = 1.0;
  Bdepth[2] = 2.0;
  RBedformsmooth = 0.5;
  // U = 2: mode 1 gives 1000 * 2 * 0.5 * 2 = 2000; mode 3 that times 0.5 * 0.6 / 3.
  const double expected[] = {0.0, 2000.0, 2000.0, 200.0, 200.0, 0.0};
  for (int mode = 0; mode <= 5; ++mode) {
    FlagRBedformsmooth = mode;
    EXPECT_NEAR(coeff_bedform(1, 1, 2), expected[mode], 1e-9) << mode;
  }
  // Modes 2 and 4 only next to a bed cell.
  Ccellb[1] = 3;
  Ccellb[2] = 4;
  FlagRBedformsmooth = 2;
  EXPECT_EQ(coeff_bedform(1, 1, 2), 0.0);
  FlagRBedformsmooth = 1;
  EXPECT_NEAR(coeff_bedform(1, 1, 2), 2000.0, 1e-9);
  // Vertical faces get none.
  Ftype1[1] = 6;
  EXPECT_EQ(coeff_bedform(1, 1, 2), 0.0);
}

}  // namespace
