// Result, restart and visualisation files as the run letters call them.
#pragma once

#include "files/restart/concentration_restart_files.h"  // writeConcRes (F), writeConqRes (E), readConRes (O)
#include "files/grid_files/grid_file.h"                    // WriteUnstructure (H)
#include "files/grid_files/grid_file_reader.h"             // ReadUnstructure (U)
#include "files/grid_files/partition_koosurf.h"            // writeMPIkoosurf (A)
#include "files/restart/restart_file.h"                 // WriteAllData (J), ReadAllData (B)

void sprintflow();       // the output dispatcher (letter M)
void readres();          // "bedres" and "result" (letter R)
int makeWeirSTL();       // "weir.stl" from "weir.txt" (letter Z)
