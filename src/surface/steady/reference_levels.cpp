// Reference levels of the steady free surface: the structured indexes of the
// reference columns (iPres, jPres, iPres2, jPres2), their level and pressure
// (GlobZRef, GlobPresRef, GlobZRef2, GlobPresRef2) and FlagDSO1.
#include "surface/steady/reference_levels.h"

#include <cmath>
#include <cstdio>

#include "files/file_services.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/series.h"
#include "model/settings.h"
#include "model/status.h"
#include "model/structured.h"
#include "base/exit_codes.h"
#include "base/log.h"
#include "startup/operations.h"
#include "surface/surface_columns.h"
#include "surface/surface_services.h"

namespace {

bool columnInGrid(int i, int j) { return i >= 0 && j >= 0 && i <= xnumber + 1 && j <= ynumber + 1; }

int bottomOf(int c) {
  while (c > 0 && Ccellb[c] > 0) c = Ccellb[c];
  return c;
}

// The discharge group g (1..9), or null for a number no group has.
DischargeGroup *groupOf(int g) { return g >= 1 && g <= 9 ? &DischargeStruct[g] : nullptr; }

// The cell of a group's face: Fcell1, or Fcell2 on a face without one.
int faceCell(int f) { return Fcell1[f] > 0 ? Fcell1[f] : Fcell2[f]; }

// The column whose bottom cell is `bottom`: for each i the first j, the last
// such i winning; false when no column has it.
bool findColumn(int bottom, int &iFound, int &jFound) {
  iFound = jFound = 0;
  for (int i = 1; i <= xnumber; ++i) {
    for (int j = 1; j <= ynumber; ++j) {
      if (static_cast<int>(zval[i][j][0]) == bottom) {
        iFound = i;
        jFound = j;
        break;
      }
    }
  }
  return iFound != 0 && jFound != 0;
}

// The polygon point of group g that stands for its position: among points
// 1..n-1 the one nearest the centre of their bounding box (the lower index
// on a tie); point 0 when the polygon has at most one point.
void polygonPoint(const DischargeGroup &group, double &px, double &py) {
  const int n = group.polygonCount;
  px = group.polygonX[0];
  py = group.polygonY[0];
  if (n <= 1) return;
  double xmin = group.polygonX[1], xmax = xmin, ymin = group.polygonY[1], ymax = ymin;
  for (int k = 2; k < n; ++k) {
    xmin = std::fmin(xmin, group.polygonX[k]);
    xmax = std::fmax(xmax, group.polygonX[k]);
    ymin = std::fmin(ymin, group.polygonY[k]);
    ymax = std::fmax(ymax, group.polygonY[k]);
  }
  const double cx = 0.5 * (xmin + xmax), cy = 0.5 * (ymin + ymax);
  double best = 1e300;
  for (int k = 1; k < n; ++k) {
    const double dx = group.polygonX[k] - cx, dy = group.polygonY[k] - cy;
    const double d = dx * dx + dy * dy;
    if (d < best) {
      best = d;
      px = group.polygonX[k];
      py = group.polygonY[k];
    }
  }
}

// The boundary column of a koosurf block whose edge midpoint lies on the
// group's polygon point, to a ten-thousandth of a cell width; the indexes
// and the cell (the column's top cell) keep their values without a match.
void polygonSearch(int g, int &iRef, int &jRef, int &cell) {
  const DischargeGroup *group = groupOf(g);
  if (!group || group->faceCount <= 0) return;
  double px, py;
  polygonPoint(*group, px, py);
  const int f0 = group->faces[0];
  const int c = Fcell1[f0] > 0 ? Fcell1[f0] : Fcell2[f0];
  const double tol = 0.0001 * std::sqrt(Farea[Cflatet[c]]);
  auto onPoint = [&](int ia, int ja, int ib, int jb) {
    const double mx = 0.5 * (xval[ia][ja] + xval[ib][jb]), my = 0.5 * (yval[ia][ja] + yval[ib][jb]);
    return std::fabs(mx - px) < tol && std::fabs(my - py) < tol;
  };
  auto take = [&](int i, int j) {
    iRef = i;
    jRef = j;
    cell = topCellOfColumn(i, j);
  };
  for (int n = 1; n <= NoBlocks; ++n) {
    const GridBlock &b = block[n];
    if (b.RefSearchFlag != 1) continue;
    for (int j = b.j1; j <= b.j2; ++j) {
      if (onPoint(b.i2, j - 1, b.i2, j)) {
        take(b.i2, j);
        break;
      }
    }
    for (int j = b.j1; j <= b.j2; ++j) {
      if (onPoint(b.i1 - 1, j - 1, b.i1 - 1, j)) {
        take(b.i1, j);
        break;
      }
    }
    for (int i = b.i1; i <= b.i2; ++i) {
      if (onPoint(i - 1, b.j2, i, b.j2)) {
        take(i, b.j2);
        break;
      }
    }
    for (int i = b.i1; i <= b.i2; ++i) {
      if (onPoint(i - 1, b.j1 - 1, i, b.j1 - 1)) {
        take(i, b.j1);
        break;
      }
    }
  }
}

// The reference cell of G 6/G 62 as a column: the cell's bottom cell is
// searched among the columns' bottom cells.
void cellSearch(int &cell, int &iRef, int &jRef, const char *which) {
  if (cell <= NoCells) cell = bottomOf(cell);
  int i, j;
  if (cell <= NoCells && findColumn(cell, i, j)) {
    iRef = i;
    jRef = j;
    return;
  }
  fatalPrintf(kExitUnreadable, nullptr,
              "Error in algorithm for G 6/62 data set. Have not found (i,j) indexes\n"
              "%s",
              which);
}

// The reference cell must sit on a face of its outflow group.
void checkCellInGroup() {
  const DischargeGroup *group = groupOf(kSurf);
  if (group) {
    for (int k = 0; k < group->faceCount; ++k) {
      if (faceCell(group->faces[k]) == iSurf) return;
    }
  }
  fatalPrintf(kExitControlMissing, nullptr,
              "Error in G 6 or G 62 data set: Cell number %d is not in discharge group %d\n"
              "This error can be caused by a too low 'to' value the 'Vertical level' \n"
              "part in the input dialog box of the vantorell, when the unstruc file was made.\n",
              iSurf, kSurf);
}

// A dry reference column that nothing can stand in for.
[[noreturn]] void referenceDry() {
  char program[kStatusTextLength];
  std::snprintf(program, sizeof program, "Error, reference cell %d %d is dry      ", iPres, jPres);
  setStatus(mc_program, program);
  fatalPrintf(kExitUnreadable, nullptr,
              "Error 1 in Surface update, reference cell %d %d is dry\n"
              "This may be due to drying up of the reference cell area\n"
              "If the 2D index does not fit, the problem may be due to that\n"
              "the choise of the number of the G 6 data set was done when F 112 1\n"
              "was used in the control file.\n\n"
              "The problem may be solved by using G 6 0 0 X ... \n"
              "where X is the number of the discharge group of the outflow region\n\n",
              iPres, jPres);
}

// A dry reference column whose outflow group offers no wet cell either: the
// state is dumped for a look at the grid split that caused it.
[[noreturn]] void outflowDry() {
  logText("Error 2 in Surface update, reference cell is dry\n"
          "This is probablye due to a grid split where the cells in front \n"
          "of the outflow area have dried up\n\n"
          "Writing alldata file\n\n");
  operations.WriteAllData();
  operations.sprintflow();
  fatalExit(kExitInconsistent, nullptr);
}

// The value of a boundary-level column of the series at time t: linear
// between the bracketing times, extrapolated along the first interval
// before the first time, the last value after the last time.
double seriesLevel(const double *level, double t) {
  const int n = TimeInNo;
  if (n == 1) return level[0];
  if (t > TimeInTime[n - 1]) return level[n - 1];
  int k = 1;
  while (k < n - 1 && !(TimeInTime[k] > t)) ++k;
  const double w = std::fmax(0.0, TimeInTime[k] - t) / (TimeInTime[k] - TimeInTime[k - 1] + 1e-20);
  return w * level[k - 1] + (1.0 - w) * level[k];
}

// Outflow average of F 416: the mean pressure and top level of the outflow
// group's cells, mode 3 only over the cells within the pressure window.
void outflowAverage() {
  const DischargeGroup *group = groupOf(kSurf);
  if (!group || group->type != 0 || group->faceCount <= 0) return;
  double pressures = 0.0, levels = 0.0;
  int pressureCount = 0, levelCount = 0;
  for (int k = 0; k < group->faceCount; ++k) {
    const int c = faceCell(group->faces[k]);
    const double p = Cpres[c];
    if (FlagPresDownstream != 3 || std::fabs(p) < IntervalPresDownstream) {
      pressures += p;
      ++pressureCount;
      if (Ccellt[c] == 0) {
        levels += surfaceOf(c);
        ++levelCount;
      }
    }
  }
  GlobPresRef = pressures / (pressureCount + 1e-30);
  GlobZRef = levels / (levelCount + 1e-30);
  if (FlagPresDownstream == 2 || FlagPresDownstream == 3) {
    for (int c = 1; c <= NoCells; ++c) Cpres[c] -= GlobPresRef;
    GlobPresRef = 0.0;
  }
}

// The second reference from an inflow group: its cells' mean pressure and
// the mean surface of those that are top cells.
void inflowReference() {
  const DischargeGroup *group = groupOf(kSurf2);
  if (!group || group->type != 1 || group->faceCount <= 0) return;
  double pressures = 0.0, levels = 0.0;
  int levelCount = 0;
  for (int k = 0; k < group->faceCount; ++k) {
    const int c = faceCell(group->faces[k]);
    pressures += Cpres[c];
    if (Ccellt[c] == 0) {
      levels += surfaceOf(c);
      ++levelCount;
    }
  }
  GlobPresRef2 = pressures / group->faceCount;
  GlobZRef2 = levels / (levelCount + 1e-30);
}

// Reference levels from the deposit depths at the outlet and inlet (F 439).
void depositLevels() {
  const double h = TimeInHout ? TimeInHout[0] : 0.0, hi = TimeInHinn ? TimeInHinn[0] : 0.0;
  const double out = depthDepositOut, in = depthDepositIn;
  switch (FlagDepthDeposit) {
    case 2:
      GlobZRef = h + out;
      GlobZRef2 = hi + in;
      break;
    case 3:
      GlobZRef = h + (out + in) * 0.5;
      GlobZRef2 = hi + (out + in) * 0.5;
      break;
    case 4:
      GlobZRef = h + out + in;
      GlobZRef2 = hi + out + in;
      break;
    default: GlobZRef = h + out; break;
  }
}

double horizontalDistance(int ia, int ja, int ib, int jb) {
  return std::hypot(xval[ia][ja] - xval[ib][jb], yval[ia][ja] - yval[ib][jb]);
}

}  // namespace

