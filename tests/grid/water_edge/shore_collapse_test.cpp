// The shore case: a corner of wet columns against a dry bank, generated in
// process and measured. The waterline moves slide the dry corners half way,
// the tip column (3, 3) collapses to nearly a triangle and carries code 3;
// each variant of the collapse options is one row of the table.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <ostream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "grid/water_edge/column_corners.h"
#include "grid/grid_fixture.h"
#include "grid/grid_services.h"
#include "model/allocation.h"
#include "model/cells.h"
#include "model/points.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"
#include "startup/control_reader.h"
#include "startup/control_stream.h"
#include "support/run_case.h"

namespace {

// The tip column's single cell.
constexpr int kTip = 28;

struct Corner {
  double x, y, z;
};

struct ShoreVariant {
  const char *name;
  const char *control;  // data sets after the case's own
  double tipBed;        // bed at grid point (3, 3)
  Corner p2, p3, p4;    // bottom corners 2, 3, 4 of the tip cell
  double area;          // Careaz of the tip cell
  int code;             // Ctrekant of the tip cell
  friend void PrintTo(const ShoreVariant &v, std::ostream *os) { *os << v.name; }
};

std::string shoreKoosurf(double tipBed) {
  std::string text = caseFile("shore", "koosurf");
  if (tipBed != 1.0) {
    const std::string line = "3 3 2.0 2.0 1.0 1.0\n";
    const auto at = text.find(line);
    if (at == std::string::npos) return text;
    text.replace(at, line.size(), "3 3 2.0 2.0 " + std::to_string(tipBed) + " 1.0\n");
  }
  return text;
}

// The case read as the letters read it, generated and measured by metric.
void generateShore(const std::string &extra, double tipBed) {
  ControlStream control(caseFile("shore", "control") + extra);
  kreadPass(control);
  ASSERT_EQ(sialloc(), 0);
  ASSERT_GT(AllocateArrays(1, 1, 1), 0.0);
  std::ofstream("koosurf", std::ios::binary) << shoreKoosurf(tipBed);
  readKoosurf();
  ASSERT_EQ(Unstructure(), 1);
  metric();
}

void expectCorner(int point, const Corner &c, const char *what) {
  EXPECT_NEAR(Px[point], c.x, 1e-9) << what;
  EXPECT_NEAR(Py[point], c.y, 1e-9) << what;
  EXPECT_NEAR(Pz[point], c.z, 1e-9) << what;
}

class ShoreCollapse : public GridFixture, public ::testing::WithParamInterface<ShoreVariant> {};

TEST_P(ShoreCollapse, ReshapesTheTipColumn) {
  const ShoreVariant &v = GetParam();
  generateShore(v.control, v.tipBed);
  if (HasFatalFailure()) return;
  ASSERT_EQ(NoCells, 28);
  ASSERT_EQ(columnBottom(3, 3), kTip);
  expectCorner(Cpoint1[kTip], {1.0, 1.0, 0.95}, "corner 1");
  expectCorner(Cpoint2[kTip], v.p2, "corner 2");
  expectCorner(Cpoint3[kTip], v.p3, "corner 3");
  expectCorner(Cpoint4[kTip], v.p4, "corner 4");
  // The upper corners stand straight above the lower ones, at the surface.
  for (int k = 1; k <= 4; ++k) {
    EXPECT_NEAR(Px[upperCorner(k)[kTip]], Px[lowerCorner(k)[kTip]], 1e-12) << "corner " << k;
    EXPECT_NEAR(Py[upperCorner(k)[kTip]], Py[lowerCorner(k)[kTip]], 1e-12) << "corner " << k;
    EXPECT_NEAR(Pz[upperCorner(k)[kTip]], 1.0, 1e-9) << "corner " << k;
  }
  EXPECT_NEAR(Careaz[kTip], v.area, 1e-9);
  EXPECT_EQ(Ctrekant[kTip], v.code);
  for (int c = 1; c <= NoCells; ++c) {
    if (c != kTip) {
      EXPECT_EQ(Ctrekant[c], 0) << "cell " << c;
    }
    // A line shared by two columns is moved alike from both: every vertical
    // line stays vertical.
    EXPECT_LE(std::fabs(Cdxdk[c]), 1e-12) << "cell " << c;
    EXPECT_LE(std::fabs(Cdydk[c]), 1e-12) << "cell " << c;
  }
  // Only the points move; the structured grid keeps its positions.
  EXPECT_EQ(xval[3][2], 2.0);
  EXPECT_EQ(yval[2][3], 2.0);
  EXPECT_EQ(xval[3][3], 2.0);
}

constexpr Corner kSlid2{1.5, 1.0, 1.0}, kSlid4{1.0, 1.5, 1.0}, kGrid2{2.0, 1.0, 1.0}, kGrid4{1.0, 2.0, 1.0};

INSTANTIATE_TEST_SUITE_P(
    Variants, ShoreCollapse,
    ::testing::Values(
        // f = 0.82 limited to 0.5 by F 89; r = -40 gives the weights 0.45 and 0.55.
        ShoreVariant{"ShiftedTip", "", 1.0, kSlid2, {1.45, 1.45, 1.0}, kSlid4, 0.225, 3},
        ShoreVariant{"NeighboursFromTheGrid", "F 492 1\n", 1.0, kSlid2, {1.45, 1.45, 1.0}, kSlid4, 0.225, 3},
        // Both adjacent points lie 1.118 away: the tie takes corner 4.
        ShoreVariant{"DryTipMerges", "", 1.2, kSlid2, {1.0, 1.5, 1.0}, kSlid4, 0.125, 3},
        ShoreVariant{"NoMoves", "F 533 0\n", 1.0, kGrid2, {1.45, 1.45, 1.0}, kGrid4, 0.45, 3},
        ShoreVariant{"AlwaysMergeWithoutCode", "F 533 0\nF 245 0 1 0\n", 1.0, kGrid2, {1.0, 2.0, 1.0}, kGrid4, 0.5,
                     0},
        ShoreVariant{"AdjacentBottomsDrop", "F 235 14\n", 1.0, {1.5, 1.0, 0.995}, {1.45, 1.45, 1.0},
                     {1.0, 1.5, 0.995}, 0.225, 3},
        ShoreVariant{"TipLineSpansDmin", "F 245 1 0 2\n", 1.0, kSlid2, {1.45, 1.45, 0.995}, kSlid4, 0.225, 3},
        ShoreVariant{"SingleCellsKeptWhole", "F 235 29\n", 1.0, kSlid2, {2.0, 2.0, 1.0}, kSlid4, 0.5, 0},
        ShoreVariant{"SwitchedOff", "F 102 0\n", 1.0, kGrid2, {2.0, 2.0, 1.0}, kGrid4, 1.0, 0},
        // F 493 7 names no variant: the corners still slide, nothing collapses.
        ShoreVariant{"NoVariant", "F 493 7\n", 1.0, kSlid2, {2.0, 2.0, 1.0}, kSlid4, 0.5, 0}));

// Cell 28 is 0.0125 m high on average (0.05 at corner 1, 0 elsewhere).
TEST_F(ShoreCollapse, TipVolume) {
  generateShore("", 1.0);
  if (HasFatalFailure()) return;
  EXPECT_NEAR(Cvol[kTip], 0.0028125, 1e-12);
}

// F 235 3 doubles the volume of the collapsed cell, and of no other.
TEST_F(ShoreCollapse, TipVolumeDoubledByF235) {
  generateShore("F 235 3\n", 1.0);
  if (HasFatalFailure()) return;
  EXPECT_NEAR(Cvol[kTip], 0.005625, 1e-12);
  EXPECT_NEAR(Cvol[1], Careaz[1] * Cdzdk[1], 1e-12);
}

// The other collapse variants of F 493 on the case with its points on the
// structured lines (F 533 0), dmin 0.005. Column (3, 3)'s tip is corner 3 at
// depth 0; corners 2 and 4 lie at depth -0.2, the opposite corner 1 at 0.05.
struct OtherVariant {
  const char *name;
  const char *control;
  double x, y;          // bottom point of corner 3 of the tip column
  double bottom, upper;  // its level and that of the upper point of corner 3
  friend void PrintTo(const OtherVariant &v, std::ostream *os) { *os << v.name; }
};

class ShoreOtherVariant : public GridFixture, public ::testing::WithParamInterface<OtherVariant> {};

TEST_P(ShoreOtherVariant, MovesOnlyTheTipCorner) {
  const OtherVariant &v = GetParam();
  ControlStream control(caseFile("shore", "control") + "F 533 0\n" + v.control);
  kreadPass(control);
  ASSERT_EQ(sialloc(), 0);
  ASSERT_GT(AllocateArrays(1, 1, 1), 0.0);
  std::ofstream("koosurf", std::ios::binary) << shoreKoosurf(1.0);
  readKoosurf();
  ASSERT_GE(Unstructure(), 0);
  ASSERT_NEAR(MinVertDist0, 0.005, 1e-12);
  const int tip = columnBottom(3, 3);
  ASSERT_GT(tip, 0);
  EXPECT_NEAR(Px[Cpoint3[tip]], v.x, 1e-9);
  EXPECT_NEAR(Py[Cpoint3[tip]], v.y, 1e-9);
  EXPECT_NEAR(Pz[Cpoint3[tip]], v.bottom, 1e-9);
  for (int c = tip; c > 0; c = Ccellt[c]) {
    EXPECT_NEAR(Px[Cpoint7[c]], v.x, 1e-9) << "cell " << c;
    EXPECT_NEAR(Py[Cpoint7[c]], v.y, 1e-9) << "cell " << c;
  }
  EXPECT_NEAR(Pz[topOfCorner(tip, 3)], v.upper, 1e-9);
  // The other wet columns keep every corner on its structured grid point.
  for (const auto &[i, j] : {std::pair{2, 2}, std::pair{3, 2}, std::pair{2, 3}}) {
    for (int c = columnBottom(i, j); c > 0; c = Ccellt[c]) {
      for (int k = 1; k <= 4; ++k) {
        for (int p : {lowerCorner(k)[c], upperCorner(k)[c]}) {
          EXPECT_EQ(Px[p], cornerGridX(i, j, k)) << "column " << i << "," << j << " corner " << k;
          EXPECT_EQ(Py[p], cornerGridY(i, j, k)) << "column " << i << "," << j << " corner " << k;
        }
      }
    }
  }
  for (int c = 1; c <= NoCells; ++c) EXPECT_EQ(Ctrekant[c], 0) << "cell " << c;
}

constexpr OtherVariant kOtherVariants[] = {
    // Both adjacent corners are shallower than dmin: no edge to slide along.
    OtherVariant{"EdgeSlideFindsNoDeepSide", "F 493 1\n", 2.0, 2.0, 1.0, 1.0},
    // Midpoint of G(2) = (2, 1) and G(4) = (1, 2), then half way on towards G(3).
    OtherVariant{"ShallowTipToTheDiagonal", "F 493 1\nF 456 1\n", 1.5, 1.5, 1.0, 1.0},
    OtherVariant{"ShallowTipHalfWayToTheDiagonal", "F 493 1\nF 456 2\n", 1.75, 1.75, 1.0, 1.0},
    // 0.35 (2, 2) + 0.25 (2, 1) + 0.25 (1, 2) + 0.15 (1, 1).
    OtherVariant{"WeightedStructuredCorners", "F 493 2\n", 1.6, 1.6, 1.0, 1.0},
    // 0.4 P2 + 0.2 P3 + 0.4 P4; the level max(1.0, 0.95), at most the water 1.0.
    OtherVariant{"DryLineAmongDryColumns", "F 493 3\n", 1.6, 1.6, 1.0, 1.0},
    OtherVariant{"DryLineBetweenDrySides", "F 493 4\n", 1.6, 1.6, 1.0, 1.0},
    // One cell: the line spans W - dmin .. W with W = 1.0.
    OtherVariant{"LineSqueezedBelowTheWater", "F 493 6\n", 1.6, 1.6, 0.995, 1.0},
    // D = 0.05, a = 0.2 x 0.05 - 0 = 0.01, f = 0.2 towards G(1) = (1, 1).
    OtherVariant{"TowardsTheOppositeCorner", "F 493 5\nF 488 1\n", 1.8, 1.8, 1.0, 1.0}};

INSTANTIATE_TEST_SUITE_P(Variants, ShoreOtherVariant, ::testing::ValuesIn(kOtherVariants));

CaseSetup shoreRun(const std::string &letters, const std::string &extra) {
  CaseSetup setup;
  std::string control = caseFile("shore", "control");
  control.replace(control.find("F 2 YH"), 6, "F 2 " + letters);
  setup.files["control"] = control + extra;
  setup.files["koosurf"] = caseFile("shore", "koosurf");
  return setup;
}

// The corner points 1..8 of a cell as "unstruc" lists them.
std::vector<Corner> unstrucCorners(const std::string &text, int cell) {
  std::istringstream in(text);
  int code = 0, cells = 0, faces = 0, blocks = 0, connections = 0, pairs = 0, nests = 0, points = 0;
  in >> code >> cells >> faces >> blocks >> connections >> pairs >> nests >> points;
  std::vector<Corner> xyz(points + 1);
  for (int p = 1; p <= points; ++p) in >> xyz[p].x >> xyz[p].y >> xyz[p].z;
  std::vector<Corner> corners;
  for (int c = 1; c <= cell; ++c) {
    int columns[20];
    for (int &v : columns) in >> v;
    if (c == cell) {
      for (int k = 0; k < 8; ++k) corners.push_back(xyz.at(columns[k]));
    }
  }
  return corners;
}

// Letters Y and H: the log, the moved points in "unstruc", and the
// structured grid of "koosurf.t" as it is without the moves.
TEST(ShoreCollapseRun, GridFileHoldsTheReshapedCell) {
  CaseResult r = runCase(shoreRun("YH", ""));
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(endsWith(r.file("boogie"), "End Unstructure 28 cells\n")) << r.file("boogie");
  const std::vector<Corner> corners = unstrucCorners(r.file("unstruc"), kTip);
  ASSERT_EQ(corners.size(), 8u);
  const Corner expected[4] = {{1.0, 1.0, 0.95}, {1.5, 1.0, 1.0}, {1.45, 1.45, 1.0}, {1.0, 1.5, 1.0}};
  for (int k = 0; k < 4; ++k) {
    EXPECT_NEAR(corners[k].x, expected[k].x, 1e-6) << "corner " << k + 1;
    EXPECT_NEAR(corners[k].y, expected[k].y, 1e-6) << "corner " << k + 1;
    EXPECT_NEAR(corners[k].z, expected[k].z, 1e-6) << "corner " << k + 1;
    EXPECT_NEAR(corners[k + 4].x, expected[k].x, 1e-6) << "corner " << k + 5;
    EXPECT_NEAR(corners[k + 4].y, expected[k].y, 1e-6) << "corner " << k + 5;
    EXPECT_NEAR(corners[k + 4].z, 1.0, 1e-6) << "corner " << k + 5;
  }
  CaseResult unmoved = runCase(shoreRun("YH", "F 102 0\n"));
  EXPECT_EQ(unmoved.status, 1);
  EXPECT_FALSE(r.file("koosurf.t").empty());
  EXPECT_EQ(r.file("koosurf.t"), unmoved.file("koosurf.t"));
  expectConsole(r);
}

// Letter W's set-up measures every reshaped grid; none is refused.
TEST(ShoreCollapseRun, FlowSetUpAcceptsEveryVariant) {
  for (const char *extra : {"", "F 492 1\n", "F 533 0\n", "F 533 0\nF 245 0 1 0\n", "F 235 14\n", "F 245 1 0 2\n",
                            "F 235 29\n", "F 102 0\n", "F 235 17\n", "F 235 23\n", "F 159 1 0 0 1 6\n"}) {
    CaseResult r = runCase(shoreRun("YW", std::string("K 1 0 50000\n") + extra));
    EXPECT_EQ(r.status, 1) << extra << r.file("boogie");
  }
  CaseSetup dryTip = shoreRun("YW", "K 1 0 50000\n");
  dryTip.files["koosurf"] = shoreKoosurf(1.2);
  EXPECT_EQ(runCase(dryTip).status, 1);
  for (const OtherVariant &v : kOtherVariants) {
    CaseResult r = runCase(shoreRun("YW", std::string("K 1 0 50000\nF 533 0\n") + v.control));
    EXPECT_EQ(r.status, 1) << v.name << r.file("boogie");
  }
}

}  // namespace
