// The weirs of the level equation on hand-built columns with a uniform
// velocity field: which faces measure the discharge across the weir's line,
// the head of the weir law over the crest, and how the columns are fixed.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "flow/boundaries/weirs.h"
#include "model/cells.h"
#include "model/control_tables.h"
#include "model/structured.h"
#include "turbulence/box_cells.h"

namespace {

using WeirLevels = BoxCells;

struct Column {
  int i, j, bottom;  // structured column and its bottom cell (0 dry)
};

// Three columns of two cells of 1 x 2 x 0.5 m: an east or west face has the
// area 1 m2 (along x), a south or north face 0.5 m2 (along y).
void columnsWith(double u, double v, const std::vector<Column> &columns) {
  BoxCells::build(3, 2, 1.0, 2.0, 0.5);
  for (int c = 1; c <= NoCells; ++c) {
    Cxvel[c] = u;
    Cyvel[c] = v;
    Cap[c] = 5.0;
    Csource[c] = 9.0;
  }
  Cap[0] = Csource[0] = 0.0;
  for (int i = 0; i <= 4; ++i)
    for (int j = 0; j <= 3; ++j) zval[i][j][0] = 0.0;
  for (const Column &c : columns) zval[c.i][c.j][0] = c.bottom;
}

TEST_F(WeirLevels, DischargeAcrossTheLineGivesTheHead) {
  // Coefficient 2, exponent 1.5, crest 10 m: Q 16 m3/s stands 4 m above it.
  const std::vector<Column> alongJ{{1, 1, 1}, {1, 2, 3}, {1, 3, 5}};
  const std::vector<Column> alongI{{1, 1, 1}, {2, 1, 3}, {3, 1, 5}};
  struct Row {
    const char *name;
    WeirEntry weir;
    std::vector<Column> columns;
    double u, v, discharge;
  };
  const Row rows[] = {
      {"a line along j, crossed through east and west faces", {1, 1, 1, 3, 10.0, 2.0, 1.5}, alongJ, 16.0 / 6.0, 7.0,
       16.0},
      {"a line along i, crossed through south and north faces", {1, 3, 1, 1, 10.0, 2.0, 1.5}, alongI, 7.0, 16.0 / 3.0,
       16.0},
      {"a single column, east and west", {2, 2, 2, 2, 10.0, 2.0, 1.5}, {{2, 2, 3}}, 8.0, 7.0, 16.0},
      {"no flow holds the crest", {1, 1, 1, 3, 10.0, 2.0, 1.5}, alongJ, 0.0, 0.0, 0.0},
      {"a river flowing towards lower i", {1, 1, 1, 3, 10.0, 2.0, 1.5}, alongJ, -16.0 / 6.0, 0.0, 16.0},
      {"a dry column adds nothing", {1, 1, 1, 3, 10.0, 2.0, 1.5}, {{1, 1, 1}, {1, 2, 0}, {1, 3, 5}}, 4.0, 0.0, 16.0},
  };
  for (const Row &r : rows) {
    columnsWith(r.u, r.v, r.columns);
    Weirs[0] = r.weir;
    NoWeirs = 1;
    computeWeirs();
    const double level = 10.0 + std::pow(r.discharge / 2.0, 1.0 / 1.5);
    for (const Column &c : r.columns) {
      EXPECT_EQ(Cap[c.bottom], c.bottom > 0 ? 5.0 + 1e30 : 1e30) << r.name << ", cell " << c.bottom;
      EXPECT_NEAR(Csource[c.bottom] / 1e30, level, 1e-12) << r.name << ", cell " << c.bottom;
    }
    EXPECT_EQ(Cap[2], 5.0) << r.name << ": cells above the bottom cell keep their terms";
    EXPECT_EQ(Csource[2], 9.0) << r.name;
  }
  EXPECT_NEAR(10.0 + std::pow(8.0, 1.0 / 1.5), 14.0, 1e-12);
}

TEST_F(WeirLevels, DiagonalRecordIsSkippedAndWeirsFollowInOrder) {
  columnsWith(3.0, 0.0, {{1, 1, 1}, {2, 2, 3}, {3, 3, 5}});
  Weirs[0] = {1, 3, 1, 3, 10.0, 2.0, 1.5};  // neither one row nor one column
  Weirs[1] = {3, 3, 3, 3, 2.0, 3.0, 1.0};   // a single column: 6 m3/s over C 3, head 2 m
  NoWeirs = 2;
  computeWeirs();
  EXPECT_EQ(Cap[1], 5.0);
  EXPECT_EQ(Csource[1], 9.0);
  EXPECT_EQ(Cap[3], 5.0);
  EXPECT_NEAR(Csource[5] / 1e30, 4.0, 1e-12);
}

}  // namespace
