// The iteration report and the stop test at the end of every inner
// iteration: 1 when the driver must stop (converged, diverged, continuity
// error, debug stop), 0 to go on.
#pragma once

int printEndWaterSolve(int inner);

// The special report line that P 11 selects (1 amount of component 1,
// 2 mean surface concentration, 3 mean top velocity, 4 grid sizes, 5 the
// bed-shear profile); kinds above highestKind write nothing.
void specialReportLine(int highestKind);
