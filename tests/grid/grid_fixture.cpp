// The in-process set-up shared by the grid tests.
#include "grid/grid_fixture.h"

#include "grid/grid_services.h"
#include "model/allocation.h"
#include "model/blocks_groups.h"
#include "model/settings.h"
#include "model/structured.h"
#include "startup/control_reader.h"
#include "support/run_case.h"

void GridFixture::SetUp() {
  WorkFolderTest::SetUp();
  kreadDefaults();
}

void GridFixture::allocate(int nx, int ny, int nz, int capacity, int connections, int nests) {
  xnumber = nx;
  ynumber = ny;
  znumber = nz;
  lnumber = 1;
  MaxCeller = MaxFlater = MaxPunkter = capacity;
  MaxNester = nests;
  MaxConnFlate = connections;
  ASSERT_EQ(sialloc(), 0);
  ASSERT_GT(AllocateArrays(1, 1, 1), 0.0);
}


void GridFixture::readChannel() {
  allocate(13, 7, 11);
  writeFile("koosurf", caseFile("channel", "koosurf"));
  readKoosurf();
}

void GridFixture::readStep() {
  allocate(5, 4, 7);
  writeFile("koosurf", caseFile("step", "koosurf"));
  readKoosurf();
}

void flatGrid(int i0, int i1, int j0, int j1, double surface) {
  for (int i = i0; i <= i1; ++i) {
    for (int j = j0; j <= j1; ++j) {
      xval[i][j] = i - 1;
      yval[i][j] = j - 1;
      zval[i][j][1] = 0.0;
      zval[i][j][znumber] = surface;
    }
  }
}

int addBlock(int i1, int i2, int j1, int j2) {
  GridBlock &b = block[++NoBlocks];
  b = GridBlock{};
  b.i1 = i1;
  b.i2 = i2;
  b.j1 = j1;
  b.j2 = j2;
  b.k1 = 1;
  b.k2 = znumber;
  return NoBlocks;
}
