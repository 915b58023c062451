// The SIMPLE correction: the solved pressure correction p' (the field Cf
// points at) corrects the mass fluxes of the interior faces, the velocities of
// the cells and Cpres, in that order; writes Fflux, Cxvel, Cyvel, Czvel, Cpres.
#include "flow/corrections/simple_corrections.h"

#include <algorithm>

#include "flow/pressure_limits/corner_column_pressure.h"
#include "flow/corrections/correction_variants.h"
#include "flow/pressure_limits/pressure_filter.h"
#include "flow/pressure_limits/pressure_treatments.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/status.h"
#include "model/threads.h"

namespace {

enum class FaceRule { Standard, StandardOpenStacked, None, Variant };
enum class VelocityRule { Standard, None, Variant };

struct CorrectionPlan {
  FaceRule face;
  VelocityRule velocity;
};

// Which face and velocity corrections F 157, F 69, F 291 and F 36 choose.
CorrectionPlan choosePlan() {
  const int v = FlagSimpleCorrections;
  CorrectionPlan plan{};
  switch (v) {
    case 0: case 4: case 5: case 7: case 8: case 9: case 11: case 50: case 51:
      // The third value of F 69 = 1 leaves the fluxes between stacked cells
      // uncorrected, as the variant face corrections do.
      plan.face = Seiche3 == 1 ? FaceRule::StandardOpenStacked : FaceRule::Standard;
      break;
    case 1: case 2: case 3: case 6:
      plan.face = FaceRule::Variant;
      break;
    default:
      plan.face = FlagTFS == 11 ? FaceRule::Variant : FaceRule::None;
  }
  if (v == 0 && Seiche3 == 0) plan.velocity = VelocityRule::Standard;
  else if (v == 50 && Ctrekant) plan.velocity = VelocityRule::Variant;
  else if (v == 51) plan.velocity = VelocityRule::Variant;
  else if (FlagDamp3 > 0) plan.velocity = VelocityRule::Variant;
  else if (v == 0) plan.velocity = Seiche3 == 2 ? VelocityRule::None : VelocityRule::Variant;
  else if ((v >= 1 && v <= 11) || v == 20 || (v == 30 && FlagTFS == 11)) plan.velocity = VelocityRule::Variant;
  else plan.velocity = VelocityRule::None;
  return plan;
}

// Standard face correction: the flux between two cells changes by the face
// coefficient of the pressure-correction equation times the difference of
// p'. D weights each cell's 1/Ap by the distance of the other cell's centre.
// Boundary, bed and surface faces (one cell missing) keep their flux.
template <bool openStacked>
void correctFluxes(int first, int last) {
  const double *p = Cf;
  for (int f = first; f <= last; ++f) {
    const int c1 = Fcell1[f], c2 = Fcell2[f];
    if (c1 <= 0 || c2 <= 0) continue;
    if (openStacked && (Ftype1[f] == 5 || Ftype2[f] == 5)) continue;
    const double D = (CinvAp[c2] * Fdist1[f] + CinvAp[c1] * Fdist2[f]) / (Fdist1[f] + Fdist2[f]);
    const double a = 1000.0 * Farea[f] * Farea[f] * D;
    Fflux[f] += a * (p[c1] - p[c2]);
  }
}

// The p' difference across a cell in one direction: central between two
// neighbours, one-sided towards a single one, 0 without neighbours.
inline double gradient(const double *p, int c, int lo, int hi) {
  if (lo > 0 && hi > 0) return (p[hi] - p[lo]) / 2.0;
  if (hi > 0) return p[hi] - p[c];
  if (lo > 0) return p[c] - p[lo];
  return 0.0;
}

// Standard velocity correction: each velocity component moves against the
// p' gradient, mapped from the cell's i, j, k directions by its extent
// vectors and scaled by 1/Ap, the squared side areas and F 388 over Cvol.
void correctVelocities(int first, int last) {
  const double *p = Cf;
  const double relax = relaxSimpleCorr;
  for (int c = first; c <= last; ++c) {
    const double gi = gradient(p, c, Ccellw[c], Ccelle[c]);
    const double gj = gradient(p, c, Ccells[c], Ccelln[c]);
    const double gk = gradient(p, c, Ccellb[c], Ccellt[c]);
    const double Ax = CinvAp[c] * Careax[c] * Careax[c];
    const double Ay = CinvAp[c] * Careay[c] * Careay[c];
    const double Az = CinvAp[c] * Careaz[c] * Careaz[c];
    const double f = relax / Cvol[c];
    Cxvel[c] -= f * (Cdxdi[c] * Ax * gi + Cdxdj[c] * Ay * gj);
    Cyvel[c] -= f * (Cdydi[c] * Ax * gi + Cdydj[c] * Ay * gj);
    Czvel[c] -= f * (Cdzdi[c] * Ax * gi + Cdzdj[c] * Ay * gj + Cdzdk[c] * Az * gk);
  }
}

void updatePressure(int first, int last) {
  const double *p = Cf;
  const double relax = relaxPressure;
  for (int c = first; c <= last; ++c) Cpres[c] += relax * p[c];
}

// The steps on the whole field before any range is corrected: the check of
// the variant's arrays, the volume cap of variant 51 and the p' filter.
void prepareCorrections(int firstCell, int lastCell) {
  checkCorrectionVariant();
  if (FlagSimpleCorrections == 51) SimpleVolumeCap(firstCell, lastCell);
  if (FlagFilterPressure == 1) FilterPressure();
}

// Steps before the corrections; false when F 258 takes the stage's place.
bool beforeCorrections(int firstCell, int lastCell) {
  prepareCorrections(firstCell, lastCell);
  if (FlagStressTerm > 0) {
    if (FlagStressTerm == 100 || FlagStressTerm == 101) stressTermPressure(firstCell, lastCell);
    return false;
  }
  return true;
}

// The corrections of one face range and one cell range.
void correctRanges(const CorrectionPlan &plan, int firstFace, int lastFace, int firstCell, int lastCell) {
  switch (plan.face) {
    case FaceRule::Standard: correctFluxes<false>(firstFace, lastFace); break;
    case FaceRule::StandardOpenStacked: correctFluxes<true>(firstFace, lastFace); break;
    case FaceRule::Variant: SimpleFluxVariant(firstFace, lastFace); break;
    case FaceRule::None: break;
  }
  switch (plan.velocity) {
    case VelocityRule::Standard: correctVelocities(firstCell, lastCell); break;
    case VelocityRule::Variant: SimpleVelocityVariant(firstCell, lastCell); break;
    case VelocityRule::None: break;
  }
  if (FlagTFS2 == 1 || FlagTFS2 == 2) levelCorrection(firstCell, lastCell);
  if (FlagSIMPLE <= 1) updatePressure(firstCell, lastCell);
}

// Steps after the pressure update.
void afterCorrections(int firstCell, int lastCell) {
  if (FlagCorrTrekant5 > 0) TrekantPresCorr(firstCell, lastCell);
  if (FlagFilterPressure == 2 && FlagThixoIsComputing == 1) mudPressureClip(firstCell, lastCell);
  if (FlagTFS == 11) topCellPressure(firstCell, lastCell);
}

}  // namespace

