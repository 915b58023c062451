// The horizontal smoother of the depth-summed levels: serial symmetric
// Gauss-Seidel, Jacobi halves on the threads, the neighbour-list pass of
// independently layered grids and the chunked relaxation of a whole level.
#include "solvers/smoother_2d.h"

#include "model/cells.h"
#include "model/settings.h"
#include "model/run_state.h"
#include "model/threads.h"
#include "solvers/stencil.h"

namespace {

// The horizontal neighbour terms and the source of cell c, read from `h`.
template <bool SecondOrder, bool Source, class H>
inline double horizontalUpdate(const Stencil &s, const H &h, int c) {
  double sum = s.ae[c] * h.load(s.ne[c]) + s.aw[c] * h.load(s.nw[c]) + s.an[c] * h.load(s.nn[c]) +
               s.as[c] * h.load(s.ns[c]);
  if constexpr (SecondOrder) {
    sum += s.aee[c] * h.load(s.ne[s.ne[c]]) + s.aww[c] * h.load(s.nw[s.nw[c]]) +
           s.ann[c] * h.load(s.nn[s.nn[c]]) + s.ass[c] * h.load(s.ns[s.ns[c]]);
  }
  if constexpr (Source) sum += s.src[c];
  return sum / s.ap[c];
}

template <bool SecondOrder, bool Source, class Field>
void symmetricPasses(const Stencil &s, const Field &f, int first, int last, int sweeps) {
  for (int n = 0; n < sweeps; ++n) {
    for (int c = first; c <= last; ++c) f.store(c, horizontalUpdate<SecondOrder, Source>(s, f, c));
    for (int c = last; c >= first; --c) f.store(c, horizontalUpdate<SecondOrder, Source>(s, f, c));
  }
}

template <bool Source, class Field>
void serialPasses(int first, int last, int sweeps) {
  const bool secondOrder = sou[Equation] == 1;
  const Stencil s = currentStencil(secondOrder);
  const Field f{Cf};
  if (secondOrder) {
    symmetricPasses<true, Source>(s, f, first, last, sweeps);
  } else {
    symmetricPasses<false, Source>(s, f, first, last, sweeps);
  }
}

// One side of a cell on a neighbour-list grid: a count of 0 takes the
// ordinary neighbour, a positive count the listed cells with their own
// coefficients, a negative count nothing.
template <bool SecondOrder, class Field>
inline double listedSide(const Field &f, int c, int count, const int *next, double a, double aa, int **listed,
                         double **coeff, double **coeff2) {
  if (count == 0) {
    double v = a * f.load(next[c]);
    if constexpr (SecondOrder) v += aa * f.load(next[next[c]]);
    return v;
  }
  double v = 0.0;
  const int start = listed[c][0];
  for (int m = 0; m < count; ++m) {
    v += coeff[c][m] * f.load(start + m);
    if constexpr (SecondOrder) v += coeff2[c][m] * f.load(next[start + m]);
  }
  return v;
}

template <bool SecondOrder, class Field>
inline double listedUpdate(const Field &f, int c) {
  const bool so = SecondOrder;
  double v = Csource[c];
  v += listedSide<SecondOrder>(f, c, Cncelle[c], Ccelle, Cae[c], so ? Caee[c] : 0.0, Cqncelle, Cqnae, Cqnaee);
  v += listedSide<SecondOrder>(f, c, Cncellw[c], Ccellw, Caw[c], so ? Caww[c] : 0.0, Cqncellw, Cqnaw, Cqnaww);
  v += listedSide<SecondOrder>(f, c, Cncelln[c], Ccelln, Can[c], so ? Cann[c] : 0.0, Cqncelln, Cqnan, Cqnann);
  v += listedSide<SecondOrder>(f, c, Cncells[c], Ccells, Cas[c], so ? Cass[c] : 0.0, Cqncells, Cqnas, Cqnass);
  return v / Cap[c];
}

// F 137: one forward and one backward pass, whatever the sweep count.
template <bool SecondOrder, class Field>
void listedPass(int first, int last) {
  const Field f{Cf};
  for (int c = first; c <= last; ++c) f.store(c, listedUpdate<SecondOrder>(f, c));
  for (int c = last; c >= first; --c) f.store(c, listedUpdate<SecondOrder>(f, c));
}

template <class Field>
void listedPasses(int first, int last) {
  if (sou[Equation] == 1) {
    listedPass<true, Field>(first, last);
  } else {
    listedPass<false, Field>(first, last);
  }
}

template <bool SecondOrder>
void jacobiHalf(const Stencil &s, const double *from, double *to, int first, int last) {
  const OwnField h{const_cast<double *>(from)};
  for (int c = first; c <= last; ++c) to[c] = horizontalUpdate<SecondOrder, true>(s, h, c);
}

// F 164 27: the whole sweep loop in one region, each thread on its static
// share, Cfn from Cf and back, the threads meeting after each half.
template <bool SecondOrder>
void jacobiInOneRegion(int first, int last, int sweeps) {
  const Stencil s = currentStencil(SecondOrder);
  onEveryThread([&](int thread, int threads) {
    const IndexChunk share = shareOf(first, last, threads, thread);
    for (int n = 0; n < sweeps; ++n) {
      jacobiHalf<SecondOrder>(s, Cf, Cfn, share.first, share.last);
      teamBarrier();
      jacobiHalf<SecondOrder>(s, Cfn, Cf, share.first, share.last);
      teamBarrier();
    }
  });
}

// F 164 29, 30, 33 on large ranges: two fork-join regions per sweep.
void jacobiInRegions(int first, int last, int sweeps) {
  const Stencil s = currentStencil(false);
  for (int n = 0; n < sweeps; ++n) {
    forEachThreadShare(first, last, [&](int a, int b) { jacobiHalf<false>(s, Cf, Cfn, a, b); });
    forEachThreadShare(first, last, [&](int a, int b) { jacobiHalf<false>(s, Cfn, Cf, a, b); });
  }
}

// The serial forms, with plain or relaxed atomic access to the field.
template <class Field>
void serialGauss2D(int first, int last, int sweeps) {
  if (QNFlag == 0) {
    serialPasses<true, Field>(first, last, sweeps);
  } else {
    listedPasses<Field>(first, last);
  }
}

}  // namespace

