// The variants of the face-flux and velocity corrections that F 157, the third
// values of F 69 and F 291 and F 36 = 11 choose instead of the standard rules.
#pragma once

// The volume cap that the F 157 = 51 variant computes before correcting.
void SimpleVolumeCap(int firstCell, int lastCell);

// Ends the run when the chosen variant needs arrays this run does not have:
// variant 9 the slide-layer ratio, variant 20 the second neighbours.
void checkCorrectionVariant();

// A face-flux correction other than the standard one, over faces first..last.
void SimpleFluxVariant(int firstFace, int lastFace);

// A velocity correction other than the standard one, over cells first..last.
void SimpleVelocityVariant(int firstCell, int lastCell);
