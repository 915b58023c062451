// The bed-level routines that work from the grid points: each point takes its
// level from the water columns around it, either the columns' mean change
// (F 255 3) or the top of their bed layers (F 255 5), or both, the border
// lines of a block across j by the change and the rest by the layers
// (F 255 4). All end with the completion of the bed change.
#pragma once

// F 255 3: every point moves by the mean Bedmove of its columns with cells,
// never below the non-erodible level.
void bedchange3();

// F 255 4: the south and north border lines of a block follow the column
// changes, the inner points the layer tops. countMovement 0 (the first step)
// sets the levels without adding to plane 1 of Surfaces.
void bedchange4(int countMovement);

// F 255 5: every point lies at the mean layer top of its columns with cells;
// Bedmove is not read.
void bedchange5();

// The layer top of column (i, j) with bed cell b: the mean non-erodible level
// of its corners plus the thickness of its layers.
double layerTop(int i, int j, int b);
