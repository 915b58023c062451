// Blocks the grid generator appends to the blocks of the structured grid: the
// threefold refined patch of F 130, the one-cell-per-column block of the
// hydrostatic and shallow-water solvers, and the soil layer under block 1.
#pragma once

// Cuts the F 130 rectangle out of the base grid and appends a block of three
// times the resolution, framed by transition columns, with its twelve
// connection records. Appends once a run; later generations keep the block.
void UnstrucTett();

// One cell per wet column of every other block, bed to surface (F 68).
void HydroStaticMake();

// One cell per column of block 1, wet or dry, on the structured levels (F 311).
void HydroStaticMake2();

// The split soil layer after block b: 0, or minus the largest count when the
// tables of F 65 are too small (logged, "koosurf" and "control.new" written).
int UnstrucThixo3(int b);

// The unsplit soil layer after block b (F 289 second value not 0).
void UnstrucThixo2(int b);

// The layer of F 236 2+ or F 262 cannot stand under the one-cell block of
// F 68 or F 311: the run ends with -5 when both are asked for.
void refuseLayerWithOneCellBlock();
