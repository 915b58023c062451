// Grid generation and geometry as the other subsystems call it.
#pragma once

void readKoosurf();       // reads "koosurf" into a new block

// The largest magnitude of a level that the grid and bed files may give, m:
// no river lies a thousand kilometres from its datum, and a mistyped level
// such as 1e308 would turn every volume and mass of the run into inf or NaN.
inline constexpr double kMaxLevelMagnitude = 1e6;

// Append a block from a further "koosurf" file, or a nested block from
// "koosurf.nes" (moved, scaled and turned by its placing record), after the
// last block in j. Nothing calls them yet.
void addBlockKoosurf();
void addBlockKoosurfNested();
void bedinter();          // bed levels of the grid points from the bed points
void computeRoughness();  // roughness from the bed points, "bedrough.new"

// Builds cells, faces and points from the blocks: 1 on success; -1 when the
// tables could not be allocated; negative when a table of F 65 is too small
// (the generator has logged which and what was reached).
int Unstructure();

// Every caller of Unstructure passes its result here: a failed generation
// leaves a half-built grid, so the run ends, with -1 after a failed
// allocation and -2 after a full table.
void endOnGridFailure(int result);

// Geometry of every cell and face, the face flow flags and the solve order,
// recomputed only while FlagHaveDoneMetric is 0 (or always with F 523).
// Ends the run (-1) on a cell of zero volume, a skewed or an upside-down cell.
void metric();

// Bed-cell index after a grid change: numbers the columns once, links every
// cell to its column, keeps the previous column data, carries the fields of
// a transient run and keeps the geometry for the next change.
void BedMake();

// Short connectivity check of faces against cells; writes its findings and
// two closing lines to the log (nothing with F 488 above 0).
void CheckFparam();

// Numbered connectivity checks of every cell of the work range; one log line
// per failed check.
void gridTest();

// Carries the previous time step's fields onto the regenerated columns, fills
// the newly wet columns and makes the new fields the previous ones.
void InterpolateGrid();

// Fill the newly wet columns from their neighbours (F 147 third value: 2 to
// 4 the second, 5 the fifth, any other the first).
void WettingExtrapolation1();
void WettingExtrapolation2();
void WettingExtrapolation5();

// With F 1 D, logs the newly wet columns without pressure and the steep
// pressure jumps of the extrapolation (F 490).
void PressureTest();

// Reached by nothing; kept empty.
void extrapolateCore();

// Coarse bed cell of every nested column (Bnestcoarse) and the nearest
// child-level grid point of every grid point of levels 0 and 1 (pointnest).
void computeBnestcoarse();

// Parent-level cell of every cell of a nested block (Cinterpolnest): by cell
// centres before the bed cells exist, through Bnestcoarse after.
void computeCinterpolnest();
