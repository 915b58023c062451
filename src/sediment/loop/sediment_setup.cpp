// The set-up of the sediment time loop, in its fixed order. It writes the
// sums and work ranges, the output files' headers, the opening log lines,
// WorkFlag of the blocks and the old-time concentrations.
#include "sediment/loop/sediment_setup.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "base/exit_codes.h"
#include "base/input_file.h"
#include "base/log.h"
#include "files/write_check.h"
#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/control_tables.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/series.h"
#include "model/settings.h"
#include "model/side_tables.h"
#include "model/status.h"
#include "model/structured.h"
#include "model/threads.h"
#include "model/work_ranges.h"
#include "sediment/concentration/concentration_solvers.h"
#include "sediment/loop/bed_coefficients.h"
#include "sediment/loop/work_stages.h"
#include "startup/operations.h"

namespace {

std::FILE *bootimeo = nullptr;  // opened with debug letter H, closed at the end of the loop

// Creates (or empties) a file the loop appends to, with its header; a file
// that cannot be created ends the run with the log text and the code.
void createOutputFile(const char *name, const char *header, const char *error, int code) {
  std::FILE *f = std::fopen(name, "w");
  if (!f) fatalExit(code, error);
  std::fputs(header, f);
  closeWrittenFile(f, name);
}

// The log line of the transport formula chosen by F 84 (values without a
// line write nothing).
const char *formulaLine() {
  if (FlagBedDLL != 0) return "Using sediment transport formula in DLL\n\n";
  switch (BedLoadFlag) {
    case 0: return "Using van Rijns suspended load formula\n\n";
    case 1: return "Using van Rijns bed load formula\n\n";
    case 2: return "Using van Rijns suspended and bed load formulas\n\n";
    case 3: return "Using Wu's sediment transport formula\n\n";
    case 5: return "Using Mayer-Peter and M\xfcllers sediment transport formula\n\n";
    case 6: return "Using Engelund-Hansens sediment transport formula\n\n";
    case 7: return "Using Hillebrands sediment transport formulas\n\n";
    case 8: return "Using Engelund-Hansens formula modified for critical shear\n\n";
    case 9: return "Using Engelund-Hansens formula modified for d50 and critical shear\n\n";
    case 11: return "Using Engelund-Hansens formula modified for d50\n\n";
    default: return nullptr;
  }
}

// The data sets that would send the loop outside its tables: F 56's slide
// variants need a grid one column wide and the multi-layer bed; a sediment
// work block must exist and the "tolvenika" cross-section must lie on the grid.
void checkGridData() {
  if (IterAvalanche >= 203 && IterAvalanche <= 206 && block[1].j2 - block[1].j1 > 0) {
    fatalExit(kExitInputError, "Error for F 56 203-206: is only coded for a 2D case\n\n");
  }
  // The slide variants 202 to 206 work on the layer stacks of the multi-layer
  // bed, which only F 37 3 builds (F 56 itself refuses 202 to 205 read after
  // F 37; F 270 and 206 reach here).
  if (IterAvalanche >= 202 && IterAvalanche <= 206 && FlagTSC != 3) {
    fatalExit(kExitInputError, "Error for F 56/F 37 data sets: F 56 204/205 should only be used with F 37 3\n\n");
  }
  if (FlagWorkSedim < -1 || FlagWorkSedim > NoBlocks) fatalExit(kExitInputError, "Error for F 188 in control\n");
  if (FlagTolvenika > 0 && (CrossTolvenika < 0 || CrossTolvenika > xnumber + 1)) {
    fatalExit(kExitInputError, "Error for F 522 in control\n");
  }
}

// The checks that stop a run lacking what a sediment computation needs. They
// run before any per-size table is touched.
void checkSedimentData() {
  const bool bedGiven = FlagReadNdata >= 1 || FlagReadFracres != 0 || FlagUseBedres > 0 || FlagReadAlldata != 0;
  if (!bedGiven) {
    fatalExit(kExitNoGrainSizes,
              "Error in input data: it is necessary to specify the grain size distribution\n"
              "on the bed. This is done with an N data set in the control file or with a \n"
              "fracres file read with the F 2 O option\n\n");
  }
  // Every size needs a diameter and a fall velocity (its S data set): with
  // either at 0 the near-bed concentration divides by it and the run fills
  // the bed and the log with numbers that are none. Rising particles
  // (F 417 1) may have a negative fall velocity.
  for (int l = 1; l <= lnumber; ++l) {
    const bool rising = FlagPlastics == 1 && fallvelo[l] < 0.0;
    if (gsize[l] > 0.0 && (fallvelo[l] > 0.0 || rising)) continue;
    fatalPrintf(kExitNoGrainSizes, nullptr,
                "Error in input data: grain size %d has diameter %lg m and fall velocity %lg m/s.\n"
                "Give it an S data set with both above zero in the control file\n\n",
                l, gsize[l], fallvelo[l]);
  }
  if (FlagTSC == 0) {
    fatalExit(kExitNoSedimentModel,
              "In TELVA 2 you have to specify a value on the F 37 data set \n"
              "in the control file to compute sediment transport\n\n");
  }
  if (TimePrintNo > 0) {
    std::FILE *f = std::fopen("timeo", "w");
    if (!f) fatalExit(kExitCannotOpen, "cannot open file 'timeo' \n");
    closeWrittenFile(f, "timeo");
  }
  if (TimeStep < 1e-8) {
    fatalExit(kExitNoTimeStep,
              "Error in control file. To do a transient sediment computation you have\n"
              "to include a time step in the control file, for example by using the \n"
              "F 33 data set\n\n");
  }
  if (lnumber > 49) fatalExit(kExitInputError, "Error- Increase nsm in utsc and recompile\n");
  if (FlagBedDefect == 2 && FlagProfiles == 0) {
    fatalExit(kExitInconsistent,
              "Error in control file: If you use F 277 2, you also have to use F 453 with an integer above zero\n");
  }
  // The implicit bed exchange of F 253 1 is coded for one size only.
  checkImplicitExchange();
}

// The per-size sums start at 0; the concentrations are clipped to at least 0
// and the suspended mass at the start is summed.
void startMasses() {
  for (int l = 1; l <= lnumber; ++l) {
    kIn[l] = kUt[l] = kBedmove[l] = kSusp[l] = kSuspo[l] = kLayer1[l] = kLayer2[l] = 0.0;
    kDefectRatio[l] = Bvollefttot[l] = bedLimDef[l] = suspDef[l] = 0.0;
    double mass = 0.0;
    for (int c = WCStart; c <= WCEnd; ++c) {
      Cconc[l][c] = std::max(Cconc[l][c], 0.0);
      if (Cconc_old) Cconc_old[l][c] = std::max(Cconc_old[l][c], 0.0);
      mass += Cconc[l][c] * Cvol[c] * 1000.0 * density;
    }
    kSuspo[l] = mass;
  }
  kLimDef = 0.0;
}

// The largest inflow concentration any group may bring in: the M data sets'
// constants and every row of the "timei" series.
double largestInflowConcentration() {
  double largest = 0.0;
  for (int g = 1; g <= 9; ++g) {
    for (double c : CompInflow[g].conc) largest = std::max(largest, std::fabs(c));
  }
  if (Cinn) {
    const int rows = std::max(TimeInNo, 1), columns = cinnColumns();
    for (int r = 0; r < rows; ++r) {
      for (int k = 0; k < columns; ++k) largest = std::max(largest, std::fabs(Cinn[r][k]));
    }
  }
  return largest;
}

// The water of the inflow groups, kg/s, at its largest over the series.
double largestInflowDischarge() {
  double sum = 0.0;
  for (int g = 1; g <= 9; ++g) {
    const DischargeGroup &group = DischargeStruct[g];
    if (group.faceCount < 1 || group.type != 1) continue;
    double q = std::fabs(group.discharge);
    if (FlagDischargeTime != 0 && QDinn) {
      for (int r = 0; r < TimeInNo; ++r) q = std::max(q, std::fabs(QDinn[r][g]) * 1000.0);
    }
    sum += q;
  }
  return sum;
}

// A time step so long that one step's inflow, or the grain that can settle
// on the whole bed in it (concentrations at most 1 falling at the largest
// fall velocity), is not a finite number of kg would fill the mass balance
// with inf and NaN from the first step on: F 33 is refused here instead.
void checkStepMasses() {
  double bedArea = 0.0;
  for (int b = 1; b <= NoBCells; ++b) bedArea += std::fabs(Barea[b]);
  double fall = 0.0;
  for (int l = 1; l <= lnumber; ++l) fall = std::max(fall, std::fabs(fallvelo[l]));
  const double inflow = TimeStep * density * largestInflowDischarge() * largestInflowConcentration();
  const double bed = TimeStep * bedArea * fall * 1000.0 * density;
  if (std::isfinite(inflow) && std::isfinite(bed)) return;
  fatalPrintf(kExitInputError, nullptr,
              "Error for F 33 in control: a time step of %g s gives one step an inflow of %g kg and a bed change of up "
              "to %g kg\n",
              TimeStep, inflow, bed);
}

// Debug letter L: the cross-sections of block 1, area, width and mean depth.
void logSections() {
  const GridBlock &b = block[1];
  for (int i = b.i1; i <= b.i2; ++i) {
    double area = 0.0, width = 0.0;
    for (int j = b.j1; j <= b.j2; ++j) {
      int c = static_cast<int>(zval[i][j][0]);
      if (c < 1) continue;
      for (;;) {
        area += 0.5 * (Farea[Cflatee[c]] + Farea[Cflatew[c]]);
        if (Ccellt[c] < 1) break;
        c = Ccellt[c];
      }
      width += 2.0 * Cjdist[c];
    }
    // A dry cross-section has no width; its mean depth is 0.
    logPrintf("Section %d, Area = %lf, width = %lf, averagedepth = %lf\n", i, area, width,
              width > 0.0 ? area / width : 0.0);
  }
}

// Debug letter D with a G 29 window: the sediment above the non-erodible bed.
double windowSediment() {
  double volume = 0.0;
  for (int i = i1Iff; i <= i2Iff; ++i) {
    for (int j = j1Iff; j <= j2Iff; ++j) {
      const double bed = 0.25 * (zval[i][j][1] + zval[i - 1][j][1] + zval[i - 1][j - 1][1] + zval[i][j - 1][1]);
      const double hard = 0.25 * (Surfaces[3][i][j] + Surfaces[3][i - 1][j] + Surfaces[3][i - 1][j - 1] +
                                  Surfaces[3][i][j - 1]);
      volume += (bed - hard) * Barea[pointbed[i][j]];
    }
  }
  return volume;
}

// The hydrostatic start pressure (F 545 2): from the top cell of every column
// down, 9810 times the depth of the cell centre below the column top.
void hydrostaticPressure() {
  for (int b = 1; b <= NoBCells; ++b) {
    int c = Bcellt[b];
    if (c < 1) continue;
    while (Ccellt[c] >= 1) c = Ccellt[c];
    double above = 0.0;
    for (; c >= 1; c = Ccellb[c]) {
      Cpres[c] = 9810.0 * (above + Ckdist[c]);
      above += 2.0 * Ckdist[c];
    }
  }
}

}  // namespace

