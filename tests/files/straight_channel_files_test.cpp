// End-to-end runs of the converged straight channel (cases/straight-channel,
// 50 × 5 columns of 2 m, 1 m deep, 7.5 m3/s): the files a converged run
// leaves, the flow they hold, a restart from them and the time series of a
// transient run.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "files/channel_fields.h"
#include "files/file_services.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"
#include "startup/control_reader.h"
#include "support/run_case.h"
#include "support/work_folder.h"

namespace {

const char *kCase = "straight-channel";

CaseSetup straightChannel(const std::string &runLetters, const std::string &extraControl = "") {
  CaseSetup s;
  std::string control = caseFile(kCase, "control");
  const std::size_t at = control.find("F 2 YW");
  EXPECT_NE(at, std::string::npos);
  if (at != std::string::npos) control.replace(at, 6, "F 2 " + runLetters);
  s.files["control"] = control + extraControl;
  s.files["koosurf"] = caseFile(kCase, "koosurf");
  return s;
}

// The text from the "U" line on.
std::string fromCounts(const std::string &result) { return result.substr(result.find("\nU ") + 1); }

int iterationOf(const std::string &result) {
  const std::size_t at = result.find("Results, iter = ");
  return at == std::string::npos ? -1 : std::atoi(result.c_str() + at + 16);
}

// Two "bedres" texts agree when every number differs by at most one unit
// of its last written digit and every other word is the same.
void expectSameWithinLastDigit(const std::string &a, const std::string &b) {
  const std::vector<std::string> la = linesOf(a), lb = linesOf(b);
  ASSERT_EQ(la.size(), lb.size());
  for (std::size_t n = 1; n < la.size(); ++n) {
    std::istringstream ia(la[n]), ib(lb[n]);
    std::string wa, wb;
    while (ia >> wa) {
      ASSERT_TRUE(static_cast<bool>(ib >> wb)) << "line " << n + 1;
      const std::size_t dot = wa.find('.');
      const int decimals = dot == std::string::npos ? 0 : static_cast<int>(wa.size() - dot - 1);
      const double unit = std::pow(10.0, -decimals);
      ASSERT_LE(std::fabs(std::strtod(wa.c_str(), nullptr) - std::strtod(wb.c_str(), nullptr)), 1.000001 * unit)
          << "line " << n + 1 << ": " << wa << " against " << wb;
    }
    EXPECT_FALSE(static_cast<bool>(ib >> wb)) << "line " << n + 1;
  }
}

TEST(StraightChannelFiles, ConvergedRunLeavesResultAndBedres) {
  const CaseResult r = runCase(straightChannel("YW"));
  ASSERT_EQ(r.status, 1) << r.file("boogie");
  std::set<std::string> written;
  for (const auto &[name, bytes] : r.files) {
    if (name != "boogie" && name != "control" && name != "koosurf") written.insert(name);
  }
  // The case folder asks for the 3-D ParaView file beside the result files.
  EXPECT_EQ(written, (std::set<std::string>{"result.end", "bedres.t", "ParaView3U.vtk"}));
  const std::vector<std::string> lines = linesOf(r.file("result.end"));
  ASSERT_GT(lines.size(), 6u);
  EXPECT_EQ(lines[0], " 0.000000 seconds");
  EXPECT_TRUE(std::regex_match(lines[1], std::regex("Results, iter = [1-9][0-9]*"))) << lines[1];
  EXPECT_TRUE(std::regex_match(lines[2], std::regex("Residuals:( [0-9]+\\.[0-9]{6}){6}"))) << lines[2];
  EXPECT_EQ(lines[3], "Roughness : 0.019771");
  int points, cells, faces, blocks, connect, connFlate;
  ASSERT_EQ(std::sscanf(lines[4].c_str(), "U %d %d %d %d %d %d", &points, &cells, &faces, &blocks, &connect,
                        &connFlate),
            6);
  EXPECT_EQ(cells, 50 * 5 * 9);
  EXPECT_EQ(lines[5], " i     u     v     w     k    e     p");
  ASSERT_EQ(lines.size(), 6u + cells + faces);
  for (int c = 1; c <= cells; ++c) ASSERT_EQ(lines[5 + c].rfind("C " + std::to_string(c) + " ", 0), 0u);
  for (int f = 1; f <= faces; ++f) ASSERT_EQ(lines[5 + cells + f].rfind("F " + std::to_string(f) + " ", 0), 0u);
}

class StraightChannelResult : public WorkFolderTest {};

// The flow of the converged run, read back from its "result.end" onto the
// grid generated here: a rough-wall log profile in column (41, 4), 21 m
// from the outlet, the bed shear balancing the pressure slope, and the
// discharge carried through every cross-section.
TEST_F(StraightChannelResult, PhysicalChecksFromTheResultFile) {
  const CaseResult run = runCase(straightChannel("YW"));
  ASSERT_EQ(run.status, 1);
  writeFile("result", run.file("result.end"));
  kreadDefaults();
  generateCaseFolder(kCase);
  readres();
  ASSERT_EQ(FlagReadRes, 1);
  const double ks = 0.01977;
  const int bottom = static_cast<int>(zval[41][4][0]);
  ASSERT_GT(bottom, 0);
  const double ustar = std::sqrt(0.3 * Ckinen[bottom]);
  const double bed = 0.25 * (zval[41][4][1] + zval[40][4][1] + zval[41][3][1] + zval[40][3][1]);
  double below = -1.0;
  for (int c = bottom; c != 0; c = Ccellt[c]) {
    const double u = Cxvel[c], z = Czcenter[c] - bed;
    const double law = std::log(30.0 * z / ks) / 0.41;
    EXPECT_GT(u, below) << "cell " << c << " z " << z;
    EXPECT_LT(std::fabs(Cyvel[c]), 0.01 * u) << "cell " << c;
    EXPECT_LT(std::fabs(Czvel[c]), 0.01 * u) << "cell " << c;
    EXPECT_LE(std::fabs(u / ustar - law), 0.10 * law)
        << "z " << z << " u " << u << " k " << Ckinen[c] << " L(z) " << law;
    below = u;
  }
  // Least-squares slope of the mid-depth pressure along row j = 4, x = 31..71 m.
  double sx = 0.0, sp = 0.0, sxx = 0.0, sxp = 0.0;
  int n = 0;
  for (int i = 17; i <= 37; ++i, ++n) {
    int c = static_cast<int>(zval[i][4][0]);
    for (int up = 0; up < 4; ++up) c = Ccellt[c];
    sx += Cxcenter[c];
    sp += Cpres[c];
    sxx += Cxcenter[c] * Cxcenter[c];
    sxp += Cxcenter[c] * Cpres[c];
  }
  const double slope = (n * sxp - sx * sp) / (n * sxx - sx * sx);
  const double ratio = ustar * ustar / (-(1.0 / 1000.0) * slope);
  EXPECT_GE(ratio, 0.8) << "dp/dx " << slope;
  EXPECT_LE(ratio, 1.1) << "dp/dx " << slope;
  for (int i = 3; i <= 51; ++i) {
    double q = 0.0;
    for (int j = 2; j <= 6; ++j) {
      for (int c = static_cast<int>(zval[i][j][0]); c != 0; c = Ccellt[c]) q += Fflux[Cflatew[c]];
    }
    EXPECT_NEAR(q, 7500.0, 7.51) << "cross-section " << i;
  }
}

TEST(StraightChannelFiles, RestartRepeatsTheResult) {
  const CaseResult first = runCase(straightChannel("YW"));
  ASSERT_EQ(first.status, 1);
  CaseSetup again = straightChannel("YRM");
  again.files["result"] = first.file("result.end");
  again.files["bedres"] = first.file("bedres.t");
  const CaseResult r = runCase(again);
  ASSERT_EQ(r.status, 1) << r.file("boogie");
  const std::string log = r.file("boogie");
  EXPECT_NE(log.find(" In readres \n"), std::string::npos);
  EXPECT_NE(log.find("Have read 2250 cell values from result file\n"), std::string::npos) << log;
  EXPECT_EQ(fromCounts(r.file("result.end")), fromCounts(first.file("result.end")));
  expectSameWithinLastDigit(r.file("bedres.t"), first.file("bedres.t"));
}

TEST(StraightChannelFiles, RestartConvergesQuickly) {
  const CaseResult first = runCase(straightChannel("YW"));
  ASSERT_EQ(first.status, 1);
  CaseSetup again = straightChannel("YRW");
  again.files["result"] = first.file("result.end");
  again.files["bedres"] = first.file("bedres.t");
  const CaseResult r = runCase(again);
  ASSERT_EQ(r.status, 1) << r.file("boogie");
  EXPECT_NE(r.file("boogie").find("Solution converged"), std::string::npos);
  const int before = iterationOf(first.file("result.end")), after = iterationOf(r.file("result.end"));
  EXPECT_GT(after, 0);
  EXPECT_LE(after, before / 10) << "first run " << before << " iterations, restart " << after;
}

// Five time steps of 1 s with one O set: u and p of cell 12 in every row.
// Waits for the time term of the transient equations, which ends a transient
// run as not available until it is built.
TEST(StraightChannelFiles, TransientRunWritesTimeSeries) {
  CaseSetup s = straightChannel("YW", "F 33 1.0 10\nK 1 5 50000\n");
  s.files["timei"] = "O 0.0 2\nu 12\np 12\n";
  const CaseResult r = runCase(s);
  ASSERT_EQ(r.status, 1) << r.file("boogie");
  const std::vector<std::string> rows = linesOf(r.file("timeo"));
  ASSERT_EQ(rows.size(), 5u) << r.file("timeo");
  const std::regex row("[0-9]\\.[0-9]{4}e[+-][0-9]{2}( -?[0-9]\\.[0-9]{6}e[+-][0-9]{2}){2} ");
  for (std::size_t n = 0; n < rows.size(); ++n) {
    EXPECT_TRUE(std::regex_match(rows[n], row)) << rows[n];
    EXPECT_NEAR(std::strtod(rows[n].c_str(), nullptr), n + 1.0, 1e-9);
  }
}

}  // namespace

