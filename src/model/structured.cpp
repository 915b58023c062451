// Allocation of the structured arrays: two-dimensional tables of
// (xnumber+2)·(ynumber+2) entries, zval and Surfaces with a third index,
// and the tables that only an option switches on.
#include "model/structured.h"

#include <algorithm>
#include <cstdint>
#include <initializer_list>

#include "model/settings.h"
#include "model/table_allocator.h"

int surfacePlanes() {
  // The layer block of a groundwater run writes planes 5 and 7 even without a
  // slide model, so it gets the eight planes too.
  return (FlagThixo != 0 || FlagMorphStatistics != 0 || FlagGroundwater > 0) ? 8 : 5;
}

void allocateStructuredArrays(TableAllocator &a) {
  const std::int64_t nx = std::int64_t{xnumber} + 2, ny = std::int64_t{ynumber} + 2;
  const std::int64_t nz = std::int64_t{znumber} + 2;
  a.matrix(xval, nx, ny);
  a.matrix(yval, nx, ny);
  a.cube(zval, nx, ny, nz);
  a.matrix(P, nx, ny);
  a.matrix(Q, nx, ny);
  a.cube(Surfaces, surfacePlanes(), nx, ny);
  a.matrix(armap, nx, ny);
  a.matrix(roughness, nx, ny);
  a.matrix(psc, std::max(nx, ny), std::max(ny, nz));
  a.matrix(pointbed, nx, ny);
  a.matrix(bedOutBlock, nx, ny);
  a.matrix(SedSamp, 20, 20);
  if (a.when(UMethod2 > 0)) a.matrix(pointcell, nx, ny);
  a.matrix(pointcell_old, nx, ny);
  if (a.when(FlagCoupledNesting >= 1 || FlagNestTop >= 3)) a.cube(pointnest, nx, ny, 2);
  if (a.when(FlagSmoothNewCorners >= 1)) a.matrix(wetdryCornerFlag, nx, ny);
  if (a.when(BedStatI1 > 0)) {
    const std::int64_t si = std::int64_t{BedStatI2} + 2, sj = std::int64_t{BedStatJ2} + 2;
    for (double ***table : {&bedStatDepth, &bedStatBed, &bedStatDev, &bedStatK}) a.matrix(*table, si, sj);
  }
  if (a.when(MaxNoBagger > 0)) {
    a.cube(baggerZval, MaxNoBagger, nx, ny);
    a.reportedVector(zugabeZval, MaxNoBagger);
    a.matrix(baggerTime, MaxNoBagger, 2);
    a.matrix(zugabeFractions, MaxNoBagger, std::int64_t{lnumber} + 1);
    a.vector(baggerFlags, MaxNoBagger);
    a.cube(baggerAreas, MaxNoBagger, kMaxBaggerAreas, 4);
    a.vector(NoBaggerAreas, MaxNoBagger);
    a.vector(baggerLevels, MaxNoBagger);
    a.vector(baggerApplied, MaxNoBagger);
    a.cube(baggerRest, MaxNoBagger, nx, ny);
    a.matrix(baggerCut, nx, ny);
  }
  if (a.when(PresRegres >= 1)) {
    a.matrix(PresRegresSumPres, nx, ny);
    a.matrix(PresRegresSumXPres, nx, ny);
    a.matrix(PresRegresSumX, nx, ny);
    a.matrix(PresRegresSumXX, nx, ny);
    a.matrix(PresRegresN, nx, ny);
  }
}

void allocateInspaceTables(TableAllocator &a) {
  if (!a.when(InspaceAlloc > 0)) return;
  const std::int64_t levels = std::int64_t{InspaceAlloc} + 2;
  a.cube(Tinspace, levels, 20, 20);
  a.vector(TinspaceTime, levels);
}
