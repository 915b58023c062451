// Sediment that enters with the water of the inflow discharge groups: each
// cell behind an inflow face gets the sediment the water carries as a
// source (what leaves the cell is in its conservative centre coefficient). The concentration
// comes from "timei" or the M data sets, from the outflow (cyclic sediment),
// or from the "inspace" polynomial; "outconc" records the outflow.
#pragma once

// One grain size: into Csource.
void InflowSediment();

// Size l of several: into Csourcem[l]; the loop calls it for
// l = 1..lnumber in order.
void InflowSedimentM(int l);

// The returned concentration of cyclic mode `mode` (1..7 and above) from the
// previous step's value `previous` (-1 none yet), the mean outflow
// concentration and the inflow concentration of the step; `factor` scales it.
double cyclicConcentration(int mode, double previous, double outflow, double inflow, double factor);
