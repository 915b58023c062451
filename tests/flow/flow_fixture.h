// In-process set-up of the flow tests: the channel case generated as the run
// letter Y does, with its geometry and bed cells, and discharge groups on its
// two ends.
#pragma once

#include <string>
#include <vector>

#include "grid/grid_fixture.h"

class FlowFixture : public GridFixture {
 protected:
  // The channel (10 x 4 columns of nine cells of 1 x 1 x 1/9 m) after
  // Unstructure, metric and BedMake; a time step above 1e-8 makes the run
  // transient, so that the old-time fields exist.
  static void channel(double timeStep = 1e-20);
};

// The faces of the channel's upstream (west) and downstream (east) ends, in
// cell order: 36 faces of 1/9 m2 each.
std::vector<int> upstreamFaces();
std::vector<int> downstreamFaces();

// Group g on the faces given: type (1 inflow, 0 outflow), discharge in kg/s,
// and the area of the faces.
void setGroup(int g, int type, double discharge, const std::vector<int> &faces);

// The cell behind a boundary face.
int cellBehind(int face);

// Clears Cap and Csource of every cell.
void clearCoefficients();
