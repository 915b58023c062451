// The data sets whose letter is not followed by a data-set number: Q source
// terms of the water-quality components, S grain sizes, N grain-size
// distributions, M constant inflow concentrations, I, H and L.
#include <algorithm>
#include <cstring>

#include "model/control_tables.h"
#include "model/settings.h"
#include "startup/dataset_reads.h"
#include "startup/dataset_rows.h"
#include "base/exit_codes.h"
#include "base/log.h"

namespace {

[[noreturn]] void refuse(const char *text, int code = kExitInputError) { fatalExit(code, text); }

// The first integer of H, M and Q goes into the shared data-set number; when
// no number stands there the shared number is taken, and a number that
// overflows leaves it as it is. False for an overflowing number; converted
// tells whether a number stood there.
bool readSharedNumber(ControlStream &stream, const char *format, int &value, bool *converted = nullptr) {
  int number = DataSetNumber;
  ScanResult read = scan(stream, format, &number);
  if (read.count == 1 && !read.bad) DataSetNumber = number;
  value = DataSetNumber;
  if (converted) *converted = read.count == 1;
  return !read.bad;
}

// ---- Q: source terms ---------------------------------------------------------------------------

// The values a term type reads after type and component: first its integer
// parameters, then its coefficients.
struct TermFormat {
  int type;
  int ints;       // integer parameters p1..
  int doubles;    // coefficients c1..
  bool upToCount; // the integers may also equal NoComponents
};

constexpr TermFormat kTermFormats[] = {
    {1, 0, 1, false},     {5, 0, 1, false},     {11, 0, 1, false},   {1001, 0, 1, false},  {2001, 0, 1, false},
    {1102, 0, 2, false},  {2030, 0, 3, false},  {42, 0, 4, false},   {51, 0, 5, false},    {1060, 0, 6, false},
    {81, 0, 8, false},    {2, 1, 1, true},      {113, 1, 1, true},   {1002, 1, 1, true},   {1012, 1, 1, true},
    {2002, 1, 1, true},   {120, 1, 2, false},   {121, 1, 2, false},  {122, 1, 2, false},   {123, 1, 2, false},
    {131, 1, 3, false},   {132, 1, 3, false},   {133, 1, 3, false},  {151, 1, 5, false},   {152, 1, 5, false},
    {161, 1, 6, false},   {162, 1, 6, false},   {17, 1, 7, false},   {3, 2, 1, false},     {1003, 2, 1, false},
    {2003, 2, 1, false},  {4, 2, 2, false},     {221, 2, 2, false},  {1004, 2, 2, false},  {2004, 2, 2, false},
    {230, 2, 3, false},   {251, 2, 5, false},   {252, 2, 5, false},  {261, 2, 6, false},   {272, 2, 7, false},
    {281, 2, 8, false},   {282, 2, 8, false},   {291, 2, 9, false},  {340, 3, 4, false},   {361, 3, 6, false},
    {371, 3, 7, false},   {2149, 4, 9, false},  {6100, 6, 10, false},
};

const TermFormat *termFormat(int type) {
  for (const TermFormat &f : kTermFormats) {
    if (f.type == type) return &f;
  }
  return nullptr;
}

// Type 0: the one-word name of the component, as "%s" takes it; the first 39
// characters are kept.
void readQualityName(ControlStream &stream, int type, int component) {
  char name[40] = {};
  if (scan(stream, "%39s", name).count != 1) {
    fatalPrintf(kExitInputError, nullptr, "Input error for Q %d %d in control\n", type, component);
  }
  for (int c = stream.get(); c != EOF; c = stream.get()) {
    if (c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r') {
      stream.unget();
      break;
    }
  }
  if (component < kMaxQualityNames) std::memcpy(QualityName[component], name, sizeof name);
}

// One source term of a known type into the next record of QTerms.
void readSourceTerm(ControlStream &stream, const TermFormat &f, int type, int component) {
  if (NoTerms >= kMaxQTerms) {
    refuse("Error for Q data sets in control: there is room for 200 source terms, remove Q data sets\n",
           kExitTableFull);
  }
  SourceTerm term{};
  int *ints[] = {&term.i1, &term.i2, &term.i3, &term.i4, &term.i5, &term.i6};
  double *coefficients[] = {&term.c1, &term.c2, &term.c3, &term.c4, &term.c5,
                            &term.c6, &term.c7, &term.c8, &term.c9, &term.c10};
  int highest = f.upToCount ? NoComponents : NoComponents - 1;
  bool accepted = true;
  for (int p = 0; p < f.ints && accepted; ++p) {
    accepted = readInt(stream, "%d", *ints[p]) && *ints[p] >= 0 && *ints[p] <= highest;
  }
  for (int c = 0; c < f.doubles && accepted; ++c) accepted = readDouble(stream, "%lf", *coefficients[c]);
  if (!accepted) fatalPrintf(kExitInputError, nullptr, "Input error for Q %d %d in control\n", type, component);
  term.target = component;
  term.type = type;
  QTerms[NoTerms++] = term;
}

// ---- Defaults ----------------------------------------------------------------------------------

void clearDoubles(double *first, std::size_t count) { std::fill(first, first + count, 0.0); }

}  // namespace

