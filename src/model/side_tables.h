// The tables of the side files read with "control": the cyclic inflow
// profile ("cyclic"), the inflow cross-section ("inflow") and the inflow
// concentrations per grain size ("inspace"). Fixed arrays, read once by kread.
#pragma once

#include "model/settings.h"

// "cyclic": one entry per vertical level 1..znumber (znumber is at most 4997).
inline constexpr int kCyclicLevels = kMaxZdistrib;
inline double cyclicU[kCyclicLevels];  // velocity of the cyclic inflow profile per level, m/s
inline double cyclicK[kCyclicLevels];  // turbulent kinetic energy per level, m2/s2
inline double cyclicE[kCyclicLevels];  // dissipation per level, m2/s3
inline int FlagHaveReadCyclic;         // 1 once a profile of more than one level was read

// "inflow": [j 0..499 point of the cross-section][k 0..49 vertical level].
inline constexpr int kInflowPoints = 500;
inline constexpr int kInflowLevels = 50;
inline constexpr int kInflowRow = 51;
inline double inflowu[kInflowPoints][kInflowRow];   // velocity in x, m/s
inline double inflowv[kInflowPoints][kInflowRow];   // velocity in y, m/s
inline double infloww[kInflowPoints][kInflowRow];   // velocity in z, m/s
inline double inflowki[kInflowPoints][kInflowRow];  // turbulent kinetic energy, m2/s2
inline double inflowe[kInflowPoints][kInflowRow];   // dissipation, m2/s3
inline int inflowj;                                 // largest j read
inline int inflowk;                                 // largest k read

// "inspace": ten coefficients per grain size n at entries 20n+1..20n+10, sizes 1..19.
inline constexpr int kInspaceEntries = 400;
inline constexpr int kInspaceSizes = 19;
inline double inspace[kInspaceEntries];
inline int FlagInspace;    // the integer of the A data set
inline int InspaceTimeNo;  // T data sets read (time levels of Tinspace in use)

// Start values before "control" is read.
void setSideTableDefaults();
