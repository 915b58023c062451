// The modular driver (F 328 1) on the straight channel of
// cases/straight-channel, run through the binary: it converges to the main
// driver's flow, restarts from the main driver's result as quickly, takes
// epsilon from k and the depth with F 24 20, and a bridge deck (G 22) adds
// its drag to the pressure drop. The grid is generated in-process as well,
// for the cell geometry the checks need.
#include <gtest/gtest.h>

#include <cmath>
#include <algorithm>
#include <cstdio>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "files/channel_fields.h"
#include "model/bed_cells.h"
#include "model/cells.h"
#include "model/structured.h"
#include "startup/control_reader.h"
#include "support/run_case.h"
#include "support/work_folder.h"

namespace {

constexpr const char *kCase = "straight-channel";

struct CellValues {
  double u, v, w, k, e, p;
};

// The cell lines "C c u v w k e p" of a result file, indexed by cell.
std::vector<CellValues> cellsOf(const std::string &result) {
  std::vector<CellValues> cells(1);
  std::istringstream in(result);
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind("C ", 0) != 0) continue;
    int c = 0;
    CellValues v{};
    if (std::sscanf(line.c_str(), "C %d %lf %lf %lf %lf %lf %lf", &c, &v.u, &v.v, &v.w, &v.k, &v.e, &v.p) != 7) continue;
    if (c == static_cast<int>(cells.size())) cells.push_back(v);
  }
  return cells;
}

// The outer iterations the result file records ("Results, iter = N"), -1 without.
int iterationsOf(const std::string &result) {
  const std::size_t at = result.find("Results, iter = ");
  return at == std::string::npos ? -1 : std::stoi(result.substr(at + 16));
}

// A run of the channel with the run letters and extra data sets given, and
// files to put beside "control" and "koosurf"; logs iterations and wall time.
CaseResult runChannel(const char *label, const std::string &letters, const std::string &extra,
                      const std::map<std::string, std::string> &files = {}) {
  CaseSetup s;
  s.environment["OMP_NUM_THREADS"] = "4";
  std::string control = caseFile(kCase, "control");
  control.replace(control.find("F 2 YW"), 6, "F 2 " + letters);
  s.files = files;
  s.files["control"] = control + extra;
  s.files["koosurf"] = caseFile(kCase, "koosurf");
  const CaseResult r = runCase(s);
  std::printf("%-28s %5d outer iterations, %5.1f s\n", label, iterationsOf(r.file("result.end")), r.seconds);
  ::testing::Test::RecordProperty(std::string(label) + "_iterations", iterationsOf(r.file("result.end")));
  ::testing::Test::RecordProperty(std::string(label) + "_seconds", std::to_string(r.seconds));
  return r;
}

// Status 1, the relaxation line of a fresh start, the first report,
// convergence, no error, and both result files.
void expectConverged(const CaseResult &r, bool freshStart = true) {
  const std::string log = r.file("boogie");
  EXPECT_EQ(r.status, 1) << log;
  if (freshStart) { EXPECT_NE(log.find("Relaxation: 0.800000 0.200000 0.500000 0.500000\n"), std::string::npos) << log; }
  EXPECT_NE(log.find("Iter: 1, Resid: "), std::string::npos) << log;
  EXPECT_NE(log.find("Solution converged"), std::string::npos) << log;
  EXPECT_EQ(log.find("Error"), std::string::npos) << log;
  EXPECT_TRUE(r.has("result.end"));
  EXPECT_TRUE(r.has("bedres.t"));
}

// The cells of column (i, j) of the generated grid, bottom up.
std::vector<int> columnCells(int i, int j) {
  std::vector<int> cells;
  for (int c = static_cast<int>(zval[i][j][0]); c > 0; c = Ccellt[c]) cells.push_back(c);
  return cells;
}

