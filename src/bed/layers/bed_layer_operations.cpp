// The layer operations of the multi-layer bed: BSedDistrib[layer][0][b] is a
// layer's bulk thickness, [layer][k][b] the share of size k in its solids,
// Bsolidfraction[layer][b] its solid fraction, BlayerTop[b] the top layer.
// They read and write only bed cell b and allocate nothing.
#include "bed/layers/bed_layer_operations.h"

#include <algorithm>
#include <cmath>

#include "base/exit_codes.h"
#include "base/log.h"
#include "model/bed_cells.h"
#include "model/settings.h"

namespace {

double &thick(int layer, int b) { return BSedDistrib[layer][0][b]; }

// Copies thickness and fractions of layer from onto layer to.
void copyLayer(int from, int to, int b) {
  for (int k = 0; k <= lnumber; ++k) BSedDistrib[to][k][b] = BSedDistrib[from][k][b];
}

// Whether the descent through the layers under a size's shortage stops after
// using `layer`: nothing left to take, no descent allowed, the armour layer
// reached, or the bottom reached.
bool descentEnds(double remainder, int layer, int b) {
  if (remainder > -1e-15 || FlagErodeUnder == 0 || layer <= 0) return true;
  return FlagErodeUnder == 2 && layer <= Barmourthick[b];
}

// Takes the shortage (<= 0) of size k from `layer` downwards by the descent
// rules; returns what is still missing.
double takeFromBelow(int b, int layer, int k, double shortage) {
  for (;; --layer) {
    shortage = erodeLayerUnder(b, layer, k, shortage);
    if (descentEnds(shortage, layer, b)) return shortage;
  }
}

// A deposit: the top layer's solid fraction s_top converts the bulk changes
// to solids, so sizes eroded while the column gains take s_top·|change| and
// the new layer holds S·s_top of solids at the fraction of fresh deposits.
void depositLayer(int b) {
  const double sTop = Bsolidfraction[BlayerTop[b]][b];
  if (BlayerTop[b] == NoBedLayers - 1) JoinLayers(b, FindJoinLayer(b));
  const int top = BlayerTop[b];
  double sum = 0.0;
  for (int k = 1; k <= lnumber; ++k) sum += std::max(Bbedchange[k][b], 0.0);
  const int layer = top + 1;
  for (int k = 1; k <= lnumber; ++k) {
    const double change = Bbedchange[k][b];
    if (change > 0.0) {
      BSedDistrib[layer][k][b] = change / (sum + 1e-80);
      continue;
    }
    BSedDistrib[layer][k][b] = 0.0;
    Bvolleft[k][b] = change < 0.0 ? takeFromBelow(b, top, k, sTop * change) : 0.0;
  }
  thick(layer, b) = sum * sTop / SolidFrac;
  Bsolidfraction[layer][b] = SolidFrac;
  BlayerTop[b] = layer;
}

// Erosion of depth h: the layers down to the one where the depth is reached
// are mixed into one top layer that keeps what the demand leaves; a size the
// mix cannot supply is taken from below or recorded as missing in Bvolleft.
void erodeLayers(int b, double h) {
  const int top = BlayerTop[b];
  const double sTop = Bsolidfraction[top][b];
  double collected[kMaxGrainSizes + 1] = {};
  double total = 0.0;
  int l = top;
  for (; l >= 0; --l) {
    const double t = thick(l, b), s = Bsolidfraction[l][b];
    for (int k = 1; k <= lnumber; ++k) collected[k] += BSedDistrib[l][k][b] * t * s;
    total += t;
    if (total > h) break;
    thick(l, b) = 0.0;
  }
  const int newTop = std::max(l, 0);
  BlayerTop[b] = newTop;
  double left = 0.0;
  for (int k = 1; k <= lnumber; ++k) {
    double x = collected[k] + Bbedchange[k][b] * sTop;
    if (x < 0.0 && l >= 1 && FlagErodeUnder > 0) x = takeFromBelow(b, newTop - 1, k, x);
    if (std::fabs(x) < 1e-15) x = 0.0;
    if (x < 0.0) {
      Bvolleft[k][b] = x;
      x = 0.0;
    }
    collected[k] = x;
    left += x;
  }
  thick(newTop, b) = left / Bsolidfraction[newTop][b];
  for (int k = 1; k <= lnumber; ++k) BSedDistrib[newTop][k][b] = collected[k] / (left + 1e-80);
}

[[noreturn]] void reportBrokenStack(int b, int layer, double sum, double movement, int removed) {
  logPrintf("Error in function ChangeLayers: sum of grain sizes layer %d = %lf for bedcell %d\n", layer, sum, b);
  for (int k = 1; k <= lnumber; ++k) logPrintf("size=%d, fraction=%lg\n", k, BSedDistrib[layer][k][b]);
  logPrintf("Thickness of active layer: %lg meters, movement = %lg meters.\n", thick(layer, b), movement);
  fatalPrintf(kExitLayerStack, nullptr, "Number of top layer: %d, removed layers = %d\n", BlayerTop[b], removed);
}

// Every layer keeps a thickness unless the stack is one layer, and every layer
// that holds sediment has fractions summing to 1.
void checkStack(int b, double movement, int removed) {
  const int top = BlayerTop[b];
  for (int layer = 0; layer <= top; ++layer) {
    double sum = 0.0;
    for (int k = 1; k <= lnumber; ++k) sum += BSedDistrib[layer][k][b];
    const double t = thick(layer, b);
    if ((std::fabs(sum - 1.0) > 1e-6 && t > 1e-5) || (t < 1e-15 && top > 0)) {
      reportBrokenStack(b, layer, sum, movement, removed);
    }
  }
}

}  // namespace

