// The monitoring time series "timeo": each call appends the simulated time
// and the items of one O set of "timei" (cell values, grid levels, sums over
// the grid). Items o and r also add to the running sums of the sediment loop.
#include "files/monitoring/time_series_output.h"

#include <cmath>
#include <cstdio>

#include "files/write_check.h"
#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/series.h"
#include "model/settings.h"
#include "model/structured.h"
#include "base/exit_codes.h"
#include "base/log.h"

namespace {

bool validCell(int c) { return c >= 0 && c <= NoCells; }
bool validPoint(int i, int j) { return i >= 0 && i <= xnumber + 1 && j >= 0 && j <= ynumber + 1; }

// A value of cell c, or 0 for a cell outside the grid.
double cellValue(const double *field, int c) { return field && validCell(c) ? field[c] : 0.0; }

// Sum of the half heights of the column of a top cell: half its depth.
double halfDepthBelow(int top) {
  double sum = 0.0;
  for (int c = top; c > 0; c = Ccellb[c]) sum += Ckdist[c];
  return sum;
}

double halfDepthAbove(int bottom) {
  double sum = 0.0;
  for (int c = bottom; c > 0; c = Ccellt[c]) sum += Ckdist[c];
  return sum;
}

// Item a: the volume-weighted concentration of every size in the cells at
// the faces of each discharge group that has faces.
void groupConcentrations(std::FILE *f) {
  for (int g = 1; g <= 9; ++g) {
    const DischargeGroup &group = DischargeStruct[g];
    if (group.faceCount <= 0) continue;
    std::fprintf(f, "A %d", g);
    for (int k = 0; k <= lnumber; ++k) {
      double volume = 0.0, sum = 0.0;
      for (int n = 0; n < group.faceCount; ++n) {
        const int face = group.faces[n];
        if (face < 1 || face > NoSurfaces) continue;
        const int c = Fcell1[face] != 0 ? Fcell1[face] : Fcell2[face];
        volume += Cvol[c];
        if (Cconc) sum += Cvol[c] * Cconc[k][c];
      }
      std::fprintf(f, " %10.6e", sum * (1.0 / (volume + 1e-30)));
    }
    std::fprintf(f, "  ");
  }
}

// Item i: along the grid lines of block 1 away from its ends, the mean
// widest run of eroded columns and the mean wet width.
void erodedAndWetWidths(std::FILE *f) {
  double widestSum = 0.0, wetSum = 0.0;
  int lines = 0;
  if (NoBlocks >= 1) {
    const GridBlock &b = block[1];
    for (int i = b.i1 + 3; i <= b.i2 - 4; ++i, ++lines) {
      double wet = 0.0, run = 0.0, widest = 0.0;
      for (int j = b.j1; j <= b.j2; ++j) {
        const double dx = xval[i][j] + xval[i - 1][j] - xval[i][j - 1] - xval[i - 1][j - 1];
        const double dy = yval[i][j] + yval[i - 1][j] - yval[i][j - 1] - yval[i - 1][j - 1];
        const double length = 0.5 * std::sqrt(dx * dx + dy * dy);
        if (zval[i][j][0] >= 1.0) wet += length;
        const double eroded = 0.25 * (Surfaces[0][i][j] - zval[i][j][1] + Surfaces[0][i - 1][j] - zval[i - 1][j][1] +
                                      Surfaces[0][i][j - 1] - zval[i][j - 1][1] + Surfaces[0][i - 1][j - 1] -
                                      zval[i - 1][j - 1][1]);
        if (eroded > MinVertDist0) {
          run += length;
        } else {
          widest = std::fmax(widest, run);
          run = 0.0;
        }
      }
      widestSum += std::fmax(widest, run);
      wetSum += wet;
    }
  }
  std::fprintf(f, "%lf %lf ", widestSum / (lines + 1e-20), wetSum / (lines + 1e-20));
}

// Where a component's load enters: the centre of the first cell of the last
// surface group 1..7 that carries it.
struct SourcePoint {
  bool found = false;
  double x = 0.0, y = 0.0;
};

SourcePoint sourceOf(int component) {
  SourcePoint p;
  for (int g = 1; g <= 7; ++g) {
    const SurfaceDischarge &s = SurfDischargeStruct[g];
    if (s.component != component || s.cellCount <= 0 || s.cells[0] < 1 || s.cells[0] > NoCells) continue;
    p = {true, Cxcenter[s.cells[0]], Cycenter[s.cells[0]]};
  }
  return p;
}

// Item m: the column with the highest mean of the component, its distance
// from the source point (0 without one) and that mean.
void componentPeak(std::FILE *f, int component, SourcePoint &source, bool &sourceSet) {
  if (!sourceSet) {
    source = sourceOf(component);
    sourceSet = true;
  }
  int best = 0;
  double bestMean = 0.0;
  if (Ccomp && component >= 0 && component < NoComponents) {
    const double *field = Ccomp[component];
    for (int t = 1; t <= NoCells; ++t) {
      if (Ccellt[t] != 0) continue;
      double sum = 0.0;
      int cells = 0;
      for (int c = t; c > 0; c = Ccellb[c], ++cells) sum += field[c];
      const double mean = sum / cells;
      if (mean > bestMean) {
        bestMean = mean;
        best = t;
      }
    }
  }
  double distance = 0.0;
  if (source.found) distance = std::hypot(Cxcenter[best] - source.x, Cycenter[best] - source.y);
  std::fprintf(f, "%10.6e %10.6e ", distance, bestMean);
}

// Pressure gradient of a top cell along one direction: central when both
// neighbours exist, one-sided towards the one that does, else 0.
double pressureSlope(int c, int plus, int minus, double half) {
  if (plus > 0 && minus > 0) return (Cpres[plus] - Cpres[minus]) / (4.0 * half);
  if (plus > 0) return (Cpres[plus] - Cpres[c]) / (2.0 * half);
  if (minus > 0) return (Cpres[minus] - Cpres[c]) / (2.0 * half);
  return 0.0;
}

// Item o: the force of kind n summed over the bottom or top cells; 0 for another n.
double force(int kind) {
  double sum = 0.0;
  switch (kind) {
    case 0:  // bed shear, 300 k = rho u*², on the bottom faces
      for (int c = 1; c <= NoCells; ++c) {
        if (Ccellb[c] == 0) sum += 300.0 * Ckinen[c] * Farea[Cflateb[c]];
      }
      break;
    case 1:  // weight of the water column along the slope of its surface
      for (int c = 1; c <= NoCells; ++c) {
        if (Ccellt[c] != 0) continue;
        const int face = Cflatet[c];
        sum += 19600.0 * halfDepthBelow(c) * std::tan(std::acos(Fvz[face])) * Farea[face];
      }
      break;
    case 2:  // bed shear of the log law at the bottom cells
      for (int c = 1; c <= NoCells; ++c) {
        if (Ccellb[c] != 0) continue;
        const double law = 0.4 / std::log(30.0 * Ckdist[c] / Croughness[c]);
        sum += 1000.0 * (Cxvel[c] * Cxvel[c] + Cyvel[c] * Cyvel[c]) * law * law * Barea[Cbed[c]];
      }
      break;
    case 3:  // pressure force on the water column
      for (int c = 1; c <= NoCells; ++c) {
        if (Ccellt[c] != 0) continue;
        const double gx = pressureSlope(c, Ccelle[c], Ccellw[c], Cidist[c]);
        const double gy = pressureSlope(c, Ccelln[c], Ccells[c], Cjdist[c]);
        sum += 2.0 * halfDepthBelow(c) * std::sqrt(gx * gx + gy * gy) * Farea[Cflatet[c]];
      }
      break;
    default: break;
  }
  return sum;
}

void addToShearSum(int kind, double value) {
  double *sums[4] = {&AvShearTimeo1, &AvShearTimeo2, &AvShearTimeo3, &AvShearTimeo4};
  if (kind >= 0 && kind <= 3) *sums[kind] += value;
}

// Item r: the mean water depth of the columns with cells.
double meanDepth() {
  double sum = 0.0;
  int columns = 0;
  for (int c = 1; c <= NoCells; ++c) {
    if (Ccellb[c] != 0) continue;
    sum += 2.0 * halfDepthAbove(c);
    ++columns;
  }
  return columns > 0 ? sum / columns : 0.0;
}

void writeItem(std::FILE *f, const TimePrintItem &item, SourcePoint &source, bool &sourceSet) {
  const int c = item.number;
  switch (item.letter) {
    case 'a': groupConcentrations(f); break;
    case 'b': std::fprintf(f, "%lf %lf %lf ", maxBackwater, scaleBackwater, scaleBackwater2); break;
    case 'd': std::fprintf(f, "%10.6e ", cellValue(Cgamma, c)); break;
    case 'e': std::fprintf(f, "%10.6e ", cellValue(Cepsilon, c)); break;
    case 'f':
      std::fprintf(f, "Cont: B I O R %10.6e %10.6e %10.6e %10.6e\n", SumBedChange, SumInflow, SumOutflow,
                   MaxResidual[4]);
      break;
    case 'g': std::fprintf(f, "%lf ", DischargeArray[1]); break;
    case 'h':
      std::fprintf(f, "%10.6e ", validPoint(item.i, item.j) ? zval[item.i][item.j][znumber] : 0.0);
      break;
    case 'i': erodedAndWetWidths(f); break;
    case 'k': std::fprintf(f, "%10.6e ", cellValue(Ckinen, c)); break;
    case 'm': componentPeak(f, c, source, sourceSet); break;
    case 'n': std::fprintf(f, "%d ", NoCells); break;
    case 'o': {
      const double value = force(c);
      addToShearSum(c, value);
      std::fprintf(f, "%10.5le ", value);
      break;
    }
    case 'p': std::fprintf(f, "%10.6e ", cellValue(Cpres, c)); break;
    case 'q': {
      const bool known = Ccomp && item.index >= 0 && item.index < NoComponents;
      std::fprintf(f, "%10.6e ", known ? cellValue(Ccomp[item.index], c) : 0.0);
      break;
    }
    case 'r': {
      const double depth = meanDepth();
      AvDepthTimeo += depth;
      NoDepthTimeo += 1;
      std::fprintf(f, "%lf ", depth);
      break;
    }
    case 's': std::fprintf(f, "%lf ", SurfacesBM); break;
    case 't': std::fprintf(f, "%10.5le %10.5le ", medianPressure1, medianPressure2); break;
    case 'u': std::fprintf(f, "%10.6e ", cellValue(Cxvel, c)); break;
    case 'v': std::fprintf(f, "%10.6e ", cellValue(Cyvel, c)); break;
    case 'w': std::fprintf(f, "%10.6e ", cellValue(Czvel, c)); break;
    case 'x': std::fprintf(f, "%10.5le ", PrintMaxErrorSuspSed); break;
    case 'y': {
      double upstream = 0.0, downstream = 0.0;
      if (NoBlocks >= 1) {
        const GridBlock &b = block[1];
        const int jm = b.j2 / 2 + 1;
        if (validPoint(b.i1 - 1, jm) && validPoint(b.i2, jm)) {
          upstream = zval[b.i1 - 1][jm][znumber];
          downstream = zval[b.i2][jm][znumber];
        }
      }
      std::fprintf(f, "%lf %lf ", upstream, downstream);
      break;
    }
    case 'z': std::fprintf(f, "%10.6e ", validPoint(item.i, item.j) ? zval[item.i][item.j][1] : 0.0); break;
    default: break;  // c, j, l and any other character write nothing
  }
}

}  // namespace

int chosenTimePrintSet() {
  int chosen = 0;
  for (int s = 0; s < TimePrintNo; ++s) {
    if (TimePrint[s].time <= stimet) chosen = s;
  }
  return chosen;
}

void TimePrintFunction() {
  std::FILE *f = std::fopen("timeo", "a");
  if (!f) endCannotOpen("timeo");
  std::fprintf(f, "%10.4e ", stimet);
  if (TimePrintNo > 0) {
    const TimePrintSet &set = TimePrint[chosenTimePrintSet()];
    SourcePoint source;
    bool sourceSet = false;
    for (int n = 0; n < set.count && n < kTimePrintItems; ++n) writeItem(f, set.item[n], source, sourceSet);
  }
  std::fprintf(f, "\n");
  closeWrittenFile(f, "timeo");
}
