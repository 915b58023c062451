// Runs of the straight channel that diverge on purpose, through the binary:
// a crash limit below the first residual, and a relaxation far too strong,
// with and without F 219's remedies; and the channel with the realizable
// model, which converges. A diverged run writes its crash output and ends
// with the diverged status.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/exit_codes.h"
#include "support/run_case.h"

namespace {

constexpr const char *kCase = "straight-channel";

CaseResult runChannel(const std::string &extraLines) {
  CaseSetup setup;
  setup.files["control"] = caseFile(kCase, "control") + extraLines;
  setup.files["koosurf"] = caseFile(kCase, "koosurf");
  return runCase(setup);
}

// The position of each text in the log, in the given order; -1 when one is
// missing or out of order.
bool inOrder(const std::string &log, const std::vector<std::string> &texts) {
  std::size_t at = 0;
  for (const std::string &t : texts) {
    at = log.find(t, at);
    if (at == std::string::npos) return false;
    at += t.size();
  }
  return true;
}

const std::vector<std::string> kCrashLines = {
    "Cont: ",
    "Largest residual is in cell b=",
    "Please look at the ParaView2.vtk file to find out where the problem is\n\n",
    "Debugging information: Cell height: ",
    "Horizontal cell distances: ",
    "Roughness ",
    "Neighbour areas (wsen): ",
    "Bed surface vector components: ",
    "Bed area components: ",
};

void expectCrashFile(const CaseResult &r) {
  EXPECT_EQ(r.status, kExitDiverged & 255) << r.file("boogie");
  EXPECT_EQ(r.stderrText, "telva: Solution diverged (status 3; see boogie)\n");
  ASSERT_TRUE(r.has("pav2_00000.vtk"));
  const std::string vtk = r.file("pav2_00000.vtk");
  for (const char *name : {"Depth", "Water_level", "Bed_shear", "Pressure_0", "Bed_movement", "Horiz_velocity", "Uz_0",
                           "No_cells_vertical_direction", "Bed_level", "Residual_pressure_1", "Residual_k_1"}) {
    EXPECT_NE(vtk.find(std::string("SCALARS ") + name), std::string::npos) << name;
  }
  EXPECT_FALSE(r.has("result.end")) << "a diverged state is not written as a result";
}

TEST(DivergedChannel, CrashLimitBelowTheFirstResidual) {
  const CaseResult r = runChannel("F 301 0.5\n");
  const std::string log = r.file("boogie");
  std::vector<std::string> order = {"Iter: 1, Resid: ", "Solution diverged after 1 inner and 1 outer iterations\n",
                                    "Max residual is ", "Iter: 1, Resid: "};
  order.insert(order.end(), kCrashLines.begin(), kCrashLines.end());
  EXPECT_TRUE(inOrder(log, order)) << log;
  EXPECT_EQ(log.find("Solution flushed"), std::string::npos);
  expectCrashFile(r);
}

TEST(DivergedChannel, GridAndRestartDumpsWithF257) {
  const CaseResult r = runChannel("F 301 0.5\nF 257 1\n");
  const std::string log = r.file("boogie");
  std::vector<std::string> order = {"Solution diverged after 1 inner and 1 outer iterations\n", "Iter: 1, Resid: "};
  order.insert(order.end(), kCrashLines.begin(), kCrashLines.end());
  EXPECT_TRUE(inOrder(log, order)) << log;
  expectCrashFile(r);
  for (const char *name : {"unstruc.dbg", "alldata.0", "result.csh"}) EXPECT_TRUE(r.has(name)) << name;
  EXPECT_FALSE(r.has("unstruc")) << "the grid dump has its own name";
}

TEST(DivergedChannel, OverRelaxedRunDivergesBeforeItsIterationsRunOut) {
  const CaseResult r = runChannel("K 3 1.99 1.99 1.99 1.99 1.99 1.99\n");
  const std::string log = r.file("boogie");
  EXPECT_TRUE(inOrder(log, {"Solution diverged after ", "Please look at the ParaView2.vtk"})) << log;
  EXPECT_EQ(log.find("Warning: Solution not converged"), std::string::npos) << log;
  expectCrashFile(r);
}

TEST(DivergedChannel, TwoRemediesBeforeTheDivergence) {
  const CaseResult r = runChannel("K 3 1.99 1.99 1.99 1.99 1.99 1.99\nF 219 2\n");
  const std::string log = r.file("boogie");
  EXPECT_TRUE(inOrder(log, {"Solution flushed at Iter=", ", InnerIter=1, Residual=", ", relax=1.990000, TotalFlushings = 1\n",
                            "Solution flushed at Iter=", "TotalFlushings = 2\n", "Solution diverged after "}))
      << log;
  EXPECT_EQ(log.find("TotalFlushings = 3"), std::string::npos);
  expectCrashFile(r);
}

TEST(RealizableChannel, Converges) {
  const CaseResult r = runChannel("F 24 17\nK 1 6000 50000\n");
  const std::string log = r.file("boogie");
  EXPECT_EQ(r.status, 1) << log;
  EXPECT_NE(log.find("Solution converged"), std::string::npos) << log;
  EXPECT_EQ(log.find("Error"), std::string::npos) << log;
  EXPECT_TRUE(r.has("result.end"));
}

}  // namespace
