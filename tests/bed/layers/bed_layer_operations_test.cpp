// The layer operations on single columns by hand: deposits and erosion of
// ChangeLayers with the joins of a full stack, the descent of an eroded size,
// the check of the stack, and the companions it uses.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "bed/layers/bed_layer_fixture.h"
#include "bed/layers/bed_layer_operations.h"
#include "model/bed_cells.h"
#include "model/settings.h"
#include "model/threads.h"
#include "support/run_case.h"

namespace {

using BedLayerStack = BedLayerFixture;

constexpr int kColumn = 7;  // the bed cell of the single-column cases

struct ExpectedLayer {
  double thickness, fraction1;
};

void expectStack(const std::vector<ExpectedLayer> &expected, const char *name) {
  ASSERT_EQ(BlayerTop[kColumn], static_cast<int>(expected.size()) - 1) << name;
  for (std::size_t l = 0; l < expected.size(); ++l) {
    const int layer = static_cast<int>(l);
    EXPECT_NEAR(thicknessOf(kColumn, layer), expected[l].thickness, 1e-12) << name << ", layer " << layer;
    EXPECT_NEAR(BSedDistrib[layer][1][kColumn], expected[l].fraction1, 1e-12) << name << ", layer " << layer;
  }
}

void setChange(double size1, double size2) {
  Bbedchange[1][kColumn] = size1;
  Bbedchange[2][kColumn] = size2;
}

}  // namespace

// A deposit on a full stack (top = NoBedLayers - 1) first joins two layers,
// then adds one layer of the deposit.
TEST_F(BedLayerStack, DepositOnFullStackJoinsFirst) {
  allocateBed(2, 4);
  TopThickness = 0.1;  // join threshold 1.5 T = 0.15 m
  struct Case {
    const char *name;
    std::initializer_list<HandLayer> stack;
    std::vector<ExpectedLayer> after;
  };
  const Case cases[] = {
      {"top into a thin layer below",
       {{1.0, 0.5, {1, 0}}, {0.5, 0.5, {1, 0}}, {0.1, 0.5, {1, 0}}, {0.05, 0.5, {0, 1}}},
       {{1.0, 1.0}, {0.5, 1.0}, {0.15, 0.1 / 0.15}, {0.02, 1.0}}},
      {"first pair under 1e-7 m",
       {{4e-8, 0.5, {1, 0}}, {5e-8, 0.5, {0, 1}}, {0.5, 0.5, {0.5, 0.5}}, {0.3, 0.5, {0, 1}}},
       {{9e-8, 4.0 / 9.0}, {0.5, 0.5}, {0.3, 0.0}, {0.02, 1.0}}},
      {"most similar pair",
       {{1.0, 0.5, {1, 0}}, {0.5, 0.5, {0.5, 0.5}}, {0.5, 0.5, {0.45, 0.55}}, {0.3, 0.5, {0, 1}}},
       {{1.0, 1.0}, {1.0, 0.475}, {0.3, 0.0}, {0.02, 1.0}}},
  };
  for (const Case &c : cases) {
    setStack(kColumn, c.stack);
    setChange(0.02, 0.0);
    ChangeLayers(kColumn, 0.02);
    expectStack(c.after, c.name);
    EXPECT_EQ(thicknessOf(kColumn, 4), 0.0) << c.name;
  }
}

// A size eroded while the column gains is taken from the top and, by F 412,
// from the layers below: 0 never, 1 down to layer 0, 2 down to the armour layer.
TEST_F(BedLayerStack, ErodedSizeOfADepositDescendsByErodeUnder) {
  allocateBed(2, 5);
  struct Case {
    int erodeUnder, armour;
    double top, layer1, left;
  };
  // Top layer 0.01 m holds 0.0025 of size 2 solids against a demand of
  // 0.01: 0.0075 is missing; layer 1 (0.025 of size 2) can give it.
  const Case cases[] = {
      {0, 0, 0.005, 0.1, -0.0075},
      {1, 0, 0.005, 0.085, -0.0},
      {2, 2, 0.005, 0.1, -0.0075},
      {2, 1, 0.005, 0.085, -0.0},
  };
  for (const Case &c : cases) {
    FlagErodeUnder = c.erodeUnder;
    Barmourthick[kColumn] = c.armour;
    setStack(kColumn, {{1.0, 0.5, {0.5, 0.5}}, {0.1, 0.5, {0.5, 0.5}}, {0.01, 0.5, {0.5, 0.5}}});
    Bvolleft[2][kColumn] = 99.0;
    setChange(0.05, -0.02);
    ChangeLayers(kColumn, 0.03);
    const std::string name = "F 412 " + std::to_string(c.erodeUnder) + ", armour " + std::to_string(c.armour);
    ASSERT_EQ(BlayerTop[kColumn], 3) << name;
    EXPECT_NEAR(thicknessOf(kColumn, 2), c.top, 1e-15) << name;
    EXPECT_DOUBLE_EQ(BSedDistrib[2][1][kColumn], 1.0) << name;
    EXPECT_NEAR(thicknessOf(kColumn, 1), c.layer1, 1e-15) << name;
    EXPECT_NEAR(Bvolleft[2][kColumn], c.left, 1e-15) << name;
    EXPECT_NEAR(thicknessOf(kColumn, 3), 0.05, 1e-15) << name;  // the new layer of the deposit
    EXPECT_DOUBLE_EQ(BSedDistrib[3][1][kColumn], 1.0) << name;
    EXPECT_DOUBLE_EQ(Bsolidfraction[3][kColumn], 0.5) << name;
  }
}

