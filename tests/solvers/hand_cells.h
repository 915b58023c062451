// Cells and faces wired by hand for the coefficient, solver and pressure
// tests: the tables allocated small, then each link set as a test needs it.
#pragma once

#include "grid/grid_fixture.h"

// One face: its two cells, their side codes, area, centre distances, flux.
struct HandFace {
  int c1, c2, t1, t2;
  double area, d1, d2, flux;
};

// Face f takes the record; NoSurfaces grows to cover it.
void setFace(int f, const HandFace &face);

// Cells first..first+n-1 stacked into one column (bottom to top), each
// with its top face linked to the next cell's bottom.
void stackColumn(int first, int n);

// Cells first..first+n-1 as one column with unit diffusion between
// neighbours, the bottom fixed at `bottom` and the top at `top` (weight 1e30).
void diffusionColumn(int first, int n, double bottom, double top);

// Cell e becomes the east neighbour of cell c.
void linkEast(int c, int e);

// The tables allocated for up to 200 cells and faces, with every cell
// 1..cells in use and a work range over them.
class HandCellsTest : public GridFixture {
 protected:
  static void allocateCells(int cells);
};
