// In-process set-up of the sediment-transport tests: the channel case (10 x 4
// columns of nine cells, 1 m squares, 1 m deep) generated with one grain of
// 0.2 mm, and helpers to reach its columns.
#pragma once

#include <string>

#include "support/work_folder.h"

class SedimentChannel : public WorkFolderTest {
 protected:
  // Every default, then the channel's control with the data sets given.
  static void load(const std::string &extraControl = "");
};

// The bottom cell of column (i, j) and the cell m levels above it.
int bottomOf(int i, int j);
int cellAbove(int c, int m);
