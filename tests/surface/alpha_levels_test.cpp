// Water levels from an "alpha1" field read with a grid file (F 349): the
// channel's grid written by H, read back by U with a field that is water
// below 0.55 m, and the read errors of the field file.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "support/run_case.h"

namespace {

const std::string kGrid = "G 1 13 7 11 1\n";

// The grid file of the channel: 10 × 4 columns of nine cells of 1/9 m.
std::string channelUnstruc() {
  CaseSetup s;
  s.files["control"] = "F 2 YH\n" + kGrid;
  s.files["koosurf"] = caseFile("channel", "koosurf");
  const CaseResult r = runCase(s);
  EXPECT_EQ(r.status, 1) << r.file("boogie");
  return r.file("unstruc");
}

// An OpenFOAM ASCII field: water (1) in the cells whose centre lies below
// 0.55 m, air (0) above; `letterAt` puts a letter in place of that cell's value.
std::string alphaField(int count, int letterAt = 0) {
  std::string text =
      "FoamFile\n{\n    version     2.0;\n    format      ascii;\n    class       volScalarField;\n"
      "    object      alpha1;\n}\n\ndimensions      [0 0 0 0 0 0 0];\n\ninternalField   nonuniform List<scalar>\n";
  text += std::to_string(count) + "\n(\n";
  for (int c = 1; c <= count; ++c) {
    const int k = (c - 1) % 9 + 1;
    const double z = (k - 0.5) / 9.0;
    text += c == letterAt ? "x\n" : (z < 0.55 ? "1\n" : "0\n");
  }
  return text + ")\n;\n";
}

CaseResult readWithAlpha(const std::string &unstruc, const std::string *alpha, const std::string &extra = "") {
  CaseSetup s;
  s.files["control"] = "F 2 UH\nF 349 1\n" + extra + kGrid;
  s.files["koosurf"] = caseFile("channel", "koosurf");
  s.files["unstruc"] = unstruc;
  if (alpha) s.files["alpha1"] = *alpha;
  return runCase(s);
}

TEST(AlphaLevels, LevelsWhereTheFractionCrossesOneHalf) {
  const std::string unstruc = channelUnstruc();
  ASSERT_FALSE(unstruc.empty());
  const std::string alpha = alphaField(360);
  const CaseResult r = readWithAlpha(unstruc, &alpha);
  ASSERT_EQ(r.status, 1) << r.file("boogie");
  // Between the centres 0.5 and 0.6111 at t = 0.5.
  const std::vector<std::string> lines = linesOf(r.file("koosurf.t"));
  ASSERT_FALSE(lines.empty());
  for (const std::string &line : lines) {
    int i, j;
    double x, y, bed, level;
    ASSERT_EQ(std::sscanf(line.c_str(), "%d %d %lf %lf %lf %lf", &i, &j, &x, &y, &bed, &level), 6) << line;
    EXPECT_EQ(line.substr(line.rfind(' ') + 1), "0.555556") << line;
  }
}

// F 354 logs the level of one column and leaves the grid points alone.
TEST(AlphaLevels, PrintedColumnKeepsThePointLevels) {
  const std::string unstruc = channelUnstruc();
  const std::string alpha = alphaField(360);
  const CaseResult r = readWithAlpha(unstruc, &alpha, "F 354 3 4\n");
  ASSERT_EQ(r.status, 1) << r.file("boogie");
  EXPECT_NE(r.file("boogie").find("water level alpha1(3,4): 0.555556\n"), std::string::npos) << r.file("boogie");
  for (const std::string &line : linesOf(r.file("koosurf.t"))) {
    EXPECT_EQ(line.substr(line.rfind(' ') + 1), "1.000000") << line;
  }
}

TEST(AlphaLevels, ReadErrorsEndTheRun) {
  const std::string unstruc = channelUnstruc();
  struct Row {
    const char *label;
    bool present;
    std::string alpha;
    int status;
    std::string tail;
  };
  const Row rows[] = {
      {"missing", false, "", 168, "Error: can not open alpha1 file\n"},
      {"no count", true, "List<scalar>\n(\n", 167, "Error in reading number of cells from alpha 1 file\n"},
      {"359 cells", true, alphaField(359), 167, "Error in reading alpha 1 file: number of cells is 359, not 360\n"},
      {"letter", true, alphaField(360, 7), 166, "Error in reading alpha 1 file at cell no. 7\n"},
  };
  for (const Row &row : rows) {
    const CaseResult r = readWithAlpha(unstruc, row.present ? &row.alpha : nullptr);
    EXPECT_EQ(r.status, row.status) << row.label;
    EXPECT_TRUE(endsWith(r.file("boogie"), row.tail)) << row.label << "\n" << r.file("boogie");
  }
}

}  // namespace
