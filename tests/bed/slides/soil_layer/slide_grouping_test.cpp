// Grouping of failing columns into slides on a generated 5 x 5 soil layer:
// gaps, lone columns and the widening along j, the joining across i, the
// slide table and the targets of each slide.
#include <gtest/gtest.h>

#include <cmath>
#include <ostream>
#include <sstream>
#include <string>

#include "bed/slides/soil_layer/slide_grouping.h"
#include "bed/slides/soil_layer/slide_layer_fixture.h"
#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"
#include "support/run_case.h"

namespace {

struct GroupingCase {
  const char *name;
  int stab;      // F 159 first value
  int widen;     // F 289 second value
  int widenOff;  // F 401
  const char *pattern[5];
  std::string labels;
  friend void PrintTo(const GroupingCase &c, std::ostream *os) { *os << c.name; }
};

const GroupingCase kCases[] = {
    {"SimpleFillsAGapAndDropsALoneColumn", 0, 0, 0,
     {"x.x..", ".....", ".x...", ".....", "....."},
     "aaa..\n.....\n.....\n.....\n.....\n"},
    {"SimpleJoinsAlongBAndWest", 0, 0, 0,
     {"..xx.", "..xx.", ".....", ".....", "....."},
     "..aa.\n..aa.\n.....\n.....\n.....\n"},
    {"WidensToBothSides", 1, 0, 0,
     {".....", "..x..", ".....", ".....", "....."},
     ".....\n.aaa.\n.....\n.....\n.....\n"},
    {"WidensTowardsTheInsideAtTheEnds", 1, 0, 0,
     {".....", "x....", "....x", ".....", "....."},
     ".....\naa...\n...bb\n.....\n.....\n"},
    // The first bed cell of the block is never widened.
    {"TheFirstColumnIsNotWidened", 1, 0, 0,
     {"x....", ".....", ".....", ".....", "....."},
     ".....\n.....\n.....\n.....\n.....\n"},
    {"WidensTowardsLessStrainOnATie", 1, 1, 0,
     {".....", "..x..", ".....", ".....", "....."},
     ".....\n.aa..\n.....\n.....\n.....\n"},
    {"NoWideningLeavesALoneColumnToVanish", 1, 2, 0,
     {".....", "..x..", ".....", ".....", "....."},
     ".....\n.....\n.....\n.....\n.....\n"},
    {"F401AboveTwoSkipsTheWidening", 1, 0, 3,
     {".....", "..x..", "..x..", ".....", "....."},
     ".....\n..a..\n..a..\n.....\n.....\n"},
    {"NeighboursAcrossIJoinAndTheEndsWidenAlways", 1, 2, 0,
     {".....", ".xx..", "..xx.", ".....", "x...x"},
     ".....\n.aa..\n..aa.\n.....\nbb.cc\n"},
    {"SeparateGroupsTakeSlotsInColumnOrder", 1, 2, 0,
     {"xx...", ".....", "...xx", ".....", "....."},
     "aa...\n.....\n...bb\n.....\n.....\n"},
};

class SlideGrouping : public SlideLayer, public ::testing::WithParamInterface<GroupingCase> {};

TEST_P(SlideGrouping, Labels) {
  const GroupingCase &c = GetParam();
  buildFlat(6, 6);
  FlagGridStab1 = c.stab;
  FlagThixoGrid = c.widen;
  FlagThixoGrid2 = c.widenOff;
  failing(c.pattern, 5);
  slideModify();
  EXPECT_EQ(labels(), c.labels);
}

INSTANTIATE_TEST_SUITE_P(Cases, SlideGrouping, ::testing::ValuesIn(kCases),
                         [](const auto &info) { return std::string(info.param.name); });

// A sloped layer, its tops 1.0 + 0.5 (j - 1) at the points: a slide of the
// three columns i = 3, j = 3..5 spans 1.0 m of height over 1 m along i.
class SlideTargets : public SlideLayer {
 protected:
  void SetUp() override {
    SlideLayer::SetUp();
    std::ostringstream out;
    for (int i = 1; i <= 6; ++i) {
      for (int j = 1; j <= 6; ++j) out << i << ' ' << j << ' ' << i - 1 << ' ' << j - 1 << ' ' << 1.0 + 0.5 * (j - 1) << " 9.0\n";
    }
    build(6, 6, out.str());
    FlagGridStab1 = 1;
    FlagThixoGrid = 2;
    static const char *const pattern[5] = {".....", "...", ".xxx.", ".....", "....."};
    failing(pattern, 5);
  }
};

TEST_F(SlideTargets, SizeLevelCentreAndPlane) {
  slideModify();
  ASSERT_EQ(labels(), ".....\n.....\n.aaa.\n.....\n.....\n");
  EXPECT_EQ(BVal[1], 0);
  EXPECT_EQ(BNo[0], 3);
  // Column tops are the mean of their corners: 1.75, 2.25, 2.75 for j = 3..5.
  EXPECT_NEAR(kHeight[0], 1.0, 1e-12);
  // min((0 + 1) · 1 m, (2 + 1) · 1 m) of the lowest column's cell sizes.
  EXPECT_NEAR(kLength[0], 1.0, 1e-12);
  EXPECT_DOUBLE_EQ(kFac[0], 0.2);
  const int low = column(4, 3), mid = column(4, 4), high = column(4, 5);
  // The target (1.75 + 2.75) / 2 - 0.2 = 2.05 is nearest the middle top,
  // and lies below its bottom cell's top.
  EXPECT_EQ(BCen[0], mid);
  EXPECT_NEAR(kLevel[0], 2.05, 1e-12);
  const int cl = Bcellt[low], ch = Bcellt[high];
  EXPECT_NEAR(slidePlaneLevel(0, Cxcenter[cl], Cycenter[cl]), 1.75, 1e-9);
  EXPECT_NEAR(slidePlaneLevel(0, Cxcenter[ch], Cycenter[ch]), 2.75, 1e-9);
  // Every unlabelled column is held at its surface.
  const int held = Bcellt[column(2, 2)];
  EXPECT_EQ(Cap[held], 1e20);
}

TEST_F(SlideTargets, DepthFactorByMode) {
  struct Row {
    int mode;
    double fac, cohesion, expected;
  };
  const double h = 10.0 * 100.0 / 17903.25;
  const Row rows[] = {
      {2, 0.005, 0.0, 0.01},  {2, 0.7, 0.0, 0.5},    {2, 0.3, 0.0, 0.3},
      {3, 0.2, 1000.0, 0.5},  {3, 0.2, 10.0, 0.3},   {3, 0.2, 0.5, 0.01},
      {1, 0.7, 0.0, 0.2},     {5, 0.7, 0.0, 0.2},
      {4, 0.2, 100.0, 0.5 * std::pow(h / (1.0 * 0.8 + h), 0.56)},
      {6, 0.2, 100.0, 0.5 * std::pow(h / (1.0 * 0.8 + h), 0.56)},
      {7, 0.2, 100.0, 0.5 * std::pow(h / (1.0 * 0.8 + h), 0.56)},
  };
  for (const Row &r : rows) {
    FlagSlide = r.mode;
    global_fac = r.fac;
    ThixoCritshear = r.cohesion;
    slideModify();
    EXPECT_NEAR(kFac[0], r.expected, 1e-12) << "mode " << r.mode << ", fac " << r.fac << ", c " << r.cohesion;
    const double target = 2.25 - kLength[0] * kFac[0];
    const int cc = Bcellt[BCen[0]];
    EXPECT_NEAR(kLevel[0], std::min(target, Czcenter[cc] + Ckdist[cc]), 1e-12) << "mode " << r.mode;
  }
}

// A slide of one column (the simple grouping keeps a candidate in the last
// bed cell) has no height or length to aim at.
TEST_F(SlideTargets, OneColumnGetsNoTargets) {
  FlagGridStab1 = 0;
  static const char *const pattern[5] = {".....", ".....", ".....", ".....", "....x"};
  failing(pattern, 5);
  slideModify();
  ASSERT_EQ(labels(), ".....\n.....\n.....\n.....\n....a\n");
  EXPECT_EQ(BNo[0], 1);
  EXPECT_EQ(BCen[0], 0);
  EXPECT_EQ(kLevel[0], 0.0);
  EXPECT_EQ(kLength[0], 0.0);
  EXPECT_EQ(kHeight[0], 0.0);
}

// The centre is searched in block 2: a slide layer kept in a later record
// has none there, which ends the run.
TEST_F(SlideTargets, SlideWithoutCentreEndsTheRun) {
  block[3] = block[2];
  NoBlocks = 3;
  block[2].FirstBedCell = 1;
  block[2].LastBedCell = 0;
  block[2].LayerMark = 0;
  EXPECT_EXIT(slideModify(), ::testing::ExitedWithCode(252), "");
  EXPECT_NE(boogie().find("Error setting BCen[0] for stimet = 0.000000 zTop = 2.750000, zBot = 1.750000, BVal[0] = "),
            std::string::npos)
      << boogie();
}

}  // namespace

