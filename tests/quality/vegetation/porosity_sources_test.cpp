// Vegetation and blockage against hand values on one column of three cells
// (bottom 1, middle 2, top 3) with centres at 0.25, 0.75 and 1.5 m, 1 m2 plan
// area and 0.5, 0.5 and 1 m height; the column is (2, 2), bed cell 1.
#include <gtest/gtest.h>

#include <cmath>
#include <ostream>
#include <string>
#include <vector>

#include "grid/grid_fixture.h"
#include "model/bed_cells.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"
#include "model/work_ranges.h"
#include "quality/process_sources.h"
#include "quality/vegetation/porosity_sources.h"
#include "quality/vegetation/vegdata_reader.h"

namespace {

class VegetatedColumn : public GridFixture {
 protected:
  void SetUp() override {
    GridFixture::SetUp();
    FlagDragDLL = 1;
    settings();
    allocate(4, 4, 4, 50);
    NoCells = 3;
    NoBCells = 1;
    WCStart = 1;
    WCEnd = 3;
    const double centre[4] = {0.0, 0.25, 0.75, 1.5}, height[4] = {0.0, 0.5, 0.5, 1.0};
    for (int c = 1; c <= 3; ++c) {
      Ccellb[c] = c - 1;
      Ccellt[c] = c < 3 ? c + 1 : 0;
      Cflateb[c] = c;
      Czcenter[c] = centre[c];
      Ckdist[c] = 0.5 * height[c];
      Cvol[c] = height[c];
      Cbed[c] = 1;
      Cxvel[c] = 0.5;
      Cyvel[c] = -0.2;
      Czvel[c] = 0.1;
      Ckinen[c] = 0.01;
    }
    for (int f = 1; f <= 4; ++f) Farea[f] = 2.0;
    zval[2][2][0] = 1;
    Surfaces[0][2][2] = 0.0;
    zval[2][2][1] = 0.0;
  }

  // Data sets that size the tables, set before the allocation.
  virtual void settings() {}

