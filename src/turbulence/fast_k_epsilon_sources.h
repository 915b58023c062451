// The k and epsilon sources of the fast flow driver (F 170), in rows 3 and 4
// of its five-row arrays Csourcem and CinvApf.
#pragma once

// Over WCStart..WCEnd: the shear production of k (cells without a wall face),
// the production of epsilon from it, and the dissipation coefficients of k
// and epsilon; nothing for models 2 to 7.
void turbulenceFast();
