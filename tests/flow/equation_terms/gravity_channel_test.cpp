// The straight channel of cases/straight-channel with the weight of the
// water in the vertical momentum equation (F 181 1) and a hydrostatic start
// (F 545 1): the weight and the vertical pressure force must balance, so the
// pressure stays hydrostatic while the flow develops, and with free top-cell
// corrections (F 357 -1) the run converges to the plain channel's flow.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "files/channel_fields.h"
#include "files/file_services.h"
#include "model/cells.h"
#include "model/run_state.h"
#include "startup/control_reader.h"
#include "support/channel_results.h"
#include "support/run_case.h"
#include "support/work_folder.h"

namespace {

const char *kCase = "straight-channel";

class GravityChannel : public WorkFolderTest {
 protected:
  // Reads a result text onto the channel's grid generated here: every
  // vertically adjacent pair of cells differs in pressure by the weight of
  // the water between their centres, 9810 dz, within 1 %, and the water moves.
  void expectHydrostatic(const std::string &result) {
    writeFile("result", result);
    kreadDefaults();
    generateCaseFolder(kCase);
    readres();
    ASSERT_EQ(FlagReadRes, 1);
    int pairs = 0;
    double fastest = 0.0;
    for (int c = 1; c <= NoCells; ++c) {
      fastest = std::fmax(fastest, Cxvel[c]);
      const int t = Ccellt[c];
      if (t == 0) continue;
      const double weight = 9810.0 * (Czcenter[t] - Czcenter[c]);
      ASSERT_GT(weight, 0.0) << "cell " << c;
      EXPECT_NEAR(Cpres[c] - Cpres[t], weight, 0.01 * weight) << "cells " << c << " and " << t;
      ++pairs;
    }
    EXPECT_EQ(pairs, 50 * 5 * 8);
    EXPECT_GT(fastest, 0.5);
  }
};

CaseResult runChannel(const std::string &control) {
  CaseSetup s;
  s.files["control"] = control;
  s.files["koosurf"] = caseFile(kCase, "koosurf");
  return runCase(s);
}

// 300 outer iterations, the fields written at the last ("P 10 300"). Under
// the fixed lid of a steady run the pressure correction of every top cell is
// tied to the cell below, so the continuity defect of the top cells (the
// surface's wish to move) stays and the run does not reach its convergence
// limit; the momentum equations do.
TEST_F(GravityChannel, PressureStaysHydrostaticUnderTheWeightTerm) {
  std::string control = caseFile(kCase, "control");
  const std::string k1 = "K 1 5000 50000\n";
  control.replace(control.find(k1), k1.size(), "K 1 300 50000\nP 10 300\n");
  const CaseResult run = runChannel(control + "F 181 1\nF 545 1\n");
  const std::string log = run.file("boogie");
  ASSERT_EQ(run.status, 1) << log;
  EXPECT_EQ(log.find("Error"), std::string::npos) << log;
  const std::size_t last = log.find("Iter: 300, Resid: ");
  ASSERT_NE(last, std::string::npos) << log;
  double u, v, w;
  ASSERT_EQ(std::sscanf(log.c_str() + last, "Iter: 300, Resid: %lf %lf %lf", &u, &v, &w), 3);
  EXPECT_LT(u, 1e-3);
  EXPECT_LT(v, 1e-3);
  EXPECT_LT(w, 1e-3);
  expectHydrostatic(run.file("result.0000"));
}

// With the top cells' pressure corrections left free (F 357 -1) the top
// cells' continuity defect goes, and the run converges to the plain
// channel's flow with a hydrostatic pressure.
TEST_F(GravityChannel, ConvergesWithFreeTopCorrections) {
  const std::string control = caseFile(kCase, "control");
  const CaseResult run = runChannel(control + "F 181 1\nF 545 1\nF 357 -1 1e30\n");
  const std::string log = run.file("boogie");
  ASSERT_EQ(run.status, 1) << log;
  EXPECT_NE(log.find("Solution converged"), std::string::npos) << log;
  EXPECT_EQ(log.find("Error"), std::string::npos) << log;
  const CaseResult plain = runChannel(control);
  ASSERT_EQ(plain.status, 1) << plain.file("boogie");
  const ResultCells weighted = resultCells(run.file("result.end")), reference = resultCells(plain.file("result.end"));
  ASSERT_EQ(weighted.size(), 2250u);
  ASSERT_EQ(reference.size(), 2250u);
  for (const auto &[c, v] : reference) {
    const ResultCell &w = weighted.at(c);
    EXPECT_NEAR(w.u, v.u, 1e-4) << "cell " << c;
    EXPECT_NEAR(w.v, v.v, 1e-4) << "cell " << c;
    EXPECT_NEAR(w.w, v.w, 1e-4) << "cell " << c;
  }
  expectHydrostatic(run.file("result.end"));
}

}  // namespace
