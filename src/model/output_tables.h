// Small output and tracer tables that the allocator creates with the grid
// tables: the time-series print selection, the bed tracers and the vertical
// profiles of the interpolated-result writer.
#pragma once

class TableAllocator;

inline int **TimePrinti;     // [set 0..19][item 0..24] print indexes (no routine reads them)
inline int **TimePrintl;     // [set][item] print levels (no routine reads them)
inline char **TimePrintVar;  // [set][item] print letters (no routine reads them)
inline double *tracerX;      // [tracer 0..999] x of the tracer, m (F 424)
inline double *tracerY;      // [tracer] y of the tracer, m
inline double *DiamTracer;   // [tracer] diameter of the tracer, m
inline int *BedTracer;       // [tracer] bed cell of the tracer
inline double **koxz;        // [profile 0..3][level 0..199] level of a profile point, m (F 329 entry 10 = 19)
inline double **koxxvel;     // [profile][level] velocity in x, m/s
inline double **koxyvel;     // [profile][level] velocity in y, m/s
inline double **koxzvel;     // [profile][level] velocity in z, m/s
inline double **koxk;        // [profile][level] turbulent kinetic energy, m2/s2
inline double **koxeps;      // [profile][level] dissipation, m2/s3
inline double ***koxc;       // [profile][level][size 0..lnumber] concentration

// The points of "interpol", numbered from 0 in file order (NoInterpol of
// them; -1 before the file is read, -2 when it could not be opened).
inline constexpr int kMaxInterpolPoints = 10000;
inline double xint[kMaxInterpolPoints], yint[kMaxInterpolPoints];  // plan position, m
inline double timeint[kMaxInterpolPoints];  // T points: the simulated time of the report, s
inline int cint[kMaxInterpolPoints];        // 1 when a C key ends a polyline at the point
inline int timeFlags[kMaxInterpolPoints];   // 1 for a T point whose report is still due
inline double bechStanddev;  // sum of |computed - measured bed change| of the N points, m

// Allocates the output and tracer tables.
void allocateOutputTables(TableAllocator &allocator);
