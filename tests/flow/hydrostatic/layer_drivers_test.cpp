// The hydrostatic (F 68 1) and depth-averaged (F 68 3) drivers on the channel
// case (10 x 4 columns of nine cells, 1 m3/s) with its column block: one outer
// iteration per call in the sediment loop, the column copy and the vertical
// velocities without layer iterations, the report rule of "J", a grid
// without the block, and the vertical-velocity variants of F 69 on a
// three-cell column by hand.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "flow/drivers/flow_drivers.h"
#include "flow/hydrostatic/layer_drivers.h"
#include "grid/column_grid.h"
#include "grid/grid_fixture.h"
#include "grid/grid_services.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/status.h"
#include "model/structured.h"
#include "model/work_ranges.h"
#include "startup/entry.h"
#include "support/run_case.h"
#include "support/work_folder.h"

namespace {

const char kChannel[] = "G 1 13 7 11 1\nF 314 1 1\nF 237 1 1.0\nF 237 2 1.0\n";

class LayerDriver : public WorkFolderTest {
 protected:
  // The channel generated as the letter Y does, with the data sets given.
  void generate(const std::string &extra) {
    writeFile("control", std::string("F 2 Y\n") + kChannel + extra);
    writeFile("koosurf", caseFile("channel", "koosurf"));
    InitialFunction();
    ASSERT_EQ(block[NoBlocks].BlockKind, 1);
    ASSERT_EQ(NoCells, 400);
  }
  static int countOf(const std::string &text, const std::string &part) {
    int n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
  }
};

// In the sediment loop a call is one time step of the caller: Iter stays and
// the time goes on by one step; stand-alone the call counts its own steps
// from time 0.
class LayerDriverKind : public LayerDriver, public ::testing::WithParamInterface<const char *> {};

TEST_P(LayerDriverKind, SedimentStepRunsOneOuterIteration) {
  generate(std::string(GetParam()) + "F 33 0.5 1\n");
  void (*run)() = Hydrostatic == 1 ? WaterSolveHydrostatic : WaterSolve2D;
  FlagTSC = 1;
  FlagPrint = 0;
  Iter = 7;
  stimet = 3.0;
  run();
  EXPECT_EQ(Iter, 7);
  EXPECT_DOUBLE_EQ(stimet, 3.5);
  EXPECT_EQ(countOf(readFile("boogie"), "Iter: 7, Resid: "), 1) << readFile("boogie");
  // The hydrostatic driver ends in its three-dimensional stage.
  EXPECT_STREQ(mc_program, Hydrostatic == 1 ? " RA-Vavi 3D-Hystat    " : " RA-Vavi 2D ");
  for (int c = 0; c <= NoCells; ++c) ASSERT_EQ(CflagDim[c], c > 360 ? 1 : 0) << c;

  FlagTSC = 0;
  iterGlobalMax = 3;
  run();
  EXPECT_EQ(Iter, 4);
  EXPECT_DOUBLE_EQ(stimet, 1.5);
  EXPECT_EQ(FlagErrorBreak, 0);
  EXPECT_EQ(gFlagFlow, 0);
}

INSTANTIATE_TEST_SUITE_P(Drivers, LayerDriverKind, ::testing::Values("F 68 1\n", "F 68 3\n"),
                         [](const ::testing::TestParamInfo<const char *> &info) {
                           return std::string(info.index == 0 ? "Hydrostatic" : "DepthAveraged");
                         });

// No inner iterations: no report, but the column copy runs and the hydrostatic
// driver still rebuilds the fluxes and vertical velocities. The start field
// is the uniform flow of the discharge (0.25 m/s over 4 m2); with the
// discharges counted as the sources of the cells behind the end faces no
// water crosses a horizontal face, at the inflow end neither.
TEST_F(LayerDriver, WithoutLayerIterationsTheColumnsStillFollow) {
  generate("F 68 1\nF 33 1e-20 0\nK 1 1\nG 18 0.25 0 0 0 0.001 0.0001\n");
  const int first = block[NoBlocks].FirstCell;
  WaterSolveHydrostatic();
  const std::string log = readFile("boogie");
  EXPECT_EQ(log.find("Iter: "), std::string::npos) << log;
  EXPECT_EQ(log.find("Error"), std::string::npos) << log;
  for (int c = 1; c <= 360; ++c) {
    EXPECT_NEAR(Czvel[c], 0.0, 1e-12) << "cell " << c;
    if (Ccellb[c] > 0) { EXPECT_NEAR(Fflux[Cflateb[c]], 0.0, 1e-9) << "cell " << c; }
    EXPECT_DOUBLE_EQ(Cxvel[c], 0.25);
  }
  // The copy carries each column cell's pressure down its column.
  for (int c = first; c <= NoCells; ++c) Cpres[c] = 100.0 + c;
  WaterSolveHydrostatic();
  for (int j = 2; j <= 5; ++j) {
    for (int i = 2; i <= 11; ++i) {
      const int k = first + 10 * (j - 2) + (i - 2);
      for (int c = static_cast<int>(zval[i][j][0]); c > 0; c = Ccellt[c]) ASSERT_EQ(Cpres[c], 100.0 + k) << c;
    }
  }
}

// The depth-averaged driver gives every cell of a column the column's flow
// and no vertical velocity.
TEST_F(LayerDriver, DepthAveragedCopyFillsTheColumns) {
  generate("F 68 3\nK 1 2\n");
  WaterSolve2D();
  EXPECT_EQ(FlagErrorBreak, 0);
  const int first = block[NoBlocks].FirstCell;
  double flux = 0.0;
  for (int j = 2; j <= 5; ++j) {
    for (int i = 2; i <= 11; ++i) {
      const int k = first + 10 * (j - 2) + (i - 2);
      if (i == 6) flux += Cxvel[k] * Fax[Cflatew[k]];
      for (int c = static_cast<int>(zval[i][j][0]); c > 0; c = Ccellt[c]) {
        ASSERT_EQ(Cxvel[c], Cxvel[k]);
        ASSERT_EQ(Cyvel[c], Cyvel[k]);
        ASSERT_EQ(Ckinen[c], Ckinen[k]);
        ASSERT_EQ(Cepsilon[c], Cepsilon[k]);
        ASSERT_EQ(Cgamma[c], Cgamma[k]);
        ASSERT_EQ(Cpres[c], Cpres[k]);
        ASSERT_EQ(Czvel[c], 0.0);
      }
    }
  }
  EXPECT_GT(flux, 0.5);  // the layer carries the discharge downstream (1 m3/s when converged)
}

TEST(LayerDriverRun, ReportLinesAndMissingBlock) {
  auto run = [](const std::string &extra) {
    CaseSetup setup;
    setup.files["control"] = std::string("F 2 YW\n") + kChannel + extra;
    setup.files["koosurf"] = caseFile("channel", "koosurf");
    return runCase(setup);
  };
  // "J" adds the line of every hundredth iteration in the hydrostatic
  // driver only; F 53 1000 keeps the ordinary interval out of the way.
  for (const char *driver : {"F 68 1\n", "F 68 3\n"}) {
    const CaseResult r = run(std::string(driver) + "F 1 J\nF 53 1000 1 1 1\nK 1 201\n");
    const std::string log = r.file("boogie");
    EXPECT_EQ(r.status, 1) << log;
    EXPECT_EQ(log.find("Iter: 200, Resid: ") != std::string::npos, driver[5] == '1') << driver << log;
    EXPECT_NE(log.find("Iter: 90, Resid: "), std::string::npos) << driver;
    EXPECT_NE(log.find("Iter: 201, Resid: "), std::string::npos) << driver;
    EXPECT_EQ(log.find("Iter: 150, Resid: "), std::string::npos) << driver;
    EXPECT_EQ(log.find("Error"), std::string::npos) << log;
    EXPECT_FALSE(r.has("result.end"));  // no convergence stop, no result at the end
  }
  // The hydrostatic driver carries components in its outer iterations.
  const CaseResult components = run("F 68 1\nF 50 1\nK 1 2\n");
  EXPECT_EQ(components.status, 1) << components.file("boogie");
  EXPECT_EQ(components.file("boogie").find("Error"), std::string::npos) << components.file("boogie");
}

// A grid whose last block is not the column block cannot carry the layer.
TEST_F(LayerDriver, RefusesAGridWithoutTheColumnBlock) {
  generate("F 68 1\n");
  --NoBlocks;
  EXPECT_EXIT(WaterSolveHydrostatic(), ::testing::ExitedWithCode(251), "");
  EXPECT_TRUE(endsWith(readFile("boogie"), "Error: F 68 1 needs the one-cell-per-column block of the grid generation\n"));
}

// The vertical-velocity variants of F 69 on one column of three 1 m cells
// (plan area 1 m2) with the net horizontal inflows 3, -1 and 2 kg/s, bed
// face and surface face at 7 kg/s beforehand, w 0.01 m/s beforehand.
class VerticalVelocities : public GridFixture {};

TEST_F(VerticalVelocities, VariantsByHand) {
  buildCaseByHand(CaseGrid::Column3);
  ASSERT_FALSE(HasFatalFailure());
  metric();
  ASSERT_EQ(NoCells, 3);
  const int b1 = 1, b2 = 2, b3 = 3;
  ASSERT_EQ(Ccellt[b1], b2);
  ASSERT_EQ(Ccellt[b2], b3);
  struct Row {
    int variant;
    double inner12, inner23;  // upward flux through the faces between the cells
    double w1, w2, w3;
  };
  // Variant 4 takes 0.5 m x 4 kg/s / 1.5 m out of every cell first.
  const double t2 = -1.0 - 4.0 / 3.0, t3 = 2.0 - 4.0 / 3.0;
  const Row rows[] = {
      {0, -1.0, -2.0, 0.0005 * (7.0 - 1.0), 0.0005 * (-1.0 - 2.0), 0.0005 * (-2.0 + 7.0)},
      {1, 3.0, 2.0, 0.0005 * (7.0 + 3.0), 0.0005 * (3.0 + 2.0), 0.0005 * (2.0 + 7.0)},
      {2, 500.0 * (-0.003 + 0.001), 500.0 * (0.001 - 0.002), -0.003, 0.001, -0.002},
      {3, 0.8 * 7.0 + 100.0 * (0.0074 + 0.0082), 0.8 * 7.0 + 100.0 * (0.0082 + 0.0076), 0.0074, 0.0082, 0.0076},
      {4, -(t3 + t2), -t3, 0.0005 * (7.0 - (t3 + t2)), 0.0005 * (-(t3 + t2) - t3), 0.0005 * (-t3 + 7.0)},
      {5, 7.0, 7.0, 0.01, 0.01, 0.01},
  };
  for (const Row &row : rows) {
    SCOPED_TRACE(row.variant);
    Seiche4 = row.variant;
    const double q[4] = {0.0, 3.0, -1.0, 2.0};
    for (int c = 1; c <= 3; ++c) {
      Csource[c] = q[c];
      Czvel[c] = 0.01;
    }
    for (int f = 1; f <= NoSurfaces; ++f) Fflux[f] = 7.0;
    WCStart = 1;
    WCEnd = 3;
    hydrostaticVerticalVelocities();
    EXPECT_NEAR(Fflux[Cflatet[b1]], row.inner12, 1e-12);
    EXPECT_NEAR(Fflux[Cflatet[b2]], row.inner23, 1e-12);
    EXPECT_EQ(Fflux[Cflateb[b1]], 7.0);  // bed face
    EXPECT_EQ(Fflux[Cflatet[b3]], 7.0);  // surface face
    EXPECT_NEAR(Czvel[b1], row.w1, 1e-12);
    EXPECT_NEAR(Czvel[b2], row.w2, 1e-12);
    EXPECT_NEAR(Czvel[b3], row.w3, 1e-12);
  }
}

}  // namespace
