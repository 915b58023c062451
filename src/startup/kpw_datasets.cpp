// K, P and W data sets: iteration limits and the relaxation, sweeps, block
// corrections and schemes per equation; print and output controls; start
// values and the point lists of the grid.
#include <algorithm>

#include "model/control_tables.h"
#include "model/settings.h"
#include "startup/dataset_reads.h"
#include "startup/dataset_rows.h"
#include "base/exit_codes.h"
#include "base/log.h"

namespace {

[[noreturn]] void refuse(const char *text, int code = kExitInputError) { fatalExit(code, text); }

// ---- P: lists of columns -----------------------------------------------------------------------

void plotListDefaults() {
  PlotCrossStart = PlotCrossNo = PlotLongStart = PlotLongNo = 0;
  std::fill(std::begin(PlotCross), std::end(PlotCross), 0);
  std::fill(std::begin(PlotLong), std::end(PlotLong), 0);
}

// P 12 and P 13: a start above 0, a count of at most 50 and that many column numbers.
void readPlotList(ControlStream &stream, int &start, int &count, int *list, const char *error1, const char *error2) {
  ScanResult read = readFields(stream, "%d %d", {&start, &count});
  if (read.count != 2 || read.bad || start <= 0 || count > 50) refuse(error1);
  for (int p = 1; p <= count; ++p) {
    if (!readInt(stream, "%d ", list[p]) || list[p] < 1 || list[p] > 10000) refuse(error2);
  }
}

void readP12(ControlStream &stream) {
  readPlotList(stream, PlotCrossStart, PlotCrossNo, PlotCross, "Error 1 reading P 12 data set\n",
               "Error 2 reading P 12 data set\n");
}

void readP13(ControlStream &stream) {
  readPlotList(stream, PlotLongStart, PlotLongNo, PlotLong, "Error 1 reading P 13 data set\n",
               "Error 2 reading P 13 data set\n");
}

void vProfileDefaults() {
  std::fill(std::begin(VProfiles), std::end(VProfiles), VProfileEntry{});
  NoVProfiles = 0;
}

// P 17: one more range of columns whose bottom and top velocities are kept.
void readP17(ControlStream &stream) {
  int n = NoVProfiles + 1;
  if (n >= kMaxVProfiles) {
    refuse("Error for P 17 data set in control file: there is room for 999 data sets, remove P 17 data sets\n\n",
           kExitTableFull);
  }
  VProfileEntry &r = VProfiles[n];
  ScanResult read = readFields(stream, "%d %d %d %d %d %d", {&r.i1, &r.i2, &r.iStep, &r.j1, &r.j2, &r.jStep});
  if (read.count != 6 || read.bad || r.i1 > r.i2 || r.j1 > r.j2) {
    fatalPrintf(kExitSurfaceUpdate, nullptr, "Error for reading P 17 data set no. %d\n\n", n);
  }
  NoVProfiles = n;
}

void crossPrintDefaults() {
  NoCrossPrint = 0;
  std::fill(std::begin(CrossPrint), std::end(CrossPrint), 0);
}

// P 18: the cross-sections of the interpolation result file.
void readP18(ControlStream &stream) {
  if (!readInt(stream, "%d", NoCrossPrint) || NoCrossPrint <= 0) {
    refuse("Error for P 18 data set in control file\n\n", kExitSurfaceUpdate);
  }
  if (NoCrossPrint >= kMaxCrossPrint) {
    refuse("Error for P 18 data set in control file: there is room for 999 numbers, give fewer\n\n", kExitTableFull);
  }
  for (int p = 1; p <= NoCrossPrint; ++p) {
    if (!readInt(stream, "%d", CrossPrint[p]) || CrossPrint[p] < 1 || CrossPrint[p] > xnumber - 3) {
      fatalPrintf(kExitSurfaceUpdate, nullptr, "Error for number %d on P 18 data set in control file\n\n", p);
    }
  }
}

// ---- W: start values and point lists -----------------------------------------------------------

void initArrayDefaults() {
  initnumber = 0;
  std::fill(std::begin(initarray), std::end(initarray), 0);
}

// W 2: rising column numbers; a count of 0 reads nothing.
void readW2(ControlStream &stream) {
  const char *message = "Input error for W 2 in control";
  // A negative count has no meaning and would be written back as it stands.
  if (!readIntOrKeep(stream, " %d", initnumber) || initnumber < 0) refuse(message);
  if (initnumber >= kMaxInitArray) {
    refuse("Error for W 2 in control: there is room for 299 numbers, give fewer\n", kExitTableFull);
  }
  for (int p = 1; p <= initnumber; ++p) {
    if (!readIntOrKeep(stream, "%d", initarray[p]) || initarray[p] < 1 || initarray[p] > xnumber ||
        initarray[p] < initarray[p - 1]) {
      refuse(message);
    }
  }
}

void mWallDefaults() {
  std::fill(std::begin(MWall), std::end(MWall), MWallEntry{});
  MWallNo = 0;
}

[[noreturn]] void refuseW4(const char *format, int n, int value = 0) {
  logText("Input error for W 4 in control\n");
  fatalPrintf(kExitInputError, nullptr, format, n, value);
}

// W 4: a wall plane across direction dir at grid line node.
void readW4(ControlStream &stream) {
  int n = MWallNo + 1;
  if (n >= kMaxMWall) refuseW4("MWallNo = %d, too large\n", n);
  MWallEntry &w = MWall[n];
  ScanResult read =
      readFields(stream, "%d %d %d %d %d %d %d", {&w.dir, &w.posneg, &w.node, &w.a1, &w.a2, &w.b1, &w.b2});
  if (read.bad) refuse("Input error for W 4 in control\n");
  if (w.dir < 1 || w.dir > 3) refuseW4("MWall(%d).dir = %d\n", n, w.dir);
  if (w.posneg < -1 || w.posneg > 1) refuseW4("MWall(%d).posneg = %d\n", n, w.posneg);
  if (w.a1 <= 0 || w.b1 <= 0 || w.a1 > w.a2 || w.b1 > w.b2) refuseW4("A-MWall(%d)\n", n);
  // The plane's own direction bounds the node, the other two its ranges.
  int nodeLimit = w.dir == 1 ? xnumber : w.dir == 2 ? ynumber : znumber;
  int aLimit = w.dir == 1 ? ynumber : xnumber;
  int bLimit = w.dir == 3 ? ynumber : znumber;
  if (w.node < 1 || w.node > nodeLimit) refuseW4("A-MWall(%d).node = %d\n", n, w.node);
  if (w.a2 > aLimit || w.b2 > bLimit) refuseW4("B-MWall(%d)\n", n);
  MWallNo = n;
}

void fastDefaults() {
  FastNo = 0;
  std::fill(std::begin(iFast), std::end(iFast), 0);
  std::fill(std::begin(jFast), std::end(jFast), 0);
}

// W 6: one grid point that the grid readers keep fixed.
void readW6(ControlStream &stream) {
  int n = FastNo + 1;
  if (n >= kMaxFast) refuse("Error, too many W 6 data sets\n");
  ScanResult read = readFields(stream, "%d %d", {&iFast[n], &jFast[n]});
  if (read.bad || iFast[n] < 0 || iFast[n] > xnumber || jFast[n] < 0 || jFast[n] > ynumber) {
    fatalPrintf(kExitInputError, nullptr, "Input error for W 6 data set no. %d in control\n", n);
  }
  FastNo = n;
}

void attractDefaults() {
  std::fill(std::begin(Attract), std::end(Attract), AttractEntry{});
  AttractNo = 0;
}

// W 7: one attraction point with its two values.
void readW7(ControlStream &stream) {
  int n = AttractNo + 1;
  if (n >= kMaxAttract) refuse("Error, too many W 7 data sets\n");
  AttractEntry &a = Attract[n];
  ScanResult ints = readFields(stream, "%d %d %d", {&a.type, &a.i, &a.j});
  if (ints.bad || a.i < 0 || a.i > xnumber || a.j < 0 || a.j > ynumber || a.type > 3) {
    fatalPrintf(kExitInputError, nullptr, "Integer error, for data set W 7, %d\n", n);
  }
  if (readFields(stream, "%lf %lf", {&a.value1, &a.value2}).bad) {
    fatalPrintf(kExitInputError, nullptr, "Input error for W 7 data set no. %d in control\n", n);
  }
  AttractNo = n;
}

// ---- K rows ------------------------------------------------------------------------------------

// Six values per equation 1..6, each inside [low, high]. Where every value
// must be read (K 3) a short read is refused; elsewhere a value that is not
// there keeps the one it had.
DataSetRow perEquationRow(int number, const char *format, std::vector<DataSetVar> vars, double low, double high,
                          const char *message, bool eachRead = false) {
  std::vector<DataSetCheck> checks;
  if (eachRead) checks.push_back(countAtLeast(6));
  for (int i = 0; i < 6; ++i) checks.push_back(range(i, low, high));
  return {.number = number,
          .format = format,
          .vars = std::move(vars),
          .checks = std::move(checks),
          .message = message,
          .storesCount = 0};
}

// The water-quality components (Equation 8 and up) have no sweeps of their
// own in K 4; without a default their solves would leave every component
// where it started. They sweep once per solve, as U, V, W, k and epsilon do.
DataSetRow withComponentSweeps(DataSetRow row) {
  row.defaults = [] { std::fill(sweeps + 8, sweeps + kEquationEntries, 1); };
  return row;
}

}  // namespace

