// Allocation of the point tables: coordinates and the visualisation indexes,
// MaxPunkter entries each.
#include "model/points.h"

#include <cstdint>
#include <initializer_list>

#include "model/settings.h"
#include "model/table_allocator.h"

void allocatePointTables(TableAllocator &a) {
  const std::int64_t np = MaxPunkter;
  for (double **t : {&Px, &Py, &Pz}) a.vector(*t, np);
  for (int **t : {&Pc, &Pi, &Pj}) a.vector(*t, np);
}