// The pressure slope along the channel, dp/dx in Pa/m: the least-squares line
// through the mid-depth cells of row j = 4, columns i = 17..37.
double pressureSlope(const std::vector<CellValues> &cells) {
  double n = 0, sx = 0, sxx = 0, sp = 0, sxp = 0;
  for (int i = 17; i <= 37; ++i) {
    const std::vector<int> column = columnCells(i, 4);
    const int mid = column[column.size() / 2];
    const double x = Cxcenter[mid], p = cells[mid].p;
    n += 1, sx += x, sxx += x * x, sp += p, sxp += x * p;
  }
  return (n * sxp - sx * sp) / (n * sxx - sx * sx);
}

// The mean pressure of the cells of cross-section i (columns (i, 2..6)).
double sectionPressure(const std::vector<CellValues> &cells, int i) {
  double sum = 0.0;
  int n = 0;
  for (int j = 2; j <= 6; ++j) {
    for (int c : columnCells(i, j)) sum += cells[c].p, ++n;
  }
  return sum / n;
}

class ModularChannel : public WorkFolderTest {
 protected:
  void SetUp() override {
    WorkFolderTest::SetUp();
    kreadDefaults();
    generateCaseFolder(kCase);
    ASSERT_EQ(NoCells, 2250);
  }
};

struct ChannelCase {
  const char *name;
  void (*check)();
  friend void PrintTo(const ChannelCase &c, std::ostream *os) { *os << c.name; }
};

// The modular driver's result against the main driver's, cell by cell.
void expectSameFlow(const CaseResult &main, const CaseResult &modular) {
  const std::vector<CellValues> a = cellsOf(main.file("result.end")), b = cellsOf(modular.file("result.end"));
  ASSERT_EQ(a.size(), static_cast<std::size_t>(NoCells + 1));
  ASSERT_EQ(b.size(), a.size());
  for (int c = 1; c <= NoCells; ++c) {
    ASSERT_NEAR(b[c].u, a[c].u, 0.0075) << "u of cell " << c;
    ASSERT_NEAR(b[c].v, a[c].v, 0.0075) << "v of cell " << c;
    ASSERT_NEAR(b[c].w, a[c].w, 0.0075) << "w of cell " << c;
    ASSERT_NEAR(b[c].k, a[c].k, 0.03 * a[c].k) << "k of cell " << c;
    ASSERT_NEAR(b[c].e, a[c].e, 0.05 * a[c].e) << "epsilon of cell " << c;
    ASSERT_GT(b[c].e, 0.0) << "epsilon of cell " << c;
  }
  const double sa = pressureSlope(a), sb = pressureSlope(b);
  EXPECT_NEAR(sb, sa, 0.02 * std::fabs(sa)) << "dp/dx in Pa/m";
}

// Under the defaults the steps assemble the main stages' equations term for
// term, so both drivers stop at the same flow, within what stopping below
// the 0.001 residuals leaves: 1 % of the mean velocity 0.75 m/s, k 3 %,
// epsilon 5 %, the pressure slope 2 %. Epsilon, which has no floor in the
// modular driver, stays positive. On four threads (atomic residual sums,
// the chunked solver) the modular driver reaches the same flow.
void matchesTheMainDriver() {
  const CaseResult main = runChannel("main driver", "YW", "");
  expectConverged(main);
  for (const char *threads : {"", "F 206 4\n"}) {
    SCOPED_TRACE(threads);
    const CaseResult modular =
        runChannel(*threads ? "modular driver, F 206 4" : "modular driver", "YW", std::string("F 328 1\n") + threads);
    expectConverged(modular);
    expectSameFlow(main, modular);
  }
}

