// The coarse grids of the coarse-to-fine flow solution (F 152): real grid
// blocks appended after the base grid, one cell per wet column and then one
// per 2x2 group, with corner points of the base grid, faces and connections.
#pragma once

// Builds levels 2..max(2, F 152) after the base grid as it was just
// generated; NoBlocks, NoCells, NoSurfaces and the connection counts grow,
// NoPoints does not, and the work range covers the coarsest level. A full
// cell or face table ends the run (-2).
void MGSCoarserGridMake2D();
