// Measured bed points: the reader of the bed-point files, the plan tests of
// a point against triangles and cells, and the routines that turn the points
// into bed levels (letter V) and a roughness map (letter K).
#pragma once

#include <cstdio>

// Reads the first bed-point file that opens ("geodata", "geodatk", "geodatm",
// "geodatn", the raster "mirvane"; "geodata.mpi%d" in a partitioned run) into
// NoGeo, xg, yg, zg and ig, truncating "boogie.bed" with its report. A raster
// read while no block exists also becomes block 1 of the structured grid.
// Returns -1 when "boogie.bed" cannot be opened, -2 when no file opens, else
// the bytes of the point arrays that could not be obtained (0 on success).
double readGeodata();

// Appends one printf-formatted line to the side log in a single write, so
// that lines of threads working at once never interleave.
void bedLogLine(std::FILE *log, const char *format, ...) __attribute__((format(printf, 2, 3)));

// 1 when (x, y) lies inside or on a clockwise triangle 1-2-3, -1 inside or on a
// counter-clockwise one, 0 outside.
int insideTriangle(double x, double y, double x1, double y1, double x2, double y2, double x3, double y3);

// 1 when the point lies strictly left of each edge 1-2, 2-3, 3-4, 4-1 of the
// bottom corners of cell c, else 0: for the bed point n, or the tracer n.
int insideQuadCellGeo(int n, int c);
int insideQuadCellTrace(int n, int c);

// 1 when (x, y) lies strictly right of each edge 1-2, 2-3, 3-4, 4-1, else 0.
int insideQuad(double x, double y, double x1, double y1, double x2, double y2, double x3, double y3, double x4,
               double y4);

// 1 when the bed point n lies left of or on each edge of the triangle xDelGeo,
// yDelGeo[1..3], else 0.
int insideTriGeo(int n);

// Marks ig = 1 for the bed points inside the triangle xDelGeo, yDelGeo[1..3]
// and returns 0; -1 (nothing marked) when the triangle is clockwise.
int delGeodataValues();

// Copies the bed levels of nested blocks onto the coarser grid points that
// lie inside them and near one of their columns; returns NoBlocks.
int nestbedinterpol();

// The steps of the roughness map before and after the fill: the fill
// equation of the bottom cells of block 1 with Cf on Croughness (columns
// holding bed points fixed at the mean scatter of their points), and the
// results stored per column and in "bedrough.new" (false when the file
// cannot be written).
void setRoughnessFill();
bool storeRoughness();
