// The reference column of the steady free surface: where the water level is
// held, at what level and pressure, and the shift of block 1's surface when
// the boundary levels of the "timei" series move.
#pragma once

// Sets GlobZRef, GlobPresRef (and the second reference's GlobZRef2,
// GlobPresRef2) from the flow, the level series or the deposit depths;
// returns the top cell of the reference column, 0 when none is wet (F 36 3).
// Ends the run when the reference column is dry and nothing stands in for it.
int computeSurfaceReferences();

// Raises block 1's water levels by the change of the boundary levels since
// the last update, spread along the channel by the length of its columns.
void modifyWaterlevel();

// The top cell of column (i, j), 0 when the column is dry.
int topCellOfColumn(int i, int j);
