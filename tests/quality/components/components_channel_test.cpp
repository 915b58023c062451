// Water-quality components on the converged straight channel of
// cases/straight-channel (100 m x 10 m x 1 m, 7.5 m3/s): a tracer that
// enters at 1 leaves at 1 and fills the channel at 1, a first-order decay of
// 1e-3 1/s leaves at exp(-lambda V / Q) after the 133 s the water stays, and
// in a transient run every step's change of the tracer mass is what came in
// minus what went out.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <string>

#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "quality/quality_services.h"
#include "startup/entry.h"
#include "support/run_case.h"
#include "support/work_folder.h"

namespace {

constexpr const char *kCase = "straight-channel";
constexpr double kInflow = 7500.0;           // kg/s
constexpr int k3dCells = 50 * 5 * 9;         // the cells of the channel's grid
const double kDecay = 84.6 * 1.182033e-5;    // 1/s

// The case's control with other run letters and data sets added after it.
std::string channelControl(const std::string &letters, const std::string &extra) {
  std::string control = caseFile(kCase, "control");
  const std::string original = "F 2 YW\n";
  const size_t at = control.find(original);
  EXPECT_NE(at, std::string::npos) << control;
  if (at != std::string::npos) control.replace(at, original.size(), "F 2 " + letters + "\n");
  return control + extra;
}

// A run of the case with other letters and data sets, from a restart
// "result" when one is given, with further files in the folder.
CaseResult runChannel(const std::string &letters, const std::string &extra, const std::string &result = "",
                      const std::map<std::string, std::string> &files = {}) {
  CaseSetup setup;
  setup.files = files;
  setup.files["control"] = channelControl(letters, extra);
  setup.files["koosurf"] = caseFile(kCase, "koosurf");
  if (!result.empty()) setup.files["result"] = result;
  return runCase(setup);
}

// The converged flow of the case, "result.end" of a plain run.
std::string convergedResult() {
  const CaseResult r = runChannel("YW", "");
  EXPECT_EQ(r.status, 1) << r.file("boogie");
  EXPECT_TRUE(r.has("result.end"));
  return r.file("result.end");
}

// The two components enter at 1 through the upstream group, steady with
// 200 inner iterations; component 1 decays at 84.6 C0 per day.
const std::string kDecaySets = "F 50 2\nF 33 1e-20 200\nM 1 0 1.0\nM 1 1 1.0\nQ 122 1 0 -84.6 0.0\n";

// The concentration leaving through the downstream group: the cells behind
// its faces weighted by the outflow each face takes, by face area.
double outflowConcentration(int n) {
  const DischargeGroup &g = DischargeStruct[2];
  double sum = 0.0, weight = 0.0;
  for (int k = 0; k < g.faceCount; ++k) {
    const int f = g.faces[k];
    const int c = Fcell1[f] != 0 ? Fcell1[f] : Fcell2[f];
    sum += Farea[f] * Ccomp[n][c];
    weight += Farea[f];
  }
  return sum / weight;
}

double tracerMass(const double *c) {
  double m = 0.0;
  for (int cell = 1; cell <= NoCells; ++cell) m += 1000.0 * Cvol[cell] * c[cell];
  return m;
}

// Also with F 170 1, whose five-row relaxation would leave the components
// where they start. The converged flow's fluxes close to about 1e-4, and the
// conservative tracer follows them that closely.
TEST(ComponentsChannel, ConservedTracerThroughTheBinary) {
  const std::string result = convergedResult();
  for (const char *solver : {"", "F 170 1\n"}) {
    const CaseResult r = runChannel("YRCE", kDecaySets + solver, result);
    const std::string log = r.file("boogie");
    EXPECT_EQ(r.status, 1) << log;
    EXPECT_NE(log.find("Started components\n"), std::string::npos) << log;
    const std::vector<std::string> lines = linesOf(r.file("compres"));
    ASSERT_EQ(lines.size(), static_cast<size_t>(k3dCells)) << solver;
    for (size_t k = 0; k < lines.size(); ++k) {
      ASSERT_NEAR(std::stod(lines[k]), 1.0, 2e-4) << solver << "cell " << k + 1 << ": " << lines[k];
    }
  }
}

// Without components letter C still runs through its set-up and ends.
TEST(ComponentsChannel, LetterCWithoutComponents) {
  const CaseResult r = runChannel("YC", "");
  EXPECT_EQ(r.status, 1) << r.file("boogie");
  expectInOrder(r.file("boogie"), {"End Unstructure 2250 cells\n", "Started components\n"});
}

// The hydrostatic driver carries the tracer in its outer iterations. Its
// component step takes face fluxes interpolated from the cell velocities,
// which after 300 outer iterations are far from closing; the conservative
// tracer gathers where they converge and thins where they diverge (0.68 to
// 1.16), where the old diagonal kept a uniform 1 by making and losing mass.
TEST(ComponentsChannel, HydrostaticDriverCarriesTheTracer) {
  const CaseResult r = runChannel("YWE", "F 68 1\nK 1 300 50000\nF 50 1\nM 1 0 1.0\n");
  EXPECT_EQ(r.status, 1) << r.file("boogie");
  const std::vector<std::string> lines = linesOf(r.file("compres"));
  ASSERT_GE(lines.size(), static_cast<size_t>(k3dCells));
  for (int k = 0; k < k3dCells; ++k) ASSERT_NEAR(std::stod(lines[k]), 1.0, 0.35) << "cell " << k + 1;
}

// The main driver's component stage in a transient run of 100 steps of
// 10 s: the tracer fills the channel at its inflow value whether the
// component keeps a time level (F 62 1) or is solved without one.
TEST(ComponentsChannel, MainDriverCarriesATransientTracer) {
  const std::string result = convergedResult();
  for (const char *level : {"", "F 62 1\n"}) {
    const CaseResult r =
        runChannel("YRWE", std::string("F 50 1\nM 1 0 1.0\nF 33 10 5\nK 1 100 50000\n") + level, result);
    EXPECT_EQ(r.status, 1) << r.file("boogie");
    const std::vector<std::string> lines = linesOf(r.file("compres"));
    ASSERT_EQ(lines.size(), static_cast<size_t>(k3dCells)) << level;
    for (size_t k = 0; k < lines.size(); ++k) {
      ASSERT_NEAR(std::stod(lines[k]), 1.0, 1e-4) << level << "cell " << k + 1;
    }
  }
}

// A steady letter C starts from the values in memory: after "compres" of 1
// in every cell, one inner iteration stays at the 1 that solves the tracer's
// equation (to the 1e-4 to which the flow's fluxes close); from clean water
// it would not get there.
TEST(ComponentsChannel, SteadyRunStartsFromTheReadComponents) {
  const std::string result = convergedResult();
  for (const bool read : {true, false}) {
    const CaseResult r = runChannel(read ? "YROCE" : "YRCE", "F 50 1\nF 33 1e-20 1\nM 1 0 1.0\n", result,
                                    {{"compres", repeated("1.0\n", k3dCells)}});
    EXPECT_EQ(r.status, 1) << r.file("boogie");
    double farthest = 0.0;
    for (const std::string &line : linesOf(r.file("compres"))) farthest = std::max(farthest, std::fabs(std::stod(line) - 1.0));
    EXPECT_EQ(farthest < 2e-4, read) << (read ? "read" : "not read") << ": " << farthest;
  }
}

// A transient letter C empties "timeo" when "timei" asks for output points,
// and leaves it alone otherwise.
TEST(ComponentsChannel, TransientRunEmptiesTimeoOnlyWithOutputPoints) {
  const std::string result = convergedResult();
  for (const bool points : {true, false}) {
    std::map<std::string, std::string> files = {{"timeo", "earlier rows\n"}};
    if (points) files["timei"] = "O 0 1\nu 5\n";
    const CaseResult r = runChannel("YRC", "F 50 1\nF 33 10 1\nK 1 2 50000\nM 1 0 1.0\n", result, files);
    EXPECT_EQ(r.status, 1) << r.file("boogie");
    EXPECT_EQ(r.file("timeo"), points ? "" : "earlier rows\n");
  }
}

class ChannelComponents : public WorkFolderTest {
 protected:
  // Letter C on the converged flow with the data sets given.
  void runComponents(const std::string &extra) {
    const std::string result = convergedResult();
    writeFile("control", channelControl("YRC", extra));
    writeFile("koosurf", caseFile(kCase, "koosurf"));
    writeFile("result", result);
    InitialFunction();
  }
};

TEST_F(ChannelComponents, SteadyDecayMatchesTheResidenceTime) {
  runComponents(kDecaySets);
  double volume = 0.0;
  for (int c = 1; c <= NoCells; ++c) {
    volume += Cvol[c];
    ASSERT_NEAR(Ccomp[0][c], 1.0, 2e-4) << "cell " << c;
  }
  const double expected = std::exp(-kDecay * volume / 7.5);
  const double outflow = outflowConcentration(1);
  std::printf("steady decay: V = %.3f m3, outflow %.6f against exp(-lambda V / Q) = %.6f\n", volume, outflow,
              expected);
  EXPECT_NEAR(volume, 1000.0, 1e-6);
  EXPECT_NEAR(outflow / expected, 1.0, 0.005);
}

// Every step of a transient run: the tracer mass changes by the inflow minus
// the outflow of the step, to 1e-6 of the step's inflow once the solve of
// the step has converged: 50 inner iterations of two sweeps (with 20 the
// solve stops 1.6e-3 short; with 100 the balance closes to 1e-14). A run of
// k steps starts from clean water, so its last step is step k of every
// longer run: the first ten steps and steps 50, 100 and 200 of a run of 200.
// The balance holds to round-off even though the converged flow's face
// fluxes close only to 1e-4: the centre coefficient holds each cell's net
// outflow (before, the worst step was off by 1.7e-3).
TEST_F(ChannelComponents, TransientStepsKeepTheTracerMass) {
  runComponents("F 50 1\nF 33 10 50\nK 1 1 50000\nM 1 0 1.0\n");
  const double stepInflow = kInflow * 1.0 * TimeStep;
  double largest = 0.0;
  for (int steps : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 50, 100, 200}) {
    iterGlobalMax = steps;
    Components();
    const double change = tracerMass(Ccomp[0]) - tracerMass(Ccomp_old[0]);
    const double out = kInflow * outflowConcentration(0) * TimeStep;
    ASSERT_NEAR(change, stepInflow - out, 1e-6 * stepInflow) << "step " << steps;
    largest = std::max(largest, std::fabs(change - (stepInflow - out)) / stepInflow);
  }
  std::printf("transient tracer: largest step imbalance %.2e of the step's inflow\n", largest);
  EXPECT_GT(outflowConcentration(0), 0.99);
}