void closeBootimeo() {
  if (bootimeo) std::fclose(bootimeo);
  bootimeo = nullptr;
}

SedimentRun sedimentSetup() {
  SedimentRun run;
  // Sums, the solver's field and the whole grid as work range.
  if (FlagReadAlldata == 0) stimet = 0.0;
  SumBedChange = SumInflow = SumOutflow = 0.0;
  BedMoveDefectAbs = BedMoveDefectSum = SuspVolChangeDef = 0.0;
  run.savedCf = Cf;
  setWholeGridRange(NoCells, NoSurfaces);
  WBStart = 1;
  WBEnd = NoBCells;
  // Output files, block flags and the first checks.
  if (FlagTolvenika > 0) {
    createOutputFile("tolvenika", "", "Error writing 'tolvenika' file\n\n", kExitUnreadable);
    createOutputFile("tolvenika_wl", "", "Error writing 'tolvenika_wl' file\n\n", kExitUnreadable);
  }
  for (int b = 1; b <= NoBlocks; ++b) block[b].WorkFlag = block[b].GridLevel == 0 ? 1 : 0;
  if (FlagSinkScour > 0) {
    createOutputFile("scour", "Time iteration, time (sec), scour depth (m)\n", "Error writing 'scour' file\n\n",
                     kExitUnreadable);
  }
  if (debugging == 'D' && FlagTFS == 9) logPrintf("Manning-Stricklers value of %lf is used\n", ManningInit);
  checkGridData();
  if (TimeStep < 1e-15) {
    logText("A time step (F 33) is needed in the control file to compute sediment transport (F 37)\n\n");
  }
  if (FlagTSC != 0) otime[0] = wallClock();
  if (FlagBraidedIndex > 0) {
    createOutputFile("braided",
                     "Time, BIactive1, BIactive2, BIactive3,   BItotal,  BIcell,  BIdepth, sinuosity, sidesfrac\n\n",
                     "Error in opening braided file\n\n", kExitUnreadable);
    if (FlagThalweg > 0) {
      createOutputFile("thalweg", "Thalweg file, time, x, y, z\n\n", "Error in opening thalweg file\n\n",
                       kExitUnreadable);
    }
  }
  if (FlagCyclicS > 1 || FlagCyclicSstart > 0 || FlagOutConc > 0) {
    createOutputFile("outconc", "", "Error in opening outconc file\n\n", kExitUnreadable);
  }
  if (debugging == 'D' && FlagInspace >= 1) {
    createOutputFile("inconc.res", "Time (sec), inflow (kg) for different sizes\n\n", "Error in opening inconc file\n\n",
                     kExitUnreadable);
  }
  if (debugging == 'H') {
    std::FILE *f = std::fopen("bootime", "w");
    if (!f) endCannotOpen("bootime");
    closeWrittenFile(f, "bootime");
    closeBootimeo();
    bootimeo = openOptionalInputFile("bootimeo");
    if (!bootimeo) setStatus(mc_message, "have not open file 'bootimeo' ");
  }
  // The active-layer thickness and the stage count.
  run.activeLayer = 0.0;
  if (TopThickness > 0.0) {
    run.activeLayer = TopThickness;
  } else {
    for (int l = 1; l <= lnumber; ++l) run.activeLayer = std::max(run.activeLayer, gsize[l]);
  }
  run.stages = workStageCount();
  // The data checks come before the per-size sums: without a time step the old-time
  // concentrations do not exist, and 50 sizes would overrun the sums.
  checkSedimentData();
  // Start masses, the suspended volume and the bed-cell index. A grid
  // read or generated by the letters before S may still lack its geometry,
  // which the masses, the group areas and the volume need.
  operations.metric();
  startMasses();
  scaleConcGridMove1();
  operations.BedMake();
  WBEnd = NoBCells;
  // Opening lines, discharge groups and cohesion.
  logPrintf("Relaxation: %lf %lf %lf %lf\n", relax[1], relax[4], relax[5], relax[6]);
  if (const char *line = formulaLine()) logText(line);
  for (int g = 1; g <= 9; ++g) {
    const DischargeGroup &group = DischargeStruct[g];
    if (group.discharge > 1e-20) {
      logPrintf("Discharge group %d: Discharge = %lf, Area = %lf, surfaces = %d\n", g, group.discharge, group.area,
                group.faceCount);
    }
  }
  checkStepMasses();
  if (FlagCohesion > 0 && operations.setInitialCohesive() == -20) {
    fatalExit(kExitInconsistent,
              "\nError: F 385 2 data set is specified in 'control' file and 'cohesion' file can not be read\n\n");
  }
  // The start bed and its masses.
  if (debugging == 'L') {
    logSections();
  } else {
    operations.initialiseBed();
  }
  operations.sumStartLayerMasses();
  // The run's opening lines.
  run.volume0 = 0.0;
  for (int c = WCStart; c <= WCEnd; ++c) run.volume0 += Cvol[c];
  logText("\n ***** In morphology_tsc **********\n\n");
  logPrintf("FlagTSC = %d, Hydrostatic = %d, NoBlocks = %d, iterGlobalMax = %d\n", FlagTSC, Hydrostatic, NoBlocks,
            iterGlobalMax);
  logPrintf("Volume of geometry: %20.14e qubic meters\n", run.volume0);
  logPrintf("Bed concentration flags: %d %d %d %d %d %d\n", BedFlags[0], BedFlags[1], BedFlags[2], BedFlags[3],
            BedFlags[4], BedFlags[5]);
  if (debugging == 'D' && i1Iff > 0) logPrintf("G 29 data set sediment thickness: %lf m3\n", windowSediment());
  // An empty active layer on request; the old concentrations start at 0.
  if (BedFlags[0] == 2 && BSedDistrib) {
    for (int k = 0; k <= lnumber; ++k) {
      for (int b = WBStart; b <= WBEnd; ++b) BSedDistrib[1][k][b] = 0.0;
    }
  }
  if (Cconc_old) {
    for (int l = lnumber == 1 ? 1 : 0; l <= lnumber; ++l) {
      for (int c = WCStart; c <= WCEnd; ++c) Cconc_old[l][c] = 0.0;
    }
  }
  // The hydrostatic start pressure and the first step.
  if (FlagGravityInitialize == 2 && FlagGravity > 0) hydrostaticPressure();
  Iter = 1;
  return run;
}
