// G data sets: the size of the structured grid, its vertical distribution and
// the geometric and output tables (sources, left-out rectangles, bridges,
// weirs, output variables, work blocks, surface updates, thread switches).
#include <algorithm>
#include <cstdint>

#include "model/control_tables.h"
#include "model/settings.h"
#include "startup/dataset_reads.h"
#include "startup/dataset_rows.h"
#include "base/exit_codes.h"
#include "base/log.h"

namespace {

// The largest znumber whose levels 0..znumber+2 fit into zdistrib.
constexpr int kMaxZnumber = kMaxZdistrib - 3;

// The grain sizes that the per-size G tables can hold.
int sizesHeld() { return std::min(lnumber, kMaxGrainSizes); }

// A grid size plus a margin, formed in 64 bits: G 1 accepts sizes up to the
// int limit, and the range checks of later data sets add to them.
std::int64_t beyond(int size, int margin) { return std::int64_t{size} + margin; }

[[noreturn]] void refuse(const char *text, int code = kExitInputError) { fatalExit(code, text); }

// ---- Vertical distribution ---------------------------------------------------------------------

void zdistribDefaults() {
  std::fill(std::begin(zdistrib), std::end(zdistrib), 0.0);
  for (int k = 1; k <= 11; ++k) zdistrib[k] = (k - 1) / 10.0;
  FlagReadG3 = 0;
}

// G 3 and G 30: znumber relative levels, none below the one before. G 3 also
// makes its first value the reference of later G 30 data sets; G 30 compares
// its first value with that reference (0 without a G 3).
void readLevels(ControlStream &stream, bool isG3) {
  // Checked before reading, so that a large znumber cannot write past the table.
  if (znumber > kMaxZnumber) {
    fatalPrintf(kExitTableFull, nullptr, "Error - increase zdistrib array, nz = %lld\n",
                static_cast<long long>(beyond(znumber, 2)));
  }
  for (int j = 1; j <= znumber; ++j) {
    bool read = readDouble(stream, "%lf", zdistrib[j]);
    if (isG3 && j == 1) zdistrib[0] = zdistrib[1];
    if (!read || zdistrib[j] < zdistrib[j - 1]) {
      if (isG3) fatalPrintf(kExitInputError, nullptr, "Input error for G 3 in control, j= %d\n", j);
      refuse("Input error for G 30 in control");
    }
  }
  if (isG3) FlagReadG3 = 1;
}

void readG3(ControlStream &stream) { readLevels(stream, true); }
void readG30(ControlStream &stream) { readLevels(stream, false); }

// ---- Point sources -----------------------------------------------------------------------------

void pointsourceDefaults() { std::fill(std::begin(pointsource), std::end(pointsource), 0.0); }

// The strength per grain size of a point source; lnumber values.
void readPointsourceSizes(ControlStream &stream, const char *message) {
  for (int l = 1; l <= sizesHeld(); ++l) {
    if (!readDoubleOrKeep(stream, "%lf", pointsource[l])) refuse(message);
  }
}

bool inGrid(int index, int size) { return index >= 0 && index <= beyond(size, 4); }

// G 4: one cell index per direction, then the strengths.
void readG4(ControlStream &stream) {
  const char *message = "Input error for G 4 in control";
  ScanResult read = readFields(stream, "%d%d%d", {&i_pointsource, &j_pointsource, &k_pointsource});
  if (read.bad || !inGrid(i_pointsource, xnumber) || !inGrid(j_pointsource, ynumber) ||
      !inGrid(k_pointsource, znumber)) {
    refuse(message);
  }
  readPointsourceSizes(stream, message);
}

// G 5: a range of cells per direction, then the strengths.
void readG5(ControlStream &stream) {
  ScanResult read = readFields(stream, "%d%d%d%d%d%d",
                               {&i_pointsource, &i2_pointsource, &j_pointsource, &j2_pointsource, &k_pointsource,
                                &k2_pointsource});
  if (read.bad) refuse("Input error for G 5 in control\n");
  if (!inGrid(i_pointsource, xnumber) || !inGrid(j_pointsource, ynumber) || !inGrid(k_pointsource, znumber)) {
    refuse("Input error for G 5 in control\nWrong first indexes");
  }
  if (!inGrid(i2_pointsource, xnumber) || !inGrid(j2_pointsource, ynumber) || !inGrid(k2_pointsource, znumber)) {
    refuse("Input error for G 5 in control\nWrong second indexes");
  }
  if (i_pointsource > i2_pointsource || j_pointsource > j2_pointsource || k_pointsource > k2_pointsource) {
    refuse("Input error for G 5 in control\nWrong match beween indexes");
  }
  readPointsourceSizes(stream, "Input error for G 5 in control\n");
}

// ---- Counted records ---------------------------------------------------------------------------

void ioDefaults() {
  std::fill(std::begin(IO), std::end(IO), IOEntry{});
  IONo = 0;
}

// G 7: eight integers and four values per discharge group.
void readG7(ControlStream &stream) {
  int n = IONo + 1;
  if (n >= kMaxIO) refuse("Input error for G 7 in control\nData sets must not exceed 19\n");
  IOEntry &r = IO[n];
  ScanResult read = readFields(stream, "%d %d %d %d %d %d %d %d  %lf %lf %lf %lf",
                               {&r.param[0], &r.param[1], &r.param[2], &r.param[3], &r.param[4], &r.param[5],
                                &r.param[6], &r.param[7], &r.value[0], &r.value[1], &r.value[2], &r.value[3]});
  if (read.bad) refuse("Input error for G 7 in control\n");
  IONo = n;
}

void volSourceDefaults() {
  std::fill(std::begin(VolSource), std::end(VolSource), VolSourceEntry{});
  VolSourceNo = 0;
}

// G 10 and G 11: a block of cells with one or two source values.
void readVolSource(ControlStream &stream, bool twoValues) {
  const char *full = twoValues ? "Input error for G 11 in control\nData sets must not exceed 19\n"
                               : "Input error for G 10 in control\nData sets must not exceed 19\n";
  const char *message = twoValues ? "Input error for G 11 in control" : "Input error for G 10 in control";
  int n = VolSourceNo + 1;
  if (n >= kMaxVolSource) refuse(full);
  VolSourceEntry &r = VolSource[n];
  ScanResult read = twoValues ? readFields(stream, "%d%d%d%d%d%d%lf%lf",
                                           {&r.i1, &r.i2, &r.j1, &r.j2, &r.k1, &r.k2, &r.value, &r.value2})
                              : readFields(stream, "%d%d%d%d%d%d%lf",
                                           {&r.i1, &r.i2, &r.j1, &r.j2, &r.k1, &r.k2, &r.value});
  if (!twoValues) r.value2 = 2.0;
  if (read.bad || r.i2 > beyond(xnumber, 1) || r.j2 > beyond(ynumber, 1) || r.k2 > beyond(znumber, 1) ||
      r.i1 < 2 || r.j1 < 2 || r.k1 < 2) {
    refuse(message);
  }
  VolSourceNo = n;
}

void readG10(ControlStream &stream) { readVolSource(stream, false); }
void readG11(ControlStream &stream) { readVolSource(stream, true); }

void sedSourceDefaults() {
  std::fill(std::begin(SedSource), std::end(SedSource), SedSourceEntry{});
  SedSourceNo = 0;
}

// G 12: a discharge group and a concentration per grain size.
void readG12(ControlStream &stream) {
  int n = SedSourceNo + 1;
  if (n >= kMaxSedSource) refuse("Input error for G 12 in control\nData sets must not exceed 19\n");
  SedSourceEntry &r = SedSource[n];
  if (!readIntOrKeep(stream, "%d", r.group) || r.group < 1 || r.group > 9) {
    refuse("Input error for G 12, first parameter, in control");
  }
  if (lnumber > kMaxSedSourceSizes) {
    logText("Warning, only the first 50 sediment sizes\n"
            "are read on G 12 data sets\n"
            "To avvoid this, recompiliation is necessary\n\n");
  }
  for (int l = 1; l <= std::min(lnumber, kMaxSedSourceSizes); ++l) {
    if (!readDoubleOrKeep(stream, "%lf", r.conc[l]) || r.conc[l] < 0.0 || r.conc[l] > 1.0) {
      refuse("Input error for G 12, concentration, in control");
    }
  }
  SedSourceNo = n;
}

void outBlockDefaults() {
  std::fill(std::begin(OutBlock), std::end(OutBlock), OutBlockEntry{});
  OutBlockNo = 0;
}

// G 13: a rectangle of columns without cells; marked after the pass.
void readG13(ControlStream &stream) {
  int n = OutBlockNo + 1;
  if (n >= kMaxOutBlock) refuse("Input error for G 13 in control\nData sets must not exceed 499\n");
  OutBlockEntry &r = OutBlock[n];
  ScanResult read = readFields(stream, "%d%d%d%d%d%d%d", {&r.kind, &r.i1, &r.i2, &r.j1, &r.j2, &r.k1, &r.k2});
  if (read.bad || r.kind < 0 || r.kind > 4 || r.i2 > beyond(xnumber, 1) || r.j2 > beyond(ynumber, 1) ||
      r.k2 > beyond(znumber, 1) || r.i1 < 2 || r.j1 < 2 || r.k1 < 2) {
    refuse("Input error for G 13 in control");
  }
  OutBlockNo = n;
}

void debugDumpDefaults() {
  std::fill(std::begin(DebugDump), std::end(DebugDump), DebugDumpEntry{});
  DebugDumpNo = 0;
}

// G 14: a debug point.
void readG14(ControlStream &stream) {
  int n = DebugDumpNo + 1;
  if (n >= kMaxDebugDump) refuse("Input error for G 14 in control\nData sets must not exceed 29\n");
  DebugDumpEntry &r = DebugDump[n];
  ScanResult read = readFields(stream, "%d%d%d%d", {&r.code, &r.i, &r.j, &r.k});
  if (read.bad || r.code < 1 || r.code > 6 || r.i < 2 || r.i > beyond(xnumber, 1) || r.j < 2 ||
      r.j > beyond(ynumber, 1) || r.k < 2 || r.k > beyond(znumber, 1)) {
    refuse("Input error for G 14 in control");
  }
  DebugDumpNo = n;
}

void uInitDefaults() {
  std::fill(std::begin(UInit), std::end(UInit), UInitEntry{});
  UInitNo = 0;
}

// G 18: start values u, v, w, pressure, k, epsilon.
void readG18(ControlStream &stream) {
  int n = UInitNo + 1;
  if (n >= kMaxUInit) refuse("Increase array for G 18 and recompile\n", kExitTableFull);
  double *v = UInit[n].value;
  ScanResult read = readFields(stream, "%lf %lf %lf %lf %lf %lf\n", {&v[1], &v[2], &v[3], &v[4], &v[5], &v[6]});
  if (read.bad) refuse("Input error for G 18 in control\n");
  UInitNo = n;
}

void bridgeDefaults() {
  std::fill(std::begin(Bridge), std::end(Bridge), BridgeEntry{});
  BridgeNo = 0;
}

// G 22: a bridge deck over a range of columns.
void readG22(ControlStream &stream) {
  int n = BridgeNo + 1;
  if (n >= kMaxBridge) refuse("Input error for G 22 in control\nNumber of data sets must not exceed 19\n");
  BridgeEntry &r = Bridge[n];
  ScanResult read =
      readFields(stream, "%d%d%d%d%lf%lf%lf", {&r.i1, &r.i2, &r.j1, &r.j2, &r.lower, &r.upper, &r.coefficient});
  if (read.bad || r.i2 > xnumber || r.j2 > ynumber || r.i1 < 2 || r.j1 < 2 || r.i1 > r.i2 || r.j1 > r.j2 ||
      r.lower > r.upper || r.coefficient < 1e-5) {
    refuse("Input error for G 22 in control");
  }
  BridgeNo = n;
}

// ---- Output variables --------------------------------------------------------------------------

void tecStrucDefaults() {
  std::fill(std::begin(TecStruc), std::end(TecStruc), TecStrucEntry{});
  TecStrucNo = 0;
}

// G 24: a count, then per entry a letter (after at most ten blanks), a
// sub-code for Z, the level or bed layer and the size index. A line end read
// as the letter makes the level read fail on the real letter.
void readG24(ControlStream &stream) {
  int count = 0;
  if (!readInt(stream, "%d", count) || count < 0) {
    refuse("The G 24 data set has to include a positive integer first\n");
  }
  if (count >= kMaxTecStruc) refuse("Too many points in G 24 data set\n");
  TecStrucNo = count;
  bool slides = FlagThixo != 0 || FlagMorphStatistics != 0;
  for (int n = 0; n < count; ++n) {
    TecStrucEntry &e = TecStruc[n];
    for (int taken = 0; taken < 10; ++taken) {
      int c = stream.get();
      if (c == EOF) break;
      e.letter = static_cast<char>(c);
      if (c != ' ') break;
    }
    e.subcode = 0;
    if (e.letter == 'Z') {
      if (!readInt(stream, "%d", e.subcode) || e.subcode < 100 || e.subcode > 1000) {
        refuse("Error for G 24 data set. The Z variable needs an extra integer\n\n");
      }
      if (!slides && (e.subcode == 100 || e.subcode == 101)) {
        refuse("Error for G 24 data set. The Z variable is only used with slides\n\n");
      }
    }
    if (e.letter == 'M' && !slides) refuse("Error for G 24 data set. The M variable is only used with slides\n\n");
    ScanResult read = readFields(stream, "%d %d", {&e.levelIndex, &e.sizeIndex});
    if (read.count != 2 || read.bad || e.levelIndex < 0 || (e.levelIndex > znumber && e.levelIndex > NoBedLayers) ||
        e.sizeIndex < 0 || e.sizeIndex > lnumber) {
      fatalPrintf(kExitInputError, nullptr, "Error in G 24 data set, variable no. %d\n", n + 1);
    }
    if (e.letter == 'N' && FlagTSC != 3) {
      refuse("Error in G 24 data set. The N variable can not be used when the F 37 data set is not 3\n");
    }
    if (e.letter == 'j' && FlagCohesion == 0) {
      refuse("Error in G 24 data set. The j variable can only be used when the F 385 data set is above zero\n");
    }
  }
}

// ---- Block lists -------------------------------------------------------------------------------

void workBlockDefaults() {
  WorkBlockNo = 0;
  std::fill(std::begin(WorkBlock), std::end(WorkBlock), 0);
}

// G 25: the blocks that take part in the work ranges. The message counts the
// integers of the data set, the first one included.
void readG25(ControlStream &stream) {
  if (!readIntOrKeep(stream, "%d", WorkBlockNo) || WorkBlockNo < 1 || WorkBlockNo > 99) {
    refuse("Error first integer on G 25 data set\n");
  }
  for (int b = 1; b <= WorkBlockNo; ++b) {
    if (!readIntOrKeep(stream, "%d", WorkBlock[b]) || WorkBlock[b] < 0 || WorkBlock[b] > 20) {
      fatalPrintf(kExitInputError, nullptr, "Error for integer no. %d on G 25 data set\n", b + 1);
    }
  }
}

void surfUpdateDefaults() {
  FlagSurfaceUpdate = 0;
  std::fill(std::begin(SurfUpdate), std::end(SurfUpdate), 0);
  for (int b = 1; b <= 98; ++b) SurfUpdate[b] = 1;
}

// G 26: the surface-update code of blocks 1..n; later blocks keep 1.
void readG26(ControlStream &stream) {
  if (!readIntOrKeep(stream, "%d", FlagSurfaceUpdate) || FlagSurfaceUpdate < 1 || FlagSurfaceUpdate > 90) {
    refuse("Error first integer on G 26 data set\n");
  }
  for (int b = 1; b <= FlagSurfaceUpdate; ++b) {
    if (!readInt(stream, "%d", SurfUpdate[b]) || SurfUpdate[b] < 0 || SurfUpdate[b] > 10) {
      fatalPrintf(kExitInputError, nullptr, "Error after reading %d integer in the G 26 data set\n", b + 1);
    }
  }
}

void divisionDefaults() {
  std::fill(std::begin(divisionMPI), std::end(divisionMPI), 0);
  divisionMPI[1] = -1;
}

// G 27: the rising borders of the partitions; F 308 must come first.
void readG27(ControlStream &stream) {
  if (FlagMPI < 2) {
    refuse("Error for G 27 data set in control file. The F 308 data set\n"
           "must be present in the control file and have an integer above 1\n\n",
           kExitUnreadable);
  }
  if (FlagMPI > 999) refuse("Error for MPI parameters: recompile with increased divisionMPI array\n\n", kExitUnreadable);
  for (int p = 1; p <= FlagMPI; ++p) {
    if (!readInt(stream, "%d", divisionMPI[p])) {
      fatalPrintf(kExitUnreadable, nullptr,
                  "Error for G 27 data set: only %d integers are present.Required number of integers are %d\n\n", p,
                  FlagMPI);
    }
  }
  for (int p = 2; p <= FlagMPI; ++p) {
    if (divisionMPI[p] < divisionMPI[p - 1]) {
      refuse("Error in G 27 data set: integers have to be givein in rising order\n\n", kExitUnreadable);
    }
  }
}

// ---- Weirs and profiles ------------------------------------------------------------------------

void weirDefaults() {
  std::fill(std::begin(Weirs), std::end(Weirs), WeirEntry{});
  NoWeirs = 0;
}

// G 28: one weir along a line of columns.
void readG28(ControlStream &stream) {
  if (NoWeirs >= kMaxWeirs) {
    refuse("Error for G 28 in the control file: there is room for 20 weirs, remove G 28 data sets\n",
           kExitTableFull);
  }
  WeirEntry &w = Weirs[NoWeirs];
  ScanResult read = readFields(stream, "%d %d %d %d %lf %lf %lf\n",
                               {&w.i1, &w.i2, &w.j1, &w.j2, &w.crest, &w.coefficient, &w.exponent});
  if (read.count != 7 || read.bad || w.i1 > w.i2 || w.j1 > w.j2 || w.i2 >= xnumber - 1 || w.j2 >= ynumber - 1 ||
      w.coefficient < 1.0 || w.coefficient > 3.0 || w.exponent < 1.0 || w.exponent > 3.0) {
    fatalPrintf(kExitUnreadable, nullptr, "Error for G 28 in the control file, %d occurrence\n", NoWeirs + 1);
  }
  ++NoWeirs;
}

void inflowMultDefaults() { std::fill(std::begin(inflowMult), std::end(inflowMult), 1.0); }

// G 31: the sediment inflow multiplier of one size.
void readG31(ControlStream &stream) {
  int index = 0;
  if (!readInt(stream, "%d", index) || index < 1 || index > 20) {
    refuse("Input error for G 31 in control - first parameter");
  }
  double multiplier = 0.0;
  if (!readDouble(stream, "%lf", multiplier) || multiplier < 0.0) {
    refuse("Input error for G 31 in control - second parameter");
  }
  inflowMult[index] = multiplier;
}

void vertDefaults() {
  NoVerttemp = 0;
  NoQI = 0;
  std::fill(&Verttemp[0][0], &Verttemp[0][0] + sizeof Verttemp / sizeof(double), 0.0);
  std::fill(&VertQInit[0][0][0], &VertQInit[0][0][0] + sizeof VertQInit / sizeof(double), 0.0);
  std::fill(std::begin(NoVariable), std::end(NoVariable), 0);
  std::fill(std::begin(NoVertInit), std::end(NoVertInit), 0);
}

// Pairs of level and value into entries 1..count of a profile.
void readPairs(ControlStream &stream, double (*pairs)[2], int count, const char *message) {
  for (int p = 1; p <= count; ++p) {
    if (readFields(stream, " %lf %lf", {&pairs[p][0], &pairs[p][1]}).bad) refuse(message);
  }
}

// G 40: the vertical start profile of the temperature.
void readG40(ControlStream &stream) {
  const char *message = "Input error for G 40 in control";
  if (!readIntOrKeep(stream, "%d", NoVerttemp) || NoVerttemp < 1 || NoVerttemp >= kMaxVertPoints) refuse(message);
  readPairs(stream, Verttemp, NoVerttemp, message);
}

// G 41: one more vertical start profile of a component.
void readG41(ControlStream &stream) {
  const char *message = "Input error for G 41 in control";
  if (NoQI >= kMaxVertSets) refuse("Input error for G 41 in control - too many data sets");
  ScanResult read = readFields(stream, "%d %d", {&NoVariable[NoQI], &NoVertInit[NoQI]});
  if (read.bad || NoVertInit[NoQI] < 1 || NoVertInit[NoQI] >= kMaxVertPoints || NoVariable[NoQI] < 0) refuse(message);
  readPairs(stream, VertQInit[NoQI], NoVertInit[NoQI], message);
  ++NoQI;
}

void oglDefaults() {
  std::fill(&OglProf[0][0], &OglProf[0][0] + 2 * kMaxOglProfs, 0);
  NoOGLprofs = 0;
}

// G 42: one pair of integers.
void readG42(ControlStream &stream) {
  if (NoOGLprofs >= kMaxOglProfs) refuse("Too many G 42 data sets\n");
  if (readFields(stream, "%d %d", {&OglProf[NoOGLprofs][0], &OglProf[NoOGLprofs][1]}).bad) {
    refuse("Input error for G 42 in control\n");
  }
  ++NoOGLprofs;
}

// ---- Switches and multipliers that only warn -----------------------------------------------------

void openMPDefaults() { std::fill(FlagOpenMP, FlagOpenMP + 10, 0); }

// G 50: ten serial/parallel switches. A value outside 0..2 is logged and kept;
// reading goes on with the next one. A number too large for an int is logged
// and not kept.
void readG50(ControlStream &stream) {
  for (int i = 0; i < 10; ++i) {
    int value = FlagOpenMP[i];
    ScanResult read = scan(stream, "%d", &value);
    if (!read.bad) FlagOpenMP[i] = value;
    if (read.count != 1 || read.bad || value < 0 || value > 2) {
      logText("Error for G 50 data set in control file\n");
      logPrintf("Integer no. %d = %d\n", i, value);
    }
  }
}

void multCinnDefaults() { std::fill(std::begin(multCinn), std::end(multCinn), 1.0); }

// G 51: the multipliers of the "timei" inflow concentrations per size. A
// negative value is logged and kept; a value that is not finite is logged
// and not kept, so no concentration is multiplied by it.
void readG51(ControlStream &stream) {
  for (int l = 1; l <= sizesHeld(); ++l) {
    double value = multCinn[l];
    ScanResult read = scan(stream, "%lf", &value);
    if (!read.bad) multCinn[l] = value;
    if (read.count != 1 || read.bad || value < 0.0) {
      logText("Error for G 51 data set in control file\n");
      logPrintf("Integer no. %d = %lf\n", l, value);
    }
  }
}

bool surfaceCellInRange() { return iSurf >= 0 && iSurf <= MaxCeller; }

}  // namespace

