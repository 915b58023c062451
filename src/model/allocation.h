// Allocation of the global tables: every pointer starts null; the structured
// arrays follow G 1, the cell, face, point and bed tables the F 65 capacities.
#pragma once

// Sets every table pointer to null.
void SetArraysZero();

// Allocates the unstructured tables once; returns the bytes allocated, or a
// value below -0.01 when memory ran out.
double AllocateArrays(int cells, int faces, int points);
