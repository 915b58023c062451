// Allocation of the nested-border list: MaxNester entries with four coarse
// cells each, only when nested blocks can exist (MaxNester above 0).
#include "model/nests.h"

#include <cstdint>
#include <initializer_list>

#include "model/settings.h"
#include "model/table_allocator.h"

void allocateNestTables(TableAllocator &a) {
  if (!a.when(MaxNester > 0)) return;
  const std::int64_t nn = MaxNester;
  a.matrix(Ncell, nn, 4);
  for (int **t : {&Ninoutwall, &Npflate, &Npcelle, &Npblock}) a.vector(*t, nn);
  a.cube(Nvect, nn, 4, 3);
  a.matrix(Nweight, nn, 4);
  a.vector(Nflux, nn);
}
