// The soil stress of the channel case (10 x 4 columns of nine cells of
// 1/9 m) taken as a soil body: displacements under its own weight, the
// stresses of the variants and the failure marks.
#include "bed/slides/soil_layer/soil_stress.h"

#include <gtest/gtest.h>

#include <vector>

#include "bed/bed_services.h"
#include "grid/column_grid.h"
#include "grid/geometry/gradients.h"
#include "grid/grid_fixture.h"
#include "grid/grid_services.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"
#include "model/work_ranges.h"
#include "startup/operations.h"
#include "support/run_case.h"

namespace {

class SoilStress : public GridFixture {
 protected:
  void SetUp() override {
    GridFixture::SetUp();
    readCaseGrid("channel", "F 248 1\nF 247 1e7 0.25\n");
    ASSERT_FALSE(HasFatalFailure());
    Unstructure();
    metric();
    BedMake();
    // The face fluxes only steer F 259 2; the flow's own routine needs a
    // flow set-up this test does not make.
    operations.waterflow = [](int, int) {};
    setWholeGridRange(NoCells, NoSurfaces);
  }
  void TearDown() override {
    operations = engineOperations();
    GridFixture::TearDown();
  }

  // The cells of column (i, j) from the bottom up.
  static std::vector<int> column(int i, int j) {
    std::vector<int> cells;
    for (int c = static_cast<int>(zval[i][j][0]); c > 0; c = Ccellt[c]) cells.push_back(c);
    return cells;
  }
};

// Variant 9 on a laterally uniform body: the vertical stress is the weight
// above, 9810 times the depth of the centre, and the horizontal stress
// nu (1 - nu^2) of it; their ratio 0.62025 marks no failure.
TEST_F(SoilStress, LithostaticStressUnderOwnWeight) {
  iterGlobalMax = 1500;
  computeSoilStress();
  const double nu = 0.25;
  for (int i : {2, 6, 11}) {
    for (int j : {2, 4}) {
      const std::vector<int> cells = column(i, j);
      ASSERT_EQ(cells.size(), 9u);
      for (int k = 1; k < 8; ++k) {  // the cells between bottom and top cell
        const int c = cells[k];
        const double depth = (8 - k + 0.5) / 9.0;
        EXPECT_NEAR(Cstress[2][c] / (-9810.0 * depth), 1.0, 1e-6) << i << " " << j << " level " << k;
        EXPECT_NEAR(Cstress[0][c] / Cstress[2][c], nu * (1.0 - nu * nu), 1e-6);
        EXPECT_NEAR(Cthixorat[c], 0.62025, 1e-5);
        EXPECT_EQ(Cthixolev[c], 0);
        EXPECT_NEAR(Cxvel[c], 0.0, 1e-12);
        EXPECT_NEAR(Cyvel[c], 0.0, 1e-12);
      }
      // The column sinks, most at the surface.
      EXPECT_LT(Czvel[cells[8]], Czvel[cells[0]]);
      EXPECT_LT(Czvel[cells[0]], 0.0);
    }
  }
}

TEST_F(SoilStress, NoIterationsLeaveZeros) {
  for (int c = 1; c <= NoCells; ++c) Czvel[c] = Cstress[2][c] = 5.0;
  iterGlobalMax = 0;
  computeSoilStress();
  for (int c = 1; c <= NoCells; ++c) {
    ASSERT_EQ(Czvel[c], 0.0);
    ASSERT_EQ(Cstress[2][c], 0.0);
  }
  EXPECT_DOUBLE_EQ(MModulus, 1e7 / 1.25);
  EXPECT_DOUBLE_EQ(LModulus, 1e7 * 0.25 / (0.5 * 1.25));
}

TEST_F(SoilStress, FailureMarks) {
  struct Row {
    double sx, sz, ratio;
    int mark;
  };
  const Row rows[] = {{-100.0, -100.0, 0.0, 0},        {-200.0, -100.0, 1.0 / 3.0, 0}, {50.0, 0.0, 1.0, 1},
                      {-110.0, 0.0, 1.0, 1},           {-100.0, 5.0, 105.0 / 95.0, 2}, {-100.0, 4.6, 104.6 / 95.4, 1}};
  WCStart = WCEnd = 1;
  for (const Row &r : rows) {
    Cstress[0][1] = r.sx;
    Cstress[2][1] = r.sz;
    soilFailureMarks();
    EXPECT_NEAR(Cthixorat[1], r.ratio, 1e-12) << r.sx << " " << r.sz;
    EXPECT_EQ(Cthixolev[1], r.mark) << r.sx << " " << r.sz;
  }
}

// The strain variants on one cell, displacements u = 0.001 x and w = 0.002 z.
TEST_F(SoilStress, StrainVariants) {
  for (int c = 1; c <= NoCells; ++c) {
    Cxvel[c] = 0.001 * Cxcenter[c];
    Czvel[c] = 0.002 * Czcenter[c];
  }
  const int c = column(6, 3)[4];
  const double ex = d_di_orth_xA(Cxvel, 1, c) / Cvol[c], ez = d_di_orth_xA(Czvel, 3, c) / Cvol[c];
  ASSERT_NEAR(ex, 0.001, 1e-9);
  ASSERT_NEAR(ez, 0.002, 1e-9);
  MModulus = 8e6;
  LModulus = 4e6;
  WCStart = WCEnd = c;
  FlagStressStrain = 4;
  soilNormalStresses();
  EXPECT_NEAR(Cstress[0][c], 20e6 * ex + 4e6 * ez, 1e-3);
  EXPECT_NEAR(Cstress[2][c], 20e6 * ez + 4e6 * ex, 1e-3);
  FlagStressStrain = 0;
  Cstress[4][c] = 0.5;
  soilNormalStresses();
  EXPECT_NEAR(Cstress[0][c], 8e6 * ex + 4e6 * 0.5, 1e-3);
  EXPECT_NEAR(Cstress[2][c], 8e6 * ez, 1e-3);
  // Variant 9 with the gradients at the centre, and the rows of the shear.
  FlagStressStrain = 9;
  Cstress[6][c] = 30.0;
  Cstress[5][c] = 60.0;
  soilNormalStresses();
  const double nu = PoissonRatio, E = EModulus;
  EXPECT_NEAR(Cstress[2][c], E / (1 - nu * nu) * 0.002, 1e-3);
  EXPECT_NEAR(Cstress[0][c], E / (1 - nu * nu) * 0.001 + E * nu * 0.002, 1e-3);
  EXPECT_NEAR(Cstress[4][c], 30.0 / Cstress[2][c], 1e-12);
  EXPECT_NEAR(Cstress[1][c], 60.0 / Cstress[2][c], 1e-12);
}

// The Lame modulus of the strain variants divides by 1 - 2 nu.
TEST_F(SoilStress, HalfPoissonRatioNeedsVariant9) {
  PoissonRatio = 0.5;
  FlagStressStrain = 4;
  iterGlobalMax = 0;
  EXPECT_EXIT(computeSoilStress(), ::testing::ExitedWithCode(251), "");
  EXPECT_TRUE(endsWith(boogie(), "Error for F 247 in control: a Poisson ratio of 0.5 needs F 259 9\n")) << boogie();
}

}  // namespace
