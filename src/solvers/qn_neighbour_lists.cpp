// Coefficients and point relaxation over the neighbour lists of independently
// layered columns: the top cell of a short column faces several cells of a
// taller neighbour, each with a coefficient of its own in Cqnae..Cqnas.
#include "solvers/qn_neighbour_lists.h"

#include <algorithm>
#include <cmath>

#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/threads.h"
#include "model/work_ranges.h"
#include "solvers/qn_stencil.h"
#include "solvers/stencil.h"

namespace {

// The second-order weight of a listed cell is raised by this factor when the
// listed cell has a neighbour back toward the short column.
constexpr double kBackNeighbourFactor = 1.33;

// One horizontal side of a cell as the lists see it: the count and list of
// the side, its coefficient rows, the single coefficients of the cell and of
// a listed cell toward the cell, the listed cell's face toward the cell, its
// neighbour away from the cell and back toward it.
struct ListSide {
  int *count;
  int **list;
  double **row, **row2;
  double *single;       // the cell's own coefficient on this side
  double *opposite;     // a listed cell's coefficient toward the cell
  int *faceToward;      // a listed cell's face toward the cell
  int *away, *back;     // a listed cell's neighbours away from and back toward the cell
  bool cellFirst;       // the cell is Fcell1 of the listed cells' faces (east, north)
};

// East, west, north, south: the order of the builders.
ListSide listSides(int s) {
  switch (s) {
    case 0: return {Cncelle, Cqncelle, Cqnae, Cqnaee, Cae, Caw, Cflatew, Ccelle, Ccellw, true};
    case 1: return {Cncellw, Cqncellw, Cqnaw, Cqnaww, Caw, Cae, Cflatee, Ccellw, Ccelle, false};
    case 2: return {Cncelln, Cqncelln, Cqnan, Cqnann, Can, Cas, Cflates, Ccelln, Ccells, true};
    default: return {Cncells, Cqncells, Cqnas, Cqnass, Cas, Can, Cflaten, Ccells, Ccelln, false};
  }
}

inline double powerLaw(double Pe) {
  if (Pe > 20.0) return 0.0;
  const double b = 1.0 - 0.1 * Pe;
  return b > 0.0 ? b * b * b * b * b : 0.0;
}

// Diffusion of the face between cell c and listed cell nb, damped by the
// power law of its Peclet number; each cell weighted by the other's distance
// as the face's first and second cell.
inline double listedDiffusion(int f, int c, int nb, double F) {
  const double d1 = Fdist1[f], d2 = Fdist2[f];
  const double inv = 1.0 / (d1 + d2 + 1e-20);
  const double G = (d2 * Cgamma[c] + d1 * Cgamma[nb]) * inv;
  const double D = Farea[f] * G * inv;
  return D * powerLaw(std::fabs(F / (D + 1e-20)));
}

// Flow toward the cell is negative through east and north faces (the cell is
// their first cell) and positive through west and south faces.
void buildSide(const ListSide &s, int c, bool secondOrder) {
  const int n = s.count[c];
  if (n <= 0) return;
  const int first = s.list[c][0];
  const double sign = s.cellFirst ? -1.0 : 1.0;
  for (int m = 0; m < n; ++m) {
    const int nb = first + m;
    const int f = s.faceToward[nb];
    const double F = Fflux[f];
    const double Dn = listedDiffusion(f, c, nb, F);
    const double inflow = sign * F;  // positive when the water comes from nb
    if (!secondOrder) {
      s.row[c][m] = Dn + std::max(inflow, 0.0);
      s.opposite[nb] = std::max(-inflow, 0.0) + Dn;
      continue;
    }
    if (!(inflow > 0.0)) {
      s.row[c][m] = Dn;
      s.row2[c][m] = 0.0;
      continue;
    }
    const int UU = s.away[nb];
    if (UU == 0) {
      s.row[c][m] = Dn + inflow;
      s.row2[c][m] = 0.0;
      continue;
    }
    double w = (2.0 * Cidist[nb] + Cidist[UU]) / (Cidist[nb] + Cidist[UU]);
    s.row2[c][m] = -(w - 1.0) * inflow;
    if (s.back[nb] > 0) w *= kBackNeighbourFactor;
    s.row[c][m] = Dn + inflow * w;
  }
  s.single[c] = 0.0;
}

void listCoefficients() {
  const bool secondOrder = sou[Equation] == 1 && Cqnaee != nullptr;
  ListSide sides[4];
  for (int s = 0; s < 4; ++s) sides[s] = listSides(s);
  for (int c = WCStart; c <= WCEnd; ++c) {
    for (const ListSide &s : sides) buildSide(s, c, secondOrder);
  }
}

template <bool Second, class Field>
void symmetricPass(const Field &f, int first, int last) {
  for (int c = first; c <= last; ++c) f.store(c, qnNumerator<Second>(f, c) / Cap[c]);
  for (int c = last; c >= first; --c) f.store(c, qnNumerator<Second>(f, c) / Cap[c]);
}

// The second-neighbour form needs the second rows of both kinds.
bool secondOrderKernel() { return sou[Equation] == 1 && Caee != nullptr && Cqnaee != nullptr; }

template <class Field>
void relaxQN(int first, int last) {
  const Field f{Cf};
  if (secondOrderKernel()) {
    symmetricPass<true>(f, first, last);
  } else {
    symmetricPass<false>(f, first, last);
  }
}

template <bool Second>
void jacobiSteps(int first, int last) {
  for (int c = first; c <= last; ++c) CnInvAp[c] = 1.0 / Cap[c];
  const OwnField f{Cf};
  for (int step = 0; step < 2; ++step) {
    for (int c = first; c <= last; ++c) Cfn[c] = qnNumerator<Second>(f, c) * CnInvAp[c];
    std::copy(Cfn + first, Cfn + last + 1, Cf + first);
  }
}

// CinvAp at the face between c1 and c2, each weighted by the other's distance.
inline double faceInvAp(int f, int c1, int c2) {
  return (Fdist1[f] * CinvAp[c2] + Fdist2[f] * CinvAp[c1]) / (Fdist1[f] + Fdist2[f]);
}

}  // namespace

void QNGridCoeff() {
  if (QNFlag != 0) listCoefficients();
}

void GaussQN(int first, int last, int) {
  if (first > last) return;
  relaxQN<OwnField>(first, last);
}

void GaussQNShared(int first, int last) {
  if (first > last) return;
  relaxQN<SharedField>(first, last);
}

void GaussNQN(int first, int last) {
  if (first > last) return;
  if (secondOrderKernel()) {
    jacobiSteps<true>(first, last);
  } else {
    jacobiSteps<false>(first, last);
  }
}

// Each listed cell k links to c by 1000·D·A² of its own face; the cell's
// single coefficient on the side gives way to the list.
void pressureCoeffQN() {
  ListSide sides[4];
  for (int s = 0; s < 4; ++s) sides[s] = listSides(s);
  for (int c = WCStart; c <= WCEnd; ++c) {
    for (const ListSide &side : sides) {
      const int n = side.count[c];
      if (n <= 0) continue;
      const int first = side.list[c][0];
      for (int m = 0; m < n; ++m) {
        const int k = first + m;
        const int f = side.faceToward[k];
        const double D = side.cellFirst ? faceInvAp(f, c, k) : faceInvAp(f, k, c);
        const double a = 1000.0 * D * Farea[f] * Farea[f];
        side.opposite[k] = a;
        side.row[c][m] = a;
      }
      side.single[c] = 0.0;
    }
  }
}
