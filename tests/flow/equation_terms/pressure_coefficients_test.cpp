// Pressure-correction coefficients against values worked by hand: the plain
// 1000·D·A², each form of F 184, the storage term of F 271 1, and the faces
// without a second cell.
#include <gtest/gtest.h>

#include <cmath>

#include "flow/equation_terms/pressure_coefficients.h"
#include "model/bed_cells.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/settings.h"
#include "model/work_ranges.h"
#include "model/threads.h"
#include "solvers/hand_cells.h"
#include "support/run_case.h"

namespace {

class PressureCoefficients : public HandCellsTest {};

// Cells 1 | 2 side by side: Fdist1 1, Fdist2 3, CinvAp 0.01 and 0.03, area 2;
// D = (1·0.03 + 3·0.01) / 4 = 0.015 and a = 1000 · 0.015 · 4 = 60.
void sideFace() {
  linkEast(1, 2);
  CinvAp[1] = 0.01;
  CinvAp[2] = 0.03;
  setFace(1, {1, 2, 2, 4, 2.0, 1.0, 3.0, 0.0});
}

TEST_F(PressureCoefficients, FormsOfTheFaceCoefficient) {
  struct Case {
    const char *name;
    int form;
    double expected;
  };
  const Case cases[] = {
      {"plain", 0, 60.0},
      {"unknown form", 7, 60.0},
      {"larger CinvAp", 3, 1000.0 * 0.03 * 4.0},
      // The top face of cell 2 (10 m2) floors the area at 3 m2.
      {"top-face floor", 5, 1000.0 * 0.015 * 9.0},
      // Cell 1 is a one-cell column: at least A / sqrt(9810 · Fdz).
      {"one-cell column", 2, 2.0 / std::sqrt(9810.0 * 1e-8)},
      // The only interior side face sets the mean: Aref = 0.4 < 2.
      {"reference area", 1, 60.0},
  };
  allocateCells(3);
  sideFace();
  Cflatet[2] = 2;
  setFace(2, {2, 0, 6, 0, 10.0, 0.5, 0.0, 0.0});
  Fdz[1] = 1e-8;
  for (const Case &c : cases) {
    FlagPCalg = c.form;
    pressure_coeff();
    EXPECT_DOUBLE_EQ(Cae[1], c.expected) << c.name;
    EXPECT_DOUBLE_EQ(Caw[2], c.expected) << c.name;
  }
}

// A column of two cells: the bed face and the surface face leave the bottom
// cell's Cab and the top cell's Cat at 0.
TEST_F(PressureCoefficients, BedAndSurfaceFacesGetNone) {
  allocateCells(2);
  stackColumn(1, 2);
  CinvAp[1] = CinvAp[2] = 0.02;
  setFace(1, {0, 1, 0, 5, 1.0, 0.0, 0.5, 0.0});
  setFace(2, {1, 2, 6, 5, 1.0, 0.5, 0.5, 0.0});
  setFace(3, {2, 0, 6, 0, 1.0, 0.5, 0.0, 0.0});
  Cab[1] = Cat[2] = 99.0;
  pressure_coeff();
  EXPECT_EQ(Cab[1], 0.0);
  EXPECT_EQ(Cat[2], 0.0);
  EXPECT_DOUBLE_EQ(Cat[1], 20.0);
  EXPECT_DOUBLE_EQ(Cab[2], 20.0);
}

// F 184 1: interior side faces of 2, 8 and 0.5 m2 give Aref = 0.2 · 3.5 =
// 0.7; the 0.5 m2 side face and a 0.1 m2 vertical face both count with 0.7 m2.
TEST_F(PressureCoefficients, ReferenceAreaFloorsSmallFaces) {
  allocateCells(6);
  for (int c = 1; c <= 6; ++c) CinvAp[c] = 0.01;
  setFace(1, {1, 2, 2, 4, 2.0, 0.5, 0.5, 0.0});
  setFace(2, {3, 4, 3, 1, 8.0, 0.5, 0.5, 0.0});
  setFace(3, {4, 5, 2, 4, 0.5, 0.5, 0.5, 0.0});
  setFace(4, {5, 6, 6, 5, 0.1, 0.5, 0.5, 0.0});
  setFace(5, {6, 0, 2, 0, 100.0, 0.5, 0.0, 0.0});  // a boundary face does not count
  FlagPCalg = 1;
  pressure_coeff();
  EXPECT_DOUBLE_EQ(Cae[1], 1000.0 * 0.01 * 4.0);
  EXPECT_DOUBLE_EQ(Can[3], 1000.0 * 0.01 * 64.0);
  EXPECT_DOUBLE_EQ(Cae[4], 1000.0 * 0.01 * 0.7 * 0.7);
  EXPECT_DOUBLE_EQ(Cat[5], 1000.0 * 0.01 * 0.7 * 0.7);
  EXPECT_EQ(Cae[6], 0.0);
}

TEST_F(PressureCoefficients, ReferenceAreaWithoutInteriorSideFacesIsZero) {
  allocateCells(2);
  CinvAp[1] = CinvAp[2] = 0.01;
  setFace(1, {1, 2, 6, 5, 0.1, 0.5, 0.5, 0.0});
  FlagPCalg = 1;
  pressure_coeff();
  EXPECT_DOUBLE_EQ(Cat[1], 1000.0 * 0.01 * 0.01);
}

// F 271 1: a face between two columns stores the water of the moving level,
// shared by the cells of c1's column; stacked cells (c1 = c2 - 1) do not, and
// a steady run stores nothing.
TEST_F(PressureCoefficients, StorageTermOfTheTransientFreeSurface) {
  allocateCells(4);
  for (int c = 1; c <= 4; ++c) CinvAp[c] = 0.01;
  stackColumn(1, 2);
  stackColumn(3, 2);
  linkEast(1, 3);
  Cbed[1] = Cbed[2] = 1;
  Cbed[3] = Cbed[4] = 2;
  Bnocells[1] = Bnocells[2] = 2;
  Cflatet[1] = Cflatet[2] = 10;
  Cflatet[3] = Cflatet[4] = 11;
  setFace(1, {1, 3, 2, 4, 1.0, 0.5, 0.5, 0.0});
  setFace(2, {1, 2, 6, 5, 1.0, 0.5, 0.5, 0.0});
  setFace(10, {2, 0, 6, 0, 3.0, 0.5, 0.0, 0.0});
  setFace(11, {4, 0, 6, 0, 5.0, 0.5, 0.0, 0.0});
  FlagTFS2 = 1;
  FlagPCalg = 3;  // has no say under F 271 1
  const double plain = 1000.0 * 0.01 * 1.0;
  for (double dt : {10.0, 0.0}) {
    TimeStep = dt;
    pressure_coeff();
    const double storage = dt > 0 ? ((5.0 + 3.0) * 0.125 / (dt * 9.81)) / 2 : 0.0;
    EXPECT_DOUBLE_EQ(Cae[1], plain + storage) << dt;
    EXPECT_DOUBLE_EQ(Caw[3], plain + storage) << dt;
    EXPECT_DOUBLE_EQ(Cat[1], plain) << dt;
  }
}

// The face loop on four threads gives what one thread gives.
TEST_F(PressureCoefficients, FourThreadsGiveTheSameCoefficients) {
  allocateCells(40);
  for (int c = 1; c <= 40; ++c) CinvAp[c] = 0.001 * c;
  for (int c = 1; c < 40; ++c) setFace(c, {c, c + 1, 2, 4, 0.1 * c, 0.5, 0.25, 0.0});
  pressure_coeff();
  double serial[41];
  for (int c = 1; c <= 40; ++c) serial[c] = Cae[c] + Caw[c];
  for (int c = 1; c <= 40; ++c) Cae[c] = Caw[c] = 0.0;
  fixThreadCount(4);
  pressure_coeff();
  for (int c = 1; c <= 40; ++c) EXPECT_EQ(Cae[c] + Caw[c], serial[c]) << c;
}

TEST(TeamShares, FirstSharesTakeTheRemainder) {
  const IndexChunk expected[] = {{1, 3}, {4, 6}, {7, 8}, {9, 10}};
  for (int s = 0; s < 4; ++s) {
    const IndexChunk got = shareOf(1, 10, 4, s);
    EXPECT_EQ(got.first, expected[s].first) << s;
    EXPECT_EQ(got.last, expected[s].last) << s;
  }
  EXPECT_GT(shareOf(1, 2, 4, 3).first, shareOf(1, 2, 4, 3).last);  // more shares than items: empty
  EXPECT_GT(shareOf(5, 4, 2, 0).first, shareOf(5, 4, 2, 0).last);  // empty range
}

// Cell 1's east side lists cell 2: whatever the form of F 184, the list
// takes the plain 1000·D·A² = 60 and cell 1's single coefficient is cleared.
TEST_F(PressureCoefficients, ListsTakeThePlainForm) {
  QNFlag = 1;
  allocateCells(3);
  sideFace();
  Cncelle[1] = 1;
  Cqncelle[1][0] = 2;
  Cflatew[2] = 1;
  WCStart = 1;
  WCEnd = 2;
  FlagPCalg = 3;
  pressure_coeff();
  EXPECT_DOUBLE_EQ(Cqnae[1][0], 60.0);
  EXPECT_DOUBLE_EQ(Caw[2], 60.0);
  EXPECT_EQ(Cae[1], 0.0);
}

}  // namespace
