// Steps of the hydrostatic and grid-sequencing drivers that their callers
// chain: the vertical velocities from continuity and the transfers of the
// flow fields between the grid levels of F 152.
#pragma once

#include <vector>

// The vertical fluxes and velocities of every column of at least two cells
// of the work range from the horizontal net inflow each cell holds in
// Csource (kg/s), by F 69's fourth value: 0 integrated from the top, 1 from
// the bed, 2 and 3 each cell's own inflow, 4 as 0 after the column's net
// inflow is taken out; other values leave them. No bed or surface face is
// written.
void hydrostaticVerticalVelocities();

// The six flow fields of the base grid restricted to every coarse level
// 2..F 152: a column's mean on level 2, the mean of four cells above.
void restrictFlowToLevels();

// The solution of level `level` (2 and up) carried to the next finer level
// as a correction; k and epsilon keep their floors. Without `before` the
// correction is the difference between each coarse value and the mean of
// what it covers (the coarse level started from that mean, or the finer one
// holds no solution yet). With `before` (the six fields of the coarse cells,
// from the first cell of level 2, as they stood at the start of the cycle)
// it is what the level changed since: a coarse level that started from its
// own solution would otherwise force its means onto the finer grid every
// cycle.
void prolongFlowFromLevel(int level, const std::vector<double> *before = nullptr);
