// Reader of "timei", the time-dependent boundary data of a transient run:
// discharges, water levels, inflow concentrations, wind, irradiance, result
// times and the "timeo" point sets, read into the series rows anew at each call.
#include "startup/timei_reader.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <string>

#include "model/blocks_groups.h"
#include "model/control_tables.h"
#include "model/run_state.h"
#include "model/series.h"
#include "model/settings.h"
#include "model/status.h"
#include "startup/control_stream.h"
#include "base/log.h"

namespace {

constexpr int kCodeTooManyRows = 11;
constexpr double kSameTime = 1e-4;  // D, Q and C times must repeat the row time this closely, s

// printf-style append to a text being built.
void appendf(std::string &text, const char *format, ...) __attribute__((format(printf, 2, 3)));
void appendf(std::string &text, const char *format, ...) {
  char buffer[256];
  va_list args;
  va_start(args, format);
  int length = std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  if (length < 0) return;
  if (static_cast<std::size_t>(length) < sizeof buffer) {
    text.append(buffer, static_cast<std::size_t>(length));
    return;
  }
  std::string wide(static_cast<std::size_t>(length), '\0');
  va_start(args, format);
  std::vsnprintf(wide.data(), wide.size() + 1, format, args);
  va_end(args);
  text += wide;
}

// Inflow groups are the discharge groups of type 1 that have faces; their
// sediment concentrations stand in the rows group after group.
int countInflowGroups() {
  int groups = 0;
  for (int g = 1; g < kDischargeGroups; ++g) {
    if (DischargeStruct[g].type == 1 && DischargeStruct[g].faceCount > 0) ++groups;
  }
  return groups;
}

// Water-quality terms that read the irradiance or the air temperature series.
bool termTypeNeedsIrradiance(int type) {
  switch (type) {
    case 42: case 51: case 132: case 151: case 152: case 161: case 162:
    case 272: case 281: case 282: case 6100:
      return true;
    default:
      return false;
  }
}

bool anyTermOfType(bool (*matches)(int)) {
  for (int t = 0; t < NoTerms && t < kMaxQTerms; ++t) {
    if (matches(QTerms[t].type)) return true;
  }
  return false;
}

bool validItemLetter(char c) {
  return c == 'Q' || (c >= 'a' && c <= 'i') || c == 'k' || (c >= 'm' && c <= 'z');
}

// The data sets of one call. Every reader returns 0 or its error code; a
// code stops the reading. Room in the rows is checked before anything is
// stored: a data set may fill rows 0..ArrayTimeSteps-1.
class TimeiParser {
 public:
  explicit TimeiParser(ControlStream &in, int inflowGroups)
      : in_(in),
        inflowGroups_(inflowGroups),
        needIrradiance_(anyTermOfType(termTypeNeedsIrradiance)),
        needAirTemperature_(anyTermOfType([](int type) { return type == 1060; })),
        levelWanted_(iSurf > 0 || kSurf > 0),
        windWanted_(TimeStep > 1e-8 && Wind[0] > 1e-10),
        compColumns_(std::clamp(CompInflowNo, 0, kCompInflowEntries)) {}

  int dataSet(int letter) {
    switch (letter) {
      case 'A': return readA();
      case 'H': return readH();
      case 'I': return readI();
      case 'J': return readJ();
      case 'D': return readD();
      case 'Q': return readQ();
      case 'C': return readC();
      case 'N': return readN();
      case 'M': return readM();
      case 'O': return readO();
      default: return 0;
    }
  }

 private:
  // One number by "%lf"; a value that is not finite counts as not read.
  bool one(double &value) {
    ScanResult r = scan(in_, "%lf", &value);
    return r.count == 1 && !r.bad;
  }
  bool values(double *out, int n) {
    for (int i = 0; i < n; ++i) {
      if (!one(out[i])) return false;
    }
    return true;
  }
  bool oneInt(int &value) {
    ScanResult r = scan(in_, "%d", &value);
    return r.count == 1 && !r.bad;
  }