  // The terms of one equation on cleared coefficients.
  static void assemble(int equation) {
    for (int c = 0; c <= 3; ++c) Cap[c] = Csource[c] = 0.0;
    Equation = equation;
    extra_source();
  }
};

TEST(VegetationProfile, InterpolatesBelowBetweenAndAbove) {
  const double levels[3] = {0.0, 1.0, 3.0}, values[3] = {4.0, 2.0, 1.0};
  struct Case {
    double z, value;
  };
  for (const Case &c : std::vector<Case>{{-0.5, 4.0}, {0.0, 4.0}, {0.25, 3.5}, {2.0, 1.5}, {2.999, 1.0005},
                                         {3.0, 0.0}, {10.0, 0.0}}) {
    EXPECT_NEAR(profileValue(levels, values, 3, c.z), c.value, 1e-12) << "z = " << c.z;
  }
}

TEST(VegetationProfile, TimeWeightsBeforeBetweenAndAfterTheSets) {
  double times[3] = {10.0, 20.0, 40.0};
  VegTimes = 3;
  VegTime = times;
  struct Case {
    double t;
    int set;
    double weight;
  };
  for (const Case &c : std::vector<Case>{{0.0, 1, 0.0}, {10.0, 1, 0.0}, {15.0, 1, 0.5}, {20.0, 2, 0.0},
                                         {30.0, 2, 0.5}, {40.0, 2, 1.0}, {100.0, 2, 1.0}}) {
    int set = -1;
    double weight = -1.0;
    vegetationTimeWeight(c.t, set, weight);
    EXPECT_EQ(set, c.set) << "t = " << c.t;
    EXPECT_NEAR(weight, c.weight, 1e-12) << "t = " << c.t;
  }
  VegTimes = 1;
  int set = -1;
  double weight = -1.0;
  vegetationTimeWeight(5.0, set, weight);
  EXPECT_EQ(set, 0);
  EXPECT_EQ(weight, 1.0);
  VegTime = nullptr;
}

// Drag: Cap += 1000 Ckdist |u| P, area-based data times the bottom face area.
TEST_F(VegetatedColumn, QuadraticDragRetardsEachComponent) {
  writeFile("vegdata", "V 2 2 0.0 0.5 1.0 2.0 0.8 0.6 0.4 0.2\n");
  assemble(1);
  EXPECT_EQ(FlagTypeVegdata, 1);
  const double p[4] = {0.0, 0.7, 0.5, 0.3};
  for (int c = 1; c <= 3; ++c) {
    EXPECT_NEAR(Cporosity[c], p[c], 1e-12) << c;
    EXPECT_NEAR(Cap[c], 1000.0 * Ckdist[c] * 0.5 * p[c], 1e-9) << c;
    EXPECT_EQ(Csource[c], 0.0);
  }
  assemble(2);
  EXPECT_NEAR(Cap[1], 1000.0 * 0.25 * 0.2 * 0.7, 1e-9);
  FlagDragDLL = 2;
  assemble(1);
  EXPECT_EQ(Cap[1], 0.0);
  EXPECT_NEAR(Csource[1], -1000.0 * 0.25 * 0.5 * 0.5 * 0.7, 1e-9);
  assemble(3);
  EXPECT_EQ(Csource[1], 0.0);
}

TEST_F(VegetatedColumn, AreaBasedDragTakesTheBottomFaceArea) {
  writeFile("vegdata", "A 2 2 0.0 0.5 1.0 2.0 0.8 0.6 0.4 0.2\n");
  assemble(1);
  EXPECT_EQ(FlagTypeVegdata, 2);
  EXPECT_NEAR(Cap[1], 1000.0 * 0.25 * 0.5 * 0.7 * 2.0, 1e-9);
}

// Blockage: every momentum component sees Cap += 1000 Cvol P; k and epsilon
// get wall terms in the open cell above the blocked ones.
TEST_F(VegetatedColumn, BlockageStopsTheFlowAndAddsWallTerms) {
  writeFile("vegdata", "N 2 2 -10.0 0.9 1.0 100.0 1000.0 1000.0 0.0 0.0\n");
  FlagDragDLL = 1;
  XksWall = 0.01;
  ArtMinKinen = 1e-6;
  MinUPlusK = 1.0;
  for (int e = 1; e <= 3; ++e) {
    assemble(e);
    EXPECT_EQ(FlagTypeVegdata, 4);
    EXPECT_NEAR(Cap[1], 1000.0 * 0.5 * 1000.0, 1e-6) << e;
    EXPECT_NEAR(Cap[2], 1000.0 * 0.5 * 1000.0, 1e-6) << e;
    EXPECT_EQ(Cap[3], 0.0) << e;
  }
  assemble(5);
  const double k = 0.01, y = 0.5, u2 = 0.25 + 0.04 + 0.01;
  const double uPlus = 2.5 * std::log(30.0 * y / 0.01);
  EXPECT_EQ(Cap[1], 0.0);
  EXPECT_EQ(Cap[2], 0.0);
  EXPECT_NEAR(Cap[3], 164.31676725 * std::sqrt(k) * uPlus / y * 1.0, 1e-9);
  EXPECT_NEAR(Csource[3], 31.62 * std::sqrt(300.0 * k) * u2 / (uPlus * y) * 1.0, 1e-9);
  assemble(6);
  EXPECT_EQ(Cap[3], 1e30);
  EXPECT_NEAR(Csource[3], 1.643e29 * std::pow(k, 1.5) / (0.4 * y), 1e15);
  EXPECT_EQ(Cap[2], 0.0);
}

// The multiplier of F 514 scales N and C records, not V records.
TEST_F(VegetatedColumn, MultiplierScalesBlockageRecords) {
  porosMultiplier = 2.0;
  writeFile("vegdata", "N 2 2 -10.0 0.9 1.0 100.0 1.0 1.0 0.0 0.0\n");
  assemble(4);
  EXPECT_NEAR(Cporosity[1], 2.0, 1e-12);
  EXPECT_NEAR(Bveg[1][0][0][1], 1.8, 1e-12);
}

class ScourColumn : public VegetatedColumn {
 protected:
  void settings() override {
    VegTimes = 2;
    FlagSinkScour = 1;
  }
};

// Profiles for growing scour depths: the deepest hole found so far holds.
TEST_F(ScourColumn, SinkScourNeverGoesBack) {
  writeFile("vegdata", "U 1 4 2 T 0.0 N 2 2 -10 0.1 1.0 100 200 200 200 0 T 1.0 N 2 2 -10 0.1 1.0 100 400 400 400 0\n");
  zval[2][2][1] = -0.5;
  assemble(4);
  EXPECT_NEAR(deltazscourG, 0.0, 1e-12);  // the first call has no value above 100 yet
  assemble(4);
  EXPECT_NEAR(deltazscourG, 0.5, 1e-12);
  EXPECT_NEAR(Cporosity[1], 300.0, 1e-9);
  zval[2][2][1] = -0.2;
  assemble(4);
  EXPECT_NEAR(deltazscourG, 0.5, 1e-12);
}

}  // namespace
