// The bed-form, bed-smoothing, mud-block and bed-form roughness terms of the
// eddy viscosity on hand-built columns, with the constant viscosity of
// model 4 (0.001) as the model value under them.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <vector>

#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/status.h"
#include "model/work_ranges.h"
#include "turbulence/box_cells.h"
#include "turbulence/eddy_viscosity.h"

namespace {

class BedFormTerms : public BoxCells {
 protected:
  void SetUp() override {
    BoxCells::SetUp();
    TurbulenceModel = 4;
  }
};

constexpr double kModel = 0.001;

// The mud blocks: every cell of a block of LayerMark 1 takes N, 10 N above
// the two lowest cells of its column.
TEST_F(BedFormTerms, MudBlockViscosity) {
  struct Row {
    const char *name;
    int cells;
    double fixed;
    double low, high;
  };
  const Row rows[] = {
      {"one cell per column, no fixed value", 1, 0.0, 1e7, 1e7},
      {"several cells, fixed 5", 4, 5.0, 5.0, 50.0},
  };
  for (const Row &r : rows) {
    SCOPED_TRACE(r.name);
    build(2, r.cells, 1.0, 1.0, 0.5);
    NoBlocks = 1;
    block[1] = {};
    block[1].LayerMark = 1;
    block[1].FirstCell = 1;
    block[1].LastCell = NoCells;
    block[1].FirstBedCell = 1;
    block[1].LastBedCell = 2;
    FlagThixo = 2;
    ThixoEddyvisc = r.fixed;
    GammaCalc(1, NoCells);
    for (int i = 0; i < 2; ++i) {
      for (int k = 0; k < r.cells; ++k) {
        const double expected = k < 2 ? r.low : r.high;
        EXPECT_EQ(Cgamma[cell(i, k)], expected) << i << " " << k;
        EXPECT_EQ(CgammaV[cell(i, k)], expected) << i << " " << k;
      }
    }
  }
}

TEST_F(BedFormTerms, MudBlockOnlyWhenTheRangeReachesTheLastCell) {
  build(2, 4, 1.0, 1.0, 0.5);
  NoBlocks = 1;
  block[1] = {};
  block[1].LayerMark = 1;
  block[1].FirstCell = 1;
  block[1].LastCell = NoCells;
  block[1].FirstBedCell = 1;
  block[1].LastBedCell = 2;
  FlagThixo = 2;
  ThixoEddyvisc = 5.0;
  WCEnd = NoCells - 1;  // a work range that leaves the last cell out
  GammaCalc(1, NoCells - 1);
  EXPECT_EQ(Cgamma[1], kModel);
  EXPECT_EQ(Cgamma[NoCells], 0.0);
}

TEST_F(BedFormTerms, FixedMudViscosityOfBlockOne) {
  // F 236 1: block 1 takes |F 236 second value| before the vertical value is
  // formed, so CgammaV follows it.
  build(2, 2, 1.0, 1.0, 0.5);
  NoBlocks = 1;
  block[1] = {};
  block[1].FirstCell = 1;
  block[1].LastCell = 2;
  FlagThixo = 1;
  ThixoEddyvisc = -3.0;
  GammaCalc(1, NoCells);
  EXPECT_EQ(Cgamma[1], 3.0);
  EXPECT_EQ(CgammaV[2], 3.0);
  EXPECT_EQ(Cgamma[3], kModel);
}

TEST_F(BedFormTerms, DuneEddyViscosity) {
  build(1, 3, 1.0, 1.0, 0.2);  // Ckdist of the bottom cell 0.1 m
  Bdepth[1] = 2.0;
  Bedformheight[1] = 0.2;
  BFroude[1] = 0.3;
  FlagDuneEddy = 1;
  GammaCalc(1, NoCells);
  for (int c = 1; c <= NoCells; ++c) {
    EXPECT_NEAR(CgammaV[c] - kModel, 46.1401, 5e-5) << c;
    EXPECT_EQ(Cgamma[c], kModel) << c;
  }
  Equation = 5;
  GammaCalc(1, NoCells);
  EXPECT_EQ(CgammaV[1], kModel) << "mode 1 acts on the momentum equations only";

  // Mode 6 gives the epsilon equation 0.7692 of the term of mode 5.
  for (int c = 1; c <= NoCells; ++c) Cxvel[c] = 0.5;
  FlagDuneEddy = 5;
  Equation = 1;
  GammaCalc(1, NoCells);
  const double mode5 = CgammaV[2] - kModel;
  EXPECT_NEAR(mode5, 1000.0 * 0.5 * 0.5 * 2.0, 1e-9);
  FlagDuneEddy = 6;
  Equation = 6;
  GammaCalc(1, NoCells);
  EXPECT_NEAR(CgammaV[2] - kModel, 0.7692 * mode5, 1e-9);
  FlagThixoIsComputing = 1;
  GammaCalc(1, NoCells);
  EXPECT_EQ(CgammaV[2], kModel) << "no dune term while a mud layer is computed";
}

TEST_F(BedFormTerms, BedSmoothingFollowsTheFroudeNumber) {
  build(1, 2, 1.0, 1.0, 0.5);
  for (int c = 1; c <= NoCells; ++c) Cxvel[c] = 0.5;
  ParamBedSmooth = 1.0;
  const double full = 2.0 * 0.25 * 1.0 * 1000.0 * 0.5;  // mode 7
  struct Row {
    double froude, share;
  };
  FlagBedSmooth = 8;
  for (const Row &r : {Row{0.6, std::sqrt(0.5)}, Row{0.1, 0.0}, Row{2.0, 1.0}}) {
    BFroude[1] = r.froude;
    GammaCalc(1, NoCells);
    EXPECT_NEAR(Cgamma[2] - kModel, r.share * full, 1e-9) << r.froude;
    EXPECT_NEAR(CgammaV[1] - kModel, r.share * full, 1e-9) << r.froude;
  }
}

TEST_F(BedFormTerms, BedFormRoughness) {
  build(1, 3, 1.0, 1.0, 0.5);
  FlagTramel = 12;
  ParamTramel = 2.0;
  Bedformheight[1] = 0.0;
  GammaCalc(1, NoCells);
  for (int c = 1; c <= NoCells; ++c) EXPECT_EQ(Cgamma[c], kModel) << "a bed form of zero height changes nothing";
  Bedformheight[1] = 0.8;  // covers the centres at 0.25 and 0.75 m
  GammaCalc(1, NoCells);
  EXPECT_EQ(Cgamma[1], 2.0 * kModel);
  EXPECT_EQ(CgammaV[2], 2.0 * kModel);
  EXPECT_EQ(Cgamma[3], kModel);
  FlagTramel = 14;
  GammaCalc(1, NoCells);
  EXPECT_EQ(Cgamma[3], kModel + 2.0);
}

TEST_F(BedFormTerms, BedFormFactorOfTheVerticalViscosity) {
  build(1, 2, 1.0, 1.0, 0.5);
  GammaVertCoeff1 = 10.0;
  Bedformheight[1] = 0.3;  // 0.3 / 1 m x 10 = 3
  GammaCalc(2, 2);         // a range that begins inside the column
  EXPECT_NEAR(CgammaV[2], 3.0 * kModel, 1e-15);
  Equation = 4;
  GammaCalc(1, NoCells);
  EXPECT_EQ(CgammaV[1], kModel);
}

}  // namespace

