// Pressure-correction coefficients: for every face of the work range the link
// 1000·D·A² between the corrections of its two cells, D the interpolated
// CinvAp; written into Cas..Cat of both cells.
#include "flow/equation_terms/pressure_coefficients.h"

#include <algorithm>
#include <cmath>

#include "model/bed_cells.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/settings.h"
#include "model/threads.h"
#include "model/work_ranges.h"
#include "solvers/qn_neighbour_lists.h"

namespace {

// CinvAp at the face, each cell weighted by the other cell's distance.
inline double faceInvAp(int f, int c1, int c2) {
  return (Fdist1[f] * CinvAp[c2] + Fdist2[f] * CinvAp[c1]) / (Fdist1[f] + Fdist2[f]);
}

// Step 1 (F 184 1): 0.2 times the mean area of the interior i- and j-faces,
// a floor for the areas of small side faces; 0 when the range has none.
double referenceArea() {
  double sum = 0.0;
  int n = 0;
  for (int f = WFStart; f <= WFEnd; ++f) {
    if (Fcell1[f] > 0 && Fcell2[f] > 0 && (Ftype1[f] == 2 || Ftype1[f] == 3)) {
      sum += Farea[f];
      ++n;
    }
  }
  return n > 0 ? 0.2 * sum / n : 0.0;
}

// The coefficient arrays by side code; codes outside 1..6 name none.
struct Sides {
  double *a[7];
  void set(int side, int c, double v) const {
    if (side >= 1 && side <= 6) a[side][c] = v;
  }
};

// The face loop of one form, the same for every face: each face writes only
// its two (cell, side) entries, so the shares of the team run side by side.
template <class Form>
void faceLoop(Form form) {
  const Sides sides{{nullptr, Cas, Cae, Can, Caw, Cab, Cat}};
  forEachShare(WFStart, WFEnd, [&](int first, int last) {
    for (int f = first; f <= last; ++f) {
      const int c1 = Fcell1[f], c2 = Fcell2[f];
      const double a = (c1 <= 0 || c2 <= 0) ? 0.0 : form(f, c1, c2);
      sides.set(Ftype1[f], c1, a);
      sides.set(Ftype2[f], c2, a);
    }
  });
}

inline bool singleCellColumn(int c) { return Ccellb[c] == 0 && Ccellt[c] == 0; }

}  // namespace

void pressure_coeff() {
  if (FlagTFS2 == 1) {
    // Transient free surface: a moving level stores water, shared among the
    // cells of the column; stacked cells of one column carry consecutive
    // numbers and get none. A steady run stores nothing.
    const bool storage = TimeStep > 1e-8;
    const double perLevel = 0.125 / (TimeStep * 9.81);
    faceLoop([storage, perLevel](int f, int c1, int c2) {
      double a = 1000.0 * faceInvAp(f, c1, c2) * Farea[f] * Farea[f];
      if (storage && c1 != c2 - 1) {
        a += ((Farea[Cflatet[c2]] + Farea[Cflatet[c1]]) * perLevel) / Bnocells[Cbed[c1]];
      }
      return a;
    });
  } else {
    switch (FlagPCalg) {
      case 1: {
        const double Aref = referenceArea();
        faceLoop([Aref](int f, int c1, int c2) {
          const double A = std::max(Farea[f], Aref);
          return 1000.0 * faceInvAp(f, c1, c2) * A * A;
        });
        break;
      }
      case 3:
        faceLoop([](int f, int c1, int c2) {
          return 1000.0 * std::max(CinvAp[c1], CinvAp[c2]) * Farea[f] * Farea[f];
        });
        break;
      case 5:
        // The top face of the upper cell floors the area of thin faces.
        faceLoop([](int f, int c1, int c2) {
          const double A = std::max(Farea[f], 0.3 * Farea[Cflatet[c2]]);
          return 1000.0 * faceInvAp(f, c1, c2) * A * A;
        });
        break;
      case 2:
        // A side face of a one-cell column links at least as a shallow-water
        // wave would: A / sqrt(g·rho·h).
        faceLoop([](int f, int c1, int c2) {
          double a = 1000.0 * faceInvAp(f, c1, c2) * Farea[f] * Farea[f];
          if (Ftype1[f] <= 4 && (singleCellColumn(c1) || singleCellColumn(c2))) {
            a = std::max(a, Farea[f] / std::sqrt(9810.0 * Fdz[f]));
          }
          return a;
        });
        break;
      default:
        faceLoop([](int f, int c1, int c2) { return 1000.0 * faceInvAp(f, c1, c2) * Farea[f] * Farea[f]; });
        break;
    }
  }
  if (QNFlag >= 1) pressureCoeffQN();
}
