// The dispatcher's small outputs: the per-cell dump, the bed points under the
// bottom cells, the wet-area outline, the depth and velocity classes of the
// wetted area, and the short reports of "boogie.spe". They only read the tables.
#include "files/dispatcher_small_outputs.h"

#include <cmath>
#include <cstdio>
#include <string>

#include "files/series_files.h"
#include "files/write_check.h"
#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/points.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"
#include "model/work_ranges.h"
#include "base/log.h"

namespace {

constexpr int kHabitatClasses = 20;
// 17 degrees: a bed that falls at least this steeply along the surface flow
// counts as sloping.
constexpr double kSlopingAngle = 0.2967;

// Within one dispatcher call the first report creates "boogie.spe" and the
// later ones append, so that two selected reports keep both their lines.
bool speCreatedThisCall = false;
// The appended level series starts its file at the first call of the run.
bool levelSeriesStarted = false;

std::FILE *openSpe() {
  std::FILE *f = std::fopen("boogie.spe", speCreatedThisCall ? "a" : "w");
  if (!f) {
    logPrintf("Warning: can not open '%s' file\n", "boogie.spe");
    return nullptr;
  }
  speCreatedThisCall = true;
  return f;
}

int topCellOf(int c) {
  while (Ccellt[c] > 0) c = Ccellt[c];
  return c;
}

// Depth (twice the summed half heights) and the height-weighted mean of the
// horizontal speed of the column standing on bottom cell c.
void columnDepthSpeed(int c, double &depth, double &speed) {
  double h = 0.0, hu = 0.0;
  for (int k = c; k > 0; k = Ccellt[k]) {
    h += Ckdist[k];
    hu += Ckdist[k] * std::sqrt(Cxvel[k] * Cxvel[k] + Cyvel[k] * Cyvel[k]);
  }
  depth = 2.0 * h;
  speed = h > 0.0 ? hu / h : 0.0;
}

int habitatClass(double value, double largest) {
  if (largest <= 0.0) return 0;
  int n = static_cast<int>(kHabitatClasses * value / largest - 0.01);
  if (n < 0) n = 0;
  if (n > kHabitatClasses - 1) n = kHabitatClasses - 1;
  return n;
}

// One row per column of the middle line of every layer block: x and water
// level of the top cell, the layer and groundwater levels of the column.
void writeLevelRows(std::FILE *f) {
  for (int n = 1; n <= NoBlocks; ++n) {
    const GridBlock &bl = block[n];
    if (bl.LayerMark != 1) continue;
    const int jm = (bl.j1 + bl.j2) / 2;
    for (int i = bl.i1; i <= bl.i2; ++i) {
      const int c = static_cast<int>(zval[i][jm][0]);
      if (c <= 0) continue;
      const int b = Cbed[c];
      const int t = topCellOf(c);
      std::fprintf(f, "%lf %lf %lf %lf\n", Cxcenter[t], Czcenter[t] + Ckdist[t], Bthixolev ? Bthixolev[b] : 0.0,
                   Bgroundwater ? Bgroundwater[b] : 0.0);
    }
  }
}

const char *titleText() { return Title + 1; }

}  // namespace

void writeCellDump() {
  std::string name;
  std::FILE *f = openSeriesFile(PrintRes != 0 || PrintResAlways != 0, "PontuPkt.dat", "pontu_", 5, ".dat", "w", name);
  if (!f) endCannotOpen(name.c_str());
  const double *conc = Cconc ? Cconc[0] : nullptr;
  for (int c = 1; c <= NoCells; ++c) {
    std::fprintf(f, "%lf %lf %lf %lf %lf %lf %lf %lf %lf %lf %le\n", Cxcenter[c], Cycenter[c], Czcenter[c], Cxvel[c],
                 Cyvel[c], Czvel[c], Cpres[c], Ckinen[c], Cepsilon[c], Cgamma[c], conc ? conc[c] : 0.0);
  }
  closeWrittenFile(f, name.c_str());
}

void writeBedPoints() {
  std::FILE *f = std::fopen("beddata.sim", "w");
  if (!f) return;
  for (int c = 1; c <= NoCells; ++c) {
    if (Ccellb[c] == 0) std::fprintf(f, "%lf %lf %lf\n", Cxcenter[c], Cycenter[c], Czcenter[c] - Ckdist[c]);
  }
  closeWrittenFile(f, "beddata.sim");
}

// The midpoints of the bed edges of the sides of the bottom cells that have
// no neighbour: points along the border of the wetted area.
void writeWetOutline() {
  std::FILE *f = std::fopen("prendo", "w");
  if (!f) return;
  auto mid = [f](int p, int q) { std::fprintf(f, "%lf %lf\n", 0.5 * (Px[p] + Px[q]), 0.5 * (Py[p] + Py[q])); };
  for (int c = 1; c <= NoCells; ++c) {
    if (Ccellb[c] != 0) continue;
    if (Ccells[c] == 0) mid(Cpoint1[c], Cpoint2[c]);
    if (Ccelle[c] == 0) mid(Cpoint2[c], Cpoint3[c]);
    if (Ccelln[c] == 0) mid(Cpoint4[c], Cpoint3[c]);
    if (Ccellw[c] == 0) mid(Cpoint1[c], Cpoint4[c]);
  }
  closeWrittenFile(f, "prendo");
}

void beginSideReports() { speCreatedThisCall = false; }

