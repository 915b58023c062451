// Grid blocks and discharge groups: the fixed record tables that describe how
// the structured grid is cut into blocks and where water enters and leaves.
#pragma once

// One block of water columns of the structured grid (records 1..NoBlocks).
struct GridBlock {
  int i1, i2, j1, j2;              // column ranges in the structured index space
  int FirstBedCell, LastBedCell;   // bed-cell range
  int NestLevel;                   // 0 ordinary block, above 0 nested inside a coarser one
  int BlockKind;                   // 0 3D, 1 one cell per column (hydrostatic), 2 two-dimensional
  int k1, k2;                      // 1 and the highest grid level for a depth-sized block
  int GridLevel;                   // 0 base grid, 2 and up multigrid levels
  int WorkFlag;                    // 1 when in the current sediment and bed work range
  int InitFlag;                    // 1 once initialised; nothing reads it
  int LayerMark;                   // 1 an appended mud, slide or groundwater layer
  int KoosurfFlag;                 // 1 for blocks made from "koosurf" or refined
  int ExtraFlag;                   // 0 for every block made
  int RefSearchFlag;               // 1 where the reference water level is searched
  int FirstCell, LastCell;         // cell range
  int FirstFace, LastFace;         // face range
  int FirstPoint, LastPoint;       // point range
  double BlockParam1, BlockParam2; // thickness and water level of a fixed-layer block, m
};

inline constexpr int kMaxBlocks = 100;
inline GridBlock block[kMaxBlocks];  // records 1..NoBlocks; record 0 is never a block
inline int NoBlocks;                 // blocks in use
inline int NoBlocks0;                // blocks of the base grid, as NoCells0

// Block connections: records 0..NoConnect-1 of six integers, the first four
// of which the grid and restart files carry.
inline constexpr int kMaxConnections = 200;
inline int conn[kMaxConnections][6];

// The cell the cell builders append next, written by the grid builders before
// every call. Corners 1-4 lie on the lower level at the grid points (i-1, j-1),
// (i, j-1), (i, j), (i-1, j) of the column, 5-8 above them; sides 1 south,
// 2 east, 3 north, 4 west, 5 bottom, 6 top. Slot 0 of every array is spare.
struct NewCellRecord {
  double x[9], y[9], z[9];  // corner coordinates, m
  int cell[7];              // neighbour cell per side, 0 none
  int face[7];              // existing face to share per side, 0 (or below 1) make a new one
};
inline NewCellRecord NewCell;

// One discharge group (records 1..9; record 0 keeps its defaults).
inline constexpr int kGroupFaces = 1000000;
inline constexpr int kGroupPolygonPoints = 5000;
inline constexpr int kGroupBedCells = 10000;
struct DischargeGroup {
  int type;            // 1 inflow, 0 outflow
  int boundaryKind;    // 0 "Dirichlet", 1 "zero gradient"
  int component;       // water-quality component of the concentration
  int fromLevel;       // lowest cell level of the group
  int toLevel;         // highest cell level of the group
  int faceCount;       // entries of the face list
  int polygonCount;    // polygon points
  double discharge;    // kg/s
  double concentration;
  double inflowK;      // k of the inflowing water, m2/s2
  double inflowEpsilon;// epsilon of the inflowing water, m2/s3
  double area;         // sum of the listed face areas, m2
  double polygonX[kGroupPolygonPoints];
  double polygonY[kGroupPolygonPoints];
  int faces[kGroupFaces];       // from entry 0
  int faceLevels[kGroupFaces];  // level of each listed face's cell, 1 = on the bed
  int bedCells[kGroupBedCells]; // entry 0 the count, then the bed cells
};

inline constexpr int kDischargeGroups = 10;
inline DischargeGroup DischargeStruct[kDischargeGroups];
inline double DischargeArray[30];  // discharge of group g in the current iteration, kg/s

// One surface load group (records 0..9): a component load spread over listed
// top cells; the grid files fill it.
inline constexpr int kSurfaceLoadCells = 100;
struct SurfaceDischarge {
  int component;                  // water-quality component of the load
  int cellCount;                  // entries of the cell list, at most 100
  double amount;                  // load of the group
  int cells[kSurfaceLoadCells];   // top cells receiving the load, from entry 0
};
inline SurfaceDischarge SurfDischargeStruct[kDischargeGroups];

// Sets the control-file reader's defaults of the block and group tables.
void setBlockAndGroupDefaults();
