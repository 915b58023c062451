// The bed mass balance of the two-layer bed on one column by hand: the bed
// change of both exchange forms, the layer updates of one and of several
// grain sizes, the clipping of an erosion beyond a size's content and the
// warnings of the update.
#include "bed/layers/bed_balance.h"

#include <gtest/gtest.h>

#include <string>

#include "bed/layers/bed_layer_fixture.h"
#include "model/bed_cells.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/work_ranges.h"
#include "support/run_case.h"

namespace {

constexpr int kB = 7;   // the bed cell
constexpr int kC = 10;  // its bottom cell
constexpr int kF = 20;  // the bottom face of that cell

class BedBalance : public BedLayerFixture {
 protected:
  // A two-layer bed with `sizes` grain sizes, allocated once per test.
  static void allocateColumn(int sizes) { allocateBed(sizes, 2, false); }

  // One column of 4 m2 under the F 37 of the case, tallies cleared.
  static void column(int flagTsc) {
    FlagTSC = flagTsc;
    setOneColumn(kB, kC, kF);
    for (int k = 1; k <= lnumber; ++k) kBedmove[k] = bedLimDef[k] = 0.0;
    kLimDef = 0.0;
  }

  // Bsource giving the bed change dz (m) of size k with no suspension in
  // the bottom cell or its neighbours: a source in the coefficient form, a
  // pick-up in the settling form.
  static void change(int k, double dz) {
    Cconc[k][kC] = 0.0;
    Bap[k][kB] = 0.0;
    const double perFlux = 0.001 * TimeStep / (SolidFrac * Barea[kB]);
    Bsource[k][kB] = (FlagTSC == 1 ? dz : -dz) / perFlux;
  }

  // The balance of the case's F 37.
  static void update(double active) {
    if (FlagTSC == 1) {
      morphology_fractions(active);
    } else {
      morphology2_fractions(active);
    }
  }

