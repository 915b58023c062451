// The channel of the sediment tests: 10 x 4 columns of nine cells, 7500 kg/s
// entering through the 36 upstream faces (4 m2) and leaving downstream, one
// grain size with the two-layer source solver, 0.001 in the inflowing water
// (an M data set) and a time step of 10 s.
#pragma once

#include "flow/flow_fixture.h"

class SedimentChannel : public FlowFixture {
 protected:
  void SetUp() override;
  // F 37 of the run; 3 gives the per-size rows to a single size.
  int tsc_ = 2;
};
