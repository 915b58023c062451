// The sediment case folders show their bed in ParaView: each writes the bed
// level and the bed movement since the start into "ParaView3U.vtk" (its
// "G 24" line), and the dredging case logs its cuts as negative volumes.
#include <gtest/gtest.h>

#include <string>

#include "support/run_case.h"

namespace {

TEST(SedimentCaseViews, BedLevelAndMovementInParaView) {
  for (const char *name : {"dredging", "sand-slide", "bank-failure"}) {
    CaseSetup setup;
    for (const char *file : {"control", "koosurf", "bagger"}) {
      const std::string text = caseFile(name, file);
      if (!text.empty()) setup.files[file] = text;
    }
    const CaseResult r = runCase(setup);
    ASSERT_EQ(r.status, 1) << name;
    ASSERT_TRUE(r.has("ParaView3U.vtk")) << name;
    const std::string vtk = r.file("ParaView3U.vtk");
    EXPECT_NE(vtk.find("SCALARS Bed_level float\n"), std::string::npos) << name;
    EXPECT_NE(vtk.find("SCALARS Bed_movement float\n"), std::string::npos) << name;
    if (std::string(name) == "dredging") {
      EXPECT_NE(r.file("bag_res").find("10.000000, -1.200000\n"), std::string::npos) << r.file("bag_res");
    }
  }
}

}  // namespace
