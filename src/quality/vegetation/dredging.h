// Dredging and dumping during a sediment run (F 386): the operations of
// "bagger" cut the bed down to given levels or feed sediment onto it, each
// within its time window, and log the volume of every step to "bag_res".
#pragma once

// What an operation does in the step that ends at time t.
struct WindowStep {
  bool acts = false;    // the window reaches into the step and is not finished
  double fraction = 0;  // the part of the window reached at the end of the step, 0..1
  double feed = 0;      // f: the part of a thickness fed in this step
  double cut = 0;       // w: the part of the remaining cut taken in this step
};

// The step (t - dt, t] of the window (t0, t1), of which the part applied
// so far has been applied. The step that comes within dt of the end, or
// passes it, finishes the window: the fed parts add up to 1 and the last cut
// takes the rest, also when the whole window lies inside one step.
WindowStep windowStep(double t0, double t1, double applied, double t, double dt);

// Whether a feeding of this kind (2 fed thickness, 4 thickness per point)
// acts with the F 386 mode and bed model of the run; E records never do.
bool feedingActs(int kind);

// The sediment loop's dredging routine: reads "bagger" at its first call
// and applies every operation whose window reaches into the step. A cut
// leaves the bed layers at once and waits in baggerCut for addDredgedCuts;
// feeding acts on Bedmove, Bsource, Bbedchange or Csourcem by F 386 and F 37.
void bagger();

// Just before the bed change: grows the remaining cut of every dredged
// column by the column's own deposit of the step, then adds the step's cuts
// to Bedmove. Nothing happens without dredging.
void addDredgedCuts();
