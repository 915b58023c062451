// Data sets F 200 to F 299: threads, residual norms, discharge groups, slides,
// soil stress, groundwater and the other settings of this range. F 206 fixes
// the thread count of every later parallel region; F 293 starts "vostel".
#include <algorithm>
#include <cstdio>

#include "model/settings.h"
#include "model/threads.h"
#include "startup/dataset_row_shapes.h"
#include "startup/dataset_rows.h"
#include "base/exit_codes.h"
#include "base/log.h"

namespace {

// "Error for F <n> in control", followed by lineEnd.
[[noreturn]] void refuse(int number, const char *lineEnd) {
  fatalPrintf(kExitInputError, nullptr, "Error for F %d in control%s", number, lineEnd);
}

// F 200: the residual norms of k and epsilon, and for 2 also those of the
// velocities and the pressure, read only then.
void readResidualNorms(ControlStream &stream) {
  ScanResult read = scan(stream, " %d %lf %lf", &FlagNormSet, &NormK, &NormEps);
  DataSetNumber = read.count;
  if (read.bad || read.count < 3 || FlagNormSet < 1 || NormK < 0.0 || NormEps < 0.0) refuse(200, "");
  if (FlagNormSet != 2) return;
  read = scan(stream, " %lf %lf", &NormVel, &NormPres);
  DataSetNumber = read.count;
  if (read.bad || read.count < 2 || NormVel < 0.0 || NormPres < 0.0) refuse(200, "");
}

// F 206: the thread count is capped by what the runtime offers and then fixed
// for every later region. A negative count is logged as given and kept as 0,
// the value the start-up checks turn into one thread; the runtime is never
// asked for fewer than one thread.
void fixThreads() {
  int offered = maxThreadsOffered();
  logPrintf("Max. number of threads: %d, value F 206: %d\n", offered, NoProcessesSolver);
  NoProcessesSolver = std::clamp(NoProcessesSolver, 0, std::max(offered, 0));
  fixThreadCount(NoProcessesSolver);
}

// F 218: the iteration of the debug dump, and optionally the cell to dump.
void readDebugDump(ControlStream &stream) {
  ScanResult read = scan(stream, "%d", &StopIter);
  DataSetNumber = read.count;
  if (read.bad || read.count < 1) refuse(218, "");
  read = scan(stream, "%d", &PrintDebugBoogie);
  DataSetNumber = read.count;
  if (read.bad) refuse(218, "");
  if (read.count < 1) PrintDebugBoogie = 0;
}

// F 235: only the variants 1, 5, 10 and 21 are safe on threads.
void warnCorrTrekant() {
  if (FlagCorrTrekant == 1 || FlagCorrTrekant == 5 || FlagCorrTrekant == 10 || FlagCorrTrekant == 21) return;
  logPrintf("Warning: The F 235 %d data set will only work when\n", FlagCorrTrekant);
  logText("not used in combination with the F 206 data set\n\n");
}

// F 237: the fixed discharge of one group; a discharge of practically zero
// would divide the inflow profile by zero, so it is refused.
void readGroupDischarge(ControlStream &stream) {
  int group = 0;
  double discharge = 0.0;
  ScanResult read = scan(stream, "%d %lf", &group, &discharge);
  DataSetNumber = read.count;
  if (read.bad || read.count < 2 || group < 1 || group > 9 || discharge < 0.0) refuse(237, "\n");
  if (discharge < 1e-20) {
    fatalPrintf(kExitInputError, nullptr, "Error for F 237, group %d: discharge is too low\n", group);
  }
  discharges[group] = discharge;
}

void groupDischargeDefaults() { std::fill(std::begin(discharges), std::end(discharges), -1.0); }

// F 242: the bed-change move count; the two refusals say what went wrong.
void readMoveCount(ControlStream &stream) {
  ScanResult read = scan(stream, "%d", &NumMoveBedchange);
  DataSetNumber = read.count;
  if (read.bad) refuse(242, "\n");
  if (read.count < 1) fatalExit(kExitInputError, "Error for F 242 in control\nHave not read any integer\n");
  if (NumMoveBedchange < 1) {
    fatalPrintf(kExitInputError, nullptr, "Error for F 242 in control\nInvalid number on data set: %d\n",
                NumMoveBedchange);
  }
}

// F 245: a third value of 1 also switches the sixth grid stabilisation on.
void corrTrekantGridStab() {
  if (FlagCorrTrekant3 == 1) FlagGridStab6 = 1;
}

void moduliDefaults() {
  GModulus = 6.5e7;
  LModulus = 0.0;
}

// F 260: the flocculation routine needs a transient sediment computation.
void warnFlocculation() {
  if (FlagFlocDLL == 0 || FlagTSC > 1) return;
  logText("Error in control file. The F 260 data set will only work\n");
  logText("when the F 37 data set is set to 2 or 3\n\n");
}

// F 261: coupled nesting 16 and 18 sums its residuals per thread.
void warnCoupledNesting() {
  if ((FlagCoupledNesting == 16 || FlagCoupledNesting == 18) && NoProcessesSolver > 0) {
    logText("Warning: The combination of F 206 and F 261 data sets in the control file will\n");
    logText("give incorrect residuals\n");
  }
}

// F 263: the update interval of one group, read through these two.
int updateGroup;
int updateValue;
void storeGroupUpdate() { updates[updateGroup] = updateValue; }
void groupUpdateDefaults() { std::fill(std::begin(updates), std::end(updates), -1); }

// F 269 sets the two last stage switches; the others start at 0.
void openMPDefaults() {
  std::fill(std::begin(FlagOpenMP), std::end(FlagOpenMP), 0);
  FlagOpenMP[10] = FlagOpenMP[11] = 1;
}

// F 273: GENMIX, and for 2 its epsilon coefficient, read only then.
void readGenmix(ControlStream &stream) {
  ScanResult read = scan(stream, "%d", &FlagGENMIX);
  DataSetNumber = read.count;
  if (read.bad || read.count < 1 || FlagGENMIX < 0) refuse(273, "\n");
  if (FlagGENMIX != 2) return;
  read = scan(stream, "%lf", &coeffEps);
  DataSetNumber = read.count;
  if (read.bad || read.count < 1 || coeffEps < 0.0) {
    fatalExit(kExitInputError, "Error for 2nd parameter on F 273 data set in control file\n");
  }
}

// F 287: the global flux-defect correction, and for 6 its two limits.
void readGlobalFlux(ControlStream &stream) {
  ScanResult read = scan(stream, "%d", &FlagGlobFlux);
  DataSetNumber = read.count;
  if (read.bad || read.count < 1 || FlagGlobFlux < 0) refuse(287, "\n");
  if (FlagGlobFlux != 6) return;
  read = scan(stream, "%lf %lf", &GlobFluxLim1, &GlobFluxLim2);
  DataSetNumber = read.count;
  if (read.bad || read.count < 2 || GlobFluxLim1 < 0.0 || GlobFluxLim1 > GlobFluxLim2) {
    fatalExit(kExitInputError, "Error for F 287 6 in control\n");
  }
}

void warnDamping() {
  logText("Warning: The F 291 data set parameters will mostly only work\n");
  logText("with F 206 0\n\n");
}

// F 292: an inner time step of 1 together with the accelerator grid and the
// unstructured minimum levels is unstable; 5 is the way to insist.
bool innerTimestepCombines() { return !(FlagInnerTimestep == 1 && Flag2DAccSolver >= 1 && FlagMinLevUnstruc >= 1); }

// F 293: "vostel" starts with its header whatever the value, so the residual
// history of this run never continues an old one.
void startVostel() {
  std::FILE *file = std::fopen("vostel", "w");
  if (!file) fatalExit(kExitControlMissing, "Error, cannot open file 'vostel'\n");  // exit -4
  std::fputs("Iteration, Residuals: Ux, Uy, Uz, Continuity, k, epsilon\n", file);
  std::fclose(file);
}

}  // namespace

