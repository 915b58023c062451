// The level-set surface of F 36 50: the column changes gathered in the
// pressure stage and the corner update that applies them (surface_LS and
// surface_LS_update are declared with the free-surface operations).
#pragma once

// The weight of the column on bottom cell `cell` at grid point (i, j).
double VectorWeight(int cell, int i, int j);
// A face coefficient of the column equation for the inflow q (kg/s).
double surface_LS_coeff(double q, double area, double Fr, int b, int bn);
// The level change (m) that the flux F (kg/s) brings to bed cell b in one step.
double surface_LS_source(double F, int b);
// Level excess between the columns of cells c1 and c2, m.
double surface_EL(int c1, int c2);
