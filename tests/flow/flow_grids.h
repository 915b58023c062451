// Hand-built grids with their geometry for the flow-stage tests, and small
// helpers to fill fields and read sources.
#pragma once

#include <functional>

#include "grid/column_grid.h"

// The case grid built by hand, with its geometry and bed-cell index.
void buildFlowGrid(CaseGrid grid);
// The channel (12 x 6 columns of nine cells) with its bed raised by `slope`
// metres per metre along x and the water surface left flat.
void buildSlopedChannel(double slope);
// Cells 0..NoCells of a field set from the cell centre.
void fillField(double *field, const std::function<double(double x, double y, double z)> &value);
// The first cell of column (i, j) counted from 1 along x and y, and the cell
// k of it counted from the bed.
int cellAt(int i, int j, int k = 1);
