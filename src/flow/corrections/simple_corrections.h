// The SIMPLE correction: the solved pressure correction corrects the face
// fluxes, the cell velocities and Cpres.
#pragma once

// Corrects faces firstFace..lastFace and cells firstCell..lastCell.
void SimpleCorrections(int firstFace, int lastFace, int firstCell, int lastCell);
// The same over the whole ranges, chunk k of the faces with chunk k of the
// cells on the F 206 threads, the whole-field steps once (the p' filter before
// the chunks, the corner-column pressure after them). The drivers call this,
// never SimpleCorrections inside a region of their own: a step not yet in the
// engine must end the run on the calling thread.
void SimpleCorrectionsRegion(int firstFace, int lastFace, int firstCell, int lastCell);
