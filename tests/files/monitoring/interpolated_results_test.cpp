// Results at the points of "interpol": the reader's keys, the interres file
// of the converged straight channel with the discharge across it and the
// cross-section of P 18, and the curtains under the line of points.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "files/channel_fields.h"
#include "files/monitoring/interpol_points.h"
#include "files/monitoring/interpolated_results.h"
#include "model/output_tables.h"
#include "model/settings.h"
#include "startup/control_reader.h"
#include "model/run_state.h"
#include "support/run_case.h"
#include "support/work_folder.h"

namespace {

// --- the reader ---

using InterpolReader = WorkFolderTest;

struct ReaderCase {
  const char *name;
  std::string text;
  int points;
  std::vector<double> x, y;
  std::vector<int> marks, timed;
  int measured;
};

TEST_F(InterpolReader, KeysStartRecordsWhereverTheyStand) {
  const ReaderCase cases[] = {
      // The title's lower-case letters are skipped; its upper-case P is no key.
      {"title and points", "Points across\nM 51 1\nM 51 3\n", 2, {51, 51}, {1, 3}, {0, 0}, {0, 0}, 0},
      // The time of a T record comes first.
      {"timed point", "T 3600 10 20\n", 1, {10}, {20}, {0}, {1}, 0},
      {"measured bed change", "N 1 2 -0.5 N 3 4 0.25\n", 2, {1, 3}, {2, 4}, {0, 0}, {0, 0}, 2},
      // C marks the point read last; before the first point it does nothing.
      {"polylines", "C M 0 0 M 1 0 C\nM 5 5\n", 3, {0, 1, 5}, {0, 0, 5}, {0, 1, 0}, {0, 0, 0}, 0},
      // An M in a word starts a record whose numbers fail: reading ends there.
      {"key inside a word", "M 1 1\nMore points\nM 2 2\n", 1, {1}, {1}, {0}, {0}, 0},
      {"number that is not finite", "M 1 1\nM nan 2\nM 3 3\n", 1, {1}, {1}, {0}, {0}, 0},
      {"empty file", "", 0, {}, {}, {}, {}, 0},
  };
  for (const ReaderCase &c : cases) {
    SCOPED_TRACE(c.name);
    writeFile("interpol", c.text);
    writeFile("boogie", "");
    NoInterpol = -1;
    FlagBechInt = 0;
    bechMeasAv = 0.0;
    readInterpol();
    ASSERT_EQ(NoInterpol, c.points);
    for (int p = 0; p < c.points; ++p) {
      EXPECT_EQ(xint[p], c.x[p]);
      EXPECT_EQ(yint[p], c.y[p]);
      EXPECT_EQ(cint[p], c.marks[p]) << p;
      EXPECT_EQ(timeFlags[p], c.timed[p]) << p;
    }
    EXPECT_EQ(FlagBechInt, c.measured);
    EXPECT_EQ(readFile("boogie"), "Have read " + std::to_string(c.points) + " M/N data sets from the interpol file\n");
  }
  writeFile("interpol", "N 1 2 -0.5 N 3 4 0.25\n");
  NoInterpol = -1;
  FlagBechInt = 0;
  bechMeasAv = 0.0;
  readInterpol();
  EXPECT_EQ(bechint[0], -0.5);
  EXPECT_EQ(bechMeasAv, 0.75);
}

TEST_F(InterpolReader, MissingFileIsAWarning) {
  writeFile("boogie", "");
  NoInterpol = -1;
  readInterpol();
  EXPECT_EQ(NoInterpol, -2);
  EXPECT_EQ(readFile("boogie"), "Warning: Have not been able to open interpol file\n\n");
}

// --- the modes, in-process on the channel (10 x 4 columns of nine cells) ---

class InterresModes : public WorkFolderTest {
 protected:
  void SetUp() override {
    WorkFolderTest::SetUp();
    kreadDefaults();
    generateChannel("G 1 13 7 11 2\nF 50 1\n");
    setHandFields();
  }
};

std::vector<std::string> interresLines(const std::string &points) {
  writeFile("interpol", points);
  NoInterpol = -1;
  print_interres(0);
  return linesOf(readFile("interres"));
}

std::size_t wordsOf(const std::string &line) {
  std::istringstream in(line);
  std::size_t n = 0;
  for (std::string w; in >> w;) ++n;
  return n;
}

TEST_F(InterresModes, EachModeWritesItsLines) {
  struct Row {
    const char *name;
    int entry10, f48;
    std::vector<std::string> starts;  // the first word of each line, "#" a row of numbers
    std::vector<std::size_t> words;   // the words of each line
  };
  auto rows = [](const std::string &head, std::size_t headWords, std::size_t rowWords, int n) {
    std::vector<std::string> s{head};
    std::vector<std::size_t> w{headWords};
    for (int k = 0; k < n; ++k) {
      s.push_back("#");
      w.push_back(rowWords);
    }
    return std::make_pair(s, w);
  };
  const auto flow = rows("M", 11, 6, 9), quality = rows("Q", 3, 2, 9), conc = rows("C", 3, 4, 9);
  auto full = rows("M", 11, 9, 9);
  full.first.insert(full.first.begin(), "Variables:");
  full.second.insert(full.second.begin(), 12);
  const Row table[] = {
      {"mode 2", 2, 0, flow.first, flow.second},
      {"F 48 3", 0, 3, quality.first, quality.second},
      {"F 48 6", 0, 6, conc.first, conc.second},
      {"mode 16", 16, 0, full.first, full.second},
      {"mode 5", 5, 0, {"N"}, {4}},
      {"mode 18", 18, 0, {"N"}, {4}},
      {"mode 4", 4, 0, {"Z"}, {5}},
      {"mode 7", 7, 0, {"Variables:", "Z"}, {17, 9}},
      {"mode 17", 17, 0, {"Variables:", "SM", "Average"}, {17, 7, 4}},
      {"mode 1 alone", 1, 0, {}, {}},
  };
  for (const Row &row : table) {
    SCOPED_TRACE(row.name);
    PrintArrayFlags[10] = row.entry10;
    FlagInterpolVal = row.f48;
    const std::vector<std::string> lines = interresLines("M 5.5 2.5\n");
    ASSERT_EQ(lines.size(), row.starts.size()) << readFile("interres");
    for (std::size_t n = 0; n < lines.size(); ++n) {
      if (row.starts[n] == "#") {
        EXPECT_TRUE(lines[n][0] >= '0' && lines[n][0] <= '9') << lines[n];
      } else {
        EXPECT_EQ(lines[n].rfind(row.starts[n] + " ", 0), 0u) << lines[n];
      }
      EXPECT_EQ(wordsOf(lines[n]), row.words[n]) << lines[n];
    }
  }
}

TEST_F(InterresModes, FarPointsEdgesAndMeasuredBedChange) {
  PrintArrayFlags[10] = 2;
  std::vector<std::string> lines = interresLines("M 100000 0\n");
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0], "M 100000.000000 0.000000 point is more than 10 000 meters outside grid");
  // Entry 10 = 1 runs the search and writes only the too-far lines.
  PrintArrayFlags[10] = 1;
  lines = interresLines("M 5.5 2.5\nM 100000 0\n");
  ASSERT_EQ(lines.size(), 1u);
  // Mode 5 at a corner of the grid: not all four cells exist, so 0.
  PrintArrayFlags[10] = 5;
  lines = interresLines("M 0.1 0.1\n");
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0], "N 0.100000 0.100000 0.000000");
  // An N point in mode 4: the computed change (bed 0 against the original
  // bed 0) and the measured one, whose difference goes to bechStanddev.
  PrintArrayFlags[10] = 4;
  FlagBechInt = 0;
  lines = interresLines("N 5.5 2.5 0.25\n");
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].rfind("Z 5.500000 2.500000 ", 0), 0u);
  EXPECT_EQ(wordsOf(lines[0].substr(2)), 6u) << lines[0];
  EXPECT_NEAR(bechStanddev, 0.25, 1e-12);
}

