// Face-flux corrections around triangular (collapsed) cells at the water edge.
#pragma once

void TrekantFluxCorr(int first, int last);   // F 235 8..23
void TrekantFluxCorr4(int first, int last);  // F 436
