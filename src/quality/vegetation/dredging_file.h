// The dredging file "bagger": timed operations that cut the bed down to given
// levels or feed sediment onto it, and the log of their volumes, "bag_res".
#pragma once

// Reads "bagger" into the operation tables (baggerTime, baggerFlags,
// baggerAreas, NoBaggerAreas, baggerZval, zugabeZval, zugabeFractions,
// baggerLevels), sets NoBaggerTimes to the last operation read, and starts
// "bag_res" with its header and the count of records read. Ends the run on a
// file that cannot be read or holds an unusable record.
void readBagger();

// Appends the volume an operation moved in the step at time t to "bag_res".
void appendBagRes(double time, double volume);