namespace {

// One line of 9000 hand-made columns, failing in pairs "xx.": 3000 slides
// for a table of 2999. The last pair finds no slot: it keeps no label, is
// held like every other unlabelled column, and slot 2999 stays the end mark.
class SlideTableOverflow : public GridFixture {
 protected:
  static constexpr int kColumns = 9000;

  void SetUp() override {
    GridFixture::SetUp();
    FlagThixo = 2;
    allocate(3, kColumns + 3, 3, kColumns + 10);
    NoBlocks = 2;
    block[1] = GridBlock{};
    block[2] = GridBlock{};
    GridBlock &g = block[2];
    g.LayerMark = 1;
    g.i1 = g.i2 = 1;
    g.j1 = 1;
    g.j2 = kColumns;
    g.FirstBedCell = g.FirstCell = 1;
    g.LastBedCell = g.LastCell = kColumns;
    NoBCells = NoCells = kColumns;
    for (int j = 0; j <= kColumns; ++j) {
      for (int i = 0; i <= 1; ++i) {
        zval[i][j][znumber] = 1.0;
        Surfaces[3][i][j] = 0.0;
      }
    }
    for (int b = 1; b <= kColumns; ++b) {
      Bcellt[b] = b;
      Cbed[b] = b;
      Bkooi[b] = 1;
      Bkooj[b] = b;
      pointbed[1][b] = b;
      Ccellt[b] = 0;
      Czcenter[b] = 0.5;
      Ckdist[b] = 0.5;
      Bthixolev[b] = 1.0;
      Bcellth[b] = 0;
      Cap[b] = b % 3 == 0 ? 1e20 : 1.0;
    }
    FlagGridStab1 = 1;
    FlagThixoGrid = 2;
  }
};

TEST_F(SlideTableOverflow, TheLastSlideFindsNoSlot) {
  slideModify();
  EXPECT_EQ(listedSlides(), kMaxSlideRegions - 1);
  EXPECT_EQ(BVal[kMaxSlideRegions - 2], kColumns - 5);
  EXPECT_EQ(BVal[kMaxSlideRegions - 1], 0);
  EXPECT_EQ(BNo[kMaxSlideRegions - 2], 2);
  for (const int b : {kColumns - 2, kColumns - 1}) {
    EXPECT_EQ(Bcellth[b], 0) << b;
    EXPECT_EQ(Cap[b], 1e20) << b;
    EXPECT_EQ(Csource[b], 1e20) << b;
  }
  const std::string warning = "Warning: more than 2999 slides; the rest are not moved\n";
  EXPECT_TRUE(endsWith(boogie(), warning)) << boogie();
  EXPECT_EQ(boogie().find(warning), boogie().size() - warning.size());
}

}  // namespace
