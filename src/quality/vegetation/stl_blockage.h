// Blockage profiles of a solid body given as a closed triangulated surface.
#pragma once

struct StlTriangle {
  double x[3], y[3], z[3];
};

// Elevation of the plane through the triangle's corners at (x, y).
double computeVegdataVertLevel(const StlTriangle &t, double x, double y);

// Sorts the crossings of each block-1 column by elevation and removes a
// crossing found twice on an edge shared by two triangles.
void computeVegdataBubblesort();

// Letter P: "vegdata.sl" with N records from "stlfile.stl" and the first
// corner of every triangle as a bed point in "geodata.sl". Returns 0, or -1
// without triangles or memory.
int computeVegdataFromSTL();
