// The monitoring points of "interpol" and the time-averaged vertical
// profiles sampled at them during the sediment time loop.
#pragma once

// Reads "interpol" once per run into the point table (NoInterpol -2 when
// the file cannot be opened).
void readInterpol();

// One profile sample at the first four points (entry 10 of F 329 = 19).
void makeDarnevoli();

// The profile tables hold this many points; later points get no profile.
inline constexpr int kProfilePoints = 4;
inline constexpr int kProfileLevels = 200;

// The four cells around a point at the surface and their weights: the top
// cell c whose corner point 1 lies nearest (a strictly smaller distance
// wins, ties go to the lower cell, nothing beyond 10,000 m), its south and
// west neighbours and the cell south of the west one (or west of the south
// one). Weights 1 / (d + 1e-6) of the distance to each cell centre, 0 for a
// missing cell. found is false when no top cell lies within 10,000 m; the
// cells are then all 0.
struct PointCells {
  int cell[4];  // c, s, w, sw
  double weight[4];
  bool found;
};

// Indexes the top cells of the present grid; call once before the points.
void indexTopCells();
PointCells pointCells(double x, double y);
