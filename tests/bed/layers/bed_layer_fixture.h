// In-process set-up of the bed-layer tests: a small plan grid whose tables
// are allocated for a chosen number of grain sizes and bed layers, and stacks
// of layers written by hand.
#pragma once

#include <initializer_list>

#include "grid/grid_fixture.h"

// One layer by hand: bulk thickness (m), solid fraction and the grain
// fractions of sizes 1, 2, ...
struct HandLayer {
  double thickness, solid;
  std::initializer_list<double> fractions;
};

class BedLayerFixture : public GridFixture {
 protected:
  // Allocates a grid of nx x ny columns with `sizes` grain sizes and the
  // multi-layer bed (F 37 3) of `layers` layers, or the two-layer bed
  // (F 37 2) when layers is 2 and multiLayer is false.
  static void allocateBed(int sizes, int layers, bool multiLayer = true, int nx = 6, int ny = 6);
};

// Writes the stack of bed cell b, bottom layer first; the top layer is the
// last one given and every layer above it is cleared.
void setStack(int b, std::initializer_list<HandLayer> layers);

// Appends a block of columns i1..i2, j1..j2 in the sediment work (WorkFlag
// 1), each with one cell and one bed cell of 1 m2 numbered after those
// there; returns the block's number.
int addBedColumns(int i1, int i2, int j1, int j2);
// Writes the two-layer bed of bed cell b: thicknesses of the inactive layer
// 0 and the active layer 1 and their grain fractions of sizes 1, 2, ...
void setTwoLayers(int b, double t0, double t1, std::initializer_list<double> f0, std::initializer_list<double> f1);

// The one column of the bed-update tests: bed cell b of 4 m2 over cell c
// with the bottom face f (4 m2), the only bed cell of the work; steps of
// 10 s, solid fraction 0.5, density 2.65 and a fall velocity of 0.025 m/s
// for every size.
void setOneColumn(int b, int c, int f);

// Thickness of layer l of bed cell b.
double thicknessOf(int b, int layer);
