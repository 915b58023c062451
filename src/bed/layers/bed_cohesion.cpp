// Bed cohesion: a start value for every layer (constant, zero under deep
// water, or per column from "cohesion"), then per step the top layer's value
// by the erosion depth below the original bed, the water depth, or how much
// fresh sediment lies on the lowest level the bed reached.
#include "bed/layers/bed_cohesion.h"

#include <algorithm>
#include <vector>

#include "files/grid_files/record_reader.h"
#include "grid/plan_grid/corner_means.h"
#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/settings.h"
#include "model/structured.h"

namespace {

// The mean over the four corners of column (i, j) of level k of zval.
// The mean lowering of the corners below the original bed, at least 0.
double erosionDepth(int i, int j) {
  double sum = 0.0;
  for (int p : {i, i - 1}) {
    for (int q : {j, j - 1}) sum += Surfaces[0][p][q] - zval[p][q][1];
  }
  return std::max(sum / 4.0, 0.0);
}

double smallestCornerDepth(int i, int j) {
  double smallest = 1e30;
  for (int p : {i, i - 1}) {
    for (int q : {j, j - 1}) smallest = std::min(smallest, zval[p][q][znumber] - zval[p][q][1]);
  }
  return smallest;
}

void setAllLayers(int b, double value) {
  for (int layer = 0; layer < NoBedLayers; ++layer) Bcohesion[layer][b] = value;
}

// The records of "cohesion": i, j, the cohesion of layer 1, of layer 0 and,
// with more than two layers, of layers 2 and up. A record that does not
// parse to its end ends the reading unused. Returns the records taken; -1
// when the file cannot be opened.
int readCohesionFile() {
  RecordReader in;
  if (!in.open("cohesion")) return -1;
  const long limit = (static_cast<long>(xnumber) + 2) * (static_cast<long>(ynumber) + 2);
  std::vector<double> values(static_cast<std::size_t>(std::max(NoBedLayers, 2)));
  int records = 0;
  for (;;) {
    in.at("record", records + 1);
    int i = 0, j = 0;
    if (!in.tryInt(i) || !in.tryInt(j)) break;
    bool complete = true;
    for (double &value : values) {
      if (!in.tryDouble(value)) {
        complete = false;
        break;
      }
    }
    if (!complete) break;
    ++records;
    // Records of columns outside the grid or without a bed cell are passed over.
    const int b = i >= 1 && i <= xnumber && j >= 1 && j <= ynumber ? pointbed[i][j] : 0;
    if (b > 0) {
      Bcohesion[1][b] = values[0];
      Bcohesion[0][b] = values[1];
      for (int layer = 2; layer < NoBedLayers; ++layer) Bcohesion[layer][b] = values[static_cast<std::size_t>(layer)];
    }
    if (records > limit) break;
  }
  return records;
}

// The rule of F 385 for the target layer t of column (i, j) with bed cell b.
void applyRule(int i, int j, int b, int t) {
  double &value = Bcohesion[t][b];
  const double zb = cornerMean(i, j, 1);
  switch (FlagCohesion) {
    case 3:
      if (smallestCornerDepth(i, j) > 2.0 * MinVertDist1) value = 0.0;
      break;
    case 4:
      if (erosionDepth(i, j) > 4.0 * MinVertDist1) value = 0.0;
      break;
    case 5: {
      BcohesionLevel[b] = std::min(BcohesionLevel[b], zb);
      const double d = zb - BcohesionLevel[b];
      if (d > MinVertDist0) value = 0.0;
      else if (d >= 1e-10) value = (MinVertDist0 - d) * InitValueCohesion / MinVertDist0;
      else value = InitValueCohesion;
      break;
    }
    case 6: {
      const double d = zb - BcohesionLevel[b];
      BcohesionLevel[b] = std::min(BcohesionLevel[b], zb);
      value = d > 0.01 * MinVertDist1 ? 0.0 : InitValueCohesion;
      break;
    }
    case 7: {
      value = zb - BcohesionLevel[b] > 0.1 * MinVertDist0 ? 0.0 : InitValueCohesion;
      const int c = Bcellt[b];
      if (c > 0 && Ccelle[c] > 0 && Ccelln[c] > 0 && Ccellw[c] > 0 && Ccells[c] > 0) {
        BcohesionLevel[b] = std::min(BcohesionLevel[b], zb);
      }
      break;
    }
    default: break;
  }
}

}  // namespace

double cohesionAtDepth(double e) {
  const int last = NoCohesiveDepth - 1;
  if (e < cohesiveDepth[0]) return cohesiveArr[0];
  if (e >= cohesiveDepth[last]) return cohesiveArr[last];
  int k = 0;
  while (k + 1 < last && !(e < cohesiveDepth[k + 1])) ++k;
  const double w = (cohesiveDepth[k + 1] - e) / (cohesiveDepth[k + 1] - cohesiveDepth[k]);
  return w * cohesiveArr[k] + (1.0 - w) * cohesiveArr[k + 1];
}

int setInitialCohesive() {
  if (FlagCohesion == 0) return 0;
  for (int n = 1; n <= NoBlocks; ++n) {
    const GridBlock &g = block[n];
    if (g.BlockKind != 0 || g.GridLevel != 0) continue;
    for (int i = g.i1; i <= g.i2; ++i) {
      for (int j = g.j1; j <= g.j2; ++j) {
        const int b = pointbed[i][j];
        if (b <= 0) continue;
        double value = InitValueCohesion;
        if (FlagCohesion == 4 && cornerMean(i, j, znumber) - cornerMean(i, j, 1) > MinVertDist0) value = 0.0;
        setAllLayers(b, value);
      }
    }
  }
  if (FlagCohesion != 2) return FlagCohesion;
  return readCohesionFile() < 1 ? -20 : FlagCohesion;
}

void computeCohesion() {
  if (NoBlocks < 1) return;
  const GridBlock &g = block[1];
  for (int i = g.i1; i <= g.i2; ++i) {
    for (int j = g.j1; j <= g.j2; ++j) {
      const int b = pointbed[i][j];
      if (!(zval[i][j][0] > 0.0) || b <= 0) continue;
      const int t = NoBedLayers == 2 && FlagTSC != 3 ? 1 : BlayerTop[b];
      if (t < 0) continue;
      if (NoCohesiveDepth >= 1) {
        Bcohesion[t][b] = cohesionAtDepth(erosionDepth(i, j));
      } else {
        applyRule(i, j, b, t);
      }
    }
  }
}
