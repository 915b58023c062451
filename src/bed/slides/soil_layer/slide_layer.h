// The soil layer that slides, as the slide routines see it: the block, the
// levels of its columns, and the columns of each slide.
#pragma once

// The last (or the first) block marked as the slide layer (LayerMark 1); 0
// when the grid has none.
int slideLayerBlock(bool last);

// Whether the layer block holds more cells than columns, so that the slide
// layer has been split at an earlier sliding surface.
bool layerIsLayered(int blk);

// Top of the column above bottom cell c: Czcenter + Ckdist of its highest
// cell, following the top neighbours while their number exceeds floorCell.
double columnTop(int c, int floorCell = 0);

// Thickness of the column above bottom cell c: the sum of its cell heights.
double columnThickness(int c);

// Holds column b at its sliding surface in the bottom-cell equations: the
// centre coefficient 1e20 swamps every neighbour.
void holdAtSurface(int b);

// Mean over the four corners of column (i, j) of Surfaces plane p.
double meanCornerPlane(int plane, int i, int j);

// Mean over the four corners of column (i, j) of the top level (k = znumber).
double meanCornerTop(int i, int j);

// The columns that carry each label of Bcellth over the bed cells
// first..last, in ascending bed-cell order; rebuilt once per slide location
// so that each slide walks its own columns only.
void listSlideColumns(int first, int last);

struct ColumnList {
  const int *from, *to;
  const int *begin() const { return from; }
  const int *end() const { return to; }
};

// The columns listed for a label; empty for a label not listed. A column may
// have lost its label since the list was built: callers check Bcellth.
ColumnList slideColumns(int label);
