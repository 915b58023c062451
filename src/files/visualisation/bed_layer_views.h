// The layered bed as legacy VTK files for ParaView: sections along a grid
// line j or i, and the stacked layers of a block.
#pragma once

void writeParaBed3(int blockNumber, int lineJ);  // section along grid line j
void writeParaBed4(int blockNumber);             // every column of the block
void writeParaBed5(int blockNumber, int lineI);  // section along grid line i

// While one output call writes several sections, each single-name file
// carries its grid line ("ParaBed2D_%d.vtk", "ParaBed2DC_%d.vtk"), so that
// none overwrites the one before.
void nameBedSectionsByLine(bool several);
