// Pressure limits on the borders of a partitioned run (F 308 with F 316 8).
#pragma once

void limitPressureMPI();

// The pressure exchange of the partitions: nothing to do in one process.
void pressure_sourceMPI();
void pressure_sourceMPI2();
void pressure_transferMPI();
