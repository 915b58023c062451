// The straight channel of cases/straight-channel with one wall-law data set
// added, against the plain channel (F 15 0): the transitional family lies
// within the spread of two converged runs, F 494 without sediment changes no
// byte, smooth walls at least halve the pressure slope, and the fixed-k,
// mixed and surface-epsilon laws converge, and the face-by-face and river
// laws of F 305 give the plain channel's terms. One flow data set shares the
// family: the velocity scaling of the upstream cross-sections (F 413 3) ends
// at the plain channel's flow, where every section passes the inflow.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "model/cells.h"
#include "model/run_state.h"
#include "model/structured.h"
#include "startup/entry.h"
#include "support/channel_columns.h"
#include "support/run_case.h"
#include "support/work_folder.h"

namespace {

constexpr const char *kCase = "straight-channel";

enum class Check { Spread, Identical, Slope, Converges };

struct Row {
  const char *name;
  std::string added;  // the control lines added to the channel's
  Check check;
  friend void PrintTo(const Row &r, std::ostream *os) { *os << r.name; }
};

// The number of the last "Iter: " report of a log.
int lastIteration(const std::string &log) {
  int last = 0;
  for (std::size_t at = log.find("Iter: "); at != std::string::npos; at = log.find("Iter: ", at + 1)) {
    last = std::atoi(log.c_str() + at + 6);
  }
  return last;
}

// The channel's control with the lines added; an added "K 1" takes the
// place of the channel's own.
std::string channelControl(const std::string &added) {
  std::string control;
  const bool ownK1 = added.find("K 1 ") != std::string::npos;
  for (const std::string &line : linesOf(caseFile(kCase, "control"))) {
    if (!(ownK1 && line.rfind("K 1 ", 0) == 0)) control += line + "\n";
  }
  return control + added;
}

CaseResult runChannel(const std::string &added) {
  CaseSetup setup;
  setup.files["control"] = channelControl(added);
  setup.files["koosurf"] = caseFile(kCase, "koosurf");
  return runCase(setup);
}

// u, v, w, k, epsilon, p of every cell of a text result file, by cell number.
std::map<int, std::vector<double>> cellValues(const std::string &result) {
  std::map<int, std::vector<double>> cells;
  for (const std::string &line : linesOf(result)) {
    if (line.rfind("C ", 0) != 0) continue;
    std::istringstream in(line.substr(2));
    int c = 0;
    std::vector<double> v(6);
    in >> c >> v[0] >> v[1] >> v[2] >> v[3] >> v[4] >> v[5];
    cells[c] = v;
  }
  return cells;
}

// The pressure slope dp/dx (Pa/m) of the mid-depth cells of row j = 4 from
// x = 31 m to 71 m (columns 17 to 37), a least-squares line through the
// pressures p(cell) on the grid of this process.
template <class Pressure>
double pressureSlope(Pressure p) {
  return midDepthSlope(17, 37, 4, p);
}

class WallLawChannel : public WorkFolderTest, public ::testing::WithParamInterface<Row> {};

TEST_P(WallLawChannel, AgainstThePlainChannel) {
  const Row &r = GetParam();
  const bool compared = r.check != Check::Converges;
  const CaseResult plain = compared ? runChannel("") : CaseResult{};
  if (compared) {
    ASSERT_EQ(plain.status, 1) << plain.file("boogie");
  }

  std::string log;
  std::string result;
  std::map<int, std::vector<double>> cells;
  int iterations = 0;
  if (r.check == Check::Slope) {
    // In this process, for the grid's coordinates.
    writeFile("control", channelControl(r.added));
    writeFile("koosurf", caseFile(kCase, "koosurf"));
    InitialFunction();
    log = readFile("boogie");
    iterations = Iter;
  } else {
    const CaseResult run = runChannel(r.added);
    EXPECT_EQ(run.status, 1) << run.file("boogie");
    log = run.file("boogie");
    result = run.file("result.end");
    cells = cellValues(result);
    iterations = lastIteration(log);
    if (compared) {
      EXPECT_EQ(cells.size(), 2250u);
    }
  }
  std::printf("%s: %d outer iterations\n", r.name, iterations);
  RecordProperty("outer_iterations", iterations);
  ASSERT_NE(log.find("Solution converged"), std::string::npos) << log;
  EXPECT_EQ(log.find("Error"), std::string::npos) << log;

  switch (r.check) {
    case Check::Spread: {
      // Within the spread of two converged runs: u within 1 % of the mean
      // velocity 0.75 m/s, k within 3 %, epsilon within 5 %.
      const auto reference = cellValues(plain.file("result.end"));
      for (const auto &[c, v] : reference) {
        const std::vector<double> &w = cells[c];
        ASSERT_EQ(w.size(), 6u) << "cell " << c;
        EXPECT_NEAR(w[0], v[0], 0.0075) << "u, cell " << c;
        EXPECT_NEAR(w[3], v[3], 0.03 * std::fabs(v[3])) << "k, cell " << c;
        EXPECT_NEAR(w[4], v[4], 0.05 * std::fabs(v[4])) << "epsilon, cell " << c;
      }
      break;
    }
    case Check::Identical: {
      // No sediment, c0 = 0: the same bytes from the "U" line on.
      const std::string theirs = plain.file("result.end");
      const std::size_t at = result.find("\nU "), atTheirs = theirs.find("\nU ");
      ASSERT_NE(at, std::string::npos);
      EXPECT_TRUE(result.substr(at) == theirs.substr(atTheirs)) << "the results differ";
      break;
    }
    case Check::Slope: {
      const auto reference = cellValues(plain.file("result.end"));
      const double rough = pressureSlope([&](int c) { return reference.at(c)[5]; });
      const double smooth = pressureSlope([](int c) { return Cpres[c]; });
      std::printf("pressure slope: rough %.6g Pa/m, smooth %.6g Pa/m\n", rough, smooth);
      EXPECT_LT(rough, 0.0);
      EXPECT_LT(std::fabs(smooth), 0.5 * std::fabs(rough));
      break;
    }
    case Check::Converges:
      break;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Families, WallLawChannel,
    ::testing::Values(Row{"TransitionalFamily", "F 15 8\n", Check::Spread},
                      Row{"SedimentKappaWithoutSediment", "F 494 1\n", Check::Identical},
                      // Smooth walls settle more slowly: about 7150 outer
                      // iterations, beyond the channel's 5000 of K 1.
                      Row{"SmoothFamily", "F 15 5\nK 1 10000 50000\n", Check::Slope},
                      Row{"FixedK", "F 15 11\n", Check::Converges}, Row{"MixedFamily", "F 15 19\n", Check::Converges},
                      Row{"SurfaceEpsilon", "F 185 1 0.43\n", Check::Converges},
                      // Walls of Croughness = XksWall, vertical banks, a lid
                      // without wall flag, no bed forms: the default terms.
                      Row{"FaceByFaceLaw", "F 305 1\n", Check::Spread},
                      Row{"RiverLaw", "F 305 2\n", Check::Spread},
                      // Each scaling breaks continuity a little, which the
                      // next pressure correction repairs: about 8000 outer
                      // iterations, where the plain channel needs 3800.
                      Row{"SectionVelocityScaling", "F 413 3\nK 1 10000 50000\n", Check::Spread}),
    [](const ::testing::TestParamInfo<Row> &info) { return std::string(info.param.name); });

}  // namespace
