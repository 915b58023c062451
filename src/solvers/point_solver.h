// The solver dispatcher and the symmetric point Gauss-Seidel relaxation of
// the current Equation over WCStart..WCEnd; the solution goes into the field
// that Cf designates.
#pragma once

#include "model/settings.h"

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

// While it lives, solver() takes the ordinary point solver even with F 170 1,
// whose five-row relaxation is the fast driver's own call and leaves Cf
// alone: for the pressure correction of that driver and for the components.
class OrdinarySolves {
 public:
  OrdinarySolves() : kept_(FlagFastWatersolve) { FlagFastWatersolve = 0; }
  ~OrdinarySolves() { FlagFastWatersolve = kept_; }
  OrdinarySolves(const OrdinarySolves &) = delete;
  OrdinarySolves &operator=(const OrdinarySolves &) = delete;

 private:
  int kept_;
};
