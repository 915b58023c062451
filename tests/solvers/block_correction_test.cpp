// The plane block correction on hand-built columns: R/A for a block of one
// plane, a fixed plane that passes nothing on, the chained planes of F 98 1,
// a block whose system starts from zero whatever the work arrays held, and
// the cases in which the field stays as it is.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/grid_index.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"
#include "solvers/block_correction.h"
#include "solvers/hand_cells.h"

namespace {

class BlockCorrectionTest : public GridFixture {
 protected:
  void SetUp() override {
    GridFixture::SetUp();
    Equation = 4;
  }

  // Tables for a 12 x 12 structured grid and up to 200 cells.
  static void tables() { allocate(12, 12, 6, 200); }

  // A block of kind 0 in the work range with columns i1..i2, j1..j2.
  static int workBlock(int i1, int i2, int j1, int j2) {
    const int b = addBlock(i1, i2, j1, j2);
    block[b].WorkFlag = 1;
    return b;
  }
};

// The residual of cell c with the current field.
double residual(int c) {
  return Csource[c] - Cap[c] * Cf[c] + Cae[c] * Cf[Ccelle[c]] + Caw[c] * Cf[Ccellw[c]] + Can[c] * Cf[Ccelln[c]] +
         Cas[c] * Cf[Ccells[c]] + Cat[c] * Cf[Ccellt[c]] + Cab[c] * Cf[Ccellb[c]];
}

// One block of one column (2, 2) of three cells: the j-plane gets
// R/A = (sum of sources) / (sum of Cap - Cat - Cab) = 6 / 3 on every cell,
// and the i-plane that follows finds nothing left to correct.
TEST_F(BlockCorrectionTest, OnePlaneGetsResidualOverSum) {
  tables();
  NoCells = 3;
  workBlock(2, 2, 2, 2);
  stackColumn(1, 3);
  zval[2][2][0] = 1;
  const double src[] = {0.0, 1.0, 2.0, 3.0};
  for (int c = 1; c <= 3; ++c) {
    Cat[c] = c < 3 ? 2.0 : 0.0;
    Cab[c] = c > 1 ? 2.0 : 0.0;
    Cap[c] = Cat[c] + Cab[c] + 1.0;
    Csource[c] = src[c];
    Cf[c] = 0.0;
  }
  BlockCorrection();
  for (int c = 1; c <= 3; ++c) EXPECT_NEAR(Cf[c], 2.0, 1e-14) << c;
}

// Planes j = 2, 3, 4 of one cell each, chained by Can and Cas; the cell of
// plane 3 is fixed at 4. Plane 3 gets nothing and the planes on its two
// sides get their own R/A, whatever the source on the other side.
TEST_F(BlockCorrectionTest, FixedPlaneDecouplesItsNeighbours) {
  tables();
  NoCells = 3;
  workBlock(2, 2, 2, 4);
  for (int j = 2; j <= 4; ++j) zval[2][j][0] = j - 1;
  Ccelln[1] = 2;
  Ccells[2] = 1;
  Ccelln[2] = 3;
  Ccells[3] = 2;
  for (double source : {1.0, 50.0}) {
    Can[1] = 1.0;
    Cap[1] = 1.5;
    Csource[1] = source;
    Cas[3] = 1.0;
    Cap[3] = 2.0;
    Csource[3] = 3.0;
    Cap[2] = 1e30 + 2.0;
    Can[2] = Cas[2] = 1.0;
    Csource[2] = 1e30 * 4.0;
    Cf[1] = Cf[3] = 0.0;
    Cf[2] = 4.0;
    BlockCorrection();
    EXPECT_NEAR(Cf[1], (source + 4.0) / 1.5, 1e-12);
    EXPECT_EQ(Cf[2], 4.0);
    EXPECT_NEAR(Cf[3], (3.0 + 4.0) / 2.0, 1e-12);
  }
}

// Two blocks of one column each, planes j = 2, 3 and j = 4, 5, one cell per
// plane, chained by unit couplings across the block border. Method 1 solves
// the four cell equations exactly; method 0 leaves the border unsolved.
class TwoBlockChain : public BlockCorrectionTest {
 protected:
  static void chain() {
    tables();
    NoCells = 4;
    workBlock(2, 2, 2, 3);
    workBlock(2, 2, 4, 5);
    for (int c = 1; c <= 4; ++c) zval[2][c + 1][0] = c;
    for (int c = 1; c < 4; ++c) {
      Ccelln[c] = c + 1;
      Ccells[c + 1] = c;
    }
  }
  static void equations() {
    const double src[] = {0.0, 1.0, -2.0, 3.0, 0.5};
    for (int c = 1; c <= 4; ++c) {
      Can[c] = c < 4 ? 1.0 : 0.0;
      Cas[c] = c > 1 ? 1.0 : 0.0;
      Cap[c] = Can[c] + Cas[c] + 1.0;
      Csource[c] = src[c];
      Cf[c] = 0.0;
    }
  }
};

TEST_F(TwoBlockChain, MethodOneChainsTheBlocks) {
  chain();
  BlockMethodFlag = 1;
  equations();
  BlockCorrection();
  for (int c = 1; c <= 4; ++c) EXPECT_NEAR(residual(c), 0.0, 1e-12) << c;
  BlockMethodFlag = 0;
  equations();
  BlockCorrection();
  EXPECT_GT(std::fabs(residual(2)) + std::fabs(residual(3)), 0.1);
}

// A block whose planes start at j1 = 9 reads the entries just below them;
// its system starts from zero whatever an earlier call left there.
TEST_F(BlockCorrectionTest, SystemStartsFromZeroBelowItsFirstPlane) {
  tables();
  NoCells = 2;
  workBlock(3, 3, 9, 10);
  zval[3][9][0] = 1;
  zval[3][10][0] = 2;
  Ccelln[1] = 2;
  Ccells[2] = 1;
  std::vector<double> results[2];
  for (int pass = 0; pass < 2; ++pass) {
    for (int k = 0; k < 10; ++k) {
      Spt[k] = pass == 0 ? 0.0 : 0.7;
      Sqt[k] = pass == 0 ? 0.0 : 5.0;
    }
    Can[1] = Cas[2] = 1.0;
    Cap[1] = Cap[2] = 3.0;
    Csource[1] = 1.0;
    Csource[2] = 2.0;
    Cf[1] = Cf[2] = 0.0;
    BlockCorrection();
    results[pass] = {Cf[1], Cf[2]};
  }
  EXPECT_EQ(results[0], results[1]);
  EXPECT_NEAR(residual(1), 0.0, 1e-12);
  EXPECT_NEAR(residual(2), 0.0, 1e-12);
}

// The cases that leave the field as it is.
TEST_F(BlockCorrectionTest, CasesWithoutCorrection) {
  sou[4] = 1;  // the second-neighbour arrays exist
  tables();
  NoCells = 1;
  workBlock(2, 2, 2, 2);
  zval[2][2][0] = 1;
  struct Case {
    const char *name;
    int scheme, qn, method;
  };
  const Case cases[] = {
      {"second order with second neighbours", 1, 0, 0},
      {"neighbour lists", 0, 1, 0},
      {"F 98 2", 0, 0, 2},
  };
  for (const Case &c : cases) {
    sou[4] = c.scheme;
    QNFlag = c.qn;
    BlockMethodFlag = c.method;
    Cap[1] = 1.0;
    Csource[1] = 5.0;
    Cf[1] = 0.5;
    BlockCorrection();
    EXPECT_EQ(Cf[1], 0.5) << c.name;
  }
  sou[4] = 0;
  QNFlag = 0;
  BlockMethodFlag = 0;
  BlockCorrection();
  EXPECT_NEAR(Cf[1], 5.0, 1e-14);
}

}  // namespace
