// Line (TDMA) solver of the current Equation along the water columns.
#pragma once

void solverTDMA();
