// Field by field reading of the grid-point files, with the line of every
// field kept for the messages, the end of the points at a group that does
// not convert, and the check that a block's points are all given.
#include "grid/plan_grid/grid_point_file.h"

#include <charconv>
#include <cmath>
#include <cstdarg>
#include <string>
#include <system_error>
#include <type_traits>

#include "base/exit_codes.h"
#include "base/log.h"
#include "grid/grid_services.h"

namespace {

// A field is shown in a message up to this many characters, a line up to kShownLine.
constexpr int kShownField = 40;
constexpr std::size_t kShownLine = 60;

bool isWhite(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

// The standard formatted read takes a leading plus sign; from_chars does not.
const char *afterPlus(const char *first, const char *last) {
  return first + 1 < last && *first == '+' ? first + 1 : first;
}

}  // namespace

bool GridPointFile::nextField(std::size_t &start, std::size_t &end) {
  if (atEnd()) return false;
  fieldLine_ = line_;
  start = pos_;
  while (pos_ < text_.size() && !isWhite(text_[pos_])) ++pos_;
  end = pos_;
  return true;
}

bool GridPointFile::atEnd() {
  if (ended()) return true;
  while (pos_ < text_.size() && isWhite(text_[pos_])) {
    if (text_[pos_] == '\n') ++line_;
    ++pos_;
  }
  return pos_ >= text_.size();
}

void GridPointFile::fail(long line, const char *format, ...) const {
  va_list args;
  va_start(args, format);
  char what[256];
  std::vsnprintf(what, sizeof what, format, args);
  va_end(args);
  fatalPrintf(kExitControlMissing, nullptr, "Error in %s file, line %ld: %s\n", name_, line, what);
}

void GridPointFile::failField(std::size_t start, std::size_t end, const char *what) const {
  const int length = static_cast<int>(end - start < kShownField ? end - start : kShownField);
  fail(fieldLine_, "'%.*s' %s", length, text_.data() + start, what);
}

bool GridPointFile::pointAt(std::size_t at) const {
  while (at < text_.size() && text_[at] != '\n' && isWhite(text_[at])) ++at;
  if (at >= text_.size() || text_[at] == '\n') return false;
  for (int field = 0; field < 6; ++field) {
    while (at < text_.size() && isWhite(text_[at])) ++at;
    const std::size_t start = at;
    while (at < text_.size() && !isWhite(text_[at])) ++at;
    if (start == at) return false;
    const char *first = afterPlus(text_.data() + start, text_.data() + at), *last = text_.data() + at;
    int whole = 0;
    double number = 0.0;
    // A number too large for its type still converts: the point is there.
    const std::from_chars_result r =
        field < 2 ? std::from_chars(first, last, whole) : std::from_chars(first, last, number);
    if ((r.ec != std::errc() && r.ec != std::errc::result_out_of_range) || r.ptr != last) return false;
  }
  return true;
}

void GridPointFile::endOrFail(std::size_t start, std::size_t end, const char *what) {
  // A field that is there but does not convert, with a whole point on a
  // later line: a typo inside the points.
  if (start != end) {
    for (std::size_t n = text_.find('\n', end); n != std::string::npos; n = text_.find('\n', n + 1)) {
      if (pointAt(n + 1)) failField(start, end, what);
    }
  }
  endLine_ = pointLine_;
  endStart_ = groupStart_;
  pos_ = text_.size();
}

void GridPointFile::reportEnd() const {
  if (!ended()) return;
  std::size_t end = text_.find('\n', endStart_);
  if (end == std::string::npos) end = text_.size();
  while (end > endStart_ && isWhite(text_[end - 1])) --end;
  const int shown = static_cast<int>(end - endStart_ < kShownLine ? end - endStart_ : kShownLine);
  logPrintf("Warning: %s line %ld: '%.*s' ends the points; the rest of the file is ignored\n", name_, endLine_, shown,
            text_.data() + endStart_);
}

template <class T>
T GridPointFile::convert(const char *notA) {
  if (ended()) return T{};
  std::size_t start = 0, end = 0;
  if (!nextField(start, end)) {
    endOrFail(pos_, pos_, "the file ends inside a grid point");
    return T{};
  }
  const char *first = text_.data() + start, *last = text_.data() + end;
  T value{};
  const std::from_chars_result r = std::from_chars(afterPlus(first, last), last, value);
  if (r.ec == std::errc::result_out_of_range) failField(start, end, "is out of range");
  if (r.ec != std::errc() || r.ptr != last) {
    endOrFail(start, end, notA);
    return T{};
  }
  // "nan" and "inf" convert; a level or coordinate must be finite.
  if constexpr (std::is_floating_point_v<T>) {
    if (!std::isfinite(value)) failField(start, end, "is out of range");
  }
  return value;
}

int GridPointFile::integer() { return convert<int>("is not a whole number"); }

int GridPointFile::index() {
  const int value = integer();
  if (value < 1 && !ended()) fail(fieldLine_, "grid index %d, the grid lines are numbered from 1", value);
  return value;
}

double GridPointFile::number() { return convert<double>("is not a number"); }

double GridPointFile::level() {
  const double value = number();
  if (std::fabs(value) > kMaxLevelMagnitude) fail(fieldLine_, "level %g is beyond %g m", value, kMaxLevelMagnitude);
  return value;
}

int GridPointFile::startPoint() {
  atEnd();  // up to the first field
  pointLine_ = line_;
  groupStart_ = pos_;
  return index();
}

void GridPointFile::finishPoint(GridPoint &p) {
  p.j = index();
  p.x = number();
  p.y = number();
  p.bed = level();
  p.surface = level();
}

bool GridPointFile::nextPoint(GridPoint &p) {
  if (atEnd()) return false;
  p.i = startPoint();
  finishPoint(p);
  return !ended();
}

BlockCoverage::BlockCoverage(const GridPointFile &file, int maxI, int maxJ)
    : file_(file), maxI_(maxI), maxJ_(maxJ),
      lineOf_(static_cast<std::size_t>(maxI > 0 ? maxI : 0) * static_cast<std::size_t>(maxJ > 0 ? maxJ : 0), 0) {}

void BlockCoverage::mark(const GridPoint &p) {
  long &seen = lineOf_[static_cast<std::size_t>(p.i - 1) * static_cast<std::size_t>(maxJ_) + (p.j - 1)];
  if (seen != 0) {
    logPrintf("Warning: %s line %ld: grid point %d %d given again (first on line %ld); the later values are kept\n",
              file_.name(), file_.pointLine(), p.i, p.j, seen);
    return;
  }
  seen = file_.pointLine();
  ++given_;
}

void BlockCoverage::requireAll() const {
  if (given_ == static_cast<long>(lineOf_.size())) return;
  for (std::size_t n = 0; n < lineOf_.size(); ++n) {
    if (lineOf_[n] != 0) continue;
    const int i = static_cast<int>(n / static_cast<std::size_t>(maxJ_)) + 1;
    const int j = static_cast<int>(n % static_cast<std::size_t>(maxJ_)) + 1;
    file_.fail(file_.line(), "the file ends after %ld of the %ld grid points of i 1 to %d and j 1 to %d; point %d %d is missing",
               given_, static_cast<long>(lineOf_.size()), maxI_, maxJ_, i, j);
  }
}
