// The run letter Y's first half: "koosurf" becomes one new block of the
// structured grid. Writes xval, yval, the bed and water levels of zval, the
// new block record, NoBlocks and BlockID.
#include <cstdio>
#include <string>

#include "grid/grid_services.h"
#include "grid/plan_grid/grid_point_file.h"
#include "model/blocks_groups.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"
#include "startup/control_stream.h"
#include "base/exit_codes.h"
#include "base/log.h"

namespace {

// A longer file is read up to this group; the rest is ignored.
constexpr long kMaxKoosurfGroups = 10000000;

// First pass: the number of points and the largest indexes. A number that
// overflows or is not finite, an index below 1, or a field that is not a
// number with points after it stops the run before anything is stored; a
// group that does not convert at the end of the points ends them (logged).
long scanExtent(const std::string &text, int &maxI, int &maxJ) {
  maxI = maxJ = 0;
  long groups = 0;
  GridPointFile file("koosurf", text);
  GridPoint p;
  while (groups < kMaxKoosurfGroups && file.nextPoint(p)) {
    ++groups;
    if (p.i > maxI) maxI = p.i;
    if (p.j > maxJ) maxJ = p.j;
  }
  file.reportEnd();
  return groups;
}

// Second pass: the block's grid lines 1..max i by 1..max j must each be
// given, or the grid would be built on points nobody gave; a point given
// again is logged, and the third pass keeps its later line.
void requireWholeBlock(const std::string &text, long groups, int maxI, int maxJ) {
  GridPointFile file("koosurf", text);
  BlockCoverage cover(file, maxI, maxJ);
  GridPoint p;
  for (long g = 0; g < groups && file.nextPoint(p); ++g) cover.mark(p);
  cover.requireAll();
}

// The new block covers the columns 2..max i, 2..max j: column (i, j) lies
// between the grid lines i-1, i and j-1, j, so lines 1 form its first edge.
void appendKoosurfBlock(int maxI, int maxJ) {
  if (NoBlocks + 1 >= kMaxBlocks) {
    fatalPrintf(kExitTableFull, nullptr,
                "Error, the grid holds at most %d blocks: use fewer Y letters on the F 2 data set in control file\n",
                kMaxBlocks - 1);
  }
  ++NoBlocks;
  GridBlock &b = block[NoBlocks];
  b = GridBlock{};
  b.i1 = 2;
  b.i2 = maxI;
  b.j1 = 2;
  b.j2 = maxJ;
  b.NestLevel = 0;
  b.k1 = 1;
  b.k2 = znumber;
  b.InitFlag = 1;
  b.KoosurfFlag = 1;
  b.RefSearchFlag = 1;
  BlockID = NoBlocks;
}

}  // namespace

void readKoosurf() {
  std::string text;
  if (!readTextFile("koosurf", text)) fatalExit(kExitControlMissing, "Error, can not open koosurf file\n");

  int maxI = 0, maxJ = 0;
  const long groups = scanExtent(text, maxI, maxJ);
  // The arrays hold grid lines 0..xnumber+1; the grid may use lines up to xnumber-2.
  if (maxI >= xnumber - 1 || maxJ >= ynumber - 1) {
    logText("Error, increase the G 1 values in control file and try again\n");
    fatalPrintf(kExitControlMissing, nullptr, "The two first integers on G 1 data set should be at least %ld %ld\n",
                maxI + 2L, maxJ + 2L);
  }
  requireWholeBlock(text, groups, maxI, maxJ);
  appendKoosurfBlock(maxI, maxJ);

  // Third pass over the same points, storing them.
  GridPointFile file("koosurf", text);
  GridPoint p;
  for (long g = 0; g < groups && file.nextPoint(p); ++g) {
    xval[p.i][p.j] = p.x;
    yval[p.i][p.j] = p.y;
    zval[p.i][p.j][1] = p.bed;
    Surfaces[0][p.i][p.j] = p.bed;  // the bed at the start of the run
    zval[p.i][p.j][znumber] = p.surface;
    // The level slot above the water level holds the level read, as the
    // default block and the grid file keep it: the surface routines and the
    // Froude limit of the column-ordered bed change take it as reference.
    zval[p.i][p.j][znumber + 1] = p.surface;
  }
  logPrintf("Have read koosurf file: max i: %d, max j: %d\n\n", maxI, maxJ);
}
