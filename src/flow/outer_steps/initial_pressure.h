// The pressure of block 1 from the water levels at the start of a run, the
// column filter of the pressure after each correction, and the cut of the
// time step of a slide computation.
#pragma once

// Start pressure (F 540): every column of block 1 takes 9810 times the height
// of its water level above the level in the middle of the block's
// downstream end.
void initiatePressure();

// Column filter of the pressure of block 1 (F 426): 1 pulls slow columns
// towards hydrostatic, 2 caps every cell at twice hydrostatic from the
// column top, 3 caps the increase from one cell to the one below.
void pressureFilter();

// Time step of a thixotropic slide run (F 336): the time step the run had at
// the first call, a tenth of it while only the slide block behind block 1 is
// computed. Returns the new TimeStep.
double computeChangeTimestep();

// Three times the mean absolute pressure residual of all cells.
double computePresResStat();
