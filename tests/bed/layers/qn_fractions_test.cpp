// The bed balance on grids of independently layered columns, by hand on one
// column: the listed neighbours of a side, the two-layer update with its
// top-up of a thin active layer, erosion beyond layer 0, the booking of a
// clipped size, the end on a negative active layer and the layer stack.
#include "bed/layers/qn_fractions.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "bed/layers/bed_layer_fixture.h"
#include "model/bed_cells.h"
#include "model/cells.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/work_ranges.h"
#include "support/run_case.h"

namespace {

constexpr int kB = 7;   // the bed cell
constexpr int kC = 10;  // its bottom cell

class QNFractions : public BedLayerFixture {
 protected:
  // One column of 4 m2 on a QN grid with `sizes` grain sizes.
  static void column(int sizes, int layers = 2, bool multiLayer = false) {
    QNFlag = 1;
    allocateBed(sizes, layers, multiLayer);
    WBStart = WBEnd = kB;
    Bcellt[kB] = kC;
    Barea[kB] = 4.0;
    TimeStep = 10.0;
    SolidFrac = 0.5;
    density = 2.65;
  }

  // Bsource giving the bed change dz (m) of size k with no suspension.
  static void change(int k, double dz) { Bsource[k][kB] = dz / (0.001 * TimeStep / (SolidFrac * Barea[kB])); }

  static void layers(double t0, double t1, std::initializer_list<double> f0, std::initializer_list<double> f1) {
    setTwoLayers(kB, t0, t1, f0, f1);
  }
};

// Without lists the five-neighbour balance of the two-layer bed: 0.02 kg/s
// from the north gives 1e-4 m. Two listed east cells add 3 x 0.01 and 5 x
// 0.02. One size changes no layer.
TEST_F(QNFractions, ListedNeighboursAddToTheBalance) {
  column(1);
  layers(1.0, 0.05, {1.0}, {1.0});
  Ccelln[kC] = 11;
  Can[kC] = 2.0;
  Cconc[1][11] = 0.01;
  morphology_QNfractions(0.05);
  EXPECT_NEAR(Bedmove[kB], 1e-4, 1e-16);

  Cncelle[kC] = 2;
  Cqncelle[kC][0] = 20;
  Cqnae[kC][0] = 3.0;
  Cqnae[kC][1] = 5.0;
  Cconc[1][20] = 0.01;
  Cconc[1][21] = 0.02;
  kBedmove[1] = 0.0;
  morphology_QNfractions(0.05);
  EXPECT_NEAR(Bedmove[kB], 0.15 * 0.005, 1e-15);
  EXPECT_NEAR(kBedmove[1], 4.0 * 0.15 * 0.005 * 500.0, 1e-12);
  EXPECT_EQ(BSedDistrib[0][0][kB], 1.0);
  EXPECT_EQ(BSedDistrib[1][0][kB], 0.05);

  // A column without a bottom cell gets no change.
  Bcellt[kB] = 0;
  Bedmove[kB] = 1.0;
  morphology_QNfractions(0.05);
  EXPECT_EQ(Bedmove[kB], 0.0);
}

// A deposit of 0.04 and 0.02 m on an active layer of 0.05 m under A = 0.1 m
// first fills it to 0.1 m; the rest 0.01 m goes to layer 0 with the new
// active composition. An erosion beyond layer 0 thins the active layer.
TEST_F(QNFractions, TwoLayerUpdate) {
  column(2);
  layers(1.0, 0.05, {0.5, 0.5}, {0.5, 0.5});
  change(1, 0.04);
  change(2, 0.02);
  morphology_QNfractions(0.1);
  EXPECT_NEAR(BSedDistrib[1][0][kB], 0.1, 1e-12);
  EXPECT_NEAR(BSedDistrib[1][1][kB], 0.590909, 1e-6);
  EXPECT_NEAR(BSedDistrib[1][2][kB], 0.409091, 1e-6);
  EXPECT_NEAR(BSedDistrib[0][0][kB], 1.01, 1e-12);
  EXPECT_NEAR(BSedDistrib[0][1][kB], 0.500900, 1e-6);
  EXPECT_NEAR(BSedDistrib[0][2][kB], 0.499100, 1e-6);

  // Erosion of 0.03 m against 0.01 m of layer 0: the active layer gives
  // the other 0.02 m.
  layers(0.01, 0.1, {0.5, 0.5}, {0.5, 0.5});
  change(1, -0.02);
  change(2, -0.01);
  morphology_QNfractions(0.1);
  EXPECT_EQ(BSedDistrib[0][0][kB], 0.0);
  EXPECT_NEAR(BSedDistrib[1][0][kB], 0.08, 1e-12);
  EXPECT_NEAR(BSedDistrib[1][1][kB], 0.4375, 1e-12);
  EXPECT_NEAR(BSedDistrib[1][2][kB], 0.5625, 1e-12);
}

// Eroding more of a size than the active layer holds clips it to 0; the
// deficit goes to bedLimDef and the unrealised mass to kLimDef.
TEST_F(QNFractions, ClippedSizeIsBooked) {
  column(2);
  layers(1.0, 0.1, {0.5, 0.5}, {0.5, 0.5});
  bedLimDef[1] = bedLimDef[2] = kLimDef = 0.0;
  change(1, -0.06);
  morphology_QNfractions(0.1);
  EXPECT_NEAR(bedLimDef[1], -0.01, 1e-12);
  EXPECT_EQ(bedLimDef[2], 0.0);
  EXPECT_NEAR(kLimDef, 0.5 * -0.01 * 4.0 * 1000.0 * 2.65, 1e-9);
  EXPECT_NEAR(BSedDistrib[1][0][kB], 0.1, 1e-12);  // layer 0 gives 0.05 m
  EXPECT_NEAR(BSedDistrib[0][0][kB], 0.95, 1e-12);
}

// A negative active layer cannot come from erosion; one set by hand ends
// the run with -44 and the line naming the column.
TEST_F(QNFractions, NegativeActiveLayerEndsTheRun) {
  column(2);
  layers(0.0, -1e-10, {0.5, 0.5}, {0.5, 0.5});
  Bkooi[kB] = 3;
  Bkooj[kB] = 4;
  EXPECT_EXIT(morphology_QNfractions(0.1), ::testing::ExitedWithCode(212), "");
  EXPECT_NE(boogie().find("Error, negative bed layer at i,j=3 4\n"), std::string::npos);
}

// The layer stack of F 37 3: the change goes through ChangeLayers, and
// Bedmove is the change of the stack's thickness.
TEST_F(QNFractions, StackTakesTheChange) {
  column(2, 5, true);
  setStack(kB, {{1.0, 0.5, {0.5, 0.5}}, {0.05, 0.5, {0.5, 0.5}}});
  change(1, 0.02);
  change(2, 0.01);
  morphology_QNfractions(0.05);
  double total = 0.0;
  for (int l = 0; l <= BlayerTop[kB]; ++l) total += thicknessOf(kB, l);
  EXPECT_NEAR(total, 1.08, 1e-12);
  EXPECT_NEAR(Bedmove[kB], 0.03, 1e-12);
  EXPECT_NEAR(Bbedchange[1][kB], 0.02, 1e-15);
}

}  // namespace
