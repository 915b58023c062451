// The in-process set-up shared by the bed-layer tests.
#include "bed/layers/bed_layer_fixture.h"

#include "model/allocation.h"
#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"
#include "model/work_ranges.h"

void BedLayerFixture::allocateBed(int sizes, int layers, bool multiLayer, int nx, int ny) {
  xnumber = nx;
  ynumber = ny;
  znumber = 5;
  lnumber = sizes;
  FlagTSC = multiLayer ? 3 : 2;
  FlagBedchangeOption = multiLayer ? 5 : 0;
  NoBedLayers = layers;
  MaxCeller = MaxFlater = MaxPunkter = 2000;
  MaxNester = 10;
  MaxConnFlate = 1000;
  ASSERT_EQ(sialloc(), 0);
  ASSERT_GT(AllocateArrays(1, 1, 1), 0.0);
}

void setStack(int b, std::initializer_list<HandLayer> layers) {
  int layer = 0;
  for (const HandLayer &h : layers) {
    for (int k = 0; k <= lnumber; ++k) BSedDistrib[layer][k][b] = 0.0;
    BSedDistrib[layer][0][b] = h.thickness;
    if (Bsolidfraction) Bsolidfraction[layer][b] = h.solid;
    int k = 1;
    for (double f : h.fractions) BSedDistrib[layer][k++][b] = f;
    ++layer;
  }
  BlayerTop[b] = layer - 1;
  for (int above = layer; above <= NoBedLayers; ++above) {
    for (int k = 0; k <= lnumber; ++k) BSedDistrib[above][k][b] = 0.0;
  }
}

void setTwoLayers(int b, double t0, double t1, std::initializer_list<double> f0, std::initializer_list<double> f1) {
  BSedDistrib[0][0][b] = t0;
  BSedDistrib[1][0][b] = t1;
  int k = 1;
  for (double f : f0) BSedDistrib[0][k++][b] = f;
  k = 1;
  for (double f : f1) BSedDistrib[1][k++][b] = f;
}

void setOneColumn(int b, int c, int f) {
  WBStart = WBEnd = b;
  Bcellt[b] = c;
  Barea[b] = 4.0;
  Cflateb[c] = f;
  Faz[f] = 4.0;
  TimeStep = 10.0;
  SolidFrac = 0.5;
  density = 2.65;
  for (int k = 1; k <= lnumber; ++k) fallvelo[k] = 0.025;
}

double thicknessOf(int b, int layer) { return BSedDistrib[layer][0][b]; }

int addBedColumns(int i1, int i2, int j1, int j2) {
  const int n = addBlock(i1, i2, j1, j2);
  block[n].WorkFlag = 1;
  for (int i = i1; i <= i2; ++i) {
    for (int j = j1; j <= j2; ++j) {
      const int c = ++NoCells, b = ++NoBCells;
      zval[i][j][0] = c;
      Cbed[c] = b;
      Bcellt[b] = c;
      pointbed[i][j] = b;
      Barea[b] = armap[i][j] = 1.0;
      Bkooi[b] = i;
      Bkooj[b] = j;
    }
  }
  return n;
}
