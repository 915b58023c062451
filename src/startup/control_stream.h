// The control stream and its formatted reads. The reader walks "control" one
// byte at a time; data-set handlers read their numbers with scan(), which
// consumes input exactly as the standard formatted read does for the
// directives "%d", "%lf", "%c", "%Ns" and white space: leading white space is
// skipped, the longest valid prefix is taken and one character is pushed back.
// Unlike the standard read, a number that overflows its type or is not finite
// ("nan", "inf", "1e400", "2147483648") is marked, so its data set can refuse it.
#pragma once

#include <cstddef>
#include <cstdio>
#include <span>
#include <string>

#include "base/input_file.h"

class ControlStream {
 public:
  ControlStream() = default;
  explicit ControlStream(std::string text) : text_(std::move(text)) {}

  // Next byte as 0..255, or EOF at the end of the text.
  int get() {
    if (pos_ < text_.size()) {
      lastWasEof_ = false;
      return static_cast<unsigned char>(text_[pos_++]);
    }
    lastWasEof_ = true;
    return EOF;
  }
  // Pushes back the byte last returned by get() (nothing after EOF).
  void unget() {
    if (!lastWasEof_ && pos_ > 0) --pos_;
    lastWasEof_ = true;
  }
  int peek() const { return pos_ < text_.size() ? static_cast<unsigned char>(text_[pos_]) : EOF; }
  bool atEnd() const { return pos_ >= text_.size(); }
  std::size_t position() const { return pos_; }
  // Goes back to a position taken earlier with position().
  void rewind(std::size_t position) {
    pos_ = position < text_.size() ? position : text_.size();
    lastWasEof_ = true;
  }
  std::string_view rest() const { return std::string_view(text_).substr(pos_); }
  std::string_view text() const { return text_; }

 private:
  std::string text_;
  std::size_t pos_ = 0;
  bool lastWasEof_ = true;
};

// One destination of a formatted read.
struct ScanTarget {
  enum Kind : unsigned char { Int, Double, Char } kind;
  void *pointer;
  ScanTarget() : kind(Int), pointer(nullptr) {}
  ScanTarget(int *p) : kind(Int), pointer(p) {}
  ScanTarget(double *p) : kind(Double), pointer(p) {}
  ScanTarget(char *p) : kind(Char), pointer(p) {}
};

struct ScanResult {
  int count = 0;     // items converted; EOF (-1) when the input ended before the first
  bool bad = false;  // a converted number overflowed its type or was not finite
};

// Reads by format into the targets, in order ("%c" and "%Ns" both take a char
// pointer; "%Ns" needs its width and writes at most N characters and a NUL).
ScanResult scanFormat(ControlStream &stream, const char *format, std::span<const ScanTarget> targets);

template <class... T>
ScanResult scan(ControlStream &stream, const char *format, T *...pointers) {
  if constexpr (sizeof...(T) == 0) {
    return scanFormat(stream, format, {});
  } else {
    const ScanTarget targets[] = {ScanTarget(pointers)...};
    return scanFormat(stream, format, targets);
  }
}
