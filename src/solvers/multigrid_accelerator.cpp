// The column correction of the depth-summed accelerator: column sums onto
// level 1, sums of 2x2 groups onto the coarser levels, relaxation from the
// coarsest level down with injection, and the correction of the columns.
#include "solvers/multigrid_accelerator.h"

#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "solvers/line_solver.h"
#include "solvers/multigrid.h"
#include "solvers/smoother_2d.h"
#include "base/exit_codes.h"
#include "base/log.h"

namespace {

// A level cell whose summed couplings vanish has no horizontal neighbour; a
// finite diagonal keeps the smoother from dividing by zero.
double levelDiagonal(int c) {
  const double sum = Cae[c] + Caw[c] + Can[c] + Cas[c];
  return sum < 1e-15 ? 100.0 : sum;
}

// The residual field of the current equation, nullptr for equations that
// keep none.
double *residualField() {
  switch (Equation) {
    case 1: return Cxvel_res;
    case 2: return Cyvel_res;
    case 3: return Czvel_res;
    case 5: return Ckinen_res;
    case 6: return Cepsilon_res;
    default: return nullptr;
  }
}

bool keepsResidualField(int e) { return e == 1 || e == 2 || e == 3 || e == 5 || e == 6; }

// The horizontal couplings of level-1 cell c summed over its column.
void columnCouplings(int c, int first, int last) {
  double ae = 0.0, aw = 0.0, an = 0.0, as = 0.0;
  for (int k = first; k <= last; ++k) {
    ae += Cae[k];
    aw += Caw[k];
    an += Can[k];
    as += Cas[k];
  }
  Cae[c] = ae;
  Caw[c] = aw;
  Can[c] = an;
  Cas[c] = as;
}

// The four couplings of coarse cell c from its children: the outer sides of
// the 2x2 group.
void groupCouplings(int c) {
  const int *f = MGSCpoint[c];
  Caw[c] = Caw[f[1]] + Caw[f[2]];
  Cas[c] = Cas[f[1]] + Cas[f[4]];
  Can[c] = Can[f[2]] + Can[f[3]];
  Cae[c] = Cae[f[3]] + Cae[f[4]];
}

// Every existing child of the cells of a level starts from its parent's value.
void injectIntoChildren(const GridBlock &level) {
  for (int c = level.FirstCell; c <= level.LastCell; ++c) {
    for (int e = 1; e <= 4; ++e) {
      const int f = MGSCpoint[c][e];
      if (f > 0) Cf[f] = Cf[c];
    }
  }
}

// The coarse levels relaxed from the coarsest down, each handing its values
// to the level below as start.
void relaxCoarseLevels(int b1, int sweeps) {
  for (int b = b1 + NoMGlevels - 2; b >= b1 + 1; --b) {
    if (block[b].GridLevel <= 2) continue;
    Gauss2D(block[b].FirstCell, block[b].LastCell, sweeps);
    injectIntoChildren(block[b]);
  }
}

void pressureCorrection(int b1) {
  const GridBlock &one = block[b1];
  const bool skipFixed = FlagTFS == 16;
  for (int c = one.FirstCell; c <= one.LastCell; ++c) {
    const int first = MGSCpoint[c][1], last = MGSCpoint[c][2];
    columnCouplings(c, first, last);
    double source = 0.0;
    for (int k = first; k <= last; ++k) {
      if (!skipFixed || Cap[k] < 1e15) source += Csource[k];
    }
    Csource[c] = source;
    Cap[c] = levelDiagonal(c);
    Cf[c] = 0.0;
  }
  for (int b = b1 + 1; b <= b1 + NoMGlevels - 2; ++b) {
    for (int c = block[b].FirstCell; c <= block[b].LastCell; ++c) {
      double source = 0.0;
      for (int e = 1; e <= 4; ++e) {
        if (MGSCpoint[c][e] > 0) source += Csource[MGSCpoint[c][e]];
      }
      Csource[c] = source;
      groupCouplings(c);
      Cap[c] = levelDiagonal(c);
      Cf[c] = 0.0;
    }
  }
  if (Flag2DAccSolver > 1 && NoMGlevels > 2) relaxCoarseLevels(b1, NoMGloops);
  relaxLevelInChunks(one.FirstCell, one.LastCell, Iter2DMG);
  for (int c = one.FirstCell; c <= one.LastCell; ++c) {
    const double v = Cf[c];
    for (int k = MGSCpoint[c][1]; k <= MGSCpoint[c][2]; ++k) Cf[k] = v;
  }
}

void additiveCorrection(int b1, const double *res) {
  const GridBlock &one = block[b1];
  for (int c = one.FirstCell; c <= one.LastCell; ++c) {
    const int first = MGSCpoint[c][1], last = MGSCpoint[c][2];
    columnCouplings(c, first, last);
    double sum = 0.0;
    for (int k = first; k <= last; ++k) sum += res[k];
    Cap[c] = levelDiagonal(c);
    Csource[c] = sum / (last - first + 1) * Cap[c];
    Cf[c] = 0.0;
    Cap[c] *= 2.0;
  }
  if (Flag2DAccSolver > 1) {
    for (int b = b1 + 1; b <= b1 + NoMGlevels - 2; ++b) {
      for (int c = block[b].FirstCell; c <= block[b].LastCell; ++c) {
        groupCouplings(c);
        Cap[c] = levelDiagonal(c);
        double ratio = 0.0;
        int n = 0;
        for (int e = 1; e <= 4; ++e) {
          const int f = MGSCpoint[c][e];
          if (f <= 0) continue;
          ratio += Csource[f] / Cap[f];
          ++n;
        }
        Csource[c] = Cap[c] / (n + 1e-20) * ratio;
        Cap[c] *= 2.0;
        Cf[c] = 0.0;
      }
    }
    relaxCoarseLevels(b1, NoMGloops);
  }
  Gauss2D(one.FirstCell, one.LastCell, 1);
  for (int c = one.FirstCell; c <= one.LastCell; ++c) {
    const double v = Cf[c];
    for (int k = MGSCpoint[c][1]; k <= MGSCpoint[c][2]; ++k) Cf[k] += v;
  }
}

}  // namespace

