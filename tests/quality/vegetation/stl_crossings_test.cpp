// The crossings of letter P on two columns of block 1, (2, 2) with bed cell 1
// and (3, 2) with bed cell 2, six level slots each: sorted by elevation, and
// a crossing found twice on an edge shared by two triangles counted once.
#include <gtest/gtest.h>

#include <vector>

#include "grid/grid_fixture.h"
#include "model/bed_cells.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"
#include "quality/vegetation/stl_blockage.h"

namespace {

constexpr double kEmpty = -1e20;

class CrossingColumns : public GridFixture {
 protected:
  void SetUp() override {
    GridFixture::SetUp();
    FlagDragDLL = 1;
    VegLevels = 6;
    allocate(4, 4, 4, 50);
    NoBCells = 2;
    addBlock(2, 3, 2, 2);
    pointbed[2][2] = 1;
    pointbed[3][2] = 2;
  }
  static void fill(int b, const std::vector<double> &levels) {
    for (int k = 0; k < VegLevels; ++k) {
      Bveg[b][0][0][k] = k < static_cast<int>(levels.size()) ? levels[k] : kEmpty;
      Bveg[b][0][1][k] = k < static_cast<int>(levels.size()) ? (k % 2 == 0 ? 1.0 : -1.0) : 0.0;
    }
  }
  static void expectLevels(int b, const std::vector<double> &levels) {
    for (int k = 0; k < VegLevels; ++k) {
      const double expected = k < static_cast<int>(levels.size()) ? levels[k] : kEmpty;
      EXPECT_DOUBLE_EQ(Bveg[b][0][0][k], expected) << "bed cell " << b << ", slot " << k;
    }
  }
};

TEST_F(CrossingColumns, SortsAndCountsASharedEdgeOnce) {
  // An edge of one face: three crossings, two after; both faces' shared
  // diagonals: four crossings, two after.
  fill(1, {0.8, 0.3, 0.30000001});
  fill(2, {0.8, 0.8, 0.3, 0.3});
  computeVegdataBubblesort();
  expectLevels(1, {0.30000001, 0.8});
  expectLevels(2, {0.3, 0.8});
}

TEST_F(CrossingColumns, ColumnWithEverySlotUsedIsOnlySorted) {
  fill(1, {6.0, 5.0, 4.0, 3.0, 2.0, 2.0});
  computeVegdataBubblesort();
  expectLevels(1, {2.0, 2.0, 3.0, 4.0, 5.0, 6.0});
}

TEST(StlLevel, PlaneThroughTheCornersAtTheColumnCentre) {
  const StlTriangle t{{0.0, 1.0, 0.0}, {0.0, 0.0, 1.0}, {1.0, 2.0, 3.0}};
  EXPECT_NEAR(computeVegdataVertLevel(t, 0.25, 0.25), 1.75, 1e-12);
  const StlTriangle reversed{{0.0, 0.0, 1.0}, {0.0, 1.0, 0.0}, {1.0, 3.0, 2.0}};
  EXPECT_NEAR(computeVegdataVertLevel(reversed, 0.5, 0.1), 1.7, 1e-12);
}

}  // namespace
