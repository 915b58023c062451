// The partitions of a partitioned run cut out of block 1.
#pragma once

// Writes "koosurf.mpi%d" for each partition 1..F 308 (run letter A); ends
// the run with -123 when no partitions are specified.
void writeMPIkoosurf();
