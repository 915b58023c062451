// The channel set-up shared by the free-surface tests.
#include "surface/surface_fixture.h"

#include "model/cells.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"
#include "surface/steady/reference_levels.h"

void SurfaceFixture::channelAt(double pressure) {
  channel();
  setTopPressures(pressure);
  GlobZRef = 1.0;
  GlobPresRef = 0.0;
  scaleBackwater2 = 1.0;  // the driver's factor without a backwater curve
}

int topCell(int i, int j) { return topCellOfColumn(i, j); }

void setTopPressures(double pressure) {
  for (int c = 1; c <= NoCells; ++c) {
    if (Ccellt[c] == 0) Cpres[c] = pressure;
  }
}

double levelAt(int i, int j) { return zval[i][j][znumber]; }
double secondSlotAt(int i, int j) { return zval[i][j][znumber + 1]; }
