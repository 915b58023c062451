// Pressure limits on the borders of a partitioned run (F 308 with F 316 8).
#pragma once

void limitPressureMPI();
