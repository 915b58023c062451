// Weirs of G 28 in the Casulli level equation.
#pragma once

// Fixes the level of every weir's columns (their bottom cells in the level
// equation) at crest plus the head the discharge over the weir needs.
void computeWeirs();
