// Sediment transport as the run letters call it.
#pragma once

int concRijn();         // bed concentrations by van Rijn (letter I)
void morphology_tsc();  // the sediment time loop (letter S)
