// The work ranges of a flow computation on four blocks of 10 cells and 30
// faces each: the whole grid, the G 25 work blocks, a last layer block left
// out, and the cases that leave the ranges as they were.
#include <gtest/gtest.h>

#include <vector>

#include "flow/drivers/flow_drivers.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/settings.h"
#include "model/work_ranges.h"
#include "startup/control_reader.h"

namespace {

struct Row {
  const char *name;
  std::vector<int> workBlocks;  // G 25 values of blocks 1..n
  int workBlockNo;              // G 25 count; -1 the size of the list
  int tsc, lastLayer, mgs;
  int cells[2], faces[2];
};

constexpr int kUnchanged[2] = {5, 6};  // ranges before the call

TEST(WorkRanges, Cases) {
  const Row rows[] = {
      {"whole grid", {}, 0, 0, 0, 0, {1, 40}, {1, 120}},
      {"blocks 1 and 3 span block 2", {1, 0, 1}, -1, 0, 0, 0, {1, 30}, {1, 90}},
      {"block 2 alone", {0, 2}, -1, 0, 0, 0, {11, 20}, {31, 60}},
      {"no work block selected: empty", {0, 0, 0, 0}, -1, 0, 0, 0, {40, 1}, {120, 1}},
      {"work blocks beyond the grid are passed over", {0, 1, 0, 0, 0, 1}, -1, 0, 0, 0, {11, 20}, {31, 60}},
      {"layer last, sediment loop", {}, 0, 1, 1, 0, {1, 30}, {1, 90}},
      {"layer last, work blocks", {0, 1}, -1, 0, 1, 0, {1, 30}, {1, 90}},
      {"layer last, flow alone", {}, 0, 0, 1, 0, {1, 40}, {1, 120}},
      {"negative layer mark, sediment loop", {}, 0, 1, -1, 0, {5, 6}, {5, 6}},
      {"negative work-block count", {1}, -2, 0, 0, 0, {5, 6}, {5, 6}},
      {"multigrid levels set their own", {0, 1}, -1, 0, 1, 1, {5, 6}, {5, 6}},
  };
  for (const Row &row : rows) {
    kreadDefaults();
    NoBlocks = 4;
    NoCells = 40;
    NoSurfaces = 120;
    for (int b = 1; b <= 4; ++b) {
      block[b].FirstCell = 10 * b - 9;
      block[b].LastCell = 10 * b;
      block[b].FirstFace = 30 * b - 29;
      block[b].LastFace = 30 * b;
    }
    block[4].LayerMark = row.lastLayer;
    for (std::size_t b = 0; b < row.workBlocks.size(); ++b) WorkBlock[b + 1] = row.workBlocks[b];
    WorkBlockNo = row.workBlockNo != -1 ? row.workBlockNo : static_cast<int>(row.workBlocks.size());
    FlagTSC = row.tsc;
    MGSNo = row.mgs;
    WCStart = WFStart = kUnchanged[0];
    WCEnd = WFEnd = kUnchanged[1];
    WBStart = 7;
    WBEnd = 8;
    computeWCStart();
    EXPECT_EQ(WCStart, row.cells[0]) << row.name;
    EXPECT_EQ(WCEnd, row.cells[1]) << row.name;
    EXPECT_EQ(WFStart, row.faces[0]) << row.name;
    EXPECT_EQ(WFEnd, row.faces[1]) << row.name;
    EXPECT_EQ(WBStart, 7) << row.name;
    EXPECT_EQ(WBEnd, 8) << row.name;
  }
}

}  // namespace
