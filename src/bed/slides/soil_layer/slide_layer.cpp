// The soil layer that slides: its block, the levels of its columns and the
// per-label column lists the slide location walks instead of the whole block.
#include "bed/slides/soil_layer/slide_layer.h"

#include <algorithm>
#include <vector>

#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/settings.h"
#include "model/structured.h"

namespace {

// Column lists by label: the columns of label L are entries
// firstOf[L]..firstOf[L+1]-1 of listed. Sized once to the bed-cell capacity.
std::vector<int> firstOf, listed, nextSlot;

}  // namespace

int slideLayerBlock(bool last) {
  int found = 0;
  for (int n = 1; n <= NoBlocks; ++n) {
    if (block[n].LayerMark != 1) continue;
    found = n;
    if (!last) break;
  }
  return found;
}

bool layerIsLayered(int blk) {
  const GridBlock &g = block[blk];
  return g.LastCell - g.FirstCell != g.LastBedCell - g.FirstBedCell;
}

double columnTop(int c, int floorCell) {
  while (Ccellt[c] > floorCell) c = Ccellt[c];
  return Czcenter[c] + Ckdist[c];
}

double columnThickness(int c) {
  double h = 0.0;
  for (; c > 0; c = Ccellt[c]) h += 2.0 * Ckdist[c];
  return h;
}

void holdAtSurface(int b) {
  const int c = Bcellt[b];
  if (c <= 0) return;
  Csource[c] = Bthixolev[b] * 1e20;
  Cap[c] = 1e20;
}

double meanCornerPlane(int plane, int i, int j) {
  double **s = Surfaces[plane];
  return 0.25 * (s[i - 1][j - 1] + s[i][j - 1] + s[i][j] + s[i - 1][j]);
}

double meanCornerTop(int i, int j) {
  return 0.25 * (zval[i - 1][j - 1][znumber] + zval[i][j - 1][znumber] + zval[i][j][znumber] +
                 zval[i - 1][j][znumber]);
}

void listSlideColumns(int first, int last) {
  const std::size_t size = static_cast<std::size_t>(bedCellCapacity()) + 2;
  if (firstOf.size() != size) {
    firstOf.assign(size, 0);
    listed.assign(size, 0);
    nextSlot.assign(size, 0);
  }
  std::fill(firstOf.begin(), firstOf.end(), 0);
  // Counting sort: columns per label, then their start, then the columns in
  // ascending order.
  for (int b = first; b <= last; ++b) {
    if (Bcellth[b] > 0) ++firstOf[Bcellth[b] + 1];
  }
  for (std::size_t l = 1; l < size; ++l) firstOf[l] += firstOf[l - 1];
  std::copy(firstOf.begin(), firstOf.end(), nextSlot.begin());
  for (int b = first; b <= last; ++b) {
    if (Bcellth[b] > 0) listed[nextSlot[Bcellth[b]]++] = b;
  }
}

ColumnList slideColumns(int label) {
  if (label <= 0 || static_cast<std::size_t>(label) + 1 >= firstOf.size()) return {nullptr, nullptr};
  const int *base = listed.data();
  return {base + firstOf[label], base + firstOf[label + 1]};
}
