// The number scanner of the restart and grid readers: std::from_chars over
// the loaded text, so a grid of a million cells reads without a formatted
// read per number and without an allocation per record.
#include "files/grid_files/record_reader.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "base/input_file.h"
#include "base/exit_codes.h"
#include "base/log.h"

namespace {

bool isWhite(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

}  // namespace

// The whole file is loaded through the engine's input-file gate, which sizes
// the buffer once and checks it against memory before taking it.
bool RecordReader::open(const char *fileName) {
  name_ = fileName;
  pos_ = 0;
  return loadInputFile(fileName, text_) == InputState::Readable;
}

bool RecordReader::openOptional(const char *fileName) {
  name_ = fileName;
  pos_ = 0;
  return readOptionalTextFile(fileName, text_);
}

void RecordReader::useText(const char *fileName, std::string text) {
  name_ = fileName;
  text_ = std::move(text);
  pos_ = 0;
}

void RecordReader::skipWhite() {
  while (pos_ < text_.size() && isWhite(text_[pos_])) ++pos_;
}

bool RecordReader::tryInt(int &value) {
  skipWhite();
  const char *first = text_.data() + pos_;
  const char *last = text_.data() + text_.size();
  if (first != last && *first == '+') ++first;
  const auto [end, error] = std::from_chars(first, last, value);
  if (error == std::errc::invalid_argument) return false;
  if (error != std::errc()) refuse();
  pos_ = static_cast<std::size_t>(end - text_.data());
  return true;
}

bool RecordReader::tryDouble(double &value) {
  skipWhite();
  const char *first = text_.data() + pos_;
  const char *last = text_.data() + text_.size();
  if (first != last && *first == '+') ++first;
  const auto [end, error] = std::from_chars(first, last, value);
  if (error == std::errc::invalid_argument) return false;
  if (error == std::errc::result_out_of_range) {
    // An underflow reads as the nearest tiny value; an overflow is refused.
    const std::string token(first, end);
    value = std::strtod(token.c_str(), nullptr);
  }
  if (!std::isfinite(value)) refuse();
  pos_ = static_cast<std::size_t>(end - text_.data());
  return true;
}

int RecordReader::readInt() {
  int value = 0;
  if (!tryInt(value)) refuse();
  return value;
}

double RecordReader::readDouble() {
  double value = 0.0;
  if (!tryDouble(value)) refuse();
  return value;
}

int RecordReader::readIndex(int low, int high) {
  const int value = readInt();
  if (value < low || value > high) refuse();
  return value;
}

int RecordReader::nextChar() {
  if (pos_ >= text_.size()) return EOF;
  return static_cast<unsigned char>(text_[pos_++]);
}

void RecordReader::skipLine() {
  while (pos_ < text_.size() && text_[pos_] != '\n') ++pos_;
  if (pos_ < text_.size()) ++pos_;
}

void RecordReader::skipBlanks() {
  while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t' || text_[pos_] == '\r')) ++pos_;
}

void RecordReader::refuse() const {
  fatalPrintf(kExitInconsistent, nullptr, "Error reading the '%s' file: %s %d\n", name_.c_str(), section_, record_);
}

void RecordReader::refuseValue(double value, const char *why) const {
  fatalPrintf(kExitInconsistent, nullptr, "Error reading the '%s' file: %s %d, value %g %s\n", name_.c_str(), section_,
              record_, value, why);
}
