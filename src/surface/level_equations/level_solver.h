// The two-dimensional level solver: one equation per wet water column, held
// at its bottom cell, relaxed in place in Cf; and the check of suspect
// equations that F 369 1 asks for.
#pragma once

// surfaceSolver (declared with the other free-surface operations) takes one
// of these codes; any other code sweeps nothing.
inline constexpr int kSurfaceSolverFivePoint = 4;        // double sweeps over the blocks' cells
inline constexpr int kSurfaceSolverFivePointFloor = 43;  // the same, raised to BLevFroude
inline constexpr int kSurfaceSolverNinePoint = 8;        // four structured sweeps per iteration
inline constexpr int kSurfaceSolverNinePointFloor = 83;  // the same, raised to BLevFroude
inline constexpr int kSurfaceSolverThreePasses = 42;     // three passes from the downstream end
inline constexpr int kSurfaceSolverLevelSet = 41;        // the level-set change in Bdeltah

// Logs every bottom cell whose equation or value looks wrong, and the mean
// centre coefficient, source and value of the treated columns (F 36 4, 7).
// `location` tells the reader who called.
void surfaceBugtrap(int location);
