// Bed forms grow with the transport stage and vanish in sheet flow; their
// height and the grain size give the bed roughness that the wall laws of the
// next flow computation use.
#include "sediment/transport/bed_forms.h"

#include <algorithm>
#include <cmath>

#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"

double bedFormHeight(int formula, double meanStage, double h, double dm, double depthFactor, double tau,
                     double thickness) {
  switch (formula) {
    case 0:
    case 1: {
      double form = 0.0;
      if (meanStage <= 25.0) {
        form = 0.11 * h * std::pow(dm / h, 0.3) * (1.0 - std::exp(-0.5 * meanStage)) * (25.0 - meanStage);
      }
      if (formula == 0) form = std::min({form, thickness / 2.0, 3.0 * h});
      return form;
    }
    default: {
      const double f = depthFactor / std::sqrt(9.81 * h), f2 = f * f;
      const double s = std::max(0.0, tau / (9810.0 * h) - 0.0168 * f2 * std::pow(dm / h, 0.33));
      return h * std::min(2.0, std::pow(std::pow(6.28 * f2, 1.2) * s / (KarimCoeff * f2), 0.73));
    }
  }
}

double bedRoughness(int rule, int variant, double thickness, double d90, double form, double h, double stored) {
  if (variant < 2 || variant > 6) return stored;
  if (rule < 0 || rule > 3) return stored;
  const double kc = coeffRoughRijn, limit = XksWall;
  if (thickness > d90) {
    if (variant == 2) return kc * d90;
    return kc * d90 + 1.1 * form * (1.0 - std::exp(-25.0 * form / (7.3 * h)));
  }
  switch (rule) {
    case 1: return limit;
    case 3: return std::max(limit, kc * thickness);
    default: return std::max(std::min(d90, limit), kc * thickness);
  }
}

namespace {

// With F 103 2 the height moves towards its equilibrium by the share of one
// bed form's volume (length 7.3 h) that the step's transport carries: a step
// that carries it all reaches the equilibrium, a step without transport
// keeps the stored height.
double relaxedHeight(const BedFormCell &cell, double form) {
  double carried = 0.0;
  for (int k = 1; k <= lnumber; ++k) carried += Bconc[k][cell.b] * BSedDistrib[cell.layer][k][cell.b];
  const double x = carried * 2.0 * Ckdist[cell.c0] * cell.speed * TimeStep / (form * 7.3 * 0.5 * cell.h);
  const double w = x < 1.0 ? 1.0 - x : 0.0;
  return form - (form - Bedformheight[cell.b]) * w;
}

}  // namespace

void updateBedForms(const BedFormCell &cell) {
  const int b = cell.b;
  const double thickness = BSedDistrib[cell.layer][0][b] + BSedDistrib[0][0][b];
  const double meanStage = cell.stageSum / lnumber;
  double form = Bedformheight[b];
  if (FlagDuneFormula >= 0 && FlagDuneFormula <= 3) {
    form = bedFormHeight(FlagDuneFormula, meanStage, cell.h, cell.dm, cell.depthFactor, cell.tau, thickness);
  }
  if (Flag2BedRoughness == 2) form = relaxedHeight(cell, form);
  Bedformheight[b] = form;
  Broughness[b] = bedRoughness(Flag2BedRoughness, FlagRoughness, thickness, cell.d90, form, cell.h, Broughness[b]);
}

namespace {

// One line block: bed cells first..last in a row.
void smoothLineOnce(int first, int last) {
  double before = Broughness[first];
  for (int n = first + 1; n <= last - 1; ++n) {
    const double own = Broughness[n];
    const double next = 0.33333 * (before + own + Broughness[n + 1]);
    if (next > 1e-20) Broughness[n] = next;
    before = own;
  }
}

void sweepLine(int first, int last) {
  if (last <= first) return;
  for (int n = first + 1; n <= last - 1; ++n) {
    Broughness[n] = 0.33333333 * (Broughness[n - 1] + Broughness[n] + Broughness[n + 1]);
  }
  for (int n = last - 1; n >= first + 2; --n) {
    Broughness[n] = 0.33333333 * (Broughness[n - 1] + Broughness[n] + Broughness[n + 1]);
  }
  Broughness[first] = Broughness[first + 1];
}

double &planeRoughness(int i, int j) { return Broughness[pointbed[i][j]]; }

void sweepPlaneAt(int i, int j) {
  planeRoughness(i, j) = 0.125 * (4.0 * planeRoughness(i, j) + planeRoughness(i, j + 1) + planeRoughness(i, j - 1) +
                                  planeRoughness(i + 1, j) + planeRoughness(i - 1, j));
}

void sweepPlane(const GridBlock &blk) {
  for (int i = blk.i1 + 1; i <= blk.i2 - 1; ++i) {
    for (int j = blk.j1 + 1; j <= blk.j2 - 1; ++j) sweepPlaneAt(i, j);
  }
  for (int i = blk.i2 - 1; i >= blk.i1 + 1; --i) {
    for (int j = blk.j2 - 1; j >= blk.j1 + 1; --j) sweepPlaneAt(i, j);
  }
}

}  // namespace

void smoothBedRoughness() {
  if (FlagRoughness <= 1 || (FlagSmoothKs != 1 && FlagSmoothKs != 2)) return;
  for (int n = 1; n <= NoBlocks; ++n) {
    const GridBlock &blk = block[n];
    if (blk.WorkFlag != 1 || blk.j1 != blk.j2) continue;
    if (FlagSmoothKs == 1) {
      smoothLineOnce(blk.FirstBedCell, blk.LastBedCell);
    } else {
      sweepLine(blk.FirstBedCell, blk.LastBedCell);
    }
  }
  if (FlagSmoothKs != 2) return;
  for (int n = 1; n <= NoBlocks; ++n) {
    const GridBlock &blk = block[n];
    if (blk.WorkFlag == 1 && blk.j2 > blk.j1) sweepPlane(blk);
  }
}
