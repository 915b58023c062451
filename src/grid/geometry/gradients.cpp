// Cell gradients and column interpolation. Neighbouring columns hold
// different numbers of cells, so a horizontal neighbour is brought to the
// level of the cell by interpolation in its column before the difference is
// taken; the differences become Cartesian components through the face area
// vectors (the divergence theorem over the cell). Nothing is written.
#include "grid/geometry/gradients.h"

#include <algorithm>
#include <cmath>

#include "model/bed_cells.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/settings.h"

namespace {

// Central difference when both neighbours exist, one-sided (not halved) when
// one does, 0 when none; the neighbour values are read only where they exist.
template <class Plus, class Minus>
double difference(int plus, Plus vPlus, int minus, Minus vMinus, double own) {
  if (plus > 0 && minus > 0) return 0.5 * (vPlus() - vMinus());
  if (plus > 0) return vPlus() - own;
  if (minus > 0) return own - vMinus();
  return 0.0;
}

// The bottom cell of the column of c.
int bottomOf(int c) { return Bcellt[Cbed[c]]; }

// The horizontal neighbours of c, each replaced where it is missing.
struct Sides {
  int e, w, n, s;
};

Sides ownSides(int c) { return {Ccelle[c], Ccellw[c], Ccelln[c], Ccells[c]}; }

// A missing side is taken from the bottom cell of the column, which may reach
// further (a cell above the bed of a shallower neighbour column).
Sides bottomFallback(int c) {
  Sides s = ownSides(c);
  const int b = bottomOf(c);
  if (s.e == 0) s.e = Ccelle[b];
  if (s.w == 0) s.w = Ccellw[b];
  if (s.n == 0) s.n = Ccelln[b];
  if (s.s == 0) s.s = Ccells[b];
  return s;
}

// The x (direction 1) or y (direction 2) components of the face vectors.
const double *component(const double *x, const double *y, int direction) { return direction == 1 ? x : y; }

// 0.5 ((A_e + A_w) Di + (A_n + A_s) Dj): the east and west face vectors both
// point towards increasing i, so their mean is the cross-section of the cell.
double horizontal(const double *a, int c, double di, double dj) {
  return 0.5 * ((a[Cflatee[c]] + a[Cflatew[c]]) * di + (a[Cflaten[c]] + a[Cflates[c]]) * dj);
}

double vertical(const double *field, int c) {
  const int t = Ccellt[c], b = Ccellb[c];
  return difference(t, [&] { return field[t]; }, b, [&] { return field[b]; }, field[c]);
}

// The differences along i and j with interpolated neighbour values.
void interpolatedDifferences(const double *field, int c, const Sides &s, double &di, double &dj) {
  di = difference(s.e, [&] { return interpolatevalue(field, c, s.e); }, s.w,
                  [&] { return interpolatevalue(field, c, s.w); }, field[c]);
  dj = difference(s.n, [&] { return interpolatevalue(field, c, s.n); }, s.s,
                  [&] { return interpolatevalue(field, c, s.s); }, field[c]);
}

void plainDifferences(const double *field, int c, double &di, double &dj) {
  const int e = Ccelle[c], w = Ccellw[c], n = Ccelln[c], s = Ccells[c];
  di = difference(e, [&] { return field[e]; }, w, [&] { return field[w]; }, field[c]);
  dj = difference(n, [&] { return field[n]; }, s, [&] { return field[s]; }, field[c]);
}

// Pressure differences with interpolated neighbour values.
void pressureDifferences(int c, const Sides &s, double &di, double &dj) {
  di = difference(s.e, [&] { return interpolatePres(c, s.e); }, s.w, [&] { return interpolatePres(c, s.w); },
                  Cpres[c]);
  dj = difference(s.n, [&] { return interpolatePres(c, s.n); }, s.s, [&] { return interpolatePres(c, s.s); },
                  Cpres[c]);
}

// The pressure force of differences di, dj, dk: horizontal through the face
// vectors, vertical through the top face.
double pressureForce(int direction, int c, double di, double dj, double dk, bool withVertical) {
  if (direction == 3) return dk * Faz[Cflatet[c]];
  if (direction != 1 && direction != 2) return 0.0;
  const double *a = component(Fax, Fay, direction);
  double g = horizontal(a, c, di, dj);
  if (withVertical) g += 0.5 * (a[Cflateb[c]] + a[Cflatet[c]]) * dk;
  return g;
}

// Vertical difference from the cells numbered next to c, which stand above
// and below it inside a column.
double numberedVertical(const double *field, int c) {
  return difference(Ccellt[c], [&] { return field[c + 1]; }, Ccellb[c], [&] { return field[c - 1]; }, field[c]);
}

// Neighbours of the hydrostatic blends: along i a cell above the bed takes a
// missing side from the bottom cell of its column, along j every cell does
// (for the bottom cell itself both are its own sides).
Sides antiSides(int c) { return bottomFallback(c); }

// The j difference of the blends: interpolated where both sides exist,
// plain one-sided differences otherwise.
double antiDj(int c, const Sides &s) {
  if (s.n > 0 && s.s > 0) return 0.5 * (interpolatePres(c, s.n) - interpolatePres(c, s.s));
  return difference(s.n, [&] { return Cpres[s.n]; }, s.s, [&] { return Cpres[s.s]; }, Cpres[c]);
}

double plainPressureDi(int c, const Sides &s) {
  return difference(s.e, [&] { return Cpres[s.e]; }, s.w, [&] { return Cpres[s.w]; }, Cpres[c]);
}

}  // namespace

