// Data sets F 1 to F 99: time stepping, turbulence, sediment, free surface,
// array capacities and grid generation settings, each with its default,
// checks and message. F 5 and F 47 read their values themselves.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "model/control_tables.h"
#include "model/settings.h"
#include "startup/dataset_rows.h"
#include "base/exit_codes.h"
#include "base/log.h"

namespace {

// F 5: the angle of repose is given in degrees and kept as its sine. Only a
// value actually read is turned into a sine: a failed read (for example the
// word "Flow" re-reading data set 5) must not take the sine of the sine.
void readReposeAngle(ControlStream &stream) {
  double degrees = 0.0;
  ScanResult read = scan(stream, "%lf", &degrees);
  if (read.bad) fatalExit(kExitInputError, "Error for F 5 in control");
  if (read.count == 1) SinReposeAngle = std::sin(3.1415926535897 * degrees / 180.0);
}

// F 47: the interpolation limit, and optionally a second limit that is set
// only when it is given. The count of the second read is the one stored.
void readInterpolationLimits(ControlStream &stream) {
  ScanResult first = scan(stream, "%lf", &InterLimit);
  double second = 0.0;
  ScanResult next = scan(stream, "%lf", &second);
  DataSetNumber = next.count;
  if (first.bad || next.bad || !(InterLimit >= 0.0)) fatalExit(kExitInputError, "Error for F 47 in control");
  if (next.count == 1) InterALimit = second;
}

void clearFlagMinBedLev() { FlagMinBedLev = 0; }
void clearFlagCoriolis() { FlagCoriolis = 0; }
void clearFlagThermocline() { FlagThermocline = 0; }
void clearFlagFroudeHystat() { FlagFroudeHystat = 0; }
void clearTopBed() { TopBed = 0; }

// F 16 also gives the roughness of the inflow profile (F 202 may change it).
void xksDefaults() { XksInflow = 0.0; }
void copyXksToInflow() { XksInflow = XksWall; }

void reportSedimentScheme() { logText("Using SOU scheme for sediment calculations\n"); }

void bedFlagDefaults() {
  for (int &flag : BedFlags) flag = 0;
}

// F 36: the free-surface algorithms 1 and 11..19 need the gravity term;
// algorithm 11 also its own velocity corrections.
void freeSurfaceEffects() {
  if (FlagTFS == 1 || (FlagTFS >= 11 && FlagTFS <= 19)) FlagGravity = 1;
  if (FlagTFS == 11) FlagSimpleCorrections = 30;
}

void setFlagMinBedLev41() { FlagMinBedLev = 41; }
void setFlagMinBedLev42() { FlagMinBedLev = 42; }
void setFlagCoriolis() { FlagCoriolis = 1; }

// F 52: the two direction factors together may not exceed 2.
bool windFactorsAccepted() { return std::fabs(Wind[1]) + std::fabs(Wind[2]) <= 2.0; }

// F 56: the slide algorithms 202 to 205 work only with the bed-layer model of F 37 3.
bool slideAlgorithmAccepted() { return IterAvalanche < 202 || IterAvalanche > 205 || FlagTSC == 3; }

// F 63: the scheme of the component equations 8 and 9, and of the suspended
// sediment (equation 7) when a transient sediment computation is on.
void schemeDefaults() {
  for (int &code : sou) code = 0;
}
void componentSchemes() {
  if (SouComp == 1) sou[8] = sou[9] = 1;
  if (FlagTSC > 0) sou[7] = SouComp;
}

// F 64: the grid generator reads TopBed to tell the two families of vertical
// grid algorithms apart: 0 for the ones listed here, 1 for every other.
void gridAlgorithmTopBed() {
  bool fromTop = UMethod == 3 || UMethod == 4 || UMethod == 8 || (UMethod >= 10 && UMethod <= 13) || UMethod == 33 ||
                 UMethod == 38 || (UMethod >= 100 && UMethod <= 500);
  TopBed = fromTop ? 0 : 1;
}

// F 65: the nesting and connection tables always get room for two entries.
void raiseSmallCapacities() {
  MaxNester = std::max(MaxNester, 2);
  MaxConnFlate = std::max(MaxConnFlate, 2);
}

void qualityNameDefaults() { std::memset(QualityName, 0, sizeof QualityName); }

// F 67: component 0 becomes the water temperature, so at least one component exists.
void temperatureComponent() {
  if (TemperatureFlag != 1) return;
  std::strcpy(QualityName[0], "Temperature        ");
  NoComponents = std::max(NoComponents, 1);
}

void setFlagThermocline() { FlagThermocline = 1; }

// F 86: the minimum vertical distance also sets the depths at which a column
// gets one cell (the value) and no cells (a quarter of it).
void minVertDistDefaults() {
  MinVertDist0 = -0.001;
  MinVertDist1 = 0.01;
}
void verticalDistanceDepths() {
  MinVertDist1 = MinVertDist;
  MinVertDist0 = 0.25 * MinVertDist;
}

void setFlagFroudeHystat() { FlagFroudeHystat = 1; }

// F 94: the one-cell depth is also the minimum vertical distance.
void oneCellDepthIsMinVertDist() { MinVertDist = MinVertDist1; }

// F 95: porous-wall parameters switch the porous-wall treatment on.
void porousWallParameters() {
  if (PorosWallFlag == 0) PorosWallFlag = 2;
}

}  // namespace

