// Single-value reads for the data sets that read their values one at a time
// (counted lists, records that grow per data set): each says whether a value
// was taken that its type can hold, so overflowing or non-finite numbers take
// the data set's refusal like a value out of range.
#pragma once

#include <initializer_list>

#include "startup/control_stream.h"

// Reads one int by format; true when it was converted and fits an int.
inline bool readInt(ControlStream &stream, const char *format, int &value) {
  ScanResult read = scan(stream, format, &value);
  return read.count == 1 && !read.bad;
}

// Reads one double by format; true when it was converted and is finite.
inline bool readDouble(ControlStream &stream, const char *format, double &value) {
  ScanResult read = scan(stream, format, &value);
  return read.count == 1 && !read.bad;
}

// Reads one int by format where the data set keeps the old value when no
// number stands there; false only when a number overflowed.
inline bool readIntOrKeep(ControlStream &stream, const char *format, int &value) {
  return !scan(stream, format, &value).bad;
}

// As readIntOrKeep for a double; false only when the number is not finite.
inline bool readDoubleOrKeep(ControlStream &stream, const char *format, double &value) {
  return !scan(stream, format, &value).bad;
}

// Reads a record by one format into its fields, in order.
inline ScanResult readFields(ControlStream &stream, const char *format, std::initializer_list<ScanTarget> fields) {
  return scanFormat(stream, format, std::span<const ScanTarget>(fields.begin(), fields.size()));
}
