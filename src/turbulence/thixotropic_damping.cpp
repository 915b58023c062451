// Where the mud yields: the yield ratio R of every cell of the mud block
// (driving shear stress over yield stress), a flow state per cell (2 or more
// flowing, 1 or less resting) and the level B of the resting mud per column.
// The driving stress is the horizontal pressure force that the hydrostatic
// part of the pressure leaves unbalanced, summed down each column; variant 3
// takes it from the hydrostatic forces of the neighbouring columns instead.
#include "turbulence/thixotropic_damping.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/work_ranges.h"
#include "solvers/coefficients.h"
#include "solvers/point_solver.h"

namespace {

struct MudBlock {
  int c1, c2;
  bool empty() const { return c2 < std::max(c1, 1); }
};

MudBlock mudBlock(int blk) { return {block[blk].FirstCell, block[blk].LastCell}; }

// Y + 1e-20: the yield stress of the cell, Pa.
double yieldStress(int c) { return ThixoCritshear + ThixoMySlope * Cpres[c] + 1e-20; }

bool haveLevels() { return Bthixolev && Cbed; }

// The resting mud level of the column of cell c; with no level kept every
// cell counts as above it.
double restLevel(int c) { return haveLevels() ? Bthixolev[Cbed[c]] : -std::numeric_limits<double>::infinity(); }

// The inertia stress 2 rho u0 hk / dt of the previous step's x-velocity; a
// steady run keeps no old velocity and takes none.
double inertiaStress(int c) {
  if (!Cxvel_old || TimeStep <= 1e-8) return 0.0;
  return 2.0 * Cxvel_old[c] * Ckdist[c] * 1000.0 / TimeStep;
}

// Calls visit(top cell) for every column of the block, in increasing order
// of its top cell: a cell whose cell above lies below c1 (0 for none).
template <class Visit>
void eachColumnTop(const MudBlock &m, Visit &&visit) {
  for (int c = std::max(m.c1, 1); c <= m.c2; ++c) {
    if (Ccellt[c] < m.c1) visit(c);
  }
}

// Calls visit(bottom cell) for every bottom cell of the block.
template <class Visit>
void eachColumnBottom(const MudBlock &m, Visit &&visit) {
  for (int c = std::max(m.c1, 1); c <= m.c2; ++c) {
    if (Ccellb[c] == 0) visit(c);
  }
}

// The driving stress T of each cell of a column, walked from the top cell
// down: visit(cell, T). `widened` blends the vertical pressure difference of
// an inner cell with those two cells away.
template <class Visit>
void walkColumnStress(const MudBlock &m, int top, bool widened, Visit &&visit) {
  const double *p = Cpres, *z = Czcenter;
  double S = 0.0;
  for (int c = top; c > 0; c = Ccellb[c]) {
    const int a = Ccellt[c], b = Ccellb[c];
    const bool topCell = a < m.c1;
    const double area = 4.0 * Ckdist[c] * Cjdist[c] * (a == 0 ? 0.5 : 1.0);
    double dp = 0.0, dz = 1e-20;
    if (a > m.c1 && b > 0) {
      dp = p[a] - p[b];
      dz = z[a] - z[b];
      if (widened) {
        const int bb = Ccellb[b], aa = Ccellt[a];
        if (bb > 0) {
          dp = 0.67 * dp + 0.33 * (p[a] - p[bb]);
          dz = 0.67 * dz + 0.33 * (z[a] - z[bb]);
        }
        if (aa > 0) {
          dp = 0.67 * dp + 0.33 * (p[aa] - p[b]);
          dz = 0.67 * dz + 0.33 * (z[aa] - z[b]);
        }
      }
    } else if (b == 0 && a > m.c1) {
      dp = p[a] - p[c];
      dz = z[a] - z[c];
    } else if (topCell && b > 0) {
      dp = p[c] - p[b];
      dz = z[c] - z[b];
    }
    const int w = Ccellw[c], e = Ccelle[c];
    if (w > 0 || e > 0) {
      const int P = w > 0 ? w : c, Q = e > 0 ? e : c;
      const double dph = p[Q] - p[P];
      const double dx = Cxcenter[Q] - Cxcenter[P], dy = Cycenter[Q] - Cycenter[P], dzh = z[Q] - z[P];
      const double d = std::sqrt(dx * dx + dy * dy + dzh * dzh);
      const double L = std::sqrt(dx * dx + dy * dy) * (w > 0 && e > 0 ? 0.5 : 1.0);
      // The pair's angle against the vertical and the tilt of the isobars.
      const double t = 1.570796326 - std::asin(dzh / d);
      const double k = std::atan(((dph * dz) / (d * (dp + 1e-20)) - std::cos(t)) / std::sin(t));
      S += area * std::sin(k) * (dp + 1e-20) / (dz * std::cos(k)) * L;
    }
    visit(c, std::fabs(S) / Faz[Cflateb[c]]);
  }
}

// R relaxed along i towards the ratios of the neighbours, as they stand.
void smoothAlongI(int c) {
  double *r = Cthixorat;
  const int w = Ccellw[c], e = Ccelle[c];
  if (w > 0 && e > 0) r[c] = 0.75 * r[c] + 0.125 * r[e] + 0.125 * r[w];
  else if (w > 0) r[c] = 0.875 * r[c] + 0.125 * r[w];
  else if (e > 0) r[c] = 0.875 * r[c] + 0.125 * r[e];
}

// The flow-state counter of a cell, walked from the top down: the bottom
// cell rests, a cell yielding above 1.1 under flowing mud (or at the top)
// gains `gain`, one below 0.9 loses 1. A counter far beyond flowing (a huge
// ratio adds its integer part) stops at 1e9 instead of overflowing.
void countState(const MudBlock &m, int c, double gain) {
  int *lev = Cthixolev;
  const double r = Cthixorat[c];
  const int a = Ccellt[c];
  if (Ccellb[c] == 0) {
    lev[c] = 0;
  } else if (r > 1.1 && (a < m.c1 || Czcenter[a] > restLevel(c))) {
    lev[c] = static_cast<int>(std::min(lev[c] + gain, 1e9));
  } else if (r < 0.9) {
    lev[c] -= 1;
  }
}

// A resting cell above a flowing one starts to flow: from each bottom cell
// upwards through the block.
void spreadUpwards(const MudBlock &m) {
  int *lev = Cthixolev;
  eachColumnBottom(m, [&](int bottom) {
    for (int c = Ccellt[bottom]; c >= m.c1; c = Ccellt[c]) {
      if (lev[c] <= 1 && lev[Ccellb[c]] > 1) lev[c] = 2;
    }
  });
}

// The mud level relaxed towards the top of a resting top cell, or towards
// the middle between a resting cell and the flowing cell above it (flowing:
// a state above `flowing`).
void relaxLevelsByState(const MudBlock &m, int flowing) {
  const int *lev = Cthixolev;
  for (int c = std::max(m.c1, 1); c <= m.c2; ++c) {
    if (lev[c] > 1) continue;
    double &B = Bthixolev[Cbed[c]];
    const int a = Ccellt[c];
    if (a < m.c1) B = 0.1 * (Czcenter[c] + Ckdist[c]) + 0.9 * B;
    else if (lev[a] > flowing) B = 0.05 * (Czcenter[a] + Czcenter[c]) + 0.9 * B;
  }
}

// The same by the ratio: towards the top of a resting top cell, or towards
// the level Ls where R passes 1 between a resting cell and a yielding cell
// above it (0.9 old, 0.1 new as at the top).
void relaxLevelsByRatio(const MudBlock &m) {
  const double *r = Cthixorat;
  for (int c = std::max(m.c1, 1); c <= m.c2; ++c) {
    if (!(r[c] < 1.0)) continue;
    double &B = Bthixolev[Cbed[c]];
    const int a = Ccellt[c];
    if (a < m.c1) {
      B = 0.1 * (Czcenter[c] + Ckdist[c]) + 0.9 * B;
    } else if (r[a] > 1.0) {
      const double f = (1.0 - r[c]) / (r[a] - r[c]);
      B = 0.9 * B + 0.1 * ((1.0 - f) * Czcenter[c] + f * Czcenter[a]);
    }
  }
}

// The mud level of each inner bed cell of the block kept between its
// neighbours': first no higher than the higher one, then no lower than the
// lower one less the bottom cell's height.
void smoothLevels(const MudBlock &m) {
  if (m.empty()) return;
  const int first = Cbed[m.c1] + 1, last = Cbed[m.c2] - 1;
  double *B = Bthixolev;
  for (int b = first; b <= last; ++b) B[b] = std::min(B[b], std::max(B[b - 1], B[b + 1]));
  for (int b = first; b <= last; ++b) B[b] = std::max(B[b], std::min(B[b - 1], B[b + 1]) - 2.0 * Ckdist[Bcellt[b]]);
}

// The counter against the mud level: a cell above it gains towards flowing,
// one below it loses towards rest.
void stateAgainstLevel(const MudBlock &m) {
  int *lev = Cthixolev;
  for (int c = std::max(m.c1, 1); c <= m.c2; ++c) {
    const double B = Bthixolev[Cbed[c]];
    if (Czcenter[c] > B && lev[c] <= 1) lev[c] += 1;
    else if (Czcenter[c] < B && lev[c] > 0) lev[c] -= 1;
  }
}

// The state set from the mud level: resting below it, flowing above.
void stateFromLevel(const MudBlock &m) {
  for (int c = std::max(m.c1, 1); c <= m.c2; ++c) Cthixolev[c] = Bthixolev[Cbed[c]] > Czcenter[c] ? 0 : 2;
}

// R never decreases upwards in a column.
void upwardMaximum(const MudBlock &m) {
  double *r = Cthixorat;
  eachColumnBottom(m, [&](int bottom) {
    for (int c = Ccellt[bottom]; c > 0; c = Ccellt[c]) r[c] = std::max(r[c], r[Ccellb[c]]);
  });
}

// The counter's tail of variants 0 and 3: the upward spreading, then the
// level by the state (flowing above `flowing` in the cell above), its
// smoothing and the counter against it.
void counterTail(const MudBlock &m, int flowing) {
  spreadUpwards(m);
  Cthixolev[0] = 0;
  if (!haveLevels()) return;
  relaxLevelsByState(m, flowing);
  smoothLevels(m);
  stateAgainstLevel(m);
}

// The ratio's tail of variants 1 and 2: upward maximum, the level by the
// ratio, its smoothing and the state from it.
void ratioTail(const MudBlock &m) {
  upwardMaximum(m);
  Cthixorat[0] = 0.0;
  if (!haveLevels()) return;
  relaxLevelsByRatio(m);
  smoothLevels(m);
  stateFromLevel(m);
}

}  // namespace