std::span<const DataSetRow> fRows1to99() {
  static const std::vector<DataSetRow> rows = {
      {.number = 1, .format = " %c", .vars = {{debugging, 'N'}}},
      {.number = 3, .format = "%lf", .vars = {{convergence, 1e-6}}},
      {.number = 4, .format = "%lf %d %lf", .vars = {{relax_morph, 0.5}, {iter_morph, 50}, {conv_morph, 0.01}}},
      {.number = 5, .vars = {{SinReposeAngle, 1.0}}, .handler = readReposeAngle},
      {.number = 6,
       .format = "%lf %lf %lf",
       .vars = {{ConcFormCoeff, 0.015}, {ConcFormTstar, 1.5}, {ConcFormDstar, 0.3}}},
      {.number = 8, .format = "%lf", .vars = {{MaxBedChange, 0.1}}, .checks = {range(0, 0.0, 1.0)}},
      {.number = 9, .format = "%lf", .vars = {{EddyMult, 1.0}}, .checks = {range(0, 0.1, 10.0)}},
      {.number = 10, .format = " %c", .vars = {{SedimentFormula, 'R'}}, .checks = {oneOf(0, "AEIMRSY")}},
      {.number = 11,
       .format = "%lf %lf",
       .vars = {{density, 2.65}, {shieldscoeff, -0.047}},
       .checks = {atMost(1, 1.0), range(0, 1.0, 10.0)}},
      {.number = 12, .format = "%lf", .vars = {{Schmidt, 1.0}}, .checks = {above(0, 0.0), atMost(0, 5.0)}},
      {.number = 13, .format = "%lf", .vars = {{StressDiff, 0}}, .checks = {range(0, 0.0, 5.0)}},
      {.number = 14, .format = "%lf", .vars = {{ArtDiff, 0}}, .checks = {range(0, 0.0, 5e10)}},
      {.number = 15, .format = "%d", .vars = {{FlagWallAll, 0}}, .checks = {range(0, 0, 20)}},
      {.number = 16,
       .format = "%lf",
       .vars = {{XksWall, -2.0}},
       .checks = {range(0, -3.0, 10.0)},
       .effect = copyXksToInflow,
       .defaults = xksDefaults},
      {.number = 17, .format = "%lf", .vars = {{TimeStep, 1e-20}}, .checks = {atLeast(0, 1e-10)}},
      {.number = 18, .format = "%lf", .vars = {{SourDens, 0}}, .checks = {range(0, 0.0001, 100.0)}},
      {.number = 19, .format = "%lf", .vars = {{InitPres, 0}}, .checks = {range(0, 0.0, 10.0)}},
      {.number = 20, .format = "%d", .vars = {{IterF2, 1}}, .checks = {above(0, 0)}},
      {.number = 21, .format = "%lf", .vars = {{RelaxRhieChow, 1.0}}, .checks = {range(0, -1.0, 20.0)}},
      {.number = 22,
       .format = "%lf %lf",
       .vars = {{MinPorosity, 0.35}, {RelaxPorosity, 2.0}},
       .checks = {range(0, 0.001, 1.0), range(1, -1.0, 10.0)}},
      {.number = 23,
       .format = "%lf %lf",
       .vars = {{FillPart, 0}, {FillCriteria, 0}},
       .checks = {range(0, 0.0, 1.0), atLeast(1, 0.0)}},
      {.number = 24, .format = "%d", .vars = {{TurbulenceModel, 0}}, .checks = {range(0, 0, 20)}},
      {.number = 25,
       .format = "%lf %lf %lf %lf %d",
       .vars = {{MinPorosity, 0.35}, {RelaxPorosity, 2.0}, {RoughPoros1, 0.5}, {RoughPoros2, 0.8}, {DiamPoros, 5}},
       .checks = {range(0, 0.001, 1.0), range(2, 0.001, 1.0), range(3, 0.001, 1.0), range(4, 0, 7),
                  range(1, -1.0, 10.0)}},
      // The solid fraction turns every bed volume into mass: 0 would divide the
      // bed change by nothing, and more than 1 is more grain than volume.
      {.number = 26, .format = "%lf", .vars = {{SolidFrac, 0.5}}, .checks = {above(0, 0.0), atMost(0, 1.0)}},
      {.number = 27,
       .format = "%d",
       .vars = {{SedimentScheme, 0}},
       .checks = {range(0, 0, 10)},
       .effect = reportSedimentScheme},
      {.number = 28,
       .format = "%d %d %d %lf",
       .vars = {{ADFlag, 1}, {ADSmearNo, 2}, {ADConvNo, 0}, {ADSmearLim, 1.0}},
       .checks = {range(0, 0, 1), atLeast(1, 0), atLeast(2, 0), range(3, 0.0, 100.0)}},
      // Six separate reads of "%d " behave as this one read: after the first
      // value that cannot be converted the others fail at the same character,
      // leave their elements unchanged and leave the character to the loop.
      {.number = 30,
       .format = "%d %d %d %d %d %d ",
       .vars =
           {{BedFlags[0], 0}, {BedFlags[1], 0}, {BedFlags[2], 0}, {BedFlags[3], 0}, {BedFlags[4], 0}, {BedFlags[5], 0}},
       .checks = {range(0, 0, 6), range(1, 0, 6), range(2, 0, 6), range(3, 0, 6), range(4, 0, 6), range(5, 0, 6)},
       .defaults = bedFlagDefaults},
      {.number = 31,
       .format = "%lf %lf ",
       .vars = {{PorosMult1, 0.8}, {PorosMult2, 0.8}},
       .checks = {range(0, 0.0, 10.0), range(1, 0.0, 10.0)}},
      {.number = 32, .format = "%lf ", .vars = {{twoDratio, 0}}, .checks = {range(0, 0.0, 1000.0)}},
      // The range tests come before the count test, and the count is not stored.
      {.number = 33,
       .format = "%lf %d",
       .vars = {{TimeStep, 1e-20}, {TransInnerIter, 1}},
       .checks = {atLeast(0, 1e-20), atLeast(1, 0), countAtLeast(2, "Two numbers are required on F 33 data set\n")},
       .storesCount = 0},
      {.number = 34, .format = "%lf", .vars = {{ArtEddyVisc, 0}}, .checks = {atLeast(0, 0.0)}},
      {.number = 35, .format = "%lf", .vars = {{relaxBedShear, 0.5}}, .checks = {range(0, 0.0, 1.0)}},
      {.number = 36,
       .format = "%d",
       .vars = {{FlagTFS, 0}},
       .checks = {range(0, 0, 200)},
       .effect = freeSurfaceEffects},
      {.number = 37, .format = "%d", .vars = {{FlagTSC, 0}}, .checks = {range(0, 0, 3)}},
      {.number = 38, .format = "%lf", .vars = {{InputErrorLimit, 1e12}}, .checks = {atLeast(0, 0.0)}},
      {.number = 39, .format = "%lf", .vars = {{AccBedChange, 1.0}}, .checks = {atLeast(0, 0.0)}},
      {.number = 40, .format = "%lf", .vars = {{relaxDensityTurb, 0}}, .checks = {range(0, 0.0, 10.0)}},
      {.number = 41,
       .format = "%lf",
       .vars = {{MaxDepthScour, 0}},
       .checks = {range(0, 0.0, 10000.0)},
       .effect = setFlagMinBedLev41,
       .defaults = clearFlagMinBedLev},
      {.number = 42,
       .format = "%lf",
       .vars = {{MinLevScour, 0}},
       .checks = {range(0, -10000.0, 10000.0)},
       .effect = setFlagMinBedLev42},
      {.number = 47, .vars = {{InterLimit, 0.05}, {InterALimit, 1e10}}, .handler = readInterpolationLimits},
      {.number = 48, .format = "%d", .vars = {{FlagInterpolVal, 0}}, .checks = {range(0, 0, 100)}},
      {.number = 50, .format = "%d", .vars = {{NoComponents, 0}}, .checks = {range(0, 0, 10)}},
      {.number = 51,
       .format = "%lf",
       .vars = {{Coriolis, 0}},
       .checks = {absAtMost(0, 2.0)},
       .effect = setFlagCoriolis,
       .defaults = clearFlagCoriolis},
      {.number = 52,
       .format = "%lf %lf %lf",
       .vars = {{Wind[0], 0}, {Wind[1], 0}, {Wind[2], 0}},
       .checks = {countAtLeast(3), rule(windFactorsAccepted), range(0, 1e-7, 1000.0)}},
      {.number = 53,
       .format = "%d %d %d %d",
       .vars = {{PrintIterBoogie, 100}, {PrintIterRes, 100}, {PrintIterForce, 1}, {PrintIterTime, 1}},
       .checks = {countAtLeast(4), atLeast(0, 1), atLeast(2, 1), above(3, 0)}},
      {.number = 54, .format = "%lf", .vars = {{TimeBreakLimit, 0.002}}, .checks = {atLeast(0, 0.0)}},
      {.number = 56,
       .format = "%d %lf",
       .vars = {{IterAvalanche, 0}, {AngleAvalanche, 1.0}},
       .checks = {countAtLeast(2), atLeast(0, 0), range(1, 0.01, 50.0),
                  rule(slideAlgorithmAccepted,
                       "Error for F 56/F 37 data sets: F 56 204/205 should only be used with F 37 3\n\n")}},
      {.number = 58,
       .format = "%d %d %d %d %lf %lf %lf %lf %lf %lf",
       .vars = {{TFStimeterm, 1},
                {TFSpreszero, 0},
                {TFSmovewall, 0},
                {TFSfroudeforward, 1},
                {TFSdiffratio, 0.02},
                {TFSdampwall, 2.0},
                {TFSdampobs, 2.0},
                {TFStopvelocity, 0},
                {TFSforcesource, 1.0},
                {TFSuslope, 0}},
       .checks = {atLeast(4, 0.0), range(5, 0.0, 5.0), range(6, 0.0, 5.0), range(0, 0, 1), range(1, 0, 1),
                  range(7, -0.0001, 5.0), range(8, -0.0001, 5.0), range(2, 0, 1), range(3, 0, 1), atLeast(9, 0.0)}},
      {.number = 60,
       .format = "%d %d",
       .vars = {{TSCbedrouse, 0}, {TSCbedforms, 0}},
       .checks = {countAtLeast(2), range(0, 0, 10), range(1, 0, 10)}},
      {.number = 61, .format = "%lf", .vars = {{CrankNicols, 0}}, .checks = {countAtLeast(1), range(0, 0.0, 1.0)}},
      {.number = 62, .format = "%d", .vars = {{FlagTComp, 0}}, .checks = {range(0, 0, 1)}},
      {.number = 63,
       .format = "%d",
       .vars = {{SouComp, 0}},
       .checks = {range(0, 0, 100)},
       .effect = componentSchemes,
       .defaults = schemeDefaults},
      {.number = 64,
       .format = "%d",
       .vars = {{UMethod, 11}},
       .checks = {countAtLeast(1), range(0, 0, 500)},
       .effect = gridAlgorithmTopBed,
       .defaults = clearTopBed},
      // The size tests come before the count test. The sizes are stored as
      // read; the allocator guards what it cannot hold.
      {.number = 65,
       .format = "%d %d %d %d %d",
       .vars = {{MaxCeller, 50000}, {MaxFlater, 80000}, {MaxPunkter, 50000}, {MaxNester, 10000}, {MaxConnFlate, 1000}},
       .checks = {atLeast(2, 6), atLeast(0, 1), atLeast(1, 6),
                  countAtLeast(5, "Error for F 65 in control: Have only read %d numbers.")},
       .message = "Error for F 65 in control: too low numbers",
       .effect = raiseSmallCapacities},
      {.number = 66, .format = "%lf", .vars = {{NestInterpolRelax, 0}}, .checks = {range(0, 0.0, 1.0)}},
      {.number = 67,
       .format = "%d",
       .vars = {{TemperatureFlag, 0}},
       .checks = {range(0, 0, 1)},
       .effect = temperatureComponent,
       .defaults = qualityNameDefaults},
      {.number = 68, .format = "%d", .vars = {{Hydrostatic, 0}}, .checks = {countAtLeast(1), range(0, 0, 10)}},
      {.number = 69,
       .format = "%d %d %d %d %d %d %d",
       .vars = {{Seiche1, 0}, {Seiche2, 0}, {Seiche3, 0}, {Seiche4, 0}, {Seiche5, 0}, {Seiche6, 0}, {Seiche7, 0}},
       .checks = {countAtLeast(7)}},
      {.number = 70, .format = "%d", .vars = {{WallFlag, 0}}, .checks = {countAtLeast(1), range(0, 0, 100)}},
      {.number = 71, .format = "%d", .vars = {{TurbDensFlag, 0}}, .checks = {countAtLeast(1), range(0, 0, 100)}},
      {.number = 72, .format = "%lf", .vars = {{MinGamma, 0.001}}, .checks = {countAtLeast(1), range(0, 0.0, 100.0)}},
      {.number = 73, .format = "%d", .vars = {{WindFlag, 0}}, .checks = {countAtLeast(1), range(0, 0, 100)}},
      {.number = 74, .format = "%d", .vars = {{TimeRelaxFlag, 0}}, .checks = {countAtLeast(1), range(0, 0, 2)}},
      {.number = 75,
       .format = "%lf",
       .vars = {{Thermocline, 0}},
       .checks = {countAtLeast(1), range(0, -0.5, 40.0)},
       .effect = setFlagThermocline,
       .defaults = clearFlagThermocline},
      {.number = 76,
       .format = "%lf %lf %lf",
       .vars = {{TDChoriz, 1.0}, {TDCvert, 1.0}, {TDCdistrib, 0}},
       .checks = {countAtLeast(3), range(0, 0.0, 1000.0), range(1, 0.0, 1000.0), range(2, 0.0, 1.0)}},
      {.number = 77,
       .format = "%lf %lf",
       .vars = {{TChoriz, 1.0}, {TCvert, 1.0}},
       .checks = {countAtLeast(2), atLeast(0, 0.0), atLeast(1, 0.0)}},
      {.number = 78,
       .format = "%d %lf",
       .vars = {{BedLoadVectorFlag, 0}, {BedLoadVectorParam, 0.6}},
       .checks = {countAtLeast(2), atLeast(0, 0)}},
      {.number = 79,
       .format = "%d %d",
       .vars = {{FlagBedCalc, 0}, {lnumber, 1}},
       .checks = {countAtLeast(2), range(0, 0, 10), range(1, 0, 50)}},
      {.number = 80,
       .format = "%lf %lf",
       .vars = {{Coriolis, 0}, {relaxCoriolis, 0}},
       .checks = {countAtLeast(2), atLeast(1, 0.0), absAtMost(0, 2.0)},
       .effect = setFlagCoriolis},
      {.number = 81, .format = "%d", .vars = {{ArrayTimeSteps, 200}}, .checks = {countAtLeast(1), above(0, 0)}},
      {.number = 82,
       .format = "%lf %lf %lf %lf %lf",
       .vars = {{TurbDensAlphaU, -0.5},
                {TurbDensBetaU, 10.0},
                {TurbDensAlphaT, -1.5},
                {TurbDensBetaT, 3.33},
                {TDvelo, 1e-6}},
       .checks = {countAtLeast(5), atMost(0, 0.0), atLeast(1, 0.0), atMost(2, 0.0), atLeast(3, 0.0), atLeast(4, 0.0)},
       .message = "Error for F 82 in control, have read %d of 5 floating point numbers,"},
      {.number = 83,
       .format = "%lf %lf %lf %lf",
       .vars = {{ConcFormBCoeff, 0.053}, {ConcFormBTstar, 2.1}, {ConcFormBDstar, 0.3}, {ConcFormBD50, 1.5}},
       .checks = {countAtLeast(4)}},
      {.number = 84, .format = "%d", .vars = {{BedLoadFlag, 0}}, .checks = {countAtLeast(1), atLeast(0, 0)}},
      {.number = 85, .format = "%d", .vars = {{ContinuityFlag, 0}}, .checks = {countAtLeast(1), atLeast(0, 0)}},
      {.number = 86,
       .format = "%lf",
       .vars = {{MinVertDist, 0.001}},
       .checks = {countAtLeast(1), range(0, 0.0, 10.0)},
       .effect = verticalDistanceDepths,
       .defaults = minVertDistDefaults},
      {.number = 87, .format = "%lf", .vars = {{GridDistCoeff, 0.6}}, .checks = {countAtLeast(1), range(0, 0.0, 10.0)}},
      {.number = 88, .format = "%lf", .vars = {{MaxGamma, 1000.0}}, .checks = {countAtLeast(1), atLeast(0, 0.0)}},
      {.number = 89,
       .format = "%lf",
       .vars = {{DistGridHoriz, 0.5}},
       .checks = {countAtLeast(1), range(0, 0.001, 1.0)}},
      {.number = 90, .format = "%d", .vars = {{FlagRoughness, 0}}, .checks = {countAtLeast(1), range(0, 0, 10)}},
      {.number = 91,
       .format = "%d %d",
       .vars = {{iPres, 0}, {jPres, 0}},
       .checks = {countAtLeast(2), atLeast(0, 0), atLeast(1, 0)}},
      {.number = 92, .format = "%d", .vars = {{PorosWallFlag, 0}}, .checks = {countAtLeast(1), atLeast(0, 0)}},
      {.number = 93,
       .format = "%lf",
       .vars = {{FroudeHystat, 1.0}},
       .checks = {countAtLeast(1), range(0, 0.0, 1000.0)},
       .effect = setFlagFroudeHystat,
       .defaults = clearFlagFroudeHystat},
      {.number = 94,
       .format = "%lf %lf",
       .vars = {{MinVertDist0, -0.001}, {MinVertDist1, 0.01}},
       .checks = {countAtLeast(2), atLeast(1, 0.0)},
       .effect = oneCellDepthIsMinVertDist},
      {.number = 95,
       .format = "%lf %lf",
       .vars = {{BPWparam1, 0.5}, {BPWparam2, 0.2}},
       .checks = {countAtLeast(2), atLeast(0, 0.0), atLeast(1, 0.0)},
       .effect = porousWallParameters},
      {.number = 96, .format = "%d", .vars = {{OneCellSource, 0}}, .checks = {countAtLeast(1), atLeast(0, 0)}},
      {.number = 98, .format = "%d", .vars = {{BlockMethodFlag, 0}}, .checks = {countAtLeast(1), atLeast(0, 0)}},
      {.number = 99, .format = "%d", .vars = {{BedRecIter, 1}}, .checks = {countAtLeast(1), above(0, 0)}},
  };
  return rows;
}
