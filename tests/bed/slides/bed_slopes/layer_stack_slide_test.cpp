// The sand slide of the multi-layer bed on hand-set stacks: the passes of 202
// and 204 against hand values, the whole top layer of 203 with a full and a
// one-layer stack, the pending change of 205 and 206, and unequal column
// areas.
#include "bed/slides/bed_slopes/layer_stack_slide.h"

#include <gtest/gtest.h>

#include <initializer_list>

#include "bed/slides/bed_slopes/sand_slide.h"
#include "bed/slides/bed_slopes/slide_fixture.h"
#include "model/bed_cells.h"
#include "model/settings.h"
#include "model/structured.h"

namespace {

class LayerStackSlide : public SlideFixture {
 protected:
  // Two sizes, the multi-layer bed of `layers` slots, plane 3 at 0.
  void grid(int layers) {
    allocateSlideGrid(2, layers, true);
    for (int i = 0; i <= xnumber + 1; ++i) {
      for (int j = 0; j <= ynumber + 1; ++j) Surfaces[3][i][j] = 0.0;
    }
    gsize[1] = 0.002;
    gsize[2] = 0.001;
    SolidFrac = 0.5;
  }
  // One layer of size 1 under column (i, j).
  static void single(int i, int j, double thickness) { setStack(bedCellAt(i, j), {{thickness, 0.5, {1.0, 0.0}}}); }
  static double stack(int i, int j) {
    const int b = bedCellAt(i, j);
    double sum = 0.0;
    for (int l = 0; l <= BlayerTop[b]; ++l) sum += BSedDistrib[l][0][b];
    return sum;
  }
  static void run(int variant) {
    IterAvalanche = variant;
    computeSandSlide();
  }
};

// 3 x 3 columns of 1 m, the middle one 3 m, the others 1 m: along j the
// middle line gives half of each excess forward, then backward; then along
// i every line does the same.
TEST_F(LayerStackSlide, VariantTwoHundredTwoPassesAlongJThenAlongI) {
  grid(10);
  wetBlock(2, 4, 2, 4);
  for (int i = 2; i <= 4; ++i) {
    for (int j = 2; j <= 4; ++j) single(i, j, i == 3 && j == 3 ? 3.0 : 1.0);
  }
  run(202);
  const double expected[3][3] = {{1.0, 1.09375, 1.0625}, {1.375, 1.59375, 1.5625}, {1.0, 1.1875, 1.125}};
  double total = 0.0;
  for (int i = 2; i <= 4; ++i) {
    for (int j = 2; j <= 4; ++j) {
      EXPECT_NEAR(stack(i, j), expected[i - 2][j - 2], 1e-12) << i << " " << j;
      total += stack(i, j);
      const int b = bedCellAt(i, j);
      EXPECT_NEAR(BSedDistrib[BlayerTop[b]][1][b], 1.0, 1e-12);
    }
  }
  EXPECT_NEAR(total, 11.0, 1e-12);
}

// One pass along i: each pair moves from the lower i when it is too high,
// else from the higher i. With unequal areas the receiver's thickness grows
// by the giver's over the area ratio, so the volume holds.
TEST_F(LayerStackSlide, VariantTwoHundredFourMakesOnePassAlongI) {
  struct Case {
    const char *name;
    std::initializer_list<double> start, areas, end;
  };
  const Case cases[] = {{"equal areas", {1.0, 3.0, 1.0, 1.0}, {1.0, 1.0, 1.0, 1.0}, {1.75, 1.875, 1.375, 1.0}},
                        {"second column twice as large", {3.0, 1.0}, {1.0, 2.0}, {2.25, 1.375}}};
  grid(10);
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    clearBlocks();
    const int last = 1 + static_cast<int>(c.start.size());
    wetBlock(2, last, 2, 2);
    double volume = 0.0;
    for (int i = 2; i <= last; ++i) {
      single(i, 2, c.start.begin()[i - 2]);
      Barea[bedCellAt(i, 2)] = c.areas.begin()[i - 2];
      volume += stack(i, 2) * Barea[bedCellAt(i, 2)];
    }
    run(204);
    double after = 0.0;
    for (int i = 2; i <= last; ++i) {
      EXPECT_NEAR(stack(i, 2), c.end.begin()[i - 2], 1e-12) << i;
      after += stack(i, 2) * Barea[bedCellAt(i, 2)];
    }
    EXPECT_NEAR(after, volume, 1e-12);
  }
}

