// The point update shared by the Gauss-Seidel solvers: the arrays of the
// current equation's stencil and the new value of a cell from its neighbours,
// with plain or relaxed atomic access to the arrays it reads and writes.
#pragma once

#include <atomic>

#include "model/cells.h"

// Array access of one thread alone: plain loads and stores.
struct OwnField {
  double *v;
  double load(int k) const { return v[k]; }
  void store(int k, double x) const { v[k] = x; }
};

// Array access while other threads relax the same array: a cell next to a
// share border reads cells another thread writes, so every access is one
// relaxed atomic load or store (a plain move on x86-64) and never sees a torn
// value.
struct SharedField {
  double *v;
  double load(int k) const { return std::atomic_ref<double>(v[k]).load(std::memory_order_relaxed); }
  void store(int k, double x) const { std::atomic_ref<double>(v[k]).store(x, std::memory_order_relaxed); }
};

// The arrays of the stencil, copied once per call so that the loops read
// locals only.
struct Stencil {
  const double *ap, *ae, *aw, *an, *as, *at, *ab, *src;
  const int *ne, *nw, *nn, *ns, *nt, *nb;
  const double *aee, *aww, *ann, *ass, *att, *abb;
};

inline Stencil currentStencil(bool secondOrder) {
  Stencil s{Cap, Cae, Caw, Can, Cas, Cat, Cab, Csource, Ccelle, Ccellw, Ccelln, Ccells, Ccellt, Ccellb,
            nullptr, nullptr, nullptr, nullptr, nullptr, nullptr};
  if (secondOrder) {
    s.aee = Caee;
    s.aww = Caww;
    s.ann = Cann;
    s.ass = Cass;
    s.att = Catt;
    s.abb = Cabb;
  }
  return s;
}

// The neighbour terms of cell c: the six sides, and with SecondOrder the
// neighbours' neighbours across the same sides. The horizontal sides and the
// top read `h`, `t` and `b` the top and bottom sides, so that one routine
// serves the in-place, Jacobi and column (upward, downward) forms alike.
template <bool SecondOrder, class H, class T, class B>
inline double neighbourTerms(const Stencil &s, const H &h, const T &t, const B &b, int c) {
  double sum = s.ae[c] * h.load(s.ne[c]) + s.aw[c] * h.load(s.nw[c]) + s.an[c] * h.load(s.nn[c]) +
               s.as[c] * h.load(s.ns[c]) + s.at[c] * t.load(s.nt[c]) + s.ab[c] * b.load(s.nb[c]);
  if constexpr (SecondOrder) {
    sum += s.aee[c] * h.load(s.ne[s.ne[c]]) + s.aww[c] * h.load(s.nw[s.nw[c]]) +
           s.ann[c] * h.load(s.nn[s.nn[c]]) + s.ass[c] * h.load(s.ns[s.ns[c]]) +
           s.att[c] * t.load(s.nt[s.nt[c]]) + s.abb[c] * b.load(s.nb[s.nb[c]]);
  }
  return sum;
}

// New value of cell c from its neighbours as they stand in f.
template <bool SecondOrder, class Field>
inline double relaxed(const Stencil &s, const Field &f, int c) {
  return (neighbourTerms<SecondOrder>(s, f, f, f, c) + s.src[c]) / s.ap[c];
}
