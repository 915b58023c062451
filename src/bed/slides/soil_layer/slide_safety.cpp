// Safety factor of a slide of the soil layer: cohesion and friction on the
// sliding surface against gravity along it and the groundwater flow. Writes
// the slide's force terms per unit area and kSF.
#include "bed/slides/soil_layer/slide_safety.h"

#include <algorithm>
#include <cmath>

#include "bed/slides/soil_layer/slide_layer.h"
#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/settings.h"

namespace {

// Unit weights: water, and the wet soil that drives the slide, N/m3.
constexpr double kWater = 9810.0, kSoil = 13600.0;
// Friction weight of the soil below and above the groundwater level.
constexpr double kBelowWater = 0.825, kAboveWater = 1.36;

// Force terms of one slide while its columns are summed.
struct Sums {
  double area = 1e-20, cohesion = 0, friction = 0, gravityI = 0, gravityJ = 0, waterI = 0, waterJ = 0;
  double heightN = 0, heightW = 0, heightD = 0;
};

double planDistance(int a, int b) { return std::hypot(Cxcenter[a] - Cxcenter[b], Cycenter[a] - Cycenter[b]); }

// Gravity and groundwater gradients between the two neighbours of a column,
// times its height and area; nothing at the block edge.
void addGradient(int up, int down, double weight, double &gravity, double &water) {
  if (up <= 0 || down <= 0) return;
  const int bu = Cbed[up], bd = Cbed[down];
  const double l = planDistance(up, down);
  gravity += kSoil * (Bthixolev[bu] - Bthixolev[bd]) / l * weight;
  if (FlagGroundwater > 0 && Bgroundwater) water += kWater * (Bgroundwater[bu] - Bgroundwater[bd]) / l * weight;
}

}  // namespace

double computeSlideSF(int s) {
  const int blk = slideLayerBlock(false);
  const int label = BVal[s];
  Sums t;
  if (blk > 0 && label > 0) {
    const GridBlock &g = block[blk];
    const bool layered = layerIsLayered(blk);
    const bool groundwater = FlagGroundwater > 0 && Bgroundwater;
    for (const int b : slideColumns(label)) {
      const int c = Bcellt[b];
      if (b < g.FirstBedCell || b > g.LastBedCell || c <= 0 || Bcellth[b] != label) continue;
      const double a = Faz[Cflatet[c]];
      const double top = columnTop(c);
      const double zs = std::min(Bthixolev[b], top), h = top - zs;
      double hw = 0.0;
      if (groundwater) hw = std::max(Bgroundwater[b] < top ? Bgroundwater[b] - zs : h, 0.0);
      const double hd = std::max(h - hw, 0.0);
      t.area += a;
      t.heightN += a * h;
      t.heightW += a * hw;
      t.heightD += a * hd;
      addGradient(Ccelle[c], Ccellw[c], h * a, t.gravityI, t.waterI);
      addGradient(Ccelln[c], Ccells[c], h * a, t.gravityJ, t.waterJ);
      t.friction += (kBelowWater * hw + kAboveWater * hd) * ThixoMySlope * a * kWater;
      // A column already cut below its lowest level lies on weakened soil.
      const bool weakened = layered && Bthixolev[b] > BthixolevMin[b] + 0.01;
      t.cohesion += a * ThixoCritshear * (weakened ? ThixoCohesiveModifier : 1.0);
    }
  }
  const double sf = (t.cohesion + t.friction) /
                    (std::hypot(t.gravityI + t.waterI, t.gravityJ + t.waterJ) + 1e-20);
  const double per = 1.0 / t.area;
  kCohesion[s] = t.cohesion * per;
  kFriction[s] = t.friction * per;
  kGravityI[s] = t.gravityI * per;
  kGravityJ[s] = t.gravityJ * per;
  kGroundwaterI[s] = t.waterI * per;
  kGroundwaterJ[s] = t.waterJ * per;
  kHeightN[s] = t.heightN * per;
  kHeightW[s] = t.heightW * per;
  kHeightD[s] = t.heightD * per;
  kSF[s] = sf;
  return sf;
}
