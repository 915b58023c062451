// The grid points of the unstructured grid: parallel arrays indexed by point
// number, 1..NoPoints, allocated once to the F 65 capacity MaxPunkter.
#pragma once

class TableAllocator;

inline int NoPoints;  // points in use

inline double *Px;  // x of the point, m
inline double *Py;  // y of the point, m
inline double *Pz;  // z of the point, m
inline int *Pc;     // point whose cells give this point its values (visualisation)
inline int *Pi;     // structured index i of the point (visualisation)
inline int *Pj;     // structured index j of the point (visualisation)

// Allocates the point tables to MaxPunkter.
void allocatePointTables(TableAllocator &allocator);
