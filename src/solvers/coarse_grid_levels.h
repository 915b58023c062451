// The coarse grids of the coarse-to-fine flow solution (F 152): real grid
// blocks appended after the base grid, one cell per wet column and then one
// per 2x2 group, with corner points of the base grid, faces and connections.
#pragma once

// Builds levels 2..max(2, F 152) after the base grid as it was just
// generated; NoBlocks, NoCells, NoSurfaces and the connection counts grow,
// NoPoints does not, and the work range covers the coarsest level. A full
// cell or face table ends the run (-2).
void MGSCoarserGridMake2D();

// The two-dimensional block of the depth-summed accelerator as real cells:
// one full-depth cell per wet column of the three-dimensional blocks, made by
// the cell builder after NoCells (which stays), linked to its column in
// MGSCpoint like the first accelerator level; with F 168 above 1 the coarser
// levels follow by 2x2 agglomeration. A full table is logged and ends the
// build; a block reaching the last grid row ends the run (-44).
void GridMake2D();
