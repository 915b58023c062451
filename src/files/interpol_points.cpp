// The "interpol" file: upper-case M, N, T and C start records wherever they
// stand, so titles and comments can sit between the points. The profile
// sampler adds the fields at 200 fixed levels of a column per point.
#include "files/interpol_points.h"

#include <cmath>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "model/cells.h"
#include "model/output_tables.h"
#include "model/points.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"
#include "startup/log.h"

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
  std::FILE *f = std::fopen("interpol", "r");
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

// The top cells by buckets of their corner point 1 on a square raster, so a
// search visits the buckets in rings around the point instead of every top
// cell. Rebuilt per output call; the vectors keep their room between calls.
struct TopCellIndex {
  double x0 = 0.0, y0 = 0.0, size = 1.0;
  int nx = 0, ny = 0;
  std::vector<int> start, cells;
} topIndex;

}  // namespace

void indexTopCells() {
  TopCellIndex &t = topIndex;
  int count = 0;
  double xmin = 1e300, xmax = -1e300, ymin = 1e300, ymax = -1e300;
  for (int c = 1; c <= NoCells; ++c) {
    if (Ccellt[c] != 0) continue;
    const double x = Px[Cpoint1[c]], y = Py[Cpoint1[c]];
    xmin = std::fmin(xmin, x);
    xmax = std::fmax(xmax, x);
    ymin = std::fmin(ymin, y);
    ymax = std::fmax(ymax, y);
    ++count;
  }
  if (count == 0) {
    t.nx = t.ny = 0;
    return;
  }
  // About two cells a bucket.
  const double w = std::fmax(xmax - xmin, 1e-9), h = std::fmax(ymax - ymin, 1e-9);
  t.size = std::fmax(std::sqrt(2.0 * w * h / count), 1e-6);
  t.nx = std::min(static_cast<int>(w / t.size) + 1, 4096);
  t.ny = std::min(static_cast<int>(h / t.size) + 1, 4096);
  t.size = std::fmax(w / t.nx, h / t.ny) * (1.0 + 1e-12) + 1e-12;
  t.x0 = xmin;
  t.y0 = ymin;
  t.start.assign(static_cast<std::size_t>(t.nx) * t.ny + 1, 0);
  t.cells.resize(count);
  auto bucketOf = [&](int c) {
    const int bi = std::min(t.nx - 1, static_cast<int>((Px[Cpoint1[c]] - t.x0) / t.size));
    const int bj = std::min(t.ny - 1, static_cast<int>((Py[Cpoint1[c]] - t.y0) / t.size));
    return static_cast<std::size_t>(bj) * t.nx + bi;
  };
  for (int c = 1; c <= NoCells; ++c) {
    if (Ccellt[c] == 0) ++t.start[bucketOf(c) + 1];
  }
  for (std::size_t k = 1; k < t.start.size(); ++k) t.start[k] += t.start[k - 1];
  std::vector<int> &fill = t.cells;
  std::vector<int> next(t.start.begin(), t.start.end() - 1);
  for (int c = 1; c <= NoCells; ++c) {
    if (Ccellt[c] == 0) fill[next[bucketOf(c)]++] = c;  // increasing cell order in each bucket
  }
}

namespace {

// The nearest top cell within 10,000 m, as a scan over the top cells in
// cell order finds it: the smallest distance, the lowest cell among equals.
int nearestTopCell(double x, double y) {
  const TopCellIndex &t = topIndex;
  double best = 10000.0;
  int winner = 0;
  if (t.nx == 0) return 0;
  const int ci = static_cast<int>(std::floor((x - t.x0) / t.size));
  const int cj = static_cast<int>(std::floor((y - t.y0) / t.size));
  // Only the rings that meet the raster: from the first that reaches it to
  // the last that still touches it.
  const int first = std::max({0, -ci, ci - (t.nx - 1), -cj, cj - (t.ny - 1)});
  const int last = std::max({std::abs(ci), std::abs(ci - (t.nx - 1)), std::abs(cj), std::abs(cj - (t.ny - 1))});
  for (int r = first; r <= last; ++r) {
    // Every cell of ring r lies at least (r - 1) bucket sizes away.
    if ((r - 1) * t.size > best) break;
    for (int bj = std::max(cj - r, 0); bj <= std::min(cj + r, t.ny - 1); ++bj) {
      const bool edgeRow = r == 0 || bj == cj - r || bj == cj + r;
      auto visit = [&](int bi) {
        const std::size_t b = static_cast<std::size_t>(bj) * t.nx + bi;
        for (int k = t.start[b]; k < t.start[b + 1]; ++k) {
          const int c = t.cells[k];
          const double dx = Px[Cpoint1[c]] - x, dy = Py[Cpoint1[c]] - y;
          const double d = std::sqrt(dx * dx + dy * dy);
          if (d < best || (d == best && winner != 0 && c < winner)) {
            best = d;
            winner = c;
          }
        }
      };
      if (edgeRow) {
        for (int bi = std::max(ci - r, 0); bi <= std::min(ci + r, t.nx - 1); ++bi) visit(bi);
      } else {
        if (ci - r >= 0 && ci - r < t.nx) visit(ci - r);
        if (ci + r >= 0 && ci + r < t.nx) visit(ci + r);
      }
    }
  }
  return winner;
}

}  // namespace

PointCells pointCells(double x, double y) {
  PointCells p{};
  const int c = nearestTopCell(x, y);
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
