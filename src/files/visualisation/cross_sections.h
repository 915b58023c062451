// Vertical cross-sections of the three-dimensional results along a grid
// line i, as legacy VTK polygons for ParaView (data set P 18).
#pragma once

// Writes the section of block `kind` (1 the main grid, 2 the layer block)
// along grid line i.
void print_cross3d(int kind, int i);
