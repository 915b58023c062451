// Clear water over a sand bed, end to end: the converged straight channel
// read back by letter R, then six steps of 10 s of suspended sediment and bed
// change. The eroded mass must reappear as suspension and outflow, the bed
// levels must fall by what the bed layers lost, and most at the inlet.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "bed/levels/sediment_runs.h"

namespace {

// The sediment run with extra data sets, restarted from the converged flow.
CaseResult runSediment(const std::string &result, const std::string &extra = "") {
  return ::runSediment("straight-channel", "sediment-erosion", result, extra);
}

// The checks every erosion run must pass: no error, the formula line, six
// steps whose continuity tables close, and the end report's bed-level
// change equal to the booked bed change, eroding. Returns that volume, m3.
double checkErosionRun(const CaseResult &r, const std::string &what) {
  const std::string log = r.file("boogie");
  EXPECT_EQ(log.find("\nError"), std::string::npos) << what << log;
  EXPECT_NE(log.find("Using van Rijns suspended load formula\n"), std::string::npos) << what;
  EXPECT_EQ(checkContinuityTables(log), 6) << what;
  EndReport end;
  EXPECT_TRUE(readEndReport(log, end)) << what << log;
  EXPECT_LT(end.volume, 0.0) << what;
  EXPECT_NEAR(end.kg, end.booked, 2e-5 * std::fabs(end.booked)) << what;
  return end.volume;
}

TEST(SedimentErosionRun, MassHoldsAndTheBedFallsMostAtTheInlet) {
  const CaseResult converged = runCaseFolder("straight-channel");
  ASSERT_EQ(converged.status, 1);
  ASSERT_TRUE(converged.has("result.end"));

  const CaseResult r = runSediment(converged.file("result.end"));
  ASSERT_EQ(r.status, 1);
  const double volume = checkErosionRun(r, "");

  // "bedres.t": grid points (i j . bed water plane3 plane1), then bed cells.
  const std::vector<std::string> bedres = linesOf(r.file("bedres.t"));
  std::size_t n = 2;
  for (; n < bedres.size(); ++n) {
    const std::vector<double> v = numbersOf(bedres[n]);
    if (v.size() != 7) break;
    EXPECT_NEAR(v[6], v[3], 1e-6) << bedres[n];  // the start bed is at 0
  }
  const std::map<int, std::vector<double>> lowering = bedLevelsByLine(r.file("bedres.t"));
  for (const auto &[line, levels] : lowering) EXPECT_LE(meanLevel(lowering, line, line), 1e-6) << "grid line " << line;
  EXPECT_GE(-meanLevel(lowering, 1, 6), 1.5 * -meanLevel(lowering, 41, 51));

  // Bed cells: layer 1 (sixth value) stays at 0.05 m, layer 0 (eighth) gives
  // what was eroded from the 10 m bed.
  double layerVolume = 0.0;
  int cells = 0;
  for (; n < bedres.size(); ++n) {
    const std::vector<double> v = numbersOf(bedres[n]);
    if (v.size() < 8) continue;
    ++cells;
    EXPECT_GE(v[5], 0.0) << bedres[n];
    EXPECT_GE(v[7], 0.0) << bedres[n];
    EXPECT_NEAR(v[5], 0.05, 1e-12) << bedres[n];
    layerVolume += (v[5] + v[7] - 10.0) * 4.0;
  }
  EXPECT_EQ(cells, 250);
  EXPECT_NEAR(layerVolume, volume, 1e-3 * std::fabs(volume));
}

// The other formulas of F 10 and the sand-clay mixture of F 84 7 on the same
// bed: each closes its balance, lowers no grid line and erodes most at the
// inlet. The mixture formula counts a 0.2 mm grain as 1 mm, five times van
// Rijn's concentration, and the exchange is linear in it: the inlet lowers
// 4.5 to 5 times as much (a little less than 5, as the deeper bed lowers the
// shear).
TEST(SedimentErosionRun, OtherFormulasHoldTheMass) {
  const CaseResult converged = runCaseFolder("straight-channel");
  ASSERT_EQ(converged.status, 1);
  const std::string result = converged.file("result.end");
  const CaseResult rijn = runSediment(result);
  ASSERT_EQ(rijn.status, 1);
  const double rijnInlet = meanLevel(bedLevelsByLine(rijn.file("bedres.t")), 1, 6);

  for (const char *formula : {"F 10 E\n", "F 10 M\n", "F 10 A\n", "F 84 7\n"}) {
    const CaseResult r = runSediment(result, formula);
    EXPECT_EQ(r.status, 1) << formula;
    const std::string log = r.file("boogie");
    EXPECT_EQ(log.find("\nError"), std::string::npos) << formula << log;
    EXPECT_EQ(log.find("Warning for instability"), std::string::npos) << formula;
    EXPECT_EQ(checkContinuityTables(log), 6) << formula;
    const std::map<int, std::vector<double>> levels = bedLevelsByLine(r.file("bedres.t"));
    for (const auto &[line, z] : levels) EXPECT_LE(meanLevel(levels, line, line), 1e-6) << formula << line;
    EXPECT_LT(meanLevel(levels, 1, 6), meanLevel(levels, 41, 51)) << formula;
    if (std::string(formula) == "F 84 7\n") {
      const double ratio = meanLevel(levels, 1, 6) / rijnInlet;
      EXPECT_GE(ratio, 4.5);
      EXPECT_LE(ratio, 5.0);
    }
  }
}

// The corner weighting of F 205 and the column-ordered bed change of F 255 1
// on the same bed. F 205 12 ends the run at the first column that moves;
// F 255 1 does not weigh by it. F 205 1 moves the change between corners
// (after step 1 they differ) and keeps its volume. F 255 1 places the same
// corner moves in another order: without a limit acting the bed levels are
// those of F 255 0.
TEST(SedimentErosionRun, CornerWeightingAndColumnOrder) {
  const CaseResult converged = runCaseFolder("straight-channel");
  ASSERT_EQ(converged.status, 1);
  const std::string result = converged.file("result.end");

  const CaseResult discontinued = runSediment(result, "F 205 12 2.0\n");
  EXPECT_EQ(discontinued.status, 253);
  const std::string message = "Error in F 205 data set. Option 12 is discontinued due to bug\n";
  const std::string log = discontinued.file("boogie");
  ASSERT_GE(log.size(), message.size());
  EXPECT_EQ(log.substr(log.size() - message.size()), message);
  EXPECT_EQ(runSediment(result, "F 205 12 2.0\nF 255 1\n").status, 1);

  const CaseResult weighted = runSediment(result, "F 205 1 2.0\n");
  ASSERT_EQ(weighted.status, 1);
  checkErosionRun(weighted, "F 205 1");

  const CaseResult plain = runSediment(result);
  const CaseResult ordered = runSediment(result, "F 255 1\n");
  ASSERT_EQ(plain.status, 1);
  ASSERT_EQ(ordered.status, 1);
  checkErosionRun(ordered, "F 255 1");
  const std::map<int, std::vector<double>> a = bedLevelsByLine(plain.file("bedres.t"));
  const std::map<int, std::vector<double>> b = bedLevelsByLine(ordered.file("bedres.t"));
  ASSERT_EQ(a.size(), b.size());
  const std::map<int, std::vector<double>> w = bedLevelsByLine(weighted.file("bedres.t"));
  double largestShift = 0.0;
  for (const auto &[line, levels] : a) {
    ASSERT_EQ(levels.size(), b.at(line).size()) << line;
    for (std::size_t n = 0; n < levels.size(); ++n) {
      EXPECT_NEAR(b.at(line)[n], levels[n], 1e-12) << "grid line " << line << " point " << n;
      largestShift = std::max(largestShift, std::fabs(w.at(line)[n] - levels[n]));
    }
  }
  EXPECT_GT(largestShift, 1e-9) << "F 205 1 moves the change between corners";
}

}  // namespace
