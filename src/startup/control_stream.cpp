// Formatted reads from the control stream, with the consumption rules of the
// standard library's scanf family and a mark for overflowing or non-finite numbers.
#include "startup/control_stream.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>

namespace {

bool isWhite(int c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }
bool isDigit(int c) { return c >= '0' && c <= '9'; }
int lower(int c) { return (c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c; }

void skipWhite(ControlStream &s) {
  int c;
  while ((c = s.get()) != EOF && isWhite(c)) {
  }
  if (c != EOF) s.unget();
}

enum class Outcome { Converted, Mismatch, EndOfInput };

// Skips leading white space and takes an optional sign into text; returns the
// character after them (EOF at the end of the input).
int startNumber(ControlStream &s, std::string &text) {
  skipWhite(s);
  int c = s.get();
  if (c == '+' || c == '-') {
    text.push_back(static_cast<char>(c));
    c = s.get();
  }
  return c;
}

// "%d": optional sign and decimal digits.
Outcome readInt(ControlStream &s, int *out, bool &bad) {
  std::string text;
  int c = startNumber(s, text);
  if (c == EOF && text.empty()) return Outcome::EndOfInput;
  while (c != EOF && isDigit(c)) {
    text.push_back(static_cast<char>(c));
    c = s.get();
  }
  if (c != EOF) s.unget();
  bool hasDigits = !text.empty() && isDigit(text.back());
  if (!hasDigits) return c == EOF && text.empty() ? Outcome::EndOfInput : Outcome::Mismatch;
  errno = 0;
  long long value = std::strtoll(text.c_str(), nullptr, 10);
  if (errno == ERANGE || value > INT_MAX || value < INT_MIN) {
    bad = true;
    value = value > 0 ? INT_MAX : INT_MIN;
  }
  *out = static_cast<int>(value);
  return Outcome::Converted;
}

// Continues a case-insensitive word ("nan", "inf", "infinity") as far as the
// input follows it; returns how many letters matched.
std::size_t followWord(ControlStream &s, std::string &text, const char *word) {
  std::size_t matched = 0;
  for (; word[matched]; ++matched) {
    int c = s.get();
    if (c == EOF) return matched;
    if (lower(c) != word[matched]) {
      s.unget();
      return matched;
    }
    text.push_back(static_cast<char>(c));
  }
  return matched;
}

// "%lf": decimal floating-point number, "nan", "inf" or "infinity".
Outcome readDouble(ControlStream &s, double *out, bool &bad) {
  std::string text;
  int c = startNumber(s, text);
  if (c == EOF && text.empty()) return Outcome::EndOfInput;
  bool complete = false;
  if (c != EOF && (lower(c) == 'n' || lower(c) == 'i')) {
    s.unget();
    const std::size_t wordStart = s.position();
    if (lower(c) == 'n') {
      complete = followWord(s, text, "nan") == 3;
    } else if (followWord(s, text, "inf") == 3) {
      // "inf" is complete; "infinity" only when all of it follows.
      std::size_t more = followWord(s, text, "inity");
      complete = more == 0 || more == 5;
    }
    // A letter that only looked like "nan" or "inf" is given back whole: an
    // optional value followed by an N or I data set must not eat its letter.
    if (!complete) {
      s.rewind(wordStart);
      return Outcome::Mismatch;
    }
  } else {
    bool digits = false;
    while (c != EOF && isDigit(c)) {
      digits = true;
      text.push_back(static_cast<char>(c));
      c = s.get();
    }
    if (c == '.') {
      text.push_back('.');
      c = s.get();
      while (c != EOF && isDigit(c)) {
        digits = true;
        text.push_back(static_cast<char>(c));
        c = s.get();
      }
    }
    complete = digits;
    if (digits && (c == 'e' || c == 'E')) {
      text.push_back(static_cast<char>(c));
      c = s.get();
      if (c == '+' || c == '-') {
        text.push_back(static_cast<char>(c));
        c = s.get();
      }
      bool expDigits = false;
      while (c != EOF && isDigit(c)) {
        expDigits = true;
        text.push_back(static_cast<char>(c));
        c = s.get();
      }
      complete = expDigits;
    }
    if (c != EOF) s.unget();
  }
  if (!complete) return text.empty() && s.atEnd() ? Outcome::EndOfInput : Outcome::Mismatch;
  errno = 0;
  double value = std::strtod(text.c_str(), nullptr);
  if (!std::isfinite(value)) bad = true;
  *out = value;
  return Outcome::Converted;
}

}  // namespace

ScanResult scanFormat(ControlStream &s, const char *format, std::span<const ScanTarget> targets) {
  ScanResult result;
  std::size_t next = 0;
  auto finish = [&](Outcome outcome) {
    if (outcome == Outcome::EndOfInput && result.count == 0) result.count = EOF;
    return result;
  };
  for (const char *f = format; *f; ++f) {
    if (isWhite(static_cast<unsigned char>(*f))) {
      skipWhite(s);
      continue;
    }
    if (*f != '%') {
      int c = s.get();
      if (c == EOF) return finish(Outcome::EndOfInput);
      if (c != static_cast<unsigned char>(*f)) {
        s.unget();
        return result;
      }
      continue;
    }
    ++f;
    int width = 0;
    while (isDigit(static_cast<unsigned char>(*f))) width = width * 10 + (*f++ - '0');
    bool isLong = false;
    if (*f == 'l') {
      isLong = true;
      ++f;
    }
    if (next >= targets.size()) return result;
    const ScanTarget &target = targets[next];
    Outcome outcome = Outcome::Mismatch;
    switch (*f) {
      case 'd':
        outcome = readInt(s, static_cast<int *>(target.pointer), result.bad);
        break;
      case 'f':
      case 'e':
      case 'g':
        if (isLong) outcome = readDouble(s, static_cast<double *>(target.pointer), result.bad);
        break;
      case 'c': {
        int c = s.get();
        if (c == EOF) {
          outcome = Outcome::EndOfInput;
        } else {
          *static_cast<char *>(target.pointer) = static_cast<char>(c);
          outcome = Outcome::Converted;
        }
        break;
      }
      case 's': {
        if (width == 0) return result;  // an unbounded string read would overrun its buffer
        skipWhite(s);
        char *out = static_cast<char *>(target.pointer);
        int taken = 0;
        int c;
        while ((width == 0 || taken < width) && (c = s.get()) != EOF) {
          if (isWhite(c)) {
            s.unget();
            break;
          }
          out[taken++] = static_cast<char>(c);
        }
        out[taken] = '\0';
        outcome = taken > 0 ? Outcome::Converted : Outcome::EndOfInput;
        break;
      }
      default:
        return result;
    }
    if (outcome != Outcome::Converted) return finish(outcome);
    ++result.count;
    ++next;
  }
  return result;
}
