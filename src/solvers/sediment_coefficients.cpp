// Coefficients of the suspended-sediment equation: the face builders of one
// and of several grain sizes, the horizontal rebuild and the bed-load
// deflection. Writes the shared Cas..Cat (and Caee..Cabb with scheme 1) and
// the per-size rows Capm, Catm, Cabm, Caem, Cawm, Canm, Casm.
#include "solvers/sediment_coefficients.h"

#include <algorithm>
#include <cmath>

#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "solvers/coefficients.h"
#include "solvers/qn_neighbour_lists.h"

namespace {

// The coefficient rows by side code 1 south .. 6 top; other codes name none.
struct Rows {
  double *a[7];
  void set(int side, int c, double v) const {
    if (side >= 1 && side <= 6) a[side][c] = v;
  }
};

Rows sharedRows() { return {{nullptr, Cas, Cae, Can, Caw, Cab, Cat}}; }
// The sides shared by all sizes, the vertical rows of size l.
Rows sizeVerticalRows(int l) { return {{nullptr, Cas, Cae, Can, Caw, Cabm[l], Catm[l]}}; }
Rows sizeRows(int l) { return {{nullptr, Casm[l], Caem[l], Canm[l], Cawm[l], Cabm[l], Catm[l]}}; }

// A face between a lower and an upper cell: the side code 6 on either cell.
inline bool verticalFace(int f) { return Ftype1[f] == 6 || Ftype2[f] == 6; }

// The settings of the sediment diffusion, read once before a face loop.
struct Settings {
  bool constantViscosity;  // TurbulenceModel 6: TCvert / TChoriz
  bool minimumOnVertical;  // TurbDensFlag 3: MinGamma on vertical faces
  bool turbDens;           // TurbDensFlag 1: stratification damps the vertical diffusion
  double minGamma, tdVert, tdHoriz, invSchmidt;
};

Settings settings() {
  return {TurbulenceModel == 6, TurbDensFlag == 3, TurbDensFlag == 1, MinGamma, TDCvert, TDChoriz, 1.0 / Schmidt};
}

// The eddy diffusion of one interior face, D = area · G / distance. The
// sediment keeps G unclamped: MinGamma enters as the floor of the damping.
struct Diffusion {
  double D, G;
};

inline Diffusion faceDiffusion(const Settings &s, int f, int c1, int c2, bool vertical) {
  const double inv = 1.0 / (Fdist1[f] + Fdist2[f] + 1e-20);
  double G = faceDiffusivity(f, c1, c2, vertical, s.constantViscosity);
  if (s.minimumOnVertical && vertical) G = s.minGamma;
  return {Farea[f] * G * inv, G};
}

// The face flux the sediment sees: on vertical faces the grains sink through
// the water at their fall velocity, 1000·w·Faz kg/s less than the water.
inline double sedimentFlux(int f, double settling) {
  return verticalFace(f) ? Fflux[f] - settling * Faz[f] : Fflux[f];
}

// Power law: upwind convection of the sediment flux plus the diffusion,
// damped on vertical faces by the Peclet number of that flux and never below
// MinGamma.
void powerLawFaces(int first, int last, const Rows &rows, double settling) {
  const Settings s = settings();
  for (int f = first; f <= last; ++f) {
    const int c1 = Fcell1[f], c2 = Fcell2[f];
    const double F = sedimentFlux(f, settling);
    double D = 0.0;  // boundary, bed and surface faces: convection alone
    if (c1 != 0 && c2 != 0) {
      const bool vertical = verticalFace(f);
      const Diffusion k = faceDiffusion(s, f, c1, c2, vertical);
      const double Dk = k.D * s.invSchmidt;
      double t = s.tdHoriz;
      if (vertical) {
        t = powerLawFactor(std::fabs(F / (Dk + 1e-20))) * s.tdVert;
        if (s.turbDens) t *= coeff_turbdens(c1, c2);
      }
      D = Dk * std::max(t, s.minGamma / (k.G + 1e-20));
    }
    rows.set(Ftype1[f], c1, std::max(-F, 0.0) + D);
    rows.set(Ftype2[f], c2, std::max(F, 0.0) + D);
  }
}

// Second-order scheme, first pass: the damped diffusion on both sides of
// every face; the Peclet number uses the water flux less `settling`.
void secondOrderDiffusion(int first, int last, const Rows &rows, double settling) {
  const Settings s = settings();
  for (int f = first; f <= last; ++f) {
    const int c1 = Fcell1[f], c2 = Fcell2[f];
    double D = 0.0;
    if (c1 != 0 && c2 != 0) {
      const bool vertical = verticalFace(f);
      const Diffusion k = faceDiffusion(s, f, c1, c2, vertical);
      const double Dk = k.D * s.invSchmidt;
      const double A = powerLawFactor(std::fabs(sedimentFlux(f, settling) / (Dk + 1e-20)));
      double t = A * s.tdHoriz;
      if (vertical) {
        t = A * s.tdVert;
        if (s.turbDens) t *= coeff_turbdens(c1, c2);
      }
      D = Dk * std::max(t, s.minGamma / (k.G + 1e-20));
    }
    rows.set(Ftype1[f], c1, D);
    rows.set(Ftype2[f], c2, D);
  }
}

// In a transient run the Crank-Nicolson share of the neighbour terms belongs
// to the old time level: the implicit rows keep (1 - CrankNicols).
void crankNicolson(const Rows &rows) {
  if (!(TimeStep > 1e-8 && CrankNicols > 1e-8)) return;
  const double keep = 1.0 - CrankNicols;
  for (int side = 1; side <= 6; ++side) {
    double *a = rows.a[side];
    for (int c = 1; c <= NoCells; ++c) a[c] *= keep;
  }
}

void clearDummyExtents() { Cidist[0] = Cjdist[0] = Ckdist[0] = Cxvel[0] = Cyvel[0] = 0.0; }

}  // namespace

