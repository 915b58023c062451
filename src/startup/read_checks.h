// The checks across data sets that run once "control" has been read: each
// sees the final values of every data set, so the order of the data sets in
// the file does not matter here. The first check that fails ends the run.
#pragma once

#include <span>

// One combination of settings that cannot work, or that deserves a warning.
struct ReadCheck {
  bool (*fails)();               // true when the combination is present
  const char *text;              // logged as it stands, or a format of one %e of value()
  bool ends = false;             // false: a warning, the reading goes on
  int exitCode = 0;              // the end of the run when ends is true
  double (*value)() = nullptr;   // the number of the text, when it has one
};

// Before the structured arrays exist: combinations that cannot work together.
std::span<const ReadCheck> checksBeforeAllocation();

// After the arrays and the title: a companion data set missing, or two that
// exclude each other, and two notes on the sediment settings.
std::span<const ReadCheck> checksAfterAllocation();

// After the default block has been laid: indexes beyond the grid.
std::span<const ReadCheck> checksOnTheGrid();

// Runs the checks in their order: logs each that fails, and ends the process
// at the first failing one that ends the run.
void runReadChecks(std::span<const ReadCheck> checks);

// The grain fractions of distribution 0 (N data sets) must sum to 1 within
// 0.0001; otherwise the run ends with -4.
void checkGrainFractions();
