// Water-flow runs on the nested fixture: the grid of cases/nested written by
// the engine's own grid writer, read back by the letter U, and the flow of
// 1 m3/s through the 4 m wide, 1 m deep channel solved with the fine block
// fed by its border sources, uncoupled and coupled to its parent cells.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <sstream>
#include <string>

#include "files/grid_files/grid_file.h"
#include "grid/grid_fixture.h"
#include "grid/nested_grid.h"
#include "model/cells.h"
#include "support/run_case.h"

namespace {

// The velocity u of every cell of a result file ("C cell u ..." lines).
std::map<int, double> cellVelocities(const std::string &result) {
  std::map<int, double> u;
  for (const std::string &line : linesOf(result)) {
    if (line.rfind("C ", 0) != 0) continue;
    std::istringstream in(line.substr(2));
    int c = 0;
    double value = 0.0;
    in >> c >> value;
    u[c] = value;
  }
  return u;
}

// The run of the nested grid with the control lines given.
CaseResult runNested(const std::string &coupling, const std::string &iterations) {
  CaseSetup setup;
  setup.files["control"] =
      "F 2 UW\nG 1 13 13 11 1\nF 314 1 1\nF 237 1 1.0\nF 237 2 1.0\n" + coupling + iterations;
  setup.files["unstruc"] = readFile("unstruc");
  return runCase(setup);
}

// Status 1 and no error in the log.
void expectNormalEnd(const CaseResult &run) {
  const std::string log = run.file("boogie");
  EXPECT_EQ(run.status, 1) << log;
  EXPECT_EQ(log.find("Error"), std::string::npos) << log;
}

class NestedRun : public GridFixture {
 protected:
  void SetUp() override {
    GridFixture::SetUp();
    generateNested();
    if (HasFatalFailure()) return;
    for (int c = 361; c <= 504; ++c) parent_[c] = Cinterpolnest[c];
    WriteUnstructure();
  }
  std::map<int, int> parent_;
};

// The run converges, and the fine block carries the flow of its parents,
// both near the 0.25 m/s that continuity gives.
void expectFineBlockCarriesTheParentFlow(const CaseResult &run, const std::map<int, int> &parent) {
  expectNormalEnd(run);
  const std::string log = run.file("boogie");
  EXPECT_NE(log.find("Solution converged"), std::string::npos) << log;
  const std::map<int, double> u = cellVelocities(run.file("result.end"));
  ASSERT_EQ(u.size(), 504u) << log;
  double fine = 0.0, coarse = 0.0;
  std::map<int, bool> counted;
  int parents = 0;
  for (int c = 361; c <= 504; ++c) {
    fine += u.at(c) / 144.0;
    const int p = parent.at(c);
    ASSERT_GT(p, 0) << "cell " << c;
    if (!counted[p]) {
      counted[p] = true;
      coarse += u.at(p);
      ++parents;
    }
  }
  ASSERT_EQ(parents, 36);
  coarse /= parents;
  EXPECT_NEAR(fine, coarse, 0.1 * coarse) << "fine " << fine << ", parents " << coarse;
  EXPECT_NEAR(fine, 0.25, 0.01);
  EXPECT_NEAR(coarse, 0.25, 0.01);
}

// The border inflow alone.
TEST_F(NestedRun, FineBlockCarriesTheParentFlow) {
  expectFineBlockCarriesTheParentFlow(runNested("F 261 0 0.5\n", "K 1 5000 50000\n"), parent_);
}

// Coupled with the fine cells taken into their parents' coefficients.
TEST_F(NestedRun, CoupledThroughTheParentCoefficientsConverges) {
  expectFineBlockCarriesTheParentFlow(runNested("F 261 11 0.5\n", "K 1 5000 50000\n"), parent_);
}

// With F 261 1 the parents take the fine means after every momentum solve;
// the run goes through its iterations and ends normally.
TEST_F(NestedRun, CoupledRunEndsNormally) {
  const CaseResult run = runNested("F 261 1 1.0\n", "K 1 500 50000\n");
  expectNormalEnd(run);
  EXPECT_NE(run.file("boogie").find("Iter: 500,"), std::string::npos) << run.file("boogie");
}

}  // namespace