void coeff_make1(int first, int last) {
  clearDummyExtents();
  const Rows rows = sharedRows();
  if (sou[7] == 1) {
    secondOrderDiffusion(first, last, rows, 0.0);
    secondOrderConvectionPass(first, last, {Cat, Cab, 0.0, false, false});
  } else {
    powerLawFaces(first, last, rows, 1000.0 * fallvelo[1]);
    crankNicolson(rows);
  }
  if (QNFlag > 0) QNGridCoeff();
}

void coeff_make2(int first, int last) {
  clearDummyExtents();
  // The whole build per size: the shared sides come out the same each time.
  for (int l = 1; l <= lnumber; ++l) {
    const Rows rows = sizeVerticalRows(l);
    const double settling = 1000.0 * fallvelo[l];
    if (sou[7] == 1) {
      secondOrderDiffusion(first, last, rows, settling);
      secondOrderConvectionPass(first, last, {Catm[l], Cabm[l], settling, false, false});
    } else {
      powerLawFaces(first, last, rows, settling);
      crankNicolson(rows);
    }
  }
  if (QNFlag > 0) QNGridCoeff();
}

void coeff_make2m(int first, int last) {
  if (sou[7] == 1) return;  // the bed-load vector variants have no second-order build
  for (int l = 1; l <= lnumber; ++l) powerLawFaces(first, last, sizeRows(l), 1000.0 * fallvelo[l]);
}

void coeff_make1H(int first, int last) {
  clearDummyExtents();
  const Settings s = settings();
  const Rows rows = sharedRows();
  const bool secondOrder = sou[Equation] == 1;
  if (secondOrder) {
    const Rows second{{nullptr, Cass, Caee, Cann, Caww, Cabb, Catt}};
    for (int f = first; f <= last; ++f) {
      if (verticalFace(f)) continue;
      if (Fcell1[f] != 0) second.set(Ftype1[f], Fcell1[f], 0.0);
      if (Fcell2[f] != 0) second.set(Ftype2[f], Fcell2[f], 0.0);
    }
  }
  for (int f = first; f <= last; ++f) {
    if (verticalFace(f)) continue;
    const int c1 = Fcell1[f], c2 = Fcell2[f];
    double D = 0.0;
    if (c1 != 0 && c2 != 0) {
      const Diffusion k = faceDiffusion(s, f, c1, c2, false);
      D = k.D * std::max(s.tdHoriz, s.minGamma / (k.G + 1e-20));
    }
    const double F = secondOrder ? 0.0 : Fflux[f];
    rows.set(Ftype1[f], c1, std::max(-F, 0.0) + D);
    rows.set(Ftype2[f], c2, std::max(F, 0.0) + D);
  }
  if (secondOrder) secondOrderConvectionPass(first, last, {Cat, Cab, 0.0, true, true});
}

void coeff_make_bedvector(int first, int last) {
  const double param = BedLoadVectorParam;
  const bool shifted = BedLoadVectorFlag > 6;   // theta = 0.4 theta + 0.06
  const bool limited = BedLoadVectorFlag <= 8;  // deflection within -1..1
  for (int f = first; f <= last; ++f) {
    const int c1 = Fcell1[f], c2 = Fcell2[f];
    if (c1 <= 0 || c2 <= 0 || Ccellb[c1] != 0 || Ccellb[c2] != 0) continue;
    // Slope of the bed across the face, from the bottoms of the two cells.
    const double s = ((Czcenter[c2] - Ckdist[c2]) - (Czcenter[c1] - Ckdist[c1])) / (Fdist1[f] + Fdist2[f]);
    if (std::fabs(s) <= 0.01) continue;
    const double ux = 0.5 * (Cxvel[c1] + Cxvel[c2]), uy = 0.5 * (Cyvel[c1] + Cyvel[c2]);
    const double U = std::sqrt(ux * ux + uy * uy);
    if (!(U > 0.0)) continue;  // still water carries no bed load to turn
    // Share of the flow that runs along the face rather than through it.
    const double r = std::max(0.0, 1.0 - std::fabs(Fflux[f] / Farea[f] * 0.001) / U);
    const double shear = 300.0 * std::max(0.0, 0.5 * (Ckinen[c1] + Ckinen[c2]));
    const int t1 = Ftype1[f], t2 = Ftype2[f];
    for (int l = 1; l <= lnumber; ++l) {
      double theta = shear / ((density - 1.0) * gsize[l] * 9810.0);
      if (shifted) theta = 0.4 * theta + 0.06;
      if (!(theta > 0.0)) continue;  // no shear, no bed load to deflect
      double d = param / std::sqrt(theta) * s;
      if (limited) d = std::clamp(d, -1.0, 1.0);
      const double Fb = -Farea[f] * 1000.0 * U * d * r;
      const Rows rows = sizeRows(l);
      if (t1 >= 1 && t1 <= 4) {
        rows.a[t1][c1] += std::max(-Fb, 0.0);
        Capm[l][c2] += std::max(-Fb, 0.0);
      }
      if (t2 >= 1 && t2 <= 4) {
        rows.a[t2][c2] += std::max(Fb, 0.0);
        Capm[l][c1] += std::max(Fb, 0.0);
      }
    }
  }
}