// Q: term type and target component, then the values of the type. Types the
// reader does not know add nothing; the text after them is examined by the loop.
void readQDataSet(ControlStream &stream) {
  int type = 0, component = -1;
  bool typeRead = false;
  bool good = readSharedNumber(stream, "%d", type, &typeRead);
  // As one "%d %d" read: the component is read only after a type.
  if (typeRead) good = readIntOrKeep(stream, " %d", component) && good;
  if (!good || type > 10000 || type < 0 || component < 0 || component >= NoComponents) {
    fatalPrintf(kExitInputError, nullptr, "Input error for Q %d in control\n", type);
  }
  if (type == 0) {
    readQualityName(stream, type, component);
    return;
  }
  if (const TermFormat *f = termFormat(type)) readSourceTerm(stream, *f, type, component);
}

// H: a record of coefficient triples; record numbers outside 0..14 end the data set.
void readHDataSet(ControlStream &stream) {
  int record = 0;
  if (!readSharedNumber(stream, " %d ", record) || record < 0 || record >= kBioRecords) return;
  BioRecord &b = Bio[record];
  int count = b.count;
  if (!readIntOrKeep(stream, "%d", count) || count > kBioPoints) {
    fatalPrintf(kExitInputError, nullptr, "Input error for H %d in control\nData points must not exceed 20\n", record);
  }
  b.count = count;
  for (int t = 0; t < count; ++t) {
    if (readFields(stream, "%lf %d %d", {&b.coefficient[t], &b.first[t], &b.second[t]}).bad || b.first[t] < 0 || b.first[t] > 16 || b.second[t] < 0 ||
        b.second[t] > 16) {
      fatalPrintf(kExitInputError, nullptr, "Input error for H %d in control\n", record);
    }
  }
}

// I: an inflow concentration per size, kept only to be written back.
void readIDataSet(ControlStream &stream) {
  int size = 0;
  if (!readIntOrKeep(stream, " %d", size) || size < 0 || size > lnumber || size > kMaxGrainSizes) {
    refuse("Input error for I in control");
  }
  if (!readDoubleOrKeep(stream, " %lf ", inflow[size])) refuse("Input error for I in control");
  logText("Warning, the values on the I data set in the control file are not used in TELVA 2\n"
          "Use the timei file or the M data set instead\n\n");
}

// L: a count and that many contour levels.
void readLDataSet(ControlStream &stream) {
  int count = contourNo;
  if (!readIntOrKeep(stream, "%d", count)) refuse("Input error for L in control\n");
  if (count > kMaxContourLevels) {
    refuse("Error for L data set in control: there is room for 20 contour levels, give fewer\n", kExitTableFull);
  }
  contourNo = count;
  for (int i = 0; i < count; ++i) {
    if (!readDoubleOrKeep(stream, "%lf", contourLevels[i])) refuse("Input error for L in control\n");
  }
}

