// Data sets F 300 to F 399: partitioned runs, slides, output selection of the
// letter M, the cohesion table, bed statistics, time-step control, the
// minimum-water-level method and the other settings of this range.
#include <algorithm>

#include "model/settings.h"
#include "startup/dataset_row_shapes.h"
#include "startup/dataset_rows.h"
#include "base/exit_codes.h"
#include "base/log.h"

namespace {

[[noreturn]] void refuseSnl(int number) {
  fatalPrintf(kExitInputError, nullptr, "Error for F %d in control\n", number);
}

// F 317, F 318: one entry of a partition-boundary row list, read through these two.
int boundaryIndex;
int boundaryRow;

// F 329: up to 20 output selections of the letter M; reading stops at the
// first value that cannot be read, overflows or lies outside 0..199, and that
// value is not stored.
void readPrintSelection(ControlStream &stream) {
  int stored = 0;
  ScanResult read;
  while (stored < 20) {
    int value = 0;
    read = scan(stream, "%d", &value);
    if (read.count < 1 || read.bad || value < 0 || value > 199) break;
    PrintArrayFlags[stored++] = value;
  }
  DataSetNumber = read.count;
  logPrintf("Have read %d integers from the F 329 data set\n", stored);
}

void printSelectionDefaults() {
  std::fill(std::begin(PrintArrayFlags), std::end(PrintArrayFlags), 0);
  PrintArrayFlags[0] = PrintArrayFlags[1] = 1;
}

// F 330: the cohesion of the soil against depth, one pair per row.
void readCohesionTable(ControlStream &stream) {
  ScanResult read = scan(stream, "%d", &NoCohesiveDepth);
  DataSetNumber = read.count;
  if (read.bad || read.count < 1 || NoCohesiveDepth < 1 || NoCohesiveDepth > 99) {
    fatalExit(kExitInputError, "Error for F 330 in control - first integer\n");
  }
  for (int i = 0; i < NoCohesiveDepth; ++i) {
    read = scan(stream, "%lf %lf", &cohesiveDepth[i], &cohesiveArr[i]);
    DataSetNumber = read.count;
    if (read.bad || read.count < 2 || cohesiveArr[i] < 0.0 || cohesiveArr[i] > 1e8 || cohesiveDepth[i] < 0.0) {
      fatalPrintf(kExitInputError, nullptr, "Error for F 330 in control, %d parameter\n", i);
    }
  }
}

// F 337: the discharge of a group in one partition block. The table holds
// blocks 0..99 of 20 groups, so another block number is refused rather than
// written past its end.
void readPartitionDischarge(ControlStream &stream) {
  if (FlagMPI == 0) {
    fatalExit(kExitUnreadable,
              "Error in control file. The F 337 data set can only be used\n"
              "when preceded by an F 308 (MPI) data set\n\n");
  }
  int blockNo = 0, group = 0;
  double discharge = 0.0;
  ScanResult read = scan(stream, "%d %d %lf", &blockNo, &group, &discharge);
  DataSetNumber = read.count;
  if (read.count < 3) fatalExit(kExitInputError, "Error for F 337 in control: have not read three numbers\n");
  if (read.bad) refuseSnl(337);
  if (group < 1 || group > 9) {
    fatalExit(kExitInputError, "Error for F 337 in control: 2nd integer not between 1 and 9\n");
  }
  if (discharge < 0.0) {
    fatalPrintf(kExitInputError, nullptr, "Error for F 337, group %d, block %d: discharge is too low\n", group,
                blockNo);
  }
  if (blockNo < 0 || blockNo > 99) refuseSnl(337);
  dischargesMPI[group + 20 * blockNo] = discharge;
}

// F 371: the minimum-water-level method; the variants 8..11 also take the
// Froude number at which a cross-section splits.
void readGridSplit(ControlStream &stream) {
  ScanResult read = scan(stream, "%d %d %d", &FlagNoGridSplit, &gridSplitKant, &FlagGridsplitBedmove);
  DataSetNumber = read.count;
  if (read.bad || read.count < 3) fatalExit(kExitInputError, "Error for F 371 in control: have not read 3 integers\n");
  if (FlagNoGridSplit < 8 || FlagNoGridSplit > 11) return;
  read = scan(stream, "%lf", &FroudeSplit);
  DataSetNumber = read.count;
  if (read.bad || read.count < 1 || FroudeSplit < 0.01 || FroudeSplit > 10.0) {
    fatalPrintf(kExitInputError, nullptr,
                "Error for F 371 in control: Error for fourth parameter: FroudeSplit = %lf\n\n", FroudeSplit);
  }
}

}  // namespace

