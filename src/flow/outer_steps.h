// Steps that the flow drivers share: the changes of the grid taken at the
// head of an inner iteration, the old-time fields of a time step and the
// samples of the surface-pressure regression.
#pragma once

// Over the work range the old-time fields (and with F 62 1 the components)
// take the current ones; stimet advances by TimeStep.
void shiftOldFields();

// One sample of the top-cell pressure of every column of the base grid for
// the least-squares surface update (F 143).
void pressureRegression();

// At the head of an inner iteration: after another subsystem changed the
// grid (FlagGridChange) the geometry, start values, boundary conditions and
// face fluxes are made anew; after a change of the flow parameters
// (FlagFlowParamChange) the structured tables are completed. Both flags are
// cleared.
void takeGridChanges();
