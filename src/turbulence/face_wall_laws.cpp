// The face-by-face and the river wall laws: every wall face brakes the
// velocity of its cell on its own, every pair of opposite sides with a wall
// gives one k term and one wall epsilon. The river law knows no lid and
// spreads the bed friction over the cells that lie within the bed forms.
#include "turbulence/face_wall_laws.h"

#include <atomic>
#include <cstddef>
#include <vector>

#include "model/bed_cells.h"
#include "model/cells.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "turbulence/wall_face_terms.h"
#include "turbulence/wall_law_cells.h"

namespace {

using namespace wall_cells;

// The k or epsilon term of one pair at the distance of that pair.
using PairTerm = void (*)(int cell, const double *dist);

PairTerm pairTerm(int eq) { return eq == 5 ? wall_laws_surface_k : wall_laws_surface_eps; }

// One pair term for each pair of sides in `sides` with a wall.
void pairTerms(int c, unsigned sides, PairTerm term) {
  if (sides & (kEast | kWest)) term(c, Cidist);
  if (sides & (kSouth | kNorth)) term(c, Cjdist);
  if (sides & (kTop | kBottom)) term(c, Ckdist);
}

// The momentum terms of the east, west, south and north wall faces.
void sideFriction(int c, unsigned sides) {
  if (sides & kEast) wall_laws_surface_u(c, Cflatee, Cidist);
  if (sides & kWest) wall_laws_surface_u(c, Cflatew, Cidist);
  if (sides & kSouth) wall_laws_surface_u(c, Cflates, Cjdist);
  if (sides & kNorth) wall_laws_surface_u(c, Cflaten, Cjdist);
}

// The river law's five sides: a flagged lid is no wall.
inline unsigned riverSides(int c) { return wallSides(c) & ~static_cast<unsigned>(kTop); }

// Shares of the bed friction for cells beyond the last cell of a call's
// range, which another thread may be preparing at the same time: each is
// written by the one range that holds the column's bottom cell, and added
// to Cap once the ranges have joined.
std::vector<double> gDeferredShares;
std::atomic<bool> gSharesDeferred{false};

void deferShare(int x, double share) {
  gDeferredShares[x] += share;
  gSharesDeferred.store(true, std::memory_order_relaxed);
}

// The bed friction Fw of bottom cell c, shared equally by the cells of the
// column whose centres lie at most the bed-form height above the bed (at
// least the bottom cell, all cells when every centre lies within).
void shareBedFriction(int c, double fw, int last) {
  const double hb = Bedformheight[Cbed[c]];
  int m = 1;
  double h = Ckdist[c];
  for (int x = c; Ccellt[x] > 0; x = Ccellt[x]) {
    h += Ckdist[x] + Ckdist[Ccellt[x]];
    if (h > hb) break;
    ++m;
  }
  const double share = fw / m;
  for (int x = c, n = 0; n < m; x = Ccellt[x], ++n) {
    if (x <= last) Cap[x] += share;
    else deferShare(x, share);
  }
}

}  // namespace

void wall_laws_new(int first, int last) {
  const int eq = Equation;
  for (int c = first; c <= last; ++c) {
    const unsigned sides = wallSides(c);
    if (!sides) continue;
    Cap[c] = Csource[c] = 0.0;
    if (eq < 4) {
      sideFriction(c, sides);
      if (sides & kTop) wall_laws_surface_u(c, Cflatet, Ckdist);
      if (sides & kBottom) wall_laws_surface_u(c, Cflateb, Ckdist);
    } else if (eq == 5 || eq == 6) {
      pairTerms(c, sides, pairTerm(eq));
    }
  }
}

void wall_laws_river(int first, int last) {
  const int eq = Equation;
  if (eq >= 4 && eq != 5 && eq != 6) return;
  // Sized once, on the first call (before any parallel region of a run).
  if (gDeferredShares.size() < static_cast<std::size_t>(MaxCeller) + 1) gDeferredShares.assign(MaxCeller + 1, 0.0);
  // Cleared first: a share of the bed friction may land on a wall cell
  // above the bottom cell.
  for (int c = first; c <= last; ++c) {
    if (riverSides(c)) Cap[c] = Csource[c] = 0.0;
  }
  for (int c = first; c <= last; ++c) {
    const unsigned sides = riverSides(c);
    if (!sides) continue;
    if (eq == 5 || eq == 6) {
      pairTerms(c, sides, pairTerm(eq));
      continue;
    }
    sideFriction(c, sides);
    if (sides & kBottom) {
      const WallFriction w = wall_face_friction(c, Cflateb, Ckdist);
      Csource[c] += w.source;
      shareBedFriction(c, w.fw, last);
    }
  }
}

void addDeferredBedFriction() {
  if (!gSharesDeferred.exchange(false)) return;
  for (int x = 1; x <= NoCells; ++x) {
    if (gDeferredShares[x] != 0.0) {
      Cap[x] += gDeferredShares[x];
      gDeferredShares[x] = 0.0;
    }
  }
}