std::span<const DataSetRow> gRows() {
  static const std::vector<DataSetRow> rows = {
      // lnumber below 0 would leave the per-size tables of lnumber+1 rows empty.
      {.number = 1,
       .format = "%d %d %d %d",
       .vars = {{xnumber, 300}, {ynumber, 300}, {znumber, 11}, {lnumber, 1}},
       .checks = {atLeast(0, 4), atLeast(1, 4), atLeast(2, 2), range(3, 0, 50)},
       .message = "Input error for G 1 in control"},
      {.number = 2,
       .format = "%d %d %d %d",
       .vars = {{iblok1, 0}, {iblok2, 0}, {jblok1, 0}, {jblok2, 0}},
       .checks = {rule([] {
         return 2 <= iblok1 && iblok1 <= iblok2 && iblok2 <= xnumber && 2 <= jblok1 && jblok1 <= jblok2 &&
                jblok2 <= ynumber;
       })},
       .message = "Input error for G 2 in control"},
      {.number = 3, .defaults = zdistribDefaults, .handler = readG3},
      {.number = 4,
       .vars = {{i_pointsource, 0}, {j_pointsource, 0}, {k_pointsource, 0}},
       .defaults = pointsourceDefaults,
       .handler = readG4},
      {.number = 5, .vars = {{i2_pointsource, 0}, {j2_pointsource, 0}, {k2_pointsource, 0}}, .handler = readG5},
      {.number = 6,
       .format = "%d %d %d %lf %lf\n",
       .vars = {{iSurf, 0}, {jSurf, 0}, {kSurf, 0}, {RelaxSurface, 0.1}, {ConvSurface, 0.01}},
       .checks = {rule(surfaceCellInRange), atLeast(1, 0), atLeast(2, 0), range(3, 1e-5, 10), range(4, 1e-10, 1e7)},
       .message = "Input error for G 6 in control\n"},
      {.number = 7, .defaults = ioDefaults, .handler = readG7},
      {.number = 9,
       .format = "%d",
       .vars = {{SpecEnergy, 0}},
       .checks = {rule([] { return SpecEnergy >= 1 && SpecEnergy <= xnumber; })},
       .message = "Error for G 9 in control"},
      {.number = 10, .defaults = volSourceDefaults, .handler = readG10},
      {.number = 11, .handler = readG11},
      {.number = 12, .defaults = sedSourceDefaults, .handler = readG12},
      {.number = 13, .defaults = outBlockDefaults, .handler = readG13},
      {.number = 14, .defaults = debugDumpDefaults, .handler = readG14},
      {.number = 18, .defaults = uInitDefaults, .handler = readG18},
      {.number = 22, .defaults = bridgeDefaults, .handler = readG22},
      {.number = 24, .defaults = tecStrucDefaults, .handler = readG24},
      {.number = 25, .defaults = workBlockDefaults, .handler = readG25},
      {.number = 26, .defaults = surfUpdateDefaults, .handler = readG26},
      {.number = 27, .defaults = divisionDefaults, .handler = readG27},
      {.number = 28, .defaults = weirDefaults, .handler = readG28},
      {.number = 29,
       .format = "%d %d %d %d\n",
       .vars = {{i1Iff, 0}, {i2Iff, 0}, {j1Iff, 0}, {j2Iff, 0}},
       .checks = {countAtLeast(4), rule([] {
                    return 2 <= i1Iff && i1Iff <= i2Iff && i2Iff <= xnumber && 2 <= j1Iff && j1Iff <= j2Iff &&
                           j2Iff <= ynumber;
                  })},
       .message = "Error for G 29 in control file\n\n",
       .exitCode = kExitUnreadable,
       .storesCount = 0},
      {.number = 30, .handler = readG30},
      {.number = 31, .defaults = inflowMultDefaults, .handler = readG31},
      {.number = 40, .defaults = vertDefaults, .handler = readG40},
      {.number = 41, .handler = readG41},
      {.number = 42, .defaults = oglDefaults, .handler = readG42},
      {.number = 50, .defaults = openMPDefaults, .handler = readG50},
      {.number = 51, .defaults = multCinnDefaults, .handler = readG51},
      {.number = 62,
       .format = "%d %d %d %d %lf %lf\n",
       .vars = {{iSurf, 0}, {jSurf, 0}, {kSurf, 0}, {kSurf2, 0}, {RelaxSurface, 0.1}, {ConvSurface, 0.01}},
       .checks = {countAtLeast(6, "Input error for G 62 in control. Have you provided 6 parameters?\n"),
                  rule(surfaceCellInRange), atLeast(1, 0), atLeast(2, 0), atLeast(3, 0), range(4, 1e-5, 10),
                  range(5, 1e-10, 10)},
       .message = "Input error for one of the values on the G 62 data set in the in control file\n",
       .storesCount = 0},
  };
  return rows;
}
