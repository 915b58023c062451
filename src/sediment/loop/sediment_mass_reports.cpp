// The sediment mass balance of the loop: inflow (kIn, kept by the inflow
// routines), outflow (kUt), suspension (kSusp), bed layers (kLayer1, kLayer2)
// and bed change (kBedmove, SumBedChange), and every report built from them.
// Bed volumes become kg with solid fraction x 1000 x density.
#include "sediment/loop/sediment_mass_reports.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "base/exit_codes.h"
#include "base/log.h"
#include "bed/layers/bed_layer_operations.h"
#include "files/write_check.h"
#include "grid/plan_grid/corner_means.h"
#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/output_tables.h"
#include "model/points.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/side_tables.h"
#include "model/status.h"
#include "model/structured.h"
#include "model/work_ranges.h"

namespace {

double kgPerCubicMetre() { return 1000.0 * density; }

bool multiLayer() { return FlagTSC == 3; }

int topLayerOf(int b) { return multiLayer() ? BlayerTop[b] : 1; }

double solidFractionOf(int layer, int b) { return multiLayer() ? Bsolidfraction[layer][b] : SolidFrac; }

// F 37 3: the worst fraction sum of the layers in use, their mean solid
// fraction, their thickness per bed cell and the mean sediment thickness.
void sumLayerDiagnostics() {
  kSumfrac = 0.0;
  kSumfracCell = kSumfracLayer = 0;
  double solids = 0.0, thickness = 0.0, sediment = 0.0;
  long layers = 0;
  const int cells = std::max(WBEnd - WBStart + 1, 0);
  for (int b = WBStart; b <= WBEnd; ++b) {
    for (int layer = 0; layer <= BlayerTop[b]; ++layer) {
      double sum = 0.0;
      for (int k = 1; k <= lnumber; ++k) sum += BSedDistrib[layer][k][b];
      const double defect = lnumber > 0 ? std::fabs(1.0 - sum) : 1.0;
      if (defect > kSumfrac) {
        kSumfrac = defect;
        kSumfracCell = b;
        kSumfracLayer = layer;
      }
      solids += Bsolidfraction[layer][b];
      thickness += BSedDistrib[layer][0][b];
      ++layers;
    }
    const int i = Bkooi[b], j = Bkooj[b];
    sediment += cornerMean(i, j, 1) - cornerMean(Surfaces[3], i, j);
  }
  kSumSolid = layers > 0 ? solids / static_cast<double>(layers) : 0.0;
  kSumBSed0 = cells > 0 ? thickness / cells : 0.0;
  kSumThick = cells > 0 ? sediment / cells : 0.0;
}

// The mean bed movement of the wet work bed cells and the largest by
// magnitude, keeping its sign.
void sumBedMovement() {
  double sum = 0.0, count = 0.0;
  MaxBedmove = 0.0;
  for (int b = WBStart; b <= WBEnd; ++b) {
    if (Bcellt[b] <= 0) continue;
    sum += Bedmove[b];
    count += 1.0;
    if (std::fabs(Bedmove[b]) > std::fabs(MaxBedmove)) MaxBedmove = Bedmove[b];
  }
  AvBedmove = sum / (count + 1e-20);
}

double suspendedMass(int l) {
  double sum = 0.0;
  for (int c = WCStart; c <= WCEnd; ++c) sum += Cconc[l][c] * Cvol[c];
  return sum * kgPerCubicMetre();
}

double massDefect(int l) { return kIn[l] - kUt[l] - (kSusp[l] - kSuspo[l]) - kLayer2[l]; }

void sumDefectRatios() {
  for (int l = 1; l <= lnumber; ++l) {
    const double d = massDefect(l);
    switch (FlagDefectRatio) {
      case 1: kDefectRatio[l] = d / (kSusp[l] + 1e-20); break;
      case 2: kDefectRatio[l] = std::clamp(d / (kIn[l] + kSusp[l] + kUt[l] + 1e-20), -1.0, 1.0); break;
      case 3: kDefectRatio[l] = std::clamp(d / (kIn[l] + kSusp[l] + kUt[l] + 1e-20), -10.0, 10.0); break;
      default: break;
    }
  }
}

void writeContinuityTable() {
  logText("Size  Inflow (kg) Outflow  Suspension BedLayerCh  Bedchange  Defect     Defect2    Def,PST    Def2,PST\n");
  PrintMaxErrorSuspSed = 0.0;
  for (int l = 1; l <= lnumber; ++l) {
    const double bedchange = kBedmove[l] * density;
    const double defect = massDefect(l);
    const double defect2 = kIn[l] - kUt[l] - (kSusp[l] - kSuspo[l]) - bedchange;
    const double scale = std::max(std::fabs(kIn[l]), std::fabs(kUt[l])) + 1e-10;
    const double percent = 100.0 * defect / scale, percent2 = 100.0 * defect2 / scale;
    logPrintf("  %2d %15lg %15lg %15lg %15lg %15lg %10lg %10lg %10lg %10lg\n", l, kIn[l], kUt[l], kSusp[l], kLayer2[l],
              bedchange, defect, defect2, percent, percent2);
    PrintMaxErrorSuspSed = std::max({std::fabs(PrintMaxErrorSuspSed), std::fabs(percent), percent2});
  }
}

// A layer whose fractions are far from summing to 1 means the stack is broken.
void stopOnBrokenFractions() {
  if (!multiLayer() || std::fabs(kSumfrac) <= 0.5) return;
  const int b = kSumfracCell, layer = kSumfracLayer;
  const double t = BSedDistrib[layer][0][b];
  if (layer == 0 && t <= 1e-7) return;
  logPrintf("Error sum fractions = %lf. Bedmove[%d] = %le, lb=%d, BlayerTop = %d\n", kSumfrac, b, Bedmove[b], layer,
            BlayerTop[b]);
  fatalPrintf(kExitLayerStack, nullptr, "BSedDistrib[%d][0][%d] = %le\n", layer, b, t);
}

// The backstop of the balance, every step: the defect of a size can never
// exceed all the mass its row accounts for, |Inflow| + |Outflow| +
// |Suspension| + |BedLayerCh| + |Bedchange|, unless sediment vanished from
// the start suspension or a value is inf or NaN. Mass taken out of the bed
// by dredging shows as a defect equal to its BedLayerCh, exactly at the
// bound, so a relative 1e-9 is left for the round-off of the sums. The run
// ends there, before the step's result files are written as if it were sound.
void stopOnBrokenBalance() {
  constexpr double kRoundOff = 1e-9;
  for (int l = 1; l <= lnumber; ++l) {
    const double bedchange = kBedmove[l] * density;
    const double defect = massDefect(l);
    const double accounted =
        std::fabs(kIn[l]) + std::fabs(kUt[l]) + std::fabs(kSusp[l]) + std::fabs(kLayer2[l]) + std::fabs(bedchange);
    if (std::isfinite(defect) && std::isfinite(accounted) && std::fabs(defect) <= (1.0 + kRoundOff) * accounted) {
      continue;
    }
    logPrintf("Error in continuity check, time step %d, time %lf: the defect of size %d is not finite or larger than "
              "its inflow, outflow, suspension and bed change together\n",
              Iter, stimet, l);
    logText("Size  Inflow (kg) Outflow  Suspension BedLayerCh  Bedchange  Defect\n");
    fatalPrintf(kExitMassBalance, nullptr, "  %2d %15lg %15lg %15lg %15lg %15lg %10lg\n", l, kIn[l], kUt[l], kSusp[l],
                kLayer2[l], bedchange, defect);
  }
}

void appendScourRow() {
  std::FILE *f = std::fopen("scour", "a");
  if (!f) fatalExit(kExitUnreadable, "Error writing 'scour' file\n\n");
  std::fprintf(f, "%d, %lf, %lf\n", Iter, stimet, deltazscourG);
  std::fclose(f);
}

void appendInflowRow() {
  std::FILE *f = std::fopen("inconc.res", "a");
  if (!f) fatalExit(kExitUnreadable, "Error in opening inconc file\n\n");
  std::fprintf(f, "%lf", stimet);
  for (int l = 1; l <= lnumber; ++l) std::fprintf(f, " %lf", kIn[l]);
  std::fprintf(f, "\n");
  std::fclose(f);
}

// Debug letter B: per wet work bed cell its movement, shear and the
// suspended transport per metre width of its column.
void writeBedCellTable() {
  logText("\n2D cell, 3D cell, Bedmove (m), 1/2 cell height (m), Bed shear (Pa), sediment transp. (kg/s/m)\n");
  for (int b = WBStart; b <= WBEnd; ++b) {
    const int bottom = Bcellt[b];
    if (bottom <= 0) continue;
    double transport = 0.0;
    for (int c = bottom; c > 0; c = Ccellt[c]) {
      double conc = 0.0;
      for (int l = 1; l <= lnumber; ++l) conc += Cconc[l][c];
      transport += 2.0 * std::sqrt(Cxvel[c] * Cxvel[c] + Cyvel[c] * Cyvel[c]) * conc * Ckdist[c] * 2650.0;
    }
    logPrintf("%8d %8d %16lg %12lf %16lg %16lg\n", b, bottom, Bedmove[b], Ckdist[bottom], 300.0 * Ckinen[bottom],
              transport);
  }
}

void writeRunTime() {
  if (stimet < 10000.0) {
    logPrintf("Time: %lf seconds\n", stimet);
  } else if (stimet >= 5e6) {
    logPrintf("Time: %lf days\n", stimet / 86400.0);
  } else {
    logPrintf("Time: %lf hours\n", stimet / 3600.0);
  }
}

void writeSurfaceUpdates() {
  if (NoNumSurfUpdate > 0) logPrintf("Surface updated %d times\n", NoNumSurfUpdate);
  if (NoNumNoSurfUpdate <= 0) return;
  logPrintf("Surface update failed %d times\n", NoNumNoSurfUpdate);
  if (NoNumNoSurfUpdate <= NoNumSurfUpdate / 10) return;
  logText("Advice for solving problem of too few surface updates: \n");
  logText("1. Increase the number of inner iterations for each time step: F 33 data set\n");
  logText("2. Decrease relaxation coefficients: K 3 data set\n");
  logText("3. Use multi-grid method: F 168 / K 5 data sets\n");
  logText("4. Increase the residual criteria for updates: F 224 data set\n");
  logText("5. Increase scaling parameters for k and epsilon: F 200 data set\n");
}

// G 29: the volume deposited in the window since the start of the run.
void writeWindowDeposit() {
  double volume = 0.0;
  for (int i = i1Iff; i <= i2Iff; ++i) {
    for (int j = j1Iff; j <= j2Iff; ++j) {
      const int b = pointbed[i][j];
      if (b > 0) volume += Barea[b] * Surfaces[1][i][j];
    }
  }
  logPrintf("G 29 data set deposited volume: %lf m3\n", volume);
}

// F 358: the averages of the bed-statistics samples over the window; window
// points beyond the grid have no statistics and are skipped.
void writeBedStatistics() {
  const double n = BedStatNo;
  logPrintf("\nBed statistics after %d samples\n", BedStatNo);
  logText("i, j, depth [m], orig. bedlevel [m], bedlevel [m], bedlevel deviation [m]\n");
  double depth = 0.0, deviation = 0.0, kFactor = 0.0, points = 0.0;
  const int iLast = std::min(BedStatI2, xnumber + 1), jLast = std::min(BedStatJ2, ynumber + 1);
  for (int i = BedStatI1; i <= iLast; ++i) {
    for (int j = std::max(BedStatJ1, 0); j <= jLast; ++j) {
      logPrintf("%d %d %lf %lf %lf %lf\n", i, j, bedStatDepth[i][j] / n, Surfaces[0][i][j], bedStatBed[i][j] / n,
                bedStatDev[i][j] / n);
      depth += bedStatDepth[i][j];
      deviation += bedStatDev[i][j];
      kFactor += bedStatK[i][j];
      points += 1.0;
    }
  }
  const double scale = n * std::max(points, 1.0);
  logPrintf("Average depth: %lf m, Average bed deviation: %lf m\n", depth / scale, deviation / scale);
  logPrintf("Average K factor: %lf\n\n", kFactor / scale);
}

bool reportedColumnBlock(const GridBlock &blk) { return blk.GridLevel == 0 && blk.LayerMark == 0; }

// The bed volume gained since the grid was made: the columns' mean bed level
// against plane 0 of Surfaces, the bed at the start.
void writeTotalBedChange() {
  double volume = 0.0;
  for (int n = 1; n <= NoBlocks; ++n) {
    const GridBlock &blk = block[n];
    if (!reportedColumnBlock(blk)) continue;
    for (int i = blk.i1; i <= blk.i2; ++i) {
      for (int j = blk.j1; j <= blk.j2; ++j) volume += (cornerMean(i, j, 1) - cornerMean(Surfaces[0], i, j)) * armap[i][j];
    }
  }
  logPrintf("Total change in bed levels: %e qubic meters or %e kg\n", volume,
            volume * kgPerCubicMetre() * SolidFrac);
}

void writeSlideVolumes() {
  double signedSum = 0.0, absoluteSum = 0.0;
  for (int n = 1; n <= NoBlocks; ++n) {
    const GridBlock &blk = block[n];
    if (!reportedColumnBlock(blk)) continue;
    for (int i = blk.i1; i <= blk.i2; ++i) {
      for (int j = blk.j1; j <= blk.j2; ++j) {
        const double v = cornerMean(Surfaces[6], i, j) * armap[i][j];
        signedSum += v;
        absoluteSum += std::fabs(v);
      }
    }
  }
  logPrintf("Total volume change due to slides: %e m3. Absolute change: %e m3\n", signedSum, absoluteSum);
}

}  // namespace