double interpolatevaluez(const double *f, int n, double z) {
  const double zn = Czcenter[n];
  if (zn > z) {
    if (Ccellb[n] == 0) return f[n];
    int m = n;
    while (Czcenter[m] >= z && Ccellb[m] > 0) m = Ccellb[m];
    const double w = (z - Czcenter[m]) / (Ckdist[m] + Ckdist[m + 1]);
    return (1.0 - w) * f[m] + w * f[m + 1];
  }
  if (zn < z) {
    if (Ccellt[n] == 0) return f[n];
    int m = n;
    while (Czcenter[m] <= z && Ccellt[m] > 0) m = Ccellt[m];
    const double w = (Czcenter[m] - z) / (Ckdist[m] + Ckdist[m - 1]);
    return w * f[m - 1] + (1.0 - w) * f[m];
  }
  return f[n];
}

double interpolatevalue(const double *f, int c, int n) { return interpolatevaluez(f, n, Czcenter[c]); }

double interpolatePres(int c, int n) {
  const double z = Czcenter[c], zn = Czcenter[n];
  if (zn > z) {
    if (Ccellb[n] == 0) return Cpres[n];
    int m = n;
    while (Czcenter[m] >= z && Ccellb[m] > 0) m = Ccellb[m];
    const int up = Ccellt[m] > 0 ? Ccellt[m] : m;
    const double w = (z - Czcenter[m]) / (Ckdist[m] + Ckdist[up]);
    return (1.0 - w) * Cpres[m] + w * Cpres[up];
  }
  if (zn < z) {
    // Above the centre of a top cell the pressure falls to 0 at the surface.
    if (Ccellt[n] == 0) return Cpres[n] * std::max(0.0, Ckdist[n] - (z - zn)) / Ckdist[n];
    int m = n;
    while (Czcenter[m] <= z && Ccellt[m] > 0) m = Ccellt[m];
    const int down = Ccellb[m];
    const double w = (Czcenter[m] - z) / (Ckdist[m] + Ckdist[down]);
    return w * Cpres[down] + (1.0 - w) * Cpres[m];
  }
  return Cpres[n];
}

double d_dx_orth_x(const double *field, int direction, int c) {
  if (direction == 1 || direction == 2) {
    double di, dj;
    interpolatedDifferences(field, c, bottomFallback(c), di, dj);
    return horizontal(component(Fax, Fay, direction), c, di, dj) / Cvol[c];
  }
  if (direction != 3) return 0.0;
  const int t = Ccellt[c], b = Ccellb[c];
  if (t > 0 && b > 0) return (field[t] - field[b]) / (Ckdist[t] + Ckdist[b] + 2.0 * Ckdist[c]);
  if (t > 0) return (field[t] - field[c]) / (Ckdist[t] + Ckdist[c]);
  if (b > 0) return (field[c] - field[b]) / (Ckdist[b] + Ckdist[c]);
  return 0.0;
}

double d_di_orth_x(const double *field, int direction, int c) {
  if (direction == 1 || direction == 2) {
    double di, dj;
    interpolatedDifferences(field, c, bottomFallback(c), di, dj);
    return horizontal(component(Fvx, Fvy, direction), c, di, dj);
  }
  return direction == 3 ? vertical(field, c) : 0.0;
}

double d_di_orth_xA(const double *field, int direction, int c) {
  if (direction == 1 || direction == 2) {
    const Sides s = bottomFallback(c);
    const double di = difference(s.e, [&] { return interpolatevalue(field, c, s.e); }, s.w,
                                 [&] { return interpolatevalue(field, c, s.w); }, field[c]);
    double dj;
    if (Ccellt[c] > 0 && Ccellb[c] > 0) {
      dj = difference(s.n, [&] { return interpolatevalue(field, c, s.n); }, s.s,
                      [&] { return interpolatevalue(field, c, s.s); }, field[c]);
    } else {
      // A bottom or top cell takes its own j neighbours as they are.
      const int n = Ccelln[c], so = Ccells[c];
      dj = difference(n, [&] { return field[n]; }, so, [&] { return field[so]; }, field[c]);
    }
    return horizontal(component(Fax, Fay, direction), c, di, dj);
  }
  return direction == 3 ? vertical(field, c) * Faz[Cflatet[c]] : 0.0;
}