  static bool roomFor(int row) { return std::int64_t{row} + 1 <= ArrayTimeSteps; }

  // A new row n must not start before time 0 nor before row n-1; the first
  // row has nothing to compare with, so its negative time is a read error.
  static int orderCode(double time, int n) {
    if (n == 0) return time < 0 ? 8 : 0;
    return (time < 0 || time < TimeInTime[n - 1]) ? 9 : 0;
  }

  // D, Q and C data sets repeat the time of a row the series already holds.
  static bool sameTimeAsRow(double time, int row) {
    return row < TimeInNo && std::fabs(time - TimeInTime[row]) <= kSameTime;
  }

  // The sediment concentrations of every inflow group, size after size.
  bool sedimentConcentrations(double *row, bool multiply) {
    for (int g = 0; g < inflowGroups_; ++g) {
      for (int k = 1; k <= lnumber; ++k) {
        double value;
        if (!one(value)) return false;
        row[lnumber * g + k] = multiply ? value * multCinn[k] : value;
      }
    }
    return true;
  }

  bool wind(int row) { return !windWanted_ || values(Winn[row], 3); }
  bool irradiance(int row) { return !needIrradiance_ || one(Irradi[row]); }
  bool airTemperature(int row) { return !needAirTemperature_ || one(AirTemp[row]); }
  bool componentConcentrations(int row) { return values(Cinn[row], compColumns_); }

  int readA() {
    if (NoAlldataPrintout >= kMaxAlldataPrintout) return 44;
    double time;
    ScanResult r = scan(in_, "%lf\n", &time);
    if (r.count != 1 || r.bad) return 44;
    AlldataPrintout[NoAlldataPrintout++] = time;
    return 0;
  }

  int readH() {
    const int n = TimeInNo;
    if (!roomFor(n)) return kCodeTooManyRows;
    double v[3];
    if (!values(v, 3) || v[0] < 0) return 65;
    if (n > 0 && v[0] < TimeInTime[n - 1]) return 9;
    TimeInTime[n] = v[0];
    TimeInHinn[n] = v[1];
    TimeInHout[n] = v[2];
    TimeInNo = n + 1;
    FlagJTime = 0;
    return 0;
  }

  // The columns I and J share: time, discharges of groups 1 and 2, inflow and
  // outflow levels.
  static void storeDischargeRow(int n, const double *v) {
    TimeInTime[n] = v[0];
    QDinn[n][1] = v[1];
    QDinn[n][2] = v[2];
    TimeInHinn[n] = v[3];
    TimeInHout[n] = v[4];
  }

  int readI() {
    const int n = TimeInNo;
    if (!roomFor(n)) return kCodeTooManyRows;
    double v[5];
    if (!values(v, 5)) return 8;
    if (int code = orderCode(v[0], n)) return code;
    storeDischargeRow(n, v);
    if (FlagTSC > 0 && !sedimentConcentrations(Cinn[n], true)) return 101;
    if (!wind(n)) return 12;
    if (!irradiance(n)) return 13;
    TimeInNo = n + 1;
    FlagJTime = 0;
    if (v[1] > 0) FlagDischargeTime = 1;
    return 0;
  }

  int readJ() {
    const int n = TimeInNo;
    if (!roomFor(n)) return kCodeTooManyRows;
    double v[6];
    if (!values(v, 6)) return 8;
    if (int code = orderCode(v[0], n)) return code;
    storeDischargeRow(n, v);
    TimeInTimStep[n] = v[5];
    if (FlagTSC > 0 && !sedimentConcentrations(Cinn[n], false)) return 103;
    if (v[5] < 0) return 12;
    if (!irradiance(n)) return 13;
    TimeInNo = n + 1;
    FlagJTime = 1;
    return 0;
  }

