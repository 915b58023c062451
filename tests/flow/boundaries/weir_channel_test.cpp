// A weir across the straight channel (cases/straight-channel, 7.5 m3/s, 1 m
// deep) in the Casulli level equation: the first level update after the
// flow has developed holds the weir's columns at crest plus the head of
// their discharge, well above the level the channel takes without it; with
// a crest the backwater can carry the run converges.
#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "support/bedres_levels.h"
#include "support/run_case.h"

namespace {

// The channel with the Casulli levels, the first update at iteration 300
// (when the flow through the weir's columns has about its 7.5 m3/s), results
// written after it, and the run stopped one iteration later.
CaseResult casulliChannel(const std::string &added) {
  CaseSetup s;
  std::string control;
  for (const std::string &line : linesOf(caseFile("straight-channel", "control"))) {
    if (line.rfind("K 1 ", 0) != 0) control += line + "\n";
  }
  s.files["control"] = control + "F 323 1\nF 36 9\nF 91 51 4\nF 105 300\nP 15 300\nK 1 301 50000\n" + added;
  s.files["koosurf"] = caseFile("straight-channel", "koosurf");
  return runCase(s);
}

TEST(WeirChannel, WeirColumnsStandAtCrestPlusHead) {
  const CaseResult plain = casulliChannel("");
  // Crest 0.5 m, coefficient 3, exponent 3 across the whole width at column
  // i = 41: 0.5 + (7.5 / 3)^(1/3) = 1.857 m.
  const CaseResult weir = casulliChannel("G 28 41 41 2 6 0.5 3.0 3.0\n");
  for (const CaseResult *r : {&plain, &weir}) {
    const std::string log = r->file("boogie");
    ASSERT_EQ(r->status, 1) << log;
    EXPECT_EQ(log.find("Error"), std::string::npos) << log;
    ASSERT_NE(r->file("bedres.0000").find("iter = 301"), std::string::npos);
  }
  const auto without = levelsByLine(plain.file("bedres.0000"));
  const auto with = levelsByLine(weir.file("bedres.0000"));
  // The corners of the weir's columns lie on grid lines 40 and 41; the
  // middle points share only weir columns' neighbours across the flow.
  for (int line : {40, 41}) {
    ASSERT_EQ(with.at(line).size(), 6u);
    for (std::size_t p = 0; p < 6; ++p) {
      EXPECT_NEAR(without.at(line)[p], 1.0, 0.02) << "grid line " << line << ", point " << p;
      EXPECT_GT(with.at(line)[p], without.at(line)[p] + 0.5) << "grid line " << line << ", point " << p;
    }
  }
  // Far upstream and at the outlet the weir changes nothing yet.
  EXPECT_NEAR(with.at(1)[2], without.at(1)[2], 0.005);
  EXPECT_NEAR(with.at(51)[2], without.at(51)[2], 0.005);
}

// The same weir run to convergence with a crest the backwater can carry.
// G 28 takes a coefficient and an exponent of at most 3, so 7.5 m3/s needs a
// head of at least (7.5 / 3)^(1/3) = 1.357 m: a crest on the bed would ask
// the surface to step up by 0.36 m at the weir, which the Casulli levels do
// not reach (that run diverges). A crest 0.25 m under the bed holds the
// weir's columns at 1.107 m: the surface upstream stands about 0.11 m higher
// than without the weir and still falls by the friction slope, and it falls
// to the outlet level behind the weir.
TEST(WeirChannel, ConvergesWithTheWeirHeld) {
  CaseSetup s;
  s.files["control"] = caseFile("straight-channel", "control") +
                       "F 323 1\nF 36 9\nF 343 2\nF 91 51 4\nF 105 300\nG 28 41 41 2 6 -0.25 3.0 3.0\n";
  s.files["koosurf"] = caseFile("straight-channel", "koosurf");
  const CaseResult r = runCase(s);
  const std::string log = r.file("boogie");
  ASSERT_EQ(r.status, 1) << log;
  EXPECT_NE(log.find("Solution converged"), std::string::npos) << log.substr(log.size() > 2000 ? log.size() - 2000 : 0);
  EXPECT_EQ(log.find("Error"), std::string::npos);
  const auto lines = levelsByLine(r.file("bedres.t"));
  ASSERT_EQ(lines.size(), 51u);
  // The weir's corners on grid lines 40 and 41: crest plus the head of the
  // discharge measured across its columns.
  for (int line : {40, 41}) {
    for (double z : lines.at(line)) EXPECT_NEAR(z, -0.25 + 1.357, 0.01) << "grid line " << line;
  }
  for (int line = 2; line <= 39; ++line) {
    for (std::size_t p = 0; p < 6; ++p) {
      EXPECT_LE(lines.at(line)[p], lines.at(line - 1)[p] + 0.001) << "grid line " << line << ", point " << p;
      EXPECT_GT(lines.at(line)[p], lines.at(40)[p]) << "grid line " << line << ", point " << p;
    }
  }
  for (double z : lines.at(51)) EXPECT_NEAR(z, 1.0, 0.002);
}

}  // namespace
