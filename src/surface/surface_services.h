// Free-surface operations as the run letters and the flow drivers call them.
#pragma once

void backwater();  // backwater-curve water levels along block 1 (letter Q)

// The free-surface updates that the flow driver calls; "F 36" chooses them.
void surface();               // steady level update of the grid (F 36 2..10, 21, 30; G 6)
void SetiPresjPres();         // reference column of the surface pressure
void surface_tfs(int, int);   // transient free surface (F 36 1, 11..19)
void surface_LS_update();     // level-set surface update (F 36 50)
void surface_LS();            // level-set surface in the pressure stage (F 36 50)
void computeSetPresZero();    // surface pressure set to zero (F 128; F 549 after a divergence remedy)

// Relaxes the field Cf points at over the bottom cells of the blocks whose
// surface is updated, with the coefficient set the caller has filled.
void surfaceSolver(int algorithm);

// Corrections of the new levels in the tail of a surface update, and the
// grid services around it.
void surfaceEdge(double z);        // edge levels (F 187)
void surface_smoother();           // surface smoothing (F 154)
void reducePonds();                // pond reduction (F 379)
void NoGridSplit();                // levels keeping cross-sections connected (F 371)
void NoGridSplitRise();            // the same after the update (F 371)
void smoothNewCorners();           // newly wet corners (F 425)
void interpolateSurfaceNested();   // levels of nested blocks (F 238 3, 5)
void scalePressureNested();        // pressure of nested blocks (F 238 4)
