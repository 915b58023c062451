// Steps of the outer loop that the flow drivers share: the interval test,
// the largest residual, the report switch, the shift of the old time level
// and the pressure-regression sums.
#pragma once

// The largest of the six flow residuals; entries below 1e-90 become 0, and a
// residual that is not a number makes the largest not a number too.
double largestResidual();
// Which outer iterations write their report lines: 0 writes, 1 not. With
// `jRule` the debug letter J also reports every 100th iteration.
int reportSwitch(bool jRule);
// The old-time fields take the current ones, once per time step.
void shiftOldFields();
// The least-squares sums of the surface pressure of every column over the
// outer iterations, read by the surface update.
void pressureRegression();
// Bridge decks (G 22) and the shallow-face damping (F 341) act only in the
// modular driver: the other drivers log once per run and data set that
// they ignore them.
void warnModularOnlyInputs();
// The head of an inner iteration: after a grid change (FlagGridChange) the
// geometry, start values, boundary terms and face fluxes anew; after a
// parameter change the structured arrays that are missing.
void applyGridAndParameterChanges();
// The thixotropic damping of F 289 on the mud layer (block 2 when it is an
// appended layer, else block 1), from the second inner iteration on or in
// the first outer one; with `whileMudComputes` only while the mud layer is
// being computed.
void thixotropicDamping(int inner, bool whileMudComputes);
// The checks at the entry of a flow driver: the debug letter Q ends the run
// (-5), and F 308 is noted as not available in this build.
void checkFlowDriverEntry();
// The geometry, start values and (once per run) the boundary terms and face
// fluxes of the velocities in memory, for the drivers that carry on from
// the flow they find: the layer drivers and the components of letter C.
void prepareFlowInMemory();
// Empties the time-series output "timeo" at the start of a run that writes
// it; a file that cannot be opened ends the run (-3).
void emptyTimeSeriesOutput();
