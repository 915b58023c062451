// The sections that the grid file and the restart file share: points, cell
// and face connectivity, blocks, block connections, connected face pairs,
// discharge groups, surface groups and the nested-border list, written and
// read in one layout so that both files hold the grid the same way.
#pragma once

#include <cstdio>

class RecordReader;

// How the doubles of a section are written: "%lf" (1 µm, the grid file) or
// the shortest text that reads back to the same double (the restart file).
enum class DoubleText { Fixed, Exact };

void putDouble(std::FILE *f, double value, DoubleText style);

// The counts a file is written with: the base grid, the nest faces and the points.
struct StoredCounts {
  int cells, faces, blocks, connections, facePairs, nests, points;
};
StoredCounts storedCounts();

void writePoints(std::FILE *f, int count, DoubleText style);
void writeCellConnectivity(std::FILE *f, int cell);  // the twenty integers, "%d " each, and a newline
void writeCells(std::FILE *f, int count);
void writeFaces(std::FILE *f, int count);
void writeBlocks(std::FILE *f, int count, DoubleText style);
void writeConnections(std::FILE *f, int count);
void writeFacePairs(std::FILE *f, int count);
// Discharge groups 1..9 with their face lists and polygons.
void writeDischargeGroups(std::FILE *f, DoubleText style);
void writeSurfaceGroups(std::FILE *f, DoubleText style);
void writeNesting(std::FILE *f, int count, DoubleText style);

// The readers fill the tables from the counts in NoPoints, NoCells,
// NoSurfaces, NoBlocks, NoConnect, NoConnFlate and NoNestflater; an index
// outside its table refuses the file.
void readPoints(RecordReader &in);
void readCellConnectivity(RecordReader &in, int cell);
void readCells(RecordReader &in);
void readFaces(RecordReader &in);
// One block line into block[b]; 0, or -54 when j2 is ynumber or more, -55
// when i2 is xnumber or more. WorkFlag is 1 when i2 is above 2.
int readBlockLine(RecordReader &in, int b);
void readConnections(RecordReader &in);
void readFacePairs(RecordReader &in);

// Discharge groups 1..9 in the layout of format code (0: the older line
// without polygons); listsEndAtText: a face list ends early at an entry that
// is not a number (the restart file), otherwise that refuses the file.
void readDischargeGroups(RecordReader &in, int code, bool listsEndAtText);
void readSurfaceGroups(RecordReader &in);
void readNesting(RecordReader &in);

// The table sizes that a file's header must fit, refused with the grid
// file's or restart file's capacity message (exit -5).
bool countsFitTables();
// Counts outside the fixed tables or below zero refuse the file.
void checkFixedCounts(RecordReader &in);

// The discharges of F 237 and the boundary kinds of F 263 over the groups read.
void applyGroupOverrides();
