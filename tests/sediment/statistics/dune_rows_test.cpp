// The dune statistics along grid line j = 4 of the straight channel (50 x 5
// columns of nine cells), its bed levels and x set by hand: crests,
// troughs, the dunes' measures, the crest speed and the vertical profile.
#include "sediment/statistics/dune_statistics.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <vector>

#include "grid/column_grid.h"
#include "grid/grid_fixture.h"
#include "grid/grid_services.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"
#include "support/run_case.h"

namespace {

constexpr int kJ = 4;

class DuneRows : public GridFixture {
 protected:
  void SetUp() override {
    GridFixture::SetUp();
    readCaseGrid("straight-channel", "F 370 100 2 40 4 2\nF 33 10 1\n");
    ASSERT_FALSE(HasFatalFailure());
    Unstructure();
    metric();
    BedMake();
    // Velocity 1 m/s, a rising velocity of 0.01 m/s through every level face.
    for (int c = 1; c <= NoCells; ++c) {
      Cxvel[c] = 1.0;
      Cgamma[c] = 1.0;
      const int top = Cflatet[c];
      if (Ccellt[c] > 0) Fflux[top] = 0.01 * 1000.0 * Farea[top];
    }
  }
};

// Bed z = 0.1 cos(2 pi (i - 1 - shift) / 10) along j = 4, 1 m apart.
void waveBed(int shift, double amplitude) {
  for (int i = 0; i <= xnumber + 1; ++i) {
    xval[i][kJ] = i - 1;
    zval[i][kJ][1] = amplitude * std::cos(2.0 * M_PI * (i - 1 - shift) / 10.0);
    Surfaces[0][i][kJ] = 0.0;
  }
}

std::vector<double> numbers(const std::string &line) {
  std::istringstream in(line);
  std::vector<double> v;
  for (double x; in >> x;) v.push_back(x);
  return v;
}

}  // namespace

// One test: the marks and the dune count of earlier calls live on.
TEST_F(DuneRows, DunesSpeedAndProfile) {
  const std::string diffHeader =
      "K_A [-], a_diff [-], gamma [Pa s], Froude [-], velocity [m/s], duneheight [m], dunelength [m], "
      "waterdepth [m], stimet [s], duneno [-]\n";
  waveBed(0, 0.1);  // crests 11, 21, 31; troughs 6, 16, 26, 36
  stimet = 1000.0;
  writeDune();
  // Two dunes (the crest at 31 has none after it within 2..40), ten
  // columns each of eight counted cells of 1/9 m.
  const std::vector<std::string> diff = linesOf(readFile("dunediff"));
  ASSERT_EQ(diff.size(), 3u) << readFile("dunediff");
  EXPECT_EQ(diff[0] + "\n", diffHeader);
  const double h = 8.0 / 9.0, w = 0.01 / 18.0;
  for (int d = 1; d <= 2; ++d) {
    const std::vector<double> v = numbers(diff[d]);
    ASSERT_EQ(v.size(), 10u);
    EXPECT_NEAR(v[0], w / 0.2, 1e-6);                  // A = w / (H u)
    EXPECT_NEAR(v[2], 1.0, 1e-6);                      // gamma
    EXPECT_NEAR(v[3], 1.0 / std::sqrt(9.81 * h), 1e-6);  // Froude
    EXPECT_NEAR(v[4], 1.0, 1e-6);                      // velocity
    EXPECT_NEAR(v[5], 0.2, 1e-6);                      // height
    EXPECT_NEAR(v[6], 10.0, 1e-6);                     // length
    EXPECT_NEAR(v[7], h, 1e-6);
    EXPECT_EQ(v[8], 1000.0);
    EXPECT_EQ(v[9], d);
  }
  std::vector<std::string> dune = linesOf(readFile("dune"));
  ASSERT_EQ(dune.size(), 2u);
  EXPECT_EQ(dune[0], "Time,  depth,  duneheight, dunelength, dunespeed, K_A, alpha_diff");
  std::vector<double> v = numbers(dune[1]);
  ASSERT_EQ(v.size(), 7u);
  EXPECT_NEAR(v[1], h, 1e-6);
  EXPECT_NEAR(v[2], 0.2, 1e-6);
  EXPECT_NEAR(v[3], 10.0, 1e-6);
  EXPECT_EQ(v[4], 0.0) << "no crests of an earlier call";
  // Every level below the top cell: w / u over n H, per dune, averaged.
  std::string vert = "\nVertical distribution of diffusion parameter [-]:\n";
  char line[64];
  for (int m = 1; m <= 8; ++m) {
    std::snprintf(line, sizeof line, "%d %le\n", m, w / 0.2);
    vert += line;
  }
  EXPECT_EQ(readFile("dunevert"), vert);

  // The crests moved one line downstream (12, 22, 32, and a new one at the
  // profile's start, 2): three crests followed 1 m each, three dunes, 100
  // steps of 10 s.
  waveBed(1, 0.1);
  stimet = 2000.0;
  writeDune();
  dune = linesOf(readFile("dune"));
  ASSERT_EQ(dune.size(), 3u);
  v = numbers(dune[2]);
  EXPECT_NEAR(v[4], 1.0 / 1000.0, 1e-9);
  EXPECT_EQ(linesOf(readFile("dunediff")).size(), 6u);

  // A flat bed: every point a trough, no dune, a row of zeros, the profile
  // of the earlier calls.
  waveBed(0, 0.0);
  stimet = 3000.0;
  writeDune();
  dune = linesOf(readFile("dune"));
  ASSERT_EQ(dune.size(), 4u);
  EXPECT_EQ(dune[3], "3000.000000 0.000000 0.000000 0.000000 0.000000 0.000000 0.000000");
  EXPECT_EQ(linesOf(readFile("dunediff")).size(), 6u);
  EXPECT_EQ(readFile("dunevert"), vert);
}

// With F 439 the header names the two deposit depths and every row ends with
// them.
TEST_F(DuneRows, DepositDepthColumns) {
  FlagDepthDeposit = 1;
  depthDepositIn = 0.25;
  depthDepositOut = 0.5;
  waveBed(0, 0.0);
  stimet = 1000.0;
  writeDune();
  EXPECT_EQ(readFile("dune"),
            "Time,   depth,  duneheigh,  dunelength, dunespeed, K_A, alpha_diff, bech1, bech2\n"
            "1000.000000 0.000000 0.000000 0.000000 0.000000 0.000000 0.000000 0.250000 0.500000\n");
}
