// Options of the eddy viscosity and the wall laws that do not act in an
// equation run without writing a value.
#include <gtest/gtest.h>

#include "model/cells.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "turbulence/box_cells.h"
#include "turbulence/eddy_viscosity.h"
#include "turbulence/wall_laws.h"

namespace {

using NotAvailable = BoxCells;

TEST_F(NotAvailable, OptionsThatDoNotActRun) {
  // Momentum-only terms in the k and epsilon equations, the mud block
  // without a mud layer, the roughness-layer sink of U and V (not a
  // viscosity term) and walls without a law add nothing here.
  build(1, 2, 1.0, 1.0, 0.5);
  FlagDuneEddy = 1;
  GammaVertCoeff1 = 2.0;
  FlagThixo = 2;
  FlagTramel = 1;
  FlagWallAll = 1000;
  for (int eq : {5, 6}) {
    Equation = eq;
    GammaCalc(1, NoCells);
    wall_laws(1, NoCells);
  }
  EXPECT_DOUBLE_EQ(Cgamma[1], 0.7692 * 0.001) << "the epsilon equation's floor, unchanged";
}

}  // namespace
