// The data sets of "control" as data: one row per data set with its format,
// variables, defaults, checks in the order they are made, message and effect.
// One generic routine reads and checks a row; composite data sets give a
// handler of their own, still keeping their defaults in the row.
#pragma once

#include <initializer_list>
#include <span>
#include <vector>

#include "base/exit_codes.h"
#include "startup/control_stream.h"

// A variable that a data set sets, with its default.
struct DataSetVar {
  ScanTarget target;
  double defaultValue;  // chars store their character code
  DataSetVar(int &v, double d) : target(&v), defaultValue(d) {}
  DataSetVar(double &v, double d) : target(&v), defaultValue(d) {}
  DataSetVar(char &v, double d) : target(&v), defaultValue(d) {}
  double value() const;
  void setDefault() const;
};

// One acceptance test. Tests name a variable by its position in the row.
struct DataSetCheck {
  enum Op : unsigned char { Range, AtLeast, Above, AtMost, Below, AbsAtMost, OneOf, Count, Rule } op;
  int var = 0;                     // variable position (Count: the items needed)
  double low = 0, high = 0;        // bounds as the op uses them
  const char *letters = nullptr;   // OneOf: the accepted characters
  bool (*rule)() = nullptr;        // Rule: true when accepted
  const char *message = nullptr;   // nullptr: the row's message
  int exitCode = 0;                // 0: the row's exit code
};

// Check builders, in the words of the data-set tables.
inline DataSetCheck range(int var, double low, double high, const char *message = nullptr) {
  return {DataSetCheck::Range, var, low, high, nullptr, nullptr, message, 0};
}
inline DataSetCheck atLeast(int var, double low, const char *message = nullptr) {
  return {DataSetCheck::AtLeast, var, low, 0, nullptr, nullptr, message, 0};
}
inline DataSetCheck above(int var, double low, const char *message = nullptr) {
  return {DataSetCheck::Above, var, low, 0, nullptr, nullptr, message, 0};
}
inline DataSetCheck atMost(int var, double high, const char *message = nullptr) {
  return {DataSetCheck::AtMost, var, 0, high, nullptr, nullptr, message, 0};
}
inline DataSetCheck below(int var, double high, const char *message = nullptr) {
  return {DataSetCheck::Below, var, 0, high, nullptr, nullptr, message, 0};
}
inline DataSetCheck absAtMost(int var, double high, const char *message = nullptr) {
  return {DataSetCheck::AbsAtMost, var, 0, high, nullptr, nullptr, message, 0};
}
inline DataSetCheck oneOf(int var, const char *letters, const char *message = nullptr) {
  return {DataSetCheck::OneOf, var, 0, 0, letters, nullptr, message, 0};
}
// The read must have converted at least n items ("%d" in the message: the count).
inline DataSetCheck countAtLeast(int n, const char *message = nullptr) {
  return {DataSetCheck::Count, n, 0, 0, nullptr, nullptr, message, 0};
}
inline DataSetCheck rule(bool (*accepted)(), const char *message = nullptr, int exitCode = 0) {
  return {DataSetCheck::Rule, 0, 0, 0, nullptr, accepted, message, exitCode};
}

// Message markers: S is "Error for F <n> in control" without a line end,
// S+nl the same with "\n"; any other text is written as it stands.
inline constexpr const char *kMessageS = nullptr;
extern const char kMessageSnl[];

using DataSetHandler = void (*)(ControlStream &stream);

struct DataSetRow {
  int number = 0;
  const char *format = nullptr;             // the formatted read of a generic row
  std::vector<DataSetVar> vars = {};        // in the order of the conversions
  std::vector<DataSetCheck> checks = {};    // in the order the handler makes them
  const char *message = kMessageS;          // the row's message on rejection
  int exitCode = kExitInputError;           // exit code of a rejection
  void (*effect)() = nullptr;               // what the row does after its checks pass
  void (*defaults)() = nullptr;             // extra defaults (arrays, records)
  DataSetHandler handler = nullptr;         // a composite data set's own reader
  signed char storesCount = -1;             // -1: when the row has a Count check
};

// The letter whose data sets a table holds ('F', 'G', 'K', 'P', 'W').
struct DataSetTable {
  char letter;
  int lowest, highest;  // numbers dispatched
  std::vector<const DataSetRow *> rows;  // by number, nullptr where no handler
};

// The shared data-set number of F, G, K, P, W and the first integer of H, M, Q;
// F handlers store their item counts in it too.
inline int DataSetNumber;

// Reads a generic row from the stream, checks it and applies its effect; a
// refused value ends the process with the row's message and exit code.
void readDataSetRow(ControlStream &stream, const DataSetRow &row);

// Refuses a data set: writes the text to the log and ends with the code.
[[noreturn]] void refuseDataSet(const DataSetRow &row, const char *message, int exitCode, int count);

// Sets the defaults of every row of a list.
void setRowDefaults(std::span<const DataSetRow> rows);
