// The threaded forms of the momentum, pressure-correction and turbulence
// stages against their serial forms from one state of the channel: every
// coefficient, source and 1/Ap bit for bit, the residual totals within
// 1e-12, for the default options and those that reach other chunks.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "flow/outer_steps/driver_state.h"
#include "flow/flow_grids.h"
#include "flow/stages/flow_stages.h"
#include "flow/stage_regions.h"
#include "grid/grid_fixture.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/threads.h"
#include "model/work_ranges.h"

namespace {

struct Option {
  const char *name;
  std::function<void()> set;
  bool transient;
  bool pressureOnly = false;  // the momentum stage of F 181 needs gravity
  friend void PrintTo(const Option &o, std::ostream *os) { *os << o.name; }
};

class StageRegions : public StageRegionBase, public ::testing::WithParamInterface<Option> {};

// Unusable U diagonals in two chunks: the lower cell is reported, whatever
// thread finds its cell first.
TEST_F(StageRegionBase, UnusableDiagonalsReportTheLowerCell) {
  prepare();
  const int low = NoCells / 4 - 3, high = NoCells - 5;
  Cvol[low] = Cvol[high] = std::nan("");
  NoProcessesSolver = 4;
  fixThreadCount(4);
  for (int run = 0; run < 3; ++run) {
    EXPECT_EXIT(momentumStage(1), ::testing::ExitedWithCode(251), "");
    const std::string log = boogie();
    EXPECT_NE(log.find("Error 2, Cap(" + std::to_string(low) + ") = "), std::string::npos) << log;
    EXPECT_EQ(log.find("Error 2, Cap(" + std::to_string(high) + ")"), std::string::npos) << log;
  }
}

TEST_P(StageRegions, ThreadedFormsMatchTheSerialForms) {
  GetParam().set();
  prepare();
  GetParam().set();  // again over the channel's defaults (the wall family)
  if (GetParam().transient) TimeStep = 10.0;
  for (int threads : {1, 4, 7}) {
    if (!GetParam().pressureOnly) compare([] { momentumStage(1); }, threads);
    compare([] { pressureStage(1); }, threads);
    if (!GetParam().pressureOnly) compare([] { turbulenceStage(1); }, threads, true);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Options, StageRegions,
    ::testing::Values(Option{"Defaults", [] {}, false}, Option{"Transient", [] {}, true},
                      Option{"SecondOrderInTime", [] { FlagTimeOrder = 1; }, true},
                      Option{"CrankNicolson", [] { CrankNicols = 0.5; }, true},
                      Option{"SideDampingOfVelocities", [] { FlagSideDamp = 1; }, true},
                      Option{"SideDampingOfK", [] { FlagSideDamp = 2; }, true},
                      Option{"DiagonalLift", [] { FlagAddApTrekant = 1; }, false},
                      Option{"SurfaceCondition", [] { FlagGravity = 1; }, false, true},
                      Option{"SurfaceSourceDown", [] { FlagGravity = 1; FlagPresSurf = -3; }, false, true},
                      Option{"SurfacePenalty", [] { FlagGravity = 1; FlagPresSurf = 3; CoeffPresSurf = 10.0; }, false, true},
                      Option{"EndCorrection", [] { FlagEndCorrect = 1; }, false, true},
                      Option{"StoredResiduals", [] { FlagResidual = 1; }, false},
                      Option{"SecondOrderMomentum", [] { sou[1] = sou[2] = sou[3] = 1; }, false},
                      Option{"LimiterSchemes", [] { sou[1] = sou[2] = sou[3] = 12; sou[5] = sou[6] = 12; }, false},
                      Option{"SlopingCellsAndNeighbours", [] { FlagDamp2 = 3; }, false},
                      Option{"RoughWallLaw", [] { FlagWallAll = 0; }, false},
                      Option{"SmoothWallLaw", [] { FlagWallAll = 5; }, false},
                      Option{"FaceByFaceWallLaw", [] { FlagWallAll = 0; FlagNewWall = 1; }, false},
                      Option{"RiverWallLaw", [] { FlagWallAll = 0; FlagNewWall = 2; }, false},
                      Option{"KatoLaunderProduction", [] { FlagWallAll = 0; FlagKatoLaunder = 1; }, false},
                      Option{"ArtificialDiffusion", [] { ArtDiff = 0.01; TurbMultVert = 0.5; }, false},
                      Option{"TurbulenceModelTen", [] { TurbulenceModel = 10; }, false},
                      Option{"TurbulenceModelThirteen", [] { TurbulenceModel = 13; }, false}),
    [](const auto &info) { return std::string(info.param.name); });

}  // namespace
