// Pressure and level treatments around the pressure update of the correction
// stage: the pressure from the continuity defect (F 258), the water-level
// correction per column (F 271), the mud-layer clip (F 372 2) and the top-cell
// pressure of the transient free surface (F 36 11).
#pragma once

// F 258 = 100 or 101: Cpres of cells first..last from the continuity defect.
void stressTermPressure(int firstCell, int lastCell);

// F 271 = 1 or 2: the water-level change of each column from p'.
void levelCorrection(int firstCell, int lastCell);

// F 372 = 2 while the mud layer is computed: Cpres between 0 and hydrostatic.
void mudPressureClip(int firstCell, int lastCell);

// F 36 = 11: the pressure of the top cells extrapolated to 0 at the surface.
void topCellPressure(int firstCell, int lastCell);
