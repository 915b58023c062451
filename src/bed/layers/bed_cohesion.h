// The cohesion of the bed, per layer and column (Bcohesion, Pa): a cohesive
// bed resists erosion until the bed shear stress exceeds it. It starts from
// F 385 or the file "cohesion" and follows the rules of F 385 and the
// erosion-depth table of F 330 in every time step.
#pragma once

// Fills Bcohesion at the start of the sediment run: 0 without F 385; -20
// when F 385 2 finds no readable "cohesion" file; else F 385's variant.
int setInitialCohesive();

// Updates the cohesion of the top layer of every wet column of block 1 after
// the bed change of a time step.
void computeCohesion();

// The cohesion of the F 330 table at erosion depth e (m).
double cohesionAtDepth(double e);
