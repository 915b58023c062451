// Debug dumps of the flow stages and the report of an unusable momentum
// diagonal.
#pragma once

// Values of the cell PrintDebugBoogie (F 218) in an inner iteration.
void printDebug(int inner);
// Values of the pressure correction (F 183 1..99).
void printDebug2();
// Coefficient traps (F 223): preset before a build, logged after it.
void ompbugtrapFunction(int first, int last);
void computeOmpbugtrap();
// A U diagonal outside 1e-30..1e20 (or not a number) in cell c: logged,
// FlagErrorBreak set, and the run ends.
[[noreturn]] void printErrorAp(int c);
