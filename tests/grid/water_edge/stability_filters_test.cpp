// The default stability filters on small maps of line and cell counts: lone
// wet lines, columns hanging on fewer than two sides, isolated columns, and
// the blocks too narrow for the column filters.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "grid/count_maps.h"
#include "grid/generation/grid_build.h"
#include "grid/grid_fixture.h"
#include "model/grid_index.h"
#include "model/settings.h"

namespace {

using Filters = GridFixture;

// Lines of a block of columns 2..5 x 2..5 (lines 1..5) and one line beyond it.
TEST_F(Filters, LoneWetLinesTurnDry) {
  allocate(8, 8, 11);
  const Map lines = {".....",
                     ".3...",
                     "...44",
                     ".....",
                     "5...6"};
  for (int presDebug : {0, 2}) {
    putMap(antlin, lines, 1, 1, 1);
    antlin[6][1] = 2;  // beyond the block, it keeps line (5, 1) wet
    FlagPresDebug = presDebug;
    Grid1Stability(2, 5, 2, 5);
    const Map expected = presDebug == 2 ? lines
                                        : Map{".....",
                                              ".....",
                                              "...44",
                                              ".....",
                                              "....6"};
    EXPECT_EQ(takeMap(antlin, 1, 5, 1, 5, 1), expected) << "F 183 " << presDebug << show(takeMap(antlin, 1, 5, 1, 5, 1));
  }
}

// Columns 2..6 x 2..5 of a block (or of the rows given), lines 1..6 x 1..5.
struct FilterCase {
  const char *name;
  int i1, i2, j1, j2;
  int stab1, stab4;
  Map lines;  // lines i = 1..6, j = 5 down to 1
  Map cells;  // columns i = 2..6, j = 5 down to 2
  Map kept;
  friend void PrintTo(const FilterCase &c, std::ostream *os) { *os << c.name; }
};

class ColumnFilters : public GridFixture, public ::testing::WithParamInterface<FilterCase> {};

TEST_P(ColumnFilters, KeepsTheColumnsThatCarryFlow) {
  const FilterCase &c = GetParam();
  allocate(9, 8, 11);
  putMap(antlin, c.lines, 1, 1, 1);
  putMap(ant, c.cells, 2, 2, 0);
  FlagGridStab1 = c.stab1;
  FlagGridStab4 = c.stab4;
  Grid2Stability(c.i1, c.i2, c.j1, c.j2);
  EXPECT_EQ(takeMap(ant, 2, 6, 2, 5, 0), c.kept) << show(takeMap(ant, 2, 6, 2, 5, 0));
  EXPECT_EQ(takeMap(antlin, 1, 6, 1, 5, 1), c.lines);  // line counts are not touched
}

const Map kAllWet = {"333333", "333333", "333333", "333333", "333333"};
const Map kEmpty = {".....", ".....", ".....", "....."};

INSTANTIATE_TEST_SUITE_P(
    Defaults, ColumnFilters,
    ::testing::Values(
        FilterCase{"ChainThroughDryCornersIsRemoved", 2, 6, 2, 5, 1, 1,
                   {"333333", "333.33", "33.333", "3.3333", "333333"},
                   {"...1.", "..1..", ".1...", "1...."}, kEmpty},
        FilterCase{"TwoWideChannelStays", 2, 6, 2, 5, 1, 1, kAllWet,
                   {".....", "45678", "45678", "....."},
                   {".....", "45678", "45678", "....."}},
        FilterCase{"OneWideDeadEndIsRemoved", 2, 6, 2, 5, 1, 1, kAllWet,
                   {".....", ".....", "22222", "....."}, kEmpty},
        // Sweeps run with rising i: a dead end towards high i loses one column per sweep.
        FilterCase{"DeadEndTowardsHighIUnravelsOverSweeps", 2, 6, 2, 5, 1, 1, kAllWet,
                   {".....", "33...", "33222", "....."},
                   {".....", "33...", "33...", "....."}},
        FilterCase{"RingOneWideStays", 2, 6, 2, 5, 1, 1, kAllWet,
                   {".....", "111..", "1.1..", "111.."},
                   {".....", "111..", "1.1..", "111.."}},
        FilterCase{"SingleRowBlockIsLeftAlone", 2, 6, 2, 2, 1, 1, kAllWet,
                   {".....", ".....", ".....", "1.11."},
                   {".....", ".....", ".....", "1.11."}},
        FilterCase{"IsolatedColumnIsRemoved", 2, 6, 2, 5, 0, 1, kAllWet,
                   {".....", ".....", ".....", "1.11."},
                   {".....", ".....", ".....", "..11."}},
        FilterCase{"PairJoinedOnlyByDryLinesIsIsolated", 2, 6, 2, 5, 0, 1,
                   {"333333", "333333", "333333", "333.33", "333.33"},
                   {".....", ".....", ".....", "..11."}, kEmpty},
        FilterCase{"FourthValueFiveRemovesIsolatedColumns", 2, 6, 2, 5, 0, 5, kAllWet,
                   {".....", ".....", ".1...", "1.11."},
                   {".....", ".....", ".....", "..11."}},
        FilterCase{"FourthValueFourKeepsThem", 2, 6, 2, 5, 0, 4, kAllWet,
                   {".....", ".....", ".1...", "1.11."},
                   {".....", ".....", ".1...", "1.11."}},
        FilterCase{"SingleColumnBlockSkipsTheIsolatedFilter", 2, 2, 2, 5, 0, 1, kAllWet,
                   {".....", ".....", "1....", "....."},
                   {".....", ".....", "1....", "....."}},
        FilterCase{"BothOff", 2, 6, 2, 5, 0, 0, kAllWet,
                   {".....", ".....", "..1..", "1...."},
                   {".....", ".....", "..1..", "1...."}}));

}  // namespace
