// Discharge groups on the boundary faces: the end groups generated from
// block 1 and the mapping of every group's points onto the side faces of the
// current grid. Writes the group records, Fflagflow and Cinout.
#pragma once

// setFluxes and InterpolateBoundary, the entry points the grid routines call.
#include "flow/drivers/flow_drivers.h"

// Maps group g (1..9) onto the grid: each point of its list takes the
// boundary column side with the nearest edge midpoint, and the cells of that
// column within the group's levels give their faces on that side. Sets the
// face list, the area, Fflagflow 1 on the faces and the groups' Cinout marks.
void InterpolateBoundaryInner2(int g);

// The older mapping by the side-face midpoints of the top cells; no path of
// the engine calls it. Appends to the group's face list.
void InterpolateBoundaryInner(int g);

// The level of every listed face's cell in its column (1 on the bed), for
// the cyclic inflow and the inflow table; the geometry pass and the mapping
// of the groups call it.
void fillFaceLevels();
