// Writer and reader of the bed-fraction restart file: one line per column
// with the thickness and grain fractions of its layers, in the two-layer
// layout, the multi-layer layout of F 37 3, or (read only) the fractions
// alone of F 443 1. Also the tracer fraction printed by the views.
#include "files/restart/fraction_restart_files.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "files/grid_files/record_reader.h"
#include "files/series_files.h"
#include "files/write_check.h"
#include "grid/grid_services.h"
#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/status.h"
#include "model/structured.h"
#include "base/exit_codes.h"
#include "base/log.h"
#include "startup/operations.h"

namespace {

constexpr int kFracresDigits = 5;

bool twoLayerLayout() { return FlagTSC < 3 || NoBedLayers == 2; }

void writeLayer(std::FILE *f, int layer, int b) {
  for (int k = 0; k <= lnumber; ++k) std::fprintf(f, " %lf", BSedDistrib[layer][k][b]);
}

double fractionSum(int layer, int b) {
  double sum = 0.0;
  for (int k = 1; k <= lnumber; ++k) sum += BSedDistrib[layer][k][b];
  return sum;
}

[[noreturn]] void badSum(int i, int j, int layer, double sum) {
  if (layer < 0) {
    logPrintf("Error in fracres, i=%d,j=%d, sum of fractions = %lf\n", i, j, sum);
  } else {
    logPrintf("Error in fracres, i=%d,j=%d, layer %d, sum of fractions = %lf\n", i, j, layer, sum);
  }
  fatalExit(kExitCannotOpen, nullptr);
}

bool sumAccepted(double sum) { return sum >= 0.999 && sum <= 1.001; }

// One fraction must lie in 0..1 within the tolerance of the sum: fractions of
// 200 and -199 sum to 1 but put 200 times the layer's grain into one size.
void checkFraction(int i, int j, int k, double fraction) {
  if (fraction >= -0.001 && fraction <= 1.001) return;
  fatalPrintf(kExitCannotOpen, nullptr, "Error in fracres, i=%d,j=%d, fraction of size %d = %lf\n", i, j, k, fraction);
}

void checkFractions(int i, int j, int layer, int b) {
  for (int k = 1; k <= lnumber; ++k) checkFraction(i, j, k, BSedDistrib[layer][k][b]);
}

void readLayer(RecordReader &in, int layer, int b) {
  for (int k = 0; k <= lnumber; ++k) BSedDistrib[layer][k][b] = in.readDouble();
}

// The thicknesses of layers 1 and 0 from the movable depth of the column
// (bed level above the limit level, means of its four corners).
void layersFromMovableDepth(int i, int j, int b) {
  const int ci[4] = {i, i - 1, i, i - 1}, cj[4] = {j, j, j - 1, j - 1};
  double bed = 0.0, limit = 0.0;
  for (int k = 0; k < 4; ++k) {
    bed += zval[ci[k]][cj[k]][1];
    limit += Surfaces[3][ci[k]][cj[k]];
  }
  const double d = 0.25 * (bed - limit);
  double top = TopThickness;
  if (top <= 0.0) {
    top = 0.0;
    for (int k = 1; k <= lnumber; ++k) top = std::max(top, gsize[k]);
  }
  if (d > 0.0) {
    BSedDistrib[1][0][b] = std::min(d, top);
    BSedDistrib[0][0][b] = std::max(d - BSedDistrib[1][0][b], 0.0);
  } else {
    BSedDistrib[1][0][b] = 0.0;
    BSedDistrib[0][0][b] = 0.0;
  }
}

// Version 1: the fractions alone, scaled to sum 1 and given to every layer.
void readFractionsOnly(RecordReader &in, int i, int j, int b, std::vector<double> &means) {
  double sum = 0.0;
  for (int k = 1; k <= lnumber; ++k) {
    const double value = in.readDouble();
    if (b > 0) {
      checkFraction(i, j, k, value);
      BSedDistrib[0][k][b] = value;
    }
    sum += value;
  }
  if (b <= 0) return;
  if (std::fabs(sum - 1.0) > 0.0001) badSum(i, j, -1, sum);
  for (int k = 1; k <= lnumber; ++k) {
    BSedDistrib[0][k][b] /= sum;
    for (int layer = NoBedLayers - 1; layer >= 1; --layer) BSedDistrib[layer][k][b] = BSedDistrib[0][k][b];
    means[k] += BSedDistrib[0][k][b];
  }
  if (FlagTSC == 2 && NoBedLayers >= 2) layersFromMovableDepth(i, j, b);
}

// Values of a line whose column has no bed cell are read and dropped.
void skipValues(RecordReader &in, int count) {
  for (int n = 0; n < count; ++n) in.readDouble();
}

}  // namespace

