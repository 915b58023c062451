// The level equations the steady update driver builds itself: the five-point
// equation of the level change (F 36 4) or of the level (F 36 21), and the
// nine-point equation of the level change (F 36 8 simple, 7 and 9 full).
#pragma once

// Each builds, solves and moves the grid points; c is the reference bottom
// cell of the driver (0 when none).
void surfaceFivePoint(int c);
void surfaceNinePoint(int c);
