// The near-bed concentration of the channel's bed cells under a bed shear of
// 0.5 Pa (one grain of 0.2 mm, 10 m of bed, the bottom cells' centres at
// 0.05 m, 0.5 m/s): the formulas of F 84 against their hand values, the
// limit, the exceedance factor, the cells that are not visited and the
// fraction reports.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "sediment/transport/near_bed_concentration.h"
#include "sediment/transport/sediment_channel.h"
#include "support/run_case.h"

namespace {

class NearBedFormulas : public SedimentChannel {
 protected:
  static void shearEverywhere(double tau) {
    load();
    for (int c = 1; c <= NoCells; ++c) {
      Ckinen[c] = tau / 300.0;
      Cxvel[c] = 0.5;
      Cyvel[c] = 0.0;
    }
    for (int b = 1; b <= NoBCells; ++b) {
      Ckdist[Bcellt[b]] = 0.05;
      BSedDistrib[1][0][b] = 10.0;
      BSedDistrib[1][1][b] = 1.0;
    }
  }
};

TEST_F(NearBedFormulas, FormulasAgainstHandValues) {
  shearEverywhere(0.5);
  // Formula 4, 0.053 times the stage 2.82797, meets the limit 0.1 of F 256.
  const double cR = 1.75497e-4, cB = 6.58312e-5;
  struct Row {
    int formula;
    double expected;
  };
  const Row rows[] = {{0, cR}, {1, cB}, {2, cR + cB}, {4, 0.1}, {10, 0.0}, {13, 0.0}};
  for (const Row &r : rows) {
    BedLoadFlag = r.formula;
    concRijn();
    for (int b = 1; b <= NoBCells; ++b) {
      ASSERT_NEAR(Bconc[1][b], r.expected, 5e-6 * r.expected + 1e-15) << "F 84 " << r.formula << ", bed cell " << b;
    }
    EXPECT_EQ(Bd90[1], 0.0002);
  }
  // The limit of F 256, and the exceedance factor of F 90 5.
  BedLoadFlag = 0;
  MaxBedConc = 1e-4;
  concRijn();
  EXPECT_EQ(Bconc[1][1], 1e-4);
  MaxBedConc = 0.1;
  FlagRoughness = 5;
  concRijn();
  // Phi((0.130618 / 0.5 - 1) / 0.45) = Phi(1.64170) = 0.949674.
  EXPECT_NEAR(Bconc[1][1], cR * 0.949674, 1e-5 * cR);
}

// F 84 7 on a sand bed without clay, d = d50: the sand value with grains
// below 1 mm counted as 1 mm, five times van Rijn's value.
TEST_F(NearBedFormulas, MixtureFormulaOnSand) {
  shearEverywhere(0.5);
  BedLoadFlag = 7;
  concRijn();
  for (int b = 1; b <= NoBCells; ++b) {
    ASSERT_NEAR(Bconc[1][b], 5.0 * 1.75497e-4, 5e-6 * 8.77487e-4) << "bed cell " << b;
  }
}

// F 320 and F 512 change k of the boundary bottom cells before the shear is
// taken, so the shear of those columns follows: an inflow face on the west
// side of one bottom cell and an outflow face on the east side of another.
TEST_F(NearBedFormulas, BoundaryFixesBeforeTheShear) {
  shearEverywhere(0.5);
  int west = 0, east = 0;
  for (int b = 1; b <= NoBCells; ++b) {
    const int c = Bcellt[b];
    if (Ccellw[c] == 0 && Cflatew[c] > 0 && west == 0) west = b;
    if (Ccelle[c] == 0 && Cflatee[c] > 0 && east == 0) east = b;
  }
  ASSERT_GT(west, 0);
  ASSERT_GT(east, 0);
  const int cw = Bcellt[west], ce = Bcellt[east];
  for (DischargeGroup &g : DischargeStruct) g.faceCount = 0;
  DischargeStruct[1].type = 1;
  DischargeStruct[1].faceCount = 1;
  DischargeStruct[1].faces[0] = Cflatew[cw];
  DischargeStruct[2].type = 0;
  DischargeStruct[2].faceCount = 1;
  DischargeStruct[2].faces[0] = Cflatee[ce];
  Ckinen[Ccelle[cw]] = 1.0 / 300.0;
  concRijn();
  const double plain = Bconc[1][east];
  EXPECT_EQ(Bconc[1][west], plain) << "without the data sets nothing changes";
  FlagZeroGradSedim = 1;
  outflowFixShear = 0.6;
  outflowFixDepth = 5.0;
  concRijn();
  EXPECT_EQ(Ckinen[cw], 1.0 / 300.0) << "k from the inward neighbour";
  EXPECT_NEAR(300.0 * Ckinen[ce], 1.1, 1e-12);
  EXPECT_GT(Bconc[1][west], plain);
  EXPECT_GT(Bconc[1][east], plain);
  for (DischargeGroup &g : DischargeStruct) g.faceCount = 0;
}

// F 60 1: the reference level max(3 d90, half the bed form, 0.01 h) = 0.01 m
// in 1 m of water, carried up to the centre at 0.05 m by the Rouse profile
// (Z = 2, F 110's limit): 3.23205e-5.
TEST_F(NearBedFormulas, ReferenceLevelAndProfile) {
  shearEverywhere(0.5);
  TSCbedrouse = 1;
  for (int b = 1; b <= NoBCells; ++b) {
    for (int c = Ccellt[Bcellt[b]]; c > 0; c = Ccellt[c]) Ckdist[c] = 0.45 / 8.0;
    Bedformheight[b] = 0.0;
  }
  concRijn();
  EXPECT_NEAR(Bconc[1][1], 3.23205e-5, 5e-6 * 3.23205e-5);
  // A bed form of 0.04 m lifts the level to 0.02 m.
  Bedformheight[1] = 0.04;
  concRijn();
  const double dfac = std::pow(1.65 * 9810000000000.0, 0.3333);
  const double atA = 0.015 * 0.0002 * std::pow(2.827968, 1.5) / (std::pow(dfac * 0.0002, 0.3) * 0.02);
  const double p = std::pow((0.95 / 0.05) * (0.02 / 0.98), 2.0);
  EXPECT_NEAR(Bconc[1][1], atA * p, 5e-6 * atA * p);
}

// Below the critical shear: nothing moves for van Rijn's formula, while the
// Engelund-Hansen formulas keep their value, except 8 and 9.
TEST_F(NearBedFormulas, BelowTheCriticalShear) {
  shearEverywhere(0.1);
  for (int formula : {0, 1, 2, 8, 9}) {
    BedLoadFlag = formula;
    concRijn();
    EXPECT_EQ(Bconc[1][1], 0.0) << "F 84 " << formula;
  }
  for (int formula : {6, 11}) {
    BedLoadFlag = formula;
    concRijn();
    EXPECT_GT(Bconc[1][1], 0.0) << "F 84 " << formula;
  }
  // The bed forms vanish where nothing moves.
  EXPECT_EQ(Bedformheight[1], 0.0);
}

// Engelund-Hansen with the depth-averaged speed equal to the bottom cell's
// (R = 1): 0.05 sqrt(d / (1.65 9.81)) (tau / (1.65 9810 d))^1.5 u / (2 z).
TEST_F(NearBedFormulas, EngelundHansen) {
  shearEverywhere(0.5);
  const double moving = 5.334075e-5;
  BedLoadFlag = 6;
  concRijn();
  EXPECT_NEAR(Bconc[1][1], moving, 1e-6 * moving);
  BedLoadFlag = 12;  // tau / tauc = 3.8 is above the slope factor 1
  concRijn();
  EXPECT_NEAR(Bconc[1][1], moving, 1e-6 * moving);
  // Formulas 9 and 11 rescale to the median grain's load with the
  // coefficient 0.05, whatever F 500 gives the sizes.
  EHcoeff = 0.025;
  BedLoadFlag = 6;
  concRijn();
  EXPECT_NEAR(Bconc[1][1], moving / 2.0, 1e-6 * moving);
  for (int formula : {9, 11}) {
    BedLoadFlag = formula;
    concRijn();
    EXPECT_NEAR(Bconc[1][1], moving, 1e-6 * moving) << "F 84 " << formula;
  }
}

// F 536 below the critical shear (0.190485 Pa at tau = 0.1 Pa): the value
// falls linearly from tauc to coeff tauc; with the coefficient 1 there is no
// band left and the value is 0, not a division by zero.
TEST_F(NearBedFormulas, EngelundHansenReducedBelowTheCriticalShear) {
  shearEverywhere(0.1);
  BedLoadFlag = 6;
  FlagReduceEH = 1;
  coeffReduceEH = 0.5;
  concRijn();
  EXPECT_NEAR(Bconc[1][1], 2.383250e-7, 1e-6 * 2.383250e-7);
  coeffReduceEH = 1.0;
  concRijn();
  EXPECT_EQ(Bconc[1][1], 0.0);
}

// Bed cells without cells and blocks outside the work keep their values.
TEST_F(NearBedFormulas, CellsNotVisited) {
  shearEverywhere(0.5);
  Bcellt[2] = 0;
  Bconc[1][2] = 7.0;
  Bd90[2] = 7.0;
  concRijn();
  EXPECT_EQ(Bconc[1][2], 7.0);
  EXPECT_EQ(Bd90[2], 7.0);
  EXPECT_GT(Bconc[1][3], 0.0);
  block[1].WorkFlag = 0;
  Bconc[1][3] = 7.0;
  concRijn();
  EXPECT_EQ(Bconc[1][3], 7.0);
}

// A fraction above 1.01 and fractions not summing to 1 are reported; the
// bed cell is computed with them as they are.
TEST_F(NearBedFormulas, FractionReports) {
  shearEverywhere(0.5);
  Iter = 12;
  BSedDistrib[1][1][1] = 1.5;
  BSedDistrib[0][1][1] = 1.0;
  BSedDistrib[0][0][1] = 0.25;
  BSedDistrib[1][1][2] = 0.5;
  const int c1 = Bcellt[1], c2 = Bcellt[2];
  concRijn();
  const std::string log = readFile("boogie");
  char expected[1024];
  std::snprintf(expected, sizeof expected,
                "Error 1 in concRijn: One size fraction is above unity\n"
                "At iteration 12, bed cell 1, cell %d, size 1, 2d index (%d,%d), Top=1\n"
                "BSedDistrib[1,1] = 1.500000 10.000000 1.000000 0.250000\n"
                "Error 2 in concRijn. Fractions do not sum up to unity but to 1.500000\n"
                "At iteration 12, bed cell 1, cell no %d, 2d cell no (%d,%d)\n"
                "BSedDistrib[1], size[1] = 1.500000 10.000000 1.000000 0.250000\n",
                c1, Bkooi[1], Bkooj[1], c1, Bkooi[1], Bkooj[1]);
  EXPECT_NE(log.find(expected), std::string::npos) << log;
  std::snprintf(expected, sizeof expected,
                "Error 2 in concRijn. Fractions do not sum up to unity but to 0.500000\n"
                "At iteration 12, bed cell 2, cell no %d, 2d cell no (%d,%d)\n",
                c2, Bkooi[2], Bkooj[2]);
  EXPECT_NE(log.find(expected), std::string::npos) << log;
  EXPECT_GT(Bconc[1][1], 0.0);
  EXPECT_GT(Bconc[1][2], 0.0);
}

// The mixture formula, the boundary adjustments of k, the bank factors and
// the bed cohesion run through letter I and end normally.
TEST(NearBedRoutines, DataSetsOfTheNearBedConcentration) {
  const char *runs[] = {"F 84 7\n", "F 320 1\n", "F 320 22\n", "F 512 5.0 0.5\n",
                        "F 214 2 10.0 1.0 1.0 1.0\nF 215 1 1.0\nF 216 1 10.0\nF 217 2 1.0 10.0\n", "F 385 1 1.0\n",
                        "F 330 1 0.0 5.0\n"};
  for (const char *control : runs) {
    const CaseResult result = runControl(std::string("F 2 I\n") + control);
    EXPECT_EQ(result.status, 1) << control << result.file("boogie");
    EXPECT_EQ(result.file("boogie").find("Error"), std::string::npos) << control << result.file("boogie");
  }
}

}  // namespace