  int readD() {
    if (dDefinesRows_ < 0) dDefinesRows_ = TimeInNo == 0 ? 1 : 0;
    const int d = dRow_;
    if (!roomFor(d) || (dDefinesRows_ && !roomFor(TimeInNo))) return kCodeTooManyRows;
    double time;
    if (!one(time)) return 8;
    if (!dDefinesRows_ && !sameTimeAsRow(time, d)) return 15;
    double q[9];
    if (!values(q, 9)) return levelWanted_ ? 14 : 102;
    double level = 0;
    if (levelWanted_ && !one(level)) return 14;
    for (int g = 1; g <= 9; ++g) QDinn[d][g] = q[g - 1];
    if (levelWanted_) TimeInHout[d] = level;
    if (dDefinesRows_) {
      TimeInTime[d] = time;
      ++TimeInNo;
    }
    dRow_ = d + 1;
    if (TimeStep > 1e-8) FlagDischargeTime = 1;
    return 0;
  }

  int readQ() {
    const int d = dRow_;
    if (!roomFor(d)) return kCodeTooManyRows;
    double time;
    if (!one(time)) return 63;
    if (!sameTimeAsRow(time, d)) return 15;
    double q[9];
    if (!values(q, 9)) return 30;
    for (int g = 1; g <= 9; ++g) QDinn[d][g] = q[g - 1];
    dRow_ = d + 1;
    if (TimeStep > 1e-8) FlagDischargeTime = 1;
    return 0;
  }

  int readC() {
    const int c = cRow_;
    if (!roomFor(c)) return kCodeTooManyRows;
    double time;
    if (!one(time)) return 64;
    if (!sameTimeAsRow(time, c)) return 15;
    if (time < 0) return 64;
    if (!sedimentConcentrations(Cinn[c], false)) return 20;
    cRow_ = c + 1;
    return 0;
  }

  int readN() {
    const int n = TimeInNo;
    if (!roomFor(n)) return kCodeTooManyRows;
    double v[2];
    if (!values(v, 2)) return 8;
    if (int code = orderCode(v[0], n)) return code;
    double q[9];
    if (!values(q, 9)) return 10;
    double level = 0;
    if (levelWanted_ && !one(level)) return 14;
    if (!wind(n)) return 12;
    if (v[1] < 0) return 12;
    if (!componentConcentrations(n)) return 10;
    if (!irradiance(n)) return 13;
    if (!airTemperature(n)) return 14;
    TimeInTime[n] = v[0];
    TimeInTimStep[n] = v[1];
    for (int g = 1; g <= 9; ++g) QDinn[n][g] = q[g - 1];
    if (levelWanted_) TimeInHout[n] = level;
    TimeInNo = n + 1;
    FlagJTime = 1;
    if (TimeStep > 1e-8) FlagDischargeTime = 1;
    return 0;
  }

  int readM() {
    if (mDefinesRows_ < 0) mDefinesRows_ = TimeInNo == 0 ? 1 : 0;
    const int m = mRow_;
    if (!roomFor(m)) return kCodeTooManyRows;
    double v[2];
    if (!values(v, 2) || v[0] < 0) return 8;
    if (!wind(m)) return 12;
    if (!componentConcentrations(m)) return 10;
    if (v[1] < 0) return 12;
    if (!irradiance(m)) return 13;
    if (!airTemperature(m)) return 14;
    TimeInTime[m] = v[0];
    TimeInTimStep[m] = v[1];
    mRow_ = m + 1;
    FlagJTime = 1;
    if (mDefinesRows_) TimeInNo = mRow_;
    return 0;
  }