// Plane 3 falls 1 m a column (column floors 2, 1, 0). Column 2's top layer
// moves whole onto column 3: onto a full stack after two of its layers were
// joined; from a one-layer column, which keeps an empty layer 0.
TEST_F(LayerStackSlide, VariantTwoHundredThreeShiftsTheWholeTopLayer) {
  struct Case {
    const char *name;
    std::initializer_list<HandLayer> giver, taker;
    int takerTop;
    double takerTotal, giverTotal;
  };
  const Case cases[] = {
      {"onto a full stack",
       {{0.5, 0.5, {1.0, 0.0}}, {0.3, 0.6, {0.2, 0.8}}},
       {{0.1, 0.5, {1.0, 0.0}}, {0.1, 0.5, {0.5, 0.5}}, {0.1, 0.5, {0.0, 1.0}}},
       2, 0.6, 0.5},
      {"from a single layer", {{0.3, 0.6, {0.2, 0.8}}}, {{0.2, 0.5, {1.0, 0.0}}}, 1, 0.5, 0.0},
  };
  grid(3);
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    clearBlocks();
    wetBlock(2, 4, 2, 2);
    for (int q = 1; q <= 2; ++q) {
      for (int p = 1; p <= 4; ++p) Surfaces[3][p][q] = 3.5 - p;
    }
    const int giver = bedCellAt(2, 2), taker = bedCellAt(3, 2);
    setStack(giver, c.giver);
    setStack(taker, c.taker);
    single(4, 2, c.takerTotal + 0.6);  // 0.4 m below column 3 after the shift: no further move
    run(203);
    EXPECT_EQ(BlayerTop[taker], c.takerTop);
    EXPECT_NEAR(stack(3, 2), c.takerTotal, 1e-15);
    EXPECT_EQ(BSedDistrib[c.takerTop][0][taker], 0.3);
    EXPECT_EQ(BSedDistrib[c.takerTop][1][taker], 0.2);
    EXPECT_EQ(BSedDistrib[c.takerTop][2][taker], 0.8);
    EXPECT_EQ(Bsolidfraction[c.takerTop][taker], 0.6);
    EXPECT_EQ(BlayerTop[giver], 0);
    EXPECT_NEAR(stack(2, 2), c.giverTotal, 1e-15);
  }
}

// 205: the level counts the pending change; half the excess over the tangent
// moves from it, split by the composition of the top of the higher stack.
TEST_F(LayerStackSlide, VariantTwoHundredFiveMovesHalfTheExcessOfThePendingChange) {
  grid(10);
  wetBlock(2, 3, 2, 2);
  const int high = bedCellAt(2, 2), low = bedCellAt(3, 2);
  setStack(high, {{1.0, 0.5, {0.25, 0.75}}});
  setStack(low, {{0.2, 0.5, {1.0, 0.0}}});
  Bedmove[high] = 0.5;
  Bbedchange[1][high] = 0.2;
  Bbedchange[2][high] = 0.3;
  run(205);
  EXPECT_NEAR(Bedmove[high], 0.1, 1e-15);
  EXPECT_NEAR(Bedmove[low], 0.4, 1e-15);
  EXPECT_NEAR(Bbedchange[1][high], 0.1, 1e-15);
  EXPECT_NEAR(Bbedchange[2][high], 0.0, 1e-15);
  EXPECT_NEAR(Bbedchange[1][low], 0.1, 1e-15);
  EXPECT_NEAR(Bbedchange[2][low], 0.3, 1e-15);
  EXPECT_EQ(stack(2, 2), 1.0) << "the bed itself waits for the bed change";
}

// 206 compares the mean bed levels of the corners (2 m and 1 m over 1 m) and
// hands over only a deposit.
TEST_F(LayerStackSlide, VariantTwoHundredSixShiftsOnlyDeposits) {
  grid(10);
  for (double pending : {0.3, -0.3}) {
    SCOPED_TRACE(pending);
    clearBlocks();
    wetBlock(2, 3, 2, 2);
    for (int q = 1; q <= 2; ++q) {
      zval[1][q][1] = zval[2][q][1] = 2.0;
      zval[3][q][1] = 0.0;
    }
    const int high = bedCellAt(2, 2), low = bedCellAt(3, 2);
    Bedmove[low] = Bbedchange[1][low] = Bbedchange[2][low] = 0.0;
    Bedmove[high] = pending;
    Bbedchange[1][high] = pending / 3.0;
    Bbedchange[2][high] = 2.0 * pending / 3.0;
    run(206);
    const double moved = pending > 0.0 ? pending : 0.0;
    EXPECT_NEAR(Bedmove[high], pending - moved, 1e-15);
    EXPECT_NEAR(Bedmove[low], moved, 1e-15);
    EXPECT_NEAR(Bbedchange[1][low], moved / 3.0, 1e-15);
    EXPECT_NEAR(Bbedchange[2][low], 2.0 * moved / 3.0, 1e-15);
  }
}

}  // namespace
