// Coefficients, relaxation and residuals over the neighbour lists of
// independently layered columns (F 137), on hand-set cells worked by hand.
#include <gtest/gtest.h>

#include <cmath>

#include "flow/stages/residuals.h"
#include "grid/grid_fixture.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/work_ranges.h"
#include "solvers/block_gauss_seidel.h"
#include "solvers/line_solver.h"
#include "solvers/point_solver.h"
#include "solvers/qn_neighbour_lists.h"

namespace {

class QNLists : public GridFixture {
 protected:
  // Cell 1 is the top cell of a short column; its east side touches cells
  // 2, 3 and 4, whose west faces 1, 2 and 3 carry the fluxes given.
  void listedEast(const double flux[3]) {
    QNFlag = 1;
    allocate(5, 4, 7);
    Cncelle[1] = 3;
    Cqncelle[1][0] = 2;
    for (int m = 0; m < 3; ++m) {
      const int k = 2 + m, f = 1 + m;
      Cflatew[k] = f;
      Fcell1[f] = 1;
      Fcell2[f] = k;
      Fdist1[f] = Fdist2[f] = 0.5;
      Farea[f] = 1.0;
      Fflux[f] = flux[m];
    }
    for (int c = 0; c <= 6; ++c) Cgamma[c] = 0.1;
    NoCells = 6;
    WCStart = 1;
    WCEnd = 4;
    Equation = 1;
    Cae[1] = 7.0;
  }
};

// D = A·G/(d1 + d2) = 0.1; Pe 5 leaves (1 - 0.5)^5 of it; from Pe 10 on the
// entry is the convection alone.
TEST_F(QNLists, PowerLawRows) {
  const double flux[3] = {0.0, 0.5, -2.0};
  listedEast(flux);
  QNGridCoeff();
  EXPECT_DOUBLE_EQ(Cqnae[1][0], 0.1);
  EXPECT_DOUBLE_EQ(Caw[2], 0.1);
  EXPECT_DOUBLE_EQ(Cqnae[1][1], 0.1 * 0.03125);
  EXPECT_DOUBLE_EQ(Caw[3], 0.5 + 0.1 * 0.03125);
  EXPECT_DOUBLE_EQ(Cqnae[1][2], 2.0);
  EXPECT_DOUBLE_EQ(Caw[4], 0.0);
  EXPECT_EQ(Cae[1], 0.0);
}

// Flow from the listed cell into cell 1 (F < 0 through an east list):
// w = (2·0.5 + 1)/(0.5 + 1) = 4/3 from the listed cell and the cell beyond
// it; the second coefficient takes (w - 1)·F, the first w·1.33 where the
// listed cell has a neighbour back toward cell 1. A member without a cell
// beyond takes plain upwinding; flow away from cell 1 leaves diffusion.
TEST_F(QNLists, SecondOrderRows) {
  sou[1] = 1;
  const double flux[3] = {-0.5, -0.5, 0.5};
  listedEast(flux);
  for (int c = 1; c <= 6; ++c) Cidist[c] = 0.5;
  Ccelle[2] = 5;
  Cidist[5] = 1.0;
  Ccellw[2] = 1;
  QNGridCoeff();
  const double Dn = 0.1 * 0.03125, w = 4.0 / 3.0;
  EXPECT_DOUBLE_EQ(Cqnaee[1][0], (w - 1.0) * -0.5);
  EXPECT_DOUBLE_EQ(Cqnae[1][0], Dn + 0.5 * w * 1.33);
  EXPECT_DOUBLE_EQ(Cqnaee[1][1], 0.0);
  EXPECT_DOUBLE_EQ(Cqnae[1][1], Dn + 0.5);
  EXPECT_DOUBLE_EQ(Cqnaee[1][2], 0.0);
  EXPECT_DOUBLE_EQ(Cqnae[1][2], Dn);
  EXPECT_EQ(Cae[1], 0.0);
  // The listed cells' own coefficients are the face loop's.
  EXPECT_EQ(Caw[2], 0.0);
}

// With F = 0 every row of both schemes is the pure diffusion.
TEST_F(QNLists, NoFlowIsPureDiffusion) {
  sou[1] = 1;
  const double flux[3] = {0.0, 0.0, 0.0};
  listedEast(flux);
  QNGridCoeff();
  for (int m = 0; m < 3; ++m) {
    EXPECT_DOUBLE_EQ(Cqnae[1][m], 0.1);
    EXPECT_EQ(Cqnaee[1][m], 0.0);
  }
}

// Each listed cell links to cell 1 by 1000·D·A² of its own face.
TEST_F(QNLists, PressureCoefficients) {
  const double flux[3] = {0.0, 0.0, 0.0};
  listedEast(flux);
  CinvAp[1] = 0.002;
  CinvAp[2] = CinvAp[3] = CinvAp[4] = 0.004;
  Farea[3] = 0.5;
  pressureCoeffQN();
  EXPECT_DOUBLE_EQ(Cqnae[1][0], 1000.0 * 0.003);
  EXPECT_DOUBLE_EQ(Caw[2], 1000.0 * 0.003);
  EXPECT_DOUBLE_EQ(Cqnae[1][2], 1000.0 * 0.003 * 0.25);
  EXPECT_DOUBLE_EQ(Caw[4], 1000.0 * 0.003 * 0.25);
  EXPECT_EQ(Cae[1], 0.0);
}

// Three cells: cell 1 lists cells 2 and 3 on its east side, each with
// coefficient 1; they see cell 1 through Caw = 1. Cap 4, 2, 2, sources 2, 1, 1.
class QNKernels : public GridFixture {
 protected:
  void SetUp() override {
    GridFixture::SetUp();
    QNFlag = 1;
    FlagResidual = 1;
    FlagTDMA = 1;
    allocate(5, 4, 7);
    Cncelle[1] = 2;
    Cqncelle[1][0] = 2;
    Cqnae[1][0] = Cqnae[1][1] = 1.0;
    Cae[1] = 5.0;  // a stale single coefficient that the lists replace
    Ccelle[1] = 2;
    Caw[2] = Caw[3] = 1.0;
    Ccellw[2] = Ccellw[3] = 1;
    const double ap[4] = {0, 4, 2, 2}, source[4] = {0, 2, 1, 1};
    for (int c = 1; c <= 3; ++c) {
      Cap[c] = ap[c];
      Csource[c] = source[c];
    }
    NoCells = 3;
    WCStart = 1;
    WCEnd = 3;
    Equation = 1;
    Cf = Cxvel;
  }
};

// One forward pass (0.5, 0.75, 0.75) and one backward pass (cell 1 again:
// (0.75 + 0.75 + 2)/4), whatever the sweep count.
TEST_F(QNKernels, OneSymmetricSweep) {
  for (int sweeps : {0, 5}) {
    for (int c = 0; c <= 3; ++c) Cf[c] = 0.0;
    Gauss(1, 3, sweeps);
    EXPECT_DOUBLE_EQ(Cf[1], 0.875) << sweeps << " sweeps";
    EXPECT_DOUBLE_EQ(Cf[2], 0.75) << sweeps << " sweeps";
    EXPECT_DOUBLE_EQ(Cf[3], 0.75) << sweeps << " sweeps";
  }
}

// The residual of the list form: cell 1 balances, cells 2 and 3 keep
// 0.875 + 1 - 1.5 = 0.375 each; the storing residual keeps r/Cap.
TEST_F(QNKernels, ResidualOfTheListForm) {
  Cf[1] = 0.875;
  Cf[2] = Cf[3] = 0.75;
  NormResidual[1] = 1.0;
  MaxResidual[1] = 0.0;
  residual(1, 3);
  EXPECT_DOUBLE_EQ(MaxResidual[1], 0.75);
  EXPECT_DOUBLE_EQ(Cxvel_res[1], 0.0);
  EXPECT_DOUBLE_EQ(Cxvel_res[2], 0.1875);
  FlagResidual = 0;
  MaxResidual[1] = 0.0;
  residual(1, 3);
  EXPECT_DOUBLE_EQ(MaxResidual[1], 0.75);
}

// The serial Jacobi form of the block solvers: two steps whatever the sweep
// count, (0.5, 0.5, 0.5) and then (0.75, 0.75, 0.75); the parallel forms
// would drop the lists and take the same serial form on a QN grid.
TEST_F(QNKernels, JacobiStepsOfTheBlockSolvers) {
  for (int variant : {21, 27, 31}) {
    FlagRapSolver = variant;
    for (int c = 0; c <= 3; ++c) Cf[c] = 0.0;
    GaussN(1, 3, 4);
    for (int c = 1; c <= 3; ++c) EXPECT_DOUBLE_EQ(Cf[c], 0.75) << "F 164 " << variant << ", cell " << c;
  }
}

// The line solver's explicit part sums the listed cells, not the stale
// single coefficient (which would give (5 + 2)/4 for cell 1): without
// vertical coupling each row is its explicit part over Cap, from Cf = 1.
TEST_F(QNKernels, LineSolverAddsTheLists) {
  for (int c = 0; c <= 4; ++c) Cf[c] = 1.0;
  solverTDMA();
  EXPECT_DOUBLE_EQ(Cf[1], (1.0 + 1.0 + 2.0) / 4.0);
  EXPECT_DOUBLE_EQ(Cf[2], (1.0 + 1.0) / 2.0);
}

}  // namespace
