// F 348: two blocks whose shared boundary has 6 rows on one side and 4 on
// the other, joined row to nearest row and cell to nearest level.
#include <gtest/gtest.h>

#include <string>

#include "grid/grid_fixture.h"
#include "grid/grid_services.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/grid_index.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"

namespace {

// Two blocks meeting along x = 2 from y = 0 to 6: block 1 (columns i = 2..3,
// rows j = 2..7 of 1 m) west of block 2 (columns i = 5..6, rows j = 10..13
// of 1.5 m). Block 1 holds 1 m of water in 9 cells, block 2 the given depth.
class UnevenJoin : public GridFixture {
 protected:
  static void build(double depth2, int uneven) {
    allocate(8, 16, 11);
    flatGrid(1, 3, 1, 7, 1.0);
    for (int i = 4; i <= 6; ++i) {
      for (int j = 9; j <= 13; ++j) {
        xval[i][j] = i - 2;
        yval[i][j] = 1.5 * (j - 9);
        zval[i][j][1] = 0.0;
        zval[i][j][11] = depth2;
      }
    }
    addBlock(2, 3, 2, 7);
    addBlock(5, 6, 10, 13);
    NoConnect = 0;
    UnevenConnect = uneven;
    ASSERT_EQ(Unstructure(), 1);
    ASSERT_EQ(NoCells, 2 * (6 * 9 + 4 * (depth2 < 1.0 ? 6 : 9)));
  }
};

int cellOf(int i, int j, int m) { return static_cast<int>(zval[i][j][0]) + m - 1; }

// The rows at 0.5, 1.5, .. 5.5 m take the rows at 0.75, 2.25, 3.75, 5.25 m
// (the first of two equally near); cells of 1/9 m and 1/12 m take the
// nearest level below the top cells. The last block-1 row that chose a
// block-2 row leaves its west links.
TEST_F(UnevenJoin, SixRowsOnFour) {
  build(0.5, 1);
  const int rowOf[8] = {0, 0, 10, 10, 11, 12, 12, 13};
  for (int j = 2; j <= 7; ++j) {
    SCOPED_TRACE("row " + std::to_string(j));
    const int j2 = rowOf[j];
    EXPECT_EQ(Ccelle[cellOf(3, j, 1)], cellOf(5, j2, 1));     // 0.056 m: 0.042 m
    EXPECT_EQ(Ccelle[cellOf(3, j, 4)], cellOf(5, j2, 5));     // 0.389 m: 0.375 m, the highest below the top
    EXPECT_EQ(Ccelle[cellOf(3, j, 8)], cellOf(5, j2, 5));
    EXPECT_EQ(Fcell2[Cflatee[cellOf(3, j, 8)]], cellOf(5, j2, 5));
    EXPECT_EQ(Ccelle[cellOf(3, j, 9)], 0);                    // the top cell takes no part
  }
  const int lastRow[4] = {3, 4, 6, 7};
  for (int n = 0; n < 4; ++n) {
    const int j2 = 10 + n, j = lastRow[n];
    EXPECT_EQ(Ccellw[cellOf(5, j2, 1)], cellOf(3, j, 1)) << j2;
    EXPECT_EQ(Ccellw[cellOf(5, j2, 3)], cellOf(3, j, 2)) << j2;  // 0.208 m: 0.167 m
    EXPECT_EQ(Ccellw[cellOf(5, j2, 5)], cellOf(3, j, 4)) << j2;  // 0.375 m: 0.389 m
    EXPECT_EQ(Fcell1[Cflatew[cellOf(5, j2, 5)]], cellOf(3, j, 4)) << j2;
  }
  EXPECT_EQ(NoConnFlate, 0);
  EXPECT_EQ(connFlate[1][0] + connFlate[1][1], 0);
}

// Equal counts and depths: every cell below the top joins the cell at its level.
TEST_F(UnevenJoin, EqualColumnsLevelByLevel) {
  build(1.0, 1);
  for (int m = 1; m <= 8; ++m) {
    EXPECT_EQ(Ccelle[cellOf(3, 2, m)], cellOf(5, 10, m)) << m;
    EXPECT_EQ(Ccellw[cellOf(5, 13, m)], cellOf(3, 7, m)) << m;
  }
}

// F 348 2 exchanges the columns' parts: block 2's column takes east links,
// its rows measured along its line i1, block 1's column takes west links.
TEST_F(UnevenJoin, ExchangedRoles) {
  build(0.5, 2);
  const int rowOf[4] = {2, 4, 5, 7};
  for (int n = 0; n < 4; ++n) {
    EXPECT_EQ(Ccelle[cellOf(5, 10 + n, 5)], cellOf(3, rowOf[n], 4)) << n;
    EXPECT_EQ(Ccellw[cellOf(3, rowOf[n], 1)], cellOf(5, 10 + n, 1)) << n;
  }
}

}  // namespace
