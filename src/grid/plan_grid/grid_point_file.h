// The grid-point files of the plan grid ("koosurf", a joined "koosurf",
// "koosurf.nes"): fields separated by white space, six to a point, read with
// their line numbers. A group that does not convert ends the points when no
// whole point follows it (a trailing comment or "end" line, a last point cut
// short): the rest of the file is ignored, with a warning. With points after
// it, it is a typo inside the points and stops the run with the file and
// line named, as does a point missing from its block, instead of building a
// grid from points that were never given.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

// One grid point as the files give it: grid line indexes, plan position,
// bed and water level.
struct GridPoint {
  int i = 0, j = 0;
  double x = 0.0, y = 0.0, bed = 0.0, surface = 0.0;
};

class GridPointFile {
 public:
  // Reads the text of the file called name (the name goes into every message).
  GridPointFile(const char *name, const std::string &text) : name_(name), text_(text) {}

  // True when only white space is left, or the points have ended.
  bool atEnd();
  // True once a group that does not convert has ended the points; the
  // fields asked for after it read as 0.
  bool ended() const { return endLine_ != 0; }
  // The next field as a grid index: a whole number of 1 or more.
  int index();
  // The next field as any whole number (the placing record's columns).
  int integer();
  // The next field as a finite number.
  double number();
  // The next field as a level: a finite number of at most 1e6 m either way.
  double level();
  // The next grid point: i, j, x, y, bed and water level; false at the end of
  // the file. A file that ends inside a point stops the run.
  bool nextPoint(GridPoint &p);
  // The parts of nextPoint, for files with records between the points: the
  // first field, i, and the five after it.
  int startPoint();
  void finishPoint(GridPoint &p);

  // The line of the last field read, and of the first field of the last point.
  long line() const { return fieldLine_; }
  long pointLine() const { return pointLine_; }
  const char *name() const { return name_; }

  // Logs where the points ended, when a group that does not convert ended them.
  void reportEnd() const;

  // Ends the run (-4) with "Error in <name> file, line <n>: <what>".
  [[noreturn]] void fail(long line, const char *format, ...) const __attribute__((format(printf, 3, 4)));

 private:
  // Skips white space; the start and end of the next field, false at the end.
  bool nextField(std::size_t &start, std::size_t &end);
  [[noreturn]] void failField(std::size_t start, std::size_t end, const char *what) const;
  // A group that does not convert: ends the points when no whole point
  // follows on a later line, else stops the run with what (and the field).
  void endOrFail(std::size_t start, std::size_t end, const char *what);
  // True when six fields from position at convert as a point would.
  bool pointAt(std::size_t at) const;
  // The next field converted whole to T; notA says what it is not otherwise.
  template <class T>
  T convert(const char *notA);

  const char *name_;
  const std::string &text_;
  std::size_t pos_ = 0;
  long line_ = 1;       // the line at the reading position
  long fieldLine_ = 0;  // the line of the last field read
  long pointLine_ = 0;  // the line of the last point's first field
  std::size_t groupStart_ = 0;  // where the last point's first field starts
  long endLine_ = 0;            // the line of the group that ended the points, 0 for none
  std::size_t endStart_ = 0;    // where that group starts
};

// The grid points a block of grid lines 1..maxI by 1..maxJ must hold: marks
// the points read, warns of a point given again (its later line is kept)
// and, at the end, refuses a point never given.
class BlockCoverage {
 public:
  BlockCoverage(const GridPointFile &file, int maxI, int maxJ);
  void mark(const GridPoint &p);
  // Ends the run when a point of the block was not given.
  void requireAll() const;

 private:
  const GridPointFile &file_;
  int maxI_, maxJ_;
  long given_ = 0;
  std::vector<long> lineOf_;  // the line that gave each point, 0 for none
};
