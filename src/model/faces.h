// The faces of the unstructured grid ("surfaces" in counters and messages):
// parallel arrays indexed by face number, 1..NoSurfaces, allocated once to
// the F 65 capacity MaxFlater. Area vectors point from Fcell1 to Fcell2.
#pragma once

class TableAllocator;

inline int NoSurfaces;  // faces in use
inline int NoSurfaces0;  // faces of the base grid, as NoCells0

inline int *Fcell1;     // cell whose east, north or top side the face is, 0 none
inline int *Fcell2;     // cell whose west, south or bottom side the face is, 0 at a boundary
inline int *Fcell11;    // cell beyond Fcell1
inline int *Fcell22;    // cell beyond Fcell2
inline int *Ftype1;     // side 1..6 of the face as seen from Fcell1
inline int *Ftype2;     // side 1..6 of the face as seen from Fcell2
inline int *Fflagflow;  // 1 flow, 0 closed without friction, -1 wall, 2 small side face
inline int *Fpoint1;    // corner 1 of the face, point number
inline int *Fpoint2;    // corner 2 of the face
inline int *Fpoint3;    // corner 3 of the face
inline int *Fpoint4;    // corner 4 of the face
inline int *Fin;        // inflow mark of the face
inline int *Fqndum;     // work mark of independently layered columns
inline double *Fflux;   // mass flux from Fcell1 to Fcell2, kg/s
inline double *Fdgrad;  // gradient work value of the face
inline double *Fdz;     // vertical extent of the face, m
inline double *Farea;   // face area, m2
inline double *Fdist1;  // distance from the face to the centre of Fcell1, m
inline double *Fdist2;  // distance from the face to the centre of Fcell2, m
inline double *Fax;     // area vector, x component, m2
inline double *Fay;     // area vector, y component, m2
inline double *Faz;     // area vector, z component, m2
inline double *Fvx;     // unit normal, x component
inline double *Fvy;     // unit normal, y component
inline double *Fvz;     // unit normal, z component
inline double **FF;     // [0..3][face] shallow-water fluxes in x (F 311)
inline double **FG;     // [0..3][face] shallow-water fluxes in y (F 311)

// Allocates the face tables to MaxFlater.
void allocateFaceTables(TableAllocator &allocator);
