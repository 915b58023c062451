// The bed-load vector of F 78: sediment near a sloping bed is pulled down the
// slope by gravity besides being carried by the flow. These routines add that
// down-slope transport to the concentration equations of the bottom cells.
#pragma once

// F 78 1 and 3: size l leaves each bottom cell sideways, perpendicular to the
// near-bed flow and towards the side the bed falls to, as an explicit
// transfer between the sources of neighbouring bottom cells (Csourcem[l], or
// Csource where one size keeps the shared rows).
void BedVectorSourceCalc(int l);

// F 78 2, 3, 4 with F 37 3: an implicit sink on each sloping bottom cell of
// block 1 and the same mass, from the old concentration, as sources of its
// two steepest downhill neighbours.
void computeBedLoadVector();

// F 78 21 to 29: across each face between two bottom cells, the down-slope
// share of the flow carries sediment from the higher cell to the lower one,
// never more than the giving cell's source.
void computeBedLoadVector3();

// F 78 31 to 39 with F 37 3: on a steep bottom cell of block 1 beside a wall
// or a step, diagonal weight moves from its steepest downhill neighbour to
// the cell itself.
void computeBedLoadVector4();
