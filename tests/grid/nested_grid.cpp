// The nested fixture generated as the run letters would.
#include "grid/nested_grid.h"

#include <gtest/gtest.h>

#include "grid/grid_services.h"
#include "model/allocation.h"
#include "model/nests.h"
#include "model/run_state.h"
#include "startup/control_reader.h"
#include "startup/control_stream.h"
#include "support/run_case.h"
#include "support/work_folder.h"

void generateNested(const std::function<void()> &settings, const std::string &extraControl) {
  ControlStream control(caseFile("nested", "control") + extraControl);
  kreadPass(control);
  ASSERT_EQ(sialloc(), 0);
  ASSERT_GT(AllocateArrays(1, 1, 1), 0.0);
  writeFile("koosurf", caseFile("nested", "koosurf"));
  readKoosurf();
  settings();
  Unstructure();
  writeFile("koosurf.nes", caseFile("nested", "koosurf.nes"));
  addBlockKoosurfNested();
  Unstructure();
  metric();
  BedMake();
}

int entryOf(int c, int face) {
  for (int n = 1; n <= NoNestflater; ++n) {
    if (Npcelle[n] == c && Npflate[n] == face) return n;
  }
  return 0;
}
