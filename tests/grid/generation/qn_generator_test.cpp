// The generator of independently layered columns (F 137) on the step case and
// the neighbour lists it fills, on generated and on hand-numbered columns.
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "grid/column_grid.h"
#include "grid/generation/grid_build.h"
#include "grid/grid_fixture.h"
#include "grid/generation/grid_generation.h"
#include "grid/grid_services.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/grid_index.h"
#include "model/points.h"
#include "model/settings.h"
#include "model/structured.h"

namespace {

class QNGrid : public GridFixture {
 protected:
  void generateStepQN() {
    QNFlag = 1;
    readStep();
    ASSERT_EQ(Unstructure(), 1);
  }
};

// Columns of 3 and 6 cells (the default makes 3 and 5): the top cell 3 of the
// short column faces the cells 6-9 of the tall one.
TEST_F(QNGrid, StepColumnsAndLists) {
  generateStepQN();
  ASSERT_EQ(NoCells, 9);
  EXPECT_EQ(ant[2][2], 3);
  EXPECT_EQ(ant[3][2], 6);
  EXPECT_EQ(zval[2][2][0], 1.0);
  EXPECT_EQ(zval[3][2][0], 4.0);
  for (int k = 2; k <= 4; ++k) EXPECT_EQ(num[2][2][k], k - 1);
  for (int k = 2; k <= 7; ++k) EXPECT_EQ(num[3][2][k], k + 2);
  EXPECT_EQ(Cncelle[3], 4);
  EXPECT_EQ(Cqncelle[3][0], 6);
  for (int c = 6; c <= 9; ++c) {
    EXPECT_EQ(Fcell1[Cflatew[c]], 3) << "cell " << c;
    EXPECT_EQ(Fcell2[Cflatew[c]], c) << "cell " << c;
    EXPECT_EQ(Ccellw[c], 3) << "cell " << c;
  }
  EXPECT_EQ(Fcell2[Cflatee[3]], 8);
  EXPECT_EQ(Fqndum[Cflatee[3]], 1);
  // The lower cells touch one to one and share their faces.
  EXPECT_EQ(Cflatee[1], Cflatew[4]);
  EXPECT_EQ(Cflatee[2], Cflatew[5]);
  int marked = 0;
  for (int f = 1; f <= NoSurfaces; ++f) marked += Fqndum[f];
  EXPECT_EQ(marked, 1);
  for (int c = 1; c <= NoCells; ++c) {
    if (c == 3) continue;
    EXPECT_EQ(Cncelle[c] + Cncellw[c] + Cncelln[c] + Cncells[c], 0) << "cell " << c;
  }
  EXPECT_EQ(Cncellw[3] + Cncelln[3] + Cncells[3], 0);
}

// At x = 1 the last of the three shared intervals is shared out among the
// tall column's cells 6-9; the short column's top cell spans all of it.
TEST_F(QNGrid, StepCornerLevels) {
  generateStepQN();
  const double bottoms[4] = {0.40, 0.45, 0.50, 0.55};
  for (int c = 6; c <= 9; ++c) {
    EXPECT_NEAR(Pz[Cpoint1[c]], bottoms[c - 6], 1e-9) << "cell " << c;
    EXPECT_NEAR(Pz[Cpoint5[c]], bottoms[c - 6] + 0.05, 1e-9) << "cell " << c;
  }
  EXPECT_NEAR(Pz[Cpoint2[3]], 0.4, 1e-9);
  EXPECT_NEAR(Pz[Cpoint6[3]], 0.6, 1e-9);
  // Below level 3 both columns share two intervals of 0.2 m at x = 1; at the
  // deep grid line x = 2 the tall column's six cells are even.
  EXPECT_NEAR(Pz[Cpoint2[1]], 0.0, 1e-9);
  EXPECT_NEAR(Pz[Cpoint6[1]], 0.2, 1e-9);
  EXPECT_NEAR(Pz[Cpoint2[4]], -1.4, 1e-9);
  EXPECT_NEAR(Pz[Cpoint6[4]], -1.4 + 2.0 / 6.0, 1e-9);
  EXPECT_NEAR(Pz[Cpoint6[9]], 0.6, 1e-9);
  metric();
  expectClosedCells();
}

// Two columns of equal depth: linked level by level, every side face shared,
// no list; a grid point whose columns all have m cells cuts its line into m
// equal intervals of the 0.6 m depth (to the 1e-10 that guards the division).
TEST_F(QNGrid, EqualColumnsShareEverySide) {
  QNFlag = 1;
  allocate(5, 4, 7);
  flatGrid(1, 3, 1, 2, 0.6);
  addBlock(2, 3, 2, 2);
  ASSERT_EQ(Unstructure(), 1);
  const int a = ant[2][2];
  ASSERT_EQ(ant[3][2], a);
  ASSERT_GT(a, 1);
  for (int c = 1; c <= a; ++c) {
    EXPECT_EQ(Ccelle[c], c + a);
    EXPECT_EQ(Ccellw[c + a], c);
    EXPECT_EQ(Cflatee[c], Cflatew[c + a]) << "level " << c;
    EXPECT_EQ(Cncelle[c] + Cncellw[c + a], 0);
    EXPECT_NEAR(Pz[Cpoint2[c]], 0.6 * (c - 1) / a, 1e-9);
    EXPECT_NEAR(Pz[Cpoint6[c]], 0.6 * c / a, 1e-9);
  }
}

// Without F 137 the lists stay empty and no face is marked.
TEST_F(QNGrid, DefaultGridHasNoLists) {
  readStep();
  ASSERT_EQ(Unstructure(), 1);
  EXPECT_EQ(NoCells, 8);
  for (int f = 1; f <= NoSurfaces; ++f) EXPECT_EQ(Fqndum[f], 0) << "face " << f;
}

// Hand-numbered columns in a row: each column has a cells at levels 2..a+1
// and made-up face numbers; the fill links only a shorter column to a taller
// one inside one block.
struct FillCase {
  const char *name;
  int west, east;            // cell counts of columns (2,2) and (3,2)
  bool twoBlocks;            // the two columns in blocks of their own
  int westList, eastList;    // expected east count of the west column, west count of the east column
  friend void PrintTo(const FillCase &c, std::ostream *os) { *os << c.name; }
};

class QNFill : public GridFixture, public ::testing::WithParamInterface<FillCase> {};

TEST_P(QNFill, Lists) {
  const FillCase &c = GetParam();
  QNFlag = 1;
  allocate(5, 4, 7);
  if (c.twoBlocks) {
    addBlock(2, 2, 2, 2);
    addBlock(3, 3, 2, 2);
  } else {
    addBlock(2, 3, 2, 2);
  }
  ant[2][2] = c.west;
  ant[3][2] = c.east;
  int cell = 0;
  for (int i : {2, 3}) {
    for (int k = 2; k <= ant[i][2] + 1; ++k) {
      num[i][2][k] = ++cell;
      Cflatee[cell] = 100 + cell;
      Cflatew[cell] = 200 + cell;
    }
  }
  NoCells = cell;
  fillQNLists();
  const int westTop = num[2][2][c.west + 1], eastTop = num[3][2][c.east + 1];
  EXPECT_EQ(Cncelle[westTop], c.westList);
  EXPECT_EQ(Cncellw[eastTop], c.eastList);
  for (int m = 0; m < c.westList; ++m) {
    const int listed = num[3][2][c.west + 1 + m];
    EXPECT_EQ(Cqncelle[westTop][m], listed);
    EXPECT_EQ(Fcell1[Cflatew[listed]], westTop);
  }
  if (c.westList > 0) {
    // Position (a+1)/2 of the list: for 2 beside 4 the cell at level 4.
    EXPECT_EQ(Fcell2[Cflatee[westTop]], num[3][2][c.west + 1] + (c.west + 1) / 2);
    EXPECT_EQ(Fqndum[Cflatee[westTop]], 1);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Columns, QNFill,
    ::testing::Values(FillCase{"TwoBesideFour", 2, 4, false, 3, 0}, FillCase{"SameCounts", 3, 3, false, 0, 0},
                      FillCase{"TallerWest", 5, 2, false, 0, 4}, FillCase{"BlockEdge", 2, 4, true, 0, 0}),
    [](const auto &info) { return std::string(info.param.name); });

// A short column far below its neighbour: position (a+1)/2 lies beyond the
// list and the face takes the list's last cell instead of the dummy cell.
TEST_F(QNGrid, FacePositionClampedToTheList) {
  QNFlag = 1;
  allocate(5, 4, 7);
  addBlock(2, 3, 2, 2);
  ant[2][2] = 5;
  ant[3][2] = 6;
  int cell = 0;
  for (int i : {2, 3}) {
    for (int k = 2; k <= ant[i][2] + 1; ++k) {
      num[i][2][k] = ++cell;
      Cflatee[cell] = 100 + cell;
      Cflatew[cell] = 200 + cell;
    }
  }
  fillQNLists();
  EXPECT_EQ(Cncelle[5], 2);
  EXPECT_EQ(Fcell2[Cflatee[5]], num[3][2][7]);
}

}  // namespace
