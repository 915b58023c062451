// The built-in shallow-water test of the run letter L on the channel case
// (10 x 4 columns of 1 m, 1 m deep): the two preconditions, the start state
// with its inflow, and over the steps the water balance of the layer, the
// corner levels and the end of a run whose depth vanishes.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "flow/drivers/flow_drivers.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/points.h"
#include "model/settings.h"
#include "startup/entry.h"
#include "support/run_case.h"
#include "support/work_folder.h"

namespace {

std::string channelControl(const std::string &extra) { return "F 2 YL\nG 1 13 7 11 1\n" + extra; }

CaseResult runChannel(const std::string &extra) {
  CaseSetup setup;
  setup.files["control"] = channelControl(extra);
  setup.files["koosurf"] = caseFile("channel", "koosurf");
  return runCase(setup);
}

TEST(ShallowWaterRun, PreconditionsAndVanishingDepth) {
  struct Row {
    const char *name, *extra;
    int status;
    const char *tail;
  };
  const Row rows[] = {
      {"no F 311", "K 1 5\n", 1,
       "The F 311 data set has to be used in the control file when computing the \nShallow-Water equations\n\n"},
      // F 311 2 allocates the arrays but the grid gets no layer.
      {"no layer", "F 311 2\nK 1 5\n", 1,
       "Error in computation of Shallow Water Equations: 2D block not correctly made\n"},
      // A 5 s step empties the first cell in the first step.
      {"depth gone", "F 311 1\nF 33 5 1\nK 1 5\n", 251,
       "Error in computation of Shallow Water Equations: depth -8.661274e+01 in cell 362 at step 0\n"},
  };
  for (const Row &row : rows) {
    const CaseResult r = runChannel(row.extra);
    EXPECT_EQ(r.status, row.status) << row.name;
    EXPECT_TRUE(endsWith(r.file("boogie"), row.tail)) << row.name << "\n" << r.file("boogie");
    EXPECT_EQ(r.file("boogie").find("Iter "), std::string::npos) << row.name;
  }
  const CaseResult run = runChannel("F 311 1\nF 33 0.01 1\nK 1 50\n");
  EXPECT_EQ(run.status, 1);
  const std::string log = run.file("boogie");
  EXPECT_NE(log.find("Iter 0\n"), std::string::npos) << log;
  EXPECT_TRUE(endsWith(log, "Iter 48\nIter 49\n")) << log;
  EXPECT_EQ(log.find("Error"), std::string::npos) << log;
  EXPECT_FALSE(run.has("result.end"));
}

class ShallowWater : public WorkFolderTest {
 protected:
  // The channel generated with its layer, and the start state alone (K 1 0).
  void SetUp() override {
    WorkFolderTest::SetUp();
    writeFile("control", channelControl("F 311 1\nF 33 0.01 1\nK 1 0\n"));
    writeFile("koosurf", caseFile("channel", "koosurf"));
    InitialFunction();
    ASSERT_EQ(block[NoBlocks].BlockKind, 1);
    first = block[NoBlocks].FirstCell;
    last = block[NoBlocks].LastCell;
    ASSERT_EQ(last - first + 1, 40);
  }
  int first = 0, last = 0;

  // The water of the layer, sum of h times the plan area, m3.
  double volume() const {
    double v = 0.0;
    for (int c = first; c <= last; ++c) v += CU[0][c] * Faz[Cflateb[c]];
    return v;
  }
  // What the end faces carried in the last step, m3/s: in through the west
  // faces of the inflow cells, out through the east faces of the last ones.
  double netInflow() const {
    double q = 0.0;
    for (int c = first; c <= last; ++c) {
      if (Ccellw[c] == 0) q += FF[0][Cflatew[c]] * Fax[Cflatew[c]] / FF[3][Cflatew[c]];
      if (Ccelle[c] == 0) q -= FF[0][Cflatee[c]] * Fax[Cflatee[c]] / FF[3][Cflatee[c]];
    }
    return q;
  }
};

TEST_F(ShallowWater, StartStateAndInflow) {
  EXPECT_EQ(readFile("boogie").find("Iter "), std::string::npos);
  const double h0 = 1.0;  // the full height of the first cell
  for (int c = first; c <= last; ++c) {
    EXPECT_DOUBLE_EQ(CU[0][c], h0);
    EXPECT_DOUBLE_EQ(CU[1][c], 0.2 * h0);
    EXPECT_EQ(CU[2][c], 0.0);
    EXPECT_DOUBLE_EQ(CG[2][c], 4.905 * h0 * h0);
    if (Ccellw[c] != 0) {
      EXPECT_DOUBLE_EQ(CF[0][c], 0.2 * h0);
      EXPECT_DOUBLE_EQ(CF[1][c], 0.04 * h0 + 4.905 * h0 * h0);
      continue;
    }
    const int w = Cflatew[c], t = Cflatet[c];
    EXPECT_EQ(CF[0][c], 0.066);
    EXPECT_EQ(CF[1][c], 0.257202);
    EXPECT_EQ(FF[0][w], 0.066);
    EXPECT_EQ(FF[1][w], 0.257202);
    EXPECT_EQ(FF[3][w], 0.22);
    EXPECT_EQ(FG[2][w], 0.237402);
    EXPECT_EQ(Pz[Cpoint5[c]], 0.22);
    EXPECT_EQ(Pz[Cpoint8[c]], 0.22);
    EXPECT_EQ(Fvx[t], 0.1);
    EXPECT_EQ(Fvz[t], 0.994987);
  }
  // The built-in fluxes are those of the inflow depth and discharge.
  EXPECT_NEAR(0.066 * 0.066 / 0.22 + 4.905 * 0.22 * 0.22, 0.257202, 1e-12);
  EXPECT_NEAR(4.905 * 0.22 * 0.22, 0.237402, 1e-12);
}

TEST_F(ShallowWater, WaterBalanceAndCornerLevelsOverTheSteps) {
  double before = volume();
  for (int steps = 1; steps <= 20; ++steps) {
    iterGlobalMax = steps;
    shallowWater();
    const double after = volume();
    EXPECT_NEAR(after - before, 0.01 * netInflow(), 1e-12 * after) << "step " << steps - 1;
    before = after;
    for (int c = first; c <= last; ++c) {
      const double least = Ccelle[c] == 0 ? 0.2 : 0.1;
      for (int p : {Cpoint5[c], Cpoint6[c], Cpoint7[c], Cpoint8[c]}) EXPECT_GE(Pz[p], least) << "cell " << c;
      if (Ccellw[c] == 0) {
        EXPECT_EQ(Pz[Cpoint5[c]], 0.22);
        EXPECT_EQ(Pz[Cpoint8[c]], 0.22);
      }
      EXPECT_EQ(Cyvel[c], 0.0);
      EXPECT_DOUBLE_EQ(Cxvel[c], CU[1][c] / CU[0][c]);
    }
  }
  // The inflow of 0.066 m2/s at 0.22 m and the outflow at the east end's depth
  // move water, so the balance above is not trivially zero.
  EXPECT_GT(std::fabs(netInflow()), 1e-3);
}

}  // namespace
