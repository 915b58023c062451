// The optional steps of the geometry pass, each run at its place in metric
// and only when its data set asks for it.
#pragma once

// F 235 2, 3, 22: side areas, volume or plan areas of collapsed cells.
void correctCollapsedCells();
// F 137: the faces between independently layered columns see every cell
// of the column beyond.
void layeredColumnSides();
// F 230 1: side faces between two cells tilt with the top faces above them.
void tiltSideNormals();
// F 308: the i-ends of block 1 are partition borders, not walls; F 159
// fifth value 5, 6: faces too small to carry flow are cut; nested borders
// are closed faces fed by the border sources.
void markBorderFaces();
// F 174 or an "inflow" table: the level of every discharge-group face.
void levelDischargeFaces();
// Ncell and Nvect: the cells of block 1 that feed each nested border face.
void mapNestedBorders();
// Cinterpolnest cleared, and filled when nesting options need it.
void mapParentCells();
// F 212 12 "cellvol", 15 cell heights, 16 height-to-width ratio.
void writeGridStatistics();
