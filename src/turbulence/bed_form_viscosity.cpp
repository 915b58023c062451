// Eddy viscosity over dunes and other bed forms, for bed smoothing and in
// the blocks of a mud or slide layer. Column terms are formed once at each
// bottom cell and written up the whole column; block terms are shared out
// among the calls of a sweep so that no cell is written twice at once.
#include "turbulence/bed_form_viscosity.h"

#include <algorithm>
#include <cmath>

#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/status.h"
#include "model/work_ranges.h"

namespace {

bool isMomentum(int equation) { return equation >= 1 && equation <= 3; }

inline double speedOf(int c) { return std::sqrt(Cxvel[c] * Cxvel[c] + Cyvel[c] * Cyvel[c]); }

// The block whose cells take the fixed mud viscosity: the last block while a
// slide layer is computed, else block 1 in the mud mode 1; 0 none.
int overrideBlock() {
  if (FlagThixoIsComputing == 1 && NoBlocks > 0 && block[NoBlocks].LayerMark > 0) return NoBlocks;
  if (FlagThixo == 1 && NoBlocks >= 1) return 1;
  return 0;
}

// Step 2: bed forms high against the depth raise the vertical viscosity of
// the momentum equations.
void bedFormFactor(int first, int last) {
  const double coeff = GammaVertCoeff1;
  for (int c = first; c <= last; ++c) {
    const int b = Cbed[c];
    CgammaV[c] *= std::max(1.0, Bedformheight[b] / (Bdepth[b] + 1e-20) * coeff);
  }
}

// Step 3: the dune eddy viscosity, one term per column added to its cells.
void duneEddy(int first, int last) {
  const int mode = FlagDuneEddy, eq = Equation;
  const bool still = FlagThixoIsComputing == 0, bedForms = BFroude && Bedformheight;
  bool on = false, both = false;
  switch (mode) {
    case 1: on = bedForms && isMomentum(eq); break;
    case 2: on = both = bedForms; break;
    case 3: on = both = bedForms && still; break;
    case 4: on = Bedformheight && still && isMomentum(eq); break;
    case 5: on = still && isMomentum(eq); break;
    case 6: on = still; break;
    default: break;
  }
  if (!on) return;
  const double f = DuneEddyFactor;
  const double epsilonFactor = mode == 6 && eq == 6 ? 0.7692 : 1.0;
  for (int b = first; b <= last; ++b) {
    if (Ccellb[b] != 0) continue;
    const int bed = Cbed[b];
    double t;
    if (mode <= 3) {
      const double d = Bdepth[bed], fr = BFroude[bed], bf = Bedformheight[bed];
      t = f * 1000.0 * bf * fr * std::sqrt(9.81 * d);
      if (mode <= 2) t /= 28.8 * d * Ckdist[b];
    } else {
      double sum = 0.0;
      int n = 0;
      for (int m = b; m > 0; m = Ccellt[m]) {
        sum += speedOf(m);
        ++n;
      }
      const double ubar = sum / n;
      t = mode == 4 ? f * 1000.0 * ubar * Bedformheight[bed] : f * 1000.0 * 0.5 * ubar * Bdepth[bed] * epsilonFactor;
    }
    for (int m = b; m > 0; m = Ccellt[m]) {
      CgammaV[m] += t;
      if (both) Cgamma[m] += t;
    }
  }
}

// Step 4: extra diffusion that smooths the bed.
void bedSmoothing(int first, int last) {
  const int mode = FlagBedSmooth;
  const double p = ParamBedSmooth;
  if (mode == 2 || mode == 4) {
    for (int b = first; b <= last; ++b) {
      if (Ccellb[b] != 0) continue;
      const double t = p / std::sqrt(Farea[Cflateb[b]]) * speedOf(b);
      Cgamma[b] += t;
      if (mode == 4) CgammaV[b] += t;
    }
  } else if (mode == 7 || (mode == 8 && BFroude)) {
    for (int c = first; c <= last; ++c) {
      double t = 2.0 * Ckdist[c] * p * 1000.0 * speedOf(c);
      if (mode == 8) {
        const double fr = BFroude[Cbed[c]];
        t *= fr < 0.2 ? 0.0 : (fr > 1.0 ? 1.0 : std::sqrt((fr - 0.2) / 0.8));
      }
      Cgamma[c] += t;
      CgammaV[c] += t;
    }
  }
}

// Step 5: the viscosity N of a mud block: fixed, or from the weight and the
// yield stress of the mud over its columns against the speed of the mud.
double mudViscosity(const GridBlock &blk) {
  const double fixed = ThixoEddyvisc;
  if (blk.LastCell - blk.FirstCell == blk.LastBedCell - blk.FirstBedCell) return fixed > 0.0 ? fixed : 1e7;
  if (fixed > 0.0) return fixed;
  double sk = 0.0, su = 0.0, st = 0.0, sw = 0.0;
  int n = 0;
  for (int bc = blk.FirstBedCell; bc <= blk.LastBedCell; ++bc) {
    const int x = Ccellt[Bcellt[bc]];
    if (x <= 0) continue;
    ++n;
    sk += Ckdist[x];
    su += std::fabs(Cxvel[x]);
    double h = 0.0;
    for (int m = x; m > 0; m = Ccellt[m]) h += 2.0 * Ckdist[m];
    // The mud above the groundwater level weighs more; without a groundwater
    // level there is no such part.
    const double e = Bthixolev && Bgroundwater ? Bthixolev[bc] - Bgroundwater[bc] : 0.0;
    double s = 0.0;
    if (e > 0.0) {
      h -= e;
      s = 1.36 * e;
    }
    const double h1 = h > 0.0 ? 0.825 * h : 0.0, h2 = h > 0.0 ? 1.825 * h : 0.0;
    const double a = Faz[Cflateb[x]];
    st += ((h1 + s) * 9810.0 * ThixoMySlope + ThixoCritshear) * a;
    sw += (h2 + s) * 9810.0 * a;
  }
  if (n == 0) return std::fabs(fixed);
  const double m = std::max(0.0, ThixoSlideModifier - kSF[0]);
  return (sk / n * st) / (m * TimeStep * st / (sw + 1e-8) + 1e-8 + su / n) + ThixoMinGamma;
}

// Whether the mud blocks take their viscosity in this call: in the call
// whose range ends at the last cell, and in every chunk of a sweep over a
// work range that does.
bool mudBlocksDue(int first, int last) {
  return last == NoCells || (WCEnd == NoCells && first >= WCStart && last <= WCEnd);
}

void mudBlocks(int first, int last) {
  const int ws = WCStart, we = WCEnd;
  for (int k = 1; k <= NoBlocks; ++k) {
    const GridBlock &blk = block[k];
    if (blk.LayerMark != 1) continue;
    const double n = mudViscosity(blk);
    for (int bc = blk.FirstBedCell; bc <= blk.LastBedCell; ++bc) {
      int level = 0;
      for (int m = Bcellt[bc]; m > 0; m = Ccellt[m], ++level) {
        if (!blockCellOfCall(m, first, last, ws, we)) continue;
        Cgamma[m] = CgammaV[m] = level < 2 ? n : 10.0 * n;
      }
    }
  }
}

// Step 6: bed-form roughness: the cells whose centre lies within the bed
// form (12 scaled, 13 raised), or every cell (14).
void bedFormRoughness(int first, int last) {
  const int mode = FlagTramel;
  const double p = ParamTramel;
  if (mode == 14) {
    for (int c = first; c <= last; ++c) {
      Cgamma[c] += p;
      CgammaV[c] += p;
    }
    return;
  }
  for (int b = first; b <= last; ++b) {
    if (Ccellb[b] != 0) continue;
    const double form = Bedformheight[Cbed[b]];
    double height = Ckdist[b];
    for (int m = b; m > 0 && height <= form;) {
      if (mode == 12) {
        Cgamma[m] *= p;
        CgammaV[m] *= p;
      } else {
        Cgamma[m] += p;
        CgammaV[m] += p;
      }
      const int next = Ccellt[m];
      if (next <= 0) break;
      height += Ckdist[m] + Ckdist[next];
      m = next;
    }
  }
}

}  // namespace