// The bed change is a bulk thickness at the top layer's solid fraction: a
// deposit S on a top of 0.64 keeps S x 0.64 of solids in a new layer of
// SolidFrac 0.5, 1.28 S thick.
TEST_F(BedLayerStack, DepositKeepsTheSolidsOfTheTopLayer) {
  allocateBed(2, 5);
  SolidFrac = 0.5;
  setStack(kColumn, {{1.0, 0.64, {0.5, 0.5}}});
  setChange(0.01, 0.0);
  ChangeLayers(kColumn, 0.01);
  ASSERT_EQ(BlayerTop[kColumn], 1);
  EXPECT_NEAR(thicknessOf(kColumn, 1), 0.0128, 1e-15);
  EXPECT_NEAR(thicknessOf(kColumn, 1) * Bsolidfraction[1][kColumn], 0.01 * 0.64, 1e-15);
  EXPECT_DOUBLE_EQ(Bsolidfraction[1][kColumn], 0.5);
}

TEST_F(BedLayerStack, ErosionMixesTheLayersItReaches) {
  allocateBed(2, 5);
  // 0.08 m reaches into layer 1: layers 2 and 1 hold 0.075 of solids, the
  // demand takes 0.02 of each size.
  setStack(kColumn, {{1.0, 0.5, {0.5, 0.5}}, {0.1, 0.5, {1, 0}}, {0.05, 0.5, {0, 1}}});
  setChange(-0.04, -0.04);
  ChangeLayers(kColumn, -0.08);
  expectStack({{1.0, 0.5}, {0.07, 0.03 / 0.035}}, "two layers");
  EXPECT_NEAR(BSedDistrib[1][2][kColumn], 0.005 / 0.035, 1e-12);

  // Deeper than the stack: one layer 0 is left, empty, and what the bed
  // could not give is missing in Bvolleft.
  setStack(kColumn, {{0.02, 0.5, {1, 0}}, {0.01, 0.5, {1, 0}}});
  setChange(-0.05, -0.05);
  ChangeLayers(kColumn, -0.1);
  expectStack({{0.0, 0.0}}, "whole stack");
  EXPECT_NEAR(Bvolleft[1][kColumn], -0.01, 1e-15);
  EXPECT_NEAR(Bvolleft[2][kColumn], -0.025, 1e-15);
}

// A layer of 1e-4 m whose fractions sum to 0.9 stops the run with the report.
TEST_F(BedLayerStack, BrokenStackEndsTheRun) {
  allocateBed(2, 5);
  setStack(kColumn, {{1.0, 0.5, {0.5, 0.5}}, {1e-4, 0.5, {0.45, 0.45}}});
  EXPECT_EXIT(ChangeLayers(kColumn, 0.0), ::testing::ExitedWithCode(252), "");
  EXPECT_TRUE(endsWith(boogie(),
            "Error in function ChangeLayers: sum of grain sizes layer 1 = 0.900000 for bedcell 7\n"
            "size=1, fraction=0.45\n"
            "size=2, fraction=0.45\n"
            "Thickness of active layer: 0.0001 meters, movement = 0 meters.\n"
            "Number of top layer: 1, removed layers = 0\n"))
      << boogie();
}

