// The shapes most F data-set rows share (one value with its count test and a
// bound), and the effects that two data sets have in common.
#pragma once

#include "model/settings.h"
#include "startup/dataset_table.h"

// One integer, refused when not read or below low.
inline DataSetRow intAtLeast(int number, int &var, int defaultValue, int low, const char *message = kMessageSnl) {
  return {.number = number,
          .format = "%d",
          .vars = {{var, static_cast<double>(defaultValue)}},
          .checks = {countAtLeast(1), atLeast(0, low)},
          .message = message};
}

// One double, refused when not read or below low.
inline DataSetRow doubleAtLeast(int number, double &var, double defaultValue, double low,
                                const char *message = kMessageSnl) {
  return {.number = number,
          .format = "%lf",
          .vars = {{var, defaultValue}},
          .checks = {countAtLeast(1), atLeast(0, low)},
          .message = message};
}

// One double, refused when not read or outside low..high.
inline DataSetRow doubleRange(int number, double &var, double defaultValue, double low, double high,
                              const char *message = kMessageSnl) {
  return {.number = number,
          .format = "%lf",
          .vars = {{var, defaultValue}},
          .checks = {countAtLeast(1), range(0, low, high)},
          .message = message};
}

// One integer, refused only when not read.
inline DataSetRow oneInt(int number, int &var, int defaultValue, const char *message = kMessageSnl) {
  return {.number = number,
          .format = "%d",
          .vars = {{var, static_cast<double>(defaultValue)}},
          .checks = {countAtLeast(1)},
          .message = message};
}

// One double, refused only when not read.
inline DataSetRow oneDouble(int number, double &var, double defaultValue, const char *message = kMessageSnl) {
  return {.number = number,
          .format = "%lf",
          .vars = {{var, defaultValue}},
          .checks = {countAtLeast(1)},
          .message = message};
}

// F 247, F 410: the shear modulus E/(2(1+nu)) and the Lame modulus
// E nu/((1-2nu)(1+nu)) of the soil-stress computation.
inline void computeSoilModuli() {
  GModulus = EModulus / (2.0 * (1.0 + PoissonRatio));
  LModulus = EModulus * PoissonRatio / ((1.0 - 2.0 * PoissonRatio) * (1.0 + PoissonRatio));
}
