// Data sets F 400 to F 551: soil moduli, bank erosion, slides under water,
// surface damping, grid stabilisation, dune formulas and the other settings
// of this range.
#include <algorithm>

#include "model/run_state.h"
#include "model/settings.h"
#include "startup/dataset_row_shapes.h"
#include "startup/dataset_rows.h"
#include "base/exit_codes.h"
#include "base/log.h"

namespace {

// F 413 to F 417: the count is not tested, a value not read stays as it was,
// and the count is still stored in the shared number.
DataSetRow uncountedIntAtLeastZero(int number, int &var) {
  return {.number = number, .format = "%d", .vars = {{var, 0}}, .checks = {atLeast(0, 0)}, .message = kMessageSnl,
          .storesCount = 1};
}

// F 416: the downstream pressure variant, and for 3 its interval, read only then.
void readPresDownstream(ControlStream &stream) {
  ScanResult read = scan(stream, "%d", &FlagPresDownstream);
  DataSetNumber = read.count;
  if (read.bad || FlagPresDownstream < 0) fatalExit(kExitInputError, "Error for F 416 in control\n");
  if (FlagPresDownstream != 3) return;
  read = scan(stream, "%lf", &IntervalPresDownstream);
  DataSetNumber = read.count;
  if (read.bad || read.count < 1 || IntervalPresDownstream < 0.0) {
    fatalExit(kExitInputError, "Error for F 416 3 in control\n");
  }
}

// F 449: a first row below 1 selects a variant down to -10; from 1 up it is
// the first row of a window that must not end before it starts.
bool tracerRowsValid() { return tracerJ1 < 1 ? tracerJ1 >= -10 : tracerJ1 <= tracerJ2; }

// F 507: ten coefficients of the shear-dependent grid, each read on its own.
void readShearGridCoefficients(ControlStream &stream) {
  for (int j = 1; j <= 10; ++j) {
    ScanResult read = scan(stream, "%lf", &ShearGridCoeff[j]);
    DataSetNumber = read.count;
    if (read.bad || read.count < 1) fatalPrintf(kExitInputError, nullptr, "Error for F 507 in control, j=%d\n", j);
  }
}

}  // namespace

