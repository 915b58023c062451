// Hand wiring of cells and faces for the solver-side tests.
#include "solvers/hand_cells.h"

#include <algorithm>

#include "model/cells.h"
#include "model/faces.h"
#include "model/work_ranges.h"

void setFace(int f, const HandFace &face) {
  Fcell1[f] = face.c1;
  Fcell2[f] = face.c2;
  Ftype1[f] = face.t1;
  Ftype2[f] = face.t2;
  Farea[f] = face.area;
  Fdist1[f] = face.d1;
  Fdist2[f] = face.d2;
  Fflux[f] = face.flux;
  NoSurfaces = std::max(NoSurfaces, f);
  WFStart = 1;
  WFEnd = NoSurfaces;
}

void stackColumn(int first, int n) {
  for (int c = first; c < first + n - 1; ++c) {
    Ccellt[c] = c + 1;
    Ccellb[c + 1] = c;
  }
}

void linkEast(int c, int e) {
  Ccelle[c] = e;
  Ccellw[e] = c;
}

void HandCellsTest::allocateCells(int cells) {
  allocate(6, 6, 6, 200);
  NoCells = cells;
  WCStart = 1;
  WCEnd = cells;
}

void diffusionColumn(int first, int n, double bottom, double top) {
  stackColumn(first, n);
  const int last = first + n - 1;
  for (int c = first; c <= last; ++c) {
    Cat[c] = c < last ? 1.0 : 0.0;
    Cab[c] = c > first ? 1.0 : 0.0;
    Cap[c] = Cat[c] + Cab[c];
    Csource[c] = 0.0;
    Cf[c] = 0.0;
  }
  Cap[first] += 1e30;
  Csource[first] += 1e30 * bottom;
  Cap[last] += 1e30;
  Csource[last] += 1e30 * top;
}
