// The bed mass balance of the two-layer bed (F 37 1 and 2): the exchange of
// each bottom cell with the bed in one time step becomes the level change
// Bedmove of its column and new thicknesses and fractions of the inactive
// layer 0 and the active layer 1.
#pragma once

// Bed change from the last sediment equation's coefficients (F 37 1); active
// is the active-layer thickness, m.
void morphology_fractions(double active);

// Bed change from settling through the bottom face minus the pick-up flux
// Bsource (F 37 2); active is the active-layer thickness, m.
void morphology2_fractions(double active);

// The bed change of size k of bed cell b with bottom cell c, metres of bed.
using SizeChange = double (*)(int k, int b, int c);

// The changes of bed cell b per size into dz[1..lnumber], their sum in
// Bedmove and their mass in kBedmove; a bed cell without a bottom cell gets
// Bedmove 0 and false.
bool columnBedChange(int b, double dz[], SizeChange change);

// The new active content dz_k + f1_k·t1 of each size of bed cell b into
// midA[1..lnumber], clipped at 0: a negative content goes to bedLimDef and
// kLimDef takes the mass the clipping leaves unrealised. S receives the sum;
// returns the net change S - t1 of the active layer.
double activeContents(int b, const double dz[], double midA[], double &S);

// The flux (kg/s) that bottom cell c of bed cell b gives to the bed of size
// k: its five neighbours through the last sediment equation's coefficients
// (Cat with one size, Catm with several), plus Bsource, minus Bap·C of c.
double coefficientFlux(int k, int b, int c);

// Warning of a layer update whose fractions do not sum to 1.
void printErrorMorphology2(int b, double sumG, double D);

// Warning of an active fraction outside [0, 1] for size k of bed cell b.
void printErrorMorphology3(int iter, int b, int c, int k, const double midA[], double D, double thick2, double sumG);
