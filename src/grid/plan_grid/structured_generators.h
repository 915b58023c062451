// Generators that reshape one block of the structured grid (xval, yval and
// the bed and water levels in zval) in place, and a writer of its points.
// They act on block BlockID (1 when it is 0), whose lines i1-1..i2 and
// j1-1..j2 hold the border as a fixed frame; the W 6 points never move.
// No run letter calls them: the engine's grids come from "koosurf" or the
// bed points.
#pragma once

// The border lines between anchors (the line ends, W 6 points and the
// points of the block connections) become straight, x, y, bed and water
// level linear by index.
void sides();

// Every inner i line between its W 6 points and ends: x, y, bed and water
// level linear along j.
void Itransfinite();

// Every inner j line: x, y and bed linear along i between the first and the
// last i line.
void Jtransfinite();

// Every inner point: the mean of the interpolations along j and along i of
// x, y and bed, which for a frame of straight sides is the bilinear point.
void Mtransfinite();

// 501 sweeps that put every free inner point on the mean of its four
// diagonal neighbours.
void transfinite();

// Elliptic smoothing: 21 sweeps of the Poisson grid equations with the
// control functions P and Q of the W 7 attraction points.
void elliptic();

// The points strictly between the last two W 6 points, when they share a
// grid line, go on the straight line between them and become fixed too.
void addLineNoMovePoints();

// Redistributes the grid levels of the Z data sets in "control": each gives
// i1 i2 j1 j2 and znumber cumulative percentages of the depth.
void gridchange();

// Writes the points of block 1 to "koordina.new" (with F 308
// "koorina.mpi%d.new") and "koordina.si1".
void writekoor();

// The points between the last three W 6 points of one i line go on the
// circle through those three, at equal angular steps.
void computeCircle();