double d_di_orth_Pres(int direction, int c) {
  Sides s = ownSides(c);
  if (Ccellb[c] > 0) {
    // Above the bed: the cell above the bottom cell's neighbour (0 when that
    // column has a single cell; the dummy cell 0 has no cell above).
    const int b = bottomOf(c);
    if (s.e == 0) s.e = Ccellt[Ccelle[b]];
    if (s.w == 0) s.w = Ccellt[Ccellw[b]];
    if (s.n == 0) s.n = Ccellt[Ccelln[b]];
    if (s.s == 0) s.s = Ccellt[Ccells[b]];
  }
  double di, dj;
  pressureDifferences(c, s, di, dj);
  return pressureForce(direction, c, di, dj, vertical(Cpres, c), false);
}

double d_di_anti_Pres(int direction, int c) {
  const Sides s = antiSides(c);
  double dk = vertical(Cpres, c);
  double di;
  if (s.e > 0 && s.w > 0) {
    // The bed slope across the cell, between the bottom cells of the two
    // neighbour columns over four half widths, moves the blend from the
    // interpolated difference towards the difference along the grid line.
    const int be = bottomOf(s.e), bw = bottomOf(s.w), bc = bottomOf(c);
    const double r =
        (CoeffPresSource - std::fabs(Czcenter[be] - Czcenter[bw]) / (4.0 * Cidist[bc])) / CoeffPresSource;
    const double a = std::max(0.0, r);
    double dI = interpolatePres(c, s.e) - interpolatePres(c, s.w);
    const double dP = Cpres[s.e] - Cpres[s.w];
    if (FlagPresSource == 10) {
      dI = 0.5 * dI + 0.5 * dP;
    } else if (FlagPresSource == 11) {
      dk *= 1.0 - a;
    } else if (FlagPresSource == 12) {
      const double t = 2.0 * (-0.7 - Fvx[Cflatet[c]]);
      if (t < 0.0) {
        dk = 0.0;
      } else if (t <= 1.0) {
        dk *= t;
      }
    } else {
      dk = 0.0;
    }
    di = 0.5 * (a * dI + (1.0 - a) * dP);
  } else {
    di = plainPressureDi(c, s);
  }
  return pressureForce(direction, c, di, antiDj(c, s), dk, true);
}

double d_di_anti_Pres2(int direction, int c) {
  const Sides s = antiSides(c);
  double dk = vertical(Cpres, c);
  double di;
  if (s.e > 0 && s.w > 0) {
    // The tilt of the top face sets the weight of the plain difference.
    const double nx = Fvx[Cflatet[c]];
    double g;
    if (FlagPresSource == 20) {
      g = 2.0 * (-nx - CoeffPresSource);
      if (g < 0.0) {
        g = 0.0;
        dk = 0.0;
      } else if (g > 1.0) {
        g = 1.0;
      } else {
        dk *= std::fabs(g);
      }
    } else if (FlagPresSource == 21) {
      if (nx < 0.0) {
        g = -nx;
        dk *= std::fabs(nx);
      } else {
        g = 0.0;
        dk = 0.0;
      }
    } else if (FlagPresSource == 22) {
      g = -nx;
      dk *= std::fabs(nx);
    } else {
      g = std::fabs(nx);
      dk *= std::fabs(nx);
    }
    di = 0.5 * ((interpolatePres(c, s.e) - interpolatePres(c, s.w)) * (1.0 - g) + (Cpres[s.e] - Cpres[s.w]) * g);
  } else {
    di = plainPressureDi(c, s);
  }
  return pressureForce(direction, c, di, antiDj(c, s), dk, true);
}

double d_di_orth_Pres2(int direction, int c) {
  double di, dj;
  pressureDifferences(c, ownSides(c), di, dj);
  return pressureForce(direction, c, di, dj, vertical(Cpres, c), false);
}

double d_diA(const double *field, int direction, int c) {
  if (direction == 1 || direction == 2) {
    double di, dj;
    plainDifferences(field, c, di, dj);
    return horizontal(component(Fax, Fay, direction), c, di, dj);
  }
  return direction == 3 ? numberedVertical(field, c) * Faz[Cflateb[c]] : 0.0;
}

double d_dx(const double *field, int direction, int c) {
  if (direction == 1 || direction == 2) {
    double di, dj;
    plainDifferences(field, c, di, dj);
    return horizontal(component(Fax, Fay, direction), c, di, dj) / Cvol[c];
  }
  return direction == 3 ? numberedVertical(field, c) / (2.0 * Ckdist[c]) : 0.0;
}

// Full differences (twice the half differences above) with a quarter weight.
double d_dxg(const double *field, int direction, int c) {
  if (direction == 1 || direction == 2) {
    double di, dj;
    plainDifferences(field, c, di, dj);
    const double *a = component(Fax, Fay, direction);
    return 0.25 * ((a[Cflatee[c]] + a[Cflatew[c]]) * 2.0 * di + (a[Cflaten[c]] + a[Cflates[c]]) * 2.0 * dj) /
           Cvol[c];
  }
  return direction == 3 ? 0.5 * Faz[Cflateb[c]] * 2.0 * vertical(field, c) / Cvol[c] : 0.0;
}