namespace {

// The chunks of a sweep, cut at column tops and run in any order, leave the
// viscosities of one call over the whole range, also where a mud block
// spans a chunk border.
TEST_F(BedFormTerms, ChunksGiveTheSerialResult) {
  int split = 8;  // the last cell of block 1; the mud block follows it
  auto setUpGrid = [&split] {
    build(3, 4, 1.0, 1.0, 0.25);
    NoBlocks = 2;
    block[1] = {};
    block[1].FirstCell = 1;
    block[1].LastCell = split;
    block[1].FirstBedCell = 1;
    block[1].LastBedCell = split / 4;
    block[2] = {};
    block[2].LayerMark = 1;
    block[2].FirstCell = split + 1;
    block[2].LastCell = 12;
    block[2].FirstBedCell = split / 4 + 1;
    block[2].LastBedCell = 3;
    for (int c = 1; c <= NoCells; ++c) {
      Cxvel[c] = 0.1 * c;
      Ckinen[c] = 0.001 * c;
      Cepsilon[c] = 0.0001 * (13 - c);
      Cgamma[c] = CgammaV[c] = -1.0;
    }
    for (int b = 1; b <= 3; ++b) {
      Bdepth[b] = 1.0;
      Bedformheight[b] = 0.3;
      BFroude[b] = 0.2 * b;
    }
  };
  TurbulenceModel = 17;
  FlagThixo = 1;
  ThixoEddyvisc = 0.0;
  TimeStep = 1.0;
  FlagDuneEddy = 5;
  FlagBedSmooth = 8;
  ParamBedSmooth = 0.5;
  FlagTramel = 13;
  ParamTramel = 0.7;
  for (int last1 : {8, 4}) {
    split = last1;
    setUpGrid();
    GammaCalc(1, NoCells);
    const std::vector<double> serial(Cgamma + 1, Cgamma + NoCells + 1), serialV(CgammaV + 1, CgammaV + NoCells + 1);
    for (int border : {4, 8}) {
      setUpGrid();
      GammaCalc(border + 1, NoCells);
      GammaCalc(1, border);
      for (int c = 1; c <= NoCells; ++c) {
        EXPECT_EQ(Cgamma[c], serial[c - 1]) << split << " " << border << " " << c;
        EXPECT_EQ(CgammaV[c], serialV[c - 1]) << split << " " << border << " " << c;
      }
    }
  }
}

}  // namespace
