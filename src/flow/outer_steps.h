// Steps of an outer iteration that the flow drivers share: the old-time
// fields of a time step and the samples of the surface-pressure regression.
#pragma once

// Over the work range the old-time fields (and with F 62 1 the components)
// take the current ones; stimet advances by TimeStep.
void shiftOldFields();

// One sample of the top-cell pressure of every column of the base grid for
// the least-squares surface update (F 143).
void pressureRegression();
