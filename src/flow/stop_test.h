// The iteration report and the stop test at the end of every inner
// iteration: 1 when the driver must stop (converged, diverged, continuity
// error, debug stop), 0 to go on.
#pragma once

int printEndWaterSolve(int inner);
