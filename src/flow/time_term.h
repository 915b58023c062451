// The time term of the transient equations and the diagonal lift of cells
// with few horizontal neighbours.
#pragma once

// 1000 Cvol / TimeStep added to Cap and times the old value to Csource.
void addTimestep(int first, int last);
// Cap raised to the neighbours' Cap scaled by the cell heights (F 382).
void addAp(int first, int last);
