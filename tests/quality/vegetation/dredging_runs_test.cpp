// Runs of the binary with dredging: the case "dredging" cuts six columns of
// 1 m2 from bed 0 down to -1 m within the window (0, 50) s in steps of 10 s,
// and "bagger" files the reader refuses end the run with their message.
#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <map>
#include <ostream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "support/run_case.h"

namespace {

CaseSetup dredgingCase() {
  CaseSetup s;
  for (const char *name : {"control", "koosurf", "bagger"}) s.files[name] = caseFile("dredging", name);
  return s;
}

std::string withDataSet(std::string control, const std::string &from, const std::string &to) {
  const std::size_t at = control.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) control.replace(at, from.size(), to);
  return control;
}


// Bed level of every grid point of "bedres.t", and the summed layer
// thickness of every bed cell (one size: b, cell, three values, then
// thickness and fraction of layer 1 and of layer 0).
struct BedResult {
  std::map<std::pair<int, int>, double> level;
  std::map<int, double> layers;
};

BedResult readBedres(const std::string &text) {
  BedResult r;
  const std::vector<std::string> lines = linesOf(text);
  for (std::size_t n = 2; n < lines.size(); ++n) {
    const std::vector<double> v = numbersOf(lines[n]);
    if (v.size() == 7) {
      r.level[{static_cast<int>(v[0]), static_cast<int>(v[1])}] = v[3];
    } else if (v.size() == 9) {
      r.layers[static_cast<int>(v[0])] = v[5] + v[7];
    }
  }
  return r;
}

const char *const kBagRes =
    "Time [sec], Volume [m3]\n\n"
    "Have read 1 T data sets and 12 D/E/F/N/K data sets from bagger file\n"
    "10.000000, -1.200000\n20.000000, -1.920000\n30.000000, -1.728000\n40.000000, -1.152000\n";

// The bed a 1 m cut of columns i = 5..7, j = 3..4 leaves: the corners
// shared by four cut columns at -1, by two at -0.5, by one at -0.25.
double expectedLevel(int i, int j) {
  const bool cutI = i >= 5 && i <= 6, edgeI = i == 4 || i == 7;
  if (j >= 3) return cutI ? -1.0 : edgeI ? -0.5 : 0.0;
  if (j == 2) return cutI ? -0.5 : edgeI ? -0.25 : 0.0;
  return 0.0;
}

// Both the cut after the bed balance (F 386 1) and before it (2) remove the
// 6 m3 the levels ask for, in the window's parts 0.2, 0.4, 0.6 and the rest
// of what remains; no line comes after the window.
TEST(DredgingRun, CutReachesTheLevelsInEveryMode) {
  for (const char *mode : {"F 386 1 1", "F 386 2 1"}) {
    SCOPED_TRACE(mode);
    CaseSetup s = dredgingCase();
    s.files["control"] = withDataSet(s.files["control"], "F 386 1 1", mode);
    const CaseResult r = runCase(s);
    ASSERT_EQ(r.status, 1) << r.file("boogie");
    EXPECT_EQ(r.file("bag_res"), kBagRes);
    EXPECT_EQ(r.file("boogie").find("Error"), std::string::npos) << r.file("boogie");
    const BedResult bed = readBedres(r.file("bedres.t"));
    ASSERT_EQ(bed.level.size(), 36u);
    double volume = 0.0;
    for (const auto &[point, z] : bed.level) {
      const auto [i, j] = point;
      EXPECT_NEAR(z, expectedLevel(i, j), 1e-12) << i << " " << j;
      if (i >= 2 && j >= 2)
        volume += 0.25 * (z + bed.level.at({i - 1, j}) + bed.level.at({i - 1, j - 1}) + bed.level.at({i, j - 1}));
    }
    EXPECT_NEAR(volume, -6.0, 6e-9);
    // 24 columns of 10 m of sediment; the six cut ones lost 1 m each.
    ASSERT_EQ(bed.layers.size(), 24u);
    double layers = 0.0;
    int cut = 0;
    for (const auto &[b, thickness] : bed.layers) {
      layers += thickness;
      if (std::fabs(thickness - 9.0) < 1e-9) ++cut;
    }
    EXPECT_NEAR(layers, 240.0 - 6.0, 1e-9);
    EXPECT_EQ(cut, 6);
  }
}

// Operations that move nothing: a file without T records is read at every
// step and applies nothing; E records and a Z feeding under F 386 4 have no
// effect and say so once.
TEST(DredgingRun, OperationsWithoutEffectLeaveTheBed) {
  struct Row {
    const char *name, *mode, *bagger;
    int operations, records;  // of the count line
    const char *warning;
  } rows[] = {
      {"no T record", "F 386 1 1", "only words, no records\n", 0, 0, nullptr},
      {"E records", "F 386 1 1", "T 0 50\nE 5 3 0 0 0.5\nE 6 3 0 0 0.5\n", 1, 2,
       "Warning: E data sets of operation no. 1 in bagger file have no effect\n"},
      {"Z under F 386 4", "F 386 4 1", "T 0 50\nN 4 7 2 4\nZ 0.5\nF 1.0\n", 1, 1,
       "Warning: Z data sets of operation no. 1 in bagger file have no effect with F 386 4 and F 37 2\n"},
  };
  for (const Row &row : rows) {
    SCOPED_TRACE(row.name);
    CaseSetup s = dredgingCase();
    s.files["control"] = withDataSet(s.files["control"], "F 386 1 1", row.mode);
    s.files["bagger"] = row.bagger;
    const CaseResult r = runCase(s);
    ASSERT_EQ(r.status, 1) << r.file("boogie");
    const std::string log = r.file("boogie");
    EXPECT_EQ(r.file("bag_res"), "Time [sec], Volume [m3]\n\nHave read " + std::to_string(row.operations) +
                                     " T data sets and " + std::to_string(row.records) +
                                     " D/E/F/N/K data sets from bagger file\n");
    if (row.warning) {
      EXPECT_NE(log.find(row.warning), std::string::npos) << log;
      EXPECT_EQ(log.find(row.warning), log.rfind(row.warning));
    }
    for (const auto &[point, z] : readBedres(r.file("bedres.t")).level) EXPECT_EQ(z, 0.0);
  }
}