// The sharp check: from the main driver's converged result, the modular
// driver converges in at most two outer iterations more than the main
// driver's own restart. A step that assembled anything differently would
// move the flow away first and need many more.
void restartsFromTheMainResult() {
  const CaseResult first = runChannel("main driver", "YW", "");
  ASSERT_EQ(first.status, 1);
  const std::map<std::string, std::string> files{{"result", first.file("result.end")}, {"bedres", first.file("bedres.t")}};
  const CaseResult main = runChannel("main driver restart", "YRW", "", files);
  const CaseResult modular = runChannel("modular driver restart", "YRW", "F 328 1\n", files);
  expectConverged(main, false);
  expectConverged(modular, false);
  EXPECT_LE(iterationsOf(modular.file("result.end")), iterationsOf(main.file("result.end")) + 2);
}

// Model 20 takes epsilon from k and the depth after the last k solve:
// epsilon = k^1.5 / depth in every cell, to the 9 digits the file keeps of
// either value.
void lengthScaleEpsilon() {
  const CaseResult r = runChannel("modular driver, F 24 20", "YW", "F 328 1\nF 24 20\n");
  expectConverged(r);
  const std::vector<CellValues> cells = cellsOf(r.file("result.end"));
  ASSERT_EQ(cells.size(), static_cast<std::size_t>(NoCells + 1));
  for (int c = 1; c <= NoCells; ++c) {
    const double expected = std::pow(cells[c].k, 1.5) / Bdepth[Cbed[c]];
    ASSERT_NEAR(cells[c].e, expected, 3e-8 * expected) << "cell " << c;
  }
}

// A deck from 0.8 m to 1.5 m over columns i = 30..31 with Cd 1 (the linear
// branch): the pressure drop from section 25 to section 36 grows by the
// deck's force over the 10 m2 section, within 20 %. The wall friction between
// the sections is about 46 Pa and the deck's force about 340 Pa, so the
// change of the friction and of the momentum flux stays well inside.
void bridgeDeckDrag() {
  const CaseResult plain = runChannel("modular driver", "YW", "F 328 1\n");
  const CaseResult bridge = runChannel("modular driver, G 22", "YW", "F 328 1\nG 22 30 31 2 6 0.8 1.5 1.0\n");
  expectConverged(plain);
  expectConverged(bridge);
  const std::vector<CellValues> a = cellsOf(plain.file("result.end")), b = cellsOf(bridge.file("result.end"));
  ASSERT_EQ(b.size(), static_cast<std::size_t>(NoCells + 1));
  double force = 0.0;  // N
  for (int i = 30; i <= 31; ++i) {
    for (int j = 2; j <= 6; ++j) {
      for (int c : columnCells(i, j)) {
        const double top = Czcenter[c] + Ckdist[c], base = Czcenter[c] - Ckdist[c];
        const double o = std::max(0.0, std::min(top, 1.5) - std::max(base, 0.8));
        force += 1000.0 * 1.0 * o * 2.0 * b[c].u;
      }
    }
  }
  const double drop = sectionPressure(b, 25) - sectionPressure(b, 36);
  const double plainDrop = sectionPressure(a, 25) - sectionPressure(a, 36);
  std::printf("deck force %.0f N, pressure drop %.1f Pa with the deck, %.1f Pa without\n", force, drop, plainDrop);
  EXPECT_GT(force, 1000.0);  // the deck brakes the flow below it to about 0.45 m/s
  EXPECT_NEAR(drop - plainDrop, force / 10.0, 0.2 * force / 10.0);
}

class ModularChannelRuns : public ModularChannel, public ::testing::WithParamInterface<ChannelCase> {};

TEST_P(ModularChannelRuns, Converges) { GetParam().check(); }

INSTANTIATE_TEST_SUITE_P(Cases, ModularChannelRuns,
                         ::testing::Values(ChannelCase{"MatchesTheMainDriver", matchesTheMainDriver},
                                           ChannelCase{"RestartsFromTheMainResult", restartsFromTheMainResult},
                                           ChannelCase{"LengthScaleEpsilon", lengthScaleEpsilon},
                                           ChannelCase{"BridgeDeckDrag", bridgeDeckDrag}),
                         [](const auto &info) { return std::string(info.param.name); });

}  // namespace