double referenceLayerThickness() {
  if (TopThickness > 0.0) return TopThickness;
  double largest = 0.0;
  for (int k = 1; k <= lnumber; ++k) largest = std::max(largest, gsize[k]);
  return largest;
}

double stackThickness(int b) {
  double sum = 0.0;
  for (int layer = 0; layer <= BlayerTop[b]; ++layer) sum += thick(layer, b);
  return sum;
}

void ChangeLayers(int b, double movement) {
  if (movement > 0.0) {
    depositLayer(b);
  } else if (movement < 0.0) {
    erodeLayers(b, -movement);
  }
  const int removed = removeZerolayers(b);
  if (FlagSplitLayers > 0 && BlayerTop[b] < NoBedLayers - 2) SplitLayers(b);
  checkStack(b, movement, removed);
}

void JoinLayers(int b, int l) {
  l = std::max(l, 1);
  const int top = BlayerTop[b];
  if (l > top) return;  // no layer above the top to merge
  const double tl = thick(l, b), tb = thick(l - 1, b);
  for (int k = 1; k <= lnumber; ++k) {
    BSedDistrib[l - 1][k][b] = (BSedDistrib[l][k][b] * tl + BSedDistrib[l - 1][k][b] * tb) / (tb + tl + 1e-80);
  }
  double *const s0 = &Bsolidfraction[l - 1][b];
  *s0 = ((tl + 1e-100) * Bsolidfraction[l][b] + (tb + 1e-100) * *s0) / (tb + tl + 2e-100);
  thick(l - 1, b) = tb + tl;
  for (int m = l; m < top; ++m) {
    copyLayer(m + 1, m, b);
    Bsolidfraction[m][b] = Bsolidfraction[m + 1][b];
  }
  for (int k = 0; k <= lnumber; ++k) BSedDistrib[top][k][b] = 0.0;
  BlayerTop[b] = top - 1;
}

int FindJoinLayer(int b) {
  const int top = BlayerTop[b];
  if (top < 1) return top;
  if (thick(top - 1, b) < 1.5 * referenceLayerThickness()) return top;
  for (int l = 1; l <= top; ++l) {
    if (thick(l, b) + thick(l - 1, b) < 1e-7) return l;
  }
  double best = 1e7;
  int chosen = 1;
  for (int l = 1; l <= top; ++l) {
    double difference = 0.0;
    for (int k = 1; k <= lnumber; ++k) difference += std::fabs(BSedDistrib[l][k][b] - BSedDistrib[l - 1][k][b]);
    if (difference < best) {
      best = difference;
      chosen = l;
    }
  }
  return chosen;
}

void SplitLayers(int b) {
  const int top = BlayerTop[b];
  // Only the two known ways of splitting: any other value would copy a layer
  // without sharing its thickness and so create sediment.
  if (top >= NoBedLayers || top < 0 || (FlagSplitLayers != 1 && FlagSplitLayers != 2)) return;
  const double reference = referenceLayerThickness();
  int m = top;
  while (m >= 0 && thick(m, b) <= 3.0 * reference) --m;
  if (m < 0) return;
  for (int layer = top; layer >= m; --layer) copyLayer(layer, layer + 1, b);
  BlayerTop[b] = top + 1;
  const double t = thick(m, b);
  const double upper = FlagSplitLayers == 1 ? reference : 0.5 * t;
  thick(m + 1, b) = upper;
  thick(m, b) = t - upper;
}

int removeZerolayers(int b) {
  if (BlayerTop[b] <= 0) return 0;
  int removed = 0;
  int l = 1;
  for (int step = 0; l <= BlayerTop[b] && step < 2 * NoBedLayers + 1; ++step) {
    if (thick(l, b) < 1e-10) {
      JoinLayers(b, l);
      ++removed;
    } else {
      ++l;
    }
  }
  if (thick(0, b) < 1e-10 && BlayerTop[b] > 0) JoinLayers(b, 1);
  return removed;
}

