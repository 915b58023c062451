// The output dispatcher: one call writes every result and visualisation
// output that F 329, F 48, F 212, F 309, F 449 and F 522 select, in a fixed
// order, each test on its own, so one call can write any combination.
#include <cstdio>

#include "files/visualisation/bed_layer_views.h"
#include "files/restart/bed_result_file.h"
#include "files/file_services.h"
#include "files/restart/fraction_restart_files.h"
#include "files/monitoring/interpolated_results.h"
#include "files/restart/result_file.h"
#include "files/dispatcher_small_outputs.h"
#include "files/visualisation/visualisation.h"
#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/status.h"

namespace {

bool anyOf(int value, std::initializer_list<int> values) {
  for (const int v : values) {
    if (value == v) return true;
  }
  return false;
}

// In a thixotropic or slide run the layer blocks stand still at their bed:
// the bottom cells of their columns keep zero velocity in what is written
// and afterwards.
void stopLayerBlockBeds() {
  if ((FlagThixo != 1 && FlagThixo != 2) || !Bcellt) return;
  for (int n = 1; n <= NoBlocks; ++n) {
    const GridBlock &b = block[n];
    if (b.LayerMark <= 0) continue;
    for (int bc = b.FirstBedCell; bc <= b.LastBedCell; ++bc) {
      const int c = Bcellt[bc];
      Cxvel[c] = Cyvel[c] = Czvel[c] = 0.0;
    }
  }
}

// Sections of the layered bed at the lines that F 449's second value picks.
void bedLayerViews() {
  if (FlagTolvenika > 0 && CrossTolvenika > 0) writeParaBed5(1, CrossTolvenika);
  const GridBlock &b = block[1];
  if (tracerJ2 == 0) {
    writeParaBed3(1, 0);
  } else if (tracerJ2 == -10) {
    writeParaBed4(1);
  } else if (tracerJ2 == -9 && b.j2 > 20) {
    nameBedSectionsByLine(true);
    for (const int j : {(3 * b.j2) / 4, b.j2 / 2 + 1, b.j2 / 4 + b.j1}) writeParaBed3(1, j);
    for (const int i : {(3 * b.i2) / 4, b.i2 / 2 + 1, b.i2 / 4 + b.i1}) writeParaBed5(1, i);
  } else if (tracerJ2 == -8) {
    nameBedSectionsByLine(true);
    for (const int j : {(3 * b.j2) / 4, b.j2 / 2 + 1, b.j2 / 4 + b.j1}) writeParaBed3(1, j);
    for (const int i : {(3 * b.i2) / 4, (5 * b.i2) / 8, b.i2 / 2 + 1, b.i2 / 4 + b.i1, (3 * b.i2) / 8 + b.i1}) {
      writeParaBed5(1, i);
    }
  } else {
    // A single name for each of several lines would keep only the last.
    nameBedSectionsByLine(tracerJ2 > tracerJ1);
    for (int j = tracerJ1; j <= tracerJ2; ++j) writeParaBed3(1, j);
  }
  nameBedSectionsByLine(false);
}

bool bedResultWanted() {
  return PrintArrayFlags[1] > 0 && NoBCells > 0 && Bcellt && Broughness && Bedformheight && BSedDistrib;
}

}  // namespace

void sprintflow() {
  const int *const flags = PrintArrayFlags;
  const int value = FlagInterpolVal;
  gFlagWriteR = 1;
  setStatus(mc_message, "Writing output files");
  stopLayerBlockBeds();
  if (flags[0] == 1) print_result(1);
  if (flags[2] == 1 || anyOf(value, {7, 8, 87, 88})) print_tecplot2d(1, 0);
  if (flags[3] == 1 || value == 18) {
    for (int n = 1; n <= NoBlocks; ++n) print_tecplot2d(1, n);
  }
  if (flags[4] == 1 || anyOf(value, {8, 9, 88, 89})) print_tecplot3d(1);
  if (flags[5] == 1 || value == 10 || value == 90) {
    print_paraview3d(1);
    if (NoBedLayers > 2) bedLayerViews();
  }
  if (flags[16] == 1) writeParaBed3(1, 0);
  if (flags[6] == 1 || value == 11 || value == 91) print_paraview2d(1, 0);
  if (flags[7] == 1 || value == 19) {
    for (int n = 1; n <= NoBlocks; ++n) print_paraview2d(1, n);
  }
  if (flags[15] == 1) print_fracres(1);
  if (flags[8] == 1 || value == 13) writeCellDump();
  if (flags[9] == 1 || value == 22) writeBedPoints();
  if ((flags[10] >= 1 && flags[10] <= 99) || FlagInterpolNew > 0 || (value >= 1 && value <= 6)) print_interres(1);
  if (flags[11] == 1 || value == 17) writeWetOutline();
  if (bedResultWanted()) print_bedres();
  // A side report that cannot be opened is skipped with a warning; the
  // reports after it are still written.
  beginSideReports();
  if (value == 25 || flags[12] != 0) writeHabitat();
  if (FlagWriteSpecial == 8 || flags[13] != 0) writeSlopingFraction();
  if (FlagWriteSpecial == 9 || flags[14] == 1) writeDischargeLine();
  if (flags[14] == 2) writeLevelSnapshot();
  if (flags[14] == 3) appendLevelSeries();
  gFlagWriteR = 0;
  setStatus(mc_message, "have written output files  ");
}
