// The nested-border list: one entry per face on the border of a nested block,
// 1..NoNestflater, allocated once to the F 65 capacity MaxNester (none at 0).
#pragma once

class TableAllocator;

inline int **Ncell;        // [entry][0..3] the four coarse cells interpolated for the entry
inline int *Ninoutwall;    // [entry] mark of the border face
inline int *Npflate;       // [entry] border face
inline int *Npcelle;       // [entry] cell inside the nested block at the face
inline int *Npblock;       // [entry] nested block of the face
inline double ***Nvect;    // [entry][0..3][0..2] vectors to the four coarse cells, m
inline double **Nweight;   // [entry][0..3] weights of the four coarse cells
inline double *Nflux;      // [entry] volume flux through the border face, m3/s

// Allocates the nested-border list to MaxNester when it is above 0.
void allocateNestTables(TableAllocator &allocator);
