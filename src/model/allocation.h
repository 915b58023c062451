// Allocation of the global tables: every pointer starts null; the structured
// arrays follow G 1, the cell, face, point and bed tables the F 65 capacities.
// Tables are zero-filled, allocated once and never freed.
#pragma once

// Sets every table pointer to null.
void SetArraysZero();

// Allocates the structured arrays whose pointers are still null; returns 0,
// or -1 when memory ran out (the log then holds the bytes reached).
int sialloc();

// Allocates the unstructured, bed-cell, series and output tables once;
// returns the bytes allocated, or -1 when memory ran out. A second call ends
// the process with -1. The arguments are not used.
double AllocateArrays(int cells, int faces, int points);

// Does nothing.
void show();