double bedLayerMass(int l) {
  double sum = 0.0;
  for (int b = WBStart; b <= WBEnd; ++b) {
    const int top = topLayerOf(b);
    for (int layer = 0; layer <= top; ++layer) {
      sum += BSedDistrib[layer][0][b] * BSedDistrib[layer][l][b] * Barea[b] * solidFractionOf(layer, b);
    }
  }
  return sum * kgPerCubicMetre();
}

void sumStartLayerMasses() {
  for (int l = 1; l <= lnumber; ++l) kLayer1[l] = bedLayerMass(l);
}

void sumOutflowMass() {
  for (int g = 1; g <= 9; ++g) {
    const DischargeGroup &group = DischargeStruct[g];
    if (group.type != 0 || group.faceCount < 1) continue;
    const double r = DischargeArray[g] / (group.area + 1e-30);
    for (int n = 0; n < group.faceCount; ++n) {
      const int f = group.faces[n];
      const int c = Fcell1[f] != 0 ? Fcell1[f] : Fcell2[f];
      for (int l = 1; l <= lnumber; ++l) {
        const double m = Cconc[l][c] * Farea[f] * r * TimeStep * density;
        SumOutflow += m;
        kUt[l] += m;
      }
    }
  }
}

void sumBedMoveMass() {
  const GridBlock &first = block[1];
  for (int l = 1; l <= lnumber; ++l) {
    double sum = 0.0;
    for (int b = first.FirstBedCell; b <= first.LastBedCell; ++b) sum += Bbedchange[l][b] * Barea[b];
    kBedmove[l] += sum * SolidFrac * 1000.0;
  }
}