std::span<const DataSetRow> fRows300to399() {
  static const std::vector<DataSetRow> rows = {
      doubleAtLeast(301, MaxCrashDef, 1e10, 0.0),
      intAtLeast(303, FlagFracVer0, 0, 0),
      intAtLeast(304, FlagBedVer, 0, 0),
      {.number = 305,
       .format = "%d",
       .vars = {{FlagNewWall, 0}},
       .checks = {countAtLeast(1), atLeast(0, 0), rule([] { return FlagNewWall == 0 || FlagWallAll == 0; })},
       .message = kMessageSnl},
      intAtLeast(306, FlagUseBedres, 0, 0),
      intAtLeast(308, FlagMPI, 0, 0),
      intAtLeast(309, FlagInterpolNew, 0, 0),
      intAtLeast(310, FlagFixBed, 0, 0),
      intAtLeast(311, FlagShallowWater, 0, 0),
      intAtLeast(312, FlagModEpsilon, 0, 0),
      intAtLeast(313, FlagKoordinaFix, 0, 0),
      {.number = 314, .format = "%d %d", .vars = {{FlagGenerateUpFlux, 0}, {FlagGenerateDownFlux, 0}},
       .checks = {countAtLeast(2), range(0, 0, 1000), range(1, 0, 10)}, .message = kMessageSnl},
      intAtLeast(315, FlagGridMPIboundary, 0, 0),
      intAtLeast(316, FlagPresMPIboundary, 0, 0),
      {.number = 317,
       .format = "%d %d",
       .vars = {{boundaryIndex, 0}, {boundaryRow, 0}},
       .checks = {countAtLeast(2), range(0, 1, 98), atLeast(1, 1)},
       .message = kMessageSnl,
       .effect = [] { jPresUp[boundaryIndex] = boundaryRow; },
       .defaults = [] { std::fill(std::begin(jPresUp), std::end(jPresUp), 0); }},
      {.number = 318,
       .format = "%d %d",
       .vars = {{boundaryIndex, 0}, {boundaryRow, 0}},
       .checks = {countAtLeast(2), range(0, 1, 98), atLeast(1, 1)},
       .message = kMessageSnl,
       .effect = [] { jPresDown[boundaryIndex] = boundaryRow; },
       .defaults = [] { std::fill(std::begin(jPresDown), std::end(jPresDown), 0); }},
      intAtLeast(319, FlagUnstrucMPI, 0, 0),
      intAtLeast(320, FlagZeroGradSedim, 0, 0),
      {.number = 322, .format = "%d %d", .vars = {{FlagTimeSurf, 0}, {FlagMomentSurf, 0}},
       .checks = {countAtLeast(2), atLeast(0, 0), atLeast(1, 0)}, .message = kMessageSnl},
      intAtLeast(323, FlagSurface2, 0, 0),
      intAtLeast(324, FlagNormStress, 0, 0),
      intAtLeast(325, FlagSlide, 0, 0),
      {.number = 326, .format = "%lf %d", .vars = {{TimeStepThixo, 1.0}, {IterThixo, 0}},
       .checks = {countAtLeast(2), atLeast(1, 0), atLeast(0, 0.0)}, .message = kMessageSnl},
      intAtLeast(327, FlagInvApSmooth, 0, 0),
      intAtLeast(328, FlagWaterSolveNew, 0, 0),
      {.number = 329, .defaults = printSelectionDefaults, .handler = readPrintSelection},
      {.number = 330,
       .vars = {{NoCohesiveDepth, 0}},
       .defaults = [] { std::fill(std::begin(cohesiveDepth), std::end(cohesiveDepth), 0.0);
                        std::fill(std::begin(cohesiveArr), std::end(cohesiveArr), 0.0); },
       .handler = readCohesionTable},
      {.number = 331, .format = "%d", .vars = {{znumberThixo, 2}}, .checks = {countAtLeast(1), above(0, 1)},
       .message = kMessageSnl},
      doubleAtLeast(332, ThixoExpansion, 1.0, -0.001),
      intAtLeast(333, FlagGT, 0, 0),
      {.number = 334, .format = "%lf %lf", .vars = {{ThixoSlideModifier, 1.0}, {ThixoCohesiveModifier, 0.2}},
       .checks = {countAtLeast(2), atLeast(0, -0.001), atLeast(1, 0.0)}, .message = kMessageSnl},
      doubleAtLeast(335, TimeEnd, 1e50, -0.001),
      intAtLeast(336, FlagThixoTimestep, 0, 0),
      {.number = 337,
       .defaults = [] { std::fill(std::begin(dischargesMPI), std::end(dischargesMPI), 0.0); },
       .handler = readPartitionDischarge},
      doubleAtLeast(338, ThixoMinGamma, 1000.0, 0.0),
      intAtLeast(339, FlagUnstrucThixo, 0, 0),
      {.number = 340, .format = "%d", .vars = {{FlagOutflow, 0}}, .checks = {countAtLeast(1), range(0, 1, 9)},
       .message = kMessageSnl},
      {.number = 341, .format = "%d", .vars = {{FlagShallowDamp, 0}}, .checks = {countAtLeast(1), range(0, 0, 9)},
       .message = kMessageSnl},
      intAtLeast(342, vectorIter, 1, 0),
      {.number = 343,
       .format = "%d",
       .vars = {{BlockCasulli, 0}},
       .checks = {countAtLeast(1), atLeast(0, 0),
                  rule([] { return BlockCasulli < 3 || Flag2DAccSolver != 0; },
                       "Error for F 343 in control\nThis data set must only be used with the F 168 data set\n\n")},
       .message = kMessageSnl},
      intAtLeast(344, FlagSolverVertTDMA, 0, 0),
      doubleAtLeast(345, residualCasulli, 1e-5, 0.0),
      intAtLeast(346, FlagFroudeDamp, 0, 0),
      intAtLeast(347, FlagFixSurfSlide, 0, 0),
      intAtLeast(348, UnevenConnect, 0, 0),
      intAtLeast(349, FlagOpenFOAMsurface, 0, 0),
      {.number = 350,
       .format = "%lf %lf %lf %lf\n",
       .vars = {{maxTimeStep, 0}, {minTimeStep, 0}, {QRefTimeStep, 0}, {powTimeStep, 0}},
       .checks = {countAtLeast(4), rule([] { return minTimeStep <= maxTimeStep; }), atLeast(0, 0.0), atLeast(1, 0.0),
                  atLeast(2, 0.0), atLeast(3, 0.0)},
       .message = kMessageSnl,
       .effect = [] { FlagComputeTimestep = 1; },
       .defaults = [] { FlagComputeTimestep = 0; }},
      {.number = 351, .format = "%d %lf", .vars = {{solverFroude, 0}, {solverFroudeLimit, 1.0}},
       .checks = {countAtLeast(2), atLeast(0, 0), atLeast(1, 0.0001)}, .message = kMessageSnl},
      {.number = 352, .format = "%d %d", .vars = {{FlagTFS5, 0}, {FlagTFS6, 0}}, .checks = {countAtLeast(2)},
       .message = kMessageSnl},
      oneInt(353, surfaceDownstreamDamp, 1),
      {.number = 354, .format = "%d %d", .vars = {{OpenFOAMprintI, 0}, {OpenFOAMprintJ, 0}},
       .checks = {countAtLeast(2)}, .message = kMessageSnl},
      {.number = 355, .format = "%d %lf", .vars = {{FlagPresSource, 0}, {CoeffPresSource, 0.5}},
       .checks = {countAtLeast(2), atLeast(0, 0)}, .message = kMessageSnl},
      {.number = 356,
       .format = "%d",
       .vars = {{PointInterval, 0}},
       .checks = {countAtLeast(1), atLeast(0, 0)},
       .message = kMessageSnl,
       .effect = [] { PointIntervalO = PointInterval; },
       .defaults = [] { PointIntervalO = 1; }},
      {.number = 357, .format = "%d %lf", .vars = {{FlagPresSurf, 0}, {CoeffPresSurf, 1e30}},
       .checks = {countAtLeast(2), atLeast(0, -10), atLeast(1, 0.0)}, .message = kMessageSnl},
      // The bed-statistics tables are sized by BedStatI2 and BedStatJ2, so both
      // windows must start at 1 or above and not end before they start.
      {.number = 358,
       .format = "%d %d %d %d %lf %lf",
       .vars = {{BedStatI1, 0}, {BedStatI2, 0}, {BedStatJ1, 0}, {BedStatJ2, 0}, {BedStatTime1, 0}, {BedStatTime2, 0}},
       .checks = {countAtLeast(6), atLeast(0, 1), rule([] { return BedStatI1 <= BedStatI2; }), atLeast(2, 1),
                  rule([] { return BedStatJ1 <= BedStatJ2; })},
       .message = kMessageSnl},
      {.number = 359, .format = "%lf %lf", .vars = {{SurfULimit, 0}, {SurfUFactor, 0.001}},
       .checks = {countAtLeast(2), atLeast(0, -10.0), atLeast(1, 0.0)}, .message = kMessageSnl},
      {.number = 360, .format = "%d %lf", .vars = {{FlagFluxCorr, 0}, {FluxCorrVal, 1.1}},
       .checks = {countAtLeast(2), atLeast(0, 0), atLeast(1, 1e-5)}, .message = kMessageSnl},
      {.number = 361, .format = "%d %lf", .vars = {{FlagSurfSlope, 0}, {SurfSlopeVal, 0}},
       .checks = {countAtLeast(2), atLeast(0, 0), absAtMost(1, 2.0)}, .message = kMessageSnl},
      {.number = 362, .format = "%d", .vars = {{FlagSetPow, 0}}, .checks = {countAtLeast(1), range(0, 0, 3)},
       .message = kMessageSnl},
      {.number = 363,
       .format = "%lf %lf",
       .vars = {{geoScaleX, 1.0}, {geoScaleY, 1.0}},
       .checks = {countAtLeast(2)},
       .message = kMessageSnl,
       .effect = [] { FlagGeoScale = 1; },
       .defaults = [] { FlagGeoScale = 0; }},
      {.number = 364,
       .format = "%lf %lf",
       .vars = {{geoMin, 0}, {geoMax, 0}},
       .checks = {countAtLeast(2)},
       .message = kMessageSnl,
       .effect = [] { FlagGeoMaxMin = 1; },
       .defaults = [] { FlagGeoMaxMin = 0; }},
      oneInt(365, FlagViewInterpol, 0),
      oneInt(366, FlagNoImpulse, 0),
      oneDouble(367, SourceVarnel, -1.0),
      {.number = 368,
       .format = "%d %lf %lf %lf %lf %d",
       .vars = {{IBraidedStart, 2}, {BraidedTot, 0.001}, {BraidedActive, 0.1}, {BraidedActive2, 0.2},
                {BraidedActive3, 0.3}, {BraidCells, 4}},
       .checks = {countAtLeast(6)},
       .message = "Error for F 368 in control: have not read 6 numbers\n",
       .effect = [] { FlagBraidedIndex = 1; },
       .defaults = [] { FlagBraidedIndex = 0; }},
      oneInt(369, FlagBugFind, 0, "Error for F 369 in control: have not read 1 number\n"),
      {.number = 370,
       .format = "%d %d %d %d %d",
       .vars = {{WriteDuneIter, 0}, {WriteDuneI1, 0}, {WriteDuneI2, 0}, {WriteDuneJ1, 0}, {WriteDuneDI, 0}},
       .checks = {countAtLeast(5, "Error for F 370 in control: have not read 5 integers\n"),
                  rule([] { return WriteDuneI1 <= WriteDuneI2; }), rule([] { return WriteDuneJ1 < ynumber - 1; }),
                  atLeast(4, 1), above(3, 1, "Error for F370, 4th parameter must be larger than 1\n")},
       .message = kMessageSnl},
      {.number = 371,
       .vars = {{FlagNoGridSplit, 0}, {gridSplitKant, 0}, {FlagGridsplitBedmove, 0}, {FroudeSplit, 1.0}},
       .handler = readGridSplit},
      oneInt(372, FlagFilterPressure, 0, "Error for F 372 in control: have not read 1 number\n"),
      oneInt(373, FlagPresCorrStab, 0, "Error for F 373 in control: have not read 1 number\n"),
      {.number = 374,
       .format = "%d",
       .vars = {{Iter2DMG, 1}},
       .checks = {countAtLeast(1)},
       .message = "Error for F 374 in control: have not read 1 number\n",
       .effect = [] { Iter2DMGori = Iter2DMG; },
       .defaults = [] { Iter2DMGori = 1; }},
      {.number = 375,
       .format = "%lf",
       .vars = {{MaxDepthScour, 0}},
       .checks = {countAtLeast(1), range(0, 0.0, 10000.0)},
       .effect = [] { FlagMinBedLev = 375; }},
      {.number = 376,
       .format = "%lf %lf",
       .vars = {{BfG_M, 0}, {BfG_k, 0}},
       .checks = {countAtLeast(2)},
       .message = "Error for F 376 in control: Have not read two numbers",
       .effect = [] { FlagBedConcentration = 3; }},
      oneInt(377, FlagCyclicSstart, 0, "Error for F 377 in control: Have not read one number"),
      oneInt(378, FlagThalweg, 0, "Error for F 378 in control: Have not read one number"),
      {.number = 379,
       .format = "%d %lf %lf",
       .vars = {{FlagReducePonds, 0}, {CritReducePonds, 5.0}, {ShearReducePonds, 0.001}},
       .checks = {countAtLeast(3)},
       .message = "Error for F 379 in control: Have not read three numbers"},
      oneInt(380, FlagGridStab7, 0, "Error for F 380 in control: Have not read one number"),
      {.number = 381,
       .format = "%lf %lf",
       .vars = {{FlushWaterLevelMin, 0}, {FlushWaterLevelMax, 0}},
       .checks = {countAtLeast(2), rule([] { return FlushWaterLevelMin <= FlushWaterLevelMax; })},
       .message = kMessageSnl,
       .effect = [] { FlagFlushWaterLevel = 1; },
       .defaults = [] { FlagFlushWaterLevel = 0; }},
      oneInt(382, FlagAddApTrekant, 0, "Error for F 382 in control: Have not read one number"),
      oneInt(383, FlagGridStab6, 0, "Error for F 383 in control: Have not read one number"),
      {.number = 384, .format = "%lf %lf", .vars = {{OpenFOAMalpha1X, -1e20}, {OpenFOAMalpha1Z, -1e20}},
       .checks = {countAtLeast(2)}, .message = "Error for F 384 in control: Have not read two numbers"},
      {.number = 385, .format = "%d %lf", .vars = {{FlagCohesion, 0}, {InitValueCohesion, 0}},
       .checks = {countAtLeast(2)}, .message = "Error for F 385 in control: Have not read two numbers"},
      {.number = 386, .format = "%d %d", .vars = {{FlagBagger, 0}, {MaxNoBagger, 0}}, .checks = {countAtLeast(2)},
       .message = "Error for F 386 in control: Have not read two integers: Flag + MaxNo"},
      doubleAtLeast(387, MinDepthGrid, -1.0, 0.0, kMessageS),
      doubleAtLeast(388, relaxSimpleCorr, 1.0, 0.0, kMessageS),
      {.number = 389, .format = "%d", .vars = {{iterWriteAllData, 1000000}},
       .checks = {countAtLeast(1), rule([] { return iterWriteAllData != 0; })}},
      intAtLeast(390, FlagFixGrid, 0, 0, kMessageS),
      intAtLeast(391, FlagGridStab8, 0, 0, kMessageS),
      intAtLeast(392, FlagSetZeroBedmove, 0, 0, kMessageS),
      intAtLeast(393, FlagSetLimBedOri, 0, 0, kMessageS),
      intAtLeast(394, FlagRemovePonds, 0, 0, kMessageS),
      {.number = 395, .format = "%d %lf %lf", .vars = {{FlagModifyGrid, 0}, {MaxModifyGrid, 0}, {DzModifyGrid, 0}},
       .checks = {countAtLeast(3), atLeast(0, 0), atLeast(1, 0.0), atLeast(2, 0.0)}},
      intAtLeast(396, FlagNoSides, 0, 0, kMessageS),
      {.number = 397,
       .format = "%d %d %lf %lf",
       .vars = {{FlagWallLimiterU, 0}, {FlagWallLimiterK, 0}, {WallLimiterU, 0.1}, {WallLimiterK, 0.1}},
       .checks = {countAtLeast(4), atLeast(0, 0), range(2, 1e-6, 1000.0), atLeast(1, 0), range(3, 1e-6, 1000.0)}},
      doubleAtLeast(398, coeffRoughRijn, 3.0, 0.0, kMessageS),
      intAtLeast(399, FlagErrorKoomin, 0, 0, kMessageS),
  };
  return rows;
}
