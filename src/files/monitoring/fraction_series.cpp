// Bed composition under the T points of "interpol": when the simulated time
// passes a point's time, the mean fractions of each layer of the four
// columns around it go to "interres30", and in a bed of more than two
// layers the mixture of the layers down to 0.3 m to "interres40".
#include "files/monitoring/fraction_series.h"

#include <cmath>
#include <cstdio>

#include "files/monitoring/interpol_points.h"
#include "files/write_check.h"
#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/output_tables.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"

namespace {

int FlagHasOpenedInterres = 0;

std::FILE *openSeries(const char *name) {
  std::FILE *f = std::fopen(name, FlagHasOpenedInterres ? "a" : "w");
  if (!f) endCannotOpen(name);
  return f;
}

// The grid point of block 1 nearest to (x, y), the last line of each
// direction left out; (0, 0) when the block has none.
void nearestGridPoint(double x, double y, int &gi, int &gj) {
  const GridBlock &b = block[1];
  double best = 1e6;
  gi = gj = 0;
  for (int i = b.i1; i < b.i2; ++i) {
    for (int j = b.j1; j < b.j2; ++j) {
      const double d = std::hypot(xval[i][j] - x, yval[i][j] - y);
      if (d < best) {
        best = d;
        gi = i;
        gj = j;
      }
    }
  }
}

double fraction(int layer, int k, int b) { return BSedDistrib && b > 0 ? BSedDistrib[layer][k][b] : 0.0; }

void writePoint(std::FILE *f30, std::FILE *f40, int p) {
  const bool mixtures = NoBedLayers > 2;
  int i, j;
  nearestGridPoint(xint[p], yint[p], i, j);
  std::fprintf(f30, "F %lf %lf %lf sec.  ", xint[p], yint[p], stimet);
  double sums[kMaxGrainSizes + 2] = {};
  double thickness = 0.0;
  bool due = false;
  if (mixtures) {
    std::fprintf(f40, "F %lf %lf %lf sec.  ", xint[p], yint[p], stimet);
    due = true;
  }
  if (!pointbed) return;
  const int cells[4] = {pointbed[i][j], pointbed[i + 1][j], pointbed[i + 1][j + 1], pointbed[i][j + 1]};
  const int top = cells[0] > 0 && BlayerTop ? BlayerTop[cells[0]] : 0;
  double depth = 0.0;
  for (int layer = top; layer >= 1; --layer) {
    double T = 0.0;
    for (int c : cells) T += fraction(layer, 0, c);
    const double middle = depth + 0.125 * T;
    std::fprintf(f30, "%d %lf ", layer, middle);
    for (int k = 1; k <= lnumber; ++k) {
      double f = 0.0;
      for (int c : cells) f += fraction(layer, k, c);
      f *= 0.25;
      std::fprintf(f30, "%lf ", f);
      if (mixtures) sums[k] += f * T;
    }
    thickness += T;
    depth = middle + 0.125 * T;
    std::fputc('\n', f30);
    if (depth > 0.3 && mixtures && due) {
      std::fprintf(f40, "Thick: %lf No_layers: %d Frac: ", depth, top + 1 - layer);
      for (int k = 1; k <= lnumber; ++k) std::fprintf(f40, "%lf ", sums[k] / thickness);
      std::fputc('\n', f40);
      due = false;
    }
  }
}

}  // namespace

void print_fractions() {
  if (NoInterpol == -1) readInterpol();
  if (NoInterpol == -2) return;
  std::FILE *f30 = openSeries("interres30");
  std::FILE *f40 = NoBedLayers > 2 ? openSeries("interres40") : nullptr;
  FlagHasOpenedInterres = 1;
  for (int p = 0; p < NoInterpol; ++p) {
    if (timeFlags[p] != 1 || !(timeint[p] < stimet)) continue;
    timeFlags[p] = 0;
    writePoint(f30, f40, p);
  }
  closeWrittenFile(f30, "interres30");
  if (f40) closeWrittenFile(f40, "interres40");
}