// --- runs through the binary ---

const char *kCase = "straight-channel";
const std::string kPoints = "Points across at 51 m\nM 51 1\nM 51 3\nM 51 5\nM 51 7\nM 51 9\n";

// The channel with its letters, extra control lines and the points.
CaseSetup channel(const std::string &letters, const std::string &extra, bool withPoints = true) {
  CaseSetup s;
  std::string control = caseFile(kCase, "control");
  control.replace(control.find("F 2 YW"), 6, "F 2 " + letters);
  s.files["control"] = control + extra;
  s.files["koosurf"] = caseFile(kCase, "koosurf");
  if (withPoints) s.files["interpol"] = kPoints;
  return s;
}

std::vector<double> numbers(const std::string &line) {
  std::vector<double> v;
  std::istringstream in(line);
  std::string word;
  while (in >> word) v.push_back(std::strtod(word.c_str(), nullptr));
  return v;
}

int count(const std::string &text, const std::string &what) {
  int n = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

// The converged channel: per point a cell header and nine rows from the
// top down, the discharge per metre across the channel adding up to the
// inflow, and the cross-section at grid line 26 of five columns.
TEST(InterpolatedResults, ConvergedChannelAcrossTheLine) {
  const CaseResult r = runCase(channel("YW", "F 329 1 1 0 0 0 0 0 0 0 0 2\nF 48 14\nP 18 1 26\n"));
  const std::string log = r.file("boogie");
  ASSERT_EQ(r.status, 1) << log;
  EXPECT_EQ(count(log, "Have read 5 M/N data sets from the interpol file\n"), 1);

  const std::vector<std::string> lines = linesOf(r.file("interres.000"));
  ASSERT_EQ(lines.size(), 50u) << r.file("interres.000");
  for (int p = 0; p < 5; ++p) {
    const std::vector<std::string> block(lines.begin() + 10 * p, lines.begin() + 10 * p + 10);
    std::ostringstream head;
    head << "M 51.000000 " << 2 * p + 1 << ".000000 ";
    EXPECT_EQ(block[0].rfind(head.str(), 0), 0u) << block[0];
    EXPECT_EQ(numbers(block[0]).size(), 11u) << block[0];
    for (int row = 1; row <= 9; ++row) EXPECT_EQ(numbers(block[row]).size(), 6u) << block[row];
    EXPECT_GT(numbers(block[1])[1], numbers(block[9])[1]) << "u at the top against the bottom, point " << p;
    EXPECT_GT(numbers(block[1])[0], numbers(block[9])[0]) << "rows from the top down, point " << p;
  }

  const std::vector<std::string> q = linesOf(r.file("interres14"));
  ASSERT_EQ(q.size(), 5u) << r.file("interres14");
  double discharge = 0.0;
  for (const std::string &line : q) {
    ASSERT_EQ(line.rfind("Q ", 0), 0u) << line;
    discharge += 2.0 * numbers(line.substr(2)).at(2);
  }
  EXPECT_NEAR(discharge, 7.5, 0.075);

  const std::string cross = r.file("ParaCross_1_26.vtk");
  EXPECT_NE(cross.find("DATASET POLYDATA\nPOINTS 180 double\n0.000000 0.0 0.000000  2.000000 0.0 0.000000  "),
            std::string::npos)
      << cross.substr(0, 400);
  EXPECT_NE(cross.find("\nPOLYGONS 45 225\n4 0 1 2 3\n"), std::string::npos);
  EXPECT_NE(cross.find("\n\nCELL_DATA 45\nVECTORS Velocity float\n"), std::string::npos);
  EXPECT_NE(cross.find("8.000000 0.0 0.888889  10.000000 0.0 0.888889  10.000000 0.0 1.000000  8.000000 0.0 1.000000\n"),
            std::string::npos);
}

// A second output in the same folder takes the next number of the series.
TEST(InterpolatedResults, SecondRunTakesTheNextNumber) {
  CaseSetup s = channel("YWM", "K 1 300 50000\nF 329 1 1 0 0 0 0 0 0 0 0 2\n");
  s.files["interres.000"] = "earlier\n";
  const CaseResult r = runCase(s);
  ASSERT_EQ(r.status, 1) << r.file("boogie");
  EXPECT_EQ(r.file("interres.000"), "earlier\n");
  EXPECT_EQ(r.file("interres.001").rfind("M 51.000000 1.000000 ", 0), 0u);
}

// The curtains under the line of points, 300 iterations into the flow.
TEST(InterpolatedResults, CurtainsUnderTheLine) {
  struct Row {
    const char *name;
    std::string extra;
    std::vector<std::string> present, absent;
    std::vector<std::string> texts;  // in the first file present
  };
  const std::string entry2 = "F 329 1 1 0 0 0 0 0 0 0 0 2\n";
  const Row rows[] = {
      {"speed curtain", entry2 + "F 48 12\n", {"ParaView2c.vtk", "interres.000"}, {"interres14"},
       {"DATASET STRUCTURED_GRID\nDIMENSIONS 12 5 1\nPOINTS 60 double\n0.000000 0.0 1.000000\n0.000000 0.0 0.944444\n",
        "\nPOINT_DATA 60\nSCALARS Velocities float\nLOOKUP_TABLE default\n"}},
      {"concentrations on the cell levels", entry2 + "F 48 16\n", {"ParaView2cc.vtk"}, {"ParaView2c.vtk"},
       {"DIMENSIONS 12 5 1\n", "SCALARS Concentrations_0 float\n", "SCALARS Concentrations_1 float\n"}},
      {"concentrations on even levels", entry2 + "F 48 20\n", {"ParaView2cc.vtk"}, {},
       {"DIMENSIONS 17 5 1\nPOINTS 85 double\n0.000000 0.0 1.000000\n0.000000 0.0 0.937500\n"}},
      {"speed curtain beside mode 2", "F 329 1 1 0 0 0 0 0 0 0 0 103\nF 48 2\n", {"ParaView2c.vtk", "interres.000"},
       {}, {"DIMENSIONS 12 5 1\n"}},
      // Alone the curtain selectors reach no writer.
      {"selector alone", "F 48 12\n", {}, {"ParaView2c.vtk", "interres.000"}, {}},
  };
  for (const Row &row : rows) {
    SCOPED_TRACE(row.name);
    const CaseResult r = runCase(channel("YWM", "K 1 300 50000\n" + row.extra));
    ASSERT_EQ(r.status, 1) << r.file("boogie");
    for (const std::string &name : row.present) EXPECT_TRUE(r.has(name)) << name;
    for (const std::string &name : row.absent) EXPECT_FALSE(r.has(name)) << name;
    if (row.present.empty()) continue;
    const std::string text = r.file(row.present[0]);
    for (const std::string &t : row.texts) EXPECT_NE(text.find(t), std::string::npos) << t << "\n" << text.substr(0, 600);
  }
}

// Without "interpol": one warning, and no interres file or cross-section.
TEST(InterpolatedResults, NoPointsFileWritesNothing) {
  const CaseResult r =
      runCase(channel("YWM", "K 1 3 50000\nF 329 1 1 0 0 0 0 0 0 0 0 2\nF 48 14\nP 18 1 26\n", false));
  ASSERT_EQ(r.status, 1) << r.file("boogie");
  EXPECT_EQ(count(r.file("boogie"), "Warning: Have not been able to open interpol file\n\n"), 1);
  for (const auto &[name, bytes] : r.files) {
    EXPECT_EQ(name.rfind("interres", 0), std::string::npos) << name;
    EXPECT_EQ(name.rfind("ParaCross", 0), std::string::npos) << name;
  }
}

}  // namespace
