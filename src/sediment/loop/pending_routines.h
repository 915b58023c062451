// Routines of the sediment run that the engine does not have yet. Each ends
// the run with the "not available yet" line naming the data set that reached
// it; the sediment loop calls them through the operations table.
#pragma once

void computeSlideBlock();                       // F 236 3
