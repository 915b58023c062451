// Writing the result file that a later run restarts from. The text form
// keeps nine significant digits of every value and the base grid's counts;
// the binary form is the seven arrays with the current counts, entry 0 first.
#include "files/restart/result_file.h"

#include <cstdio>

#include "files/series_files.h"
#include "files/write_check.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/grid_index.h"
#include "model/points.h"
#include "model/run_state.h"
#include "model/settings.h"

namespace {

constexpr int kResultDigits = 4;

bool binaryResult() { return FlagInterpolVal == 15; }

void writeText(std::FILE *f) {
  std::fprintf(f, "%s %lf seconds\n", "", stimet);
  std::fprintf(f, "Results, iter = %d\n", Iter);
  std::fprintf(f, "Residuals: %lf %lf %lf %lf %lf %lf\n", MaxResidual[1], MaxResidual[2], MaxResidual[3],
               MaxResidual[4], MaxResidual[5], MaxResidual[6]);
  std::fprintf(f, "Roughness : %lf\n", XksWall);
  std::fprintf(f, "U %d %d %d %d %d %d\n", NoPoints, NoCells0, NoSurfaces0, NoBlocks0, NoConnect0, NoConnFlate0);
  std::fprintf(f, " i     u     v     w     k    e     p\n");
  for (int c = 1; c <= NoCells0; ++c) {
    std::fprintf(f, "C %d %14.8e %14.8e %14.8e %14.8e %14.8e %14.8e\n", c, Cxvel[c], Cyvel[c], Czvel[c], Ckinen[c],
                 Cepsilon[c], Cpres[c]);
  }
  for (int s = 1; s <= NoSurfaces0; ++s) std::fprintf(f, "F %d %14.8e\n", s, Fflux[s]);
}

void writeBinary(std::FILE *f) {
  const std::size_t cells = static_cast<std::size_t>(NoCells) + 1;
  for (const double *field : {Cxvel, Cyvel, Czvel, Ckinen, Cepsilon, Cpres}) std::fwrite(field, 8, cells, f);
  std::fwrite(Fflux, 8, static_cast<std::size_t>(NoSurfaces) + 1, f);
}

}  // namespace

ResultFileTarget resultFileTarget() {
  const bool binary = binaryResult();
  if (FlagCrashGrid == 2) return {"result.csh", "result", "w", binary};
  char fixed[64], base[64];
  if (FlagMPI != 0) {
    std::snprintf(fixed, sizeof fixed, "result.mpi%d", FlagMPI);
    std::snprintf(base, sizeof base, "result.mpi%d.", FlagMPI);
  } else {
    std::snprintf(fixed, sizeof fixed, "result.end");
    std::snprintf(base, sizeof base, "result.");
  }
  if (PrintRes != 0 || PrintResAlways != 0) {
    const std::string name = seriesName(base, firstFreeSeriesNumber(base, kResultDigits, ""), kResultDigits, "");
    return {name, name, binary ? "wb" : "w", binary};
  }
  if (binary) return {"resultb", "result", "wb", true};
  return {fixed, fixed, "w", false};
}

void print_result(int) {
  const ResultFileTarget target = resultFileTarget();
  std::FILE *f = std::fopen(target.name.c_str(), target.mode);
  if (!f) endCannotOpen(target.storedName.c_str());
  if (target.binary) {
    writeBinary(f);
  } else {
    writeText(f);
  }
  closeWrittenFile(f, target.name.c_str());
}
