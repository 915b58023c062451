// In-process set-up of the sand-slide tests: a plan grid of 1 m squares with
// wet blocks of one cell per column, their cell neighbours linked, the
// non-erodible level far below, and the bed sums the slides must keep.
#pragma once

#include "bed/layers/bed_layer_fixture.h"

class SlideFixture : public BedLayerFixture {
 protected:
  // Allocates the grid (nx x ny lines beyond the columns) with `sizes` grain
  // sizes and `layers` bed layers, F 37 3 when multiLayer, else F 37 2; flat
  // bed at 0 under 5 m of water, plane 3 at -10 m, repose tangent 0.5.
  static void allocateSlideGrid(int sizes, int layers, bool multiLayer, int nx = 8, int ny = 8);

  // A block of wet columns i1..i2, j1..j2 in the sediment work, each of one
  // cell with plan area 1 m2 (armap and Barea) and a bed cell; the cells
  // inside the block are linked to their e, w, n, s neighbours.
  static int wetBlock(int i1, int i2, int j1, int j2);

  // Forgets every block, cell and bed cell, for the next case of a table.
  static void clearBlocks();

  // Links two columns of different blocks as east (i1, j1) and west (i2, j2) neighbours.
  static void linkEastWest(int i1, int j1, int i2, int j2);

  // The bed volume of block n: the sum over its columns of armap times the
  // mean level of the four corners, m3.
  static double bedVolume(int n);

  // The largest excess over the repose tangent times the plan length over
  // the edges of the wet columns of block n, m.
  static double steepestExcess(int n);
};

// The bed cell of column (i, j).
int bedCellAt(int i, int j);
