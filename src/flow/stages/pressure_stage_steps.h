// Steps of the pressure-correction stage that the modular pressure step
// shares: the terms of the p' diagonal, the reference level of p' and the
// pressure and velocity adjustments after the correction.
#pragma once

// Free-surface storage of the p' diagonal (F 296), a moving surface only.
void addSurfaceStorage(int first, int last);
// F 104: a single-cell column with fewer than two horizontal neighbours gets
// FlagEndCorrect x Cvol on its diagonal.
void addEndCorrection(int first, int last);
// The lift of the p' diagonal at an MPI border (F 268 4, 5, 6), 0 for none.
double borderLift();
// p' shifted so that the last cell of the grid ends at -0.001: each cell
// subtracts the last cell's value as it stands when the cell is reached.
void shiftPressureLevel(int first, int last);
// The pressure of top cells with a cell below, falling linearly to zero at
// the water surface.
void surfacePressureProfile(int first, int last);
// Nested cells relaxed towards their parent cells' velocities (F 66).
void relaxNestedVelocities();
