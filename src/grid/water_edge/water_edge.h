// What the collapse variants at the water edge share: the columns around a
// wet column, the minimum depth of the collapse and the two ways of setting
// the levels of a reshaped corner line.
#pragma once

// The eight surrounding columns of a wet column, as bottom or side cells, 0 dry.
struct Around {
  int s, e, n, w, sw, se, ne, nw;
};

// From the cell links of the column's top cell (TopBed 1) or bottom cell b.
Around aroundFromLinks(int b);

// From the bottom-cell numbers of the columns around (i, j).
Around aroundFromGrid(int i, int j);

// The minimum depth dmin of the collapse, by F 102.
double collapseDepth();

// The cells above the bottom cell b get zero height at corner k: every upper
// point of the corner line at level top, the bottom point at least top - dmin.
void collapseCornerLevels(int b, int k, double top, double dmin);

// The corner line of k in the n cells from b spans dmin evenly below `top`.
void spreadCornerLevels(int b, int k, int n, double top, double dmin);
