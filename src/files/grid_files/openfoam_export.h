// The grid as an OpenFOAM case: "blockMeshDict" with one hex block per cell,
// start files of the fields and the cell levels.
#pragma once

void writeOpenFOAM2();  // the export
void writeOpenFOAM3();  // does the work of writeOpenFOAM2
