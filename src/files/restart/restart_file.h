// The restart file "alldata": the whole state a computation needs to go on
// (grid, flow fields, concentrations, structured grid with its bed planes,
// bed cells and layers, simulated time), also left as the crash dump.
#pragma once

// Writes "alldata.%d" with the first free number. Never ends the run: a file
// that cannot be created is logged and skipped.
void WriteAllData();

// Reads "alldata" (run letter B) and rebuilds geometry, bed-cell index and
// face fluxes; ends the run on a file that does not fit the control file.
int ReadAllData();