int topCellOfColumn(int i, int j) { return topOf(static_cast<int>(zval[i][j][0])); }

void SetiPresjPres() {
  if (iPres == 0) {
    if (FlagTFS >= 2 && iSurf > 0 && FlagMPI == 0) {
      char which[200];
      std::snprintf(which, sizeof which,
                    "for cell number %d, first integer on the data set.\nSearched areas i=%d,%d; j=%d,%d\n\n",
                    iSurf, 1, xnumber, 1, ynumber);
      cellSearch(iSurf, iPres, jPres, which);
    } else if (iSurf == 0 && kSurf > 0 && FlagMPI == 0) {
      polygonSearch(kSurf, iPres, jPres, iSurf);
    }
  }
  if (iPres2 == 0) {
    if (FlagTFS >= 2 && FlagTFS <= 10 && jSurf >= 1 && FlagMPI == 0) {
      char which[200];
      std::snprintf(which, sizeof which, "for cell number %d, second integer on data set.\n\n", jSurf);
      cellSearch(jSurf, iPres2, jPres2, which);
    } else if (jSurf == 0 && kSurf2 >= 1 && FlagMPI == 0) {
      polygonSearch(kSurf2, iPres2, jPres2, jSurf);
    }
  }
  logPrintf("G 6/62 2D reference indexes: %d %d %d %d\n", iPres, jPres, iPres2, jPres2);
  if (FlagMPI == 0 && kSurf >= 1 && FlagReadUnstruc != 4) checkCellInGroup();
}

