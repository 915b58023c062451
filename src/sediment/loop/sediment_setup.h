// The set-up of a sediment run: resets, the checks of the control data,
// the output files the loop appends to, the opening log lines, the start bed
// and masses, and the values fixed for the whole run.
#pragma once

// What the set-up fixes for the loop.
struct SedimentRun {
  double activeLayer = 0.0;  // thickness of the active bed layer, m
  int stages = 1;            // work-block stages of the flow ("G 25"), at least 1
  double volume0 = 0.0;      // water volume of the work cells after the set-up, m3
  double *savedCf = nullptr; // the solver's field pointer at the start, put back every step
  int alldataNext = 0;       // next time of the "alldata" outputs
};

// Runs the set-up in its order and leaves Iter at 1. A check that fails ends
// the process with its message.
SedimentRun sedimentSetup();

// Closes "bootimeo" when the set-up opened it (debug letter H).
void closeBootimeo();
