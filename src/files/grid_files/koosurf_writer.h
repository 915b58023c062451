// The structured grid of block 1 written back as "koosurf" files.
#pragma once

// Writes block 1 to "koosurf.1" (i outer), "koosurf.2" (j outer), "koosurf.cor"
// (every second grid line), "koosurf.fin" and "koomin.fin" (refined by two).
// Returns silently when a file cannot be opened.
void writekoosurf();