// The wetted area in twenty classes of depth and of depth-mean speed, each
// class a twentieth of the largest value found.
void writeHabitat() {
  std::FILE *f = std::fopen("habitat", "w");
  if (!f) {
    logPrintf("Warning: can not open '%s' file\n", "habitat");
    return;
  }
  double dmax = 0.0, umax = 0.0;
  for (int c = WCStart; c <= WCEnd; ++c) {
    if (Ccellb[c] != 0) continue;
    double d, u;
    columnDepthSpeed(c, d, u);
    if (d > dmax) dmax = d;
    if (u > umax) umax = u;
  }
  double depthArea[kHabitatClasses] = {}, speedArea[kHabitatClasses] = {};
  for (int c = WCStart; c <= WCEnd; ++c) {
    if (Ccellb[c] != 0) continue;
    double d, u;
    columnDepthSpeed(c, d, u);
    const double a = Farea[Cflateb[c]];
    depthArea[habitatClass(d, dmax)] += a;
    speedArea[habitatClass(u, umax)] += a;
  }
  std::fprintf(f, "Depth (m), area (m2), velocity (m/s), area(m2)\n");
  for (int n = 1; n <= kHabitatClasses; ++n) {
    std::fprintf(f, "%lf %lf %lf %lf\n", n * dmax / kHabitatClasses, depthArea[n - 1], n * umax / kHabitatClasses,
                 speedArea[n - 1]);
  }
  closeWrittenFile(f, "habitat");
}

// The share of the bed area whose slope, measured along the surface flow,
// falls more steeply than 17 degrees.
void writeSlopingFraction() {
  std::FILE *f = openSpe();
  if (!f) return;
  double sloping = 0.0, flat = 0.0;
  for (int c = WCStart; c <= WCEnd; ++c) {
    if (Ccellb[c] != 0) continue;
    const int fb = Cflateb[c];
    const int t = topCellOf(c);
    const double u = Cxvel[t], v = Cyvel[t];
    const double angle = std::acos(Fvz[fb]);
    const double cosine = (u * Fvx[fb] + v * Fvy[fb]) /
                          std::sqrt((u * u + v * v) * (Fvx[fb] * Fvx[fb] + Fvy[fb] * Fvy[fb]) + 1e-20);
    if (angle * cosine > kSlopingAngle) {
      sloping += Farea[fb];
    } else {
      flat += Farea[fb];
    }
  }
  std::fprintf(f, "Fraction of sloping area: %lf\n", sloping / (sloping + flat + 1e-20));
  closeWrittenFile(f, "boogie.spe");
}

// The discharge through the cross-section of block 1 that passes the east
// faces of the column line i2/2 - 1, from the face fluxes and from the
// velocities times the areas, both in l/s.
void writeDischargeLine() {
  std::FILE *f = openSpe();
  if (!f) return;
  const GridBlock &bl = block[1];
  double q = 0.0, a = 0.0;
  const int i = bl.i2 / 2 - 1, j = bl.j2 / 2 - 1;
  int c = (i >= 0 && j >= 0 && i <= xnumber + 1 && j <= ynumber + 1) ? static_cast<int>(zval[i][j][0]) : 0;
  if (c > 0) {
    c = topCellOf(c);
    while (Ccells[c] > 0) c = Ccells[c];
    for (int t = c; t > 0; t = Ccelln[t]) {
      for (int k = t; k > 0; k = Ccellb[k]) {
        const int fe = Cflatee[k];
        if (fe <= 0) continue;
        q += Fflux[fe];
        a += Cxvel[k] * Farea[fe];
      }
    }
  }
  std::fprintf(f, "Discharge (l/s): flux: %lf, velocity*area: %lf\n", q, 1000.0 * a);
  closeWrittenFile(f, "boogie.spe");
}

void writeLevelSnapshot() {
  std::FILE *f = nullptr;
  std::string name = "boogie.spe";
  if (PrintRes != 0 || PrintResAlways != 0) {
    f = openSeriesFile(1, "boogie.spe", "boogie.spe", 4, "", "w", name);
  } else {
    f = std::fopen(name.c_str(), speCreatedThisCall ? "a" : "w");
    if (f) speCreatedThisCall = true;
  }
  if (!f) {
    logPrintf("Warning: can not open '%s' file\n", name.c_str());
    return;
  }
  std::fprintf(f, "%s time: %lf seconds\n", titleText(), stimet);
  std::fprintf(f, "X, Zsurf, Zthixo, Zgroundwater\n\n");
  writeLevelRows(f);
  closeWrittenFile(f, name.c_str());
}

// A series of level rows in one file: the header once per run, then a time
// line and the rows at every call.
void appendLevelSeries() {
  const bool first = !levelSeriesStarted;
  if (first && !speCreatedThisCall) {
    std::FILE *fresh = std::fopen("boogie.spe", "w");
    if (!fresh) {
      logPrintf("Warning: can not open '%s' file\n", "boogie.spe");
      return;
    }
    std::fclose(fresh);
  }
  std::FILE *f = std::fopen("boogie.spe", "a");
  if (!f) {
    logPrintf("Warning: can not open '%s' file\n", "boogie.spe");
    return;
  }
  speCreatedThisCall = true;
  levelSeriesStarted = true;
  if (first) std::fprintf(f, "%s\nX, Zsurf, Zthixo, Zgroundwater\n\n", titleText());
  std::fprintf(f, "\nTime: %lf seconds\n", stimet);
  writeLevelRows(f);
  closeWrittenFile(f, "boogie.spe");
}
