// The surveyed bed points of the model area: the first of five files that
// opens is counted, the point table is sized to it, and the points are read.
// Every reading is reported in the side log "boogie.bed".
#include <cstdarg>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "grid/bed_levels/bed_points.h"
#include "model/blocks_groups.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/status.h"
#include "model/structured.h"
#include "startup/control_stream.h"
#include "base/exit_codes.h"
#include "base/log.h"

namespace {

// A reading pass stops after this many characters (letter-driven files) or lines.
constexpr std::size_t kMaxCharacters = 500000000;
constexpr long kMaxLines = 500000000;
// The point arrays hold this many entries beyond the points counted.
constexpr int kSpareEntries = 5002;

enum class Grammar { Letters, Numbered, Commas, Blanks, Raster };

struct BedPointFile {
  const char *name;
  Grammar grammar;
  bool scaled;  // F 225 applies
};

constexpr BedPointFile kFiles[] = {{"geodata", Grammar::Letters, true},
                                   {"geodatk", Grammar::Numbered, false},
                                   {"geodatm", Grammar::Commas, false},
                                   {"geodatn", Grammar::Blanks, false},
                                   {"mirvane", Grammar::Raster, false}};

// How a counting or reading pass ended: the points taken, the character at
// which a letter-driven pass stopped, and the result of the last number
// conversion (-1 when none was tried or the file had ended).
struct PassEnd {
  long points = 0;
  int lastCharacter = ' ';
  int lastConverted = -1;
};

// The letter-driven grammar: "E x y z" adds a point, "S" reads a window that
// has no effect, "Z", a byte 255 or the end of the file ends the points, and
// every other character is free text. A point with fewer than three numbers,
// or a number that overflows or is not finite, ends the pass; the points
// before it stand.
template <class Store>
PassEnd passLetters(ControlStream &s, long maxPoints, Store store) {
  PassEnd end;
  while (end.points < maxPoints && s.position() < kMaxCharacters) {
    const int c = s.get();
    if (c == EOF) break;
    end.lastCharacter = c;
    if (c == 'Z' || c == 255) break;
    if (c == 'E') {
      double x = 0.0, y = 0.0, z = 0.0;
      const ScanResult r = scan(s, " %lf %lf %lf", &x, &y, &z);
      end.lastConverted = r.count;
      if (r.count < 3 || r.bad) break;
      store(end.points++, x, y, z);
    } else if (c == 'S') {
      double window[4];
      const ScanResult r = scan(s, "%lf %lf %lf %lf\n", &window[0], &window[1], &window[2], &window[3]);
      end.lastConverted = r.count;
      if (r.bad) break;
    }
  }
  return end;
}

// The line formats: one point per line, up to the first line that does not
// convert fully or holds a number out of range. The point number of
// "geodatk" is read and not used: points are stored in line order.
template <class Store>
PassEnd passLines(ControlStream &s, Grammar grammar, long maxPoints, Store store) {
  PassEnd end;
  for (long line = 0; end.points < maxPoints && line < kMaxLines; ++line) {
    int number = 0;
    double x = 0.0, y = 0.0, z = 0.0;
    ScanResult r;
    int needed = 3;
    if (grammar == Grammar::Numbered) {
      r = scan(s, "%ld,%lf,%lf,%lf,\n", &number, &x, &y, &z);
      needed = 4;
    } else if (grammar == Grammar::Commas) {
      r = scan(s, "%lf,%lf,%lf\n", &x, &y, &z);
    } else {
      r = scan(s, "%lf %lf %lf\n", &x, &y, &z);
    }
    end.lastConverted = r.count;
    if (r.count < needed || r.bad) break;
    store(end.points++, x, y, z);
  }
  return end;
}

// A fault of the raster ends the run: the text goes to the side log.
[[noreturn]] void rasterFault(std::FILE *log, const char *format, int a = 0, int b = 0) {
  std::fprintf(log, format, a, b);
  std::fclose(log);
  fatalExit(kExitUnreadable, nullptr);
}

// The raster header: rows and columns, both at least 1, with room for the
// points in the table; anything else ends the run.
void rasterHeader(ControlStream &s, std::FILE *log, int &rows, int &columns) {
  const ScanResult r = scan(s, "%d %d\n", &rows, &columns);
  if (r.count < 2 || r.bad || rows < 1 || columns < 1 ||
      static_cast<long long>(rows) * columns > INT_MAX - kSpareEntries) {
    rasterFault(log, "Error reading file, two integers are required initially\n\n");
  }
}

// The raster becomes the grid only when the structured arrays hold it, with
// the same check and remedy as "koosurf".
void checkRasterRoom(std::FILE *log, int rows, int columns) {
  if (rows < xnumber - 1 && columns < ynumber - 1) return;
  std::fclose(log);
  logText("Error, increase the G 1 values in control file and try again\n");
  fatalPrintf(kExitControlMissing, nullptr, "The two first integers on G 1 data set should be at least %ld %ld\n",
              rows + 2L, columns + 2L);
}

// Reads the raster into the table; with makeGrid its rows and columns also
// become the grid points of block 1.
long readRaster(ControlStream &s, std::FILE *log, bool makeGrid) {
  int rows = 0, columns = 0;
  rasterHeader(s, log, rows, columns);
  if (static_cast<long long>(rows) * columns > NoGeo) {
    rasterFault(log, "Error reading file, two integers are required initially\n\n");
  }
  std::vector<double> columnY(columns + 1);
  for (int j = 1; j <= columns; ++j) {
    const ScanResult r = scan(s, "%lf", &columnY[j]);
    if (r.count < 1 || r.bad) rasterFault(log, "Error reading file, first line, j=%d\n\n", j);
  }
  for (int i = 1; i <= rows; ++i) {
    double rowX = 0.0;
    const ScanResult rx = scan(s, "%lf", &rowX);
    if (rx.count < 1 || rx.bad) rasterFault(log, "Error reading file, first number line, j=%d\n\n", i);
    for (int j = 1; j <= columns; ++j) {
      double level = 0.0;
      const ScanResult rz = scan(s, "%lf", &level);
      if (rz.count < 1 || rz.bad) rasterFault(log, "Error reading file, line %d, number, %d\n\n", j, i);
      const long n = static_cast<long>(columns) * (i - 1) + (j - 1);
      xg[n] = rowX;
      yg[n] = columnY[j];
      zg[n] = level;
      if (makeGrid) {
        xval[i][j] = rowX;
        yval[i][j] = columnY[j];
        zval[i][j][1] = level;
      }
    }
  }
  if (makeGrid) {
    NoBlocks = 1;
    block[1] = GridBlock{};
    block[1].i1 = 2;
    block[1].i2 = rows;
    block[1].j1 = 2;
    block[1].j2 = columns;
  }
  return static_cast<long>(rows) * columns;
}

// Counting pass: the points the reading pass will take (for the raster its
// size from the header, checked against the grid arrays when it is to become
// the grid).
PassEnd countPoints(const std::string &text, const BedPointFile &file, std::FILE *log) {
  ControlStream s(text);
  auto ignore = [](long, double, double, double) {};
  if (file.grammar == Grammar::Letters) return passLetters(s, LONG_MAX, ignore);
  if (file.grammar != Grammar::Raster) return passLines(s, file.grammar, LONG_MAX, ignore);
  int rows = 0, columns = 0;
  rasterHeader(s, log, rows, columns);
  if (NoBlocks == 0) checkRasterRoom(log, rows, columns);
  PassEnd end;
  end.points = static_cast<long>(rows) * columns;
  end.lastConverted = 2;
  return end;
}

// Reading pass into positions 0, 1, 2, ... up to NoGeo points.
long readPoints(const std::string &text, const BedPointFile &file, std::FILE *log) {
  ControlStream s(text);
  const double mult = file.scaled ? ScaleGeodataMult : 1.0;
  const double add = file.scaled ? ScaleGeodataAdd : 0.0;
  auto store = [&](long n, double x, double y, double z) {
    xg[n] = x * mult + add;
    yg[n] = y * mult + add;
    zg[n] = z * mult + add;
    if (std::fabs(xg[n]) > 1e12) bedLogLine(log, "xg = %le\n", xg[n]);
  };
  if (file.grammar == Grammar::Letters) return passLetters(s, NoGeo, store).points;
  if (file.grammar != Grammar::Raster) return passLines(s, file.grammar, NoGeo, store).points;
  return readRaster(s, log, NoBlocks == 0);
}

// New zero-filled point arrays for `count` points; the bytes that could not
// be obtained (0 when all four were), and then the table is left as it was.
double allocatePointTable(int count) {
  const std::size_t entries = static_cast<std::size_t>(count) + kSpareEntries;
  void *x = std::calloc(entries, sizeof(double));
  void *y = std::calloc(entries, sizeof(double));
  void *z = std::calloc(entries, sizeof(double));
  void *m = std::calloc(entries, sizeof(int));
  double missing = 0.0;
  for (void *p : {x, y, z}) {
    if (!p) missing += static_cast<double>(entries) * sizeof(double);
  }
  if (!m) missing += static_cast<double>(entries) * sizeof(int);
  if (missing > 0.0) {
    for (void *p : {x, y, z, m}) std::free(p);
    return missing;
  }
  // The previous table only ever held no points (it is read while NoGeo is 0).
  std::free(xg);
  std::free(yg);
  std::free(zg);
  std::free(ig);
  xg = static_cast<double *>(x);
  yg = static_cast<double *>(y);
  zg = static_cast<double *>(z);
  ig = static_cast<int *>(m);
  return missing;
}

}  // namespace