TEST_F(BedLayerStack, JoinWeighsByThicknessMoveBySolids) {
  allocateBed(2, 5);
  setStack(kColumn, {{0.3, 0.5, {1, 0}}, {0.1, 0.7, {0, 1}}});
  JoinLayers(kColumn, 0);  // raised to 1
  expectStack({{0.4, 0.75}}, "join");
  EXPECT_DOUBLE_EQ(BSedDistrib[0][2][kColumn], 0.25);
  EXPECT_NEAR(Bsolidfraction[0][kColumn], 0.55, 1e-15);
  EXPECT_EQ(thicknessOf(kColumn, 1), 0.0);
  EXPECT_EQ(BSedDistrib[1][2][kColumn], 0.0);

  setStack(kColumn, {{0.3, 0.5, {1, 0}}, {0.2, 0.7, {0, 1}}});
  MoveSediment(1, 0, kColumn, 0.1);
  EXPECT_NEAR(Bsolidfraction[0][kColumn], 0.55, 1e-15);
  EXPECT_NEAR(BSedDistrib[0][1][kColumn], 0.15 / 0.22, 1e-12);
  EXPECT_NEAR(BSedDistrib[0][2][kColumn], 0.07 / 0.22, 1e-12);
  EXPECT_NEAR(thicknessOf(kColumn, 0), 0.4, 1e-15);
  EXPECT_NEAR(thicknessOf(kColumn, 1), 0.1, 1e-15);
  EXPECT_DOUBLE_EQ(BSedDistrib[1][2][kColumn], 1.0);
}

TEST_F(BedLayerStack, SplitAndRemoveEmptyLayers) {
  allocateBed(2, 5);
  TopThickness = 0.1;  // layers above 0.3 m split
  for (int mode : {1, 2}) {
    FlagSplitLayers = mode;
    setStack(kColumn, {{1.0, 0.5, {0.2, 0.8}}, {0.2, 0.5, {1, 0}}});
    SplitLayers(kColumn);
    const double upper = mode == 1 ? 0.1 : 0.5;
    expectStack({{1.0 - upper, 0.2}, {upper, 0.2}, {0.2, 1.0}}, mode == 1 ? "split 1" : "split 2");
  }
  setStack(kColumn, {{0.3, 0.5, {0.2, 0.8}}, {0.2, 0.5, {1, 0}}});
  SplitLayers(kColumn);
  expectStack({{0.3, 0.2}, {0.2, 1.0}}, "nothing thick");
  // Another F 434 value has no way to share the thickness: copying the
  // layer alone would create sediment, so nothing splits.
  FlagSplitLayers = 3;
  setStack(kColumn, {{1.0, 0.5, {0.2, 0.8}}, {0.2, 0.5, {1, 0}}});
  SplitLayers(kColumn);
  expectStack({{1.0, 0.2}, {0.2, 1.0}}, "F 434 3");

  setStack(kColumn, {{0.5, 0.5, {1, 0}}});
  EXPECT_EQ(removeZerolayers(kColumn), 0);
  expectStack({{0.5, 1.0}}, "one layer");
  setStack(kColumn, {{0.0, 0.5, {0, 0}}, {0.2, 0.5, {0.3, 0.7}}});
  EXPECT_EQ(removeZerolayers(kColumn), 0);
  expectStack({{0.2, 0.3}}, "empty layer 0");
  setStack(kColumn, {{0.5, 0.5, {1, 0}}, {1e-13, 0.5, {0, 1}}, {0.3, 0.5, {0, 1}}});
  EXPECT_EQ(removeZerolayers(kColumn), 1);
  expectStack({{0.5 + 1e-13, 1.0}, {0.3, 0.0}}, "empty middle layer");
}

TEST_F(BedLayerStack, ErodeOneSizeFromALayer) {
  allocateBed(2, 5);
  setStack(kColumn, {{0.2, 0.5, {0.5, 0.5}}});  // 0.05 m of size 1 solids
  const double all = erodeLayerUnder(kColumn, 0, 1, -0.02);
  EXPECT_EQ(all, 0.0);
  EXPECT_TRUE(std::signbit(all));
  EXPECT_NEAR(BSedDistrib[0][1][kColumn], 0.375, 1e-15);
  EXPECT_NEAR(BSedDistrib[0][2][kColumn], 0.625, 1e-15);
  EXPECT_NEAR(thicknessOf(kColumn, 0), 0.16, 1e-15);

  setStack(kColumn, {{0.2, 0.5, {0.5, 0.5}}});
  EXPECT_NEAR(erodeLayerUnder(kColumn, 0, 1, -0.08), -0.03, 1e-15);
  EXPECT_EQ(BSedDistrib[0][1][kColumn], 0.0);
  EXPECT_NEAR(BSedDistrib[0][2][kColumn], 1.0, 1e-15);
  EXPECT_NEAR(thicknessOf(kColumn, 0), 0.1, 1e-15);
}

