// Deposition where the flow slows, end to end: the straight channel with a
// trench between two 1:10 ramps (grid lines 11-16 down, 26-31 up), its flow
// converged and read back by letter R, then twelve steps of 10 s with a
// little sediment in the inflow. The same steps then run with the bed-load
// vector across the faces of bottom cells and with the Laplacian smoothing of
// the bed points: the transfers must create no sediment, the smoothing must
// flatten the ramps and leave the bed alone at strength 0.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "bed/levels/sediment_runs.h"

namespace {

CaseResult runTrench(const std::string &result, const std::string &extra = "") {
  return runSediment("sediment-trench", "sediment-trench", result, extra);
}

// Status 1, no "Error" or "Bug" line, the formula line, the continuity
// tables of steps 1-10 and 12 (F 1 J), each closing within 1 %.
void expectBalancedRun(const CaseResult &r, const std::string &what) {
  ASSERT_EQ(r.status, 1) << what;
  const std::string log = r.file("boogie");
  EXPECT_EQ(log.find("\nError"), std::string::npos) << what << log;
  EXPECT_EQ(log.find("\nBug"), std::string::npos) << what;
  EXPECT_NE(log.find("Using van Rijns suspended load formula\n"), std::string::npos) << what;
  EXPECT_EQ(checkContinuityTables(log), 11) << what;
}

// The end report: the bed points moved by the volume the balance booked.
void expectPointsMovedByTheBooking(const CaseResult &r, const std::string &what) {
  EndReport end;
  ASSERT_TRUE(readEndReport(r.file("boogie"), end)) << what;
  EXPECT_NEAR(end.kg, end.booked, 2e-5 * std::fabs(end.booked)) << what;
}

// The mean bed change of grid lines first..last from the start levels.
double meanChange(const std::map<int, std::vector<double>> &levels, const std::map<int, std::vector<double>> &start,
                  int first, int last) {
  return meanLevel(levels, first, last) - meanLevel(start, first, last);
}

TEST(SedimentTrenchRun, DepositsInTheTrenchAndTheBedLoadVectorAndSmoothingKeepTheMass) {
  const CaseResult converged = runCaseFolder("sediment-trench");
  ASSERT_EQ(converged.status, 1);
  ASSERT_TRUE(converged.has("result.end"));
  const std::string result = converged.file("result.end");

  // The start levels of "koosurf" by grid line, in the layout of "bedres.t".
  std::map<int, std::vector<double>> start;
  for (const std::string &line : linesOf(caseFile("sediment-trench", "koosurf"))) {
    const std::vector<double> v = numbersOf(line);
    if (v.size() == 6) start[static_cast<int>(v[0])].push_back(v[4]);
  }

  const CaseResult plain = runTrench(result);
  expectBalancedRun(plain, "plain");
  expectPointsMovedByTheBooking(plain, "plain");
  const std::map<int, std::vector<double>> levels = bedLevelsByLine(plain.file("bedres.t"));
  // The flow slows over the ramp down and deposits there; it speeds up and
  // erodes on the ramp up.
  double largestRiseUpstream = -1.0;
  for (int i = 1; i <= 10; ++i) largestRiseUpstream = std::max(largestRiseUpstream, meanChange(levels, start, i, i));
  EXPECT_GT(meanChange(levels, start, 12, 18), 0.0);
  EXPECT_GT(meanChange(levels, start, 12, 18), largestRiseUpstream);
  EXPECT_LT(meanChange(levels, start, 27, 31), 0.0);

  // Across the faces of bottom cells: only faces beside a wall or an open
  // end (21), and every face (23).
  for (const char *vector : {"F 78 21 0.6\n", "F 78 23 0.6\n"}) {
    const CaseResult r = runTrench(result, vector);
    expectBalancedRun(r, vector);
    expectPointsMovedByTheBooking(r, vector);
  }

  // The Laplacian lowers the ramp crests and raises their feet, twelve times
  // by about 17 mm in all.
  const CaseResult smoothed = runTrench(result, "F 144 11 0.2\n");
  expectBalancedRun(smoothed, "F 144 11 0.2");
  const std::map<int, std::vector<double>> smooth = bedLevelsByLine(smoothed.file("bedres.t"));
  for (const int crest : {11, 31}) EXPECT_LT(meanLevel(smooth, crest, crest), meanLevel(levels, crest, crest) - 0.005);
  for (const int foot : {16, 26}) EXPECT_GT(meanLevel(smooth, foot, foot), meanLevel(levels, foot, foot) + 0.005);

  // At strength 0 the smoothing leaves every digit as it was.
  const CaseResult still = runTrench(result, "F 144 11 0.0\n");
  ASSERT_EQ(still.status, 1);
  EXPECT_EQ(still.file("bedres.t"), plain.file("bedres.t"));
}

// The deposit relocation works on the layer stack of F 37 3 only.
TEST(SedimentTrenchRun, DepositRelocationNeedsTheLayerStack) {
  CaseSetup setup;
  setup.files["control"] = sedimentControl("sediment-trench", "sediment-trench", "F 414 1\n");
  setup.files["koosurf"] = caseFile("sediment-trench", "koosurf");
  const CaseResult r = runCase(setup);
  EXPECT_EQ(r.status, 251);
  EXPECT_TRUE(endsWith(r.file("boogie"), "Error: The F 414 data set is only used in combination with the F 37 3 data "
                                         "set\n"))
      << r.file("boogie");
}

}  // namespace
