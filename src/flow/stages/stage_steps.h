// Steps that the flow stages share: clearing and summing the coefficients,
// under-relaxation, the accelerators before a solve, stage clocks and the
// small geometric tests of cells and columns.
#pragma once

#include <atomic>

#include "model/cells.h"
#include "model/threads.h"

// The velocity field of equation e (1 U, 2 V, 3 W).
inline double *velocityField(int e) { return e == 1 ? Cxvel : (e == 2 ? Cyvel : Czvel); }
// Cf, Cf_old (and Cf_old2 with F 208) at the fields of velocity equation e.
void pointVelocityFields(int e);
// Clears Cae..Cab over cells first..last, and Caee..Cabb with `second`.
void clearNeighbourCoefficients(int first, int last, bool second);
// Cap = Csource = 0 over cells first..last.
void clearCentreAndSource(int first, int last);

// Raises every value of the field over the work range to at least `floor`
// (the lower limits of k and epsilon), on the cell chunks of F 206.
void keepAbove(double *field, double floor);
// Cap += the six neighbour coefficients; with `second` also the six
// second-neighbour ones; with QNFlag the coefficient lists of the layered
// neighbours on the four horizontal sides.
void addNeighbourSum(int first, int last, bool second);
// Under-relaxation by a factor a given with its inverse (the momentum pair
// relaxVelocity, invRelaxVelocity may differ from a reciprocal pair after a
// divergence remedy): Cap = Cap x inverse, Csource += (1 - a) f Cap. Cells
// whose Cap is already `fixedFrom` or more keep their diagonal and source.
void relaxEquation(int first, int last, double a, double inverse, const double *f, double fixedFrom = 1e300);
// 1000 Cvol added to Cap of dead-end cells (F 96 1).
void addDeadEndCells(int first, int last);
// Accelerator of the solve of equation e in inner iteration `inner` by
// blockcorr[e] (K 5): 10, 11, 12 the multigrid accelerator (with F 168),
// 1, 2, 3 the block correction; every, first inner, first inner of Iter 1.
void accelerateSolve(int e, int inner);
// The block-correction rule alone (1, 2, 3).
void blockCorrectionByRule(int e, int inner);
// The centre coefficient of the pressure correction from the sum of its
// neighbour coefficients: a sum that is not a number gives 1e-10, a sum
// below 1e-30 (an isolated cell) 1.0, so that p' stays of the order of the
// cell's defect, any other sum at least 1e-10.
double pressureDiagonal(double sum);
// The neighbour sum of the p' diagonal, in the order of every Ap sum.
inline double pressureNeighbourSum(int c) { return Can[c] + Cas[c] + Cae[c] + Caw[c] + Cat[c] + Cab[c]; }
// The mass defect left in Csource over cells first..last: GlobContinuity its
// sum, GlobDefMax its largest magnitude, Glob_dmI the first cell holding
// that (1 when every defect is 0 or the range is empty).
void continuityStatistics(int first, int last);
// Wall-clock stamp i of the stage clocks, not taken in the mud mode.
void stageStamp(int i);
// Net mass outflow of cell c through its six faces, kg/s.
double netOutflow(int c);
// A |fmod(a, b)| < 0.001 multiple, the engine's interval test.
bool isMultiple(int a, int b);
// A column of one cell (no cell below, none above).
inline bool singleCellColumn(int c) { return Ccellb[c] == 0 && Ccellt[c] == 0; }
// The cell's bed slopes: plan area of its column over the vertical component
// of its bottom face above 1.1.
bool slopingBed(int c);
// The debug dump of F 218 is due in this inner iteration.
bool debugDumpDue(int inner);
// 1/Ap of U into CinvAp over cells first..last; a diagonal outside
// 1e-30..1e20, or not a number, ends the run (printErrorAp).
void keepInverseDiagonal(int first, int last);
// The same on one chunk of a threaded region: the first unusable cell of
// the chunk is offered to `unusable` (the lowest such cell of all chunks
// wins), and the caller ends the run with it after the join.
void keepInverseDiagonalChunk(int first, int last, std::atomic<int> &unusable);
// F 327: in a column whose bottom cell is flat against its bed face (half
// height below 0.01 of the face's side), 1/Ap of U is the column's mean.
void smoothInverseDiagonal(int first, int last);
// Blends of the solved velocity Cf with Cf_old (only where old fields
// exist): triangular cells by F 244 (F 235 10), cells with a sloping bed by
// F 291's first value.
void dampAfterSolve(int first, int last);
// Two passes over the cell chunks of a stage region, the second's results
// summed: with `apart` as two regions with `between` on the calling thread
// after the first (a step that reaches other chunks), else both passes in
// one region, chunk by chunk.
template <class Before, class Between, class After>
double chunkedPasses(int first, int last, bool apart, Before &&before, Between &&between, After &&after) {
  if (apart) {
    forEachChunk(first, last, before);
    between();
    return sumOverChunks(first, last, after);
  }
  return sumOverChunks(first, last, [&](int a, int b) {
    before(a, b);
    return after(a, b);
  });
}
// The end of a threaded completion of velocity equation e: the lowest
// unusable U cell (0 none) ends the run, as a chunk without a residual
// normaliser does; F 327 smooths 1/Ap of U; the residual total is kept.
void finishVelocityChunks(int e, double total, int unusable);
