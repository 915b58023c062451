// The common end of a steady surface update: corrections of the new levels,
// grid regeneration, and the values that depend on the old grid reset.
#pragma once

// After a level algorithm: boundary and edge levels, regeneration of cells,
// faces, geometry, bed cells and face fluxes, FlagGridChange = 1.
void computeTailSurf();

// Holds the points on the boundary sides of the outflow group FlagDSO1 at
// GlobZRef (level slot only); F 353 10 and 11 shape the ten point rows
// upstream of an east outflow.
void computeSurfDownstream();
