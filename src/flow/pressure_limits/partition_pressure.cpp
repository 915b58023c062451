// Pressure limits of a partitioned run (F 308 with F 316 8): Cpres that rises
// more than one metre of water above a reference column drops to it. The
// exchange routines of the partitions have nothing to do in a single process.
#include "flow/pressure_limits/partition_pressure.h"

#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/settings.h"
#include "model/structured.h"
#include "model/work_ranges.h"

// The reference is the bottom cell of column (i1 of block 1, F 317's row);
// a dry reference column gives no reference and nothing changes.
void limitPressureMPI() {
  if (jPresUp[1] == 0 || NoBlocks < 1) return;
  const int ref = static_cast<int>(zval[block[1].i1][jPresUp[1]][0]);
  if (ref <= 0) return;
  const double pr = Cpres[ref];
  for (int c = WCStart; c <= WCEnd; ++c)
    if (Cpres[c] > pr + 9810.0) Cpres[c] = pr;
}

void pressure_sourceMPI() {}
void pressure_sourceMPI2() {}
void pressure_transferMPI() {}
