// The braiding index and the mean depth of block 1, read-only measures of the
// flow that the free-surface trace records with each update.
#include "sediment/statistics/braiding_measures.h"

#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/settings.h"
#include "model/structured.h"

namespace {

// Channels along cross-section i: a column above `active` lengthens the run,
// one at or below BraidedTot ends it (counted when long enough), one between
// the two neither lengthens nor ends it.
int channelsAlong(int i, double active) {
  const GridBlock &b = block[1];
  int channels = 0, run = 0;
  for (int j = b.j1; j <= b.j2; ++j) {
    const double shear = 300.0 * Ckinen[static_cast<int>(zval[i][j][0])];
    if (shear > active) {
      ++run;
      if (j == b.j2 && run >= BraidCells) ++channels;
    } else if (shear <= BraidedTot) {
      if (run >= BraidCells) ++channels;
      run = 0;
    }
  }
  return channels;
}

}  // namespace

double computeBI() {
  const GridBlock &b = block[1];
  if (NoBlocks < 1 || IBraidedStart > b.i2) return 0.0;
  Ckinen[0] = 0.0;  // a dry column reads cell 0 and has no shear
  const int first = IBraidedStart < 0 ? 0 : IBraidedStart;
  int channels = 0, sections = 0;
  for (int i = first; i <= b.i2; ++i, ++sections) channels += channelsAlong(i, BraidedActive);
  return sections > 0 ? static_cast<double>(channels) / sections : 0.0;
}

double computeAvDepth() {
  const GridBlock &b = block[1];
  if (NoBlocks < 1 || b.i2 < b.i1 - 1) return 0.0;
  double sum = 0.0;
  int points = 0;
  for (int i = b.i1 - 1; i <= b.i2; ++i) {
    for (int j = b.j1 - 1; j <= b.j2; ++j, ++points) {
      const double depth = zval[i][j][znumber] - zval[i][j][1];
      if (depth > 0.0) sum += depth;
    }
  }
  return sum / (points + 1e-20);
}