void AlgMGSolve() {
  const int b1 = firstLevelBlock();
  if (b1 == 0) return;
  Cae[0] = Caw[0] = Can[0] = Cas[0] = 0.0;
  if (Equation == 4) {
    pressureCorrection(b1);
  } else if (keepsResidualField(Equation)) {
    const double *res = residualField();
    if (res == nullptr) {
      fatalPrintf(kExitInconsistent, nullptr,
                  "Error for K 5 in control\nK 5 values 10 to 12 need F 153 1 for Equation %d\n\n", Equation);
    }
    additiveCorrection(b1, res);
  } else {
    return;
  }
  if (FlagSolverVertTDMA == 1) solverVertTDMA();
  if (FlagSolverVertTDMA == 2) solverTDMA();
}

void AlgMGResidual(int first, int last) {
  if (Equation == 4) {
    if (Cpres_res == nullptr) return;
    for (int c = first; c <= last; ++c) Cpres_res[c] = Csource[c];
    return;
  }
  double *res = residualField();
  if (FlagResidual != 1 || res == nullptr) return;
  for (int c = first; c <= last; ++c) {
    if (Cap[c] >= 1e15) {
      res[c] = 0.0;
      continue;
    }
    res[c] = (Cae[c] * Cf[Ccelle[c]] + Caw[c] * Cf[Ccellw[c]] + Can[c] * Cf[Ccelln[c]] + Cas[c] * Cf[Ccells[c]] +
              Csource[c] - Cap[c] * Cf[c]) /
             Cap[c];
  }
}
