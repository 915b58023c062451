// The end of every inner iteration: the largest normalised residual, the
// iteration report in "boogie" and "vostel", and the decision whether the
// flow driver stops (converged, diverged, continuity error, debug stop).
#include "flow/outer_steps/stop_test.h"

#include <cmath>
#include <cstdio>
#include <limits>

#include "files/restart/result_file.h"
#include "files/visualisation/visualisation.h"
#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/points.h"
#include "model/run_state.h"
#include "model/series.h"
#include "model/settings.h"
#include "model/status.h"
#include "model/structured.h"
#include "model/work_ranges.h"
#include "base/log.h"
#include "startup/operations.h"

namespace {

double Max = 0.0;      // largest residual of this call
double MaxLast = 0.0;  // of the previous call, across driver calls

void outputRequest() {
  if (FlagWantToPrint <= 0) return;
  setStatus(mc_message, "Writing files");
  switch (FlagWantToPrint) {
    case 1: print_result(0); break;
    case 2: print_tecplot2d(0, 1); break;
    case 3: print_tecplot3d(0); break;
    case 4: print_paraview3d(0); break;
    case 5: print_paraview2d(0, 1); break;
    default: break;
  }
  setStatus(mc_message, "Have written files");
  FlagWantToPrint = 0;
}

void vostelRow() {
  std::FILE *f = std::fopen("vostel", "a");
  if (!f) return;
  std::fprintf(f, "%d %lf %lf %lf %lf %lf %lf\n", Iter, MaxResidual[1], MaxResidual[2], MaxResidual[3], MaxResidual[4],
               MaxResidual[5], MaxResidual[6]);
  std::fclose(f);
}

int topCellOf(int c) {
  while (Ccellt[c] >= 1) c = Ccellt[c];
  return c;
}

void defectLines() {
  const int c = Glob_dmI;
  logPrintf("Cont: %14.8e, DefMax: %4.8e, U,V,W(%d): %14.8e %14.8e %14.8e\n", GlobContinuity, GlobDefMax, c, Cxvel[c],
            Cyvel[c], Czvel[c]);
  if (TimeStep > 1e-8 && TimeInNo > 0) {
    if (stimet < 10000) {
      logPrintf("Time: %lf seconds\n", stimet);
    } else if (stimet >= 5e6) {
      logPrintf("Time: %lf days\n", stimet / 86400.0);
    } else {
      logPrintf("Time: %lf hours\n", stimet / 3600.0);
    }
    for (int g = 1; g <= 2; ++g) {
      logPrintf("Water discharge (l/s), group %d: %lf, surfno: %d\n", g, DischargeArray[g], DischargeStruct[g].faceCount);
    }
    for (int g = 3; g <= 9 && DischargeArray[g] > 1e-20; ++g) {
      logPrintf("Water discharge (l/s), group %d: %lf\n", g, DischargeArray[g]);
    }
  }
}

void report(int inner) {
  logPrintf("Iter: %d, Resid: %8.2le %8.2le %8.2le %8.2le %8.2le %8.2le\n", Iter, MaxResidual[1], MaxResidual[2],
            MaxResidual[3], MaxResidual[4], MaxResidual[5], MaxResidual[6]);
  if (debugging == 'D') defectLines();
  if (FlagVostel == 1) vostelRow();
  if (debugging == 'D') {
    logPrintf("NoCells = %d, NoSurfaces = %d, NoPoints = %d, InnerIter = %d\n", NoCells, NoSurfaces, NoPoints, inner);
  }
  if (debugging == 'P' && FlagThixoIsComputing == 0) {
    for (int j = 1; j <= 32; ++j) logPrintf("OpenMP %d = %.16g, %16lf\n", j, otime[j] - otime[0], otime[j] - otime[j - 1]);
  }
  specialReportLine(5);
}

// The cell with the largest mass defect, for the diagnosis of a divergence.
void divergenceCellLines() {
  const int c = Glob_dmI;
  if (c < 1 || c > NoCells) return;
  logPrintf("Max. water defect in cell %d\n", c);
  logPrintf("Corner heights Pz(1-4): %lf %lf %lf %lf\n\n", Pz[Cpoint5[c]] - Pz[Cpoint1[c]], Pz[Cpoint6[c]] - Pz[Cpoint2[c]],
            Pz[Cpoint7[c]] - Pz[Cpoint3[c]], Pz[Cpoint8[c]] - Pz[Cpoint4[c]]);
  const int b = Cbed ? Cbed[c] : 0;
  if (b >= 1 && b <= NoBCells && zval) {
    const int i = Bkooi[b], j = Bkooj[b];
    const int pi[4] = {i - 1, i, i, i - 1}, pj[4] = {j - 1, j - 1, j, j};
    logPrintf("Corner zval[1]:       %lf %lf %lf %lf\n", zval[pi[0]][pj[0]][1], zval[pi[1]][pj[1]][1],
              zval[pi[2]][pj[2]][1], zval[pi[3]][pj[3]][1]);
    logPrintf("Corner zval[znumber]: %lf %lf %lf %lf\n", zval[pi[0]][pj[0]][znumber], zval[pi[1]][pj[1]][znumber],
              zval[pi[2]][pj[2]][znumber], zval[pi[3]][pj[3]][znumber]);
    if (Surfaces) {
      logPrintf("Corner Surfaces[LB]:  %lf %lf %lf %lf\n", Surfaces[3][pi[0]][pj[0]], Surfaces[3][pi[1]][pj[1]],
                Surfaces[3][pi[2]][pj[2]], Surfaces[3][pi[3]][pj[3]]);
    }
  }
  logPrintf("Epsilon = %lf, Source = %lf, Cap = %lf, S/Cap = %lf\n", Cepsilon[c], Csource[c], Cap[c], Csource[c] / Cap[c]);
}

}  // namespace