void SimpleCorrections(int firstFace, int lastFace, int firstCell, int lastCell) {
  const CorrectionPlan plan = choosePlan();
  if (!beforeCorrections(firstCell, lastCell)) return;
  correctRanges(plan, firstFace, lastFace, firstCell, lastCell);
  afterCorrections(firstCell, lastCell);
}

// Chunk k corrects chunk k of the faces and chunk k of the cells. The p'
// filter and the variant's cap run before all chunks and the corner-column pressure after them,
// since both work on the whole field; the mud clip and the top-cell pressure
// reach cells below their chunk, so they follow once every chunk has updated
// its pressures (the clip serially, as its walks down may cross chunks).
void SimpleCorrectionsRegion(int firstFace, int lastFace, int firstCell, int lastCell) {
  const CorrectionPlan plan = choosePlan();
  prepareCorrections(firstCell, lastCell);
  const int chunks = std::max(1, NoProcessesSolver);
  if (FlagStressTerm > 0) {
    if (FlagStressTerm == 100 || FlagStressTerm == 101) {
      forEachChunk(0, chunks - 1, [&](int first, int last) {
        for (int k = first; k <= last; ++k) {
          const IndexChunk cells = chunkOf(firstCell, lastCell, chunks, k);
          stressTermPressure(cells.first, cells.last);
        }
      });
    }
    return;
  }
  forEachChunk(0, chunks - 1, [&](int first, int last) {
    for (int k = first; k <= last; ++k) {
      const IndexChunk faces = chunkOf(firstFace, lastFace, chunks, k);
      const IndexChunk cells = chunkOf(firstCell, lastCell, chunks, k);
      correctRanges(plan, faces.first, faces.last, cells.first, cells.last);
    }
  });
  if (FlagCorrTrekant5 > 0) TrekantPresCorr(firstCell, lastCell);
  if (FlagFilterPressure == 2 && FlagThixoIsComputing == 1) mudPressureClip(firstCell, lastCell);
  if (FlagTFS == 11) {
    forEachChunk(0, chunks - 1, [&](int first, int last) {
      for (int k = first; k <= last; ++k) {
        const IndexChunk cells = chunkOf(firstCell, lastCell, chunks, k);
        topCellPressure(cells.first, cells.last);
      }
    });
  }
}
