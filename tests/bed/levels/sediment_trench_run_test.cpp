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
// tables of steps 1-10 and 12 (F 1 J), each closing to round-off (the
// defect was 1.3e-3 of the bed change before the centre coefficient held
// each cell's net outflow).
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
  EXPECT_NEAR(end.booked, lastTableBedchange(r.file("boogie")), 1e-5 * std::fabs(end.booked)) << what;
}

// The mean bed change of grid lines first..last from the start levels.
double meanChange(const std::map<int, std::vector<double>> &levels, const std::map<int, std::vector<double>> &start,
                  int first, int last) {
  return meanLevel(levels, first, last) - meanLevel(start, first, last);
}

// The bed-cell lines of "bedres.t": no layer thinner than 0, the active
// layer (sixth value) at 0.05 m in every column, and the two layers together
// (with layer 0, the eighth value) changed from their start, 10 m above
// plane 3 plus the column's start level, by the volume of the end report.
// Bed cell b is column (2 + (b-1)/5, 2 + (b-1)%5) of 4 m2.
void expectLayersHoldTheVolume(const CaseResult &r, const std::map<int, std::vector<double>> &start) {
  EndReport end;
  ASSERT_TRUE(readEndReport(r.file("boogie"), end));
  const std::vector<std::string> bedres = linesOf(r.file("bedres.t"));
  double volume = 0.0;
  int cells = 0;
  for (std::size_t n = 2; n < bedres.size(); ++n) {
    const std::vector<double> v = numbersOf(bedres[n]);
    if (v.size() < 8) continue;
    const int b = static_cast<int>(v[0]), i = 2 + (b - 1) / 5, j = 2 + (b - 1) % 5;
    ++cells;
    EXPECT_GE(v[7], 0.0) << bedres[n];
    EXPECT_NEAR(v[5], 0.05, 1e-12) << bedres[n];
    const std::vector<double> &east = start.at(i), &west = start.at(i - 1);
    const double level = 0.25 * (east[j - 1] + east[j - 2] + west[j - 1] + west[j - 2]);
    volume += (v[5] + v[7] - 10.0 - level) * 4.0;
  }
  EXPECT_EQ(cells, 250);
  EXPECT_NEAR(volume, end.volume, 1e-3 * std::fabs(end.volume));
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
  expectLayersHoldTheVolume(plain, start);

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