void ThixoDamp(int blk) {
  const MudBlock m = mudBlock(blk);
  double *r = Cthixorat;
  eachColumnTop(m, [&](int top) {
    walkColumnStress(m, top, false, [&](int c, double T) {
      r[c] = 0.1 * (inertiaStress(c) + T) / yieldStress(c) + 0.9 * r[c];
      smoothAlongI(c);
    });
    for (int c = top; c > 0; c = Ccellb[c]) countState(m, c, 1.0);
  });
  counterTail(m, 1);
}

void ThixoDamp2(int blk) {
  const MudBlock m = mudBlock(blk);
  double *r = Cthixorat;
  eachColumnTop(m, [&](int top) {
    walkColumnStress(m, top, true, [&](int c, double T) {
      r[c] = 0.05 * T / yieldStress(c) + 0.95 * r[c];
      smoothAlongI(c);
    });
  });
  r[0] = 0.0;
  // Peak cut: a ratio above both i-neighbours' is held near their mean.
  if (Cbed && !m.empty()) {
    for (int b = Cbed[std::max(m.c1, 1)]; b <= Cbed[m.c2]; ++b) {
      for (int c = Bcellt[b]; c > 0; c = Ccellt[c]) {
        const int w = Ccellw[c], e = Ccelle[c];
        if (w > 0 && e > 0 && r[c] > r[w] && r[c] > r[e]) r[c] = std::min(r[c], 0.525 * (r[e] + r[w]));
      }
    }
  }
  ratioTail(m);
}