namespace {

// The residuals of the last "Iter:" line of a log.
std::vector<double> lastResiduals(const std::string &log) {
  const std::size_t at = log.rfind("Iter: ");
  std::vector<double> values;
  if (at == std::string::npos) return values;
  std::istringstream in(log.substr(log.find("Resid:", at) + 6, log.find('\n', at) - log.find("Resid:", at) - 6));
  for (double v; in >> v;) values.push_back(v);
  return values;
}

// The velocities (u, v, w) of the "C" lines of a result text, cell by cell.
std::vector<std::array<double, 3>> velocitiesOf(const std::string &result) {
  std::vector<std::array<double, 3>> cells;
  for (const std::string &line : linesOf(result)) {
    if (line.rfind("C ", 0) != 0) continue;
    std::istringstream in(line.substr(2));
    int cell;
    std::array<double, 3> v{};
    in >> cell >> v[0] >> v[1] >> v[2];
    cells.push_back(v);
  }
  return cells;
}

// A converged steady flow restarted as a transient run of 10 s steps up to
// 100 s stays steady: eleven steps end at 110 s, every time form keeps the
// residuals of its last step small and every velocity within 1 % of the
// largest speed of the steady flow.
TEST(StraightChannelFiles, TransientRestartOfTheSteadyFlowStaysSteady) {
  const CaseResult first = runCase(straightChannel("YW"));
  ASSERT_EQ(first.status, 1);
  const std::vector<std::array<double, 3>> steady = velocitiesOf(first.file("result.end"));
  ASSERT_EQ(steady.size(), 2250u);
  double largest = 0.0;
  for (const auto &v : steady)
    for (double x : v) largest = std::max(largest, std::fabs(x));
  for (const char *form : {"", "F 61 0.5\n", "F 208 1\n"}) {
    CaseSetup again = straightChannel("YRWM", std::string("F 33 10 3\nF 335 100\n") + form);
    again.files["result"] = first.file("result.end");
    const CaseResult r = runCase(again);
    ASSERT_EQ(r.status, 1) << form << r.file("boogie");
    const std::vector<double> residuals = lastResiduals(r.file("boogie"));
    ASSERT_EQ(residuals.size(), 6u) << form << r.file("boogie");
    for (double v : residuals) EXPECT_LT(v, 0.01) << form;
    const std::string result = r.file("result.end");
    EXPECT_EQ(result.rfind(" 110.000000 seconds\n", 0), 0u) << form << result.substr(0, 80);
    EXPECT_EQ(iterationOf(result), 11) << form;
    const std::vector<std::array<double, 3>> after = velocitiesOf(result);
    ASSERT_EQ(after.size(), steady.size()) << form;
    double moved = 0.0;
    for (std::size_t c = 0; c < steady.size(); ++c)
      for (int k = 0; k < 3; ++k) moved = std::max(moved, std::fabs(after[c][k] - steady[c][k]));
    EXPECT_LT(moved, 0.01 * largest) << form;
  }
}

// On four threads, with the k builder and the solvers kept serial (G 50), the
// stage regions give the serial fields bit for bit: "result.end" after 20
// outer iterations, written by letter M, is the same file.
TEST(StraightChannelFiles, ThreadedStagesGiveTheSerialResult) {
  const std::string twenty = "K 1 20 50000\n";
  const CaseResult serial = runCase(straightChannel("YWM", twenty));
  CaseSetup threaded = straightChannel("YWM", twenty + "F 206 4\nG 50 0 0 0 0 0 1 0 0 1 0\n");
  threaded.environment["OMP_NUM_THREADS"] = "4";
  threaded.environment["OMP_WAIT_POLICY"] = "passive";
  const CaseResult r = runCase(threaded);
  ASSERT_EQ(serial.status, 1) << serial.file("boogie");
  ASSERT_EQ(r.status, 1) << r.file("boogie");
  EXPECT_NE(r.file("boogie").find("Number of threads: 4 (F 206)"), std::string::npos);
  ASSERT_TRUE(serial.has("result.end"));
  EXPECT_TRUE(serial.file("result.end") == r.file("result.end"));
}

}  // namespace
