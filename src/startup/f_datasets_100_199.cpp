// Data sets F 100 to F 199: output intervals, refined patch, cohesion, bed
// layers, grid stabilisation, multigrid, cyclic inflow and the other settings
// of this range. F 131, F 139 and F 174 read their values themselves.
#include <cmath>

#include "model/settings.h"
#include "startup/dataset_rows.h"
#include "base/exit_codes.h"
#include "base/log.h"

namespace {

[[noreturn]] void refuse(const char *text) { fatalExit(kExitInputError, text); }

// F 101: entry 0 is the interval the transient writer uses: the smallest
// positive of the four intervals, or 1000000 (never) when none is positive.
void transWriteDefaults() {
  for (int &interval : TransWriteFiles) interval = 0;
}
void smallestWriteInterval() {
  int smallest = 1000000;
  bool any = false;
  for (int i = 1; i <= 4; ++i) {
    if (TransWriteFiles[i] > 0 && (!any || TransWriteFiles[i] < smallest)) {
      smallest = TransWriteFiles[i];
      any = true;
    }
  }
  TransWriteFiles[0] = smallest;
}

bool topThicknessAccepted() {
  double size = std::fabs(TopThickness);
  return size >= 1e-10 && size <= 100000.0;
}

// F 110 is accepted only while the first value of F 60 is 1, so F 60 must stand before it.
bool bedRoughnessModelOn() { return TSCbedrouse == 1; }

// F 111: the flag is read, checked and set back to 0: the data set has no effect.
void clearFlagBedDLL() { FlagBedDLL = 0; }

void rhieChowDefaults() { OrigFlagRhieChow = 0; }
void keepRhieChowAsRead() { OrigFlagRhieChow = FlagRhieChow; }

void warnSlidePressureGradient() {
  if (FlagPresGrad == 4 && FlagTSC > 0) {
    logText("Warning: F 114 4 is based on a special algorithm for slides, and may give instabilities\n\n");
  }
}

// F 120 sets the wall variant of every wall to 1000, whatever F 15 gave.
void externalWallsEverywhere() { FlagWallAll = 1000; }

// F 130: the refined patch must lie inside the structured grid of G 1 as
// read so far (300 by 300 before any G 1), its first lines at 2 or above.
bool patchIEndInside() { return TetI2 <= xnumber; }
bool patchJEndInside() { return TetJ2 <= ynumber; }
bool patchIOrdered() { return TetI1 <= TetI2; }
bool patchJOrdered() { return TetJ1 <= TetJ2; }

void cohesionDefaults() {
  for (double &value : cohesive) value = 0.0;
}

// F 131: a grain-size index 1..20, then the cohesion of that size. The count
// of each read goes into the shared number, so the last one stays.
void readCohesion(ControlStream &stream) {
  int size = 0;
  ScanResult read = scan(stream, "%d", &size);
  DataSetNumber = read.count;
  if (read.bad || read.count < 1 || size < 1 || size > 20) refuse("Error for F 131 in control - index\n");
  read = scan(stream, "%lf", &cohesive[size]);
  DataSetNumber = read.count;
  if (read.bad || read.count < 1 || !(cohesive[size] >= 0.0))
    refuse("Error for F 131 in control - negative cohesion\n");
}

// F 134: more than two bed layers only with the bed-layer model of F 37 3.
bool bedLayersAccepted() { return NoBedLayers == 2 || FlagTSC == 3; }

// F 139: the smallest u+ of the wall laws for the velocities, then for k.
void readMinUPlus(ControlStream &stream) {
  ScanResult read = scan(stream, "%lf", &MinUPlus);
  DataSetNumber = read.count;
  if (read.bad || read.count < 1 || !(MinUPlus >= 0.0)) refuse("Error for F 139 in control, 1st. parameter\n");
  read = scan(stream, "%lf", &MinUPlusK);
  DataSetNumber = read.count;
  if (read.bad || read.count < 1 || !(MinUPlusK >= 0.0)) refuse("Error for F 139 in control, 2nd. parameter\n");
}

void gridStabDefaults() { FlagGridStab2ori = FlagGridStab5ori = 0; }
void keepGridStabAsRead() {
  FlagGridStab2ori = FlagGridStab2;
  FlagGridStab5ori = FlagGridStab5;
}

void accSolverDefaults() { Flag2DAccSolverOri = 0; }
void keepAccSolverAsRead() { Flag2DAccSolverOri = Flag2DAccSolver; }

// F 174: the cyclic-inflow flag, an optional variant (0 when not given) and,
// after the variant 5 only, its relaxation.
void readCyclicInflow(ControlStream &stream) {
  ScanResult read = scan(stream, "%d", &FlagCyclic);
  DataSetNumber = read.count;
  if (read.bad || read.count < 1) refuse("Error for F 174 in control\n");
  read = scan(stream, "%d", &FlagCyclicS);
  DataSetNumber = read.count;
  if (read.bad) refuse("Error for F 174 in control\n");
  if (read.count < 1) FlagCyclicS = 0;
  if (FlagCyclicS != 5) return;
  read = scan(stream, "%lf", &relaxCyclicS);
  DataSetNumber = read.count;
  if (read.bad || read.count < 1 || !(relaxCyclicS >= 0.0 && relaxCyclicS <= 1.0)) {
    refuse("Error for F 174 x 5 in control\n");
  }
}

}  // namespace