void sumSedimentMasses() {
  if (FlagTSC < 3) {
    double sum = 0.0;
    for (int b = WBStart; b <= WBEnd; ++b) sum += Bedmove[b] * Barea[b];
    SumBedChange += sum * kgPerCubicMetre() * SolidFrac;
  }
  for (int l = 1; l <= lnumber; ++l) kLayer2[l] = bedLayerMass(l) - kLayer1[l];
  if (multiLayer()) sumLayerDiagnostics();
  for (int l = 1; l <= lnumber; ++l) kSusp[l] = suspendedMass(l);
  SurfacesBM = 0.0;
  for (int i = 2; i <= xnumber; ++i) {
    for (int j = 2; j <= ynumber; ++j) SurfacesBM += cornerMean(Surfaces[1], i, j) * armap[i][j];
  }
  sumBedMovement();
  if (FlagBedDefect == 1 && Bdefect) {
    for (int b = WBStart; b <= WBEnd; ++b) Bdefect[b] += Bedmove[b] - stackThickness(b);
  }
  sumDefectRatios();
}

bool continuityReportDue() {
  return debugging == 'D' || debugging == 'E' || (debugging == 'J' && FlagPrint == 0);
}

void writeContinuityReport() {
  setStatus(mc_program, " Continuity check");
  logPrintf("Time: %lf. Continuity: Bedchange %lf kg, Inflow %lf kg, Outflow %lf kg, Volume bed change %lf m3\n", stimet,
            SumBedChange, SumInflow, SumOutflow, SurfacesBM);
  logPrintf("Defect from erosion under non-movable bed: %lf kg\n", kLimDef);
  logPrintf("Bed outflow move defect: %lf kg\n", SumBedMoveDef);
  logPrintf("Susp. volume change defect: %lg kg\n", SuspVolChangeDef);
  if (multiLayer()) {
    const int b = kSumfracCell, layer = kSumfracLayer;
    logPrintf("Max def. fractions: %lg (%d,%d) BSD[0]=%lg, BtopL=%d, delta solidfrac: %lg, AvBedThick %lg, AvSedD0: %lg\n",
              kSumfrac, b, layer, BSedDistrib[layer][0][b], BlayerTop[b], kSumSolid - SolidFrac, kSumThick, kSumBSed0);
  }
  writeContinuityTable();
  if (multiLayer()) {
    for (int l = 1; l <= lnumber; ++l) {
      if (std::fabs(Bvollefttot[l]) > 1e-8) logPrintf("Bvollefttot[%d] = %lf kg\n", l, Bvollefttot[l]);
    }
  }
  if (lnumber == 1 && BedLoadVectorFlag == 1 && massDefect(1) > 10.0) {
    logText("Possible cause of continuity error: F 78 1. Try F 78 3 instead\n");
  }
  if (FlagBugFind == 1 && std::isnan(SuspVolChangeDef)) {
    logPrintf("Bugfind: Vol(1) = %lf, Cconc[1][1] = %lf\n", Cvol[1], Cconc[1][1]);
  }
  logPrintf("Average bedchange: %lf, max: %lf\n", AvBedmove, MaxBedmove);
  stopOnBrokenFractions();
  if (FlagSinkScour > 0) appendScourRow();
  if (debugging == 'D' && FlagInspace >= 1) appendInflowRow();
}

