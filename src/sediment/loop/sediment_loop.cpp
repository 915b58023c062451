// The sediment time loop of run letter S: after the set-up, time steps of
// flow, sediment equations, grain fractions, bed change and outputs until
// the time or the step count is used up, then the end of the run. Writes the
// work ranges, the old-time fields, Cconc, DischargeArray, TimeStep, stimet
// and Iter.
#include "sediment/sediment_services.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "base/exit_codes.h"
#include "base/log.h"
#include "files/write_check.h"
#include "flow/outer_steps/driver_steps.h"
#include "flow/stages/stage_steps.h"
#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/grid_index.h"
#include "model/run_state.h"
#include "model/series.h"
#include "model/settings.h"
#include "model/status.h"
#include "model/structured.h"
#include "model/threads.h"
#include "model/work_ranges.h"
#include "quality/vegetation/dredging.h"
#include "sediment/loop/bed_coefficients.h"
#include "sediment/loop/sediment_mass_reports.h"
#include "sediment/loop/sediment_setup.h"
#include "sediment/loop/time_step_size.h"
#include "sediment/loop/work_stages.h"
#include "startup/operations.h"

namespace {

// How a step ends the loop.
enum class StepEnd { Next, Finish, Return };

// The simulated time at the start of the step: every driver call starts from
// it, and the step ends exactly one TimeStep later.
double stepStart = 0.0;
bool clockMoved = false;

void moveClock() {
  if (clockMoved) return;
  stimet = stepStart + TimeStep;
  clockMoved = true;
}

void setStatusf(char *buffer, const char *format, double value) {
  char text[kStatusTextLength];
  std::snprintf(text, sizeof text, format, value);
  setStatus(buffer, text);
}

// Copies the concentrations of sizes 1..lnumber to the old-time arrays over
// the work cells.
void keepOldConcentrations() {
  if (!Cconc_old || WCStart > WCEnd) return;
  for (int l = 1; l <= lnumber; ++l) std::copy(Cconc[l] + WCStart, Cconc[l] + WCEnd + 1, Cconc_old[l] + WCStart);
}

// One due "alldata" time per step; the accumulated bed movement
// starts again from 0 after each.
void alldataTimes(SedimentRun &run) {
  if (run.alldataNext >= NoAlldataPrintout || !(AlldataPrintout[run.alldataNext] < stimet)) return;
  setStatus(mc_message, "Writing alldata file");
  operations.WriteAllData();
  operations.print_paraview3d(0);
  for (int n = 1; n <= NoBlocks; ++n) {
    const GridBlock &b = block[n];
    if (b.BlockKind != 0 || b.GridLevel != 0) continue;
    for (int i = b.i1 - 1; i <= b.i2; ++i) {
      for (int j = b.j1 - 1; j <= b.j2; ++j) Surfaces[1][i][j] = 0.0;
    }
  }
  setStatus(mc_message, "Have written alldata file");
  ++run.alldataNext;
}

// Hydrostatic 2 solves no flow: the discharge groups only take the areas of
// their faces on the current grid.
void groupAreas() {
  for (int g = 1; g <= 9; ++g) {
    DischargeGroup &group = DischargeStruct[g];
    if (std::fabs(group.discharge) <= 1e-20) continue;
    double area = 0.0;
    for (int n = 0; n < group.faceCount; ++n) area += Farea[group.faces[n]];
    group.area = area;
  }
}

// One call of the flow driver chosen as for letter W, starting from the
// step's start time. Returns false when no flow was solved.
bool runFlowDriver() {
  stimet = stepStart;
  if (FlagWaterSolveNew == 1) {
    operations.WaterSolveNew();
  } else if (FlagFastWatersolve > 0) {
    operations.WaterSolveFast();
  } else if (Hydrostatic == 0) {
    if (MGSNo == 0) {
      operations.WaterSolve();
    } else if (MGSNo > 0) {
      operations.MGSsolver();
    } else {
      return false;
    }
  } else if (MGSNo > 0) {
    operations.MGSsolver();
  } else {
    switch (Hydrostatic) {
      case 1: operations.WaterSolveHydrostatic(); break;
      case 2: groupAreas(); return false;
      case 3: operations.WaterSolve2D(); break;
      case 4:
        operations.WaterSolve2D();
        if (FlagErrorBreak == 1) return true;
        stimet = stepStart;
        operations.WaterSolve();
        break;
      default: return false;
    }
  }
  return true;
}

// The flow of every work-block stage. Returns false after a flow
// failure, which has then been reported and written.
bool flowStages(const SedimentRun &run) {
  const bool solveDue = Iter < 2 || isMultiple(Iter, skipWatersolve);
  bool moved = false;
  for (int s = 1; s <= run.stages; ++s) {
    computeWorkBlocks(s);
    if (emptyWorkRange()) continue;
    moved = solveDue ? runFlowDriver() || moved : true;
    if (FlagErrorBreak == 1) {
      logPrintf("Written from morphology due to ErrorBreak %d in a WaterSolve function\n", FlagErrorBreak);
      setStatus(mc_v1, "Written from morphology due to error");
      operations.sprintflow();
      return false;
    }
  }
  stimet = stepStart;
  if (moved) moveClock();
  return true;
}

// Debug letter D, several sizes: coefficients that cannot be right.
void warnCoefficients() {
  for (int c = WCStart; c <= WCEnd; ++c) {
    for (int l = 1; l <= lnumber; ++l) {
      if (!(Capm[l][c] < 1e-8 || Csourcem[l][c] > 1e8)) continue;
      const int b = Cbed[c];
      logPrintf("Warning in TSC method: l=%d, i=%d, j=%d, Capm = %lf, Csourcem = %lf\n", l, Bkooi[b], Bkooj[b],
                Capm[l][c], Csourcem[l][c]);
      logPrintf("Vol = %lf, Az = %lf\n", Cvol[c], Faz[Cflateb[c]]);
    }
  }
}

// The concentration solver of the bed model and the size count.
void concentrationSolver() {
  if (lnumber == 1) {
    switch (FlagTSC) {
      case 1: operations.morphology_tsc_solver_tsc1_single(); break;
      case 2: operations.morphology_tsc_solver_tsc2_single(); break;
      case 3: operations.morphology_tsc_solver_tsc3_standard(); break;
      default: break;
    }
  } else {
    switch (FlagTSC) {
      case 1: operations.morphology_tsc_solver_tsc1_multiple(); break;
      case 2:
        // F 303 above 2 runs no concentration solver.
        if (FlagFracVer0 < 2) {
          operations.morphology_tsc_solver_tsc2_multiple();
        } else if (FlagFracVer0 == 2) {
          operations.morphology_tsc_solver_tsc2_multiple_v2();
        }
        break;
      case 3: operations.morphology_tsc_solver_tsc3_standard(); break;
      default: break;
    }
  }
  if (FlagExtraDebug == 1) logText("After sediment solver \n");
}

// A concentration that is not a number ends the run before it reaches the
// bed: the exit of a suspended volume that is not a number, no results.
void stopOnConcentrationNaN() {
  for (int l = 1; l <= lnumber; ++l) {
    for (int c = WCStart; c <= WCEnd; ++c) {
      if (!std::isnan(Cconc[l][c])) continue;
      fatalPrintf(kExitConcentrationNaN, nullptr,
                  "Error: sediment concentration of size %d is not a number in cell %d in time step %d\n\n", l, c,
                  Iter);
    }
  }
}

// A bed change that is not a number ends the run before the bed levels move.
void stopOnBedChangeNaN() {
  for (int b = WBStart; b <= WBEnd; ++b) {
    if (!std::isnan(Bedmove[b])) continue;
    fatalPrintf(kExitConcentrationNaN, nullptr, "Error: bed change is not a number in bed cell %d in time step %d\n\n",
                b, Iter);
  }
}

// A concentration far above the bed concentration limit is a sign
// of an unstable solution; it is logged with its column and set to the limit.
void capConcentrations() {
  const double limit = 1.5 * MaxBedConc;
  for (int l = 1; l <= lnumber; ++l) {
    double *conc = Cconc[l];
    for (int c = WCStart; c <= WCEnd; ++c) {
      if (!(conc[c] > limit)) continue;
      const int b = Cbed[c];
      int top = c;
      double depth = Ckdist[c];
      while (Ccellt[top] >= 1) {
        top = Ccellt[top];
        depth += Ckdist[top];
      }
      logPrintf("Warning for instability in TSC method: high sediment conc(%d,%d)=%lf, depth = %lf ", l, c, conc[c],
                2.0 * depth);
      const double fraction = BSedDistrib ? BSedDistrib[1][l][b] : 0.0;
      logPrintf("Bconc[%d] = %lf, frac = %lf\n", b, Bconc ? Bconc[l][b] : 0.0, fraction);
      const int bottom = Bcellt[b] > 0 ? Bcellt[b] : c;
      logPrintf("NoVcells = %d, c_bed = %d, 300k = %lf, velocity = %lf %lf %lf, Ckdist = %lf, Cconc[top] = %lf\n",
                Bnocells ? Bnocells[b] : 0, bottom, 300.0 * Ckinen[bottom], Cxvel[bottom], Cyvel[bottom],
                Czvel[bottom], Ckdist[bottom], conc[top]);
      const double bedSource = Bsource ? Bsource[l][b] : 0.0;
      if (lnumber == 1) {
        logPrintf("Cap = %lf, Csource = %lf Bsource = %lf, Vol = %le", Cap[c], Csource[c], bedSource, Cvol[c]);
      } else {
        logPrintf("Capm = %lf, Csourcem = %lf Bsource = %lf, Vol = %lf", Capm[l][c], Csourcem[l][c], bedSource,
                  Cvol[c]);
      }
      if (FlagDuneShearPartCross > 0 && bedshear) logPrintf(", bedshear = %lf", bedshear[Bkooi[b]][Bkooj[b]]);
      logText("\n");
      conc[c] = MaxBedConc;
    }
  }
}

// F 369 1: concentrations outside 0..1 or not a number.
void findConcentrationBugs() {
  for (int l = 1; l <= lnumber; ++l) {
    for (int c = WCStart; c <= WCEnd; ++c) {
      const double value = Cconc[l][c];
      if (value >= 0.0 && value <= 1.0) continue;
      logPrintf("Bug found in sediment concentration, size %d, Cell %d, Iter = %d\n", l, c, Iter);
      logPrintf("Concentration = %lf, shear = %lf\n", value, 300.0 * Ckinen[c]);
    }
  }
}

// The grain fractions of the bed model.
void grainFractions(double active) {
  setStatus(mc_message, " Morphology_fractions");
  if (QNFlag >= 1) {
    operations.morphology_QNfractions(active);
  } else if (FlagTSC == 1) {
    operations.morphology_fractions(active);
  } else if (FlagTSC == 2) {
    operations.morphology2_fractions(active);
  } else if (FlagTSC == 3) {
    operations.morphology3_fractions(active);
  }
  if (FlagExtraDebug == 1) logText("After morphology_fractions\n");
}

// The old-time fields take the values of this step.
void keepOldFields() {
  keepOldConcentrations();
  if (WCStart > WCEnd) return;
  const auto keep = [](const double *now, double *old) {
    if (now && old) std::copy(now + WCStart, now + WCEnd + 1, old + WCStart);
  };
  keep(Cxvel, Cxvel_old);
  keep(Cyvel, Cyvel_old);
  keep(Czvel, Czvel_old);
  keep(Cpres, Cpres_old);
  keep(Ckinen, Ckinen_old);
  keep(Cepsilon, Cepsilon_old);
  keep(CinvAp, CinvAp_old);
}

// Without a bed-level routine the grid stays; the bed movement of every
// column goes, a quarter each, to its corners' accumulated movement.
void accumulateBedMovement() {
  for (int n = 1; n <= NoBlocks; ++n) {
    const GridBlock &blk = block[n];
    if (blk.BlockKind != 0 || blk.GridLevel != 0) continue;
    for (int i = blk.i1; i <= blk.i2; ++i) {
      for (int j = blk.j1; j <= blk.j2; ++j) {
        const int b = pointbed[i][j];
        if (zval[i][j][0] < 1 || b < 1 || Bcellt[b] < 1) continue;
        const double move = Bedmove[b];
        if (std::fabs(move) <= 1e-12) continue;
        Surfaces[1][i][j] += 0.25 * move;
        Surfaces[1][i - 1][j] += 0.25 * move;
        Surfaces[1][i - 1][j - 1] += 0.25 * move;
        Surfaces[1][i][j - 1] += 0.25 * move;
      }
    }
  }
}

// The bed-level change of F 255; Hydrostatic 2 never moves the bed.
void bedChange() {
  setStatus(mc_message, " Bedchanges");
  if (FlagExtraDebug == 1) logText("Before bedchange\n");
  bool moved = Hydrostatic != 2;
  if (moved) {
    switch (FlagBedchangeOption) {
      case 0: operations.bedchange(); break;
      case 1: operations.bedchange2(); break;
      case 3: operations.bedchange3(); break;
      case 4: operations.bedchange4(Iter == 1 ? 0 : 1); break;
      case 5: operations.bedchange5(); break;
      default: moved = false; break;
    }
  }
  if (!moved) {
    moveClock();
    setStatusf(mc_program, "Morphology_tsc, %lf sec.", stimet);
    accumulateBedMovement();
  }
  // The step ends one time step after its start whatever ran.
  moveClock();
}

// One row of bed levels and one of water levels across block 1 at
// the cross-section of F 522.
void tolvenikaRows() {
  const GridBlock &b = block[1];
  const struct {
    const char *name, *error;
    int level;
  } files[] = {{"tolvenika", "Error writing 'tolvenika' file\n\n", 1},
               {"tolvenika_wl", "Error writing 'tolvenika_wl' file\n\n", znumber}};
  for (const auto &file : files) {
    std::FILE *f = std::fopen(file.name, "a");
    if (!f) fatalExit(kExitUnreadable, file.error);
    std::fprintf(f, "%lf ", stimet);
    for (int j = b.j1 - 1; j <= b.j2; ++j) std::fprintf(f, "%lf ", zval[CrossTolvenika][j][file.level]);
    std::fprintf(f, "\n");
    closeWrittenFile(f, file.name);
  }
}

// Size 0 holds the total concentration.
void totalConcentration() {
  for (int c = WCStart; c <= WCEnd; ++c) {
    double total = 0.0;
    for (int l = 1; l <= lnumber; ++l) total += Cconc[l][c];
    Cconc[0][c] = total;
  }
}

double workVolume() {
  double volume = 0.0;
  for (int c = WCStart; c <= WCEnd; ++c) volume += Cvol[c];
  return volume;
}

// Debug letter P: the wall-clock stamps of the sediment part of a step,
// otime[34..52]. The part starts at 34; every later slot starts there too, so
// a stage that does not run in this step shows no time of its own.
void startStageStamps() {
  if (debugging != 'P') return;
  otime[34] = wallClock();
  std::fill(otime + 35, otime + 53, otime[34]);
}

void stamp(int slot) {
  if (debugging == 'P') otime[slot] = wallClock();
}

// One time step in its fixed order.
StepEnd sedimentStep(SedimentRun &run) {
  stepStart = stimet;
  clockMoved = false;
  FlagPrint = reportSwitch(true);
  if (FlagExtraDebug == 1) logPrintf("Start Iter = %d, zval = %lf\n", Iter, zval[1][1][znumber]);
  if (iterWriteAllData > 0 && Iter > 1 && isMultiple(Iter, iterWriteAllData)) operations.WriteAllData();
  alldataTimes(run);
  if (TimePrintNo > 0 && TimePrint[0].time <= stimet && stimet > 1e-10 &&
      (isMultiple(Iter, PrintIterTime) || Iter == 2)) {
    operations.TimePrintFunction();
  }
  if (FlagComputeTimestep == 1) computeTimestep();
  keepOldConcentrations();
  if (FlagDepthDeposit > 0) computeDepthDeposit();
  if (TurbDensFlag > 0) operations.computeDensityStat(block[1].i1, block[1].i2);
  stepTimeStepSize();
  // Slide movement.
  if (FlagThixo >= 2 && FlagThixo != 100) {
    const double start = wallClock();
    setStatus(mc_program, " Slide movement");
    if (FlagThixo == 3) {
      operations.computeSlideBlock();
    } else if (operations.computeSlidemovement() == -1) {
      return StepEnd::Return;
    }
    if (debugging == 'P') {
      logPrintf("Slide computation time: %lf seconds at %lf seconds\n", wallClock() - start, wallClock() - otime[0]);
    }
    stimet = stepStart;
  }
  // Flow.
  const double flowStart = wallClock();
  if (!flowStages(run)) return StepEnd::Return;
  if (FlagPresSetZero == 1) {
    Cpres[0] = 0.0;
    for (int c = WCStart; c <= WCEnd; ++c) Cpres[c] = 0.0;
  }
  if (Bfly && BFroude) operations.computeBFroude(block[1].FirstBedCell, block[1].LastBedCell);
  // The sediment equations.
  setStatus(mc_program, " Sediments");
  startStageStamps();
  sedimentWorkRanges();
  if (debugging == 'P') {
    logPrintf("Main grid WaterSolve time %lf seconds, at %lf seconds\n", wallClock() - flowStart,
              wallClock() - otime[0]);
  }
  if (FlagBedDefect == 1 && Bdefect) {
    for (int b = WBStart; b <= WBEnd; ++b) {
      for (int layer = 0; layer <= BlayerTop[b]; ++layer) Bdefect[b] += BSedDistrib[layer][0][b];
    }
  }
  keepOldConcentrations();
  operations.sedimentEquationTerms();
  if (FlagErrorBreak == 1) return StepEnd::Return;
  stamp(35);
  if (FlagBagger == 4) operations.bagger();
  if (debugging == 'D' && lnumber > 1) warnCoefficients();
  concentrationSolver();
  stopOnConcentrationNaN();
  capConcentrations();
  stamp(36);
  Cf = run.savedCf;
  if (FlagBugFind == 1) findConcentrationBugs();
  // Smoothing, dredging, slides and grain fractions.
  if (FlagSmoothBedchange > 0) operations.smoothBedchange();
  if (FlagBagger == 2 || FlagBagger == 3) operations.bagger();
  if (IterAvalanche == 205 || IterAvalanche == 206) operations.computeSandSlide();
  grainFractions(run.activeLayer);
  stamp(45);
  // Old-time fields, discharges, outflow mass.
  scaleConcGridMove1();
  keepOldFields();
  stepDischarges(false);
  operations.sumOutflowMass();
  if (FlagTSC == 3) operations.sumBedMoveMass();
  if (FlagBagger == 1) operations.bagger();
  if (FlagProfiles > 0 && isMultiple(Iter, FlagProfiles)) operations.print_profiles();
  // Bed change and the suspended volume over the grid move; the cuts that
  // dredging took out of the layers in this step join the bed balance first.
  addDredgedCuts();
  stopOnBedChangeNaN();
  stamp(46);
  bedChange();
  stamp(47);
  if (FlagScaleGridMove == 1) scaleConcGridMove2();
  stamp(49);
  if (TransWriteFiles[1] > 0 && isMultiple(Iter, TransWriteFiles[1])) operations.WriteTransFiles();
  // Statistics, sums and outputs.
  if (FlagTolvenika > 0 && isMultiple(Iter, FlagTolvenika)) tolvenikaRows();
  if (FlagMorphStatistics > 0) operations.computeMorphStatistics();
  if (FlagCohesion > 2 || NoCohesiveDepth > 0) operations.computeCohesion();
  totalConcentration();
  stamp(50);
  operations.stepMassReport();
  if (debugging == 'P') {
    stamp(52);
    logSedimentStepTimes();
  }
  if (PrintRes != 0 && (Hydrostatic == 2 || skipWatersolve > 1) && isMultiple(Iter, PrintRes)) operations.sprintflow();
  if (FlagBraidedIndex > 0 && isMultiple(Iter, 100)) operations.writeBraided();
  if (WriteDuneI1 > 0 && isMultiple(Iter, WriteDuneIter)) operations.writeDune();
  if (FlagInterpolVal == 30 || PrintArrayFlags[10] == 130) operations.print_fractions();
  if (FlagFractionsPrint > 0) operations.make_Bfractionsprint();
  if (PrintArrayFlags[10] == 19) operations.makeDarnevoli();
  // The fill stop.
  if (FillStop > 0.0) {
    const double left = workVolume() / run.volume0;
    if (left < FillStop) {
      logPrintf("Stopped due to %lf percent left of reservoir volume\n\n", left * 100.0);
      return StepEnd::Finish;
    }
  }
  return StepEnd::Next;
}

// The end of the run: reports, the concentration restart file and results.
void endOfRun() {
  setStatusf(mc_v2, "Max time %lf sec.", stimet);
  setStatus(mc_message, "Sediment calculation finished");
  operations.endOfRunReport();
  if (operations.writeConcRes() == 0) {
    logText("Have written con2res file \n");
  } else {
    logText("Could not write con2res file \n");
  }
  operations.endOfRunReportTail();
  setStatus(mc_v1, "Written from end of morphology");
  operations.sprintflow();
  closeBootimeo();
  gFlagSedim = 0;
}

}  // namespace

void morphology_tsc() {
  SedimentRun run = sedimentSetup();
  if (iterGlobalMax >= 1) {
    for (;;) {
      const StepEnd end = sedimentStep(run);
      if (end == StepEnd::Return) {
        Cf = run.savedCf;
        closeBootimeo();
        return;
      }
      if (end == StepEnd::Finish || stimet > TimeEnd) break;
      ++Iter;
      if (Iter > iterGlobalMax) break;
    }
  }
  endOfRun();
}