void print_fracres(int) {
  char fixed[64], base[64];
  const char *suffix = ".new";
  if (FlagMPI != 0) {
    std::snprintf(fixed, sizeof fixed, "fracres.mpi%d.new", FlagMPI);
    std::snprintf(base, sizeof base, "fracres.mpi%d.", FlagMPI);
  } else {
    std::snprintf(fixed, sizeof fixed, "fracres.new");
    std::snprintf(base, sizeof base, "fracres_");
  }
  std::string name;
  std::FILE *f = openSeriesFile(PrintRes != 0 || PrintResAlways != 0, fixed, base, kFracresDigits, suffix, "w", name);
  if (!f) endCannotOpen(name.c_str());
  const bool twoLayers = twoLayerLayout();
  for (int n = 1; n <= NoBlocks; ++n) {
    const GridBlock &blk = block[n];
    for (int i = blk.i1; i <= blk.i2; ++i) {
      for (int j = blk.j1; j <= blk.j2; ++j) {
        const int b = pointbed[i][j];
        std::fprintf(f, "%d %d", i, j);
        if (twoLayers) {
          writeLayer(f, 1, b);
          writeLayer(f, 0, b);
        } else {
          for (int layer = NoBedLayers - 1; layer >= 0; --layer) writeLayer(f, layer, b);
        }
        std::fputc('\n', f);
      }
    }
  }
  closeWrittenFile(f, name.c_str());
}

int readFracres() {
  char name[64] = "fracres";
  if (FlagMPI != 0) std::snprintf(name, sizeof name, "fracres.mpi%d", FlagMPI);
  RecordReader in;
  if (!in.openOptional(name)) {
    char message[kStatusTextLength];
    std::snprintf(message, sizeof message, "cannot open file %s ", name);
    setStatus(mc_message, message);
    return 2;
  }
  if (NoBCells == 0) operations.BedMake();
  const bool versionOne = FlagFracresVersion == 1;
  const bool twoLayers = twoLayerLayout();
  std::vector<double> means(static_cast<std::size_t>(lnumber) + 1, 0.0);
  const long long lastLine = 20LL * xnumber * ynumber;
  int lines = 0;
  for (long long line = 1; line <= lastLine; ++line) {
    in.at("line", static_cast<int>(line));
    int i, j;
    if (!in.tryInt(i) || !in.tryInt(j)) break;
    if (i > xnumber + 1 || j > ynumber + 1) return 88;
    if (i < 1 || j < 1) in.refuse();
    const int b = pointbed[i][j];
    ++lines;
    if (versionOne) {
      readFractionsOnly(in, i, j, b, means);
    } else if (b <= 0) {
      skipValues(in, (twoLayers ? 2 : NoBedLayers) * (lnumber + 1));
    } else if (twoLayers) {
      readLayer(in, 1, b);
      readLayer(in, 0, b);
      for (int layer : {1, 0}) {
        checkFractions(i, j, layer, b);
        const double sum = fractionSum(layer, b);
        if (!sumAccepted(sum)) badSum(i, j, -1, sum);
      }
    } else {
      for (int layer = NoBedLayers - 1; layer >= 0; --layer) readLayer(in, layer, b);
      for (int layer = NoBedLayers - 1; layer >= 0; --layer) {
        checkFractions(i, j, layer, b);
        const double sum = fractionSum(layer, b);
        if (!sumAccepted(sum)) badSum(i, j, layer, sum);
      }
    }
  }
  FlagReadFracres = 1;
  if (versionOne && lines > 0 && debugging == 'D') {
    logText("Computed grain size distribution from fracres file: \n");
    for (int k = 1; k <= lnumber; ++k) logPrintf("%d %lf %lf\n", k, gsize[k], means[k] / lines);
  }
  return 0;
}

void make_Bfractionsprint() {
  if (FlagFractionsPrint == 0 || !Bfractionsprint || !BlayerTop) return;
  static const std::vector<int> kTracers10{3, 5, 7, 9}, kTracers14{3, 4, 6, 7, 9, 10, 12, 13},
      kTracers18{2, 4, 5, 6, 8, 9, 10, 12, 13, 14, 16, 17}, kTracers22{3, 5, 7, 9, 11, 13, 15, 17, 19, 21};
  const std::vector<int> *tracers = nullptr;
  switch (lnumber) {
    case 10: tracers = &kTracers10; break;
    case 14: tracers = &kTracers14; break;
    case 18: tracers = &kTracers18; break;
    case 22: tracers = &kTracers22; break;
    default: return;
  }
  for (int b = 1; b <= NoBCells; ++b) {
    if (BlayerTop[b] < 0) {
      Bfractionsprint[b] = 0.0;
      continue;
    }
    double height = 0.0, share = 0.0;
    for (int layer = std::min(BlayerTop[b], NoBedLayers); layer >= 0; --layer) {
      const double thickness = BSedDistrib[layer][0][b];
      double fractions = 0.0;
      for (int k : *tracers) fractions += BSedDistrib[layer][k][b];
      height += thickness;
      share += fractions * thickness;
      if (height > depthTracer) break;
    }
    Bfractionsprint[b] = share / (height + 1e-20);
  }
}
