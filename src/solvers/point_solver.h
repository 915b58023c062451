// The solver dispatcher and the symmetric point Gauss-Seidel relaxation of
// the current Equation over WCStart..WCEnd; the solution goes into the field
// that Cf designates.
#pragma once

// Solves the current Equation: sweeps[Equation] symmetric sweeps (three times
// as many for the pressure correction) by the execution solverExecution picks.
void solver();

// Relaxes cells first..last of the field behind Cf by `sweeps` symmetric
// point Gauss-Seidel sweeps (a forward and a backward pass each); no
// relaxation factor and no test of Cap: a value fixed by 1e30 in Cap and
// 1e30 times the value in Csource comes out at that value.
void Gauss(int first, int last, int sweeps);

// The symmetric sweeps one solve of the current Equation makes.
int solverSweeps();

// How the dispatcher runs the solve, chosen by the thread and solver data
// sets: the serial or chunked point solver, the block-parallel family
// (F 164 above 20) or the five-row solver of the fast driver (F 170 1).
enum class SolverExecution { Serial, Chunked, BlockParallel, Fast };
SolverExecution solverExecution();
