// The classic point-wise update of the water levels: each grid point moves
// towards the level its surrounding top-cell pressures ask for, relative to
// the reference column.
#pragma once

// Moves the levels of the updated blocks' grid points in place (both level
// slots). c is the reference bottom cell, c2 the second one (0 when none).
void classicLevelUpdate(int c, int c2);
