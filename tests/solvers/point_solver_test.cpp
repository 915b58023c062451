// The point Gauss-Seidel and its dispatcher: a diffusion column that must
// reach the linear profile, serially and on threads, the sweep count, the
// 13-point stencil by hand, and the execution each data-set combination picks.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <mutex>
#include <vector>

#include "model/cells.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/status.h"
#include "model/threads.h"
#include "model/work_ranges.h"
#include "solvers/hand_cells.h"
#include "solvers/point_solver.h"
#include "support/run_case.h"

namespace {

class PointSolver : public HandCellsTest {};

void expectLinearProfile(double tolerance) {
  EXPECT_NEAR(Cf[1], 1.0, 1e-15);
  EXPECT_NEAR(Cf[6], 6.0, 6e-15);
  for (int c = 2; c <= 5; ++c) EXPECT_NEAR(Cf[c], c, tolerance) << "cell " << c;
}

TEST_F(PointSolver, DiffusionColumnReachesTheLinearProfile) {
  allocateCells(6);
  diffusionColumn(1, 6, 1.0, 6.0);  // solution Cf[c] = c
  Equation = 5;
  sweeps[5] = 1;
  for (int n = 0; n < 200; ++n) solver();
  expectLinearProfile(1e-12);
}

TEST_F(PointSolver, ChunkedOnFourThreadsReachesTheSameProfile) {
  allocateCells(6);
  diffusionColumn(1, 6, 1.0, 6.0);  // solution Cf[c] = c
  Equation = 5;
  sweeps[5] = 1;
  NoProcessesSolver = 4;
  fixThreadCount(4);
  ASSERT_EQ(solverExecution(), SolverExecution::Chunked);
  for (int n = 0; n < 400; ++n) solver();
  expectLinearProfile(1e-10);
}

// The chunks of a chunked solve: 10 cells on 4 chunks are 2, 2, 2 and 4; with
// fewer cells than chunks the last chunk takes them all.
TEST(SolverChunks, EqualChunksAndTheRestToTheLast) {
  struct Case {
    int first, last;
    std::vector<IndexChunk> chunks;  // the chunks that hold cells, in order
  };
  const Case cases[] = {{1, 10, {{1, 2}, {3, 4}, {5, 6}, {7, 10}}}, {5, 7, {{5, 7}}}};
  NoProcessesSolver = 4;
  fixThreadCount(4);
  for (const Case &c : cases) {
    std::mutex guard;
    std::vector<IndexChunk> nonEmpty;
    forEachChunk(c.first, c.last, [&](int first, int last) {
      std::lock_guard<std::mutex> lock(guard);
      nonEmpty.push_back({first, last});
    });
    std::sort(nonEmpty.begin(), nonEmpty.end(), [](IndexChunk a, IndexChunk b) { return a.first < b.first; });
    ASSERT_EQ(nonEmpty.size(), c.chunks.size()) << c.first << ".." << c.last;
    for (std::size_t k = 0; k < nonEmpty.size(); ++k) {
      EXPECT_EQ(nonEmpty[k].first, c.chunks[k].first) << c.first << ".." << c.last << " chunk " << k;
      EXPECT_EQ(nonEmpty[k].last, c.chunks[k].last) << c.first << ".." << c.last << " chunk " << k;
    }
  }
}

// Two coupled cells: every sweep moves them, so the number of sweeps shows in
// the last bits. The pressure correction makes three times sweeps[4].
TEST_F(PointSolver, SweepCountOfEachEquation) {
  struct Case {
    int equation, sweeps, expected;
  };
  const Case cases[] = {{4, 5, 15}, {1, 1, 1}, {5, 3, 3}, {4, 0, 0}};
  allocateCells(2);
  linkEast(1, 2);
  for (const Case &c : cases) {
    Equation = c.equation;
    sweeps[c.equation] = c.sweeps;
    EXPECT_EQ(solverSweeps(), c.expected);
    auto reset = [] {
      Cae[1] = 0.9;
      Caw[2] = 0.8;
      Cap[1] = Cap[2] = 1.0;
      Csource[1] = 1.0;
      Csource[2] = 0.5;
      Cf[1] = Cf[2] = 0.0;
    };
    reset();
    Gauss(1, 2, c.expected);
    const double want1 = Cf[1], want2 = Cf[2];
    reset();
    Gauss(1, 2, c.expected + 1);
    const double more = Cf[1];
    reset();
    solver();
    EXPECT_EQ(Cf[1], want1) << c.equation;
    EXPECT_EQ(Cf[2], want2) << c.equation;
    EXPECT_NE(Cf[1], more) << c.equation;
  }
}

TEST_F(PointSolver, NoSweepsOrAnEmptyRangeLeaveTheField) {
  allocateCells(6);
  diffusionColumn(1, 6, 1.0, 6.0);  // solution Cf[c] = c
  Gauss(1, 6, 0);
  Gauss(4, 3, 5);
  for (int c = 1; c <= 6; ++c) EXPECT_EQ(Cf[c], 0.0);
}

// Cell 3 of a row 1..5 along i; its neighbours hold 1, 2, 4, 5.
TEST_F(PointSolver, ThirteenPointStencilByHand) {
  sou[1] = 1;
  allocateCells(5);
  Equation = 1;
  for (int c = 1; c < 5; ++c) linkEast(c, c + 1);
  const double values[] = {0, 1, 2, 0, 4, 5};
  for (int c = 1; c <= 5; ++c) Cf[c] = values[c];
  Cae[3] = 1;
  Caw[3] = 2;
  Caee[3] = 3;
  Caww[3] = 4;
  Csource[3] = 0.5;
  Cap[3] = 2;
  Gauss(3, 3, 1);
  EXPECT_DOUBLE_EQ(Cf[3], (1 * 4 + 2 * 2 + 3 * 5 + 4 * 1 + 0.5) / 2);
  sou[1] = 0;  // the 7-point stencil ignores the second neighbours
  Gauss(3, 3, 1);
  EXPECT_DOUBLE_EQ(Cf[3], (1 * 4 + 2 * 2 + 0.5) / 2);
}

// Nothing is checked: a zero centre coefficient yields a value that is not
// finite, for the residual and the stop test to find.
TEST_F(PointSolver, ZeroCentreCoefficientGivesANonFiniteValue) {
  allocateCells(1);
  Csource[1] = 1.0;
  Cap[1] = 0.0;
  Gauss(1, 1, 1);
  EXPECT_FALSE(std::isfinite(Cf[1]));
}

TEST(SolverDispatch, ExecutionOfEachRow) {
  struct Case {
    const char *name;
    bool thixoLayer;
    int thixo, computing, rap, threads, openmp8, fast;
    SolverExecution expected;
  };
  const Case cases[] = {
      {"thixotropic flow", true, 1, 1, 32, 4, 0, 0, SolverExecution::Serial},
      {"thixotropic, layer not computing", true, 1, 0, 0, 4, 0, 0, SolverExecution::Chunked},
      {"thixotropic without the layer table", false, 1, 1, 0, 4, 0, 0, SolverExecution::Chunked},
      {"F 164 above 20", false, 0, 0, 21, 4, 0, 0, SolverExecution::BlockParallel},
      {"F 164 20", false, 0, 0, 20, 0, 0, 0, SolverExecution::Serial},
      {"threads, G 50 ninth value 1", false, 0, 0, 0, 4, 1, 0, SolverExecution::Serial},
      {"threads", false, 0, 0, 0, 4, 0, 0, SolverExecution::Chunked},
      {"threads and the fast driver", false, 0, 0, 0, 2, 0, 1, SolverExecution::Chunked},
      {"one thread", false, 0, 0, 0, 0, 0, 0, SolverExecution::Serial},
      {"fast driver, G 50 ninth value 1", false, 0, 0, 0, 0, 1, 1, SolverExecution::Serial},
      {"fast driver", false, 0, 0, 0, 0, 0, 1, SolverExecution::Fast},
      {"F 170 2 without threads", false, 0, 0, 0, 0, 0, 2, SolverExecution::Serial},
  };
  int layer[4] = {};
  for (const Case &c : cases) {
    Cthixolev = c.thixoLayer ? layer : nullptr;
    FlagThixo = c.thixo;
    FlagThixoIsComputing = c.computing;
    FlagRapSolver = c.rap;
    NoProcessesSolver = c.threads;
    FlagOpenMP[8] = c.openmp8;
    FlagFastWatersolve = c.fast;
    EXPECT_EQ(solverExecution(), c.expected) << c.name;
  }
  Cthixolev = nullptr;
}

// On a grid with neighbour lists the point solver makes one symmetric sweep
// whatever the sweep count: cells 1 | 2 with Cap 2, source 1 and a link of 1
// give 0.5, 0.75 forward and 0.875 for cell 1 backward.
TEST_F(PointSolver, ListGridsRelaxOnce) {
  QNFlag = 1;
  allocateCells(2);
  linkEast(1, 2);
  Cae[1] = Caw[2] = 1.0;
  Cap[1] = Cap[2] = 2.0;
  Csource[1] = Csource[2] = 1.0;
  Equation = 1;
  sweeps[1] = 4;
  Cf = Cxvel;
  Cf[1] = Cf[2] = 0.0;
  WCStart = 1;
  WCEnd = 2;
  solver();
  EXPECT_DOUBLE_EQ(Cf[1], 0.875);
  EXPECT_DOUBLE_EQ(Cf[2], 0.75);
}

}  // namespace
