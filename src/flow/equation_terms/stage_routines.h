// Small routines of the flow stages: gravity, roughness-layer sink, dune
// drag, the Froude-number pressure and the seiche set-ups.
#pragma once

void GravityFunction(int equation, int first, int last);  // F 181, F 135
void computeTramel(int first, int last);                  // F 189 1
void computeDragDune();                                   // F 498 1
void FroudeHystatFunction();                              // F 93
void SeicheFunctions();                                   // F 69