void writeBootimeRow() {
  const int sizes = std::min(lnumber, kResidualEntries - 7);
  for (int l = 1; l <= sizes; ++l) {
    double volume = 0.0;
    for (int c = 1; c <= NoCells; ++c) volume += Cvol[c] * Cconc[l][c];
    MaxResidual[6 + l] = volume;
  }
  std::FILE *f = std::fopen("bootime", "a");
  if (!f) endCannotOpen("bootime");
  std::fprintf(f, "%d ", Iter);
  std::fprintf(f, "%d %d %d %d ", GlobInnerIter, NoCells, NoSurfaces, NoPoints);
  for (int e = 1; e <= sizes + 6; ++e) std::fprintf(f, "%22.16le ", MaxResidual[e]);
  std::fprintf(f, "\n");
  std::fclose(f);
}

void stepMassReport() {
  sumSedimentMasses();
  if (continuityReportDue()) writeContinuityReport();
  stopOnBrokenBalance();
  if (debugging == 'H') writeBootimeRow();
}

void logSedimentStepTimes() {
  for (int e = 34; e <= 52; ++e) {
    const double previous = e == 34 ? otime[25] : otime[e - 1];
    logPrintf("MORPH: OpenMP %d = %.16g, %16lf\n", e, otime[e] - otime[0], otime[e] - previous);
  }
  const double used = otime[52] - otime[34];
  logPrintf("Sediment computation time: %lf seconds at %lf seconds\n", used, otime[52] - otime[0]);
  otimeSedimsolve += used;
}

