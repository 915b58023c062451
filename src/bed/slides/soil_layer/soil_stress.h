// The steps of the soil stress (letter N, F 248 1) that the slide routines
// and the tests reach on their own; computeSoilStress itself is declared
// with the bed services.
#pragma once

// Normal stresses (rows 0 and 2 of Cstress, and rows 1 and 4 of variant 9)
// of the cells WCStart..WCEnd from the displacements in Cxvel and Czvel, by
// FlagStressStrain: 9 plane elasticity, 4 the Lame form, others M and L.
void soilNormalStresses();

// Stress ratio |(sx - sz)/(sx + sz)| of the cells into Cthixorat, and the
// mark into Cthixolev: 0 below 0.9, 1 up to 1.1, 2 above.
void soilFailureMarks();
