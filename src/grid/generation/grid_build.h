// The routines the grid generator calls block by block: plan areas, depth
// thresholds, line and cell counts per column, the stability filters, the
// two cell builders and the joins between blocks.
#pragma once

// F 369: ends the run (-1) after its report when a level of grid point (i, j)
// lies outside -1000..10000 m or is not a number.
void checkGridLevels(int i, int j);

// Plan area armap of every column of the blocks of the base grid.
void ArmapMake();

// MinVertDist1 = 0.1·sqrt(largest column area), MinVertDist0 = 0.05·MinVertDist1.
void computeF94();

// Vertical line counts antlin of the grid lines i1-1..i2, j1-1..j2 from the
// depth, with the depth scale s = ratio / (MaxDepth + 1e-10).
void MakeAntlin(int i1, int i2, int j1, int j2, double s);

// Cell counts ant of the columns i1..i2, j1..j2 from their corner line counts.
void MakeAnt(int i1, int i2, int j1, int j2);

// Filters of the line counts of one block (between MakeAntlin and MakeAnt).
void Grid1Stability(int i1, int i2, int j1, int j2);

// Filters of the cell counts of one block (after MakeAnt).
void Grid2Stability(int i1, int i2, int j1, int j2);

// F 394 above 1000: marks the grid edges of block 1 that water can pass
// (ridgeI towards i+1, ridgeJ towards j+1) from the line counts.
void makeRidge();

// F 394: columns of block 1 that no discharge group reaches lose their cells.
void removePonds();

// Append cell number `cell` from NewCell: its points, faces and links. Neither
// tests room: the caller keeps space for eight points and six faces.
int MakeCell(int cell);
int MakeCellNew(int cell, int i, int j, int k);

// 1 when edge a-b matches edge c-d point by point in plan, 2 when reversed, else 0.
int checkXY(double xa, double xb, double xc, double xd, double ya, double yb, double yc, double yd);

// Joins the free side `side` (lower corners pa, pb) of the top cell `cell` to the
// first matching free side of another column: 1 joined, 0 no match, -47 list full.
inline constexpr int kConnectListFull = -47;
int Connect(int pa, int pb, int cell, int side);

// F 348: joins the cells of two blocks whose shared boundary has different
// rows on its two sides, each to the cell at the nearest level.
void connectUneven();

// Offers every free side of every top cell, in rising cell order, to the
// search of Connect; 0, or kConnectListFull at the first pair that does not fit.
int connectBlockSides();

// Lists the faces on the outer border of every nested block (Npcelle,
// Npflate, Npblock, NoNestflater) and marks the cells of nested blocks with
// CflagDim 2; 0, or kNestListFull when the list is full.
inline constexpr int kNestListFull = -46;
int computeNestedArrays();

// Flow flag of a side face of near-zero area at the boundary: 2 when the
// bottom cell of the face's column has a neighbour across the same side and
// the face lies above it, else 0.
int findFlagflowTriangle(int face);

// The water edge of the built grid, after the bed cells are linked: with
// F 102 (and a collapsing F 64 method) the waterline moves, the collapse
// variant of F 493, the regrouping of the codes and, with F 390 1, the reset
// of the inflow edge, in this order.
void reshapeWaterEdge();

// Dry corners of shoreline columns slide along a side to the threshold depth
// of F 102; with F 159 fifth value 6 shallow dry sides fold onto a corner.
void UnstrucHorMove();

// The corners of the inflow edge of block 1 go back onto their grid lines.
void FixInflowCells();

// The standard collapse (F 493 0): tip corners of water-edge columns are
// pulled inwards or merged; single-cell columns get the code 1..4.
void UnstrucTriangular();

// The alternative collapse variants of F 493 1 to 6.
void UnstrucTriangular0();
void UnstrucTriangular2();
void UnstrucTriangular3();
void UnstrucTriangular4();
void UnstrucTriangular5();
void UnstrucTriangular6();

// Regroups the codes 1..4 of neighbouring collapsed cells into 5..24 when
// F 235 (or the first value of F 245) is 1..30.
void setCorrTrekant();
