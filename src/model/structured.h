// The arrays of the structured grid, indexed by grid line (i, j) with
// i = 0..xnumber+1 and j = 0..ynumber+1 (j fastest), and a few tables sized
// with them. sialloc creates them once "control" has given their sizes.
#pragma once

class TableAllocator;

inline double **xval;        // x of grid point (i, j), m
inline double **yval;        // y of grid point (i, j), m
inline double ***zval;       // [i][j][k] grid levels, m: k = 1 bed, znumber surface; k = 0 bottom cell number
inline double **P;           // work array of the elliptic grid smoother
inline double **Q;           // work array of the elliptic grid smoother
inline double ***Surfaces;   // [plane 0..4 or 0..7][i][j] level planes, m (0 original bed, 3 non-erodible)
inline double **armap;       // plan area of column (i, j), m2
inline double **roughness;   // roughness of column (i, j), m
inline double **psc;         // [max(nx, ny)+2][max(ny, nz)+2] scratch table that no routine reads
inline int **pointbed;       // bed cell of column (i, j), 1..NoBCells, 0 none
inline int **bedOutBlock;    // 1 for a column taken out of the grid (G 13)
inline double **SedSamp;     // [20][20] table that no routine reads
inline int **pointcell;      // cell index of column (i, j) of the second grid generator (F 488)
inline int **pointcell_old;  // bottom cell of column (i, j) before the last grid regeneration
inline int ***pointnest;     // [i][j][0..1] nesting integers of grid point (i, j) (F 261, F 238)
inline int **wetdryCornerFlag;       // corner marks of the corner smoother (F 425)
inline double **bedStatDepth;        // [0..BedStatI2+1][0..BedStatJ2+1] depth statistics (F 358), m
inline double **bedStatBed;          // the F 358 window: bed-level statistics, m
inline double **bedStatDev;          // the F 358 window: deviation of the bed level, m
inline double **bedStatK;            // the F 358 window: fourth statistic
inline constexpr int kMaxBaggerOperations = 100;  // T records of "bagger" the tables can hold
inline constexpr int kMaxBaggerAreas = 20;        // N records of one operation
inline double ***baggerZval;         // [operation 0..MaxNoBagger-1][i][j] dredging level, m
inline double *zugabeZval;           // [operation] dumping level, m
inline double **baggerTime;          // [operation][0..1] start and end of the dredging period, s
inline double **zugabeFractions;     // [operation][size 0..lnumber] fractions of the dumped material
inline int *baggerFlags;             // [operation] 0 cut to levels, 2 fed thickness, 4 thickness per point, 5 E
inline int ***baggerAreas;           // [operation][area 0..19][0..3] i1, i2, j1, j2 of the grid points
inline int *NoBaggerAreas;           // [operation] areas read
inline double *baggerLevels;         // [operation] level of the L record, m (kept, not used)
inline double *baggerApplied;        // [operation] fraction of the window applied so far
inline double ***baggerRest;         // [operation][i][j] cut still to come in column (i, j), m; -1 before it starts
inline double **baggerCut;           // [i][j] cut of column (i, j) in this step, waiting for the bed change, m
inline double **PresRegresSumPres;   // surface-pressure regression (F 143): sum of pressures, Pa
inline double **PresRegresSumXPres;  // surface-pressure regression: sum of step times pressure
inline int **PresRegresSumX;         // surface-pressure regression: sum of the steps
inline int **PresRegresSumXX;        // surface-pressure regression: sum of the squared steps
inline int **PresRegresN;            // surface-pressure regression: number of samples
inline double ***Tinspace;           // [level 0..InspaceAlloc+1][size][point] "inspace" concentrations
inline double *TinspaceTime;         // [level] time of each "inspace" level, s

// Planes of Surfaces: 5, or 8 when a slide layer, the bed statistics or the
// groundwater layer uses planes 5 to 7.
int surfacePlanes();

// Allocates the structured arrays, in their fixed order, up to the regression sums.
void allocateStructuredArrays(TableAllocator &allocator);

// Allocates the "inspace" tables (F 294), TinspaceTime last.
void allocateInspaceTables(TableAllocator &allocator);
