// In-process set-up of the grid tests: a folder of their own for "boogie"
// and "koosurf", the defaults of every data set, and tables allocated to the
// G 1 sizes and small F 65 capacities that a test chooses.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "support/work_folder.h"

class GridFixture : public WorkFolderTest {
 protected:
  void SetUp() override;

  // Allocates the structured and unstructured tables for "G 1 nx ny nz 1" and
  // room for `capacity` cells, faces and points, `connections` rows of
  // connFlate and `nests` entries of the nested-border list.
  static void allocate(int nx, int ny, int nz, int capacity = 2000, int connections = 1000, int nests = 10);

  // The log so far.
  static std::string boogie() { return readFile("boogie"); }

  // The channel case: G 1 13 7 11 1, its "koosurf" read into block 1.
  static void readChannel();

  // The step case: G 1 5 4 7 1, two columns of 3 and 5 cells in block 1.
  static void readStep();
};

// Fills structured grid lines i0..i1, j0..j1 with 1 m squares at x = i-1,
// y = j-1, bed 0 and the water level given.
void flatGrid(int i0, int i1, int j0, int j1, double surface);

// Appends a grid block with columns i1..i2, j1..j2; returns its number.
int addBlock(int i1, int i2, int j1, int j2);
