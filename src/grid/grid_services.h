// Grid generation and geometry as the other subsystems call it.
#pragma once

void readKoosurf();       // reads "koosurf" into a new block
int Unstructure();        // builds cells, faces and points from the blocks; 1 on success
void bedinter();          // bed levels of the grid points from the bed points
void computeRoughness();  // roughness from the bed points, "bedrough.new"
