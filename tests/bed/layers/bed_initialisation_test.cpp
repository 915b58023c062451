// The start bed of one column (i, j) = (2, 2): fresh layers from the N data
// sets, restart layers checked and fixed by F 310, "alldata" and "fracres"
// starts, the solid fraction from the sorting, and the fatal ends.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bed/layers/bed_initialisation.h"
#include "bed/layers/bed_layer_fixture.h"
#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/control_tables.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"
#include "support/run_case.h"

namespace {

class BedStart : public BedLayerFixture {
 protected:
  // One column (2, 2), bed cell 1, wet, with its four corners at `bed` and
  // the non-movable level at `floor`; the grain sample `sample`.
  static void column(int sizes, int layers, bool multiLayer, double bed, double floor,
                     std::vector<double> sample = {1.0}) {
    allocateBed(sizes, layers, multiLayer);
    NoBlocks = 0;
    addBlock(2, 2, 2, 2);
    NoBCells = 1;
    pointbed[2][2] = 1;
    Bcellt[1] = 1;
    levels(bed, floor);
    for (std::size_t k = 0; k < sample.size(); ++k) SedimentSample[0][k + 1] = sample[k];
  }
  static void levels(double bed, double floor) {
    for (int i = 1; i <= 2; ++i) {
      for (int j = 1; j <= 2; ++j) {
        zval[i][j][1] = bed;
        Surfaces[0][i][j] = bed;
        Surfaces[3][i][j] = floor;
      }
    }
  }
};

void setThicknesses(const std::vector<double> &t) {
  for (std::size_t l = 0; l < t.size(); ++l) {
    BSedDistrib[l][0][1] = t[l];
    BSedDistrib[l][1][1] = 1.0;
  }
}

void expectThicknesses(const std::vector<double> &t, const std::string &name) {
  for (std::size_t l = 0; l < t.size(); ++l) EXPECT_NEAR(BSedDistrib[l][0][1], t[l], 1e-12) << name << ", layer " << l;
}

}  // namespace

// Five layers over 1.0 m of sediment with A = 0.1 m: the top layer takes A,
// the four below share the rest, all with the N fractions.
TEST_F(BedStart, FreshStackSharesTheSedimentThickness) {
  column(2, 5, true, 1.0, 0.0, {0.3, 0.7});
  TopThickness = 0.1;
  Bedmove[1] = 3.0;
  initialiseBed();
  EXPECT_EQ(BlayerTop[1], 4);
  expectThicknesses({0.225, 0.225, 0.225, 0.225, 0.1}, "fresh");
  for (int layer = 0; layer <= 4; ++layer) {
    EXPECT_DOUBLE_EQ(BSedDistrib[layer][1][1], 0.3) << layer;
    EXPECT_DOUBLE_EQ(BSedDistrib[layer][2][1], 0.7) << layer;
  }
  for (int layer = 0; layer <= 5; ++layer) EXPECT_DOUBLE_EQ(Bsolidfraction[layer][1], SolidFrac) << layer;
  EXPECT_EQ(Bedmove[1], 0.0);
  EXPECT_DOUBLE_EQ(Bedlev[1], 1.0);
}

// Restart layers against D: beyond 10 % F 310 1 removes the excess from the
// bottom up or adds the shortage to layer 0; within 10 % nothing changes.
TEST_F(BedStart, RestartLayersFittedByF310) {
  struct Case {
    const char *name;
    double d;
    std::vector<double> layers, after;
  };
  const Case cases[] = {
      {"excess through layer 1", 0.5, {0.2, 0.3, 0.3}, {0.0, 0.2, 0.3}},
      {"excess ends at layer 0", 0.5, {0.3, 0.3, 0.2}, {0.0, 0.3, 0.2}},
      {"shortage to layer 0", 0.5, {0.1, 0.1, 0.1}, {0.3, 0.1, 0.1}},
      {"within 10 %", 1.0, {0.35, 0.35, 0.35}, {0.35, 0.35, 0.35}},
  };
  column(1, 3, true, 0.0, 0.0);
  FlagUseBedres = 1;
  FlagFixBed = 1;
  for (const Case &c : cases) {
    levels(c.d, 0.0);
    setThicknesses(c.layers);
    const std::string before = boogie();
    initialiseBed();
    expectThicknesses(c.after, c.name);
    EXPECT_EQ(boogie(), before) << c.name;
  }
}

