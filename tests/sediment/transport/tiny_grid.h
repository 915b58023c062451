// Hand-built grids for in-process tests: cell, face and bed-cell tables of a
// few entries bound to the engine's globals for one test and put back after.
#pragma once

#include <functional>
#include <vector>

class TinyGrid {
 public:
  TinyGrid(int cells, int faces, int bedCells, int sizes);
  ~TinyGrid();
  TinyGrid(const TinyGrid &) = delete;
  TinyGrid &operator=(const TinyGrid &) = delete;

  // Stacks cell 'upper' on cell 'lower'.
  void stack(int lower, int upper);

 private:
  std::vector<std::function<void()>> restore_;
  std::vector<std::vector<int>> ints_;
  std::vector<std::vector<double>> doubles_;
  std::vector<std::vector<double *>> rows_;
  std::vector<std::vector<double **>> layers_;
  void bind(int *&global, int n);
  void bind(double *&global, int n);
  void bindMatrix(double **&global, int rows, int n);
};