std::span<const DataSetRow> fRows200to299() {
  static const std::vector<DataSetRow> rows = {
      {.number = 200,
       .vars = {{FlagNormSet, 0}, {NormK, 0.0001}, {NormEps, 0.0001}, {NormVel, 0.001}, {NormPres, 0.001}},
       .handler = readResidualNorms},
      {.number = 201,
       .format = " %d %d %d",
       .vars = {{VegVars, 1}, {VegLevels, 4}, {VegTimes, 1}},
       .checks = {countAtLeast(3), range(0, 1, 5), atLeast(1, 1), atLeast(2, 1)}},
      {.number = 202,
       .format = "%d %lf",
       .vars = {{FlagLogInflow, 0}, {XksInflow, 0}},
       .checks = {countAtLeast(2), atLeast(0, 0), atLeast(1, 0.0)}},
      oneInt(203, FlagVertVelStab, 0, kMessageS),
      oneDouble(204, sizeBedCritCorr, 0.0, kMessageS),
      {.number = 205,
       .format = "%d %lf",
       .vars = {{FlagSkewedBedchange, 0}, {f205param, 2.0}},
       .checks = {countAtLeast(2), atLeast(1, 0.0)},
       .message = "Error for F 205 in control\n"
                  "Two parameters are needed, one integer and one float\n"
                  "The float should be larger than 0.0\n"},
      {.number = 206, .format = "%d", .vars = {{NoProcessesSolver, 0}}, .checks = {countAtLeast(1)},
       .effect = fixThreads},
      oneInt(208, FlagTimeOrder, 0),
      oneDouble(209, MaxDepth209, -1.0, kMessageS),
      oneInt(210, FlagBankErosion, 0, kMessageS),
      intAtLeast(212, FlagWriteSpecial, 0, 0),
      {.number = 213, .format = "%d %lf", .vars = {{FlagLEA1, 0}, {CoeffLEA1, 0}},
       .checks = {countAtLeast(2), atLeast(0, 0)}, .message = kMessageSnl},
      {.number = 214,
       .format = "%d %lf %lf %lf %lf",
       .vars = {{FlagLEA2, 0}, {CoeffLEA2_teta, 0}, {CoeffLEA2_k2, 0}, {CoeffLEA2_k3, 0}, {CoeffLEA2_k4, 0}},
       .checks = {countAtLeast(5), atLeast(0, 0)},
       .message = kMessageSnl},
      {.number = 215, .format = "%d %lf", .vars = {{FlagLEA3, 0}, {CoeffLEA3, 0}},
       .checks = {countAtLeast(2), atLeast(0, 0)}, .message = kMessageSnl},
      {.number = 216, .format = "%d %lf", .vars = {{FlagLEA4, 0}, {CoeffLEA4_teta, 0}},
       .checks = {countAtLeast(2), atLeast(0, 0)}, .message = kMessageSnl},
      {.number = 217, .format = "%d %lf %lf", .vars = {{FlagLEA5, 0}, {CoeffLEA5_Ub, 0}, {CoeffLEA5_teta, 0}},
       .checks = {countAtLeast(3), atLeast(0, 0)}, .message = kMessageSnl},
      {.number = 218, .vars = {{StopIter, -10}, {PrintDebugBoogie, 0}}, .handler = readDebugDump},
      oneInt(219, FlagFlush, 0, kMessageS),
      oneInt(221, FlagStopTime, 0, kMessageS),
      oneInt(222, FlagBedDownstream, 1, kMessageS),
      oneInt(223, ompbugtrap, 0, kMessageS),
      oneDouble(224, SurfResCrit, 100.0, kMessageS),
      {.number = 225, .format = "%lf %lf", .vars = {{ScaleGeodataMult, 1.0}, {ScaleGeodataAdd, 0}},
       .checks = {countAtLeast(2)}},
      oneInt(226, FlagSurfFlux, 0, kMessageS),
      oneInt(227, TFSfroudeforward, 1, kMessageS),
      oneInt(229, FlagPreventDiv, 0, kMessageS),
      oneInt(230, FlagTiltSurf, 0, kMessageS),
      oneInt(231, FlagGridIter, 0, kMessageS),
      {.number = 232, .format = "%d %d %lf", .vars = {{FlagGridCNO, 1}, {FlagGridQexpand, 0}, {FlagGridVVANG, 0}},
       .checks = {countAtLeast(3)}},
      oneInt(233, FlagNonHydrostaticSurf, 0, kMessageS),
      oneInt(234, FlagSurfPresDownstream, 0),
      {.number = 235, .format = "%d", .vars = {{FlagCorrTrekant, 0}}, .checks = {countAtLeast(1)},
       .message = kMessageSnl, .effect = warnCorrTrekant},
      {.number = 236,
       .format = "%d %lf %lf %lf",
       .vars = {{FlagThixo, 0}, {ThixoEddyvisc, 0}, {ThixoCritshear, 0}, {ThixoMySlope, 0.8}},
       .checks = {countAtLeast(4)},
       .message = kMessageSnl},
      {.number = 237, .defaults = groupDischargeDefaults, .handler = readGroupDischarge},
      {.number = 238,
       .format = "%d %lf",
       .vars = {{FlagNestTop, 0}, {LevelNestTop, -20000.0}},
       .checks = {countAtLeast(2), atLeast(0, 0), atLeast(1, -20000.0)},
       .message = "Error for F 238 in control\nYou have to give in two numbers: an integer and a float\n\n"},
      {.number = 239, .format = "%d %d", .vars = {{iterSurfSolv1, 50}, {iterSurfSolv2, 350}},
       .checks = {countAtLeast(2), atLeast(0, 0), atLeast(1, 0)}, .message = kMessageSnl},
      intAtLeast(241, NestSurf, 0, 0),
      {.number = 242, .vars = {{NumMoveBedchange, 100}}, .handler = readMoveCount},
      {.number = 244, .format = "%lf %lf", .vars = {{relaxTrekant1, 0.5}, {relaxTrekant2, 0.8}},
       .checks = {countAtLeast(2), range(0, 0.0, 1.0), range(1, 0.0, 1.0)}, .message = kMessageSnl},
      {.number = 245,
       .format = "%d %d %d",
       .vars = {{FlagCorrTrekant, 0}, {FlagCorrTrekant2, 0}, {FlagCorrTrekant3, 0}},
       .checks = {countAtLeast(3)},
       .message = kMessageSnl,
       .effect = corrTrekantGridStab,
       .defaults = [] { FlagGridStab6 = 0; }},
      {.number = 246,
       .format = "%d %d %d %lf",
       .vars = {{FlagSurfLimit1, 0}, {FlagSurfLimit2, 0}, {FlagSurfLimit3, 0}, {Diffslope, 100.0}},
       .checks = {countAtLeast(4)},
       .message = "Error for F 246 in control, not correct number of parameters\n"},
      {.number = 247,
       .format = "%lf %lf",
       .vars = {{EModulus, 6.5e7}, {PoissonRatio, 0.4}},
       .checks = {countAtLeast(2), range(1, 0.0, 0.5), range(0, 1e5, 5e10)},
       .message = kMessageSnl,
       .effect = computeSoilModuli,
       .defaults = moduliDefaults},
      {.number = 248, .format = "%d", .vars = {{FlagSoilStress, 0}}, .checks = {countAtLeast(1)},
       .message = kMessageSnl},
      oneInt(249, FlagAllowNegatveSedimentthickness, 0),
      intAtLeast(250, kSurf2, 0, 0),
      // F 251: Shields curves 0..3; above 3 there is no curve.
      {.number = 251,
       .format = "%d",
       .vars = {{FlagShields, 0}},
       .checks = {countAtLeast(1), range(0, 0, 3)},
       .message = kMessageSnl},
      doubleAtLeast(252, relaxOutFlux, 0.9, 0.0),
      intAtLeast(253, FlagImplicitSedim, 0, 0),
      oneDouble(254, TFS17WeightPresCorr, 0.5),
      intAtLeast(255, FlagBedchangeOption, 0, 0),
      {.number = 256,
       .format = "%lf",
       .vars = {{MaxBedConc, 0.1}},
       .checks = {countAtLeast(1, "Error for F 256 in control\nHave not read any floating point number\n"),
                  atLeast(0, 0.0)},
       .message = kMessageSnl},
      intAtLeast(257, FlagCrashGrid, 0, 0),
      intAtLeast(258, FlagStressTerm, 0, 0),
      intAtLeast(259, FlagStressStrain, 9, 0),
      {.number = 260, .format = "%d", .vars = {{FlagFlocDLL, 0}}, .checks = {countAtLeast(1), atLeast(0, 0)},
       .message = kMessageSnl, .effect = warnFlocculation},
      {.number = 261,
       .format = "%d %lf",
       .vars = {{FlagCoupledNesting, 0}, {RelaxCoupledNesting, 0.5}},
       .checks = {countAtLeast(2), atLeast(0, 0), atLeast(1, 0.0)},
       .message = kMessageSnl,
       .effect = warnCoupledNesting},
      {.number = 262,
       .format = "%d %lf",
       .vars = {{FlagGroundwater, 0}, {Conductivity, 5.3e-6}},
       .checks = {countAtLeast(2), atLeast(0, 0), atLeast(1, 0.0)},
       .message = kMessageSnl},
      {.number = 263,
       .format = "%d %d",
       .vars = {{updateGroup, 0}, {updateValue, 0}},
       .checks = {countAtLeast(2), range(0, 1, 9), atLeast(1, 0)},
       .message = kMessageSnl,
       .effect = storeGroupUpdate,
       .defaults = groupUpdateDefaults},
      oneInt(264, FlagDensityAlgo, 0),
      {.number = 265, .format = "%lf", .vars = {{di_graph, 0.5}}, .checks = {countAtLeast(1), range(0, 0.001, 0.999)},
       .message = kMessageSnl},
      {.number = 266,
       .format = "%d %lf %lf",
       .vars = {{FlagGLEA, 0}, {SlopeGLEA, 0.65}, {CohesionGLEA, 0}},
       .checks = {countAtLeast(3), atLeast(0, 0), atLeast(1, 0.0), atLeast(2, 0.0)},
       .message = kMessageSnl},
      intAtLeast(267, FlagNoContour, 0, 0),
      intAtLeast(268, FlagViewNested, 0, 0),
      {.number = 269,
       .format = "%d %d",
       .vars = {{FlagOpenMP[10], 1}, {FlagOpenMP[11], 1}},
       .checks = {countAtLeast(2), atLeast(0, 0), atLeast(1, 0)},
       .message = "Error for F 269 in control\nThe data set needs two integers. Default F 269 1 1\n",
       .defaults = openMPDefaults},
      {.number = 270,
       .format = "%d %lf %lf",
       .vars = {{IterAvalanche, 0}, {AngleAvalancheUp, 0}, {AngleAvalanche, 1.0}},
       .checks = {countAtLeast(3), atLeast(0, 0), range(2, 0.01, 70.0), range(1, 0.01, 70.0)}},
      intAtLeast(271, FlagTFS2, 0, 0),
      intAtLeast(272, FlagKatoLaunder, 0, 0),
      {.number = 273, .vars = {{FlagGENMIX, 0}, {coeffEps, 1.0}}, .handler = readGenmix},
      intAtLeast(274, FlagBedAngles, 0, 0),
      {.number = 275, .format = "%lf %lf", .vars = {{EpsilonCs1, 1.44}, {EpsilonCs2, 1.92}},
       .checks = {countAtLeast(2), atLeast(0, 0.0), atLeast(1, 0.0)}, .message = kMessageSnl},
      intAtLeast(276, FlagInOutLevels, 1, 0),
      intAtLeast(277, FlagBedDefect, 0, 0),
      intAtLeast(278, FlagTFS3, 0, 0),
      intAtLeast(279, FlagShearNB, 0, 0),
      intAtLeast(280, FlagNestFluxInterpol, 0, 0),
      {.number = 281, .format = "%d %lf", .vars = {{FlagDuneEddy, 0}, {DuneEddyFactor, 1.0}},
       .checks = {countAtLeast(2), atLeast(0, 0), atLeast(1, 0.0)}, .message = kMessageSnl},
      intAtLeast(282, FlagUpdateDownwind, 0, 0),
      intAtLeast(283, FlagSurfLimit4, 0, 0),
      intAtLeast(284, FlagTFS4, 0, 0),
      {.number = 285, .format = "%d %d", .vars = {{FlagBedConcentration, 0}, {FlagBedSlope, 0}},
       .checks = {countAtLeast(2), atLeast(0, 0), atLeast(1, 0)}, .message = kMessageSnl},
      {.number = 287, .vars = {{FlagGlobFlux, 0}, {GlobFluxLim1, 0.5}, {GlobFluxLim2, 2.0}},
       .handler = readGlobalFlux},
      {.number = 289,
       .format = "%d %d %d %d",
       .vars = {{FlagThixoDamp, 0}, {FlagThixoGrid, 0}, {FlagThixoDampAp, 0}, {FlagThixoDampVel, 0}},
       .checks = {countAtLeast(4), atLeast(0, 0), atLeast(1, 0), atLeast(2, 0), atLeast(3, 0)},
       .message = "Error for F 289 in control\nThere should be four integers on the data set. Now there is %d\n"},
      {.number = 290, .format = "%lf %lf", .vars = {{GammaVertCoeff1, 0}, {GammaVertCoeff2, 0}},
       .checks = {countAtLeast(2), atLeast(0, 0.0)}, .message = kMessageSnl},
      {.number = 291,
       .format = "%d %d %d",
       .vars = {{FlagDamp1, 0}, {FlagDamp2, 0}, {FlagDamp3, 0}},
       .checks = {countAtLeast(3), atLeast(0, 0), atLeast(1, 0), atLeast(2, 0)},
       .message = kMessageSnl,
       .effect = warnDamping},
      {.number = 292,
       .format = "%d %lf",
       .vars = {{FlagInnerTimestep, 0}, {InnerTimestep, 0}},
       .checks = {countAtLeast(2), atLeast(0, 0), atLeast(1, 1e-20),
                  rule(innerTimestepCombines,
                       "Warning for F 292 and F 168 and F 102 in control file\n"
                       "Combining these three data sets can lead to instabilities\n"
                       "If you still want to do this, use an integer 5 instead of 1 on the F 292 data set\n\n")},
       .message = kMessageSnl},
      {.number = 293, .format = "%d", .vars = {{FlagVostel, 0}}, .checks = {countAtLeast(1), atLeast(0, 0)},
       .message = kMessageSnl, .effect = startVostel},
      intAtLeast(294, InspaceAlloc, 0, 0),
      doubleAtLeast(295, RoughnessFactor, 1.0, 0.0),
      intAtLeast(296, FlagTimeSIMPLE, 0, 0),
      {.number = 297, .format = "%d", .vars = {{FlagWriteUnstruc, 3}}, .checks = {countAtLeast(1), range(0, 2, 4)},
       .message = kMessageSnl},
      {.number = 298,
       .format = "%d %lf %lf",
       .vars = {{OpenFOAMsides, 0}, {OpenFOAMinLevel, 1e20}, {OpenFOAMoutLevel, 1e20}},
       .checks = {countAtLeast(3), atLeast(0, 0), atMost(1, 2e20), atMost(2, 2e20)},
       .message = kMessageSnl},
      intAtLeast(299, FlagUnstrucWedge, 0, 0),
  };
  return rows;
}
