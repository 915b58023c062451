// The water-flow drivers and their preparation, as the run letters call them.
#pragma once

void computeWCStart();         // work ranges of cells and faces
void startup();                // relaxation, residual norms, start fields
void WaterSolve();             // main pressure-correction driver
void WaterSolveNew();          // modular driver (F 328 = 1)
void WaterSolveFast();         // fast driver (F 170 > 0)
void WaterSolveHydrostatic();  // hydrostatic driver (F 68 = 1)
void WaterSolve2D();           // depth-averaged driver (F 68 = 3)
void MGSsolver();              // coarse-to-fine multigrid levels (F 152 > 0)
int shallowWater();            // explicit two-dimensional scheme (letter L)
void setFluxes();              // discharge groups generated at the ends of block 1 (F 314)
void InterpolateBoundary();    // discharge groups onto the faces of the current grid
