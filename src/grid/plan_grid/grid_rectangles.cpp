// Clipping of the column rectangles of "control" to the structured arrays,
// and the G 13 rectangles taken out of a generated grid. Writes ant.
#include "grid/plan_grid/grid_rectangles.h"

#include <algorithm>

#include "model/control_tables.h"
#include "model/grid_index.h"
#include "model/settings.h"

ColumnRange clipToGrid(int i1, int i2, int j1, int j2) {
  return {std::max(i1, 0), std::min(i2, xnumber + 1), std::max(j1, 0), std::min(j2, ynumber + 1)};
}

void clearOutBlockColumns() {
  for (int n = 1; n <= OutBlockNo; ++n) {
    const OutBlockEntry &out = OutBlock[n];
    const ColumnRange r = clipToGrid(out.i1, out.i2, out.j1, out.j2);
    for (int i = r.i1; i <= r.i2; ++i) {
      for (int j = r.j1; j <= r.j2; ++j) ant[i][j] = 0;
    }
  }
}
