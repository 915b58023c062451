// Sediment transport as the run letters call it.
#pragma once

#include "sediment/transport/near_bed_concentration.h"  // concRijn (letter I)

void morphology_tsc();  // the sediment time loop (letter S)