struct ReaderCase {
  const char *name;
  std::string control;  // replaces "F 386 1 1"
  std::string bagger;
  bool missing;         // no "bagger" at all
  int status;
  std::string message;  // the end of the log
  friend void PrintTo(const ReaderCase &c, std::ostream *os) { *os << c.name; }
};

class DredgingReader : public ::testing::TestWithParam<ReaderCase> {};

TEST_P(DredgingReader, RefusesTheFileWithItsMessage) {
  const ReaderCase &c = GetParam();
  CaseSetup s = dredgingCase();
  s.files["control"] = withDataSet(s.files["control"], "F 386 1 1", c.control);
  if (c.missing) {
    s.files.erase("bagger");
  } else {
    s.files["bagger"] = c.bagger;
  }
  const CaseResult r = runCase(s);
  EXPECT_EQ(r.status, c.status) << r.file("boogie");
  EXPECT_TRUE(endsWith(r.file("boogie"), c.message)) << r.file("boogie");
  expectConsole(r);
}

const std::string kArea = "T 0 50\nN 4 7 2 4\n";

INSTANTIATE_TEST_SUITE_P(
    Files, DredgingReader,
    ::testing::Values(
        ReaderCase{"missing", "F 386 1 1", "", true, 248, "Could not open 'baggger' file\n"},
        ReaderCase{"record before T", "F 386 1 1", "N 4 7 2 4\nT 0 50\n", false, 251,
                   "Error for T data set no. 1 in bagger file\n"},
        ReaderCase{"T0 after T1", "F 386 1 1", "T 50 0\n", false, 251, "Error for T data set no. 1 in bagger file\n"},
        ReaderCase{"T unreadable", "F 386 1 1", "T 0 nan\n", false, 251,
                   "Error for T data set no. 1 in bagger file\n"},
        ReaderCase{"T beyond F 386", "F 386 1 1", "T 0 50\nT 50 60\n", false, 251,
                   "Error for T data set no. 2 in bagger file\n"},
        ReaderCase{"no operation room", "F 386 1 0", "T 0 50\n", false, 251,
                   "Error for T data set no. 1 in bagger file\n"},
        ReaderCase{"N outside the grid", "F 386 1 1", "T 0 50\nN 4 13 2 4\n", false, 251,
                   "Error for dredging no. 1, N data set no. 1, in bagger file\n"},
        ReaderCase{"N reversed", "F 386 1 1", "T 0 50\nN 4 7 4 2\n", false, 251,
                   "Error for dredging no. 1, N data set no. 1, in bagger file\n"},
        ReaderCase{"21st N", "F 386 1 1", "T 0 50\n" + repeated("N 4 7 2 4\n", 21), false, 251,
                   "Error for dredging no. 1, N data set no. 21, in bagger file\n"},
        ReaderCase{"K outside its area", "F 386 1 1", kArea + "K 8 2 0 0 -1.0\n", false, 250,
                   "Error for K data set in bagger file: Dredging no. 1, area no. 1, i=8, j=2, level=-1.000000\n"},
        ReaderCase{"K without area", "F 386 1 1", "T 0 50\nK 5 3 0 0 -1.0\n", false, 250,
                   "Error for K data set in bagger file: Dredging no. 1, area no. 0, i=5, j=3, level=-1.000000\n"},
        ReaderCase{"K level too large", "F 386 1 1", kArea + "K 5 3 0 0 1e400\n", false, 250,
                   "Error for K data set in bagger file: Dredging no. 1, area no. 1, i=5, j=3, level=inf\n"},
        ReaderCase{"D outside block 1", "F 386 1 1", kArea + "D 10 2 0 0 0.1\n", false, 250,
                   "Error for D data set in bagger file: Feeding no. 1, area no. 1, i=10, j=2, level=0.100000\n"},
        ReaderCase{"E unreadable", "F 386 1 1", kArea + "E 5 3 0 0\n", false, 250,
                   "Error for E data set in bagger file: Feeding no. 1, area no. 1, i=5, j=3, level=0.000000\n"},
        ReaderCase{"F above 1", "F 386 1 1", kArea + "K 5 3 0 0 -1.0\nF 1.5\n", false, 250,
                   "Error for F data set in bagger file: Feeding no. 1, area no. 1, i=5, j=3, size = 1, "
                   "fraction=1.500000\n"},
        ReaderCase{"Z unreadable", "F 386 1 1", kArea + "Z x\n", false, 250,
                   "Error for Z data set in bagger file: Feeding no. 1, area no. 1, level=0.000000\n"},
        ReaderCase{"L unreadable", "F 386 1 1", kArea + "L\n", false, 252,
                   "Error for L data set no. 1 in bagger file\n"}),
    [](const ::testing::TestParamInfo<ReaderCase> &info) {
      std::string name;
      for (const char *p = info.param.name; *p; ++p) name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
      return name;
    });

}  // namespace