  // One "timeo" point set: a time, an item count and the items, each a
  // letter and a number, with a second index for z and h, a fraction index
  // for c and a component index for q.
  int readO() {
    if (TimePrintNo >= kTimePrintSets) return 7;
    double time;
    int count;
    ScanResult r = scan(in_, "%lf %d\n", &time, &count);
    if (r.count != 2 || r.bad || count < 0 || count > kTimePrintItems) return 1;
    if (time < 0) return 2;
    if (TimePrintNo > 0 && time < TimePrint[TimePrintNo - 1].time) return 3;
    TimePrintSet &set = TimePrint[TimePrintNo];
    set.time = time;
    set.count = count;
    for (int n = 0; n < count; ++n) {
      TimePrintItem &item = set.item[n];
      char letter = 0;
      int number = 0;
      ScanResult read = scan(in_, "%c %d", &letter, &number);
      if (read.count != 2 || read.bad || number < 0) return 4;
      if (!validItemLetter(letter)) return 5;
      item.letter = letter;
      item.number = number;
      item.index = 0;
      if (letter == 'z' || letter == 'h') {
        int second;
        if (!oneInt(second)) return 6;
        item.i = number;
        item.j = second;
      } else if (letter == 'c') {
        int fraction;
        if (!oneInt(fraction) || fraction < 0 || fraction > lnumber) return 6;
        item.index = fraction;
      } else if (letter == 'q') {
        int component;
        if (!oneInt(component) || component < 0 || component > NoComponents - 1) return 17;
        item.index = component;
      }
      scan(in_, "\n");
    }
    ++TimePrintNo;
    return 0;
  }

