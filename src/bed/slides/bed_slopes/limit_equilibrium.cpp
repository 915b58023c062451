// Bank failure by limit equilibrium after a bed change: the weight of a
// wedge of the bank column against friction and cohesion, with the pore
// pressure of the groundwater when it is computed. Writes the bed levels
// zval[..][..][1] of the failing columns' corners and Surfaces plane 1.
#include "bed/slides/bed_slopes/limit_equilibrium.h"

#include <algorithm>
#include <cmath>

#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/points.h"
#include "model/settings.h"
#include "model/structured.h"
#include "startup/operations.h"

namespace {

constexpr int kMoved = 1, kNonErodible = 3;

// The sliding wedge holds this volume per plan area and metre of height
// difference across the column.
constexpr double kWedge = 0.4;

// A failing column flattens by this share of its wedge beyond what cohesion
// alone would let slide.
constexpr double kExtraShare = 0.02;

constexpr double kWeightOfWater = 9810.0;  // N/m3

// Blocks of the river grid in the current work; a soil layer is never a bank.
bool bankBlock(const GridBlock &g) {
  return g.BlockKind == 0 && g.GridLevel == 0 && g.WorkFlag == 1 && g.LayerMark == 0;
}

int bottomCell(int i, int j) { return static_cast<int>(zval[i][j][0]); }

bool besideDry(int i, int j) {
  return bottomCell(i, j + 1) == 0 || bottomCell(i, j - 1) == 0 || bottomCell(i + 1, j) == 0 ||
         bottomCell(i - 1, j) == 0;
}

// Groundwater level beside the column through its neighbour cell; a missing
// neighbour reads the column's own level, so it adds no gradient.
double groundwaterBeside(int cell, int b) {
  const int nb = cell > 0 ? Cbed[cell] : 0;
  return Bgroundwater[nb > 0 ? nb : b];
}

// Driving force of the wedge of weight w in the column with bottom cell c:
// down the bed face, or, with groundwater, along each grid direction with
// the pore-pressure push of the groundwater gradient across the column.
double drivingForce(int c, int b, double w, double si, double sj) {
  if (FlagGroundwater == 0 || Bgroundwater == nullptr) {
    const double cosine = std::clamp(Fvz[Cflateb[c]], -1.0, 1.0);
    return w * std::tan(std::acos(cosine));
  }
  const double gW = groundwaterBeside(Ccellw[c], b), gE = groundwaterBeside(Ccelle[c], b);
  const double gS = groundwaterBeside(Ccells[c], b), gN = groundwaterBeside(Ccelln[c], b);
  const double fi = w * si / (2.0 * Cidist[c] + 1e-20) + kWeightOfWater * (gW - gE) * si * Cjdist[c];
  const double fj = w * sj / (2.0 * Cjdist[c] + 1e-20) + kWeightOfWater * (gN - gS) * sj * Cidist[c];
  return std::sqrt(fi * fi + fj * fj);
}

// Moves the four corners of column (i, j), levels z, towards their mean by
// h in all. A corner moving down stops at the non-erodible level: all four
// moves shrink alike, so the column keeps its bed volume.
void flatten(int i, int j, const double z[4], double h) {
  const int pi[4] = {i - 1, i, i, i - 1}, pj[4] = {j - 1, j - 1, j, j};
  const double mean = 0.25 * (z[0] + z[1] + z[2] + z[3]);
  double spread = 1e-20;
  for (int k = 0; k < 4; ++k) spread += std::fabs(mean - z[k]);
  double move[4], scale = 1.0;
  for (int k = 0; k < 4; ++k) {
    move[k] = h * (mean - z[k]) / spread;
    if (move[k] >= 0.0) continue;
    const double room = zval[pi[k]][pj[k]][1] - Surfaces[kNonErodible][pi[k]][pj[k]];
    if (room + move[k] < 0.0) scale = std::min(scale, std::max(room, 0.0) / -move[k]);
  }
  for (int k = 0; k < 4; ++k) {
    zval[pi[k]][pj[k]][1] += scale * move[k];
    Surfaces[kMoved][pi[k]][pj[k]] += scale * move[k];
  }
}

// Tests the wet column (i, j) with bottom cell c and flattens it when the
// driving force minus cohesion exceeds friction. The corner levels are the
// cell's, which later moves of neighbouring columns leave as they were.
void testColumn(int i, int j, int c) {
  const int b = Cbed[c];
  const double area = Barea[b];
  if (area <= 0.0) return;
  const double z[4] = {Pz[Cpoint1[c]], Pz[Cpoint2[c]], Pz[Cpoint3[c]], Pz[Cpoint4[c]]};
  const double si = 0.5 * ((z[1] - z[0]) + (z[2] - z[3]));
  const double sj = 0.5 * ((z[2] + z[3]) - (z[0] + z[1]));
  const double volume = kWedge * area * std::hypot(si, sj);
  const double weight = kWeightOfWater * density * SolidFrac * volume;
  const double force = drivingForce(c, b, weight, si, sj);
  const double friction = SlopeGLEA * weight, cohesion = CohesionGLEA * area;
  if (!(force - cohesion > friction)) return;
  const double h = volume * (cohesion / (std::max(friction, cohesion) + 1e-30) + kExtraShare) / area;
  flatten(i, j, z, h);
}

}  // namespace

void computeGLEA() {
  if (FlagGroundwater > 0) operations.groundwater();
  if (FlagGLEA != 1) return;
  for (int n = 1; n <= NoBlocks; ++n) {
    const GridBlock &g = block[n];
    if (!bankBlock(g)) continue;
    for (int i = g.i1; i <= g.i2; ++i) {
      for (int j = g.j1; j <= g.j2; ++j) {
        const int c = bottomCell(i, j);
        if (c > 0 && besideDry(i, j)) testColumn(i, j, c);
      }
    }
  }
}
