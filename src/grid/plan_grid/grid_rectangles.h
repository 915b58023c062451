// Rectangles of columns given in "control" (the G 13 rectangles without cells)
// were checked against the grid size of their moment in the file; a later G 1
// may have made the grid smaller. Every generator clips them here.
#pragma once

// Columns i1..i2, j1..j2 of the structured arrays; empty when i1 > i2 or j1 > j2.
struct ColumnRange {
  int i1, i2, j1, j2;
};

// The part of the rectangle that lies inside the structured arrays
// (indexes 0 .. xnumber+1 and 0 .. ynumber+1).
ColumnRange clipToGrid(int i1, int i2, int j1, int j2);

// The columns of every G 13 rectangle get no cells (ant = 0).
void clearOutBlockColumns();