void specialReportLine(int highestKind) {
  if (PrintSpecials > highestKind) return;
  switch (PrintSpecials) {
    case 1:
      if (NoComponents >= 2 && Ccomp) {
        double amount = 0.0;
        for (int c = WCStart; c <= WCEnd; ++c) amount += Ccomp[1][c] * Cvol[c];
        logPrintf("Amount: %e\n", amount);
      }
      break;
    case 2:
      if (NoComponents >= 1 && Ccomp) {
        double sum = 0.0, volume = 0.0;
        for (int c = 1; c <= NoCells; ++c) {
          if (Ccellt[c] != 0) continue;
          sum += Ccomp[0][c] * Cvol[c];
          volume += Cvol[c];
        }
        logPrintf("Average surface conc.: %e\n", sum / (volume + 1e-20));
      }
      break;
    case 3: {
      double u = 0.0, v = 0.0;
      int n = 0;
      for (int c = 1; c <= NoCells; ++c) {
        if (Ccellt[c] != 0) continue;
        u += Cxvel[c];
        v += Cyvel[c];
        ++n;
      }
      if (n > 0) u /= n, v /= n;
      logPrintf("Average top velocity: %e\n", std::sqrt(u * u + v * v));
      break;
    }
    case 4: logPrintf("Number of cells: %d, surfaces: %d, points: %d\n", NoCells, NoSurfaces, NoPoints); break;
    case 5:
      logText("x,z_bed,z_surf,shear\n");
      for (int c = WCStart; c <= WCEnd; ++c) {
        if (Ccellb[c] != 0) continue;
        const int top = topCellOf(c);
        logPrintf("%lf %lf %lf %lf\n", Cxcenter[c], Czcenter[c] - Ckdist[c], Czcenter[top] + Ckdist[top], 300.0 * Ckinen[c]);
      }
      break;
    default: break;
  }
}

int printEndWaterSolve(int inner) {
  // 1. The largest residual; a residual that is not a number makes it not a
  // number too, so that it cannot pass for convergence.
  MaxLast = Max;
  Max = 0.0;
  int equation = 0;
  for (int e = 1; e <= 6; ++e) {
    if (MaxResidual[e] < 1e-90) MaxResidual[e] = 0.0;
    const double r = MaxResidual[e];
    if (std::isnan(r)) {
      if (!std::isnan(Max)) equation = e;
      Max = std::numeric_limits<double>::quiet_NaN();
    } else if (r > Max) {
      Max = r;
      equation = e;
    }
  }

  outputRequest();
  logText("");  // a log that cannot be opened ends the run here, whether or not a line is due

  const bool transient = TimeStep > 1e-8;
  if (FlagPrint == 0 && (inner == TransInnerIter || (transient && Max < TimeBreakLimit && FlagMPI == 0))) report(inner);

  char message[kStatusTextLength];
  std::snprintf(message, sizeof message, "%d ResMax: %8.2e for eq: %d", Iter, Max, equation);
  setStatus(mc_message, message);

  if (Max < 0.001 && (TimeStep < 1e-8 || FlagStopTime == 1) && FlagMPI == 0) {
    logText("Solution converged\n");
    setStatus(mc_message, "Solution converged  ");
    gFlagFlow = 0;
    setStatus(mc_v1, "Written from watersolver due to convergence");
    operations.sprintflow();
    return 1;
  }

  if (FlagFlush > 0 && Max > 5e8 && Max > MaxLast && FlagFlushIter < FlagFlush) {
    ++FlagFlushIter;
    ++FlushedNo;
    logPrintf("Solution flushed at Iter=%d, InnerIter=%d, Residual=%lf, relax=%lf, TotalFlushings = %d\n", Iter, inner, Max,
              relaxPressure, FlushedNo);
    operations.flushFunction(FlagFlushIter);
  } else if (std::isnan(Max) || (Max > MaxCrashDef && FlagFlushIter >= FlagFlush)) {
    logPrintf("Solution diverged after %d inner and %d outer iterations\n", inner, Iter);
    logPrintf("Max residual is %le\n", Max);
    if (debugging == 'D') divergenceCellLines();
    if (FlagReadUnstruc < 2) {
      logText("A possible reason is that an older version of the unstruc file is used\n"
              "and the corresponding koordina file is not read or the G 1 data set is changed\n\n");
    }
    setStatus(mc_message, "Solution diverged  ");
    FlagErrorBreak = 1;
    gFlagFlow = 0;
    operations.printAtCrash();
    return 1;
  }

  if (std::fabs(GlobContinuity) / NormResidual[4] > 1e-6 && FlagTFS == 0 && ContinuityFlag == 0) {
    logPrintf("Error in continuity, WaterSolve. Defect = %lf l/s\n", GlobContinuity);
    setStatus(mc_message, "Error in continuity  ");
    gFlagFlow = 0;
    FlagErrorBreak = 1;
    return 1;
  }

  if (FlagPresDebug == 99) {
    setStatus(mc_message, "Stopped for debug info    ");
    operations.sprintflow();
    gFlagFlow = 0;
    FlagErrorBreak = 1;
    return 1;
  }
  return 0;
}
