// The cells of the unstructured grid: parallel arrays indexed by cell number,
// 1..NoCells, entry 0 the dummy cell. Allocated once to the F 65 capacity.
#pragma once

inline int NoCells;  // cells in use

inline double **Cconc;      // suspended-sediment concentration [size 0..lnumber][cell]
inline double **Cconc_old;  // the same at the previous time step; only in sediment runs
