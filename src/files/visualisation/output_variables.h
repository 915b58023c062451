// The output variables of G 24 that the Tecplot and ParaView writers add to
// their files: the name each writer gives a letter, and the value of a
// letter at a cell, its bed cell and column, or at a structured grid point.
#pragma once

#include "model/control_tables.h"

// The files that name and evaluate the letters each in their own way.
enum class VisWriter { TecplotPlan, Tecplot3D, ParaViewPlan, ParaView3D, ParaViewCross };

// One entry of the list, resolved before a writer's point loop: the kernel
// is chosen once, so the loop only reads arrays and does arithmetic.
struct OutputVariable {
  TecStrucEntry entry;
  int layer;         // bed layer of the layer letters L, N, a, f, j
  bool structured;   // evaluated at a grid point, not at a cell
  double (*cellValue)(const OutputVariable &v, int c, int b);  // value at cell c, bed cell b
};

// The bed layer the writer shows for the entry's layer letters.
int tecplotPlanLayer(const TecStrucEntry &e);  // max(level, 1) - 1; N the level itself
int paraViewLayer(const TecStrucEntry &e);     // the level with two bed layers, else max(level, 1) - 1

// True for the letters evaluated at a grid point in this writer.
bool structuredLetter(char letter, VisWriter writer);

// Resolves an entry for a writer with the layer it shows. bedClass: the
// ParaView plan file reads D, m and Z through the bed cell of the column.
OutputVariable resolveVariable(const TecStrucEntry &e, VisWriter writer, int layer, bool bedClass = false);

// The name of the entry in the writer's header. The ParaView names have
// the blanks between characters written as underscores.
void variableName(const TecStrucEntry &e, VisWriter writer, int layer, char *name, int size);

// Percentile diameter of fractions f[1..n] for the cumulative fraction p
// (di_graph), counted from the finest class n.
double percentileDiameter(const double *fractions, int n, double p);

// The value of a structured letter at grid point (i, j); 0 for others.
double structuredValue(char letter, int i, int j);

// The cells of the column of cell c from the bottom up: the bottom cell,
// or 0 when c is 0.
int columnBottom(int c);