void endOfRunReport() {
  if (debugging == 'B') writeBedCellTable();
  writeRunTime();
  logPrintf("Continuity: Bedchange %lg kg, Inflow %lg kg, Outflow %lg kg\n", SumBedChange, SumInflow, SumOutflow);
  logPrintf("BedMoveDefAbs+Move: %lg %lg (kg)\n", BedMoveDefectAbs, BedMoveDefectSum);
  logPrintf("Bed outflow move defect: %lf (kg)\n", SumBedMoveDef);
  logPrintf("Susp. volume change defect: %lg (kg)\n", SuspVolChangeDef);
  writeSurfaceUpdates();
  for (int t = 0; t <= 26; ++t) {
    if (NoErrorsTrekant[t] > 0) logPrintf("NoErrorsTrekant[%d]=%d\n", t, NoErrorsTrekant[t]);
  }
  logPrintf("Grid size: Cells: %d, Surfaces: %d, Points: %d\n", NoCells, NoSurfaces, NoPoints);
  if (i1Iff > 0) writeWindowDeposit();
  if (BedStatI1 > 0 && BedStatNo > 0 && bedStatDepth) writeBedStatistics();
}

void endOfRunReportTail() {
  if (NoDepthTimeo > 0) {
    const double n = NoDepthTimeo;
    logPrintf("Time-averaged depth: %lf m, shears: %10.5le %10.5le %10.5le %10.5le Newton\n", AvDepthTimeo / n,
              AvShearTimeo1 / n, AvShearTimeo2 / n, AvShearTimeo3 / n, AvShearTimeo4 / n);
  }
  writeTotalBedChange();
  if (FlagThixo > 0 && surfacePlanes() > 6) writeSlideVolumes();
  if (FlagBechInt > 0) {
    bechStanddev /= FlagBechInt;
    bechMeasAv /= FlagBechInt;
    logPrintf("Standard deviation measured-computed bed changes: %lf meters. Av. measured: %lf meters.\n\n",
              bechStanddev, bechMeasAv);
  }
  if (debugging == 'P') {
    logPrintf("Time: Watersolve: %lf, Sediments: %lf, Slides: %lf, Grid: %lf, Surface: %lf, SlideVert: %lf\n",
              otimeWatersolve, otimeSedimsolve, otimeSlidesolve, otimeGridsolve, otimeSurfsolve, otimeSlideVertSolve);
  }
}