void Gauss2D(int first, int last, int sweeps) {
  const bool secondOrder = sou[Equation] == 1;
  // The levels link only cells of their own range, and the dummy cell reads
  // the same value in both halves of a Jacobi sweep.
  if (FlagRapSolver == 27) {
    Cfn[0] = Cf[0];
    if (secondOrder) {
      jacobiInOneRegion<true>(first, last, sweeps);
    } else {
      jacobiInOneRegion<false>(first, last, sweeps);
    }
    return;
  }
  if ((FlagRapSolver == 29 || FlagRapSolver == 30 || FlagRapSolver == 33) && last - first > 300 && !secondOrder) {
    Cfn[0] = Cf[0];
    jacobiInRegions(first, last, sweeps);
    return;
  }
  serialGauss2D<OwnField>(first, last, sweeps);
}

void Gauss2Dresi(int first, int last, int sweeps) {
  if (QNFlag != 0) return;
  serialPasses<false, OwnField>(first, last, sweeps);
}

void relaxLevelInChunks(int first, int last, int sweeps) {
  if (NoProcessesSolver == 0 || FlagOpenMP[8] == 1 || FlagRapSolver > 26) {
    Gauss2D(first, last, sweeps);
    return;
  }
  // F 164 is at most 26 here, so every chunk takes the serial form.
  forEachChunk(first, last, [sweeps](int a, int b) { serialGauss2D<SharedField>(a, b, sweeps); });
}
