// Hand-built grids for the flow-stage tests.
#include "flow/flow_grids.h"

#include <gtest/gtest.h>

#include "grid/grid_services.h"
#include "model/cells.h"
#include "model/settings.h"
#include "model/structured.h"

void buildFlowGrid(CaseGrid grid) {
  buildCaseByHand(grid);
  if (::testing::Test::HasFatalFailure()) return;
  metric();
  BedMake();
}

void buildSlopedChannel(double slope) {
  readCaseGrid("channel");
  if (::testing::Test::HasFatalFailure()) return;
  for (int i = 1; i <= xnumber; ++i)
    for (int j = 1; j <= ynumber; ++j) zval[i][j][1] = slope * xval[i][j];
  uniformLevels(1, 10);
  setColumnCells(1, 9);
  buildBlocks();
  metric();
  BedMake();
}

void fillField(double *field, const std::function<double(double, double, double)> &value) {
  for (int c = 1; c <= NoCells; ++c) field[c] = value(Cxcenter[c], Cycenter[c], Czcenter[c]);
}

int cellAt(int i, int j, int k) {
  int c = zval[i + 1][j + 1][0];
  for (int m = 1; m < k; ++m) c = Ccellt[c];
  return c;
}
