#include "sediment/transport/tiny_grid.h"

#include "model/bed_cells.h"
#include "model/cells.h"
#include "model/faces.h"

void TinyGrid::bind(int *&global, int n) {
  int *saved = global;
  ints_.emplace_back(n + 1, 0);
  global = ints_.back().data();
  restore_.push_back([&global, saved] { global = saved; });
}

void TinyGrid::bind(double *&global, int n) {
  double *saved = global;
  doubles_.emplace_back(n + 1, 0.0);
  global = doubles_.back().data();
  restore_.push_back([&global, saved] { global = saved; });
}

void TinyGrid::bindMatrix(double **&global, int rows, int n) {
  double **saved = global;
  rows_.emplace_back();
  for (int r = 0; r <= rows; ++r) {
    doubles_.emplace_back(n + 1, 0.0);
    rows_.back().push_back(doubles_.back().data());
  }
  global = rows_.back().data();
  restore_.push_back([&global, saved] { global = saved; });
}

TinyGrid::TinyGrid(int cells, int faces, int bedCells, int sizes) {
  doubles_.reserve(256);
  ints_.reserve(64);
  rows_.reserve(16);
  for (int **t : {&Ccellt, &Ccellb, &Ccelle, &Ccellw, &Ccells, &Ccelln, &Cflateb}) bind(*t, cells);
  for (double **t : {&Ckdist, &Ckinen, &Cxvel, &Cyvel, &Cxcenter, &Cycenter, &Cvol, &Croughness}) bind(*t, cells);
  for (int **t : {&Fcell1, &Fcell2, &Ftype1, &Ftype2}) bind(*t, faces);
  for (double **t : {&Fvz, &Farea}) bind(*t, faces);
  for (int **t : {&Bcellt, &BlayerTop}) bind(*t, bedCells);
  for (double **t : {&Bd90, &Bedformheight, &Broughness}) bind(*t, bedCells);
  bindMatrix(Bconc, sizes, bedCells);
  // Layers 0 and 1: thickness (k = 0) and fractions of every size.
  double ***saved = BSedDistrib;
  layers_.emplace_back();
  for (int layer = 0; layer <= 1; ++layer) {
    rows_.emplace_back();
    for (int k = 0; k <= sizes; ++k) {
      doubles_.emplace_back(bedCells + 1, 0.0);
      rows_.back().push_back(doubles_.back().data());
    }
    layers_.back().push_back(rows_.back().data());
  }
  BSedDistrib = layers_.back().data();
  restore_.push_back([saved] { BSedDistrib = saved; });
}

TinyGrid::~TinyGrid() {
  for (auto it = restore_.rbegin(); it != restore_.rend(); ++it) (*it)();
}

void TinyGrid::stack(int lower, int upper) {
  Ccellt[lower] = upper;
  Ccellb[upper] = lower;
}
