// Mud friction and velocity damping: the resting bottom cell of a mud column
// brakes the cell above it like a viscous layer, and the cells where the mud
// does not yield are stopped or slowed.
#include "turbulence/mud_friction.h"

#include <algorithm>

#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/settings.h"

namespace {

void stop(int c) { Cxvel[c] = Cyvel[c] = Czvel[c] = 0.0; }

void scale(int c, double f) {
  Cxvel[c] *= f;
  Cyvel[c] *= f;
  Czvel[c] *= f;
}

// The ratio f of the upstream rule: the cell's own, lowered to the ratio of
// the neighbour the flow through the west face comes from and of the south
// and north neighbours.
double upstreamRatio(int c) {
  const double *r = Cthixorat;
  double f = std::min(r[c], 1.0);
  const double west = Fflux[Cflatew[c]];
  if (Ccelle[c] != 0 && west < 0.0) f = std::min(f, r[Ccelle[c]]);
  if (Ccellw[c] != 0 && west > 0.0) f = std::min(f, r[Ccellw[c]]);
  if (Ccells[c] != 0) f = std::min(f, r[Ccells[c]]);
  if (Ccelln[c] != 0) f = std::min(f, r[Ccelln[c]]);
  return f;
}

// A damping never reverses or speeds up the mud: factors are kept in 0..1.
double unitFactor(double f) { return std::clamp(f, 0.0, 1.0); }

}  // namespace

int velocityDampingBlock() {
  if (NoBlocks >= 1 && block[1].LayerMark > 0) return 1;
  if (NoBlocks >= 2 && block[2].LayerMark > 0) return 2;
  return 0;
}

int slideLayerBlock() {
  int found = 0;
  for (int b = 1; b <= NoBlocks; ++b) {
    if (block[b].LayerMark == 1) found = b;
  }
  return found;
}

void wall_thixo() {
  const int blk = slideLayerBlock();
  if (blk == 0) return;
  const double gamma = ThixoMinGamma;
  for (int b = block[blk].FirstBedCell; b <= block[blk].LastBedCell; ++b) {
    const int c = Ccellt[Bcellt[b]];
    if (c > 0) Cap[c] += Farea[Cflateb[c]] * gamma / Ckdist[c];
  }
}

void ThixoVelDamp() {
  const int blk = velocityDampingBlock(), rule = FlagThixoDampVel;
  if (blk == 0 || rule < 1 || rule > 7) return;
  if (rule == 6 && !(Bthixolev && Cbed)) return;
  const double *r = Cthixorat;
  for (int c = block[blk].FirstCell; c <= block[blk].LastCell; ++c) {
    switch (rule) {
      case 1: if (Cthixolev[c] < 1) stop(c); break;
      case 2: if (r[c] < 0.0) stop(c); break;
      case 3: if (r[c] < 1.0) stop(c); break;
      case 4: scale(c, unitFactor(std::min(r[c], 1.0))); break;
      case 5: {
        const double f = unitFactor(upstreamRatio(c));
        scale(c, f * f * f * f);
        break;
      }
      case 6: if (Czcenter[c] < Bthixolev[Cbed[c]]) stop(c); break;
      case 7: if (Ccellb[c] == 0) stop(c); break;
      default: break;
    }
  }
}
