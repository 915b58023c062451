// Fills the structured grid that kread leaves behind: the default block,
// the G 13 marks and the start level from "geodata". Writes level,
// zdistrib, bedOutBlock, xval, yval, zval and Surfaces.
#include "startup/default_grid.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "grid/plan_grid/grid_rectangles.h"
#include "model/control_tables.h"
#include "model/settings.h"
#include "model/structured.h"
#include "base/input_file.h"

namespace {

constexpr long kMaxGeodataPoints = 10000000;
constexpr int kNonErodiblePlane = 3;
constexpr int kSlidePlane = 6;

}  // namespace

// Lines "E x y z" are scanned until one does not match; a file without such a
// line leaves the level and the distribution as they are.
void levelFromGeodata() {
  std::FILE *file = openInputFile("geodata");
  if (!file) return;
  double lowest = 1e20, highest = -1e20;
  long points = 0;
  double x, y, z;
  while (points < kMaxGeodataPoints && std::fscanf(file, "E %lf %lf %lf\n", &x, &y, &z) == 3 &&
         std::isfinite(x) && std::isfinite(y) && std::isfinite(z)) {
    lowest = std::min(lowest, z);
    highest = std::max(highest, z);
    ++points;
  }
  std::fclose(file);
  if (points == 0) return;
  level = highest + 1.0;
  for (int k = 0; k <= 10; ++k) zdistrib[k + 1] = lowest + k * (highest - lowest) / 10.0;
}

void markOutBlocks() {
  for (int n = 1; n <= OutBlockNo; ++n) {
    const OutBlockEntry &r = OutBlock[n];
    const ColumnRange c = clipToGrid(r.i1, r.i2, r.j1, r.j2);
    for (int i = c.i1; i <= c.i2; ++i) {
      for (int j = c.j1; j <= c.j2; ++j) bedOutBlock[i][j] = 1;
    }
  }
}

void layDefaultBlock() {
  for (int i = 1; i <= xnumber + 1; ++i) {
    for (int j = 1; j <= ynumber + 1; ++j) {
      xval[i][j] = i;
      yval[i][j] = j;
      double *column = zval[i][j];
      for (int k = 0; k < znumber; ++k) column[k + 1] = k * level / (znumber - 1);
      column[znumber + 1] = column[znumber];
      Surfaces[kNonErodiblePlane][i][j] = column[1] - 10.0;
    }
  }
}

void clearSlidePlane() {
  if (FlagThixo <= 0) return;
  for (int i = 1; i <= xnumber + 1; ++i) {
    for (int j = 1; j <= ynumber + 1; ++j) Surfaces[kSlidePlane][i][j] = 0.0;
  }
}
