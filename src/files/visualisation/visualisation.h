// Tecplot and ParaView files of the results: the plan views and the
// three-dimensional files, each with the output variables of G 24.
#pragma once

void print_tecplot2d(int kind, int index);  // plan view, Tecplot
void print_tecplot3d(int unused);           // whole grid, Tecplot
void print_paraview3d(int unused);          // whole grid, ParaView (legacy VTK)
void print_paraview2d(int kind, int index); // plan view, ParaView
