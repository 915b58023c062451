// The solvers of one grain size of several: five symmetric Gauss-Seidel
// sweeps over WCStart..WCEnd of the field behind Cf, serial, on thread shares
// or on blocks of whole water columns.
#pragma once

// The concentration of size l with the shared side coefficients and the
// size's own Capm, Catm, Cabm, Csourcem (with scheme 1 also the shared second
// neighbours). With F 253 1 the bottom cells take up the pick-up from the bed
// implicitly and Bsource[l] keeps the exchange of the last pass.
void solver2(int l);

// The same equation with all coefficients of size l (F 78 5..9).
void solver2m(int l);

// The bottom cells alone, a plane with horizontal exchange: Cae..Cas,
// Capm[l] and Csourcem[l]; cells with a cell below keep their values.
void solver2bed(int l);

// The block count of the column-block executions: one with G 50 entry 8,
// else one per F 206 thread.
int sedimentSolverBlocks();