  static void layers(double t0, double t1, std::initializer_list<double> f0, std::initializer_list<double> f1) {
    setTwoLayers(kB, t0, t1, f0, f1);
  }
};

// The settling form: what falls through the bottom face minus the pick-up,
// and the coefficient form: the neighbours' share of the last sediment
// equation plus the bed source minus the bed's own term.
TEST_F(BedBalance, ExchangeOfBothFormsAgainstHandValues) {
  allocateColumn(1);
  column(2);
  layers(1.0, 0.05, {1.0}, {1.0});
  Cconc[1][kC] = 2e-4;
  Bsource[1][kB] = 0.01;
  morphology2_fractions(0.05);
  // (2e-4 * 4 * 0.025 * 1000 - 0.01) * 0.001 * 10 / (0.5 * 4)
  EXPECT_NEAR(Bedmove[kB], 5e-5, 1e-17);
  EXPECT_NEAR(kBedmove[1], 4.0 * 5e-5 * 1000.0 * 0.5, 1e-12);
  EXPECT_NEAR(BSedDistrib[0][0][kB], 1.0 + 5e-5, 1e-15);

  column(1);
  layers(1.0, 0.05, {1.0}, {1.0});
  const int n = 11, s = 12, w = 13, e = 14, t = 15;
  Ccelln[kC] = n, Ccells[kC] = s, Ccellw[kC] = w, Ccelle[kC] = e, Ccellt[kC] = t;
  Can[kC] = 1.0, Cas[kC] = 2.0, Caw[kC] = 3.0, Cae[kC] = 4.0, Cat[kC] = 5.0;
  Cconc[1][n] = 1e-3, Cconc[1][s] = 2e-3, Cconc[1][w] = 3e-3, Cconc[1][e] = 4e-3, Cconc[1][t] = 5e-3;
  Cconc[1][kC] = 6e-3;
  Bap[1][kB] = 10.0;
  Bsource[1][kB] = 0.02;
  morphology_fractions(0.05);
  // (0.001 + 0.004 + 0.009 + 0.016 + 0.025 + 0.02 - 0.06) * 0.001 * 10 / 2
  EXPECT_NEAR(Bedmove[kB], 0.015 * 0.005, 1e-15);
}

// One size: erosion and deposition go to the inactive layer while it exists;
// without it the active layer shrinks, or grows to A and starts layer 0.
TEST_F(BedBalance, OneSizeKeepsTheActiveLayerWhileLayerZeroExists) {
  allocateColumn(1);
  struct Case {
    const char *name;
    double t0, t1, dz, t0After, t1After;
  };
  const Case cases[] = {
      {"erosion within layer 0", 0.3, 0.05, -0.1, 0.2, 0.05},
      {"erosion using up layer 0", 0.1, 0.05, -0.12, 0.0, 0.03},
      {"erosion deeper than both layers", 0.1, 0.05, -0.2, 0.0, 0.0},
      {"erosion of the active layer alone", 0.0, 0.05, -0.02, 0.0, 0.03},
      {"erosion beyond the active layer", 0.0, 0.05, -0.08, 0.0, 0.0},
      {"deposit on layer 0", 0.3, 0.05, 0.1, 0.4, 0.05},
      {"deposit overflowing the active layer", 0.0, 0.03, 0.04, 0.02, 0.05},
      {"deposit within the active layer", 0.0, 0.01, 0.02, 0.0, 0.03},
      {"change of 1e-9 or less", 0.3, 0.05, 5e-10, 0.3, 0.05},
  };
  for (int flagTsc : {1, 2}) {
    for (const Case &c : cases) {
      column(flagTsc);
      layers(c.t0, c.t1, {1.0}, {1.0});
      change(1, c.dz);
      update(0.05);
      EXPECT_NEAR(Bedmove[kB], c.dz, 1e-15) << c.name << ", F 37 " << flagTsc;
      EXPECT_NEAR(BSedDistrib[0][0][kB], c.t0After, 1e-12) << c.name << ", F 37 " << flagTsc;
      EXPECT_NEAR(BSedDistrib[1][0][kB], c.t1After, 1e-12) << c.name << ", F 37 " << flagTsc;
      EXPECT_NEAR(kBedmove[1], 4.0 * c.dz * 500.0, 1e-9) << c.name << ", F 37 " << flagTsc;
    }
  }
  // A column without a bottom cell gets no change and keeps its layers.
  column(2);
  layers(0.3, 0.05, {1.0}, {1.0});
  Bcellt[kB] = 0;
  Bedmove[kB] = 9.0;
  change(1, 0.1);
  morphology2_fractions(0.05);
  EXPECT_EQ(Bedmove[kB], 0.0);
  EXPECT_EQ(BSedDistrib[0][0][kB], 0.3);
  EXPECT_EQ(kBedmove[1], 0.0);
}

// Several sizes on a deposit over layer 0: F 37 1 passes a slice of the old
// active composition down while the deposit fits in the active layer, the
// mixed composition when it does not; F 37 2 always passes the mixture.
TEST_F(BedBalance, DepositPassesTheOldOrTheMixedCompositionDown) {
  allocateColumn(2);
  struct Case {
    const char *name;
    int flagTsc;
    double dz1;
    double f0[3], f1[3];
  };
  // Start: t0 = 1, t1 = A = 0.1, f0 = (0.2, 0.8), f1 = (0.5, 0.5); size 2
  // unchanged.
  const double mix1 = 0.07 / 0.12, mix2 = 0.05 / 0.12;
  const double big1 = 0.25 / 0.3, big2 = 0.05 / 0.3;
  const Case cases[] = {
      {"F 37 1 slice", 1, 0.02, {0, 0.21 / 1.02, 0.81 / 1.02}, {0, 0.6, 0.4}},
      {"F 37 2 mixture", 2, 0.02, {0, (mix1 * 0.02 + 0.2) / 1.02, (mix2 * 0.02 + 0.8) / 1.02}, {0, mix1, mix2}},
      {"F 37 1 deposit beyond A", 1, 0.2, {0, (big1 * 0.2 + 0.2) / 1.2, (big2 * 0.2 + 0.8) / 1.2}, {0, big1, big2}},
  };
  for (const Case &c : cases) {
    column(c.flagTsc);
    layers(1.0, 0.1, {0.2, 0.8}, {0.5, 0.5});
    change(1, c.dz1);
    change(2, 0.0);
    update(0.1);
    EXPECT_NEAR(BSedDistrib[0][0][kB], 1.0 + c.dz1, 1e-12) << c.name;
    EXPECT_NEAR(BSedDistrib[1][0][kB], 0.1, 1e-15) << c.name;
    for (int k = 1; k <= 2; ++k) {
      EXPECT_NEAR(BSedDistrib[0][k][kB], c.f0[k], 1e-12) << c.name << ", size " << k;
      EXPECT_NEAR(BSedDistrib[1][k][kB], c.f1[k], 1e-12) << c.name << ", size " << k;
    }
    EXPECT_NEAR(kLimDef, 0.0, 1e-9) << c.name;
    EXPECT_EQ(boogie().find("Warning"), std::string::npos) << c.name << "\n" << boogie();
  }
}

// Several sizes eroded: a size eroded beyond its active content is clipped
// to 0 with the deficit in bedLimDef and the unrealised mass in kLimDef; the
// active layer refills from layer 0, or takes all of a layer 0 used up
// exactly, or shrinks when there is none.
TEST_F(BedBalance, ErosionClipsASizeAndRefillsFromLayerZero) {
  allocateColumn(2);
  struct Case {
    const char *name;
    int flagTsc;
    double t0, t1, dz1, dz2, f0[3], f1[3];
    double t0After, t1After, f1After[3], limDef1;
  };
  const Case cases[] = {
      // name, F 37, t0, t1, dz1, dz2, f0, f1; t0, t1, f1 and bedLimDef[1] after
      {"slice of layer 0", 2, 1.0, 0.1, -0.08, 0.0, {0, 0.2, 0.8}, {0, 0.5, 0.5},
       0.95, 0.1, {0, 0.1, 0.9}, -0.03},
      {"layer 0 used up exactly", 2, 0.0625, 0.125, -0.1, 0.0, {0, 0.25, 0.75}, {0, 0.5, 0.5},
       0.0, 0.125, {0, 0.125, 0.875}, -0.0375},
      {"no layer 0, F 37 2", 2, 0.0, 0.1, -0.02, 0.01, {0, 0, 0}, {0, 0.5, 0.5},
       0.0, 0.09, {0, 0.03 / 0.09, 0.06 / 0.09}, 0.0},
      {"all gone, F 37 1: size 1 takes the empty layer", 1, 0.0, 0.1, -0.1, -0.1, {0, 0, 0}, {0, 0.5, 0.5},
       0.0, 0.0, {0, 1.0, 0.0}, -0.05},
      {"all gone, F 37 2", 2, 0.0, 0.1, -0.1, -0.1, {0, 0, 0}, {0, 0.5, 0.5},
       0.0, 0.0, {0, 0.0, 0.0}, -0.05},
  };
  for (const Case &c : cases) {
    column(c.flagTsc);
    layers(c.t0, c.t1, {c.f0[1], c.f0[2]}, {c.f1[1], c.f1[2]});
    change(1, c.dz1);
    change(2, c.dz2);
    update(0.1);
    EXPECT_NEAR(BSedDistrib[0][0][kB], c.t0After, 1e-12) << c.name;
    EXPECT_NEAR(BSedDistrib[1][0][kB], c.t1After, 1e-12) << c.name;
    for (int k = 1; k <= 2; ++k) EXPECT_NEAR(BSedDistrib[1][k][kB], c.f1After[k], 1e-12) << c.name << ", size " << k;
    EXPECT_NEAR(bedLimDef[1], c.limDef1, 1e-12) << c.name;
    // Realised: the active layer's net change; the rest is booked as lost.
    const double realised = c.t1After + c.t0After - c.t1 - c.t0;
    EXPECT_NEAR(kLimDef, 0.5 * (c.dz1 + c.dz2 - realised) * 4.0 * 1000.0 * 2.65, 1e-8) << c.name;
  }
}

// The warnings of the update, and a fraction outside [0, 1] reported for
// each such size while the update goes on.
TEST_F(BedBalance, WarningTexts) {
  allocateColumn(2);
  column(2);
  Bkooi[kB] = 3;
  Bkooj[kB] = 4;
  Bedmove[kB] = 0.25;
  layers(0.5, 0.1, {0.2, 0.8}, {1.5, -0.5});
  const double midA[3] = {0.0, 0.125, 0.0};
  printErrorMorphology2(kB, 0.5, 0.125);
  printErrorMorphology3(6, kB, kC, 1, midA, 0.125, 0.0, 0.5);
  EXPECT_TRUE(endsWith(boogie(),
                       "Warning, SumG = 0.500000 at i,j=3 4\n"
                       "Bedmove = 0.250000, bedmove = 0.125000, InactiveThickness = 0.500000\n"
                       "TSC error, fractions: Iter=6, b=7, c=10, l=1, i=3, j=4\n"
                       "BSedDistrib[l=1,b=7] = 1.500000 0.100000 0.200000 0.500000\n"
                       "bedmove = 0.125, thick2=0, SumG=0.5, midA[1]=0.125\n"))
      << boogie();
}

}  // namespace
