// The near-bed concentration on the straight channel of cases/straight-channel
// (100 m x 10 m, 1 m deep, 7.5 m3/s) after its converged flow: one grain of
// 0.2 mm on a bed of 10 m. Through the binary the letters Y, R, I and M
// leave the bed-form height and the roughness in "bedres.t"; in-process the
// same letter I gives van Rijn's reference concentration in every column,
// and the flow routines that read the bed-form height see it.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "files/channel_fields.h"
#include "files/file_services.h"
#include "flow/equation_terms/stage_routines.h"
#include "model/bed_cells.h"
#include "model/cells.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "sediment/transport/near_bed_concentration.h"
#include "startup/control_reader.h"
#include "support/run_case.h"
#include "support/work_folder.h"
#include "turbulence/bed_form_viscosity.h"

namespace {

constexpr const char *kCase = "straight-channel";
const std::string kSediment = "F 37 2\nF 90 3\nS 1 0.0002 0.025\nN 0 1 1.0\n";
constexpr double kD = 0.0002;

// The channel's converged flow: "result.end" and "bedres.t" of a run YW.
const CaseResult &channelFlow() {
  static const CaseResult flow = [] {
    CaseSetup s;
    s.files["control"] = caseFile(kCase, "control");
    s.files["koosurf"] = caseFile(kCase, "koosurf");
    return runCase(s);
  }();
  return flow;
}

// The flow's bed file with a bed of 10 m: layer 1 (the sixth value of each
// bed-cell line) 10 m thick.
std::string tenMetreBed(const std::string &bedres) {
  std::istringstream in(bedres);
  std::string line, out;
  while (std::getline(in, line)) {
    std::istringstream words(line);
    std::vector<std::string> w;
    for (std::string word; words >> word;) w.push_back(word);
    if (w.size() == 9) {
      w[5] = "10.0";
      line.clear();
      for (const std::string &word : w) line += word + " ";
    }
    out += line + "\n";
  }
  return out;
}

// The hand formulas: Shields' curve 0, the critical shear, the transport
// stage and the bed-form height in 1 m of water.
double shieldsCurve(double tau) {
  const double re = std::sqrt(0.001 * tau) * kD / 1e-6;
  if (re < 0.2) return 0.6;
  if (re > 500.0) return 0.0624927;
  const double x = std::log10(re);
  return std::pow(10.0, -0.99863612 - 0.92539586 * x + 0.54283631 * x * x - 0.084544063 * x * x * x);
}
double criticalShear(double tau) { return shieldsCurve(tau) * 1.65 * 9810.0 * kD + 1e-20; }
double bedForm(double tau) {
  const double tc = criticalShear(tau), stage = tau > tc ? (tau - tc) / tc : 0.0;
  if (stage > 25.0) return 0.0;
  return 0.11 * std::pow(kD, 0.3) * (1.0 - std::exp(-stage / 2.0)) * (25.0 - stage);
}

// k of every cell of a result file ("C c u v w k e p").
std::map<int, double> kOfCells(const std::string &result) {
  std::map<int, double> k;
  std::istringstream in(result);
  for (std::string line; std::getline(in, line);) {
    int c;
    double u, v, w, kin;
    if (std::sscanf(line.c_str(), "C %d %lf %lf %lf %lf", &c, &u, &v, &w, &kin) == 5) k[c] = kin;
  }
  return k;
}

TEST(NearBedConcentration, LetterIWithoutGridEndsNormally) {
  const CaseResult r = runControl("F 2 I\n");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.file("boogie").find("Error"), std::string::npos) << r.file("boogie");
}

