// What the stop test does when a solution runs away: the remedies that throw
// a growing solution away and damp the iteration (F 219), and the crash
// report of a diverged run.
#pragma once

// Remedy n (1, 2, ...) of this driver call: the fields of the work range are
// reset, then by n the grid is regenerated with stabilised options (2, 3),
// the Rhie-Chow variant switched (4), the accelerator lowered (5) or the
// under-relaxation halved (1, 5 without the accelerator, 6 and above).
void flushFunction(int n);

// The crash report: the diagnosis of the cell with the largest mass defect,
// the grid and restart dumps of F 257, and the plan-view ParaView file.
void printAtCrash();

// Its parts: the diagnosis lines in "boogie", and the output variables the
// crash file always shows (the G 24 table is filled or extended).
void crashDiagnosis();
void forceCrashOutputs();