// M: a constant inflow concentration of discharge group 1..9 for one
// component or size index; its column among the M data sets is their count so far.
void readMDataSet(ControlStream &stream) {
  int group = 0;
  if (!readSharedNumber(stream, " %d", group) || group < 1 || group > 9) {
    fatalPrintf(kExitInputError, nullptr, "Error for M %d data set\nFirst integer must be between 1 and 9\n", group);
  }
  int index = -1;
  bool good = readIntOrKeep(stream, " %d", index);
  // The index must also have a place in the group's record.
  if (!good || index < 0 || !(index < NoComponents || index <= lnumber) || index >= kCompInflowEntries) {
    fatalPrintf(kExitInputError, nullptr,
                "Error for M %d %d data set\n"
                "Second integer less than zero, or larger than what is given on F 50 data set\n",
                group, index);
  }
  double value = 0.0;
  if (!readDouble(stream, "%lf", value)) {
    fatalPrintf(kExitInputError, nullptr, "Error for M %d %d data set\n", group, index);
  }
  CompInflow[group].conc[index] = value;
  CompInflow[group].order[index] = CompInflowNo;
  ++CompInflowNo;
}

// N: one fraction of a grain-size distribution. Only distribution 0 is used;
// another is warned about, checked, and kept when the table has a place for it.
void readNDataSet(ControlStream &stream) {
  int distribution = 0, size = 0;
  bool good = !readFields(stream, " %d %d", {&distribution, &size}).bad;
  if (distribution != 0) {
    logText("Input error for N data set in control file: in TELVA 2 there is only\n"
            "one grain size distribution for the N data sets, and it has number 0.\n"
            "If you want a spatially varying grain size distribution, use the fracres file\n\n");
  }
  bool stored = distribution >= 0 && distribution < kSampleDistributions;
  bool sizeOk = size >= 1 && size <= 49;
  double fraction = stored && sizeOk ? SedimentSample[distribution][size] : 0.0;
  good = readDoubleOrKeep(stream, " %lf", fraction) && good;
  if (!good || !sizeOk || fraction < 0.0 || fraction > 1.0) {
    fatalPrintf(kExitInputError, nullptr, "Input error for N data set in control file, size %d, fraction %lf\n", size,
                fraction);
  }
  if (stored) SedimentSample[distribution][size] = fraction;
  ++FlagReadNdata;
}

// S: diameter and fall velocity of grain size n; sizes come coarsest first
// unless flocculation (F 260) is on.
void readSDataSet(ControlStream &stream) {
  int n = 0;
  if (!readIntOrKeep(stream, " %d", n) || n < 1 || n > lnumber + 1 || n > kMaxGrainSizes + 1) {
    refuse("Input error for S in control: incorrect first integer\n");
  }
  double diameter = 0.0, fall = 0.0;
  ScanResult read = readFields(stream, " %lf %lf", {&diameter, &fall});
  if (read.count != 2 || read.bad || diameter < 0.0 || diameter > 1e6 || fall < -1e6 || fall > 1e6) {
    fatalPrintf(kExitInputError, nullptr, "Input error for S in control in second or third float for i=%d\n", n);
  }
  if (n > 1 && diameter > gsize[n - 1] && FlagFlocDLL == 0) {
    fatalPrintf(kExitInputError, nullptr,
                "Input error for S %d in control file: The coarsest sediment sizes have to be given first\n", n);
  }
  gsize[n] = diameter;
  fallvelo[n] = fall;
}

void setLetterDataSetDefaults() {
  std::fill(std::begin(QTerms), std::end(QTerms), SourceTerm{});
  NoTerms = 0;
  std::memset(QualityName, 0, sizeof QualityName);
  for (CompInflowGroup &g : CompInflow) {
    std::fill(std::begin(g.order), std::end(g.order), -1);
    std::fill(std::begin(g.conc), std::end(g.conc), 0.0);
  }
  CompInflowNo = 0;
  clearDoubles(&SedimentSample[0][0], sizeof SedimentSample / sizeof(double));
  SedimentSample[0][1] = 1.0;
  FlagReadNdata = 0;
  clearDoubles(gsize, std::size(gsize));
  clearDoubles(fallvelo, std::size(fallvelo));
  clearDoubles(inflow, std::size(inflow));
  std::fill(std::begin(Bio), std::end(Bio), BioRecord{});
  Bio[kBioRecords - 1].count = 7;
  clearDoubles(contourLevels, std::size(contourLevels));
  contourNo = 0;
}
