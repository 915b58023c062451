// Joins between blocks on columns built with MakeCell: pairing from the top,
// the bottom rule of the depth-following grid methods, the plan tolerance,
// the search order and a full connection list.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <utility>
#include <vector>

#include "grid/generation/grid_build.h"
#include "grid/grid_fixture.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/grid_index.h"
#include "model/points.h"
#include "model/settings.h"
#include "model/work_ranges.h"
#include "support/run_case.h"

namespace {

// A column of n unit cells on the plan square x0..x0+1, y0..y0+1, numbered
// from `first` bottom up, each sharing the top face of the one below. With
// mirrored the corners run towards falling x. Returns the top cell.
int buildColumn(int first, int n, double x0, double y0, bool mirrored = false) {
  NewCell = NewCellRecord{};
  for (int k = 0; k < n; ++k) {
    const int c = first + k;
    NewCell = NewCellRecord{};
    const double xs[4] = {x0, x0 + 1, x0 + 1, x0}, ys[4] = {y0, y0, y0 + 1, y0 + 1};
    for (int m = 0; m < 4; ++m) {
      const double x = mirrored ? 2 * x0 + 1 - xs[m] : xs[m];
      NewCell.x[m + 1] = NewCell.x[m + 5] = x;
      NewCell.y[m + 1] = NewCell.y[m + 5] = ys[m];
      NewCell.z[m + 1] = k;
      NewCell.z[m + 5] = k + 1;
    }
    NewCell.cell[5] = k > 0 ? c - 1 : 0;
    NewCell.cell[6] = k < n - 1 ? c + 1 : 0;
    NewCell.face[5] = k > 0 ? Cflatet[c - 1] : 0;
    MakeCell(c);
  }
  return first + n - 1;
}

using Connection = GridFixture;

// Cells 1..5 in one column, 6..8 in the column east of it.
struct PairCase {
  const char *name;
  int method;
  bool fromEast;  // called for the west side of 8 instead of the east side of 5
  std::array<std::array<int, 2>, 3> pairs;  // (west cell, east cell) of rows 1..3
  friend void PrintTo(const PairCase &c, std::ostream *os) { *os << c.name; }
};

class ColumnPairs : public GridFixture, public ::testing::WithParamInterface<PairCase> {};

TEST_P(ColumnPairs, LinksLevelByLevelFromTheTop) {
  const PairCase &c = GetParam();
  allocate(6, 6, 4, 200);
  UMethod = c.method;
  buildColumn(1, 5, 0, 0);
  buildColumn(6, 3, 1, 0);
  WCStart = 1;
  WCEnd = 8;
  const int result = c.fromEast ? Connect(Cpoint4[8], Cpoint1[8], 8, 4) : Connect(Cpoint2[5], Cpoint3[5], 5, 2);
  EXPECT_EQ(result, 1);
  ASSERT_EQ(NoConnFlate, 3);
  for (int r = 0; r < 3; ++r) {
    const int w = c.pairs[r][0], e = c.pairs[r][1];
    SCOPED_TRACE("row " + std::to_string(r + 1));
    EXPECT_EQ(connFlate[r + 1][0], Cflatee[w]);
    EXPECT_EQ(connFlate[r + 1][1], Cflatew[e]);
    EXPECT_EQ(Ccelle[w], e);
    EXPECT_EQ(Ccellw[e], w);
    EXPECT_EQ(Fcell1[Cflatee[w]], w);
    EXPECT_EQ(Fcell2[Cflatee[w]], e);
    EXPECT_EQ(Fcell1[Cflatew[e]], w);
    EXPECT_EQ(Fcell2[Cflatew[e]], e);
  }
  // Cells of the deeper column left without a partner stay boundaries.
  for (int a = 1; a <= 5; ++a) {
    bool paired = false;
    for (const auto &p : c.pairs) paired |= p[0] == a;
    if (!paired) {
      EXPECT_EQ(Ccelle[a], 0) << a;
      EXPECT_EQ(Fcell2[Cflatee[a]], 0) << a;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Methods, ColumnPairs,
    ::testing::Values(PairCase{"Method1KeepsTheTopPairs", 1, false, {{{5, 8}, {4, 7}, {3, 6}}}},
                      PairCase{"Method11LinksTheBottomCells", 11, false, {{{5, 8}, {4, 7}, {1, 6}}}},
                      PairCase{"Method11FoundColumnIsTheDeeper", 11, true, {{{5, 8}, {4, 7}, {1, 6}}}},
                      PairCase{"Method100LinksTheBottomCells", 100, false, {{{5, 8}, {4, 7}, {1, 6}}}},
                      PairCase{"Method14KeepsTheTopPairs", 14, false, {{{5, 8}, {4, 7}, {3, 6}}}}));

TEST_F(Connection, EqualColumnsEndTogether) {
  allocate(6, 6, 4, 200);
  buildColumn(1, 2, 0, 0);
  buildColumn(3, 2, 0, 1);
  WCStart = 1;
  WCEnd = 4;
  EXPECT_EQ(Connect(Cpoint3[2], Cpoint4[2], 2, 3), 1);  // north side of the first column
  EXPECT_EQ(NoConnFlate, 2);
  EXPECT_EQ(Ccelln[2], 4);
  EXPECT_EQ(Ccells[3], 1);
  EXPECT_EQ(connFlate[2][0], Cflaten[1]);
  EXPECT_EQ(connFlate[2][1], Cflates[3]);
}

TEST_F(Connection, EdgesCompareInEitherOrder) {
  allocate(6, 6, 4);
  EXPECT_EQ(checkXY(0, 1, 0, 1, 0, 2, 0, 2), 1);
  EXPECT_EQ(checkXY(0, 1, 1, 0, 0, 2, 2, 0), 2);
  EXPECT_EQ(checkXY(0, 1, 0, 1, 0, 2, 2, 0), 0);
  EXPECT_EQ(checkXY(0, 0, 0, 0, 0, 0, 0, 0), 1);
}

// A mirrored east column shows its east side in the same order as the west
// column's east side: that edge matches without reversal and still joins.
TEST_F(Connection, EdgeInTheSameOrderConnects) {
  allocate(6, 6, 4, 200);
  buildColumn(1, 1, 0, 0);
  buildColumn(2, 1, 1, 0, true);
  WCStart = 1;
  WCEnd = 2;
  EXPECT_EQ(Connect(Cpoint2[1], Cpoint3[1], 1, 2), 1);
  EXPECT_EQ(Ccelle[1], 2);
  EXPECT_EQ(Ccelle[2], 1);
  EXPECT_EQ(Ccellw[2], 0);
}

// ConnectLimit 1e-5: each coordinate on its own must differ by less.
struct ShiftCase {
  const char *name;
  double dx, dy;
  int result;
  friend void PrintTo(const ShiftCase &c, std::ostream *os) { *os << c.name; }
};

class PlanTolerance : public GridFixture, public ::testing::WithParamInterface<ShiftCase> {};

TEST_P(PlanTolerance, MatchesWithinTheLimit) {
  const ShiftCase &c = GetParam();
  allocate(6, 6, 4, 200);
  ASSERT_EQ(ConnectLimit, 1e-5);
  buildColumn(1, 2, 0, 0);
  buildColumn(3, 2, 1 + c.dx, c.dy);
  WCStart = 1;
  WCEnd = 4;
  EXPECT_EQ(Connect(Cpoint2[2], Cpoint3[2], 2, 2), c.result);
  EXPECT_EQ(NoConnFlate, c.result ? 2 : 0);
  EXPECT_EQ(Ccelle[2], c.result ? 4 : 0);
  EXPECT_EQ(Fcell2[Cflatee[2]], c.result ? 4 : 0);
}

INSTANTIATE_TEST_SUITE_P(Shifts, PlanTolerance,
                         ::testing::Values(ShiftCase{"XJustInside", 0.9e-5, 0, 1}, ShiftCase{"XAtTheLimit", 1e-5, 0, 0},
                                           ShiftCase{"YJustInside", 0, -0.9e-5, 1},
                                           ShiftCase{"YAtTheLimit", 0, -1e-5, 0},
                                           ShiftCase{"BothJustInside", 0.9e-5, 0.9e-5, 1}));

// Two columns stand on the same place east of the first: the lower-numbered
// one in the work range is taken, and a joined side is never taken again.
TEST_F(Connection, FirstFreeMatchInRisingOrder) {
  allocate(6, 6, 4, 200);
  buildColumn(1, 1, 0, 0);
  buildColumn(2, 1, 1, 0);
  buildColumn(3, 1, 1, 0);
  buildColumn(4, 1, 0, 0);
  WCStart = 1;
  WCEnd = 4;
  EXPECT_EQ(Connect(Cpoint2[1], Cpoint3[1], 1, 2), 1);
  EXPECT_EQ(Ccelle[1], 2);
  // Column 3's west side finds neither the joined east side of 1 nor, of course,
  // a west side; column 4, a copy of 1, is free.
  EXPECT_EQ(Connect(Cpoint4[3], Cpoint1[3], 3, 4), 1);
  EXPECT_EQ(Ccellw[3], 4);
  EXPECT_EQ(Ccelle[4], 3);
  EXPECT_EQ(Ccelle[1], 2);
  EXPECT_EQ(NoConnFlate, 2);
  // Nothing free is left on that edge.
  buildColumn(5, 1, 1, 0);
  WCEnd = 5;
  EXPECT_EQ(Connect(Cpoint4[5], Cpoint1[5], 5, 4), 0);
  EXPECT_EQ(Ccellw[5], 0);
  // The search keeps to the work range.
  WCStart = WCEnd = 4;
  EXPECT_EQ(Connect(Cpoint2[1], Cpoint3[1], 1, 2), 0);
}

// connFlate has MaxConnFlate rows, 0 unused: a pair that would make the count
// reach MaxConnFlate is neither linked nor stored.
struct FullCase {
  const char *name;
  int capacity, countBefore;
  int result, countAfter;
  const char *linked;  // per cell 1..5 of the first column: 'x' joined to the east
  friend void PrintTo(const FullCase &c, std::ostream *os) { *os << c.name; }
};

class FullList : public GridFixture, public ::testing::WithParamInterface<FullCase> {};

TEST_P(FullList, StopsBeforeThePairThatDoesNotFit) {
  const FullCase &c = GetParam();
  allocate(6, 6, 4, 200, c.capacity);
  UMethod = 11;
  buildColumn(1, 5, 0, 0);
  buildColumn(6, 3, 1, 0);
  WCStart = 1;
  WCEnd = 8;
  NoConnFlate = c.countBefore;
  for (int r = 0; r < c.capacity; ++r) connFlate[r][0] = connFlate[r][1] = -9;
  EXPECT_EQ(Connect(Cpoint2[5], Cpoint3[5], 5, 2), c.result);
  EXPECT_EQ(NoConnFlate, c.countAfter);
  for (int r = c.countAfter + 1; r < c.capacity; ++r) EXPECT_EQ(connFlate[r][0], -9) << r;
  for (int a = 1; a <= 5; ++a) {
    const bool linked = c.linked[a - 1] == 'x';
    EXPECT_EQ(Ccelle[a] != 0, linked) << a;
    EXPECT_EQ(Fcell2[Cflatee[a]] != 0, linked) << a;
  }
  if (c.result == kConnectListFull) {
    EXPECT_TRUE(endsWith(boogie(), "Error, increase 5th integer on F 65 data set, now at: " +
                                       std::to_string(c.capacity) + "\n"))
        << boogie();
  }
}

INSTANTIATE_TEST_SUITE_P(Capacity, FullList,
                         ::testing::Values(FullCase{"AlreadyFull", 3, 2, kConnectListFull, 2, "....."},
                                           FullCase{"FullAfterTwoPairs", 3, 0, kConnectListFull, 2, "...xx"},
                                           FullCase{"LastRowUsed", 4, 0, 1, 3, "x..xx"}));

// Columns standing alone on a 6 x 5 plan grid, built in a shuffled order with
// 1 to 4 cells: some twice on one place, some shifted by less than the limit,
// some by more.
void buildLayout(double origin, unsigned seed) {
  NoPoints = NoSurfaces = NoConnFlate = 0;
  auto next = [&seed] { return (seed = seed * 1103515245u + 12345u) >> 16; };
  std::vector<std::pair<double, double>> places;
  for (int gx = 0; gx < 6; ++gx)
    for (int gy = 0; gy < 5; ++gy) places.emplace_back(gx, gy);
  for (int n = 0; n < 8; ++n) places.push_back(places[next() % 30]);
  for (int n = 0; n < 4; ++n) places.emplace_back(places[next() % 30].first + 0.6e-5, places[next() % 30].second);
  for (int n = 0; n < 4; ++n) places.emplace_back(places[next() % 30].first, places[next() % 30].second + 0.2);
  for (std::size_t n = places.size() - 1; n > 0; --n) std::swap(places[n], places[next() % (n + 1)]);
  int first = 1;
  for (const auto &[x, y] : places) {
    const int cells = 1 + static_cast<int>(next() % 4);
    buildColumn(first, cells, origin + x, y);
    first += cells;
  }
  NoCells = first - 1;
  WCStart = 1;
  WCEnd = NoCells;
}

std::vector<int> linkState() {
  std::vector<int> state{NoConnFlate};
  for (int c = 1; c <= NoCells; ++c) {
    for (int *t : {Ccells, Ccelle, Ccelln, Ccellw}) state.push_back(t[c]);
  }
  for (int f = 1; f <= NoSurfaces; ++f) {
    state.push_back(Fcell1[f]);
    state.push_back(Fcell2[f]);
  }
  for (int r = 1; r <= NoConnFlate; ++r) {
    state.push_back(connFlate[r][0]);
    state.push_back(connFlate[r][1]);
  }
  return state;
}

// The generator's loop, calling Connect for every free side of every top cell.
void connectByScan() {
  for (int c = 1; c <= NoCells; ++c) {
    if (Ccellt[c] != 0) continue;
    if (Ccells[c] == 0) Connect(Cpoint1[c], Cpoint2[c], c, 1);
    if (Ccelle[c] == 0) Connect(Cpoint2[c], Cpoint3[c], c, 2);
    if (Ccelln[c] == 0) Connect(Cpoint3[c], Cpoint4[c], c, 3);
    if (Ccellw[c] == 0) Connect(Cpoint4[c], Cpoint1[c], c, 4);
  }
}

struct LayoutCase {
  const char *name;
  double limit, origin;
  int method;
  int leastPairs;
  friend void PrintTo(const LayoutCase &c, std::ostream *os) { *os << c.name; }
};

class BlockSides : public GridFixture, public ::testing::WithParamInterface<LayoutCase> {};

// The indexed search joins exactly what the scan over all cells joins.
TEST_P(BlockSides, SameJoinsAsTheScan) {
  const LayoutCase &c = GetParam();
  allocate(6, 6, 4, 2000, 1000);
  ConnectLimit = c.limit;
  UMethod = c.method;
  for (unsigned seed : {1u, 7u, 12345u}) {
    SCOPED_TRACE(seed);
    buildLayout(c.origin, seed);
    connectByScan();
    const std::vector<int> scanned = linkState();
    buildLayout(c.origin, seed);
    EXPECT_EQ(connectBlockSides(), 0);
    EXPECT_EQ(linkState(), scanned);
    EXPECT_GE(NoConnFlate, c.leastPairs);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, BlockSides,
    ::testing::Values(LayoutCase{"DefaultLimit", 1e-5, 0.0, 11, 40},
                      LayoutCase{"DefaultLimitMethod1", 1e-5, 0.0, 1, 40},
                      LayoutCase{"FarFromTheOrigin", 1e-5, 5e5, 11, 40},
                      LayoutCase{"WideLimit", 0.3, 0.0, 11, 40},
                      LayoutCase{"BinsTooFineForTheIndex", 1e-5, 1e11, 11, 0},
                      LayoutCase{"NoLimit", 0.0, 0.0, 11, 0}));

TEST_F(Connection, BlockSidesStopAtAFullList) {
  allocate(6, 6, 4, 200, 3);
  buildColumn(1, 2, 0, 0);
  buildColumn(3, 2, 1, 0);
  buildColumn(5, 1, 0, 1);
  NoCells = 5;
  WCStart = 1;
  WCEnd = 5;
  EXPECT_EQ(connectBlockSides(), kConnectListFull);
  EXPECT_EQ(NoConnFlate, 2);
  EXPECT_EQ(Ccelln[2], 0);
  EXPECT_TRUE(endsWith(boogie(), "Error, increase 5th integer on F 65 data set, now at: 3\n"));
}

}  // namespace
