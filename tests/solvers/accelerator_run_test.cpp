// The straight channel through the binary with the depth-summed accelerator
// (F 168 2): p' alone and every equation accelerated converge in far fewer
// outer iterations than the plain run, also on four threads, and the result
// file keeps the base grid's layout.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "support/run_case.h"

namespace {

constexpr const char *kCase = "straight-channel";

CaseResult channelRun(const std::string &extra, int threads = 1) {
  CaseSetup setup;
  setup.files["control"] = caseFile(kCase, "control") + extra;
  setup.files["koosurf"] = caseFile(kCase, "koosurf");
  setup.environment["OMP_NUM_THREADS"] = std::to_string(threads);
  setup.environment["OMP_WAIT_POLICY"] = "passive";
  return runCase(setup);
}

int iterationOf(const std::string &result) {
  const std::size_t at = result.find("Results, iter = ");
  return at == std::string::npos ? -1 : std::atoi(result.c_str() + at + 16);
}

std::size_t lineCount(const std::string &text) {
  std::size_t n = 0;
  for (char ch : text) n += ch == '\n';
  return n;
}

TEST(AcceleratorRuns, ConvergeInFewerOuterIterations) {
  const CaseResult plain = channelRun("");
  ASSERT_EQ(plain.status, 1);
  ASSERT_TRUE(plain.has("result.end"));
  const int plainIterations = iterationOf(plain.file("result.end"));
  struct Case {
    const char *name;
    const char *extra;
    int threads;
  };
  const Case cases[] = {
      {"p' accelerated", "F 168 2\nK 5 0 0 0 10 0 0\n", 1},
      {"every equation accelerated", "F 168 2\nK 5 10 10 10 10 10 10\n", 1},
      {"p' accelerated on four threads", "F 168 2\nK 5 0 0 0 10 0 0\nF 206 4\n", 4},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    const CaseResult r = channelRun(c.extra, c.threads);
    const std::string log = r.file("boogie");
    EXPECT_EQ(r.status, 1) << log;
    EXPECT_NE(log.find("End Unstructure 2250 cells\n"), std::string::npos) << log;
    EXPECT_NE(log.find("Solution converged"), std::string::npos) << log;
    EXPECT_EQ(log.find("Error"), std::string::npos) << log;
    ASSERT_TRUE(r.has("result.end"));
    const int iterations = iterationOf(r.file("result.end"));
    std::printf("%s: %d outer iterations, plain run %d\n", c.name, iterations, plainIterations);
    EXPECT_GT(iterations, 0);
    EXPECT_LT(iterations, plainIterations / 4);
    EXPECT_EQ(lineCount(r.file("result.end")), lineCount(plain.file("result.end")));
  }
}

TEST(AcceleratorRuns, OtherEquationsWithoutResidualFieldsEndTheRun) {
  const CaseResult r = channelRun("F 153 0\nF 168 2\nK 5 10 0 0 0 0 0\n");
  EXPECT_EQ(r.status, 251);
  const std::string log = r.file("boogie");
  EXPECT_NE(log.find("Error for K 5 in control\nK 5 values 10 to 12 need F 153 1 for Equation 1\n\n"),
            std::string::npos)
      << log;
}

}  // namespace
