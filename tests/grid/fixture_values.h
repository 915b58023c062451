// Expected values of the fixture grids, checked on hand-built grids
// and on the grids the generator makes of the same case folders.
#pragma once

// The cube after metric: unit extents, areas and volume, its six faces.
void expectUnitCube();

// The cube after BedMake: one bed cell on column (2, 2).
void expectCubeBedCell();

// The channel after metric: cells of 1 x 1 x 1/9 m, faces, flags, solve order.
void expectChannelGeometry();

// The channel after BedMake, and a second call that changes nothing.
void expectChannelBedCells();

// Column3 after metric: the interpolation along its column of three cells.
void expectColumnInterpolation();

// The channel after metric and BedMake: linear fields through the gradients.
void expectChannelGradients();
