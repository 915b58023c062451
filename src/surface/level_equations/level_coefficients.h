// What the two-dimensional level equation is built from: the weight of a
// neighbouring column, the level differences the pressure and the friction
// ask for, a limiting depth, the five- and nine-point builders, the fixed
// columns, and the kept change per column.
#pragma once

// Weight of a neighbouring column by F 278; x is the cosine between the flow
// and the direction to the neighbour (positive downstream), F the Froude
// number, w0 the fallback weight of F 36 0.
double computeCoeffSurf(double x, double F, double w0);

// Target level difference of column c over neighbour nb at distance d from
// their top-cell pressures, less the present difference of their surfaces.
double computeDhSurf(int nb, int c, double d);
// The pressure part alone, unscaled.
double computeDhSurf2(int nb, int c, double d);

// Target level difference of cell b over cell a across face f from the
// Manning-Strickler slope of the face flux (sgn its direction).
double computeDhMann(int a, int b, int f, int sgn, double d, double M);

// Horizontal distance of two cell centres, m.
double computeDist1(int a, int b);

// Limiting depth of the column of bottom cell c by the third value of F 246.
double computeLimdepth(int c, double F, double U);

// The five-point equation of the level change per wet column, then the
// fixed columns.
void computeCoeffTFS4();
// The nine-point equation, weights growing with the distance.
void computeCoeffTFS8();
// Fixes the reference columns and the columns of the reference groups
// (1e20 on the diagonal); with F 36 9 adds the group sources and the
// reference-level floor of the start values.
void setSurfaceBoundary();
// Keeps the solved change per column in Bdeltah (F 271 3 and 4).
void computeBDeltah();
