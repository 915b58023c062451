// The pressure-correction filter of F 372 = 1: at the edge of the wet area of
// block 1 each p' (the field Cf) is held within the range of its horizontal
// neighbours, widened by a margin that grows with the column's plan size.
#include "flow/pressure_limits/pressure_filter.h"

#include <algorithm>
#include <cmath>

#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/structured.h"

// Columns in i-major order, cells from the bottom up; a clamped cell is seen
// by its later neighbours with its new value. Cells with four neighbours and
// isolated cells are left alone.
void FilterPressure() {
  if (NoBlocks < 1) return;
  double *p = Cf;
  const GridBlock &b = block[1];
  for (int i = b.i1; i <= b.i2; ++i) {
    for (int j = b.j1; j <= b.j2; ++j) {
      for (int c = static_cast<int>(zval[i][j][0]); c > 0; c = Ccellt[c]) {
        const int around[4] = {Ccelln[c], Ccelle[c], Ccells[c], Ccellw[c]};
        int k = 0;
        double vmax = 0.0, vmin = 0.0;
        for (int m : around) {
          if (m <= 0) continue;
          vmax = k == 0 ? p[m] : std::max(vmax, p[m]);
          vmin = k == 0 ? p[m] : std::min(vmin, p[m]);
          ++k;
        }
        if (k < 1 || k > 3) continue;
        const double d = 981.0 * std::sqrt(Barea[Cbed[c]]);
        p[c] = std::min(p[c], vmax + d);
        p[c] = std::max(p[c], vmin - d);
      }
    }
  }
}