void bedLogLine(std::FILE *log, const char *format, ...) {
  char line[1024];
  va_list args;
  va_start(args, format);
  const int n = std::vsnprintf(line, sizeof line, format, args);
  va_end(args);
  if (n < 0) return;
  if (static_cast<std::size_t>(n) < sizeof line) {
    std::fwrite(line, 1, n, log);
    return;
  }
  std::string longer(static_cast<std::size_t>(n) + 1, '\0');
  va_start(args, format);
  std::vsnprintf(longer.data(), longer.size(), format, args);
  va_end(args);
  std::fwrite(longer.data(), 1, n, log);
}

double readGeodata() {
  std::FILE *log = std::fopen("boogie.bed", "w");
  if (!log) return -1.0;

  // A partitioned run reads only its own file, in the grammar of "geodata".
  char partitionName[32];
  BedPointFile partition{partitionName, Grammar::Letters, true};
  const BedPointFile *file = nullptr;
  std::string text;
  if (FlagMPI != 0) {
    std::snprintf(partitionName, sizeof partitionName, "geodata.mpi%d", FlagMPI);
    if (readTextFile(partitionName, text)) file = &partition;
  } else {
    for (const BedPointFile &candidate : kFiles) {
      text.clear();
      if (readTextFile(candidate.name, text)) {
        file = &candidate;
        break;
      }
    }
  }
  if (!file) {
    std::fputs(FlagMPI != 0 ? "Could not open file geodata\n" : "Could not open file geodata/geodatk/geodatm\n", log);
    std::fclose(log);
    return -2.0;
  }

  const PassEnd counted = countPoints(text, *file, log);
  NoGeo = static_cast<int>(counted.points);
  bedLogLine(log, "Number of points in geodata file: %d\n", NoGeo);
  if (NoGeo == 0) {
    bedLogLine(log, "\nProbable error in geodata file. Last read charachter: %c\n", counted.lastCharacter);
    bedLogLine(log, "Last read %d number of floating points.\n", counted.lastConverted);
  }

  const double missing = allocatePointTable(NoGeo);
  if (missing > 0.0) {
    // Without the arrays the points cannot be kept: the table stays empty.
    bedLogLine(log, "Error: no memory for %d bed points\n", NoGeo);
    NoGeo = 0;
    std::fclose(log);
    return missing;
  }

  // The file is opened again for the reading pass.
  text.clear();
  if (!readTextFile(file->name, text)) {
    const bool own = file == &partition;
    bedLogLine(log, "Could not open file %s\n", own ? "geodata" : file->name);
    char message[64];
    std::snprintf(message, sizeof message, "could not open file %s ", own ? "geodata" : file->name);
    setStatus(mc_message, message);
    NoGeo = 0;
    std::fclose(log);
    return 0.0;
  }
  const long read = readPoints(text, *file, log);
  // A file that changed between the passes keeps only the points read.
  if (read < NoGeo) NoGeo = static_cast<int>(read);
  bedLogLine(log, "Number of points read from geodata file: %ld\n", read);
  std::fclose(log);
  return 0.0;
}
