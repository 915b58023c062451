// Allocation of the face tables: the int and double face arrays of MaxFlater
// entries, and the shallow-water fluxes only with F 311.
#include "model/faces.h"

#include <cstdint>
#include <initializer_list>

#include "model/settings.h"
#include "model/table_allocator.h"

void allocateFaceTables(TableAllocator &a) {
  const std::int64_t nf = MaxFlater;
  for (int **t : {&Fcell1, &Fcell2, &Fcell11, &Fcell22, &Ftype1, &Ftype2, &Fflagflow, &Fpoint1, &Fpoint2, &Fpoint3,
                  &Fpoint4, &Fin, &Fqndum}) {
    a.vector(*t, nf);
  }
  for (double **t : {&Fflux, &Fdgrad, &Fdz, &Farea, &Fdist1, &Fdist2, &Fax, &Fay, &Faz, &Fvx, &Fvy, &Fvz}) {
    a.vector(*t, nf);
  }
  if (a.when(FlagShallowWater > 0)) {
    a.matrix(FF, 4, nf);
    a.matrix(FG, 4, nf);
  }
}