// The armour depth of each F 447 method on layers 1.0, 0.3, 0.1 m (top 2),
// Bedmove -0.05 m, grains 10 and 2 mm, default depth 0.2 m.
TEST_F(BedLayerStack, ArmourDepthByMethod) {
  allocateBed(2, 5);
  gsize[1] = 0.01;
  gsize[2] = 0.002;
  struct Case {
    int method;
    double result;
    int armour;
  };
  const Case cases[] = {
      {0, -0.25, 1}, {1, -0.06, 2},  {2, -0.05, 2}, {3, -0.2, 1}, {4, -0.015, 2}, {5, -0.0, 2},
      {6, -0.01, 2}, {7, -0.2, 1},   {8, -0.1, 1},  {9, -0.4, 0}, {10, -0.2, 1},
  };
  for (const Case &c : cases) {
    setStack(kColumn, {{1.0, 0.5, {0.6, 0.4}}, {0.3, 0.5, {0.6, 0.4}}, {0.1, 0.5, {0.6, 0.4}}});
    Bedmove[kColumn] = -0.05;
    setChange(-0.02, 0.004);  // method 5: min(0.0231, -0.0022) is not positive
    FlagArmourDepth = c.method;
    Barmourthick[kColumn] = -7;
    const double got = computeArmourDepth(kColumn, 0.2);
    EXPECT_NEAR(got, c.result, 1e-15) << "F 447 " << c.method;
    EXPECT_EQ(Barmourthick[kColumn], c.armour) << "F 447 " << c.method;
    if (c.result == 0.0) {
      EXPECT_TRUE(std::signbit(got)) << "F 447 " << c.method;
    }
  }
  setStack(kColumn, {{0.7, 0.5, {0.6, 0.4}}});
  FlagArmourDepth = 9;
  EXPECT_DOUBLE_EQ(computeArmourDepth(kColumn, 0.2), -0.7);
  EXPECT_EQ(Barmourthick[kColumn], 0);
}

TEST_F(BedLayerStack, AvailableSedimentInTheTopOfTheBed) {
  allocateBed(2, 5);
  relaxAvailable = 0.5;
  setStack(kColumn, {{1.0, 0.5, {0.2, 0.8}}, {0.1, 0.7, {1, 0}}});
  double avail[3] = {-1.0, 9.0, 9.0};
  computeAvailableFraction(kColumn, avail, -0.3);
  EXPECT_EQ(avail[0], -1.0);
  EXPECT_NEAR(avail[1], 0.045, 1e-15);
  EXPECT_NEAR(avail[2], 0.04, 1e-15);
  computeAvailableFractionMeters(kColumn, avail, -0.3);
  EXPECT_NEAR(avail[1], 0.07, 1e-15);
  EXPECT_NEAR(avail[2], 0.08, 1e-15);
  computeAvailableFraction(kColumn, avail, 0.1);
  EXPECT_EQ(avail[1], 0.0);
  EXPECT_EQ(avail[2], 0.0);
  EXPECT_EQ(avail[0], -1.0);
}

// The operations touch only their own bed cell: ChangeLayers over every bed
// cell in four chunks on four threads leaves the stacks bit for bit as one
// serial pass does.
TEST_F(BedLayerStack, ParallelOverBedCellsAsSerial) {
  allocateBed(3, 6, true, 30, 30);
  TopThickness = 0.05;
  FlagSplitLayers = 1;
  const int cells = 900;
  auto prepare = [&] {
    for (int b = 1; b <= cells; ++b) {
      const double r = 0.001 * (b % 97);
      setStack(b, {{1.0 + r, 0.5, {0.2, 0.3, 0.5}}, {0.1, 0.6, {0.5, 0.25, 0.25}}, {0.02 + r, 0.55, {0, 0.5, 0.5}}});
      Bbedchange[1][b] = (b % 3 == 0 ? -1.0 : 1.0) * 0.01 * (b % 7);
      Bbedchange[2][b] = -0.004 * (b % 5);
      Bbedchange[3][b] = 0.003 * (b % 11);
      Bedmove[b] = Bbedchange[1][b] + Bbedchange[2][b] + Bbedchange[3][b];
    }
  };
  auto snapshot = [&] {
    std::vector<double> v;
    for (int b = 1; b <= cells; ++b) {
      v.push_back(BlayerTop[b]);
      for (int layer = 0; layer <= NoBedLayers; ++layer) {
        v.push_back(Bsolidfraction[layer][b]);
        for (int k = 0; k <= lnumber; ++k) v.push_back(BSedDistrib[layer][k][b]);
      }
      for (int k = 1; k <= lnumber; ++k) v.push_back(Bvolleft[k][b]);
    }
    return v;
  };
  auto run = [&] {
    forEachChunk(1, cells, [](int first, int last) {
      for (int b = first; b <= last; ++b) ChangeLayers(b, Bedmove[b]);
    });
  };
  NoProcessesSolver = 0;
  prepare();
  run();
  const std::vector<double> serial = snapshot();
  fixThreadCount(4);
  NoProcessesSolver = 4;
  prepare();
  run();
  const std::vector<double> threaded = snapshot();
  NoProcessesSolver = 0;
  ASSERT_EQ(serial.size(), threaded.size());
  EXPECT_EQ(std::memcmp(serial.data(), threaded.data(), serial.size() * sizeof(double)), 0);
}
