// The "interpol" file: upper-case M, N, T and C start records wherever they
// stand, so titles and comments can sit between the points. The profile
// sampler adds the fields at 200 fixed levels of a column per point.
#include "files/monitoring/interpol_points.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "files/monitoring/plan_buckets.h"
#include "model/cells.h"
#include "model/output_tables.h"
#include "model/points.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"
#include "base/input_file.h"
#include "base/log.h"

namespace {

constexpr int kMaxCharacters = 300000;

// Reads n finite numbers; false when one is missing or not a number.
bool readNumbers(std::FILE *f, double *values, int n) {
  for (int k = 0; k < n; ++k) {
    if (std::fscanf(f, "%lf", &values[k]) != 1 || !std::isfinite(values[k])) return false;
  }
  return true;
}

// The grid line i whose interval of line j = 2 holds x: xval[i-1][2] < x
// <= xval[i][2]; 0 when none does.
int profileColumn(double x) {
  for (int i = 2; i <= xnumber; ++i) {
    if (xval[i - 1][2] < x && x <= xval[i][2]) return i;
  }
  return 0;
}

int ipoint[kProfilePoints];
bool warnedFifthPoint = false;

int profiledPoints() { return NoInterpol < kProfilePoints ? NoInterpol : kProfilePoints; }

void clearPoint(int p) {
  for (int k = 0; k < kProfileLevels; ++k) {
    koxxvel[p][k] = koxyvel[p][k] = koxzvel[p][k] = koxk[p][k] = koxeps[p][k] = 0.0;
    for (int s = 0; s <= lnumber; ++s) koxc[p][k][s] = 0.0;
  }
}

// Fixes the levels of each profile from the bed and the water level of
// this moment, and clears its sums.
void setUpProfiles() {
  if (NoInterpol > kProfilePoints && !warnedFifthPoint) {
    warnedFifthPoint = true;
    logText("Warning: only the first 4 interpol points get profiles\n");
  }
  if (xnumber <= 1) return;
  for (int p = 0; p < profiledPoints(); ++p) {
    const int i = profileColumn(xint[p]);
    if (i == 0) continue;
    ipoint[p] = i;
    const double zb = (zval[i - 1][2][1] + zval[i][2][1]) / 2.0;
    const double zt = zval[i][2][znumber];
    for (int k = 0; k < kProfileLevels; ++k) koxz[p][k] = zb + k * (zt - zb) / (kProfileLevels - 1);
    clearPoint(p);
  }
}

void sampleLevel(int p, int k, int bottom) {
  const double z = koxz[p][k];
  for (int c = bottom; Ccellt[c] != 0; c = Ccellt[c]) {
    const int above = Ccellt[c];
    if (!(Czcenter[c] < z && z < Czcenter[above])) continue;
    const double w = (z - Czcenter[c]) / (Czcenter[above] - Czcenter[c]);
    auto mix = [&](const double *f) { return (1.0 - w) * f[c] + w * f[above]; };
    koxxvel[p][k] += mix(Cxvel);
    koxyvel[p][k] += mix(Cyvel);
    koxzvel[p][k] += mix(Czvel);
    koxk[p][k] += mix(Ckinen);
    koxeps[p][k] += mix(Cepsilon);
    if (Cconc) {
      for (int s = 0; s <= lnumber; ++s) koxc[p][k][s] += mix(Cconc[s]);
    }
    return;
  }
}

}  // namespace

void readInterpol() {
  std::FILE *f = openInputFile("interpol");
  if (!f) {
    logText("Warning: Have not been able to open interpol file\n\n");
    NoInterpol = -2;
    return;
  }
  int n = 0;
  for (int read = 0; read < kMaxCharacters && n < kMaxInterpolPoints; ++read) {
    const int ch = std::fgetc(f);
    if (ch == EOF || ch == 255) break;
    double v[3];
    if (ch == 'M' || ch == 'N') {
      const int count = ch == 'M' ? 2 : 3;
      if (!readNumbers(f, v, count)) break;
      xint[n] = v[0];
      yint[n] = v[1];
      if (ch == 'N') {
        bechint[n] = v[2];
        ++FlagBechInt;
        bechMeasAv += std::fabs(v[2]);
      }
      cint[n] = timeFlags[n] = 0;
      ++n;
    } else if (ch == 'T') {
      if (!readNumbers(f, v, 3)) break;
      timeint[n] = v[0];
      xint[n] = v[1];
      yint[n] = v[2];
      cint[n] = 0;
      timeFlags[n] = 1;
      ++n;
    } else if (ch == 'C' && n > 0) {
      cint[n - 1] = 1;
    }
  }
  std::fclose(f);
  NoInterpol = n;
  logPrintf("Have read %d M/N data sets from the interpol file\n", n);
}

void makeDarnevoli() {
  if (!koxz) return;  // the profile tables exist only for entry 10 of F 329 = 19
  if (NoKoxInterpols == 0) {
    if (NoInterpol == -1) readInterpol();
    if (NoInterpol <= 0) {
      ++NoKoxInterpols;
      return;
    }
    setUpProfiles();
  }
  ++NoKoxInterpols;
  Ccellt[0] = 0;
  for (int p = 0; p < profiledPoints(); ++p) {
    const int i = ipoint[p];
    if (i == 0) continue;
    const int bottom = static_cast<int>(zval[i][2][0]);
    if (bottom == 0) continue;
    for (int k = 0; k < kProfileLevels; ++k) sampleLevel(p, k, bottom);
  }
}

namespace {

// The top cells by their corner point 1, bucketed once per output call.
PlanBuckets topCells;

}  // namespace

void indexTopCells() {
  topCells.clear();
  for (int c = 1; c <= NoCells; ++c) {
    if (Ccellt[c] == 0) topCells.add(Px[Cpoint1[c]], Py[Cpoint1[c]], c);
  }
  topCells.build();
}

PointCells pointCells(double x, double y) {
  PointCells p{};
  // The search starts at 10,000 m: a point farther from every top cell gets none.
  const int c = std::max(topCells.nearest(x, y, 10000.0), 0);
  p.found = c != 0;
  if (!p.found) return p;
  const int s = Ccells[c], w = Ccellw[c];
  const int sw = w != 0 && Ccells[w] != 0 ? Ccells[w] : (s != 0 ? Ccellw[s] : 0);
  const int cells[4] = {c, s, w, sw};
  for (int k = 0; k < 4; ++k) {
    p.cell[k] = cells[k];
    if (cells[k] == 0) continue;
    const double dx = Cxcenter[cells[k]] - x, dy = Cycenter[cells[k]] - y;
    p.weight[k] = 1.0 / (std::sqrt(dx * dx + dy * dy) + 1e-6);
  }
  return p;
}