int computeSurfaceReferences() {
  GlobZRef2 = 0.0;
  // F 91 is checked only for its sign: a column outside the structured grid
  // has no cells to take a level from.
  if (!columnInGrid(iPres, jPres)) referenceDry();
  int ref = topCellOfColumn(iPres, jPres);
  const int ref2 = jSurf != 0 && columnInGrid(iPres2, jPres2) ? topCellOfColumn(iPres2, jPres2) : 0;
  if (ref == 0 && FlagTFS != 3 && FlagDSO1 == -1 && kSurf == 0) referenceDry();
  ++NoNumSurfUpdate;
  stimeWL1 = stimeWL2;
  stimeWL2 = stimet;

  // The outflow group that holds the reference cell, found once.
  if (FlagDSO1 == -1 && kSurf > 0 && ref > 0) {
    for (int g = 1; g <= 9; ++g) {
      const DischargeGroup &group = DischargeStruct[g];
      if (group.type != 0 || group.faceCount <= 0) continue;
      for (int k = 0; k < group.faceCount; ++k) {
        if (faceCell(group.faces[k]) == ref) FlagDSO1 = g;
      }
    }
  }
  // A dry reference column: the column at the middle of the outflow group
  // takes over.
  if (ref == 0) {
    if (FlagDSO1 > 0) {
      const DischargeGroup &group = DischargeStruct[FlagDSO1];
      if (group.faceCount > 0) ref = topOf(faceCell(group.faces[group.faceCount / 2]));
    }
    if (ref == 0 && FlagTFS != 3) outflowDry();
  }

  // The level found at the first update stays for the run, also with an
  // outflow group: the reference column shares its corners with the columns
  // upstream, so a level re-read from its own surface would follow them down
  // at every update. A level series sets it anew, and with two references the
  // level is the reference column's own.
  if (FlagTFS == 3) {
    GlobZRef = zval[iPres][jPres][znumber];
  } else if (TimeInNo > 0 || jSurf != 0 || GlobZRef < -1e10) {
    GlobZRef = surfaceOf(ref);
  }
  if (FlagNonHydrostaticSurf == 6 || FlagNonHydrostaticSurf == 7) {
    // The mean over the column; a dry column has none, and the run stops.
    double sum = 0.0;
    int cells = 0;
    for (int c = ref; c > 0; c = Ccellb[c], ++cells) sum += Cpres[c];
    GlobPresRef = cells > 0 ? sum / cells : std::nan("");
  } else {
    GlobPresRef = Cpres[ref];
  }
  if (ref2 > 0) {
    GlobZRef2 = surfaceOf(ref2);
    GlobPresRef2 = Cpres[ref2];
  }
  if (kSurf2 >= 1) inflowReference();
  if (FlagPresDownstream > 0 && kSurf > 0) outflowAverage();
  if (TimeInNo > 0) {
    GlobZRef = seriesLevel(TimeInHout, stimet);
    if (ref2 > 0) GlobZRef2 = seriesLevel(TimeInHinn, stimet);
  }
  if (FlagDepthDeposit > 0) depositLevels();
  if (TimeInNo > 0 && FlagWaterlevelModify > 0) {
    if (Iter > 1) modifyWaterlevel();
    oldZvalDownstream = GlobZRef;
    oldZvalUpstream = GlobZRef2;
  }
  if (debugging == 'D') {
    logPrintf("In surface generation, iSurfLocal = %d, iSurfLocal2 = %d, ZRef = %lg, ZRef2 = %lg\n", ref, ref2,
              GlobZRef, GlobZRef2);
  }
  return ref;
}

void modifyWaterlevel() {
  if (NoBlocks < 1) return;
  const GridBlock &b = block[1];
  const int jm = b.j2 / 2 + 1;
  const bool twoBoundaries = iPres2 > 0 && GlobZRef2 > 0.0;
  const double upstream = GlobZRef2 - oldZvalUpstream, downstream = GlobZRef - oldZvalDownstream;
  double length = 0.0;
  for (int i = b.i1; i <= b.i2; ++i) length += horizontalDistance(i - 1, jm - 1, i, jm);
  double along = 0.0;
  for (int i = b.i1; i <= b.i2; ++i) {
    along += horizontalDistance(i - 1, jm - 1, i, jm);
    const double f = along / length;
    const double raise = twoBoundaries ? upstream * (1.0 - f) + downstream * f : downstream * f;
    for (int j = b.j1 - 1; j <= b.j2; ++j) zval[i][j][znumber] += raise;
  }
  if (twoBoundaries) {
    for (int j = b.j1 - 1; j <= b.j2; ++j) zval[b.i1 - 1][j][znumber] += upstream;
  }
}
