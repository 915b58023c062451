// The straight channel through the binary on four threads against the serial
// run, for the main, modular and fast drivers: with the solves kept on one
// thread every threaded pass gives the serial result file to the last digit;
// fully threaded the run converges to the serial profile.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "support/channel_results.h"
#include "support/run_case.h"

namespace {

constexpr const char *kCase = "straight-channel";
constexpr double kMeanVelocity = 0.75;  // m/s, 7.5 m3/s over 10 m x 1 m

CaseResult runChannel(const std::string &extra, const char *threads) {
  CaseSetup setup;
  setup.files["control"] = caseFile(kCase, "control") + extra;
  setup.files["koosurf"] = caseFile(kCase, "koosurf");
  setup.environment["OMP_NUM_THREADS"] = threads;
  return runCase(setup);
}

// The result lines after the header lines ("Results, iter" and "Residuals"
// name the iteration and the residuals of the stop).
std::string resultBody(const std::string &text) {
  const std::size_t first = text.find("\nC ");
  return first == std::string::npos ? std::string() : text.substr(first);
}

// The main driver's k coefficients by the power law on the chunks (G 50
// entry 5) and the concurrent chunk solves (entry 8) are the threaded runs'
// own; every other threaded pass of the three drivers gives the serial bits.
TEST(ThreadedChannel, FourThreadsGiveTheSerialResultFile) {
  const struct {
    const char *driver, *entries;
  } cases[] = {
      {"", "G 50 0 0 0 0 0 1 0 0 1 0\n"},
      {"F 328 1\n", "G 50 0 0 0 0 0 0 0 0 1 0\n"},
      {"F 170 1\n", "G 50 0 0 0 0 0 0 0 0 1 0\n"},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.driver);
    const CaseResult serial = runChannel(c.driver, "1");
    ASSERT_EQ(serial.status, 1) << serial.file("boogie");
    ASSERT_NE(serial.file("boogie").find("Solution converged"), std::string::npos) << serial.file("boogie");
    ASSERT_FALSE(resultBody(serial.file("result.end")).empty());
    const CaseResult threaded = runChannel(std::string(c.driver) + "F 206 4\n" + c.entries, "4");
    ASSERT_EQ(threaded.status, 1) << threaded.file("boogie");
    EXPECT_NE(threaded.file("boogie").find("Number of threads: 4 (F 206)\n"), std::string::npos);
    EXPECT_EQ(threaded.file("result.end"), serial.file("result.end"));
  }
}

// Fully threaded, the main driver converges to the serial profile.
TEST(ThreadedChannel, FullyThreadedMainDriverKeepsTheProfile) {
  const CaseResult serial = runChannel("", "1");
  ASSERT_EQ(serial.status, 1) << serial.file("boogie");
  const std::string expected = serial.file("result.end");
  const CaseResult threaded = runChannel("F 206 4\n", "4");
  ASSERT_EQ(threaded.status, 1) << threaded.file("boogie");
  ASSERT_NE(threaded.file("boogie").find("Solution converged"), std::string::npos) << threaded.file("boogie");
  const ResultCells one = resultCells(expected), four = resultCells(threaded.file("result.end"));
  ASSERT_EQ(one.size(), four.size());
  double largest = 0.0;
  for (const auto &[c, v] : one) {
    const ResultCell &w = four.at(c);
    largest = std::max({largest, std::fabs(v.u - w.u), std::fabs(v.v - w.v), std::fabs(v.w - w.w)});
  }
  EXPECT_LT(largest, 0.01 * kMeanVelocity) << "largest velocity difference " << largest << " m/s";
}

}  // namespace
