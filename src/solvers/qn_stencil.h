// The horizontal neighbour terms of a cell on a grid of independently layered
// columns: a side that touches several cells of the next column sums its
// listed cells with their own coefficients, the other sides take the single
// neighbour. Shared by the point, Jacobi and line solvers.
#pragma once

#include "model/cells.h"

namespace qn_detail {

// One horizontal side of cell c: its single neighbour (and with Second the
// neighbour beyond it), or every listed cell q with the list's coefficients
// (and with Second the cell beyond q across the same side).
template <bool Second, class Field>
inline double sideTerm(const Field &f, int c, int count, int *const *list, double *const *coeff,
                       double *const *coeff2, const double *single, const double *single2, const int *across) {
  if (count == 0) {
    const int n = across[c];
    double sum = single[c] * f.load(n);
    if constexpr (Second) sum += single2[c] * f.load(across[n]);
    return sum;
  }
  double sum = 0.0;
  if (count < 0) return sum;
  const int q0 = list[c][0];
  const double *row = coeff[c];
  for (int m = 0; m < count; ++m) {
    sum += row[m] * f.load(q0 + m);
    if constexpr (Second) sum += coeff2[c][m] * f.load(across[q0 + m]);
  }
  return sum;
}

}  // namespace qn_detail

// The four horizontal sides of cell c in the order east, west, south, north.
template <bool Second, class Field>
inline double qnHorizontalTerms(const Field &f, int c) {
  using qn_detail::sideTerm;
  return sideTerm<Second>(f, c, Cncelle[c], Cqncelle, Cqnae, Cqnaee, Cae, Caee, Ccelle) +
         sideTerm<Second>(f, c, Cncellw[c], Cqncellw, Cqnaw, Cqnaww, Caw, Caww, Ccellw) +
         sideTerm<Second>(f, c, Cncells[c], Cqncells, Cqnas, Cqnass, Cas, Cass, Ccells) +
         sideTerm<Second>(f, c, Cncelln[c], Cqncelln, Cqnan, Cqnann, Can, Cann, Ccelln);
}

// The whole numerator of cell c: the horizontal sides, top, bottom and source.
template <bool Second, class Field>
inline double qnNumerator(const Field &f, int c) {
  return qnHorizontalTerms<Second>(f, c) + Cat[c] * f.load(Ccellt[c]) + Cab[c] * f.load(Ccellb[c]) + Csource[c];
}
