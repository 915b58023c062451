// The work ranges: which cells, faces and bed cells the builders, solvers and
// sediment routines treat. Inclusive at both ends; a start above its end is empty.
#pragma once

inline int WCStart, WCEnd;  // cells
inline int WFStart, WFEnd;  // faces
inline int WBStart, WBEnd;  // bed cells

// Every cell and face of the grid: the cell and face counts live in cells.h
// and faces.h, so the callers pass them.
inline void setWholeGridRange(int cells, int faces) {
  WCStart = WFStart = 1;
  WCEnd = cells;
  WFEnd = faces;
}
