// Minimum water levels of the columns of block 1 that keep every cross-section
// connected when the surface falls, the flow path they can follow, and the
// small column helpers these routines share.
#pragma once

#include <cmath>

#include "model/cells.h"
#include "model/settings.h"
#include "model/structured.h"

// The margin depth above the bed for the chosen method (F 371), m.
double minimumLevelMargin(int method);

void computeMinwaterlevel2();  // Froude limit per wet stretch (F 371 7, 8)
void computeMinwaterlevel3();  // Froude limit per cross-section from the fluxes; no caller
void computeMinwaterlevel4();  // Froude limit per cross-section by iteration (F 371 9)

// The path from the first to the last cross-section of block 1 (F 371 48 and
// above): each column on it gets its mean bed plus D.
void walkFlowPath(double D);
void riseNeighbours(int i, int j, double zb, double D);
void computeCriticalCross();
void computeSurfLevFroude(int h);

namespace columns {

// Bottom cell of column (i, j), 0 when dry.
inline int bottomCell(int i, int j) { return static_cast<int>(zval[i][j][0]); }

inline int topCell(int c) {
  while (Ccellt[c] > 0) c = Ccellt[c];
  return c;
}

inline double speed(int c) { return std::sqrt(Cxvel[c] * Cxvel[c] + Cyvel[c] * Cyvel[c]); }

// Mean of the bed levels of the four corner points of column (i, j), m.
inline double meanBed(int i, int j) {
  return 0.25 * (zval[i][j][1] + zval[i - 1][j][1] + zval[i][j - 1][1] + zval[i - 1][j - 1][1]);
}

inline double lowestBed(int i, int j) {
  return std::fmin(std::fmin(zval[i][j][1], zval[i - 1][j][1]), std::fmin(zval[i][j - 1][1], zval[i - 1][j - 1][1]));
}

}  // namespace columns
