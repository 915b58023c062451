// A tracer across a nesting border: on the nested fixture of cases/nested
// the fine block takes the component from its parent cells as it takes the
// flow, so a tracer that enters the channel at 1 fills the fine block at 1.
// The tracer keeps its mass: where the water interpolated through the
// border and the fine block's own face fluxes differ (up to 3 % here) the
// tracer gathers or thins with the water, within 4 % of 1.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "files/grid_files/grid_file.h"
#include "grid/grid_fixture.h"
#include "grid/nested_grid.h"
#include "support/run_case.h"

namespace {

class NestedComponents : public GridFixture {
 protected:
  void SetUp() override {
    GridFixture::SetUp();
    generateNested();
    if (HasFatalFailure()) return;
    WriteUnstructure();
  }
};

TEST_F(NestedComponents, TracerFillsTheFineBlock) {
  CaseSetup setup;
  setup.files["control"] = "F 2 UWE\nG 1 13 13 11 1\nF 314 1 1\nF 237 1 1.0\nF 237 2 1.0\nF 261 0 0.5\n"
                           "K 1 5000 50000\nF 50 1\nM 1 0 1.0\n";
  setup.files["unstruc"] = readFile("unstruc");
  const CaseResult run = runCase(setup);
  const std::string log = run.file("boogie");
  EXPECT_EQ(run.status, 1) << log;
  EXPECT_NE(log.find("Solution converged"), std::string::npos) << log;
  const std::vector<std::string> lines = linesOf(run.file("compres"));
  ASSERT_EQ(lines.size(), 504u) << log;
  for (int c = 361; c <= 504; ++c) EXPECT_NEAR(std::stod(lines[c - 1]), 1.0, 0.04) << "cell " << c;
}

}  // namespace
