// Routines of the sediment run that the engine does not have yet. Each ends
// the run with the "not available yet" line naming the data set that reached
// it; the sediment loop calls them through the operations table.
#pragma once

void morphology_tsc_solver_tsc3_standard();     // F 37 3
void morphology3_fractions(double active);      // grain fractions, F 37 3
void morphology_QNfractions(double active);     // grain fractions on QN grids (F 137)
void bedchange2();                              // F 255 1
void bedchange3();                              // F 255 3
void bedchange4(int later);                     // F 255 4
void bedchange5();                              // F 255 5
void smoothBedchange();                         // F 414
void computeSandSlide();                        // F 56 205, 206
void bagger();                                  // F 386
int setInitialCohesive();                       // F 385
void computeCohesion();                         // F 385, F 330
void computeMorphStatistics();                  // F 404
void computeDensityStat(int i1, int i2);        // F 71
void writeDune();                               // F 370
void writeBraided();                            // F 368
