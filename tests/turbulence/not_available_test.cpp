// Options of the eddy viscosity and the wall laws that the engine does not
// have yet end the run with -5 and name the data set, before they write a
// value; the options left off run.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "model/cells.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "support/work_folder.h"
#include "turbulence/box_cells.h"
#include "turbulence/eddy_viscosity.h"
#include "turbulence/wall_laws.h"

namespace {

using NotAvailable = BoxCells;

struct Row {
  const char *name;
  std::function<void()> set;  // the data set, as "control" would give it
  int equation;
  bool wallLaw;  // wall_laws, else GammaCalc
  std::string line;
};

TEST_F(NotAvailable, EndsTheRunNamingTheDataSet) {
  const Row rows[] = {
      {"face-by-face law", [] { FlagNewWall = 1; }, 1, true, "wall_laws_new is not available yet (F 305 1)"},
      {"river law", [] { FlagNewWall = 2; }, 1, true, "wall_laws_river is not available yet (F 305 2)"},
  };
  build(1, 2, 1.0, 1.0, 0.5);
  for (const Row &r : rows) {
    writeFile("boogie", "");
    EXPECT_EXIT(
        {
          r.set();
          Equation = r.equation;
          if (r.wallLaw) wall_laws(1, NoCells);
          else GammaCalc(1, NoCells);
        },
        ::testing::ExitedWithCode(251), "")
        << r.name;
    EXPECT_EQ(readFile("boogie"), "Error: " + r.line + "\n") << r.name;
  }
}

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
