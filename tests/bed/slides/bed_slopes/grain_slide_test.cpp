// Point levelling with the two-layer grain composition on a hand-built bed of
// 4 x 4 columns: which columns give and receive for each edge of a column
// and either higher point, the smallest lowering, the non-erodible level and
// an active layer too thin for its share. Every case keeps the volume of
// each size and fractions that sum to 1.
#include "bed/slides/bed_slopes/grain_slide.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>
#include <utility>

#include "bed/slides/bed_slopes/sand_slide.h"
#include "bed/slides/bed_slopes/slide_fixture.h"
#include "model/bed_cells.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"

namespace {

using Point = std::pair<int, int>;

double &level(Point p) { return zval[p.first][p.second][1]; }

class GrainSlide : public SlideFixture {
 protected:
  // Columns 2..5 x 2..5 (points 1..5): every point at 0.5 but the upper
  // point at `high` and the lower at 0, so that only their edge is steeper
  // than 0.5. Active layers 0.2 m (the capacity, F 106), layers below 5 m,
  // each column with compositions of its own.
  void SetUp() override {
    SlideFixture::SetUp();
    allocateSlideGrid(2, 2, false);
    TopThickness = 0.2;
    IterAvalanche = 1;
    fresh();
  }
  // The block and its stacks as they start.
  void fresh() {
    clearBlocks();
    block_ = wetBlock(2, 5, 2, 5);
    for (int b = 1; b <= NoBCells; ++b) {
      const double a = 0.1 + 0.05 * b, c = 0.9 - 0.04 * b;
      setStack(b, {{5.0, 0.5, {c, 1.0 - c}}, {0.2, 0.5, {a, 1.0 - a}}});
    }
    for (int p = 0; p <= xnumber + 1; ++p) {
      for (int q = 0; q <= ynumber + 1; ++q) Surfaces[1][p][q] = 0.0;
    }
  }
  void steepEdge(Point up, Point down, double high = 1.0) {
    for (int p = 1; p <= 5; ++p) {
      for (int q = 1; q <= 5; ++q) zval[p][q][1] = 0.5;
    }
    level(up) = high;
    level(down) = 0.0;
  }
  // The columns of the block around grid point p.
  std::set<int> around(Point p) const {
    std::set<int> columns;
    for (int i = p.first; i <= p.first + 1; ++i) {
      for (int j = p.second; j <= p.second + 1; ++j) {
        if (i >= 2 && i <= 5 && j >= 2 && j <= 5) columns.insert(bedCellAt(i, j));
      }
    }
    return columns;
  }
  // Volume of size k in both layers of every column, m3.
  static double sizeVolume(int k) {
    double sum = 0.0;
    for (int b = 1; b <= NoBCells; ++b) {
      for (int layer = 0; layer <= 1; ++layer) sum += Barea[b] * BSedDistrib[layer][0][b] * BSedDistrib[layer][k][b];
    }
    return sum;
  }
  static void expectCompositions() {
    for (int b = 1; b <= NoBCells; ++b) {
      for (int layer = 0; layer <= 1; ++layer) {
        EXPECT_NEAR(BSedDistrib[layer][1][b] + BSedDistrib[layer][2][b], 1.0, 1e-12) << b << " layer " << layer;
      }
    }
  }
  int block_ = 0;
};

// Each row is one line of the table of edges: inside the block the first
// column to meet an edge tests it as its edge 1 or 4, on the block's low-j
// line as edge 2 and on its low-i line as edge 3. The four columns around
// the upper point each give a quarter of the lowering (0.25 m: half the
// excess) from their active layer, refilled from below; the four around the
// lower point take it into the layer below their full active layer.
TEST_F(GrainSlide, TheColumnsAroundTheUpperPointGiveToThoseAroundTheLowerOne) {
  struct Case {
    const char *name;
    Point up, down;
  };
  const Case cases[] = {
      {"edge 1, (i,j) higher", {3, 3}, {2, 3}},     {"edge 1, (i-1,j) higher", {3, 3}, {4, 3}},
      {"edge 4, (i,j) higher", {3, 3}, {3, 2}},     {"edge 4, (i,j-1) higher", {3, 3}, {3, 4}},
      {"edge 2, (i-1,j-1) higher", {2, 1}, {3, 1}}, {"edge 2, (i,j-1) higher", {3, 1}, {2, 1}},
      {"edge 3, (i-1,j) higher", {1, 3}, {1, 2}},   {"edge 3, (i-1,j-1) higher", {1, 2}, {1, 3}},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    fresh();
    steepEdge(c.up, c.down);
    const double size1 = sizeVolume(1), size2 = sizeVolume(2), volume = bedVolume(block_);
    computeSandSlide();
    EXPECT_NEAR(level(c.up), 0.75, 1e-15);
    EXPECT_NEAR(level(c.down), 0.25, 1e-15);
    EXPECT_NEAR(Surfaces[1][c.up.first][c.up.second], -0.25, 1e-15);
    EXPECT_NEAR(bedVolume(block_), volume, 1e-13);
    const std::set<int> givers = around(c.up), takers = around(c.down);
    for (int b = 1; b <= NoBCells; ++b) {
      const double change = (takers.count(b) ? 0.0625 : 0.0) - (givers.count(b) ? 0.0625 : 0.0);
      EXPECT_NEAR(BSedDistrib[0][0][b], 5.0 + change, 1e-14) << "bed cell " << b;
      EXPECT_NEAR(BSedDistrib[1][0][b], 0.2, 1e-15) << "bed cell " << b;
    }
    EXPECT_NEAR(sizeVolume(1), size1, 1e-12 * size1);
    EXPECT_NEAR(sizeVolume(2), size2, 1e-12 * size2);
    expectCompositions();
  }
}

// Half the excess must pass 1e-12 m; an upper point on its non-erodible
// level does not fall.
TEST_F(GrainSlide, TinyLoweringsAndPointsOnTheNonErodibleLevelStay) {
  struct Case {
    const char *name;
    double high, floor;
    bool moves;
  };
  const Case cases[] = {{"lowering 0.9e-12", 0.5 + 1.8e-12, -10.0, false},
                        {"lowering 2e-12", 0.5 + 4e-12, -10.0, true},
                        {"upper point on plane 3", 1.0, 1.0, false}};
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    fresh();
    steepEdge({3, 3}, {2, 3}, c.high);
    Surfaces[3][3][3] = c.floor;
    computeSandSlide();
    EXPECT_EQ(level({3, 3}) != c.high, c.moves);
    EXPECT_EQ(level({2, 3}) != 0.0, c.moves);
  }
}

