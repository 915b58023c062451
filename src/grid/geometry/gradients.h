// Derivatives of a cell field at a cell centre on the column grid, and the
// value of a neighbouring column at a given level. They read the geometry
// and the field only, so the parallel stages call them for any cells at once.
#pragma once

// The field in the column of cell n at the centre level of cell c; linear
// between the two cells around that level, extrapolated beyond the end cells.
double interpolatevalue(const double *field, int c, int n);

// The same at the level z (m).
double interpolatevaluez(const double *field, int n, double z);

// The pressure in the column of n at the centre level of c, falling linearly
// to zero at the water surface above a top cell.
double interpolatePres(int c, int n);

// d(field)/dx, /dy or /dz (direction 1, 2, 3) at cell c, per metre.
double d_dx_orth_x(const double *field, int direction, int c);

// The differences of the field across c combined with the unit normals.
double d_di_orth_x(const double *field, int direction, int c);

// The differences of the field across c combined with the area vectors.
double d_di_orth_xA(const double *field, int direction, int c);

// Pressure force on c in a direction (Equation 1, 2, 3) before its sign,
// Pa·m2: interpolated neighbours, the hydrostatic blends of F 355, and plain.
double d_di_orth_Pres(int direction, int c);
double d_di_anti_Pres(int direction, int c);
double d_di_anti_Pres2(int direction, int c);
double d_di_orth_Pres2(int direction, int c);

// Plain-neighbour variants of the field differences.
double d_diA(const double *field, int direction, int c);
double d_dx(const double *field, int direction, int c);
double d_dxg(const double *field, int direction, int c);