  ControlStream &in_;
  const int inflowGroups_;
  const bool needIrradiance_, needAirTemperature_;
  const bool levelWanted_, windWanted_;
  const int compColumns_;  // concentration columns of the M and N data sets
  int dRow_ = 0, cRow_ = 0, mRow_ = 0;     // own row counters of D and Q, C, and M
  int dDefinesRows_ = -1, mDefinesRows_ = -1;  // decided at the first D and the first M
};

// The log lines of a failed read: the code, its explanation, and the rows
// read so far with their time and nine discharges.
void reportError(int code, int inflowGroups) {
  std::string text;
  appendf(text, "Error in timei file: code %d\n", code);
  switch (code) {
    case 8: text += "Have not read five floats on the I data set, or the time is negative\n"; break;
    case 9: text += "The times on the data set are not in increasing order\n"; break;
    case 10: text += "Not read enough numbers on the data set\n"; break;
    case 11:
      text += "Too many time steps given in the timei file. Use F 81 in the control file or increase its existing value";
      break;
    case 12: text += "Have not read three wind parameters on the I data set\n"; break;
    case 13: text += "Have not read irradiance parameter on the I data set\n"; break;
    case 15: text += "The times on the I/J and D data sets are not the same\n"; break;
    case 20: text += "Not read enough concentration numbers on the C data set\n"; break;
    case 30: text += "Not read enough discharge numbers on the Q data set\n"; break;
    case 63: text += "Have not read time step on the Q data set\n"; break;
    case 64: text += "Have not read time step on the C data set\n"; break;
    case 65: text += "Have not read three numbers on the H data set\n"; break;
    case 101:
    case 103:
      text += code == 101 ? "Not read enough sediment concentrations on the I data set\n"
                          : "Not read enough sediment concentrations on the J data set\n";
      appendf(text, "The number of floats should be %d * %d (sediment sizes * number of inflow groups)\n", lnumber,
              inflowGroups);
      break;
    case 102: text += "Have not read 9 discharges on the D data set\n"; break;
    default: break;
  }
  if (code == kCodeTooManyRows) {
    setStatus(mc_message, "Error in 'timei': use F 81 or increase its value");
  } else {
    char message[64];
    std::snprintf(message, sizeof message, "Error in 'timei' file: code %d ", code);
    setStatus(mc_message, message);
  }
  appendf(text, "Have read %d data sets from timei file: \n", TimeInNo);
  for (int t = 0; t < TimeInNo; ++t) {
    appendf(text, "%lf ", TimeInTime[t]);
    for (int g = 1; g <= 9; ++g) appendf(text, " %lf", QDinn[t][g]);
    text += "\n";
  }
  logText(text.c_str());
}

// F 547: the series is appended to itself NoRepeatTimei times, each copy
// shifted by one period (the last time plus the first step), so that a
// daily cycle need be given once. The copies must fit the rows.
int repeatSeries(int inflowGroups) {
  if (NoRepeatTimei <= 0 || TimeInNo <= 0) return 0;
  const std::int64_t total = (std::int64_t{NoRepeatTimei} + 1) * TimeInNo;
  if (total > ArrayTimeSteps) return kCodeTooManyRows;
  const int rows = TimeInNo;
  // Row 1 gives the step only when it is in use.
  const double period = TimeInTime[rows - 1] + (rows > 1 ? TimeInTime[1] : 0.0);
  const bool sediment = FlagTSC > 0 && inflowGroups > 0;
  for (int r = 1; r <= NoRepeatTimei; ++r) {
    for (int t = 0; t < rows; ++t) {
      const int row = t + r * rows;
      TimeInTime[row] = TimeInTime[t] + r * period;
      QDinn[row][1] = QDinn[t][1];
      QDinn[row][2] = QDinn[t][2];
      TimeInHinn[row] = TimeInHinn[t];
      TimeInHout[row] = TimeInHout[t];
      if (sediment) {
        for (int k = 1; k <= lnumber * inflowGroups; ++k) Cinn[row][k] = Cinn[t][k];
      }
    }
  }
  TimeInNo = static_cast<int>(total);
  return 0;
}

// Debug letter D: the series as read, one row per line.
void writeEcho() {
  std::FILE *out = std::fopen("timei.out", "w");
  if (!out) {
    logText("Error opening timei.out file\n\n");
    return;
  }
  std::fputs("Time q1 q2 q3 h1 h2 c0\n", out);
  for (int t = 0; t < TimeInNo; ++t) {
    std::fprintf(out, "%lf %lf %lf %lf %lf ", TimeInTime[t], QDinn[t][1], QDinn[t][2], TimeInHinn[t], TimeInHout[t]);
    if (FlagTSC > 0) {
      for (int k = 1; k <= lnumber; ++k) std::fprintf(out, "%lg ", Cinn[t][k]);
    }
    std::fputs("\n", out);
  }
  std::fclose(out);
}

// Reads the data sets of the file text; 0 or the first error code.
int readDataSets(const std::string &text, int inflowGroups) {
  ControlStream in(text);
  TimeiParser parser(in, inflowGroups);
  const std::int64_t rounds = std::int64_t{ArrayTimeSteps} * 3000;
  for (std::int64_t round = 0; round < rounds; ++round) {
    int c = in.get();
    if (c == EOF) break;
    if (int code = parser.dataSet(c)) return code;
  }
  return 0;
}

}  // namespace

bool anyTermReadsIrradiance() { return anyTermOfType(termTypeNeedsIrradiance); }

int ReadTimes() {
  TimeInNo = 0;
  TimePrintNo = 0;
  // Every call starts the result times anew too, so that a file read before
  // every transient letter neither repeats its times nor overflows them.
  NoAlldataPrintout = 0;
  const int inflowGroups = countInflowGroups();
  int result = 0;
  std::string text;
  if (!readOptionalTextFile("timei", text)) {
    setStatus(mc_message, "have not used 'timei' file ");
  } else if (TimeInTime && Cinn) {
    for (int k = 0; k <= lnumber; ++k) Cinn[0][k] = 0;
    if (ArrayTimeSteps >= 1) result = readDataSets(text, inflowGroups);
    if (result != 0) reportError(result, inflowGroups);
  }
  if (TimeInTime) {
    int repeated = repeatSeries(inflowGroups);
    if (repeated != 0 && result == 0) {
      result = repeated;
      reportError(result, inflowGroups);
    }
  }
  if (debugging == 'D') writeEcho();
  return result;
}
