// The solver dispatcher and the symmetric point Gauss-Seidel relaxation of
// the current Equation over WCStart..WCEnd; the solution goes into the field
// that Cf designates.
#pragma once

void solver();
