// The run letter Y's first half: "koosurf" becomes one new block of the
// structured grid. Writes xval, yval, the bed and water levels of zval, the
// new block record, NoBlocks and BlockID.
#include <cstdio>
#include <string>
#include <utility>

#include "grid/grid_services.h"
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

// One grid point as a line of "koosurf" gives it.
struct KoosurfPoint {
  int i = 0, j = 0;
  double x = 0.0, y = 0.0, bed = 0.0, surface = 0.0;
};

// The next group of six numbers; false at the first group that does not
// convert completely (end of file included), which ends the pass silently.
bool nextPoint(ControlStream &stream, KoosurfPoint &p, bool &bad) {
  ScanResult r = scan(stream, "%d %d %lf %lf %lf %lf\n", &p.i, &p.j, &p.x, &p.y, &p.bed, &p.surface);
  bad = r.bad;
  return r.count == 6;
}

// First pass: the number of groups and the largest indexes. A group with a
// negative index, or a number that overflows or is not finite, would land
// outside the arrays or poison the levels: the run stops before anything is stored.
long scanExtent(ControlStream &stream, int &maxI, int &maxJ) {
  maxI = maxJ = 0;
  long groups = 0;
  KoosurfPoint p;
  bool bad = false;
  while (groups < kMaxKoosurfGroups && nextPoint(stream, p, bad)) {
    ++groups;
    if (bad) {
      fatalPrintf(kExitControlMissing, nullptr, "Error in koosurf file: number out of range in group %ld\n", groups);
    }
    if (p.i < 0 || p.j < 0) {
      fatalPrintf(kExitControlMissing, nullptr, "Error in koosurf file: negative grid index in group %ld\n", groups);
    }
    if (p.i > maxI) maxI = p.i;
    if (p.j > maxJ) maxJ = p.j;
  }
  return groups;
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
  long groups = 0;
  {
    ControlStream first(text);
    groups = scanExtent(first, maxI, maxJ);
  }
  // The arrays hold grid lines 0..xnumber+1; the grid may use lines up to xnumber-2.
  if (maxI >= xnumber - 1 || maxJ >= ynumber - 1) {
    logText("Error, increase the G 1 values in control file and try again\n");
    fatalPrintf(kExitControlMissing, nullptr, "The two first integers on G 1 data set should be at least %ld %ld\n",
                maxI + 2L, maxJ + 2L);
  }
  appendKoosurfBlock(maxI, maxJ);

  // Second pass over the same groups; a point given twice keeps its later line.
  ControlStream second(std::move(text));
  KoosurfPoint p;
  bool bad = false;
  for (long g = 0; g < groups && nextPoint(second, p, bad); ++g) {
    xval[p.i][p.j] = p.x;
    yval[p.i][p.j] = p.y;
    zval[p.i][p.j][1] = p.bed;
    Surfaces[0][p.i][p.j] = p.bed;  // the bed at the start of the run
    zval[p.i][p.j][znumber] = p.surface;
  }
  logPrintf("Have read koosurf file: max i: %d, max j: %d\n\n", maxI, maxJ);
}