// Active layers of 0.01 m with nothing below give 0.04 m3 where the slope
// asks 0.25 m of the point: the point falls by what was given, 4·V/A, and
// the lower one rises by as much. The edge is still too steep when column
// (3,4) meets it in the same sweep, and the two shared columns give again
// the 0.01 m they just received: 0.02 m more. The bed volume holds.
TEST_F(GrainSlide, AThinActiveLayerLowersThePointByWhatItGave) {
  steepEdge({3, 3}, {2, 3});
  for (int b : around({3, 3})) setStack(b, {{0.0, 0.5, {0.5, 0.5}}, {0.01, 0.5, {0.3, 0.7}}});
  const double size1 = sizeVolume(1), size2 = sizeVolume(2), volume = bedVolume(block_);
  computeSandSlide();
  EXPECT_NEAR(level({3, 3}), 1.0 - 0.06, 1e-15);
  EXPECT_NEAR(level({2, 3}), 0.06, 1e-15);
  EXPECT_NEAR(bedVolume(block_), volume, 1e-13);
  EXPECT_NEAR(sizeVolume(1), size1, 1e-12 * size1);
  EXPECT_NEAR(sizeVolume(2), size2, 1e-12 * size2);
  expectCompositions();
}

// m_rise on its own, 0.1 m of active layer (size 2) over 1 m of size 1,
// capacity 0.2 m, moved material 3:1: a small rise fills the active layer
// and keeps its old material; a rise beyond the room lays the moved material
// on top and sends the old active material and the rest below.
TEST_F(GrainSlide, RisingFillsTheActiveLayerFromTheTop) {
  struct Case {
    double t, active, active1, below, below1;
  };
  const Case cases[] = {{0.05, 0.15, 0.75 * 0.05 / 0.15, 1.0, 1.0},
                        {0.3, 0.2, 0.75, 1.2, (1.0 + 0.75 * 0.1) / 1.2}};
  for (const Case &c : cases) {
    SCOPED_TRACE(c.t);
    const int b = bedCellAt(2, 2);
    setStack(b, {{1.0, 0.5, {1.0, 0.0}}, {0.1, 0.5, {0.0, 1.0}}});
    AvalMove[1] = 3.0;
    AvalMove[2] = 1.0;
    AvalMove[0] = 4.0;
    m_rise(b, c.t);
    EXPECT_NEAR(BSedDistrib[1][0][b], c.active, 1e-15);
    EXPECT_NEAR(BSedDistrib[1][1][b], c.active1, 1e-12);
    EXPECT_NEAR(BSedDistrib[1][2][b], 1.0 - c.active1, 1e-12);
    EXPECT_NEAR(BSedDistrib[0][0][b], c.below, 1e-15);
    EXPECT_NEAR(BSedDistrib[0][1][b], c.below1, 1e-12);
    EXPECT_NEAR(BSedDistrib[0][2][b], 1.0 - c.below1, 1e-12);
  }
}

}  // namespace
