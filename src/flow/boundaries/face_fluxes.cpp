// Face mass fluxes: Fflux (kg/s) of a face range from the interpolated cell
// velocities plus the pressure-weighted (Rhie-Chow) term of the F 113 variant,
// then the nested-border faces and the balance of unevenly connected blocks.
#include "flow/boundaries/face_fluxes.h"

#include <cmath>

#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/nests.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"
#include "model/threads.h"

namespace {

// The forms of the Rhie-Chow term, by F 36, F 235, F 113 and F 69.
enum class Form {
  Piezometric,       // F 36 = 11: pressure plus weight, p + 9810 z, on side faces
  Trekant,           // F 235 = 13: doubled on collapsed cells
  Standard,          // no term next to a boundary
  ShallowCut,        // F 113 = 2: no flux through side faces lower than F 86
  OneSided,          // F 113 = 3: one-sided gradients next to a boundary
  OneSidedLimited,   // F 113 = 4: and at most a fifth of the velocity flux
  SecondOrder,       // F 113 = 5: second-order one-sided gradients
  SecondOrderEqual,  // F 113 = 6: the same, gradients weighted equally
  Limited,           // F 113 = 7: equal weights, at most a fifth of the velocity flux
  TrekantLimited,    // F 113 = 8: the limit only on collapsed cells
  Density,           // F 69 sixth value > 0: baroclinic pressure differences added
};

// The first form whose test applies. F 113 9..100, and 0 with a negative
// sixth F 69 value, would leave stale fluxes (after a regeneration those of
// other faces): they take the standard form.
Form chooseForm() {
  if (FlagTFS == 11) return Form::Piezometric;
  if (FlagCorrTrekant == 13) return Form::Trekant;
  if ((Seiche6 == 0 && FlagRhieChow == 0) || FlagRhieChow == 1) return Form::Standard;
  switch (FlagRhieChow) {
    case 2: return Form::ShallowCut;
    case 3: return Form::OneSided;
    case 4: return Form::OneSidedLimited;
    case 5: return Form::SecondOrder;
    case 6: return Form::SecondOrderEqual;
    case 7: return Form::Limited;
    case 8: return Form::TrekantLimited;
    default: break;
  }
  return Seiche6 > 0 ? Form::Density : Form::Standard;
}

// Forms whose face velocities take the Crank-Nicolson mean, and forms on
// which the seiche rule (F 69 second value > 9) removes the term at
// bottom faces.
constexpr bool crankForm(Form f) { return f != Form::Trekant && f != Form::SecondOrder && f != Form::TrekantLimited; }
constexpr bool seicheForm(Form f) { return f != Form::Trekant && f != Form::TrekantLimited; }
constexpr bool fallbackForm(Form f) {
  return f == Form::OneSided || f == Form::OneSidedLimited || f == Form::SecondOrder || f == Form::SecondOrderEqual ||
         f == Form::Density;
}
constexpr bool equalWeights(Form f) {
  return f == Form::SecondOrderEqual || f == Form::Limited || f == Form::TrekantLimited;
}

// The Crank-Nicolson mean needs the previous time step, which exists only in
// transient runs.
bool crankNicolson() { return CrankNicols > 1e-8 && TimeStep > 1e-8 && Cxvel_old && Cyvel_old && Czvel_old; }

// |R| cut to a fifth of the velocity flux, keeping its sign.
inline double limited(double r, double v) {
  const double bound = 0.2 * std::fabs(v);
  return std::fabs(r) > bound ? std::copysign(bound, r) : r;
}

// The Rhie-Chow term of face f: D times the face pressure difference minus
// the interpolated cell pressure gradients (each a difference over one cell
// spacing), so a linear pressure gives 0 and a checkerboard is felt.
template <Form F>
inline double rhieChow(int f, int c1, int c2, double w, double d, double v, bool seiche) {
  const int c11 = Fcell11[f], c22 = Fcell22[f];
  const double p1 = Cpres[c1], p2 = Cpres[c2];
  double r = 0.0;
  if constexpr (fallbackForm(F)) {
    if (c11 > 0 || c22 > 0) {
      double g1, g2, bracket = p1 - p2;
      if constexpr (F == Form::OneSided || F == Form::OneSidedLimited) {
        g1 = c11 <= 0 ? p2 - p1 : (p2 - Cpres[c11]) * 0.5;
        g2 = c22 <= 0 ? p2 - p1 : (Cpres[c22] - p1) * 0.5;
      } else {
        g1 = c11 <= 0 ? (4.0 * p2 - 3.0 * p1 - Cpres[c22]) * 0.5 : (p2 - Cpres[c11]) * 0.5;
        g2 = c22 <= 0 ? (3.0 * p2 - 4.0 * p1 + Cpres[c11]) * 0.5 : (Cpres[c22] - p1) * 0.5;
      }
      if constexpr (F == Form::Density) {
        if (Ftype1[f] == 1 || Ftype2[f] == 1) {
          g1 += Cdensgradj[c1] * 0.5;
          g2 += Cdensgradj[c2] * 0.5;
          bracket -= Fdgrad[f];
        }
        if (Ftype1[f] == 2 || Ftype2[f] == 2) {
          g1 += Cdensgradi[c1] * 0.5;
          g2 += Cdensgradi[c2] * 0.5;
          bracket -= Fdgrad[f];
        }
      }
      r = equalWeights(F) ? d * (bracket + 0.5 * (g1 + g2)) : d * (bracket + w * g1 + (1.0 - w) * g2);
      if constexpr (F == Form::SecondOrder) {
        // Two single-cell columns side by side: no term where either is
        // thinner than F 94 allows.
        if (Ccellb[c1] == 0 && Ccellt[c1] == 0 && Ccellb[c2] == 0 && Ccellt[c2] == 0 &&
            (Ckdist[c2] < MinVertDist0 || Ckdist[c1] < MinVertDist0)) {
          r = 0.0;
        }
      }
    }
  } else {
    if (c11 > 0 && c22 > 0) {
      double g1 = (p2 - Cpres[c11]) * 0.5, g2 = (Cpres[c22] - p1) * 0.5, bracket = p1 - p2;
      if constexpr (F == Form::Piezometric) {
        if (Ftype1[f] <= 4) {
          const double *z = Czcenter;
          g1 += 4905.0 * (z[c2] - z[c11]);
          g2 += 4905.0 * (z[c22] - z[c1]);
          bracket -= 9810.0 * (z[c2] - z[c1]);
        }
      }
      r = equalWeights(F) ? d * (bracket + 0.5 * (g1 + g2)) : d * (bracket + w * g1 + (1.0 - w) * g2);
    }
  }
  if (seiche && (Ftype1[f] == 5 || Ftype2[f] == 5)) r = 0.0;
  if constexpr (F == Form::OneSidedLimited || F == Form::Limited) r = limited(r, v);
  if constexpr (F == Form::TrekantLimited) {
    if (Ctrekant[c1] > 0 || Ctrekant[c2] > 0) r = limited(r, v);
  }
  return r;
}

// Step 1 over first..last in one form: 1000 (V + R), 0 at boundary faces.
template <Form F, bool Crank>
void faceLoop(int first, int last) {
  const double scale = invRelaxVelocity * std::fabs(RelaxRhieChow);
  const bool seiche = seicheForm(F) && Seiche2 > 9;
  for (int f = first; f <= last; ++f) {
    const int c1 = Fcell1[f], c2 = Fcell2[f];
    if (c1 <= 0 || c2 <= 0) {
      Fflux[f] = 0.0;
      continue;
    }
    const double span = Fdist1[f] + Fdist2[f];
    const double w = span != 0.0 ? Fdist2[f] / span : 0.5;
    const double w2 = 1.0 - w;
    double u = w * Cxvel[c1] + w2 * Cxvel[c2];
    double v = w * Cyvel[c1] + w2 * Cyvel[c2];
    double wz = w * Czvel[c1] + w2 * Czvel[c2];
    if constexpr (Crank) {
      u = 0.5 * (u + w * Cxvel_old[c1] + w2 * Cxvel_old[c2]);
      v = 0.5 * (v + w * Cyvel_old[c1] + w2 * Cyvel_old[c2]);
      wz = 0.5 * (wz + w * Czvel_old[c1] + w2 * Czvel_old[c2]);
    }
    const double velocityFlux = u * Fax[f] + v * Fay[f] + wz * Faz[f];
    double d = (w * CinvAp[c1] + w2 * CinvAp[c2]) * scale * Farea[f] * Farea[f];
    if constexpr (F == Form::Trekant) {
      if (Ctrekant[c1] > 0 || Ctrekant[c2] > 0) d *= 2.0;
    }
    Fflux[f] = 1000.0 * (velocityFlux + rhieChow<F>(f, c1, c2, w, d, velocityFlux, seiche));
    if constexpr (F == Form::ShallowCut) {
      if (Ftype1[f] <= 4 && Fdz[f] < MinVertDist) Fflux[f] = 0.0;
    }
  }
}

using FaceLoop = void (*)(int, int);

template <Form F>
FaceLoop loopOf(bool crank) {
  if constexpr (crankForm(F)) {
    if (crank) return faceLoop<F, true>;
  }
  return faceLoop<F, false>;
}

FaceLoop chooseLoop() {
  const bool crank = crankNicolson();
  switch (chooseForm()) {
    case Form::Piezometric: return loopOf<Form::Piezometric>(crank);
    case Form::Trekant: return loopOf<Form::Trekant>(crank);
    case Form::Standard: return loopOf<Form::Standard>(crank);
    case Form::ShallowCut: return loopOf<Form::ShallowCut>(crank);
    case Form::OneSided: return loopOf<Form::OneSided>(crank);
    case Form::OneSidedLimited: return loopOf<Form::OneSidedLimited>(crank);
    case Form::SecondOrder: return loopOf<Form::SecondOrder>(crank);
    case Form::SecondOrderEqual: return loopOf<Form::SecondOrderEqual>(crank);
    case Form::Limited: return loopOf<Form::Limited>(crank);
    case Form::TrekantLimited: return loopOf<Form::TrekantLimited>(crank);
    default: return loopOf<Form::Density>(crank);
  }
}

// Step 4 (F 203 = 4): the vertical flux of a flat pair of cells, height
// below a hundredth of the plan extent, is kept below what the horizontal
// speed could carry through that aspect ratio.
void limitVerticalFluxes(int first, int last) {
  for (int f = first; f <= last; ++f) {
    const int c1 = Fcell1[f], c2 = Fcell2[f];
    if (c1 <= 0 || c2 <= 0 || (Ftype1[f] != 6 && Ftype2[f] != 6)) continue;
    const double r = (Ckdist[c1] + Ckdist[c2]) / (Cidist[c1] + Cidist[c2] + Cjdist[c1] + Cjdist[c2]);
    if (!(r < 0.01)) continue;
    const double h1 = std::sqrt(Cxvel[c1] * Cxvel[c1] + Cyvel[c1] * Cyvel[c1]);
    const double h2 = std::sqrt(Cxvel[c2] * Cxvel[c2] + Cyvel[c2] * Cyvel[c2]);
    const double bound = 1000.0 * Farea[f] * r * (h1 + h2) * 0.5;
    if (Fflux[f] > bound) Fflux[f] = bound;
    if (Fflux[f] < -bound) Fflux[f] = -bound;
  }
}

// Step 5 (F 36 = 50 or F 226 = 1): the top face of a cell carries that
// cell's own velocity, the water surface included.
void surfaceFluxes(int first, int last, bool crank) {
  for (int f = first; f <= last; ++f) {
    const int c = Fcell1[f];
    if (c <= 0 || Cflatet[c] != f) continue;
    double u = Cxvel[c], v = Cyvel[c], wz = Czvel[c];
    if (crank) {
      u = 0.5 * (u + Cxvel_old[c]);
      v = 0.5 * (v + Cyvel_old[c]);
      wz = 0.5 * (wz + Czvel_old[c]);
    }
    Fflux[f] = 1000.0 * (u * Fax[f] + v * Fay[f] + wz * Faz[f]);
  }
}

// Steps 1, 4 and 5: they write only the faces of the range.
void rangeSteps(FaceLoop loop, int first, int last) {
  loop(first, last);
  if (FlagVertVelStab == 4) limitVerticalFluxes(first, last);
  if (FlagTFS == 50 || FlagSurfFlux == 1) surfaceFluxes(first, last, crankNicolson());
}

// Step 3: the side face of a short column's top cell carries what flows
// through the faces of all the taller neighbour's cells it touches.
void listedFaceSums() {
  struct Side {
    const int *count;
    int *const *list;
    const int *own, *opposite;
  };
  const Side sides[4] = {{Cncelle, Cqncelle, Cflatee, Cflatew},
                         {Cncellw, Cqncellw, Cflatew, Cflatee},
                         {Cncells, Cqncells, Cflates, Cflaten},
                         {Cncelln, Cqncelln, Cflaten, Cflates}};
  for (int c = 1; c <= NoCells; ++c) {
    for (const Side &s : sides) {
      const int n = s.count[c];
      if (n < 1) continue;
      const int first = s.list[c][0];
      double sum = 0.0;
      for (int k = first; k < first + n; ++k) sum += Fflux[s.opposite[k]];
      Fflux[s.own[c]] = sum;
    }
  }
}

// Steps 2, 3 and 6 touch faces of the whole grid: once per call, after the
// ranges (the sums of step 3 read side faces only, which steps 4 and 5 leave).
void wholeGridSteps() {
  if (Npflate) {
    for (int n = 1; n <= NoNestflater; ++n) Fflux[Npflate[n]] = 0.0;
  }
  if (QNFlag > 0) listedFaceSums();
  if (UnevenConnect > 0) correctFluxUneven();
}

// Sum and scaling of the faces on one side (east or west) of the cells of
// the columns (i, j1..j2), each column from its bottom cell up.
template <class Visit>
void columnFaces(int i, int j1, int j2, const int *sideFace, Visit &&visit) {
  for (int j = j1; j <= j2; ++j) {
    for (int c = static_cast<int>(zval[i][j][0]); c > 0; c = Ccellt[c]) {
      if (sideFace[c] > 0) visit(sideFace[c]);
    }
  }
}

}  // namespace