std::span<const DataSetRow> fRows100to199() {
  static const std::vector<DataSetRow> rows = {
      {.number = 101,
       .format = "%d %d %d %d",
       .vars = {{TransWriteFiles[1], 0}, {TransWriteFiles[2], 0}, {TransWriteFiles[3], 0}, {TransWriteFiles[4], 0}},
       .checks = {countAtLeast(4)},
       .effect = smallestWriteInterval,
       .defaults = transWriteDefaults},
      {.number = 102, .format = "%d", .vars = {{FlagMinLevUnstruc, 0}}, .checks = {countAtLeast(1), atLeast(0, 0)}},
      {.number = 103, .format = "%d", .vars = {{Flag2BedRoughness, 0}}, .checks = {countAtLeast(1), atLeast(0, 0)}},
      {.number = 104, .format = "%d", .vars = {{FlagEndCorrect, 0}}, .checks = {countAtLeast(1), atLeast(0, 0)}},
      {.number = 105, .format = "%d", .vars = {{IterWaterUpdate, 10}}, .checks = {countAtLeast(1), above(0, 0)}},
      {.number = 106,
       .format = "%lf",
       .vars = {{TopThickness, -1.0}},
       .checks = {countAtLeast(1), rule(topThicknessAccepted)}},
      {.number = 109,
       .format = "%lf %lf %lf",
       .vars = {{BedCritTanSlopeUp, 1.23}, {BedCritTanSlopeDown, 0.78}, {BedCritMinDamp, 0.2}},
       .checks = {countAtLeast(3), atLeast(0, 0.0), atLeast(1, 0.0), range(2, 0.0, 1.0)}},
      {.number = 110,
       .format = "%lf %lf",
       .vars = {{HRzmax, 2.0}, {HRmulmin, 0.01}},
       .checks = {rule(bedRoughnessModelOn), countAtLeast(2), atLeast(0, 0.0), range(1, 0.0, 1.0)}},
      {.number = 111,
       .format = "%d",
       .vars = {{FlagBedDLL, 0}},
       .checks = {range(0, 0, 1), countAtLeast(1)},
       .effect = clearFlagBedDLL},
      {.number = 112, .format = "%d", .vars = {{FlagNewGrid, 0}}, .checks = {countAtLeast(1), range(0, 0, 100)}},
      {.number = 113,
       .format = "%d",
       .vars = {{FlagRhieChow, 0}},
       .checks = {range(0, 0, 100), countAtLeast(1)},
       .effect = keepRhieChowAsRead,
       .defaults = rhieChowDefaults},
      {.number = 114,
       .format = "%d",
       .vars = {{FlagPresGrad, 0}},
       .checks = {countAtLeast(1), range(0, 0, 100)},
       .effect = warnSlidePressureGradient},
      {.number = 115, .format = "%d", .vars = {{FlagDragDLL, 0}}, .checks = {countAtLeast(1), range(0, 0, 500)}},
      {.number = 116, .format = "%d", .vars = {{FlagSurfDLL, 0}}, .checks = {countAtLeast(1), atLeast(0, 0)}},
      {.number = 120,
       .format = "%d",
       .vars = {{FlagWallDLL, 0}},
       .checks = {countAtLeast(1), atLeast(0, 0)},
       .effect = externalWallsEverywhere},
      {.number = 121, .format = "%d", .vars = {{FlagTurbDLL, 0}}, .checks = {countAtLeast(1), atLeast(0, 0)}},
      {.number = 125, .format = "%d", .vars = {{FlagTSCDLL, 0}}, .checks = {countAtLeast(1), atLeast(0, 0)}},
      {.number = 126, .format = "%d", .vars = {{FlagNestDLL, 0}}, .checks = {countAtLeast(1), atLeast(0, 0)}},
      {.number = 128, .format = "%d", .vars = {{FlagPresSetZero, 0}}, .checks = {countAtLeast(1)}},
      {.number = 129, .format = "%d", .vars = {{FlagBedInterpol, 0}}, .checks = {countAtLeast(1), atLeast(0, 0)}},
      {.number = 130,
       .format = "%d %d %d %d",
       .vars = {{TetI1, 0}, {TetI2, 0}, {TetJ1, 0}, {TetJ2, 0}},
       .checks = {countAtLeast(4), atLeast(0, 2), rule(patchIEndInside), atLeast(2, 2), rule(patchJEndInside),
                  rule(patchIOrdered), rule(patchJOrdered)}},
      {.number = 131, .defaults = cohesionDefaults, .handler = readCohesion},
      {.number = 132,
       .format = "%lf",
       .vars = {{FroudeMaxSurface, 0}},
       .checks = {countAtLeast(1), atLeast(0, 0.0)},
       .message = "Error for F 132 in control - negative value\n"},
      {.number = 134,
       .format = "%d",
       .vars = {{NoBedLayers, 2}},
       .checks = {countAtLeast(1), range(0, 2, 5000), rule(bedLayersAccepted)},
       .message = kMessageSnl},
      {.number = 135,
       .format = "%d",
       .vars = {{FlagGravityTerm, 0}},
       .checks = {countAtLeast(1), atLeast(0, 0)},
       .message = kMessageSnl},
      {.number = 136,
       .format = "%lf",
       .vars = {{PresGradMax, 0}},
       .checks = {countAtLeast(1), atLeast(0, 0.0)},
       .message = kMessageSnl},
      {.number = 137,
       .format = "%d",
       .vars = {{QNFlag, 0}},
       .checks = {countAtLeast(1), atLeast(0, 0)},
       .message = kMessageSnl},
      {.number = 138,
       .format = "%lf",
       .vars = {{ArtMinKinen, 1e-20}},
       .checks = {countAtLeast(1), atLeast(0, 0.0)},
       .message = kMessageSnl},
      {.number = 139, .vars = {{MinUPlus, 1.0}, {MinUPlusK, 1.0}}, .handler = readMinUPlus},
      {.number = 140,
       .format = "%d",
       .vars = {{FlagEpsWallLim, 0}},
       .checks = {countAtLeast(1), atLeast(0, 0)},
       .message = kMessageSnl},
      {.number = 141,
       .format = "%lf",
       .vars = {{MaxEpsLim, 100.0}},
       .checks = {countAtLeast(1), atLeast(0, 0.0)},
       .message = kMessageSnl},
      {.number = 143,
       .format = "%d",
       .vars = {{PresRegres, 0}},
       .checks = {countAtLeast(1), atLeast(0, 0)},
       .message = kMessageSnl},
      {.number = 144,
       .format = "%d %lf",
       .vars = {{FlagBedSmooth, 0}, {ParamBedSmooth, 0}},
       .checks = {countAtLeast(2), atLeast(0, 0)},
       .message = kMessageSnl},
      {.number = 147,
       .format = "%d %d %d %lf %lf %lf",
       .vars = {{ExtrapIter, 20},
                {ExtrapAlgo1, 2},
                {ExtrapAlgo2, 2},
                {ExtrapRelVel, 0.2},
                {ExtrapRelK, 1.0},
                {ExtrapRelE, 1.0}},
       .checks = {countAtLeast(6), atLeast(0, 0), atLeast(3, 0.0), atLeast(4, 0.0), atLeast(5, 0.0)},
       .message = kMessageSnl},
      {.number = 148,
       .format = "%lf",
       .vars = {{MaxSurfSlope, -0.1}},
       .checks = {countAtLeast(1), atLeast(0, 0.0)},
       .message = kMessageSnl},
      {.number = 149,
       .format = "%lf %lf",
       .vars = {{TurbMultVert, 1.0}, {TurbMultHor, 1.0}},
       .checks = {countAtLeast(2), atLeast(0, 0.0), atLeast(1, 0.0)},
       .message = kMessageSnl},
      {.number = 152,
       .format = "%d",
       .vars = {{MGSNo, 0}},
       .checks = {countAtLeast(1), range(0, 0, 10)},
       .message = kMessageSnl},
      {.number = 153,
       .format = "%d",
       .vars = {{FlagResidual, 1}},
       .checks = {countAtLeast(1), range(0, 0, 10)},
       .message = kMessageSnl},
      {.number = 154,
       .format = "%d %lf",
       .vars = {{SurfSmoothFlag, 0}, {SurfSmoothVal, 0}},
       .checks = {countAtLeast(2), above(0, 0)},
       .message = kMessageSnl},
      {.number = 156,
       .format = "%d",
       .vars = {{PauseFlag, 0}},
       .checks = {countAtLeast(1), atLeast(0, 0)},
       .message = kMessageSnl},
      {.number = 157,
       .format = "%d",
       .vars = {{FlagSimpleCorrections, 0}},
       .checks = {countAtLeast(1), atLeast(0, 0)},
       .message = kMessageSnl},
      {.number = 159,
       .format = "%d %d %d %d %d",
       .vars = {{FlagGridStab1, 1}, {FlagGridStab2, 0}, {FlagGridStab3, 0}, {FlagGridStab4, 1}, {FlagGridStab5, 0}},
       .checks = {countAtLeast(5), atLeast(0, 0), atLeast(1, 0), atLeast(2, 0), atLeast(3, 0), atLeast(4, 0)},
       .message = "Error for F 159 in control\nDefault F 159: 1 0 0 1 0\n",
       .effect = keepGridStabAsRead,
       .defaults = gridStabDefaults},
      {.number = 160,
       .format = "%d",
       .vars = {{FlagBedVol, 0}},
       .checks = {countAtLeast(1), atLeast(0, 0)},
       .message = kMessageSnl},
      {.number = 162,
       .format = "%lf",
       .vars = {{MinVertDist2, 0}},
       .checks = {countAtLeast(1)},
       .message = kMessageSnl},
      {.number = 163,
       .format = "%d",
       .vars = {{FlagBedChange, 0}},
       .checks = {countAtLeast(1)},
       .message = kMessageSnl},
      {.number = 164,
       .format = "%d",
       .vars = {{FlagRapSolver, 0}},
       .checks = {countAtLeast(1)},
       .message = kMessageSnl},
      {.number = 165,
       .format = "%d",
       .vars = {{FlagUnstrucDir, 0}},
       .checks = {countAtLeast(1)},
       .message = kMessageSnl},
      {.number = 166,
       .format = "%d",
       .vars = {{FlagSurfRegen, 0}},
       .checks = {countAtLeast(1)},
       .message = kMessageSnl},
      {.number = 168,
       .format = "%d",
       .vars = {{Flag2DAccSolver, 0}},
       .checks = {countAtLeast(1)},
       .message = kMessageSnl,
       .effect = keepAccSolverAsRead,
       .defaults = accSolverDefaults},
      {.number = 169,
       .format = "%d %lf",
       .vars = {{FlagHideEx, 0}, {HideExParam, 0}},
       .checks = {countAtLeast(2)},
       .message = kMessageSnl},
      {.number = 170,
       .format = "%d",
       .vars = {{FlagFastWatersolve, 0}},
       .checks = {countAtLeast(1)},
       .message = kMessageSnl},
      {.number = 171, .format = "%d", .vars = {{FlagSIMPLE, 0}}, .checks = {countAtLeast(1)}, .message = kMessageSnl},
      {.number = 172,
       .format = "%d %lf %lf",
       .vars = {{FlagShearBedform, 0}, {ShearBedformLim, 2.0}, {ShearBedformCoeff, 2.3333333333333335}},
       .checks = {countAtLeast(3), atLeast(0, 0)},
       .message = kMessageSnl},
      {.number = 174, .vars = {{FlagCyclic, 0}, {FlagCyclicS, 0}, {relaxCyclicS, 0.1}}, .handler = readCyclicInflow},
      {.number = 175, .format = "%lf", .vars = {{RelaxTFS, 0.1}}, .checks = {countAtLeast(1)}, .message = kMessageSnl},
      {.number = 176,
       .format = "%d %lf",
       .vars = {{FlagRBedformsmooth, 0}, {RBedformsmooth, 0}},
       .checks = {countAtLeast(2)},
       .message = kMessageSnl},
      {.number = 177, .format = "%d", .vars = {{FlagHastGrad, 0}}, .checks = {countAtLeast(1)}, .message = kMessageSnl},
      {.number = 178,
       .format = "%d",
       .vars = {{FlagSurfSmooth, 0}},
       .checks = {countAtLeast(1)},
       .message = kMessageSnl},
      {.number = 179,
       .format = "%d %d",
       .vars = {{FlagSurfUpwind, 1}, {FlagSurfDiffusive, 0}},
       .checks = {countAtLeast(2)},
       .message = kMessageSnl},
      {.number = 180,
       .format = "%d",
       .vars = {{FlagSurfDownstream, 0}},
       .checks = {countAtLeast(1)},
       .message = kMessageSnl},
      {.number = 181, .format = "%d", .vars = {{FlagGravity, 0}}, .checks = {countAtLeast(1)}, .message = kMessageSnl},
      {.number = 182,
       .format = "%d",
       .vars = {{FlagBedslopeCorrection, 0}},
       .checks = {countAtLeast(1)},
       .message = kMessageSnl},
      {.number = 183,
       .format = "%d",
       .vars = {{FlagPresDebug, 0}},
       .checks = {countAtLeast(1)},
       .message = kMessageSnl},
      {.number = 184, .format = "%d", .vars = {{FlagPCalg, 0}}, .checks = {countAtLeast(1)}, .message = kMessageSnl},
      {.number = 185,
       .format = "%d %lf",
       .vars = {{FlagSurfEps, 0}, {SurfEpsCoeff, 0.43}},
       .checks = {countAtLeast(2)},
       .message = kMessageSnl},
      {.number = 186, .format = "%d", .vars = {{FlagTDMA, 0}}, .checks = {countAtLeast(1)}, .message = kMessageSnl},
      {.number = 187, .format = "%d", .vars = {{FlagSurfEdge, 0}}, .checks = {countAtLeast(1)}, .message = kMessageSnl},
      {.number = 188,
       .format = "%d",
       .vars = {{FlagWorkSedim, 0}},
       .checks = {countAtLeast(1)},
       .message = kMessageSnl},
      {.number = 189,
       .format = "%d %lf",
       .vars = {{FlagTramel, 0}, {ParamTramel, 0}},
       .checks = {countAtLeast(2)},
       .message = kMessageSnl},
      {.number = 191,
       .format = "%lf",
       .vars = {{ConnectLimit, 1e-5}},
       .checks = {countAtLeast(1)},
       .message = kMessageSnl},
      {.number = 192,
       .format = "%lf",
       .vars = {{NestNoRatio, 1.0}},
       .checks = {countAtLeast(1)},
       .message = kMessageSnl},
      {.number = 193,
       .format = "%lf",
       .vars = {{SmallNumberUnstruc, 1e-8}},
       .checks = {countAtLeast(1)},
       .message = kMessageSnl},
      {.number = 198, .format = "%d", .vars = {{FlagSlideDLL, 0}}, .checks = {countAtLeast(1)}, .message = kMessageSnl},
  };
  return rows;
}
