// The time term of the transient equations and the diagonal lift of cells
// with few horizontal neighbours.
#pragma once

// 1000 Cvol / TimeStep added to Cap and times the old value to Csource, with
// the inner pseudo-time term, the collapsed-cell terms and the side damping.
void addTimestep(int first, int last);
// The per-cell terms of addTimestep alone, for one chunk of a stage region.
void addTimestepCells(int first, int last);
// Whether F 415 damps the side columns of the current Equation.
bool sideDampingApplies();
// Cap of the side columns of block 1 multiplied (x4 outer, x2 next), whole
// columns, once per equation; a region calls it once after its chunks.
void addSideDamping();
// Cap raised to the neighbours' Cap scaled by the cell heights (F 382).
void addAp(int first, int last);
