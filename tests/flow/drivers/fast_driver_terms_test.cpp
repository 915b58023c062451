// The fast flow driver's own terms on hand-built boxes: the inflow of the
// discharge groups in the five rows (plain and from a "timei" series), the
// residuals of the five rows and the pressure force of the momentum rows.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "flow/drivers/fast_inflow.h"
#include "flow/drivers/fast_residuals.h"
#include "flow/equation_terms/pressure_source.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/series.h"
#include "model/settings.h"
#include "model/work_ranges.h"
#include "turbulence/box_cells.h"

namespace {

// Boxes with the five-row arrays of the fast driver and the second-neighbour
// coefficients.
class FastDriverTerms : public BoxCells {
 protected:
  void SetUp() override {
    GridFixture::SetUp();
    FlagFastWatersolve = 1;
    sou[1] = 1;
    allocate(8, 4, 12, 400);
    sou[1] = 0;
  }

  static void presetRows(double value) {
    for (int l = 0; l < 5; ++l) {
      for (int c = 0; c <= NoCells; ++c) CinvApf[l][c] = Csourcem[l][c] = value;
    }
  }
};

// Two columns of two boxes of 1 x 1 x 0.5 m; group 1 flows in through the
// two west faces (1 m2 in all, normal turned to (0.8, 0.6)) with k 0.01 and
// epsilon 0.001, group 2 leaves through the east faces.
void twoGroups(double discharge) {
  BoxCells::build(2, 2, 1.0, 1.0, 0.5);
  DischargeGroup &in = DischargeStruct[1];
  in.type = 1;
  in.discharge = discharge;
  in.inflowK = 0.01;
  in.inflowEpsilon = 0.001;
  in.faceCount = 2;
  in.area = 1.0;
  DischargeGroup &out = DischargeStruct[2];
  out.type = 0;
  out.faceCount = 2;
  for (int k = 0; k < 2; ++k) {
    const int west = Cflatew[BoxCells::cell(0, k)], east = Cflatee[BoxCells::cell(1, k)];
    in.faces[k] = west;
    out.faces[k] = east;
    Fvx[west] = 0.8;
    Fvy[west] = 0.6;
    Fin[west] = 1;
    Fin[east] = -1;
  }
  for (int c = 1; c <= NoCells; ++c) Cinout[c] = 5;
}

TEST_F(FastDriverTerms, InflowOfTheGroups) {
  twoGroups(2000.0);
  presetRows(0.0);
  boundaryFast();
  // q = 2000 kg/s per m2: 1000 kg/s through each face of 0.5 m2 at 2 m/s.
  for (int k = 0; k < 2; ++k) {
    const int c = BoxCells::cell(0, k);
    for (int l = 0; l < 5; ++l) EXPECT_EQ(CinvApf[l][c], 1000.0) << "row " << l;
    EXPECT_NEAR(Csourcem[0][c], 0.8 * 2000.0, 1e-9);
    EXPECT_NEAR(Csourcem[1][c], 0.6 * 2000.0, 1e-9);
    EXPECT_EQ(Csourcem[2][c], 0.0) << "no inflow term for W";
    EXPECT_NEAR(Csourcem[3][c], 10.0, 1e-12);
    EXPECT_NEAR(Csourcem[4][c], 1.0, 1e-12);
    EXPECT_EQ(Cinout[c], 1);
    const int behind = BoxCells::cell(1, k);
    EXPECT_EQ(Cinout[behind], -2);
    for (int l = 0; l < 5; ++l) EXPECT_EQ(CinvApf[l][behind] + Csourcem[l][behind], 0.0) << "outflow row " << l;
  }
}

TEST_F(FastDriverTerms, InflowFromTheSeries) {
  // Two rows at 0 s and 100 s, read at 25 s: 3/4 of the first row.
  // The series tables outlive the test: the globals keep pointing at them.
  static double times[2] = {0.0, 100.0};
  static double row0[10] = {}, row1[10] = {};
  static double *rows[2] = {row0, row1};
  FlagDischargeTime = 1;
  TimeInNo = 2;
  TimeInTime = times;
  QDinn = rows;
  stimet = 25.0;
  struct Case {
    const char *name;
    double first, second;  // m3/s of group 1 at 0 s and 100 s
    double mass;           // kg/s through each face, -1 for none
  };
  const Case cases[] = {
      {"interpolated", 1.0, 3.0, 0.5 * 1500.0},
      {"negative: the group's own discharge", -1.0, -1.0, 0.5 * 2000.0},
      {"zero: the group is left out", 0.0, 0.0, -1.0},
  };
  for (const Case &k : cases) {
    twoGroups(2000.0);
    row0[1] = k.first;
    row1[1] = k.second;
    presetRows(0.0);
    boundaryFast();
    const int c = BoxCells::cell(0, 0);
    EXPECT_NEAR(CinvApf[4][c], std::max(k.mass, 0.0), 1e-9) << k.name;
    EXPECT_EQ(Cinout[c], k.mass < 0.0 ? 0 : 1) << k.name;
  }
}

// One column of three boxes, each row's equation a_t, a_b = 1 and Ap = 4,
// no source, all values 0 but one: the Jacobi change of every cell is what
// that value sends through the coefficients.
void residualColumn() {
  BoxCells::build(1, 3, 1.0, 1.0, 0.5);
  Equation = 1;
  for (int c = 1; c <= 3; ++c) {
    Cat[c] = Ccellt[c] ? 1.0 : 0.0;
    Cab[c] = Ccellb[c] ? 1.0 : 0.0;
    Catt[c] = c == 1 ? 0.5 : 0.0;  // cell 1 to cell 3
    for (int l = 0; l < 5; ++l) {
      CinvApf[l][c] = 0.25;
      Csourcem[l][c] = 0.0;
      Cff[l][c] = 0.0;
    }
  }
  for (int e = 1; e <= 6; ++e) NormResidual[e] = 2.0;
  MaxResidual[4] = 9.0;
}

TEST_F(FastDriverTerms, ResidualsOfTheFiveRows) {
  struct Case {
    const char *name;
    int valueCell, scheme;
    double sum;  // of |r| over the three cells of a free row
  };
  // Value 2 in cell 3: cell 2 changes by 2/4, cell 3 by -8/4, and cell 1 by
  // 0.5 x 2 / 4 only through its second neighbour.
  const Case cases[] = {{"first order", 3, 0, 2.5}, {"second neighbours", 3, 1, 2.75}, {"middle cell", 2, 1, 3.0}};
  for (const Case &k : cases) {
    residualColumn();
    sou[1] = k.scheme;
    for (int l = 0; l < 5; ++l) Cff[l][k.valueCell] = 2.0;
    // Epsilon fixed in the cell that holds the value: it adds nothing.
    CinvApf[4][k.valueCell] = 1e-30;
    residualFast();
    for (int e : {1, 2, 3, 5}) EXPECT_NEAR(MaxResidual[e], k.sum / 2.0, 1e-12) << k.name << ", equation " << e;
    EXPECT_NEAR(MaxResidual[6], (k.sum - 2.0) / 2.0, 1e-12) << k.name;
    EXPECT_EQ(MaxResidual[4], 9.0) << "left to the pressure stage";
  }
}

TEST_F(FastDriverTerms, ResidualWithoutNormaliserEndsTheRun) {
  residualColumn();
  NormResidual[3] = 1e-11;
  EXPECT_EXIT(residualFast(), ::testing::ExitedWithCode(251), "");
  EXPECT_NE(readFile("boogie").find("Error, residual not set for equation no. 3\n"), std::string::npos);
}

// Four columns of two boxes of 1 x 1 x 0.5 m with p = 100 x^2 + 9810 (1 - z):
// the central difference of x^2 over a cell is 2 x, the one-sided ones at
// the ends 2 x +- 1, and the second-order ones 2 x again.
TEST_F(FastDriverTerms, PressureForceOfTheMomentumRows) {
  for (int second : {0, 1}) {
    BoxCells::build(4, 2, 1.0, 1.0, 0.5);
    Seiche5 = second;
    for (int c = 1; c <= NoCells; ++c) Cpres[c] = 100.0 * Cxcenter[c] * Cxcenter[c] + 9810.0 * (1.0 - Czcenter[c]);
    presetRows(1.0);
    presSourceFast();
    const double area = 0.5;  // of an east or west face
    const double west = second ? 2.0 * 0.5 : 2.0, east = second ? 2.0 * 3.5 : 6.0;
    const double expected[4] = {west, 2.0 * 1.5, 2.0 * 2.5, east};
    for (int i = 0; i < 4; ++i) {
      for (int k = 0; k < 2; ++k) {
        const int c = BoxCells::cell(i, k);
        EXPECT_NEAR(Csourcem[0][c], 1.0 - 100.0 * expected[i] * area, 1e-9) << "column " << i << ", F 69 " << second;
        EXPECT_EQ(Csourcem[1][c], 1.0) << "no neighbours across: no force in y";
        // The vertical difference of 4905 Pa over the top face of 1 m2
        // carries the cell's weight.
        EXPECT_NEAR(Csourcem[2][c], 1.0 + 9810.0 * 0.5, 1e-9) << "column " << i;
      }
    }
  }
}

}  // namespace
