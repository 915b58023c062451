// Result, restart and visualisation files as the run letters call them.
#pragma once

void writeMPIkoosurf();  // one "koosurf.mpi%d" per partition (letter A)
int ReadAllData();       // restart file "alldata" (letter B)
int writeConqRes();      // components to "compres" (letter E)
int writeConcRes();      // sediment concentrations to "con2res.new" (letter F)
int WriteUnstructure();  // grid file "unstruc" (letter H)
void WriteAllData();     // whole state to "alldata.%d" (letter J)
void sprintflow();       // the output dispatcher (letter M)
int readConRes();        // "compres", "con2res", "fracres" (letter O)
void readres();          // "bedres" and "result" (letter R)
int ReadUnstructure();   // grid file "unstruc" (letter U); 0 read, 1 missing, negative failed
int makeWeirSTL();       // "weir.stl" from "weir.txt" (letter Z)
