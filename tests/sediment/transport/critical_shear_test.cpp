// The critical shear of a bed cell on the channel: hiding in a mixture of
// three sizes (4, 2 and 1 mm) in the two-layer and the multi-layer bed, the
// slope factor on a tilted bed face and the cohesion terms.
#include <gtest/gtest.h>

#include <cmath>

#include "model/bed_cells.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "sediment/transport/critical_shear.h"
#include "sediment/transport/sediment_channel.h"

namespace {

const std::string kSizes = "G 1 13 7 11 3\nS 1 0.004 0.1\nS 2 0.002 0.05\nS 3 0.001 0.02\nF 11 2.65 0.047\n";
constexpr double kG = 0.047 * 1.65 * 9810.0;

class CriticalShearTest : public SedimentChannel {
 protected:
  // Fractions 0.1, 0.3, 0.6 in layer `layer` of bed cell 1, 1 m of bed below.
  static CriticalShearCell mixture(int layer) {
    const int b = 1;
    BSedDistrib[layer][1][b] = 0.1;
    BSedDistrib[layer][2][b] = 0.3;
    BSedDistrib[layer][3][b] = 0.6;
    BSedDistrib[layer][0][b] = 1.0;
    const double t = 2.0 * 0.25 / 0.9;
    return {b, Bcellt[b], layer, false, 1.0, t * 0.001 + (1.0 - t) * 0.002};
  }
  static double hiding(const CriticalShearCell &cell, int k) {
    return (criticalShear(cell, k, constantShieldsFactor()).tauC - 1e-20) / (kG * gsize[k]);
  }
};

TEST_F(CriticalShearTest, HidingInTheTwoLayerBed) {
  load(kSizes + "F 169 2 0.5\n");
  const CriticalShearCell cell = mixture(1);
  for (int k = 1; k <= 3; ++k) {
    EXPECT_NEAR(hiding(cell, k), std::sqrt(gsize[k] / cell.d50), 1e-9) << "option 2, size " << k;
  }
  FlagHideEx = 4;
  const double f[] = {0.0, 0.1, 0.3, 0.6};
  for (int k = 1; k <= 3; ++k) {
    const double d = gsize[k];
    double ph = 0.0, pe = 0.0;
    for (int i = 1; i <= 3; ++i) {
      ph += f[i] * d / (gsize[i] + d);
      pe += f[i] * gsize[i] / (gsize[i] + d);
    }
    EXPECT_NEAR(hiding(cell, k), std::sqrt(ph / pe), 1e-9) << "option 4, size " << k;
  }
  // One size hides behind nothing.
  lnumber = 1;
  EXPECT_NEAR(hiding(cell, 2), 1.0, 1e-12);
  FlagHideEx = 2;
  EXPECT_NEAR(hiding(cell, 2), 1.0, 1e-12);
}

// Layers 3 (0.1 m of 4 mm) and 2 (0.3 m of 1 mm) reach past F 106 0.2 m;
// layer 1 below them does not count.
TEST_F(CriticalShearTest, HidingInTheMultiLayerBed) {
  load(kSizes + "F 37 3\nF 134 4\nF 169 2 0.5\nF 106 0.2\n");
  const int b = 1;
  CriticalShearCell cell = mixture(1);
  BlayerTop[b] = 3;
  cell.layer = 3;
  const double layer[4][4] = {{0, 0, 0, 0}, {1.0, 0.0, 1.0, 0.0}, {0.3, 0.0, 0.0, 1.0}, {0.1, 1.0, 0.0, 0.0}};
  for (int n = 1; n <= 3; ++n) {
    for (int k = 0; k <= 3; ++k) BSedDistrib[n][k][b] = layer[n][k];
  }
  const double dmean = (0.1 * 0.004 + 0.3 * 0.001) / 0.4;
  for (int k = 1; k <= 3; ++k) EXPECT_NEAR(hiding(cell, k), std::sqrt(gsize[k] / dmean), 1e-9) << "size " << k;
  FlagHideEx = 4;
  for (int k = 1; k <= 3; ++k) {
    const double d = gsize[k];
    const double ph = 0.1 * d / (0.004 + d) + 0.3 * d / (0.001 + d);
    const double pe = 0.1 * 0.004 / (0.004 + d) + 0.3 * 0.001 / (0.001 + d);
    EXPECT_NEAR(hiding(cell, k), std::sqrt(ph / pe), 1e-9) << "option 4, size " << k;
  }
  // A column without layers above 0 has nothing to hide behind.
  BlayerTop[b] = 0;
  for (int option : {2, 4}) {
    FlagHideEx = option;
    EXPECT_NEAR(hiding(cell, 1), 1.0, 1e-12) << "option " << option;
  }
}

// A bed face tilted 30 degrees with the flow straight downslope: option 7
// gives K = 0.642067 where the bed is thicker than the largest grain.
TEST_F(CriticalShearTest, SlopeFactorOnTheBedCell) {
  load(kSizes + "F 274 1\n");
  const CriticalShearCell cell = mixture(1);
  const int fb = Cflateb[cell.c0];
  const double angle = 30.0 * 3.141592652 / 180.0;
  Fvx[fb] = std::sin(angle);
  Fvy[fb] = 0.0;
  Fvz[fb] = std::cos(angle);
  Cxvel[cell.c0] = 0.8;
  Cyvel[cell.c0] = 0.0;
  FlagBedslopeCorrection = 7;
  EXPECT_NEAR(hiding(cell, 2), 0.642067, 1e-6);
  EXPECT_NEAR(criticalShear(cell, 2, constantShieldsFactor()).k, 0.642067, 1e-6);
  // Even options act at banks only.
  FlagBedslopeCorrection = 8;
  EXPECT_NEAR(hiding(cell, 2), 1.0, 1e-12);
  CriticalShearCell bank = cell;
  bank.bank = true;
  EXPECT_NEAR(hiding(bank, 2), 0.642067, 1e-6);
  // A bed no thicker than the largest grain gets no slope correction.
  FlagBedslopeCorrection = 7;
  BSedDistrib[1][0][cell.b] = 0.003;
  BSedDistrib[0][0][cell.b] = 0.001;
  EXPECT_NEAR(hiding(cell, 2), 1.0, 1e-12);
  BSedDistrib[1][0][cell.b] = 1.0;
  // Options 1 and 2 take the column's own angles from "bedangle" into the
  // F 109 globals; flow straight downslope has no lateral tilt: K = 1.
  FlagBedslopeCorrection = 1;
  FlagBedAngles = 2;
  BrooksUp[cell.b] = 2.0;
  BrooksDown[cell.b] = 1.5;
  BrooksLimit[cell.b] = 0.3;
  EXPECT_NEAR(hiding(cell, 2), 1.0, 1e-12);
  EXPECT_EQ(BedCritTanSlopeUp, 2.0);
  EXPECT_EQ(BedCritTanSlopeDown, 1.5);
  EXPECT_EQ(BedCritMinDamp, 0.3);
}

// Option 1 with F 204: the angle averaged over 3 m of bed faces along the
// grid lines; with every bed face at 30 degrees and the flow straight
// downslope, K = cos 30 sqrt(1 - (0.78 tan 30)^2). Without F 204 the angle
// is scaled by the flow's cosine to the contour, here 0: K = 1.
TEST_F(CriticalShearTest, AveragedBedAngle) {
  load(kSizes);
  const CriticalShearCell cell = mixture(1);
  const double angle = 30.0 * 3.141592652 / 180.0;
  for (int c = 1; c <= NoCells; ++c) {
    if (Ccellb[c] != 0) continue;
    Fvx[Cflateb[c]] = std::sin(angle);
    Fvy[Cflateb[c]] = 0.0;
    Fvz[Cflateb[c]] = std::cos(angle);
  }
  Cxvel[cell.c0] = 0.8;
  Cyvel[cell.c0] = 0.0;
  FlagBedslopeCorrection = 1;
  EXPECT_NEAR(hiding(cell, 2), 1.0, 1e-9);
  sizeBedCritCorr = 3.0;
  const double tn = 0.78 * std::tan(angle);
  EXPECT_NEAR(hiding(cell, 2), std::cos(angle) * std::sqrt(1.0 - tn * tn), 1e-6);
}

TEST_F(CriticalShearTest, CohesionAndTheMixtureThreshold) {
  load(kSizes);
  CriticalShearCell cell = mixture(1);
  cohesive[2] = 0.5;
  BankCohesion = 0.3;
  const double plain = kG * 0.002 + 1e-20;
  EXPECT_NEAR(criticalShear(cell, 2, constantShieldsFactor()).tauC, plain + 0.5, 1e-12);
  cell.bank = true;
  EXPECT_NEAR(criticalShear(cell, 2, constantShieldsFactor()).tauC, plain + 0.8, 1e-12);
  // The mixture formula takes curve 0 at the median grain for every size.
  cell.bank = false;
  cohesive[2] = 0.0;
  BedLoadFlag = 7;
  const double re50 = std::sqrt(0.001 * cell.tau) * cell.d50 / 1e-6;
  EXPECT_NEAR(criticalShear(cell, 1, constantShieldsFactor()).tauC,
              shieldsParameter(0, re50) * cell.d50 * 1.65 * 9810.0 + 1e-20, 1e-12);
}

}  // namespace
