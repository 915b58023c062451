// The in-process soil layers of the slide tests.
#include "bed/slides/soil_layer/slide_layer_fixture.h"

#include <sstream>

#include "grid/grid_services.h"
#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/settings.h"
#include "model/structured.h"
#include "support/work_folder.h"

void SlideLayer::SetUp() {
  GridFixture::SetUp();
  FlagThixo = 2;
  FlagSoilStress = 2;
  ThixoMySlope = 0.8;
}

void SlideLayer::build(int ni, int nj, const std::string &koosurf) {
  // The layer's rows follow block 1's rows in the structured arrays.
  allocate(ni + 3, 2 * nj + 3, 8, 4000);
  writeFile("koosurf", koosurf);
  readKoosurf();
  endOnGridFailure(Unstructure());
  metric();
  BedMake();
}

void SlideLayer::buildFlat(int ni, int nj) {
  std::ostringstream out;
  for (int i = 1; i <= ni; ++i) {
    for (int j = 1; j <= nj; ++j) out << i << ' ' << j << ' ' << i - 1 << ' ' << j - 1 << " 1.0 5.0\n";
  }
  build(ni, nj, out.str());
}

int SlideLayer::column(int i, int j) {
  const GridBlock &b = block[2];
  return pointbed[i][j - block[1].j1 + b.j1];
}

void SlideLayer::failing(const char *const *pattern, int lines) {
  const GridBlock &g = block[2];
  for (int b = g.FirstBedCell; b <= g.LastBedCell; ++b) {
    Bcellth[b] = 0;
    if (Bcellt[b] > 0) Cap[Bcellt[b]] = 1e20;
  }
  for (int l = 0; l < lines; ++l) {
    for (int k = 0; pattern[l][k] != '\0'; ++k) {
      if (pattern[l][k] == 'x') Cap[Bcellt[column(g.i1 + l, block[1].j1 + k)]] = 1.0;
    }
  }
}

std::string SlideLayer::labels() {
  const GridBlock &g = block[2];
  std::string rows;
  for (int i = g.i1; i <= g.i2; ++i) {
    for (int j = g.j1; j <= g.j2; ++j) {
      const int l = Bcellth[pointbed[i][j]];
      char mark = '.';
      for (int s = 0; l > 0 && s < kMaxSlideRegions - 1 && BVal[s] != 0; ++s) {
        if (BVal[s] == l) mark = static_cast<char>('a' + s);
      }
      if (l > 0 && mark == '.') mark = '?';
      rows += mark;
    }
    rows += '\n';
  }
  return rows;
}
