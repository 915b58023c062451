// In-process soil layers for the slide tests: a "koosurf" read and the grid
// generated with the layer block of F 236 2 appended, its geometry and bed
// cells ready, as letter N finds them.
#pragma once

#include <string>

#include "grid/grid_fixture.h"

class SlideLayer : public GridFixture {
 protected:
  void SetUp() override;

  // Builds the grid of a plan of ni x nj points from its "koosurf" text;
  // the layer block is block 2.
  static void build(int ni, int nj, const std::string &koosurf);

  // A flat plan of ni x nj points, bed 1.0 m above the non-erodible level 0.
  static void buildFlat(int ni, int nj);

  // The bed cell of the layer column (i, j), j counted in block 1's rows.
  static int column(int i, int j);

  // Marks the layer's columns as failing (free bottom cell) where the
  // pattern, one string per i line, has an 'x', and fixed elsewhere; clears
  // every label.
  static void failing(const char *const *pattern, int lines);

  // The labels of the layer's columns as rows of one character per column:
  // '.' none, else 'a' + the slot of the label in the slide table.
  static std::string labels();
};