// The decay over 100 steps of 10 s with one and two inner iterations: the
// same outflow, the steady value of the step's exponential.
TEST_F(ChannelComponents, TransientDecayIndependentOfInnerIterations) {
  runComponents("F 50 2\nF 33 10 1\nK 1 100 50000\nM 1 0 1.0\nM 1 1 1.0\nQ 122 1 0 -84.6 0.0\n");
  const double one = outflowConcentration(1);
  TransInnerIter = 2;
  Components();
  const double two = outflowConcentration(1);
  double volume = 0.0;
  for (int c = 1; c <= NoCells; ++c) volume += Cvol[c];
  const double step = -std::expm1(-kDecay * 10.0);
  const double expected = std::exp(-step * volume / (7.5 * 10.0));
  std::printf("transient decay: outflow %.6f (one inner iteration), %.6f (two), expected %.6f\n", one, two,
              expected);
  EXPECT_NEAR(two / one, 1.0, 0.001);
  EXPECT_NEAR(one / expected, 1.0, 0.005);
}

// A component held at fixed values (a colony density, 0.7 in the dark)
// leaves the next component its own diagonal: the tracer after it still
// fills the channel at 1. Nothing passes the water surface.
TEST_F(ChannelComponents, FixedComponentLeavesTheNextAlone) {
  runComponents("F 50 2\nF 33 1e-20 200\nM 1 1 1.0\nQ 151 0 0 0.0 0.0 0.0 1.0 1.0\n");
  for (int c = 1; c <= NoCells; ++c) {
    ASSERT_NEAR(Ccomp[0][c], 0.7, 1e-12) << "cell " << c;
    ASSERT_NEAR(Ccomp[1][c], 1.0, 2e-4) << "cell " << c;
    if (Ccellt[c] == 0) {
      ASSERT_EQ(Cat[c], 0.0) << "cell " << c;
    }
  }
}

}  // namespace
