// The depth-summed accelerator: column sums of the current equation on the
// two-dimensional block (each cell's column in MGSCpoint entries 1 and 2),
// 2x2 sums on the coarser levels, relaxation from the coarsest level down
// and the correction of the columns.
#include "solvers/depth_summed_accelerator.h"

#include <algorithm>

#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "solvers/smoother_2d.h"

namespace {

// The two-dimensional block: the first block with a positive BlockKind.
int twoDimensionalBlock() {
  for (int b = 1; b < kMaxBlocks; ++b) {
    if (block[b].BlockKind > 0) return b;
  }
  return NoBlocks + 1;
}

// The last coarse level block after b2 that `levels` levels reach: levels
// are counted from the block itself and end at the first record that holds
// no level.
int lastLevelBlock(int b2, int levels) {
  int b = b2;
  while (b + 1 < kMaxBlocks && b + 1 - b2 < levels && block[b + 1].BlockKind == 2 && block[b + 1].GridLevel > 2) ++b;
  return b;
}

double couplings(int c) { return Cae[c] + Caw[c] + Can[c] + Cas[c]; }

// The column sums of the coefficients and source onto cell m; with the
// diagonal also summed when `withDiagonal`.
void columnSums(int m, bool withDiagonal) {
  double ae = 0.0, aw = 0.0, an = 0.0, as = 0.0, src = 0.0, ap = 0.0;
  for (int k = MGSCpoint[m][1]; k <= MGSCpoint[m][2]; ++k) {
    ae += Cae[k];
    aw += Caw[k];
    an += Can[k];
    as += Cas[k];
    src += Csource[k];
    ap += Cap[k];
  }
  Cae[m] = ae;
  Caw[m] = aw;
  Can[m] = an;
  Cas[m] = as;
  Csource[m] = src;
  if (withDiagonal) Cap[m] = ap;
}

void groupSums(int c, bool withDiagonal) {
  const int *f = MGSCpoint[c];
  double src = 0.0, ap = 0.0;
  for (int e = 1; e <= 4; ++e) {
    if (f[e] <= 0) continue;
    src += Csource[f[e]];
    ap += Cap[f[e]];
  }
  Csource[c] = src;
  if (withDiagonal) Cap[c] = ap;
  Caw[c] = Caw[f[1]] + Caw[f[2]];
  Cas[c] = Cas[f[1]] + Cas[f[4]];
  Can[c] = Can[f[2]] + Can[f[3]];
  Cae[c] = Cae[f[3]] + Cae[f[4]];
}

// A level cell without couplings keeps the value 0.
double levelDiagonal(int c) {
  const double sum = couplings(c);
  return sum < 1e-15 ? 1e20 : sum;
}

template <class Blend>
void relaxDownwards(int b2, int top, int sweeps, Blend blend) {
  for (int b = top; b >= b2 + 1; --b) {
    if (block[b].GridLevel <= 0) continue;
    Gauss2D(block[b].FirstCell, block[b].LastCell, sweeps);
    for (int c = block[b].FirstCell; c <= block[b].LastCell; ++c) {
      for (int e = 1; e <= 4; ++e) {
        const int f = MGSCpoint[c][e];
        if (f > 0) Cf[f] = blend(Cf[c], Cf[f]);
      }
    }
  }
}

double *solutionField(double *&residual) {
  switch (Equation) {
    case 1: residual = Cxvel_res; return Cxvel;
    case 2: residual = Cyvel_res; return Cyvel;
    case 3: residual = Czvel_res; return Czvel;
    case 5: residual = Ckinen_res; return Ckinen;
    case 6: residual = Cepsilon_res; return Cepsilon;
    default: residual = nullptr; return nullptr;
  }
}

}  // namespace

void Acc2D() {
  const int b2 = twoDimensionalBlock();
  const GridBlock &level = block[b2];
  Cae[0] = Caw[0] = Can[0] = Cas[0] = 0.0;
  for (int m = level.FirstCell; m <= level.LastCell; ++m) {
    columnSums(m, false);
    Cf[m] = 0.0;
    Cap[m] = levelDiagonal(m);
  }
  if (Flag2DAccSolver > 1) {
    const int top = lastLevelBlock(b2, Flag2DAccSolver);
    for (int b = b2 + 1; b <= top; ++b) {
      for (int c = block[b].FirstCell; c <= block[b].LastCell; ++c) {
        groupSums(c, false);
        Cf[c] = 0.0;
        Cap[c] = levelDiagonal(c);
      }
    }
    relaxDownwards(b2, top, 1, [](double parent, double) { return parent; });
  }
  Gauss2D(level.FirstCell, level.LastCell, 1);
  for (int m = level.FirstCell; m <= level.LastCell; ++m) {
    for (int k = MGSCpoint[m][1]; k <= MGSCpoint[m][2]; ++k) Cf[k] = Cf[m];
  }
}

void Acc2Dcoeff(int levels) {
  const int b2 = twoDimensionalBlock();
  const GridBlock &level = block[b2];
  const int l = std::min(levels, Flag2DAccSolver);
  for (int m = level.FirstCell; m <= level.LastCell; ++m) columnSums(m, true);
  const int top = l >= 2 ? lastLevelBlock(b2, l) : b2;
  for (int b = b2 + 1; b <= top; ++b) {
    for (int c = block[b].FirstCell; c <= block[b].LastCell; ++c) groupSums(c, true);
  }
  for (int b = b2; b <= top; ++b) {
    for (int c = block[b].FirstCell; c <= block[b].LastCell; ++c) Cap[c] += couplings(c);
  }
}

void Acc2Dsolver(int levels) {
  double *residual = nullptr;
  double *field = solutionField(residual);
  if (field == nullptr || residual == nullptr) return;
  const int b2 = twoDimensionalBlock();
  const GridBlock &level = block[b2];
  const int l = std::min(levels, Flag2DAccSolver);
  for (int m = level.FirstCell; m <= level.LastCell; ++m) {
    const int first = MGSCpoint[m][1], last = MGSCpoint[m][2];
    double sum = 0.0;
    for (int k = first; k <= last; ++k) sum += residual[k];
    residual[m] = sum / (last - first + 1);
  }
  double *const solved = Cf;
  Cf = residual;
  if (l > 1) {
    const int top = lastLevelBlock(b2, l);
    for (int b = b2 + 1; b <= top; ++b) {
      for (int c = block[b].FirstCell; c <= block[b].LastCell; ++c) {
        double sum = 0.0;
        int n = 0;
        for (int e = 1; e <= 4; ++e) {
          const int f = MGSCpoint[c][e];
          if (f <= 0) continue;
          sum += residual[f];
          ++n;
        }
        residual[c] = n > 0 ? sum / n : 0.0;
      }
    }
    relaxDownwards(b2, top, 5, [](double parent, double own) { return 0.5 * parent + 0.5 * own; });
  }
  Gauss2D(level.FirstCell, level.LastCell, 1);
  Cf = solved;
  for (int m = level.FirstCell; m <= level.LastCell; ++m) {
    for (int k = MGSCpoint[m][1]; k <= MGSCpoint[m][2]; ++k) field[k] += residual[m];
  }
}