void ThixoDamp1(int blk) {
  const MudBlock m = mudBlock(blk);
  coeff_make(block[blk].FirstFace, block[blk].LastFace);
  Cthixolev[0] = 0;
  eachColumnTop(m, [&](int top) {
    walkColumnStress(m, top, false, [&](int c, double T) {
      // A cell without any link to a neighbour keeps a centre of 1e-20, so
      // that it takes its own excess instead of 0 / 0.
      const double links = Caw[c] + Cae[c] + Can[c] + Cas[c] + Cat[c] + Cab[c];
      Cap[c] = links > 0.0 ? links : 1e-20;
      Csource[c] = (links + 1e-20) * (T / yieldStress(c) - 1.0);
    });
  });
  // The excess of the ratio solved as a field over the block's cells only.
  double *saved = Cf;
  const int first = WCStart, last = WCEnd;
  Cf = Cthixorat;
  WCStart = m.c1;
  WCEnd = m.c2;
  solver();
  WCStart = first;
  WCEnd = last;
  Cf = saved;
  ratioTail(m);
}

double computeAccHystatForce(int cell, double base) {
  double sum = 0.0;
  for (int c = cell; c >= 1; c = Ccellb[c]) {
    const double hk = Ckdist[c], z = Czcenter[c];
    if (z - hk > base) {
      sum += 2.0 * hk * Cpres[c];
    } else {
      if (z + hk > base) sum += (z + hk - base) * Cpres[c];
      break;
    }
  }
  return sum;
}

void ThixoDamp3(int blk) {
  const MudBlock m = mudBlock(blk);
  double *r = Cthixorat;
  eachColumnTop(m, [&](int top) {
    const int w = Ccellw[top], e = Ccelle[top];
    for (int c = top; c > 0; c = Ccellb[c]) {
      const double base = Czcenter[c];
      double F = 0.0;
      if (w > 0 && e > 0) F = std::fabs(computeAccHystatForce(w, base) - computeAccHystatForce(e, base));
      else if (w > 0) F = std::fabs(2.0 * (computeAccHystatForce(w, base) - computeAccHystatForce(top, base)));
      else if (e > 0) F = std::fabs(2.0 * (computeAccHystatForce(top, base) - computeAccHystatForce(e, base)));
      r[c] = (inertiaStress(c) + F * Cjdist[c] / Faz[Cflateb[c]]) / yieldStress(c);
    }
    for (int c = top; c > 0; c = Ccellb[c]) countState(m, c, std::trunc(r[c]));
  });
  counterTail(m, 0);
}