double erodeLayerUnder(int b, int layer, int k, double amount) {
  const double s = Bsolidfraction[layer][b];
  const double demand = -amount;
  const double volume = thick(layer, b) * s;
  const double sizeVolume = BSedDistrib[layer][k][b] * volume;
  const double remaining = std::max(volume - std::min(sizeVolume, demand), 1e-40);
  const double scale = volume / remaining;
  for (int n = 1; n <= lnumber; ++n) BSedDistrib[layer][n][b] *= scale;
  BSedDistrib[layer][k][b] = std::max(amount + sizeVolume, 0.0) / remaining;
  thick(layer, b) = remaining / s;
  return demand > sizeVolume ? sizeVolume - demand : -0.0;
}

void MoveSediment(int from, int to, int b, double t) {
  const double tTo = thick(to, b);
  if (tTo + t == 0.0) return;  // nothing moves and nothing is there to mix
  const double sFrom = Bsolidfraction[from][b], sTo = Bsolidfraction[to][b];
  const double sNew = (sFrom * t + sTo * tTo) / (tTo + t);
  for (int k = 1; k <= lnumber; ++k) {
    BSedDistrib[to][k][b] = (BSedDistrib[from][k][b] * t * sFrom + BSedDistrib[to][k][b] * tTo * sTo) /
                            ((tTo + t) * sNew + 1e-20);
  }
  Bsolidfraction[to][b] = sNew;
  thick(from, b) -= t;
  thick(to, b) = tTo + t;
}

double computeArmourDepth(int b, double depth) {
  const int top = BlayerTop[b];
  const double topThickness = thick(std::max(top, 0), b);
  double d = depth;
  switch (FlagArmourDepth) {
    case 0: d = depth - Bedmove[b]; break;
    case 1: d = gsize[1] - Bedmove[b]; break;
    case 2: d = std::max(-Bedmove[b], gsize[1]); break;
    case 3: d = std::max(-Bedmove[b], depth); break;
    case 4: d = (gsize[1] - Bbedchange[1][b]) * 0.5; break;
    case 5: {
      const double topFraction1 = BSedDistrib[std::max(top, 0)][1][b];
      d = (gsize[1] - Bbedchange[1][b]) * 0.5 / (topFraction1 + 0.05);
      // A second size exists only with two or more sizes.
      if (lnumber >= 2) {
        const double topFraction2 = BSedDistrib[std::max(top, 0)][2][b];
        d = std::min(d, (gsize[2] - Bbedchange[2][b]) * 0.5 / (topFraction2 + 0.05));
      }
      break;
    }
    case 6: d = gsize[1]; break;
    case 8: d = topThickness; break;
    case 9:
      if (top <= 0) {
        Barmourthick[b] = top;
        return topThickness > 0.0 ? -topThickness : -0.0;
      }
      d = topThickness + thick(top - 1, b);
      break;
    default: break;
  }
  const double result = d > 0.0 ? -d : -0.0;
  d = std::max(d, 0.0);
  int armour = top;
  if (top > 0) {
    armour = 0;
    double sum = 0.0;
    for (int l = top; l >= 1; --l) {
      sum += thick(l, b);
      if (sum > d) {
        armour = l;
        break;
      }
    }
  }
  Barmourthick[b] = armour;
  return result;
}

namespace {

// The sediment of each size within the top -depth metres, solids (withSolids)
// or bulk metres.
void availableInTop(int b, double avail[], double depth, bool withSolids) {
  for (int k = 1; k <= lnumber; ++k) avail[k] = 0.0;
  if (depth > 0.0) return;
  double total = 0.0;
  for (int l = BlayerTop[b]; l >= 0; --l) {
    const double t = thick(l, b), s = withSolids ? Bsolidfraction[l][b] : 1.0;
    total += t;
    for (int k = 1; k <= lnumber; ++k) avail[k] += BSedDistrib[l][k][b] * t * s;
    if (total > -depth) {
      for (int k = 1; k <= lnumber; ++k) avail[k] -= (total + depth) * BSedDistrib[l][k][b] * s;
      break;
    }
  }
  if (relaxAvailable < 0.999999) {
    for (int k = 1; k <= lnumber; ++k) avail[k] *= relaxAvailable;
  }
}

}  // namespace

void computeAvailableFraction(int b, double avail[], double depth) { availableInTop(b, avail, depth, true); }

void computeAvailableFractionMeters(int b, double avail[], double depth) { availableInTop(b, avail, depth, false); }
