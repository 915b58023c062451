// The time term and the diagonal lift against values worked by hand: cells of
// 2 m3 and a step of 10 s, so that the storage 1000 Cvol / dt is 200.
#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <vector>

#include "flow/equation_terms/time_term.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/status.h"
#include "model/structured.h"
#include "solvers/coefficients.h"
#include "solvers/hand_cells.h"

namespace {

class TimeTerm : public HandCellsTest {
 protected:
  std::vector<double> now_ = std::vector<double>(8, 0.0);
  std::vector<double> old_ = std::vector<double>(8, 0.0);
  std::vector<double> old2_ = std::vector<double>(8, 0.0);

  void SetUp() override {
    HandCellsTest::SetUp();
    allocateCells(6);
  }

  // Three cells in an east row, storage 200 each, every coefficient cleared.
  void threeCells() {
    for (int c = 0; c <= 6; ++c) {
      for (double *a : {Cap, Csource, Cae, Caw, Can, Cas, Cat, Cab}) a[c] = 0.0;
      Ctrekant[c] = 0;
    }
    for (double *v : {now_.data(), old_.data(), old2_.data()}) std::fill(v, v + 8, 0.0);
    linkEast(1, 2);
    linkEast(2, 3);
    for (int c = 0; c <= 3; ++c) Cvol[c] = c == 0 ? 0.0 : 2.0;
    TimeStep = 10.0;
    Cf = now_.data();
    Cf_old = old_.data();
    Cf_old2 = old2_.data();
    Equation = 1;
  }
};

struct StorageCase {
  const char *name;
  int timeOrder;
  double crankNicols;
  int presStability, innerFlag;
  double cap, source;  // of cell 2 after the call
};

TEST_F(TimeTerm, StorageFormsOnOneCell) {
  // Cell 2: current value 0.5, old 1.0, two steps back 0.6; its east
  // neighbour (old 2) has Cae 3, all other coefficients 0.
  const StorageCase cases[] = {
      {"implicit Euler", 0, 0.0, 0, 0, 200.0, 200.0},
      {"second order in time", 1, 0.0, 0, 0, 200.0, 280.0},
      // CN 0.5: weight 1, explicit part 3 (2 - 1) = 3.
      {"Crank-Nicolson", 0, 0.5, 0, 0, 200.0, 203.0},
      {"negative F 208 without weight is implicit Euler", -1, 0.0, 0, 0, 200.0, 200.0},
      {"F 482 1 drops the main term", 0, 0.0, 1, 0, 0.0, 0.0},
      // Inner step 20 s: 100 more on Cap, 100 times the current value.
      {"F 292 1", 0, 0.0, 0, 1, 300.0, 250.0},
      {"F 292 5 acts as 1", 0, 0.0, 0, 5, 300.0, 250.0},
      {"F 292 6 waits for the slide flow", 0, 0.0, 0, 6, 200.0, 200.0},
      {"F 292 1 with F 482 1 keeps the inner term alone", 0, 0.0, 1, 1, 100.0, 50.0},
  };
  for (const StorageCase &row : cases) {
    threeCells();
    now_[2] = 0.5;
    old_[2] = 1.0;
    old_[3] = 2.0;
    old2_[2] = 0.6;
    Cae[2] = 3.0;
    FlagTimeOrder = row.timeOrder;
    CrankNicols = row.crankNicols;
    FlagPresStability = row.presStability;
    FlagInnerTimestep = row.innerFlag;
    InnerTimestep = 20.0;
    addTimestep(2, 2);
    EXPECT_DOUBLE_EQ(Cap[2], row.cap) << row.name;
    EXPECT_DOUBLE_EQ(Csource[2], row.source) << row.name;
    EXPECT_EQ(Cap[1], 0.0) << row.name;  // nothing outside the range
  }
}

TEST_F(TimeTerm, CrankNicolsonKeepsASteadyFieldSteady) {
  threeCells();
  for (int c = 1; c <= 3; ++c) old_[c] = now_[c] = 1.5;
  Caw[2] = 4.0;
  Cae[2] = 3.0;
  CrankNicols = 0.5;
  addTimestep(1, 3);
  EXPECT_DOUBLE_EQ(Csource[2], 200.0 * 1.5);
}

TEST_F(TimeTerm, FullWeightOfCrankNicolsonEndsTheRun) {
  threeCells();
  CrankNicols = 1.0;
  EXPECT_EXIT(addTimestep(1, 3), ::testing::ExitedWithCode(251), "");
  EXPECT_NE(boogie().find("Error for F 61 in control\n"), std::string::npos) << boogie();
}

TEST_F(TimeTerm, CollapsedCellTermsOnVelocitiesOnly) {
  struct Row {
    const char *name;
    int equation, corrTrekant, innerFlag;
    double cap1, source1, cap2;  // cell 1 collapsed, cell 2 not
  };
  const Row rows[] = {
      {"F 235 1 doubles the term", 1, 1, 0, 400.0, 400.0, 200.0},
      {"F 235 1 not on k", 5, 1, 0, 200.0, 200.0, 200.0},
      {"F 235 5 clears the source", 2, 5, 0, 200.0, 0.0, 200.0},
      {"F 292 2 inner term on collapsed cells", 3, 0, 2, 300.0, 200.0, 200.0},
  };
  for (const Row &row : rows) {
    threeCells();
    for (int c = 1; c <= 3; ++c) old_[c] = 1.0;
    Ctrekant[1] = 3;
    Equation = row.equation;
    FlagCorrTrekant = row.corrTrekant;
    FlagInnerTimestep = row.innerFlag;
    InnerTimestep = 20.0;
    addTimestep(1, 3);
    EXPECT_DOUBLE_EQ(Cap[1], row.cap1) << row.name;
    EXPECT_DOUBLE_EQ(Csource[1], row.source1) << row.name;
    EXPECT_DOUBLE_EQ(Cap[2], row.cap2) << row.name;
  }
}

// Side damping: block 1 of `width` columns in j, each column one cell with
// Cap 1 after the term; column (1, dryJ) is dry when dryJ > 0.
std::vector<double> dampedColumns(int width, int dryJ) {
  NoBlocks = 1;
  block[1].i1 = block[1].i2 = 1;
  block[1].j1 = 1;
  block[1].j2 = width;
  for (int j = 1; j <= width; ++j) {
    zval[1][j][0] = j == dryJ ? 0.0 : j;
    Ccellt[j] = 0;
    Cap[j] = 1.0;
  }
  addSideDamping();
  return std::vector<double>(Cap + 1, Cap + width + 1);
}

TEST_F(TimeTerm, SideDampingOfNarrowBlocks) {
  FlagSideDamp = 1;
  Equation = 2;
  EXPECT_EQ(dampedColumns(5, 0), (std::vector<double>{4, 2, 1, 2, 4}));
  EXPECT_EQ(dampedColumns(3, 0), (std::vector<double>{4, 4, 4}));
  EXPECT_EQ(dampedColumns(2, 0), (std::vector<double>{8, 8}));
  EXPECT_EQ(dampedColumns(3, 2), (std::vector<double>{4, 1, 4}));
  Equation = 5;  // k only with F 415 2
  EXPECT_EQ(dampedColumns(2, 0), (std::vector<double>{1, 1}));
  FlagSideDamp = 2;
  EXPECT_EQ(dampedColumns(2, 0), (std::vector<double>{8, 8}));
}

TEST_F(TimeTerm, DiagonalLiftOfCellsWithFewNeighbours) {
  // Cell 2 between 1 and 3: lifted to max(10, 30 * 0.5, 12 * 0.5) = 15.
  linkEast(1, 2);
  linkEast(2, 3);
  Cap[1] = 12.0;
  Cap[2] = 10.0;
  Cap[3] = 30.0;
  Ckdist[1] = Ckdist[3] = 2.0;
  Ckdist[2] = 1.0;
  // Cell 5 has neighbours on three sides and keeps its value.
  linkEast(4, 5);
  linkEast(5, 6);
  Ccelln[5] = 1;
  Cap[4] = Cap[6] = 100.0;
  Cap[5] = 1.0;
  Ckdist[4] = Ckdist[5] = Ckdist[6] = 1.0;
  addAp(2, 2);
  addAp(5, 5);
  EXPECT_DOUBLE_EQ(Cap[2], 15.0);
  EXPECT_DOUBLE_EQ(Cap[5], 1.0);
  // In place and in order: cell 1 (one neighbour) takes 2's raised value.
  addAp(1, 1);
  EXPECT_DOUBLE_EQ(Cap[1], 15.0 * 2.0 / 1.0);
}

}  // namespace