std::span<const DataSetRow> kRows() {
  static const std::vector<DataSetRow> rows = {
      {.number = 1,
       .format = "%d %d",
       .vars = {{iterGlobalMax, 40000}, {IterSurface, 50000}},
       .message = "Input error for K 1 in control"},
      {.number = 2,
       .format = "%d %d",
       .vars = {{FlagWall, 0}, {FlagRoof, 1}},
       .checks = {range(0, 0, 1), range(1, 0, 1)},
       .message = "Input error for K 2 in control"},
      perEquationRow(3, "%lf %lf %lf %lf %lf %lf",
                     {{relax[1], 0.8}, {relax[2], 0.8}, {relax[3], 0.8}, {relax[4], 0.2}, {relax[5], 0.5},
                      {relax[6], 0.5}},
                     0, 5, "Input error for K 3 in control", true),
      withComponentSweeps(perEquationRow(4, "%d %d %d %d %d %d",
                                         {{sweeps[1], 1}, {sweeps[2], 1}, {sweeps[3], 1}, {sweeps[4], 5},
                                          {sweeps[5], 1}, {sweeps[6], 1}},
                                         0, 200, "Input error for K 4 in control")),
      perEquationRow(5, "%d %d %d %d %d %d",
                     {{blockcorr[1], 0}, {blockcorr[2], 0}, {blockcorr[3], 0}, {blockcorr[4], 0}, {blockcorr[5], 0},
                      {blockcorr[6], 0}},
                     0, 20, "Input error for K 5 in control"),
      perEquationRow(6, "%d %d %d %d %d %d",
                     {{sou[1], 0}, {sou[2], 0}, {sou[3], 0}, {sou[4], 0}, {sou[5], 0}, {sou[6], 0}}, 0, 100,
                     "Input error for K 6 in control"),
  };
  return rows;
}