// Letters Y R I M: every wet bed cell of "bedres.t" carries the bed-form
// height of its bed shear 300 k and the bed-form roughness of that height.
TEST(NearBedConcentration, BedFormsThroughTheBinary) {
  const CaseResult &flow = channelFlow();
  ASSERT_EQ(flow.status, 1) << flow.file("boogie");
  CaseSetup s;
  std::string control = caseFile(kCase, "control");
  control.replace(control.find("F 2 YW"), 6, "F 2 YRIM");
  s.files["control"] = control + kSediment;
  s.files["koosurf"] = caseFile(kCase, "koosurf");
  s.files["result"] = flow.file("result.end");
  s.files["bedres"] = tenMetreBed(flow.file("bedres.t"));
  const CaseResult r = runCase(s);
  ASSERT_EQ(r.status, 1) << r.file("boogie");
  const std::map<int, double> k = kOfCells(flow.file("result.end"));
  std::istringstream in(r.file("bedres.t"));
  int checked = 0, withForms = 0;
  for (std::string line; std::getline(in, line);) {
    int b, bottom;
    double ks, wallKs, form, thickness;
    if (std::sscanf(line.c_str(), "%d %d %lf %lf %lf %lf", &b, &bottom, &ks, &wallKs, &form, &thickness) != 6) continue;
    if (thickness != 10.0 || bottom <= 0) continue;
    const double expected = bedForm(300.0 * k.at(bottom));
    ASSERT_NEAR(form, expected, 2e-6) << "bed cell " << b << ", tau " << 300.0 * k.at(bottom);
    ASSERT_NEAR(ks, 0.0006 + 1.1 * expected * (1.0 - std::exp(-25.0 * expected / 7.3)), 2e-6) << "bed cell " << b;
    ++checked;
    if (expected > 0.01) ++withForms;
  }
  EXPECT_EQ(checked, 250);
  EXPECT_GT(withForms, 100) << "most of the channel carries bed forms";
}

// In-process: the channel generated with the sediment data sets, the flow's
// result and the 10 m bed read back as the letter R does.
class NearBedChannel : public WorkFolderTest {
 protected:
  void SetUp() override {
    WorkFolderTest::SetUp();
    const CaseResult &flow = channelFlow();
    ASSERT_EQ(flow.status, 1);
    kreadDefaults();
    generateCaseFolder(kCase, kSediment);
    writeFile("result", flow.file("result.end"));
    writeFile("bedres", tenMetreBed(flow.file("bedres.t")));
    readres();
    ASSERT_GT(NoBCells, 0);
  }
};

TEST_F(NearBedChannel, VanRijnInEveryColumn) {
  concRijn();
  const double dfac = std::pow(1.65 * 9810000000000.0, 0.3333);
  int moving = 0;
  for (int b = 1; b <= NoBCells; ++b) {
    const int c0 = Bcellt[b];
    if (c0 <= 0) continue;
    const double tau = 300.0 * Ckinen[c0], tc = criticalShear(tau);
    double expected = 0.0;
    if (tau - tc > 1e-6) {
      const double stage = (tau - tc) / tc;
      expected = std::min(0.1, 0.015 * kD * std::pow(stage, 1.5) / (std::pow(dfac * kD, 0.3) * Ckdist[c0]));
      ++moving;
    }
    ASSERT_NEAR(Bconc[1][b], expected, 1e-9 * expected) << "bed cell " << b;
    ASSERT_EQ(Bd90[b], kD);
    ASSERT_NEAR(Bedformheight[b], bedForm(tau), 1e-9) << "bed cell " << b;
  }
  EXPECT_EQ(moving, 250);
}

// The flow routines that read the bed-form height see the heights of the
// near-bed concentration: the bed-form factor of the vertical viscosity
// (F 290) and the bed-form drag (F 498).
TEST_F(NearBedChannel, FlowSeesTheBedForms) {
  concRijn();
  int b = 1;
  while (b < NoBCells && Bedformheight[b] < 0.05) ++b;
  const double form = Bedformheight[b], depth = Bdepth[b];
  ASSERT_GT(form, 0.05);
  const int c0 = Bcellt[b];

  GammaVertCoeff1 = 40.0;
  Equation = 1;
  for (int c = 1; c <= NoCells; ++c) CgammaV[c] = 1.0;
  bedFormTerms(c0, c0);
  EXPECT_NEAR(CgammaV[c0], form / depth * 40.0, 1e-12);
  EXPECT_GT(CgammaV[c0], 1.0);

  for (int c = 1; c <= NoCells; ++c) Cap[c] = 0.0;
  computeDragDune();
  int n = 0;
  double h = 0.0, u = 0.0;
  for (int c = c0; c > 0; c = Ccellt[c], ++n) {
    h += 2.0 * Ckdist[c];
    u += std::hypot(Cxvel[c], Cyvel[c]);
  }
  const double ks = 1.1 * form * (1.0 - std::exp(-25.0 * form / (7.3 * h)));
  EXPECT_NEAR(Cap[c0], std::pow(ks, 0.333) * (u / n) * 14.511834319526628 / n, 1e-9);
  EXPECT_GT(Cap[c0], 0.0);
}

}  // namespace
