// Restart files of the bed fractions ("fracres.new" and its series, read as
// "fracres"), and the tracer fraction of the top layers that the
// visualisation writers print.
#pragma once

// Writes the grain fractions and thicknesses of the bed layers; the argument is not used.
void print_fracres(int unused);

// Reads "fracres" (or "fracres.mpi%d"): 0 read, 2 the file cannot be opened,
// 88 a line names a column beyond the grid. Fractions that do not sum to 1
// end the run (-3).
int readFracres();

// Bfractionsprint of every bed cell: the thickness-weighted share of the
// tracer sizes in the layers down to depthTracer (F 433).
void make_Bfractionsprint();