void waterflow(int first, int last) {
  rangeSteps(chooseLoop(), first, last);
  wholeGridSteps();
}

void waterflowChunked(int first, int last) {
  const FaceLoop loop = chooseLoop();
  forEachChunk(first, last, [loop](int a, int b) { rangeSteps(loop, a, b); });
  wholeGridSteps();
}

// Where block 1 meets block 2 with columns that do not match one to one,
// both sides are scaled to the mean of their totals so that the water
// leaving one block enters the other. A side without flow stays as it is.
void correctFluxUneven() {
  if (NoBlocks < 2) return;
  const GridBlock &b1 = block[1], &b2 = block[2];
  struct Side {
    int i, j1, j2;
    const int *faces;
  };
  const Side a = UnevenConnect == 1 ? Side{b1.i2, b1.j1, b1.j2, Cflatee} : Side{b2.i1, b2.j1, b2.j2, Cflatee};
  const Side b = UnevenConnect == 1 ? Side{b2.i1, b2.j1, b2.j2, Cflatew} : Side{b1.i2, b1.j1, b1.j2, Cflatew};
  double sumA = 0.0, sumB = 0.0;
  columnFaces(a.i, a.j1, a.j2, a.faces, [&](int f) { sumA += Fflux[f]; });
  columnFaces(b.i, b.j1, b.j2, b.faces, [&](int f) { sumB += Fflux[f]; });
  const double mean = 0.5 * (sumA + sumB);
  if (sumA != 0.0) {
    const double factor = mean / sumA;
    columnFaces(a.i, a.j1, a.j2, a.faces, [&](int f) { Fflux[f] *= factor; });
  }
  if (sumB != 0.0) {
    const double factor = mean / sumB;
    columnFaces(b.i, b.j1, b.j2, b.faces, [&](int f) { Fflux[f] *= factor; });
  }
}
