// Writer of the partition grids of run letter A: block 1 is cut at the
// borders of G 27 (or into equal shares) and each piece is written as a
// "koosurf" file of its own, neighbouring pieces sharing one row of columns.
#include "files/grid_files/partition_koosurf.h"

#include <cstdio>

#include "files/write_check.h"
#include "model/blocks_groups.h"
#include "model/settings.h"
#include "model/structured.h"
#include "base/exit_codes.h"
#include "base/log.h"

namespace {

inline constexpr int kExitNoPartitions = -123;
inline constexpr int kMaxPartitions = 999;

// divisionMPI[0..P]: 2, the inner borders, and i2 of block 1.
void setBorders(int partitions, const GridBlock &b) {
  if (divisionMPI[1] == -1 && partitions >= 2) {
    const int share = (b.i2 - b.i1) / partitions;
    for (int k = 1; k < partitions; ++k) divisionMPI[k] = k * share + 1;
  }
  divisionMPI[0] = 2;
  divisionMPI[partitions] = b.i2;
  for (int k = 1; k <= partitions; ++k) {
    if (divisionMPI[k] < divisionMPI[k - 1] || divisionMPI[k] > b.i2) {
      fatalPrintf(kExitInconsistent, nullptr,
                  "Error for G 27 data set: partition border %d of %d lies outside block 1 (i2 = %d)\n", k,
                  divisionMPI[k], b.i2);
    }
  }
}

}  // namespace

void writeMPIkoosurf() {
  const int partitions = FlagMPI;
  if (partitions <= 0) {
    fatalPrintf(kExitNoPartitions, nullptr, "Error writing MPI koosurf files, %d MPI blocks specified\n\n",
                partitions);
  }
  if (partitions > kMaxPartitions || NoBlocks < 1) return;
  const GridBlock &b = block[1];
  setBorders(partitions, b);
  for (int p = 1; p <= partitions; ++p) {
    char name[64];
    std::snprintf(name, sizeof name, "koosurf.mpi%d", p);
    std::FILE *f = std::fopen(name, "w");
    if (!f) return;
    const int first = divisionMPI[p - 1];
    for (int i = first - 1; i <= divisionMPI[p]; ++i) {
      for (int j = b.j1 - 1; j <= b.j2; ++j) {
        std::fprintf(f, "%d %d %lf %lf %lf %lf\n", i - first + 2, j, xval[i][j], yval[i][j], zval[i][j][1],
                     zval[i][j][znumber]);
      }
    }
    closeWrittenFile(f, name);
  }
}