// P 1 and P above 18 have no handler; P 0 and below are refused by the
// dispatcher before this table is consulted.
std::span<const DataSetRow> pRows() {
  static const std::vector<DataSetRow> rows = {
      {.number = 2,
       .format = "%lf%lf%lf%lf%lf",
       .vars = {{xscale, 1}, {yscale, 1}, {zscale, 1}, {movex, 0}, {movey, 0}},
       .message = "Input error for P 2 in control"},
      {.number = 3,
       .format = "%d%d%d%d",
       .vars = {{xnode, 2}, {ynode, 2}, {znode, 2}, {lnode, 1}},
       .checks = {above(0, 0), rule([] { return ynode >= 0 && ynode <= ynumber + 1LL; }),
                  rule([] { return znode >= 1 && znode <= znumber + 1LL; }),
                  rule([] { return lnode >= 0 && lnode <= lnumber; })},
       .message = "Input error for P 3 in control"},
      {.number = 4, .format = "%c", .vars = {{graph, 'g'}}},
      {.number = 5, .format = "%d", .vars = {{OGLindex, 0}}, .message = "Input error for P 5 in control"},
      {.number = 6,
       .format = "%lf %lf",
       .vars = {{OGLmin, 0}, {OGLmax, 0}, {OGLminmax, 0}},
       .checks = {countAtLeast(2), rule([] { return OGLmin <= OGLmax; })},
       .message = "Input error for P 6 in control",
       .effect = [] { OGLminmax = 1; },
       .storesCount = 0},
      {.number = 7, .format = "%c", .vars = {{VerHorPar, 0}}},
      {.number = 8, .format = "%d", .vars = {{FlagGraphAvg, 0}}, .message = "Input error for P 8 in control"},
      {.number = 9, .format = "%d", .vars = {{PrintComp, 0}}, .message = "Input error for P 9 in control"},
      {.number = 10, .format = "%d", .vars = {{PrintRes, 0}}, .message = "Input error for P 10 in control"},
      {.number = 11, .format = "%d", .vars = {{PrintSpecials, 0}}, .message = "Input error for P 11 in control"},
      {.number = 12, .defaults = plotListDefaults, .handler = readP12},
      {.number = 13, .handler = readP13},
      {.number = 14,
       .format = "%lf",
       .vars = {{TimeTimerPrint, 0}},
       .checks = {countAtLeast(1), atLeast(0, 0.0)},
       .message = "Error reading P 14 data set\n",
       .storesCount = 0},
      {.number = 15,
       .format = "%d",
       .vars = {{PrintResAlways, 0}},
       .checks = {countAtLeast(1), atLeast(0, 0)},
       .message = "Error reading P 15 data set\n",
       .storesCount = 0},
      {.number = 16,
       .format = "%d %d %d %d",
       .vars = {{PrintIStart, 0}, {PrintIEnd, 0}, {PrintJStart, 0}, {PrintJEnd, 0}},
       .checks = {countAtLeast(4), atLeast(0, -1), rule([] { return PrintIEnd <= xnumber + 1LL; }), above(2, 0),
                  rule([] { return PrintJEnd <= ynumber + 1LL; })},
       .message = "Error reading P 16 data set\n",
       .storesCount = 0},
      {.number = 17, .defaults = vProfileDefaults, .handler = readP17},
      {.number = 18, .defaults = crossPrintDefaults, .handler = readP18},
  };
  return rows;
}

std::span<const DataSetRow> wRows() {
  static const std::vector<DataSetRow> rows = {
      {.number = 1,
       .format = " %lf %lf %lf",
       .vars = {{ManningInit, 50}, {discharge, 1}, {level, 1}, {FlagReadW1, 0}},
       .checks = {range(0, 1, 1800), range(1, 1e-10, 1e15), atMost(2, 10000)},
       .message = "Input error for W 1 in control",
       .effect = [] { FlagReadW1 = 1; }},
      {.number = 2, .defaults = initArrayDefaults, .handler = readW2},
      {.number = 4, .defaults = mWallDefaults, .handler = readW4},
      {.number = 6, .defaults = fastDefaults, .handler = readW6},
      {.number = 7, .defaults = attractDefaults, .handler = readW7},
  };
  return rows;
}
