// The backwater ratios of the surface update on the channel (10 m, 4 m wide,
// 1 m deep, 1 m3/s, M = 50): the march rises about 2.5e-4 m, while the
// top-cell pressures of the inlet group stand 981 Pa (0.1 m) above those of
// the outlet group, so the ratio is about 0.0025.
#include <gtest/gtest.h>

#include <string>

#include "flow/flow_fixture.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/status.h"
#include "model/structured.h"
#include "surface/surface_fixture.h"
#include "surface/surface_services.h"
#include "support/run_case.h"

namespace {

class BackwaterScaling : public SurfaceFixture {
 protected:
  void SetUp() override {
    SurfaceFixture::SetUp();
    channelAt(0.0);
    FlagTFS = 2;
    iPres = 11;
    jPres = 3;
    GlobZRef = -1e20;
    setGroup(1, 1, 1000.0, upstreamFaces());
    setGroup(2, 0, 1000.0, downstreamFaces());
    DischargeArray[1] = DischargeArray[2] = 1000.0;
    for (int j = 2; j <= 5; ++j) Cpres[topCell(2, j)] = 981.0;
    FlagGridChange = 0;
  }
};

}  // namespace

// F 477 1: below the F 479 ratio no level is computed and the grid stays.
TEST_F(BackwaterScaling, SmallRatioSkipsTheUpdate) {
  FlagScaleFreeSource = 1;
  FlagExtraDebug = 1;
  surface();
  EXPECT_NEAR(maxBackwater, 2.5e-4, 1e-5);
  EXPECT_NEAR(medianPressure1 - medianPressure2, 981.0, 1e-9);
  EXPECT_NEAR(scaleBackwater2, maxBackwater / (0.1 + 1e-7), 1e-12);
  EXPECT_EQ(FlagGridChange, 0);
  EXPECT_EQ(levelAt(5, 3), 1.0);
  EXPECT_TRUE(endsWith(boogie(), "Start surface\n")) << boogie();
}

// F 477 3, and F 477 1 once F 479 lets it through: the classic update goes
// on, its change (0.01 m unscaled at the inlet points) scaled by the ratio.
TEST_F(BackwaterScaling, RatioScalesTheClassicUpdate) {
  FlagScaleFreeSource = 3;
  surface();
  EXPECT_EQ(FlagGridChange, 1);
  EXPECT_NEAR(scaleBackwater2, maxBackwater / 0.1, 1e-6);
  EXPECT_GT(levelAt(1, 3), 1.0);
  EXPECT_LT(levelAt(1, 3), 1.0 + 0.01 * 0.01);
}

TEST_F(BackwaterScaling, LowerCriterionLetsModeOneThrough) {
  FlagScaleFreeSource = 1;
  updateRatioCriteria = 0.001;
  surface();
  EXPECT_EQ(FlagGridChange, 1);
  EXPECT_NEAR(scaleBackwater2, maxBackwater / (0.1 + 1e-7), 1e-12);
  EXPECT_GT(levelAt(1, 3), 1.0);
  EXPECT_LT(levelAt(1, 3), 1.0 + 0.01 * 0.01);
}

TEST_F(BackwaterScaling, GroupWithoutSurfaceFacesEnds) {
  FlagScaleFreeSource = 3;
  DischargeStruct[2].faceCount = 0;
  EXPECT_EXIT(surface(), ::testing::ExitedWithCode(251), "");
  EXPECT_TRUE(endsWith(boogie(), "Error: F 477 and F 343 30 need discharge groups 1 and 2 with faces at the surface\n"))
      << boogie();
}
