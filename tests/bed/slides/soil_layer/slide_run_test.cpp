// Slides of the soil layer through the binary, on the fixture "slide": a
// layer whose top rises 2 m over two rows in the middle of a gentle slope.
// The rise fails, the slope does not, and the resisting over driving stress
// of every column lands in plane 7 of the layer block.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "support/run_case.h"

namespace {

// The "koosurf" of the fixture, optionally without the rise.
std::string slideKoosurf(bool rise) {
  if (rise) return caseFile("slide", "koosurf");
  std::ostringstream out;
  for (int i = 1; i <= 10; ++i) {
    for (int j = 1; j <= 8; ++j) out << i << ' ' << j << ' ' << i - 1 << ".0 " << j - 1 << ".0 " << 0.1 * (j - 1) << " 5.0\n";
  }
  return out.str();
}

CaseResult runSlide(const std::string &control, bool rise = true) {
  CaseSetup setup;
  setup.files["control"] = control;
  setup.files["koosurf"] = slideKoosurf(rise);
  return runCase(setup);
}

// The slide count of the "Sand slide data" line; -1 without one.
int slidesLogged(const std::string &log) {
  const std::string key = "Sand slide data, noslides = ";
  const std::size_t at = log.find(key);
  if (at == std::string::npos) return -1;
  return std::stoi(log.substr(at + key.size()));
}

TEST(SlideRun, TheRiseFailsAndTheSlopeHolds) {
  const CaseResult withRise = runCaseFolder("slide");
  EXPECT_EQ(withRise.status, 1) << withRise.file("boogie");
  EXPECT_GE(slidesLogged(withRise.file("boogie")), 1) << withRise.file("boogie");
  EXPECT_EQ(withRise.file("boogie").find("Error"), std::string::npos) << withRise.file("boogie");

  const CaseResult plain = runSlide(caseFile("slide", "control"), false);
  EXPECT_EQ(plain.status, 1) << plain.file("boogie");
  EXPECT_NE(plain.file("boogie").find("Sand slide data, noslides = 0, "), std::string::npos) << plain.file("boogie");
}

// Plane 7: 13600 · 0.8 = 10880 Pa of friction against 13600 · slope of
// driving stress, so 0.8 / 0.1 = 8 on the plain slope and 0.8 / 1.1 on the
// six columns whose four corners lie on the rise. The file holds seven
// digits; the grouping tests check the plane itself to 1e-9.
TEST(SlideRun, LocalFactorsInThePlanFile) {
  const CaseResult r = runSlide(
      "F 2 YNM\nG 1 13 20 8 1\nF 236 2 0 0 0.8\nF 248 2\nF 1 D\nF 329 1 1 1\nF 268 2\nG 24 1 Z 101 0 0\n");
  ASSERT_EQ(r.status, 1) << r.file("boogie");
  ASSERT_TRUE(r.has("tecplot2.dat"));
  int plain = 0, steep = 0;
  for (const std::string &line : linesOf(r.file("tecplot2.dat"))) {
    double x, y, z, u, v, factor;
    if (std::sscanf(line.c_str(), "%lf %lf %lf %lf %lf %lf", &x, &y, &z, &u, &v, &factor) != 6) continue;
    if (y <= 2.5) {
      EXPECT_NEAR(factor, 8.0, 8.0 * 5e-7) << line;
      ++plain;
    }
    if (x >= 3.5 && x <= 5.5 && (y == 3.5 || y == 4.5)) {
      EXPECT_NEAR(factor, 0.8 / 1.1, 0.8 / 1.1 * 5e-7) << line;
      ++steep;
    }
  }
  EXPECT_EQ(plain, 4 * 11);
  EXPECT_EQ(steep, 6);
}

// F 325 1 judges every slide; F 1 S writes one line per slide judged, from
// the last slot down.
TEST(SlideRun, JudgedSlidesAreLogged) {
  const CaseResult r = runSlide("F 2 YN\nG 1 13 20 8 1\nF 236 2 0 0 0.8\nF 248 2\nF 325 1\nF 1 S\n");
  ASSERT_EQ(r.status, 1) << r.file("boogie");
  std::vector<int> slots;
  for (const std::string &line : linesOf(r.file("boogie"))) {
    int slot;
    double sf;
    if (std::sscanf(line.c_str(), "Slide no. %d, sf = %lf, Cohesion, Friction, Gravity, Groundw = ", &slot, &sf) != 2) {
      continue;
    }
    EXPECT_NE(line.find(" Heights: "), std::string::npos) << line;
    slots.push_back(slot);
  }
  ASSERT_FALSE(slots.empty()) << r.file("boogie");
  for (std::size_t n = 0; n < slots.size(); ++n) EXPECT_EQ(slots[n], static_cast<int>(slots.size() - 1 - n));
}

// Letter D on a grid without a soil layer: the slide movement says so and
// the run goes on to its normal end.
TEST(SlideRun, MovementWithoutALayerBlock) {
  CaseSetup setup;
  setup.files["control"] = "F 2 YD\nG 1 13 7 11 1\n";
  setup.files["koosurf"] = caseFile("channel", "koosurf");
  const CaseResult r = runCase(setup);
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(endsWith(r.file("boogie"), "Error: Tried to compute sand slide in block 0, which is not prepared for "
                                          "slides\n\n"))
      << r.file("boogie");
}

}  // namespace
