// k of the bottom cells at discharge boundaries. Both routines change the
// flow field itself; the flow solver recomputes k in its next iteration.
#include "sediment/transport/boundary_shear_fixes.h"

#include <algorithm>

#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/settings.h"

namespace {

struct BoundaryCell {
  int cell, side;
};

BoundaryCell boundaryCellOf(int f) {
  if (Fcell1[f] != 0) return {Fcell1[f], Ftype1[f]};
  return {Fcell2[f], Ftype2[f]};
}

// The neighbour of c one step away from a boundary on side s (1 south,
// 2 east, 3 north, 4 west), 0 when none or the side is not lateral.
int inwardOf(int c, int side) {
  switch (side) {
    case 1: return Ccelln[c];
    case 2: return Ccellw[c];
    case 3: return Ccells[c];
    case 4: return Ccelle[c];
    default: return 0;
  }
}

// Calls fix(c, side) for every bottom cell of the faces of groups 1..9 of
// the given type.
template <class Fix>
void forBoundaryBottomCells(int type, Fix fix) {
  for (int g = 1; g < kDischargeGroups; ++g) {
    const DischargeGroup &group = DischargeStruct[g];
    if (group.type != type) continue;
    for (int n = 0; n < group.faceCount; ++n) {
      const BoundaryCell bc = boundaryCellOf(group.faces[n]);
      if (bc.cell > 0 && Ccellb[bc.cell] == 0) fix(bc.cell, bc.side);
    }
  }
}

}  // namespace

void computeZeroGradSedim() {
  auto neighbour = [](int c, int side, bool second) {
    int n = inwardOf(c, side);
    if (n > 0 && second) {
      const int further = inwardOf(n, side);
      if (further > 0) n = further;
    }
    return n;
  };
  const bool secondIn = FlagZeroGradSedim == 2 || FlagZeroGradSedim == 12;
  forBoundaryBottomCells(1, [&](int c, int side) {
    const int n = neighbour(c, side, secondIn);
    if (n > 0) Ckinen[c] = Ckinen[n];
  });
  if (FlagZeroGradSedim <= 19) return;
  const bool secondOut = FlagZeroGradSedim == 21;
  forBoundaryBottomCells(0, [&](int c, int side) {
    const int n = neighbour(c, side, secondOut);
    if (n > 0) Ckinen[c] = std::min(Ckinen[c], Ckinen[n]);
  });
}

void computeOutflowFix() {
  forBoundaryBottomCells(0, [](int c, int) {
    double half = 0.0;
    for (int k = c; k > 0; k = Ccellt[k]) half += Ckdist[k];
    if (2.0 * half < outflowFixDepth) Ckinen[c] += outflowFixShear / 300.0;
  });
}