bool mudOverrideActive() { return overrideBlock() > 0; }

void mudOverride(int first, int last) {
  const int k = overrideBlock();
  if (k == 0) return;
  const double value = std::fabs(ThixoEddyvisc);
  const int ws = WCStart, we = WCEnd;
  for (int c = block[k].FirstCell; c <= block[k].LastCell; ++c) {
    if (blockCellOfCall(c, first, last, ws, we)) Cgamma[c] = value;
  }
}

namespace {

// Which of the terms the options switch on for equation eq.
struct BedFormSwitches {
  bool factor, dunes, smoothing, mud, roughness;
};

BedFormSwitches bedFormSwitches(int eq) {
  return {GammaVertCoeff1 > 1e-10 && Bdepth && Bedformheight && isMomentum(eq), FlagDuneEddy >= 1 && FlagDuneEddy <= 6,
          FlagBedSmooth == 2 || FlagBedSmooth == 4 || FlagBedSmooth == 7 || FlagBedSmooth == 8,
          FlagThixo > 0 && NoBlocks > 0, FlagTramel >= 12 && FlagTramel <= 14 && eq >= 1 && eq <= 6};
}

}  // namespace

bool bedFormTermsAct(int eq) {
  const BedFormSwitches on = bedFormSwitches(eq);
  return on.factor || on.dunes || on.smoothing || on.mud || on.roughness;
}

void bedFormTerms(int first, int last) {
  const BedFormSwitches on = bedFormSwitches(Equation);
  if (on.factor) bedFormFactor(first, last);
  if (on.dunes) duneEddy(first, last);
  if (on.smoothing) bedSmoothing(first, last);
  if (on.mud && mudBlocksDue(first, last)) mudBlocks(first, last);
  if (on.roughness) bedFormRoughness(first, last);
}
