// Allocation of the grid generator's index arrays of the structured grid,
// the block-connection face list and the line-solver work vectors.
#include "model/grid_index.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <initializer_list>

#include "model/settings.h"
#include "model/table_allocator.h"

void allocateLineSolverVectors(TableAllocator &a) {
  std::int64_t n = std::int64_t{std::max({xnumber, ynumber, znumber})} + 2;
  // The plane correction of F 98 1 chains the j-planes of up to 99 blocks.
  if (BlockMethodFlag == 1) n = std::max(n, 2 + 99 * std::int64_t{ynumber});
  a.vector(Sqt, n);
  a.vector(Spt, n);
}

// The levels of the accelerator (F 168) and of the coarse grids (F 152) share
// num with the cell indexes of a column; the accelerator builds about
// ln(largest side) + 3 levels whatever F 168 says, so it gets room for them.
std::int64_t numDepth() {
  std::int64_t depth = std::int64_t{std::max({znumber, Flag2DAccSolver, MGSNo})} + 2;
  if (Flag2DAccSolver > 0) {
    const double side = std::max(xnumber, ynumber) + 2.0;
    depth = std::max(depth, static_cast<std::int64_t>(std::log(side)) + 5);
  }
  return depth;
}

void allocateGridIndexArrays(TableAllocator &a) {
  const std::int64_t nx = std::int64_t{xnumber} + 2, ny = std::int64_t{ynumber} + 2;
  for (int ***t : {&ant, &antlin, &antmin, &antmax, &vv}) a.matrix(*t, nx, ny);
  a.cube(num, nx, ny, numDepth());
  if (a.when(UMethod == 14 || UMethod == 15)) a.cube(numc, nx, ny, std::int64_t{znumber} + 2);
  if (a.when(UMethod == 9)) {
    for (int ***t : {&crackI, &crackJ, &vn}) a.matrix(*t, nx, ny);
  }
  if (a.when(FlagRemovePonds > 1000)) {
    a.matrix(ridgeI, nx, ny);
    a.matrix(ridgeJ, nx, ny);
  }
  if (a.when(UMethod2 > 0)) {
    for (int ***t : {&antlinT, &antT, &pointint, &intSurfI, &intSurfJ, &intSurfK, &TurbFlag}) a.matrix(*t, nx, ny);
    for (double ***t : {&thickturb, &thickturbIJ, &TurbTop}) a.matrix(*t, nx, ny);
  }
  if (a.when(FlagDuneShearPartCross > 0 || FlagTramel > 0)) a.matrix(bedshear, nx, ny);
}

void allocateConnectionList(TableAllocator &a) { a.matrix(connFlate, MaxConnFlate, 2); }
