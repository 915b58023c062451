// The cell numbering of the grid before a regeneration, kept to tell whether
// the new grid numbers its cells alike; one list of bottom cells reused by
// every regeneration.
#include "grid/generation/cell_numbering.h"

#include <algorithm>
#include <vector>

#include "model/cells.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"

namespace {

std::vector<double> oldBottoms;
int oldCells = 0;

}  // namespace

void rememberCellNumbering() {
  oldBottoms.clear();
  for (int i = 0; i <= xnumber + 1; ++i)
    for (int j = 0; j <= ynumber + 1; ++j) oldBottoms.push_back(zval[i][j][0]);
  oldCells = NoCells;
}

bool cellNumberingKept() {
  if (NoCells != oldCells) return false;
  std::size_t n = 0;
  for (int i = 0; i <= xnumber + 1; ++i)
    for (int j = 0; j <= ynumber + 1; ++j)
      if (zval[i][j][0] != oldBottoms[n++]) return false;
  return true;
}

void clearPressureWeightsIfRenumbered() {
  if (!cellNumberingKept()) std::fill(CinvAp + 1, CinvAp + NoCells + 1, 0.0);
}
