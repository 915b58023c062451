// The column-ordered bed change of F 255 1: the depositing columns are placed
// first, then the columns eroding nearly all of their two bed layers, then
// the other eroding ones, each by its own corner spreading.
#pragma once

// Moves the bed points of every work block in the three ordered passes and
// runs the completion of the bed change.
void bedchange2();

// Spreads the change of column (i, j) with bed cell b over its corners, in a
// block of columns i1..i2, j1..j2: the skew of F 205 1-6, the limits and
// rounds, the tallies, and with F 132 the Froude limit on the water levels
// of its corners. Points of neighbouring blocks are not moved.
void bedchangeCell(int i, int j, int b, int i1, int i2, int j1, int j2);