TEST_F(BedStart, RestartMismatchWithoutF310Ends) {
  column(1, 3, true, 0.5, 0.0);
  FlagUseBedres = 1;
  setThicknesses({0.2, 0.3, 0.3});
  EXPECT_EXIT(initialiseBed(), ::testing::ExitedWithCode(248), "");
  EXPECT_TRUE(endsWith(boogie(),
                       "\nError for cell no. 1, i = 2, j = 2: The sediment thickness computed\n"
                       "from the difference between the grid bed level and the koordina file\n"
                       "is 0.500000 meters. The sum of the thickness of the bed sediment layers is 0.800000 meters\n"
                       "The reason for the error is lack of correspondence between the information\n"
                       "in the files: fracres, bedres, koomin and the unstruc/koordina.\n"
                       "The problem can be solved by using F 310 1 or 2 in the control file\n"
                       "If you are reading an alldata file, a fix in this file was done on the 3rd July 2020\n\n"));
}

// F 310 2 moves the non-movable level of each corner to lie the layers'
// thickness below the bed.
TEST_F(BedStart, F310TwoMovesTheNonMovableLevel) {
  column(1, 2, false, 3.0, 0.0);
  FlagUseBedres = 1;
  FlagFixBed = 2;
  setThicknesses({0.4, 0.1});
  initialiseBed();
  for (int i = 1; i <= 2; ++i) {
    for (int j = 1; j <= 2; ++j) EXPECT_NEAR(Surfaces[3][i][j], 2.5, 1e-9) << i << " " << j;
  }
  expectThicknesses({0.4, 0.1}, "kept");
}

// F 264 -1: 2 mm and 0.5 mm at 0.5 each differ by 2 in log2, variance 1:
// solid fraction 0.64 + 0.06.
TEST_F(BedStart, SolidFractionFromTheSorting) {
  column(2, 3, true, 1.0, 0.0, {0.5, 0.5});
  gsize[1] = 0.002;
  gsize[2] = 0.0005;
  FlagDensityAlgo = -1;
  initialiseBed();
  for (int layer = 0; layer <= 2; ++layer) EXPECT_NEAR(Bsolidfraction[layer][1], 0.70, 1e-12) << layer;
  EXPECT_DOUBLE_EQ(Bsolidfraction[3][1], SolidFrac);
  BSedDistrib[0][1][1] = 1.0;  // one size alone: no spread
  BSedDistrib[0][2][1] = 0.0;
  EXPECT_NEAR(sortedSolidFraction(0, 1), 0.64, 1e-12);
}

// An "alldata" start drops empty layers from the top down to layer 1; a
// "fracres" start (F 443 1) rebuilds the layers from D and A.
TEST_F(BedStart, AlldataAndFracresStarts) {
  struct Case {
    const char *name;
    bool alldata;
    double d;
    std::vector<double> layers;
    int top;
    std::vector<double> after;
  };
  const Case cases[] = {
      {"alldata, two empty", true, 0.7, {0.5, 0.2, 0.0, 0.0}, 1, {0.5, 0.2, 0.0, 0.0}},
      {"alldata, only layer 0", true, 0.7, {0.7, 0.0, 0.0, 0.0}, 1, {0.7, 0.0, 0.0, 0.0}},
      {"fracres, thick", false, 1.0, {0.0, 0.0, 0.0, 0.0}, 3, {0.3, 0.3, 0.3, 0.1}},
      {"fracres, thinner than A", false, 0.05, {0.0, 0.0, 0.0, 0.0}, 0, {0.05, 0.0, 0.0, 0.0}},
  };
  column(1, 4, true, 0.0, 0.0);
  TopThickness = 0.1;
  for (const Case &c : cases) {
    levels(c.d, 0.0);
    FlagReadAlldata = c.alldata ? 1 : 0;
    FlagReadFracres = c.alldata ? 0 : 1;
    FlagFracresVersion = 1;
    setThicknesses(c.layers);
    initialiseBed();
    EXPECT_EQ(BlayerTop[1], c.top) << c.name;
    expectThicknesses(c.after, c.name);
  }
}

// A non-movable level above the bed leaves a negative active layer.
TEST_F(BedStart, NegativeActiveLayerEnds) {
  column(1, 2, false, 0.0, 1.0);
  EXPECT_EXIT(initialiseBed(), ::testing::ExitedWithCode(212), "");
  EXPECT_TRUE(endsWith(boogie(), "Error, startup, negative bed layer at i,j=2 2\n"));
}
