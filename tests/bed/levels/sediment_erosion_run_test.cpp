// Clear water over a sand bed, end to end: the converged straight channel
// read back by letter R, then six steps of 10 s of suspended sediment and bed
// change. The eroded mass must reappear as suspension and outflow, the bed
// levels must fall by what the bed layers lost, and most at the inlet.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "bed/levels/sediment_runs.h"

namespace {

// The sediment run with extra data sets, restarted from the converged flow.
CaseResult runSediment(const std::string &result, const std::string &extra = "") {
  return ::runSediment("straight-channel", "sediment-erosion", result, extra);
}

// The checks every erosion run must pass: no error, the formula line, six
// steps whose continuity tables close to round-off (the defect was 6.4e-5 of
// the bed change before the centre coefficient held each cell's net
// outflow), the end report's booked bed change equal to the last table's, and the end report's bed-level
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
  EXPECT_NEAR(end.booked, lastTableBedchange(log), 1e-5 * std::fabs(end.booked)) << what;
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

namespace {

// The multi-layer bed on the same case: five layers, the layered solver and
// the point levels from the layers.
const char *const kMultiLayer = "F 37 3\nF 134 5\nF 255 5\nF 106 0.05\n";

// Every continuity table carries the fraction defect line, below 1e-6, and
// the defect against the bed change within 1 % of the largest mass moved.
void checkMultiLayerTables(const std::string &log, int expected) {
  const std::vector<std::string> lines = linesOf(log);
  int tables = 0;
  for (std::size_t n = 0; n + 1 < lines.size(); ++n) {
    if (lines[n].rfind("Size  Inflow (kg)", 0) != 0) continue;
    ++tables;
    ASSERT_GE(n, 1u);
    double fractions = 1.0;
    EXPECT_EQ(std::sscanf(lines[n - 1].c_str(), "Max def. fractions: %lg", &fractions), 1) << lines[n - 1];
    EXPECT_LT(fractions, 1e-6) << lines[n - 1];
    const std::vector<double> v = numbersOf(lines[n + 1]);
    ASSERT_GE(v.size(), 8u) << lines[n + 1];
    const double inflow = v[1], outflow = v[2], bedchange = v[5], defect2 = v[7];
    EXPECT_LE(std::fabs(defect2), 0.01 * std::max({inflow, outflow, std::fabs(bedchange)})) << lines[n + 1];
  }
  EXPECT_EQ(tables, expected);
}

// The "bedres.t" grid-point levels by (i, j).
std::map<std::pair<int, int>, double> pointLevels(const std::string &bedresText) {
  std::map<std::pair<int, int>, double> levels;
  const std::vector<std::string> bedres = linesOf(bedresText);
  for (std::size_t n = 2; n < bedres.size(); ++n) {
    const std::vector<double> v = numbersOf(bedres[n]);
    if (v.size() != 7) break;
    levels[{static_cast<int>(v[0]), static_cast<int>(v[1])}] = v[3];
  }
  return levels;
}

// A multi-layer run with the extra data sets: it ends normally without an
// "Error" line, every step's table balances, the levels hold the booked bed
// change and no grid line rises.
CaseResult runMultiLayer(const std::string &result, const std::string &extra) {
  const CaseResult r = runSediment(result, std::string(kMultiLayer) + extra);
  EXPECT_EQ(r.status, 1) << extra << r.file("boogie");
  const std::string log = r.file("boogie");
  EXPECT_EQ(log.find("\nError"), std::string::npos) << extra << log;
  checkMultiLayerTables(log, 6);
  EndReport end;
  EXPECT_TRUE(readEndReport(log, end)) << extra;
  EXPECT_LT(end.booked, 0.0) << extra;
  EXPECT_NEAR(end.kg, end.booked, 1e-4 * std::fabs(end.booked)) << extra;
  const std::map<int, std::vector<double>> lines = bedLevelsByLine(r.file("bedres.t"));
  for (const auto &[line, z] : lines) EXPECT_LE(meanLevel(lines, line, line), 1e-9) << extra << " grid line " << line;
  return r;
}

TEST(MultiLayerErosionRun, MassHoldsAndTheBedFollowsTheLayers) {
  const CaseResult converged = runCaseFolder("straight-channel");
  ASSERT_EQ(converged.status, 1);
  const std::string result = converged.file("result.end");
  const CaseResult twoLayer = runSediment(result);
  ASSERT_EQ(twoLayer.status, 1);
  const CaseResult r = runMultiLayer(result, "F 329 1 1 0 0 0 1\nF 449 0 -10\n");
  const std::string log = r.file("boogie");
  EXPECT_EQ(log.find("Bvollefttot["), std::string::npos);
  EndReport end;
  ASSERT_TRUE(readEndReport(log, end));

  // The layer stacks (layers top first as thickness and fraction, printed to
  // 1e-6 m): no negative layer, and what the stacks lost below their 10 m
  // start is the volume the bed levels lost. A single column's stack differs
  // from the mean of its corners, each of which is the mean of the stacks
  // around it.
  const std::map<std::pair<int, int>, double> levels = pointLevels(r.file("bedres.t"));
  const std::vector<std::string> bedres = linesOf(r.file("bedres.t"));
  int cells = 0;
  double layerVolume = 0.0;
  for (std::size_t n = 2 + levels.size(); n < bedres.size(); ++n) {
    const std::vector<double> v = numbersOf(bedres[n]);
    if (v.size() < 7) continue;
    ++cells;
    double sum = 0.0;
    for (std::size_t k = 5; k < v.size(); k += 2) {
      EXPECT_GE(v[k], 0.0) << bedres[n];
      sum += v[k];
    }
    layerVolume += (sum - 10.0) * 4.0;
  }
  EXPECT_EQ(cells, 250);
  EXPECT_NEAR(layerVolume, end.volume, 1e-3 * std::fabs(layerVolume));

  // Every point lies within 3 % of the largest lowering of the two-layer
  // run's level.
  const std::map<std::pair<int, int>, double> reference = pointLevels(twoLayer.file("bedres.t"));
  double largest = 0.0;
  for (const auto &[point, z] : reference) largest = std::max(largest, -z);
  ASSERT_GT(largest, 0.0);
  for (const auto &[point, z] : reference) {
    EXPECT_NEAR(levels.at(point), z, 0.03 * largest) << point.first << " " << point.second;
  }

  // The stacked layers of block 1 for ParaView: 5 layers of 250 columns.
  const std::string view = r.file("ParaBed3D.vtk");
  EXPECT_NE(view.find("\nCELLS 1250 "), std::string::npos) << view.substr(0, 300);

  // The border lines from the column changes (F 255 4), every point from
  // them (F 255 3), or the stacks smoothed before the levels are set
  // (F 451): the same balance, and the levels hold the booked mass.
  for (const char *option : {"F 255 4\n", "F 255 3\n", "F 451 1 0.001\n"}) runMultiLayer(result, option);
}

// A cohesion above every bed shear keeps the bed where it is; F 385 2
// without its file ends the run.
TEST(MultiLayerErosionRun, CohesionHoldsTheBed) {
  const CaseResult converged = runCaseFolder("straight-channel");
  ASSERT_EQ(converged.status, 1);
  const std::string result = converged.file("result.end");
  const CaseResult r = runSediment(result, std::string(kMultiLayer) + "F 385 1 1e6\n");
  ASSERT_EQ(r.status, 1) << r.file("boogie");
  for (const auto &[point, z] : pointLevels(r.file("bedres.t"))) {
    EXPECT_NEAR(z, 0.0, 1e-9) << point.first << " " << point.second;
  }
  const CaseResult missing = runSediment(result, std::string(kMultiLayer) + "F 385 2 0\n");
  EXPECT_EQ(missing.status, 251);
  EXPECT_TRUE(endsWith(missing.file("boogie"),
                       "\nError: F 385 2 data set is specified in 'control' file and 'cohesion' file can not be read\n\n"))
      << missing.file("boogie");
}

}  // namespace
