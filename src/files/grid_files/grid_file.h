// The grid file "unstruc" and its side files: a generated grid stored with
// its blocks, connections, discharge and surface groups and column data, so
// that a later run starts from it without generating the grid again.
#pragma once

// Writes the grid file in the format code of F 297 (2, 3 or 4) and the side
// files "koomin.bed", "koosurf.t", "koordina.mpi%d.m", "koordina.si1" and
// "koordina.si2"; returns the number of dry columns (format code 2 only), 1
// when a side file cannot be opened, -4 when the grid file cannot.
int WriteUnstructure();

// The numbered grid files "unstruc.%d" of the sediment loop (format code 1,
// current counts), every first F 101 value of time steps.
void WriteTransFiles();
