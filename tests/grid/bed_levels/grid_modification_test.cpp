// The local deepening of the grid under the bottom cell with the largest k
// residual: in-process on the channel (1 m columns of nine cells, bed 0,
// water 1 m), and through the binary on the channel's flow.
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "flow/flow_fixture.h"
#include "grid/bed_levels/grid_modification.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/points.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "support/run_case.h"

namespace {

class Deepening : public FlowFixture {
 protected:
  // Residual 5 at cell 91 (bottom of column (2, 3)), 9 at cell 92 above
  // it, 1 elsewhere; F 395 with the margin 1.5 m.
  static void channelWithResiduals(int flag) {
    channel();
    ASSERT_NE(Ckinen_res, nullptr);
    for (int c = 1; c <= NoCells; ++c) Ckinen_res[c] = 1.0;
    Ckinen_res[91] = 5.0;
    Ckinen_res[92] = 9.0;
    FlagModifyGrid = flag;
    DzModifyGrid = 1.5;
    for (int p = 1; p <= NoPoints; ++p) before.push_back(Pz[p]);
  }
  // Every point at one of the plan positions given on the bed (z = 0) lies
  // at -0.5 now; every other point has kept its level.
  static void expectLowered(const std::set<std::pair<int, int>> &plan) {
    for (int p = 1; p <= NoPoints; ++p) {
      const std::pair<int, int> at{static_cast<int>(std::lround(Px[p])), static_cast<int>(std::lround(Py[p]))};
      const bool lowered = before[p - 1] == 0.0 && plan.count(at) > 0;
      EXPECT_EQ(Pz[p], lowered ? -0.5 : before[p - 1]) << p << " at " << Px[p] << " " << Py[p];
    }
  }
  static inline std::vector<double> before;
};

// Column (2, 3) covers x 0..1, y 1..2.
const std::set<std::pair<int, int>> kOwnCorners = {{0, 1}, {1, 1}, {1, 2}, {0, 2}};

}  // namespace

TEST_F(Deepening, LowersTheCornersOfTheBottomCellOnly) {
  channelWithResiduals(1);
  const double volume = Cvol[91];
  ASSERT_NEAR(volume, 1.0 / 9.0, 1e-9);
  ModifyGrid();
  expectLowered(kOwnCorners);
  EXPECT_EQ(Cvol[91], volume);  // the geometry is up to date: nothing recomputed
  EXPECT_EQ(boogie().find("ModifyGrid"), std::string::npos);  // no debug letter
}

TEST_F(Deepening, RecomputedGeometryKeepsTheInflowFaces) {
  channelWithResiduals(1);
  FlagTestBugMetric = 1;
  debugging = 'D';
  setGroup(1, 1, 1000.0, upstreamFaces());
  ModifyGrid();
  EXPECT_NEAR(Cvol[91], 0.611111, 1e-6);
  for (int f : upstreamFaces()) EXPECT_EQ(Fflagflow[f], 1) << f;
  EXPECT_NE(boogie().find("ModifyGrid algorithm: 91 cells, maxresidualcell = 5.000000\n"), std::string::npos) << boogie();
}

// With 2 the outer bed corners of the east, south and north neighbours move
// too; the column lies on the west border.
TEST_F(Deepening, NeighboursOuterCorners) {
  channelWithResiduals(2);
  ModifyGrid();
  std::set<std::pair<int, int>> plan = kOwnCorners;
  for (auto at : {std::pair{2, 1}, {2, 2}, {0, 0}, {1, 0}, {0, 3}, {1, 3}}) plan.insert(at);
  expectLowered(plan);
}

// No residual above 0: nothing moves, the log stays silent.
TEST_F(Deepening, NoPositiveResidual) {
  channelWithResiduals(2);
  for (int c = 1; c <= NoCells; ++c) Ckinen_res[c] = c == 91 ? 0.0 : -1.0;
  debugging = 'D';
  ModifyGrid();
  expectLowered({});
  EXPECT_EQ(boogie().find("ModifyGrid"), std::string::npos);
}

// The flow of the channel: after inner iterations 11 and 12 the residual of
// the stages stays above 1e-20 and the grid is deepened; "koosurf.t" shows
// the unchanged grid levels, and "unstruc" the lowered points.
TEST(DeepeningRun, ChannelFlowDeepensAfterTenIterations) {
  const std::string base = "F 2 YWH\nG 1 13 7 11 1\nF 314 1 1\nF 237 1 1.0\nF 237 2 1.0\nF 33 1e-20 12\nK 1 1 50000\n";
  CaseSetup setup;
  setup.files["koosurf"] = caseFile("channel", "koosurf");
  setup.files["control"] = base;
  const CaseResult plain = runCase(setup);
  setup.files["control"] = base + "F 395 1 0 1.5\nF 1 D\n";
  const CaseResult deepened = runCase(setup);
  const std::string log = deepened.file("boogie");
  ASSERT_EQ(deepened.status, plain.status) << log;
  const std::string line = "ModifyGrid algorithm: ";
  const size_t first = log.find(line);
  ASSERT_NE(first, std::string::npos) << log;
  const size_t second = log.find(line, first + 1);
  ASSERT_NE(second, std::string::npos) << log;
  EXPECT_EQ(log.find(line, second + 1), std::string::npos) << log;
  EXPECT_EQ(deepened.file("koosurf.t"), plain.file("koosurf.t"));
  // The points of "unstruc" differ only where the deepened ones lie at -0.5.
  const std::vector<std::string> a = linesOf(plain.file("unstruc")), b = linesOf(deepened.file("unstruc"));
  ASSERT_EQ(a.size(), b.size());
  int changed = 0;
  for (size_t n = 0; n < a.size(); ++n) {
    if (a[n] == b[n]) continue;
    ++changed;
    EXPECT_NE(b[n].find("-0.5"), std::string::npos) << a[n] << " | " << b[n];
  }
  EXPECT_EQ(changed, 4);  // the four bed corners of the selected cell
}
