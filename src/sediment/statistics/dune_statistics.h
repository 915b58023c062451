// The dune statistics of the sediment loop (F 370): crests and troughs of the
// bed along the grid line j = WriteDuneJ1, each dune's height, length, depth,
// velocity and mixing parameters, and the speed at which the crests move.
#pragma once

// Appends the call's mean row to "dune" and one row per dune to "dunediff",
// and writes "dunevert" anew with the accumulated vertical profile of the
// diffusion parameter. The first call creates "dune" and "dunediff".
void writeDune();
