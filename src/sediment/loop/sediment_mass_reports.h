// The sediment loop's mass balance per grain size and what it reports: the
// continuity table, the "scour", "inconc.res" and "bootime" rows, and the
// end-of-run report in "boogie".
#pragma once

// Mass of size l in the bed layers of the work bed cells, kg.
double bedLayerMass(int l);

// Start of the loop: kLayer1 holds the bed-layer mass of every size.
void sumStartLayerMasses();

// Every step after the grain fractions: the sediment leaving through the
// outflow groups goes to kUt and SumOutflow.
void sumOutflowMass();

// Every step before the bed change (F 37 3): the bed change of block 1's bed
// cells goes to kBedmove.
void sumBedMoveMass();

// Every step after the bed change: the sums of the bed, the suspension, the
// bed movement and the defect ratios.
void sumSedimentMasses();

// Whether this step writes the continuity report: every step with debug
// letter D or E, the print steps with J.
bool continuityReportDue();

// The continuity report with its fraction-sum stop, then the "scour" and
// "inconc.res" rows.
void writeContinuityReport();

// Debug letter H: the suspended volume per size and one "bootime" row.
void writeBootimeRow();

// Everything the loop does for its masses after the bed change of a step:
// the sums, the report when due and the "bootime" row with H.
void stepMassReport();

// Debug letter P: the stage stamps otime[34..52] of the step and its
// sediment computation time, which adds to otimeSedimsolve.
void logSedimentStepTimes();

// The end-of-run report up to the bed statistics, before the concentration
// restart file is written.
void endOfRunReport();

// The rest of the end-of-run report, after the concentration restart file:
// time-averaged depth and shears, total bed change, slides, measured bed
// changes and stage times.
void endOfRunReportTail();
