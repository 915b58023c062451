// The statistics of a sediment run through the binary: the straight channel
// restarted from its converged flow with a grain too coarse to move, so the
// bed stays flat and every column carries the flow.
#include <gtest/gtest.h>

#include <string>

#include "support/run_case.h"

namespace {

const std::string kChannel =
    "T straight channel statistics\n"
    "F 2 YRS\n"
    "G 1 54 9 11 1\n"
    "F 314 1 1\n"
    "F 237 1 7.5\n"
    "F 237 2 7.5\n"
    "W 1 50 7.5 1.0\n"
    "K 1 100 50000\n"
    "F 37 2\n"
    "F 33 10 10\n"
    "S 1 0.1 1.0\n"
    "N 0 1 1.0\n";

}  // namespace

// One call of each writer at step 100 (1000 s): five columns form one channel
// in each of the 50 cross-sections (the bed shear of the converged channel is
// near 2 Pa, above every threshold), both banks are active; on the flat bed
// every point is a trough, so there is no dune.
TEST(StatisticsRun, BraidedAndDuneRowsOfTheFlatChannel) {
  const CaseResult converged = runCaseFolder("straight-channel");
  ASSERT_EQ(converged.status, 1);
  CaseSetup s;
  s.files["control"] = kChannel + "F 368 2 0.001 0.1 0.2 0.3 4\nF 370 100 2 49 4 2\nF 404 1 0.1\nF 71 1\n";
  s.files["koosurf"] = caseFile("straight-channel", "koosurf");
  s.files["result"] = converged.file("result.end");
  const CaseResult r = runCase(s);
  ASSERT_EQ(r.status, 1) << r.file("boogie");
  const std::string braided = r.file("braided");
  const std::string header = "Time, BIactive1, BIactive2, BIactive3,   BItotal,  BIcell,  BIdepth, sinuosity, sidesfrac\n\n";
  ASSERT_EQ(braided.rfind(header, 0), 0u) << braided;
  const std::string row = braided.substr(header.size());
  EXPECT_EQ(row.rfind("1000.000000 1.000000 1.000000 1.000000 1.000000 1.000000 1.000000 ", 0), 0u) << row;
  EXPECT_TRUE(endsWith(row, " 1.000000\n")) << row;
  EXPECT_EQ(linesOf(row).size(), 1u);
  EXPECT_EQ(r.file("dune"),
            "Time,  depth,  duneheight, dunelength, dunespeed, K_A, alpha_diff\n"
            "1000.000000 0.000000 0.000000 0.000000 0.000000 0.000000 0.000000\n");
  EXPECT_EQ(r.file("dunediff"),
            "K_A [-], a_diff [-], gamma [Pa s], Froude [-], velocity [m/s], duneheight [m], dunelength [m], "
            "waterdepth [m], stimet [s], duneno [-]\n");
  EXPECT_EQ(r.file("dunevert"), "\nVertical distribution of diffusion parameter [-]:\n");
}

// The bed statistics keep their means where the slide and groundwater layers
// keep their levels.
TEST(StatisticsRun, BedStatisticsExcludeTheLayerModels) {
  struct Row {
    const char *other, *dataSet;
  };
  for (const Row &row : {Row{"236", "F 236 1 0 0 0.8\n"}, Row{"262", "F 262 1 5e-6\n"}}) {
    const char *other = row.other;
    const CaseResult r = runControl(std::string("F 404 1 0.1\n") + row.dataSet);
    EXPECT_EQ(r.status, 251) << other;
    EXPECT_TRUE(endsWith(r.file("boogie"), std::string("Error: F 404 can not be combined with F ") + other +
                                               ": both use the bed planes 5 and 6\n"))
        << r.file("boogie");
  }
}
