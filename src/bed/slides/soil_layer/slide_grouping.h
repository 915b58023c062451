// Grouping of the failing columns of the soil layer into slides, and the
// target sliding surface of each slide.
#pragma once

// Labels the candidate columns of the slide layer, joins neighbouring ones
// under the smallest label, lists the slides in the slide table and gives
// each its size, target level, centre column and reference plane.
void slideModify();

// The column of slide s whose top is nearest level (the first on a tie); 0
// when the slide has no column in block 2.
int computeBCen(int s, double level);

// The plane of slide s through the tops zH and zL of its highest and lowest
// columns bH and bL; nothing when both are the same column.
void computeThixoFlatSurface(int s, int bH, int bL, double zH, double zL);

// Level of the plane of slide s at (x, y).
double slidePlaneLevel(int s, double x, double y);

// Slides listed in the table, counted up to the end mark.
int listedSlides();

// Clears slot s of the slide table, or copies slot from into slot to.
void clearSlideSlot(int s);
void moveSlideSlot(int to, int from);
