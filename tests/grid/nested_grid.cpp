// The nested fixture generated as the run letters would.
#include "grid/nested_grid.h"

#include <gtest/gtest.h>

#include "grid/column_grid.h"
#include "grid/grid_services.h"
#include "model/nests.h"
#include "model/run_state.h"
#include "support/run_case.h"
#include "support/work_folder.h"

void generateNested(const std::function<void()> &settings, const std::string &extraControl) {
  readCaseGrid("nested", extraControl);
  if (::testing::Test::HasFatalFailure()) return;
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
