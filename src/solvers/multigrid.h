// The depth-summed levels of the two-dimensional accelerator (F 168): one
// level cell per wet water column, then 2x2 agglomerations, written after the
// grid's own blocks and cells without changing their counts.
#pragma once

// Builds the levels from the current columns: level m in block NoBlocks + m,
// its cells numbered after NoCells, linked to their neighbours, their parent
// and their children in MGSCpoint; sets NoMGlevels (0 when no block takes
// part) and clears the level records after the last level.
void AlgMGMake();

// The block of the first level (the first block after the grid's own with a
// positive BlockKind), or 0 when no level exists.
int firstLevelBlock();

// Level m (2 and up) from the 2x2 groups of level m - 1 over the working
// blocks: the cells numbered after `last` (which follows them), num[i][j][m]
// and the links of AlgMGMake inside the blocks.
void agglomerateLevel(int m, int &last);
