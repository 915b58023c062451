// Sediment operations that are not built yet: each does nothing.
#include "sediment/sediment_services.h"

int concRijn() { return 0; }
void morphology_tsc() {}
