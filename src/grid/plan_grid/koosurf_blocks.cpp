// Blocks added to the structured grid from a further "koosurf" file, or from
// "koosurf.nes", a nested block that may be moved, scaled and turned onto the
// main grid and that cuts its area out of the coarse grid. Writes xval, yval,
// the bed and water levels of zval, the block table, OutBlock and "control.nes".
#include <cmath>
#include <cstdio>
#include <string>

#include "grid/grid_services.h"
#include "grid/plan_grid/grid_point_file.h"
#include "model/blocks_groups.h"
#include "model/control_tables.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"
#include "startup/control_stream.h"
#include "base/exit_codes.h"
#include "base/log.h"

namespace {

// A longer file is read up to this line; the rest is ignored.
constexpr long kMaxLines = 10000000;
// The numbers that introduce the placing record of "koosurf.nes" instead of an i.
constexpr int kRecordExtraValue = 999997, kRecordPlace = 999998, kRecordPlaceLevel = 999999;
constexpr double kFullTurn = 6.2831853071794;
constexpr double kDegree = 0.01745329251994278;

// The placing record: the coarse columns to cut out, the reference grid
// point and where it goes, the scale, the turn in degrees and a water level.
struct Placing {
  int kind = 0;
  int i1o = 0, i2o = 0, j1o = 0, j2o = 0, ir = 0, jr = 0;
  double xr = 0.0, yr = 0.0, scale = 1.0, turn = 0.0, level = 0.0;
};

bool isPlacingMark(int i) { return i == kRecordExtraValue || i == kRecordPlace || i == kRecordPlaceLevel; }

// The next grid point of a file; in "koosurf.nes" a placing record before it
// is stored and read past. False at the end of the points (a record cut
// short is not kept); an index below 1, or a field that is not a number
// with points after it, stops the run with the file and line named.
bool nextLine(GridPointFile &f, bool nested, Placing &place, GridPoint &p) {
  if (f.atEnd()) return false;
  p.i = f.startPoint();
  if (nested && isPlacingMark(p.i)) {
    Placing read;
    read.kind = p.i;
    for (int *column : {&read.i1o, &read.i2o, &read.j1o, &read.j2o, &read.ir, &read.jr}) *column = f.integer();
    for (double *value : {&read.xr, &read.yr, &read.scale, &read.turn, &read.level}) *value = f.number();
    if (f.ended()) return false;
    if (read.i1o > read.i2o || read.j1o > read.j2o || read.scale < 0.0) fatalExit(kExitNestedRecord, nullptr);
    place = read;
    if (f.atEnd()) return false;
    p.i = f.startPoint();
  }
  f.finishPoint(p);
  if (place.kind == kRecordExtraValue) f.number();
  return !f.ended();
}

// First pass: the largest indexes and the placing record.
long scanFile(const char *name, const std::string &text, bool nested, int &maxI, int &maxJ, Placing &place) {
  GridPointFile f(name, text);
  GridPoint p;
  maxI = maxJ = 0;
  long lines = 0;
  while (lines < kMaxLines && nextLine(f, nested, place, p)) {
    ++lines;
    if (p.i > maxI) maxI = p.i;
    if (p.j > maxJ) maxJ = p.j;
  }
  f.reportEnd();
  return lines;
}

// Second pass: every grid point of the block's lines 1..max i by 1..max j
// given; a point given again is logged.
void requireWholeBlock(const char *name, const std::string &text, long lines, bool nested, int maxI, int maxJ) {
  GridPointFile f(name, text);
  BlockCoverage cover(f, maxI, maxJ);
  Placing place;
  GridPoint p;
  for (long n = 0; n < lines && nextLine(f, nested, place, p); ++n) cover.mark(p);
  cover.requireAll();
}

// Appends the block after the last block in j; returns the j offset of its lines.
int appendBlock(int maxI, int maxJ, int nestLevel, int koosurfFlag) {
  if (NoBlocks + 1 >= kMaxBlocks) {
    fatalPrintf(kExitTableFull, nullptr,
                "Error, the grid holds at most %d blocks: use fewer Y letters on the F 2 data set in control file\n",
                kMaxBlocks - 1);
  }
  const int shift = NoBlocks > 0 ? block[NoBlocks].j2 : 0;
  GridBlock &b = block[++NoBlocks];
  b = GridBlock{};
  b.i1 = 2;
  b.i2 = maxI;
  b.j1 = shift + 2;
  b.j2 = maxJ + shift;
  b.NestLevel = nestLevel;
  b.k1 = 1;
  b.k2 = znumber;
  b.KoosurfFlag = koosurfFlag;
  b.RefSearchFlag = koosurfFlag;
  b.InitFlag = 1;
  BlockID = NoBlocks;
  return shift;
}

// Third pass: the grid points, j shifted; the placing record may fix the water level.
void storePoints(const char *name, const std::string &text, long lines, bool nested, int shift) {
  GridPointFile f(name, text);
  Placing place;
  GridPoint p;
  for (long n = 0; n < lines && nextLine(f, nested, place, p); ++n) {
    const int j = p.j + shift;
    xval[p.i][j] = p.x;
    yval[p.i][j] = p.y;
    zval[p.i][j][1] = p.bed;
    zval[p.i][j][znumber] = place.kind == kRecordPlaceLevel ? place.level : p.surface;
  }
}

// Moves the block so that its reference point lands on (xr, yr), then scales
// its offsets from there by c and turns them by a (clockwise from north).
void placeBlock(const GridBlock &b, const Placing &place, int shift) {
  const int jr = place.jr + shift;
  const double dx = place.xr - xval[place.ir][jr], dy = place.yr - yval[place.ir][jr];
  const double turn = place.turn * kDegree;
  for (int i = b.i1 - 1; i <= b.i2; ++i) {
    for (int j = b.j1 - 1; j <= b.j2; ++j) {
      const double ox = (xval[i][j] + dx - place.xr) * place.scale, oy = (yval[i][j] + dy - place.yr) * place.scale;
      const double r = std::sqrt(ox * ox + oy * oy);
      double bearing = std::acos(oy / (r + 1e-30));
      if (ox < 0.0) bearing = kFullTurn - bearing;
      xval[i][j] = place.xr + r * std::sin(bearing + turn);
      yval[i][j] = place.yr + r * std::cos(bearing + turn);
    }
  }
}

// The coarse columns under the nested block: a G 13 line for the user, and a
// rectangle without cells for this run.
void cutOut(Placing place, int shift) {
  place.j1o += shift;
  place.j2o += shift;
  std::FILE *f = std::fopen("control.nes", "a");
  if (!f) {
    logText("Error opening control.nes file\n\n");
    return;
  }
  std::fprintf(f, "Add new data set for outblocking to control file: G 13 1 %d %d %d %d 2 %d\n", place.i1o, place.i2o,
               place.j1o, place.j2o, znumber);
  std::fclose(f);
  if (place.i1o < 1) return;
  if (OutBlockNo + 1 >= kMaxOutBlock) {
    logText("Input error for outblocked areas (G 13 in control)\n");
    fatalExit(kExitInputError, "Data sets must not exceed 499\n");
  }
  OutBlock[++OutBlockNo] = OutBlockEntry{1, place.i1o, place.i2o, place.j1o, place.j2o, 2, znumber};
}

// The largest lines a block may reach: the arrays hold lines 0..xnumber+1 and
// the generator reads one beyond.
bool fitsGrid(int maxI, int lastJ) { return maxI < xnumber - 1 && lastJ < ynumber - 1; }

}  // namespace

