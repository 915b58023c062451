// The visualisation writers are not built yet: a run that asks for one ends
// rather than reporting files it never wrote.
#include "files/visualisation.h"

#include "startup/log.h"

void print_tecplot2d(int, int) { notAvailableYet("print_tecplot2d", "F 329"); }
void print_tecplot3d(int) { notAvailableYet("print_tecplot3d", "F 329"); }
void print_paraview3d(int) { notAvailableYet("print_paraview3d", "F 329"); }
void print_paraview2d(int, int) { notAvailableYet("print_paraview2d", "F 329"); }
