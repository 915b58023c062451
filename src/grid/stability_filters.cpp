// Filters that keep the generated grid stable: lone wet grid lines turn dry,
// columns hanging on fewer than two wet sides and isolated columns lose their
// cells. Works in place on antlin and ant of one block; a sweep sees what it
// has already changed.
#include <algorithm>

#include "grid/grid_build.h"
#include "model/grid_index.h"
#include "model/settings.h"
#include "model/structured.h"

namespace {

// Grid lines and columns outside the structured arrays count as dry and empty.
bool inArrays(int i, int j) { return i >= 0 && j >= 0 && i <= xnumber + 1 && j <= ynumber + 1; }

bool wetLine(int i, int j) { return inArrays(i, j) && antlin[i][j] >= 2; }

bool hasCells(int i, int j) { return inArrays(i, j) && ant[i][j] > 0; }

// A side counts when the column beyond it has cells and one of the side's two
// grid lines is wet: water can pass there.
int countingSides(int i, int j) {
  int sides = 0;
  if (hasCells(i + 1, j) && (wetLine(i, j - 1) || wetLine(i, j))) ++sides;
  if (hasCells(i - 1, j) && (wetLine(i - 1, j - 1) || wetLine(i - 1, j))) ++sides;
  if (hasCells(i, j + 1) && (wetLine(i - 1, j) || wetLine(i, j))) ++sides;
  if (hasCells(i, j - 1) && (wetLine(i - 1, j - 1) || wetLine(i, j - 1))) ++sides;
  return sides;
}

// Removes column (i, j) when it has cells and fewer than `needed` sides count;
// true when it was removed.
bool removeWhenLoose(int i, int j, int needed) {
  if (ant[i][j] <= 0 || countingSides(i, j) >= needed) return false;
  ant[i][j] = 0;
  return true;
}

// A column that touches the rest only through corners carries no flow across
// its sides; 30 sweeps let such chains unravel from their ends. A sweep that
// removes nothing leaves every later sweep idle, so the loop may stop there.
void removeColumnsWithOneSide(int i1, int i2, int j1, int j2) {
  for (int sweep = 0; sweep < 30; ++sweep) {
    bool removed = false;
    for (int j = j1; j <= j2; ++j) {
      for (int i = i1; i <= i2; ++i) removed |= removeWhenLoose(i, j, 2);
    }
    if (!removed) break;
  }
}

// Forward and backward sweeps remove columns of which no side counts, until
// the cell total of the kept columns stops changing (at most 15 passes).
void removeIsolatedColumns(int i1, int i2, int j1, int j2) {
  long previous = -1;
  for (int pass = 0; pass < 15; ++pass) {
    long kept = 0;
    for (int j = j1; j <= j2; ++j) {
      for (int i = i1; i <= i2; ++i) {
        if (!removeWhenLoose(i, j, 1) && ant[i][j] > 0) kept += ant[i][j];
      }
    }
    for (int j = j2; j >= j1; --j) {
      for (int i = i2; i >= i1; --i) {
        if (!removeWhenLoose(i, j, 1) && ant[i][j] > 0) kept += ant[i][j];
      }
    }
    if (kept == previous) break;
    previous = kept;
  }
}

// F 528: a dry line between two wet lines in i, or else in j, whose water
// still stands above its bed gets one cell height, so that the water can pass.
void wetBetweenWetLines(int i, int j) {
  if (antlin[i][j] != 1 || zval[i][j][znumber] - zval[i][j][1] <= 0.0) return;
  if ((wetLine(i - 1, j) && wetLine(i + 1, j)) || (wetLine(i, j - 1) && wetLine(i, j + 1))) {
    antlin[i][j] = antlinT[i][j] = 2;
  }
}

void wetDryGaps(int i1, int i2, int j1, int j2) {
  for (int j = j1; j <= j2 - 1; ++j) {
    for (int i = i1; i <= i2 - 1; ++i) wetBetweenWetLines(i, j);
  }
  for (int j = j2 - 1; j >= j1; --j) {
    for (int i = i2 - 1; i >= i1; --i) wetBetweenWetLines(i, j);
  }
}

// The second generator's lower zone never holds more lines than the line.
void capLowerZone(int i1, int i2, int j1, int j2) {
  for (int i = i1 - 1; i <= i2; ++i) {
    for (int j = j1 - 1; j <= j2; ++j) antlinT[i][j] = std::min(antlinT[i][j], antlin[i][j]);
  }
}

}  // namespace

// A wet grid line whose four neighbours in i and j are all dry would make a
// spike of cells around one corner: it turns dry. F 183 2 keeps it.
void Grid1Stability(int i1, int i2, int j1, int j2) {
  if (FlagPresDebug != 2) {
    for (int j = j1 - 1; j <= j2; ++j) {
      for (int i = i1 - 1; i <= i2; ++i) {
        if (wetLine(i, j) && !wetLine(i - 1, j) && !wetLine(i + 1, j) && !wetLine(i, j - 1) && !wetLine(i, j + 1)) {
          antlin[i][j] = 1;
        }
      }
    }
  }
  if (FlagGridStab10 == 1 && antlinT) wetDryGaps(i1, i2, j1, j2);
  if (UMethod2 > 0 && antlinT) capLowerZone(i1, i2, j1, j2);
}

// F 159: first value 1 removes the columns hanging on fewer than two sides
// (blocks of more than one row); fourth value 1, or 5 and above, then removes
// isolated columns (blocks of more than one row and column).
void Grid2Stability(int i1, int i2, int j1, int j2) {
  if (FlagGridStab1 == 1 && j1 < j2) removeColumnsWithOneSide(i1, i2, j1, j2);
  if ((FlagGridStab4 == 1 || FlagGridStab4 >= 5) && i1 < i2 && j1 < j2) removeIsolatedColumns(i1, i2, j1, j2);
}