std::span<const DataSetRow> fRows400to551() {
  static const std::vector<DataSetRow> rows = {
      intAtLeast(400, FlagHCB, 0, 0, kMessageS),
      intAtLeast(401, FlagThixoGrid2, 0, 0, kMessageS),
      doubleAtLeast(402, ThixoMinSlideSize, 0.0, 0.0, kMessageS),
      {.number = 403, .format = "%d %lf", .vars = {{TFSminFlag, 1}, {TFSminDepth, 0.02}},
       .checks = {countAtLeast(2), atLeast(1, 0.0)}},
      {.number = 404, .format = "%d %lf", .vars = {{FlagMorphStatistics, 0}, {RelaxMorphStatistics, 0.1}},
       .checks = {countAtLeast(2), atLeast(1, 0.0)}},
      intAtLeast(405, FlagTFS7, 0, 0, kMessageS),
      doubleAtLeast(406, AddValTFS7, 0.0, 0.0, kMessageS),
      intAtLeast(407, FlagCriticalCross, 0, 0, kMessageS),
      intAtLeast(408, FlagBoundaryThixo, 0, 0, kMessageS),
      {.number = 409, .format = "%d %lf", .vars = {{FlagMinDistEps, 0}, {MinDistEps, 0}},
       .checks = {countAtLeast(2), atLeast(0, 0), atLeast(1, 1e-20)}},
      {.number = 410,
       .format = "%lf %lf %d",
       .vars = {{EModulus, 6.5e7}, {PoissonRatio, 0.4}, {FlagModulus, 0}},
       .checks = {countAtLeast(3), range(1, 0.0, 0.5), range(0, 1e5, 5e10), atLeast(2, 0)},
       .message = kMessageSnl,
       .effect = computeSoilModuli},
      {.number = 411, .format = "%lf", .vars = {{BankCohesion, 0}}, .checks = {atLeast(0, 0.0)},
       .message = kMessageSnl, .storesCount = 1},
      {.number = 412,
       .format = "%d",
       .vars = {{FlagErodeUnder, 1}},
       .checks = {atLeast(0, 0), rule([] { return FlagErodeUnder != 0 || IterAvalanche != 204; },
                                      "Error for combination of F 412 and F 56 in control file.\n"
                                      "The slide will affect more than one layer.\n")},
       .message = kMessageSnl,
       .storesCount = 1},
      uncountedIntAtLeastZero(413, FlagCorrectContinuity),
      uncountedIntAtLeastZero(414, FlagSmoothBedchange),
      uncountedIntAtLeastZero(415, FlagSideDamp),
      {.number = 416, .vars = {{FlagPresDownstream, 0}, {IntervalPresDownstream, 100.0}},
       .handler = readPresDownstream},
      uncountedIntAtLeastZero(417, FlagPlastics),
      {.number = 418, .format = "%lf", .vars = {{global_fac, 0.2}}, .checks = {range(0, 0.0, 10.0)},
       .message = kMessageSnl, .storesCount = 1},
      intAtLeast(419, FlagPresSurfDamp, 0, 0),
      doubleAtLeast(420, DepthBreakPath, -1.0, 0.0),
      doubleAtLeast(421, FillStop, -100.0, 0.0),
      intAtLeast(422, FlagTestNB, 0, 0),
      intAtLeast(423, FlagRiseNeighbours, 0, 0),
      intAtLeast(424, FlagTracer, 0, 0),
      intAtLeast(425, FlagSmoothNewCorners, 0, 0),
      intAtLeast(426, FlagPresFilter, 0, 0),
      intAtLeast(427, FlagSurfLimit5, 0, 0),
      {.number = 428,
       .format = "%lf",
       .vars = {{reduceCornersSurf, -1.0}},
       .checks = {countAtLeast(1), range(0, 0.0, 1.0), rule([] { return FlagTFS == 7; })},
       .message = kMessageSnl},
      intAtLeast(429, FlagRidgeMetric, 0, 0),
      intAtLeast(430, FlagLimitExpansion, 0, 0),
      {.number = 431, .format = "%d %lf", .vars = {{FlagAddAnbShallow, 0}, {ValAddAnbShallow, 0}},
       .checks = {countAtLeast(2), atLeast(0, 0)}, .message = kMessageSnl},
      intAtLeast(432, FlagCallSurface, 0, 0),
      {.number = 433,
       .format = "%d %lf",
       .vars = {{FlagFractionsPrint, 0}, {depthTracer, 0.3}},
       .checks = {countAtLeast(2), atLeast(0, 0), range(1, 0.0, 1000.0)},
       .message = "Error for F 433 in control. Are two numbers given?\n"},
      intAtLeast(434, FlagSplitLayers, 0, 0),
      intAtLeast(435, FlagUpdateDischarge, 0, 0),
      intAtLeast(436, FlagCorrTrekant4, 0, 0),
      intAtLeast(437, FlagCorrTrekant5, 0, 0),
      intAtLeast(438, FlagWeightComp, 0, 0),
      intAtLeast(439, FlagDepthDeposit, 0, 0),
      doubleAtLeast(440, VertDiffTrekant, 0.0, 0.0),
      intAtLeast(441, FlagMaxFlux, 1, 0),
      doubleAtLeast(442, MPMcoeff, 0.25, 0.0),
      intAtLeast(443, FlagFracresVersion, 0, 0),
      intAtLeast(444, FlagGrid13, 0, 0),
      doubleRange(445, relaxAvailable, 1.0, 0.0, 1.0),
      intAtLeast(446, NumRemoveLayers, 1, 0),
      intAtLeast(447, FlagArmourDepth, 0, 0),
      intAtLeast(448, FlagDefectRatio, 0, 0),
      {.number = 449, .format = "%d %d", .vars = {{tracerJ1, 0}, {tracerJ2, 0}},
       .checks = {countAtLeast(2), rule(tracerRowsValid)}, .message = kMessageSnl},
      {.number = 450, .format = "%d %lf", .vars = {{FlagGroyneArmour, 0}, {GroyneArmour, 0}},
       .checks = {countAtLeast(2), atLeast(0, 0), atLeast(1, 0.0)}, .message = kMessageSnl},
      {.number = 451,
       .format = "%d %lf",
       .vars = {{FlagBedSmooth4, 0}, {BedSmooth4, 0}},
       .checks = {countAtLeast(2), atLeast(0, 0), atLeast(1, 0.0),
                  rule([] { return FlagErodeUnder != 0; },
                       "Error for combination of F 451 and F 412 in control file.\n"
                       "The smoothing will affect more than one layer.\n"),
                  rule([] { return FlagTSC == 3; },
                       "The F 451 data set is only used in combination with the F 37 3 data set\n"
                       "An alternative is the F 144 data set\n\n")},
       .message = kMessageSnl},
      {.number = 452,
       .format = "%lf %lf %d",
       .vars = {{surfaceDampFactor1, 0.5}, {surfaceDampFactor2, 0.5}, {surfaceDampSec, 9}},
       .checks = {countAtLeast(3), atLeast(0, 0.0), atLeast(1, 0.0), atLeast(2, 1)},
       .message = kMessageSnl,
       .effect = [] { surfaceDownstreamDamp = std::max(surfaceDownstreamDamp, 5); }},
      {.number = 453,
       .format = "%d",
       .vars = {{FlagProfiles, 0}},
       .checks = {countAtLeast(1), atLeast(0, 0),
                  rule([] { return FlagProfiles == 0 || FlagTSC == 3; },
                       "Error for F 453 in control: The option can only be used with F 37 3\n")},
       .message = kMessageSnl},
      {.number = 454, .format = "%d", .vars = {{skipWatersolve, 1}}, .checks = {countAtLeast(1), above(0, 0)},
       .message = kMessageSnl},
      intAtLeast(455, LevelInflowSed, 0, 0),
      intAtLeast(456, FlagMinLevCorner, 0, 0),
      doubleAtLeast(457, cyclicIncreaseFactor, 1.0, 0.01),
      intAtLeast(458, FlagInitiateBedlayers, 0, 0),
      intAtLeast(459, FlagShearSmooth, 0, 0),
      intAtLeast(460, FlagSmoothKs, 0, 0),
      doubleAtLeast(461, ShiftSourceBed, 0.0, 0.0),
      intAtLeast(462, FlagBedFractionsPrint, 0, 0),
      intAtLeast(463, NoDownstreamDeposit, 0, 0),
      intAtLeast(464, FlagOutConc, 0, 0),
      {.number = 465, .format = "%d %d", .vars = {{IterSlideHoriz, 200}, {IterSlideVert, 200}},
       .checks = {countAtLeast(2), atLeast(0, 1), above(1, 0)}, .message = kMessageSnl},
      doubleRange(466, relaxCasulli, 0.0, 0.0, 1.0),
      intAtLeast(467, FlagScaleGridMove, 1, 0),
      intAtLeast(468, NoCasulliMG, 100, 0),
      doubleRange(469, TFSdampwall, 2.0, 0.9, 2.1),
      {.number = 470, .format = "%d", .vars = {{FlagCasulliCoeff, 0}}, .checks = {countAtLeast(1), range(0, 0, 10)},
       .message = kMessageSnl},
      intAtLeast(471, FlagGridConnect, 0, 0),
      intAtLeast(472, FlagSideSurfDamp, 0, 0),
      intAtLeast(473, FlagCasulliLimit, 0, 0),
      intAtLeast(474, FlagGradSurf, 0, 0),
      intAtLeast(475, FlagFriction, 0, 0),
      // F 476: the dune formula 0..3; 2 takes Karim's coefficient 0.085, 3
      // returns to 0.47; above 3 there is no formula.
      {.number = 476,
       .format = "%d",
       .vars = {{FlagDuneFormula, 0}},
       .checks = {countAtLeast(1), range(0, 0, 3)},
       .message = kMessageSnl,
       .effect =
           [] {
             if (FlagDuneFormula == 2) KarimCoeff = 0.085;
             if (FlagDuneFormula == 3) KarimCoeff = 0.47;
           },
       .defaults = [] { KarimCoeff = 0.47; }},
      intAtLeast(477, FlagScaleFreeSource, 0, 0),
      intAtLeast(478, FlagNewSurface, 0, 0),
      doubleAtLeast(479, updateRatioCriteria, 0.05, 0.0),
      intAtLeast(480, FlagDeltaSurface, 0, 0),
      intAtLeast(481, FlagScalePressure, 0, 0),
      intAtLeast(482, FlagPresStability, 0, 0),
      intAtLeast(483, FlagLimitFallvel, 0, 0),
      intAtLeast(484, FlagSumFractions, 0, 0),
      intAtLeast(485, FlagExplicitBed, 0, 0),
      intAtLeast(486, FlagMGSurf, 0, 0),
      intAtLeast(487, FlagOldPres, 1, 0),
      intAtLeast(488, UMethod2, 0, 0),
      intAtLeast(489, FirstIterNo, 0, 0),
      {.number = 490, .format = "%d %lf", .vars = {{FlagPressureTest, 1}, {PressureTestFactor, 0.2}},
       .checks = {countAtLeast(2), atLeast(0, 0), atLeast(1, 0.0)}, .message = kMessageSnl},
      doubleRange(491, CoeffPonds, 0.01, 0.0, 1.0),
      intAtLeast(492, FlagGridStabFix1, 0, 0),
      intAtLeast(493, FlagTriangleAlgo, 0, 0),
      intAtLeast(494, FlagConcProf, 0, 0),
      // F 495 would break the removal of ponds: every use of it ends the run.
      {.number = 495,
       .format = "%d %lf",
       .vars = {{FlagGridStabFix2, 0}, {GridDepthFix2, 0}},
       .checks = {countAtLeast(2), atLeast(0, 0)},
       .message = kMessageSnl,
       .effect =
           [] {
             fatalExit(kExitInputError,
                       "F 495 data set is discontinued from 14. nov. 2023 as it will break the ponds algorithm\n\n");
           }},
      intAtLeast(496, FlagPresLatSource, 0, 0),
      intAtLeast(497, FlagInflowConcVar, 0, 0),
      intAtLeast(498, FlagDragDune, 0, 0),
      intAtLeast(499, FlagDuneShearPartCross, 0, 0),
      doubleAtLeast(500, EHcoeff, 0.05, 0.0),
      doubleAtLeast(501, restCrit, 10.0, 0.0),
      intAtLeast(502, FlagBedMove, 0, 0),
      intAtLeast(503, FlagTriangle10, 0, 0),
      doubleAtLeast(504, ThixoGridDistCoeff, 0.6, 0.0),
      oneDouble(505, GravitySlope, 0.015),
      oneInt(506, FlagOrderRemovePonds, 1),
      {.number = 507,
       .defaults = [] { std::fill(std::begin(ShearGridCoeff), std::end(ShearGridCoeff), 1.0); },
       .handler = readShearGridCoefficients},
      oneInt(508, FlagGridStab9, 0),
      oneDouble(509, TurbThick, 1.0),
      doubleAtLeast(510, GridDistCoeff2, 1.0, 0.0),
      doubleAtLeast(511, GridDistCoeff3, 1.0, 0.0),
      {.number = 512, .format = "%lf %lf", .vars = {{outflowFixShear, 0}, {outflowFixDepth, 0}},
       .checks = {countAtLeast(2), atLeast(0, 0.0), atLeast(1, 0.0)}, .message = kMessageSnl},
      oneDouble(513, momentumAddInflow, 0.0),
      {.number = 514,
       .format = "%d %lf %lf",
       .vars = {{FlagSinkScour, 0}, {deltaSinkScour, 0}, {porosMultiplier, 1.0}},
       .checks = {countAtLeast(3), atLeast(2, 1e-20)},
       .message = "Error for F 514 in control: Default: F 514 0 0.0 1.0\n"},
      oneInt(515, FlagNewSurfUnstruc, 0),
      {.number = 516, .format = "%d %d %d", .vars = {{ofGridI, 1}, {ofGridJ, 1}, {ofGridK, 1}},
       .checks = {countAtLeast(3), atLeast(0, 1), atLeast(1, 1), above(2, 0)}, .message = kMessageSnl},
      oneInt(517, FlagScaleSurfFroude, 0),
      oneInt(518, FlagScaleInterpol, 0),
      oneInt(519, FlagFollowSurface, 0),
      oneInt(520, NoMGloops, 3),
      oneInt(521, FlagExtraDebug, 0),
      {.number = 522, .format = "%d %d", .vars = {{FlagTolvenika, 0}, {CrossTolvenika, 0}},
       .checks = {countAtLeast(2)}, .message = kMessageSnl},
      oneInt(523, FlagTestBugMetric, 0),
      oneInt(524, FlagShapeInflow, 0),
      oneDouble(525, coeffTurbFlag5, 1.0),
      oneInt(526, FlagTVertGrad, 0),
      oneDouble(527, coeffEpsilon, 1.0),
      oneInt(528, FlagGridStab10, 0),
      oneInt(529, FlagGridStab11, 0),
      oneInt(530, FlagLimitSurf, 0),
      doubleAtLeast(531, GridRoughnessParam, 0.0, 0.0),
      {.number = 532,
       .format = "%d %lf %lf",
       .vars = {{varTimeInterval, 0}, {varTimeStart, 0}, {varTimeEnd, 0}},
       .checks = {countAtLeast(3), rule([] { return varTimeInterval != 1; }),
                  rule([] { return varTimeStart <= varTimeEnd; }), atLeast(2, 0.0)},
       .message = kMessageSnl},
      oneInt(533, FlagHorMove, 1),
      oneDouble(534, coeffTurbC3e, -0.33),
      oneInt(535, FlagMakeKoomin, 0),
      {.number = 536, .format = "%d %lf", .vars = {{FlagReduceEH, 0}, {coeffReduceEH, 0}},
       .checks = {countAtLeast(2), range(1, 0.0, 1.0), atLeast(0, 0)}, .message = kMessageSnl},
      oneInt(537, FlagQuistel, 0),
      oneInt(538, FlagDebugGrid, 0),
      oneInt(539, FlagWaterlevelModify, 0),
      oneInt(540, FlagInitiatePres, 0),
      // F 541: the solvers compare with 1000 times the value given.
      {.number = 541,
       .format = "%lf",
       .vars = {{dischargeSolverLimit, 1e20}},
       .checks = {countAtLeast(1)},
       .message = kMessageSnl,
       .effect = [] { dischargeSolverLimit *= 1000.0; }},
      oneInt(542, FlagPondsPres, 0),
      oneDouble(543, presGradPorosBed, -1.0),
      {.number = 544, .format = "%lf %lf", .vars = {{TurbMultVertU, 1.0}, {TurbMultHorU, 1.0}},
       .checks = {countAtLeast(2), atLeast(0, 0.0), atLeast(1, 0.0)}, .message = kMessageSnl},
      oneInt(545, FlagGravityInitialize, 0),
      oneInt(546, FlagWallCorner, 0),
      oneInt(547, NoRepeatTimei, 0),
      oneInt(548, FlagTriEdges, 0),
      oneInt(549, FlagPresCrash, 0),
      oneInt(550, FlagFlowDirCor, 0),
      doubleAtLeast(551, deltaLevelPorosity, 0.01, 0.0),
  };
  return rows;
}
