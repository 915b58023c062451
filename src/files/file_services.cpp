// File operations that are not built yet: each does nothing and reports so.
#include "files/file_services.h"

void writeMPIkoosurf() {}
int ReadAllData() { return 0; }
int writeConqRes() { return -1; }
int writeConcRes() { return 0; }
int WriteUnstructure() { return 0; }
void WriteAllData() {}
int readConRes() { return 0; }
int ReadUnstructure() { return 1; }
int makeWeirSTL() { return 0; }
