// In-process set-up of the free-surface tests: the channel case (10 x 4
// columns of nine cells, 1 m squares, bed 0, surface 1 m) with its geometry
// and bed cells, top-cell pressures set by hand.
#pragma once

#include "flow/flow_fixture.h"

class SurfaceFixture : public FlowFixture {
 protected:
  // The channel with the reference of a plain update: GlobZRef 1 m,
  // GlobPresRef 0, every top cell at `pressure`.
  static void channelAt(double pressure);
};

// The top cell of column (i, j).
int topCell(int i, int j);

// Every top cell's pressure.
void setTopPressures(double pressure);

// The level of grid point (i, j) and its second slot.
double levelAt(int i, int j);
double secondSlotAt(int i, int j);
