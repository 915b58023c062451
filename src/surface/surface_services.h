// Free-surface operations as the run letters call them.
#pragma once

void backwater();  // backwater-curve water levels along block 1 (letter Q)
