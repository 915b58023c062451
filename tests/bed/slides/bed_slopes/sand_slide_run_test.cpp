// The sand slide through the binary on the case "sand-slide": eight by three
// columns of 1 m with a 2 m step over one column, under water too slow to
// move the grains. Every variant must leave the step at the repose slope
// 0.5 (the same profile from point levelling, the rotations and the
// two-layer composition), keep the bed volume of 21 m3 and book each move in
// plane 1; the multi-layer variants are refused without the layer stack.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "base/exit_codes.h"
#include "support/run_case.h"

namespace {

// The case's "control" with whole lines replaced (a replacement may hold
// several lines).
std::string control(const std::vector<std::pair<std::string, std::string>> &changes) {
  std::string text = caseFile("sand-slide", "control");
  for (const auto &[line, replacement] : changes) {
    const std::size_t at = text.find(line + "\n");
    EXPECT_NE(at, std::string::npos) << line;
    if (at != std::string::npos) text.replace(at, line.size(), replacement);
  }
  return text;
}

CaseResult runSlide(const std::vector<std::pair<std::string, std::string>> &changes) {
  CaseSetup setup;
  setup.files["control"] = control(changes);
  setup.files["koosurf"] = caseFile("sand-slide", "koosurf");
  return runCase(setup);
}


// "bedres.t": the grid points (i j bottom-cell bed water plane-3 plane-1),
// then one row per bed cell with its layers.
struct BedResult {
  std::map<std::pair<int, int>, std::vector<double>> points;
  std::vector<std::vector<double>> bedCells;
};

BedResult readBedres(const std::string &text) {
  BedResult r;
  const std::vector<std::string> lines = linesOf(text);
  std::size_t n = 2;
  for (; n < lines.size(); ++n) {
    const std::vector<double> v = numbersOf(lines[n]);
    if (v.size() != 7) break;
    r.points[{static_cast<int>(v[0]), static_cast<int>(v[1])}] = v;
  }
  for (; n < lines.size(); ++n) r.bedCells.push_back(numbersOf(lines[n]));
  return r;
}

// Solid volume per size in both layers of the two-layer bed (rows: b,
// bottom cell, three roughness values, layer 1 then layer 0 as thickness and
// the fractions of the sizes), and the largest error of a fraction sum.
std::vector<double> sizeVolumes(const BedResult &r, int sizes, double &worstSum) {
  std::vector<double> volume(sizes + 1, 0.0);
  worstSum = 0.0;
  for (const std::vector<double> &row : r.bedCells) {
    for (int layer = 0; layer < 2; ++layer) {
      const std::size_t at = 5 + static_cast<std::size_t>(layer) * (sizes + 1);
      double sum = 0.0;
      for (int k = 1; k <= sizes; ++k) {
        volume[k] += row.at(at) * row.at(at + k);
        sum += row.at(at + k);
      }
      worstSum = std::max(worstSum, std::fabs(sum - 1.0));
    }
  }
  return volume;
}

double level(const BedResult &r, int i, int j) { return r.points.at({i, j})[3]; }

TEST(SandSlideRun, TheStepSettlesAtTheReposeSlopeAndKeepsItsVolume) {
  const double profile[10] = {0, 0, 0, 0, 0.25, 0.75, 1.25, 1.75, 2, 2};  // grid lines 1..9
  struct Row {
    const char *name;
    std::vector<std::pair<std::string, std::string>> changes;
    double tolerance;
    bool twoSizes;
  };
  const Row rows[] = {
      {"point levelling, 50 sweeps", {}, 1e-12, false},
      {"rotation 200", {{"F 56 50 0.5", "F 56 200 0.5"}, {"K 1 1", "K 1 40"}}, 1e-11, false},
      {"rotation 207", {{"F 56 50 0.5", "F 56 207 0.5"}, {"K 1 1", "K 1 30"}}, 1e-11, false},
      {"two sizes in two layers",
       {{"G 1 12 7 6 1", "G 1 12 7 6 2"},
        {"S 1 0.1 1.0", "S 1 0.2 1.0\nS 2 0.1 0.8"},
        {"N 0 1 1.0", "N 0 1 0.5\nN 0 2 0.5"}},
       2e-12,  // lowerings of 1e-12 m or less are not made: up to 2e-12 m of excess stays (0.25 - 1.8e-12 here)
       true},
  };
  // The layers of the two-size bed as they stand without a slide.
  const CaseResult stillRun = runSlide({{"G 1 12 7 6 1", "G 1 12 7 6 2"},
                                        {"S 1 0.1 1.0", "S 1 0.2 1.0\nS 2 0.1 0.8"},
                                        {"N 0 1 1.0", "N 0 1 0.5\nN 0 2 0.5"},
                                        {"F 56 50 0.5", "F 56 0 0.5"}});
  ASSERT_EQ(stillRun.status, 1) << stillRun.file("boogie");
  const BedResult still = readBedres(stillRun.file("bedres.t"));
  for (const Row &row : rows) {
    SCOPED_TRACE(row.name);
    const CaseResult run = runSlide(row.changes);
    ASSERT_EQ(run.status, 1) << run.file("boogie");
    EXPECT_EQ(run.file("boogie").find("Error"), std::string::npos) << run.file("boogie");
    const BedResult r = readBedres(run.file("bedres.t"));
    ASSERT_EQ(r.points.size(), 36u);
    double volume = 0.0, worst = 0.0;
    for (int i = 1; i <= 9; ++i) {
      for (int j = 1; j <= 4; ++j) {
        EXPECT_NEAR(level(r, i, j), profile[i], row.tolerance) << i << " " << j;
        const double start = i <= 5 ? 0.0 : 2.0;
        EXPECT_NEAR(r.points.at({i, j})[6], level(r, i, j) - start, 1e-6) << "plane 1 at " << i << " " << j;
        if (i > 1) worst = std::max(worst, std::fabs(level(r, i, j) - level(r, i - 1, j)) - 0.5);
        if (j > 1) worst = std::max(worst, std::fabs(level(r, i, j) - level(r, i, j - 1)) - 0.5);
        if (i > 1 && j > 1) {
          volume += (level(r, i, j) + level(r, i - 1, j) + level(r, i, j - 1) + level(r, i - 1, j - 1)) / 4.0;
        }
      }
    }
    EXPECT_LE(worst, row.tolerance);
    EXPECT_NEAR(volume, 21.0, 21e-9);
    if (row.twoSizes) {
      double worstSum = 0.0, worstStill = 0.0;
      const std::vector<double> before = sizeVolumes(still, 2, worstStill), after = sizeVolumes(r, 2, worstSum);
      ASSERT_EQ(r.bedCells.size(), 24u);
      // The file holds six decimals: each of the 96 products is good to 1e-6 m3.
      for (int k = 1; k <= 2; ++k) EXPECT_NEAR(after[k], before[k], 1e-4) << "size " << k;
      EXPECT_LE(worstSum, 2e-6);
    }
  }
}

// The multi-layer bed (F 37 3) with variant 202: the slide moves layers
// between neighbouring columns until no pair differs by more than the repose
// tangent times their distance. The column levels, plane 3 (-10 m) plus the
// stack, step by 0.5 m over the former step, and the stacks keep their
// volume: 10, 10, 10, 10, 11, 12, 12, 12 m of the columns i = 2..9 become
// 10, 10, 10, 10.5, 11, 11.5, 12, 12 m.
TEST(SandSlideRun, TheLayerStacksSettleAtTheReposeSlope) {
  const CaseResult run = runSlide({{"F 37 2", "F 37 3\nF 255 5\nF 134 5"}, {"K 1 1", "K 1 30"}, {"F 56 50 0.5", "F 56 202 0.5"}});
  ASSERT_EQ(run.status, 1) << run.file("boogie");
  EXPECT_EQ(run.file("boogie").find("Error"), std::string::npos) << run.file("boogie");
  const BedResult r = readBedres(run.file("bedres.t"));
  // Bed cells are numbered along j (three per column of i); each row holds
  // b, its bottom cell, three values, then thickness and fraction of the
  // five layers.
  ASSERT_EQ(r.bedCells.size(), 24u);
  const double expected[8] = {0, 0, 0, 0.5, 1.0, 1.5, 2.0, 2.0};
  double volume = 0.0;
  for (std::size_t b = 0; b < r.bedCells.size(); ++b) {
    const std::vector<double> &row = r.bedCells[b];
    ASSERT_EQ(row.size(), 15u) << b;
    double stack = 0.0;
    for (int layer = 0; layer < 5; ++layer) {
      EXPECT_GE(row[5 + 2 * layer], 0.0) << b;
      stack += row[5 + 2 * layer];
    }
    EXPECT_NEAR(stack - 10.0, expected[b / 3], 1e-6) << "bed cell " << b + 1;  // six decimals in the file
    volume += stack;
  }
  EXPECT_NEAR(volume, 3 * (4 * 10.0 + 11.0 + 3 * 12.0), 1e-5);
}

// The variants of the layer stack refused without it, also where F 56's own
// check cannot see them (F 270, or 206).
TEST(SandSlideRun, LayerStackVariantsNeedTheMultiLayerBed) {
  const CaseResult run = runSlide({{"F 56 50 0.5", "F 270 202 0.3 0.5"}});
  EXPECT_EQ(run.status, kExitInputError & 255);
  EXPECT_TRUE(endsWith(run.file("boogie"), "Error for F 56/F 37 data sets: F 56 204/205 should only be used with F 37 3\n\n"))
      << run.file("boogie");
}

}  // namespace