void addBlockKoosurf() {
  std::string text;
  if (!readTextFile("koosurf", text)) {
    logText("Error opening koosurf file\n\n");
    return;
  }
  int maxI = 0, maxJ = 0;
  Placing none;
  const long lines = scanFile("koosurf", text, false, maxI, maxJ, none);
  const int lastJ = maxJ + (NoBlocks > 0 ? block[NoBlocks].j2 : 0);
  if (!fitsGrid(maxI, lastJ)) {
    logText("Error, increase the G 1 values in control file and try again\n");
    fatalPrintf(kExitControlMissing, nullptr, "The two first integers on G 1 data set should be at least %ld %ld\n",
                maxI + 2L, lastJ + 2L);
  }
  requireWholeBlock("koosurf", text, lines, false, maxI, maxJ);
  const int shift = appendBlock(maxI, maxJ, 0, 1);
  storePoints("koosurf", text, lines, false, shift);
}

void addBlockKoosurfNested() {
  std::string text;
  if (!readTextFile("koosurf.nes", text)) {
    logText("Error opening koosurf.nes file\n\n");
    return;
  }
  int maxI = 0, maxJ = 0;
  Placing place;
  const long lines = scanFile("koosurf.nes", text, true, maxI, maxJ, place);
  const int lastJ = maxJ + (NoBlocks > 0 ? block[NoBlocks].j2 : 0);
  if (!fitsGrid(maxI, lastJ)) {
    logText("Error, increase G 1 values in control file and try again\n");
    fatalPrintf(kExitInconsistent, nullptr, "The two first integers on G 1 data set should be at least %ld %ld\n",
                maxI + 2L, lastJ + 2L);
  }
  requireWholeBlock("koosurf.nes", text, lines, true, maxI, maxJ);
  const int shift = appendBlock(maxI, maxJ, 1, 0);
  if (place.kind != kRecordExtraValue) storePoints("koosurf.nes", text, lines, true, shift);
  if (place.kind == kRecordPlace || place.kind == kRecordPlaceLevel) placeBlock(block[NoBlocks], place, shift);
  if (place.kind != 0) cutOut(place, shift);
  BlockID = 0;
}
