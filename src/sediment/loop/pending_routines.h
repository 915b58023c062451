// Routines of the sediment run that the engine does not have yet. Each ends
// the run with the "not available yet" line naming the data set that reached
// it; the sediment loop calls them through the operations table.
#pragma once

void morphology_QNfractions(double active);     // grain fractions on QN grids (F 137)
void bedchange2();                              // F 255 1
void computeSandSlide();                        // F 56 205, 206
void computeSlideBlock();                       // F 236 3
void bagger();                                  // F 386
