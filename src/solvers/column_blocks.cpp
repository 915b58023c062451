// Column-block cutter: cuts of equal cell counts moved to the top of their
// water column.
#include "solvers/column_blocks.h"

#include "model/cells.h"

void cutColumnBlocks(int first, int last, int blocks, bool sixteenths, int *bound) {
  const int n = last - first + 1;
  const int delta = blocks > 0 ? n / blocks : 0;
  const double sixteenth = n * 0.0625;
  for (int k = 1; k <= blocks; ++k) {
    int cut = sixteenths ? first - 1 + static_cast<int>(k * sixteenth) : first - 1 + k * delta;
    // The whole way to the column top: a column may hold more cells than
    // znumber, and a split column would be relaxed by two threads at once.
    while (cut > 0 && Ccellt[cut] > 0) ++cut;
    bound[k] = cut;
  }
  bound[0] = first - 1;
  bound[blocks] = last;
}
