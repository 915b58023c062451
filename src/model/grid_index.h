// The index arrays of the structured grid that the grid generator fills
// ([i][j], i = 0..xnumber+1, j = 0..ynumber+1, j fastest), the list of
// connected face pairs and the line-solver work vectors. AllocateArrays
// creates them once.
#pragma once

#include <cstdint>

class TableAllocator;

inline int **ant;            // cells of column (i, j), 0 none
inline int **antlin;         // vertical grid lines at grid point (i, j), 1 a dry line
inline int **antmin;         // work: smallest corner count of the column
inline int **antmax;         // work: largest corner count of the column
inline int **vv;             // work marks of the grid generator
inline int ***num;           // [i][j][k] cell number of cell index k of column (i, j), 0 none
inline int ***numc;          // [i][j][k] cell numbers of the grid methods F 64 14 and 15
inline int **crackI;         // crack marks in i of the grid method F 64 9
inline int **crackJ;         // crack marks in j of the grid method F 64 9
inline int **vn;             // marks of the grid method F 64 9
inline int **ridgeI;         // ridge marks in i of the pond removal (F 394 above 1000)
inline int **ridgeJ;         // ridge marks in j of the pond removal
inline int **antlinT;        // grid lines at grid point (i, j) of the second generator (F 488)
inline int **antT;           // cells of column (i, j) of the second generator
inline int **pointint;       // index marks of the second generator
inline int **intSurfI;       // surface index i of the second generator
inline int **intSurfJ;       // surface index j of the second generator
inline int **intSurfK;       // surface index k of the second generator
inline int **TurbFlag;       // zone marks of the second generator
inline double **thickturb;   // thickness of the lower zone of the second generator, m
inline double **thickturbIJ; // the same per column, m
inline double **TurbTop;     // top level of the lower zone of the second generator, m
inline double **bedshear;    // bed shear stress of column (i, j), Pa (F 499, F 189)

inline int NoConnFlate;      // connected face pairs in use
inline int NoConnFlate0;     // NoConnFlate once the blocks of the last generation were joined
inline int **connFlate;      // [n][0] west or south face, [n][1] east or north face, n = 1..NoConnFlate

inline double *Sqt;          // line-solver work vector, [0..max(nx, ny, nz)+1]
inline double *Spt;          // line-solver work vector, [0..max(nx, ny, nz)+1]

// Allocates the line-solver work vectors.
void allocateLineSolverVectors(TableAllocator &allocator);

// The third extent of num: the cell levels of a column and the multigrid
// levels that share it.
std::int64_t numDepth();

// Allocates the index arrays of the grid generator.
void allocateGridIndexArrays(TableAllocator &allocator);

// Allocates the connected face pairs to MaxConnFlate.
void allocateConnectionList(TableAllocator &allocator);
