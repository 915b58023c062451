// Runs of the engine chained through its grid and restart files on the
// converged straight channel: H then U, J then B.
#include <gtest/gtest.h>

#include <string>

#include "support/run_case.h"

namespace {

CaseSetup straightChannel(const std::string &letters, const std::string &extra = "") {
  CaseSetup s;
  std::string control = caseFile("straight-channel", "control");
  control.replace(control.find("F 2 YW"), 6, "F 2 " + letters);
  s.files["control"] = control + extra;
  s.files["koosurf"] = caseFile("straight-channel", "koosurf");
  return s;
}

std::string firstLine(const std::string &text) { return text.substr(0, text.find('\n')); }

// The iteration of the last report line "Iter: N, ...", -1 without one.
int lastIteration(const std::string &log) {
  const std::size_t at = log.rfind("Iter: ");
  return at == std::string::npos ? -1 : std::stoi(log.substr(at + 6));
}

TEST(RestartRuns, ConvergedChannelWritesItsRestartFile) {
  const CaseResult r = runCase(straightChannel("YWJ"));
  EXPECT_EQ(r.status, 1) << r.file("boogie");
  EXPECT_EQ(firstLine(r.file("alldata.0")), "3 2250 7495 1 0 0 0 3060");
  EXPECT_NE(r.file("boogie").find("Solution converged"), std::string::npos);
}

TEST(RestartRuns, GridFileOfOtherSizesEndsTheRun) {
  const CaseResult made = runCase(straightChannel("YH", "F 297 2\n"));
  ASSERT_EQ(made.status, 1);
  CaseSetup s = straightChannel("U", "F 297 2\nG 1 54 10 11 1\n");
  s.files["unstruc"] = made.file("unstruc");
  const CaseResult r = runCase(s);
  EXPECT_EQ(r.status, 251);
  EXPECT_TRUE(endsWith(r.file("boogie"), "Error: The two first integers on the G 1 data set in the control file\n"
                                         "must be the same as when the unstruc file was created (G 1 54 9 ..).\n"))
      << r.file("boogie");
}

TEST(RestartRuns, GridFileStartsTheSameFlow) {
  const CaseResult made = runCase(straightChannel("YH"));
  ASSERT_EQ(made.status, 1);
  CaseSetup s = straightChannel("UH");
  s.files["unstruc"] = made.file("unstruc");
  const CaseResult again = runCase(s);
  EXPECT_EQ(again.status, 1) << again.file("boogie");
  EXPECT_EQ(again.file("unstruc"), made.file("unstruc"));
  s = straightChannel("UW");
  s.files["unstruc"] = made.file("unstruc");
  const CaseResult flow = runCase(s);
  EXPECT_EQ(flow.status, 1) << flow.file("boogie");
  EXPECT_NE(flow.file("boogie").find("Solution converged"), std::string::npos);
  EXPECT_EQ(flow.file("boogie").find("Error"), std::string::npos);
}

TEST(RestartRuns, RestartConvergesQuicklyAndRewritesTheSameFile) {
  const CaseResult first = runCase(straightChannel("YWJ"));
  ASSERT_EQ(first.status, 1);
  CaseSetup s = straightChannel("BW");
  s.files["alldata"] = first.file("alldata.0");
  const CaseResult restart = runCase(s);
  EXPECT_EQ(restart.status, 1) << restart.file("boogie");
  EXPECT_NE(restart.file("boogie").find("Solution converged"), std::string::npos);
  EXPECT_LT(lastIteration(restart.file("boogie")), lastIteration(first.file("boogie")) / 10);
  // B then J writes what it read, and again from that file.
  s = straightChannel("BJ");
  s.files["alldata"] = first.file("alldata.0");
  const CaseResult once = runCase(s);
  s.files["alldata"] = once.file("alldata.0");
  const CaseResult twice = runCase(s);
  EXPECT_EQ(once.file("alldata.0"), first.file("alldata.0"));
  EXPECT_EQ(twice.file("alldata.0"), once.file("alldata.0"));
}

}  // namespace
