// A body described by an ASCII STL surface becomes blockage profiles: the
// vertical line through each column centre crosses the surface where it
// enters and leaves the body, and the water between an entry and the next
// exit is blocked. The crossings are collected in the first time set of Bveg
// (row 0 levels, row 1 the orientation of the crossed triangle).
#include "quality/vegetation/stl_blockage.h"

#include "quality/quality_services.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include "base/log.h"
#include "files/write_check.h"
#include "grid/bed_levels/bed_points.h"
#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/status.h"
#include "model/structured.h"
#include "model/table_allocator.h"
#include "startup/control_stream.h"

namespace {

constexpr double kEmpty = -1e20;
bool used(double level) { return level > -1e15; }

// The number of used slots at the start of a column's row.
int usedSlots(const double *levels) {
  int n = 0;
  while (n < VegLevels && used(levels[n])) ++n;
  return n;
}

// Counts "facet" words: each triangle has two ("facet normal", "endfacet").
long countTriangles(std::string_view text) {
  long count = 0;
  for (std::size_t p = text.find("facet"); p != std::string_view::npos; p = text.find("facet", p + 5)) ++count;
  return count / 2;
}

// Moves the stream past the next 'x' within the given number of characters;
// false when none is found there.
bool skipToX(ControlStream &s, int within) {
  for (int n = 0; n < within; ++n) {
    const int ch = s.get();
    if (ch == EOF) return false;
    if (ch == 'x') return true;
  }
  return false;
}

// Moves the stream past the next "facet"; false at the end of the text.
bool skipToFacet(ControlStream &s) {
  const std::size_t p = s.rest().find("facet");
  if (p == std::string_view::npos) return false;
  s.rewind(s.position() + p + 5);
  return true;
}

void readCorner(ControlStream &s, StlTriangle &t, int k) {
  scan(s, "%lf %lf %lf\n", &t.x[k], &t.y[k], &t.z[k]);
}

// Reading pass: the three corners of each triangle, the first one also a
// bed point of "geodata.sl".
long readTriangles(const std::string &text, std::vector<StlTriangle> &tri, std::FILE *geo) {
  ControlStream s(text);
  long read = 0;
  while (read < static_cast<long>(tri.size()) && skipToFacet(s)) {
    StlTriangle &t = tri[read];
    if (skipToX(s, 100)) {
      readCorner(s, t, 0);
      std::fprintf(geo, "E %lf %lf %lf\n", t.x[0], t.y[0], t.z[0]);
    }
    if (skipToX(s, 30)) readCorner(s, t, 1);
    if (skipToX(s, 30)) readCorner(s, t, 2);
    ++read;
  }
  return read;
}

// Triangles bucketed by their plan bounding box on a regular raster over the
// column centres, each bucket in file order, so that a column tests only the
// triangles that can hold its centre and meets them in the file's order.
struct Buckets {
  double x0 = 0, y0 = 0, dx = 1, dy = 1;
  int nx = 1, ny = 1;
  std::vector<int> start, list;

  int cell(double v, double v0, double d, int n) const {
    const int k = static_cast<int>(std::floor((v - v0) / d));
    return std::clamp(k, 0, n - 1);
  }

  void build(const std::vector<StlTriangle> &tri, long count, double xa, double xb, double ya, double yb, int columns) {
    const int side = std::max(1, static_cast<int>(std::sqrt(static_cast<double>(columns))));
    nx = ny = side;
    x0 = xa;
    y0 = ya;
    dx = std::max((xb - xa) / nx, 1e-9);
    dy = std::max((yb - ya) / ny, 1e-9);
    start.assign(static_cast<std::size_t>(nx) * ny + 1, 0);
    auto range = [&](const StlTriangle &t, int &i0, int &i1, int &j0, int &j1) {
      const auto [xl, xh] = std::minmax({t.x[0], t.x[1], t.x[2]});
      const auto [yl, yh] = std::minmax({t.y[0], t.y[1], t.y[2]});
      if (xh < xa || xl > xb || yh < ya || yl > yb) return false;
      i0 = cell(xl, x0, dx, nx);
      i1 = cell(xh, x0, dx, nx);
      j0 = cell(yl, y0, dy, ny);
      j1 = cell(yh, y0, dy, ny);
      return true;
    };
    int i0, i1, j0, j1;
    for (long t = 0; t < count; ++t) {
      if (!range(tri[t], i0, i1, j0, j1)) continue;
      for (int i = i0; i <= i1; ++i)
        for (int j = j0; j <= j1; ++j) ++start[static_cast<std::size_t>(i) * ny + j + 1];
    }
    for (std::size_t k = 1; k < start.size(); ++k) start[k] += start[k - 1];
    list.assign(start.back(), 0);
    std::vector<int> fill(start.begin(), start.end() - 1);
    for (long t = 0; t < count; ++t) {
      if (!range(tri[t], i0, i1, j0, j1)) continue;
      for (int i = i0; i <= i1; ++i)
        for (int j = j0; j <= j1; ++j) list[fill[static_cast<std::size_t>(i) * ny + j]++] = static_cast<int>(t);
    }
  }
};

double centreX(int i, int j) { return 0.25 * (xval[i - 1][j - 1] + xval[i][j - 1] + xval[i - 1][j] + xval[i][j]); }
double centreY(int i, int j) { return 0.25 * (yval[i - 1][j - 1] + yval[i][j - 1] + yval[i - 1][j] + yval[i][j]); }

void findCrossings(const std::vector<StlTriangle> &tri, long count) {
  for (int b = 1; b <= NoBCells; ++b)
    for (int k = 0; k < VegLevels; ++k) Bveg[b][0][0][k] = kEmpty;
  const GridBlock &g = block[1];
  if (g.i2 < g.i1 || g.j2 < g.j1) return;
  double xa = 1e300, xb = -1e300, ya = 1e300, yb = -1e300;
  for (int i = g.i1; i <= g.i2; ++i) {
    for (int j = g.j1; j <= g.j2; ++j) {
      xa = std::min(xa, centreX(i, j));
      xb = std::max(xb, centreX(i, j));
      ya = std::min(ya, centreY(i, j));
      yb = std::max(yb, centreY(i, j));
    }
  }
  Buckets buckets;
  buckets.build(tri, count, xa, xb, ya, yb, (g.i2 - g.i1 + 1) * (g.j2 - g.j1 + 1));
  for (int i = g.i1; i <= g.i2; ++i) {
    for (int j = g.j1; j <= g.j2; ++j) {
      const int b = pointbed[i][j];
      if (b <= 0) continue;
      const double xc = centreX(i, j), yc = centreY(i, j);
      const std::size_t k = static_cast<std::size_t>(buckets.cell(xc, buckets.x0, buckets.dx, buckets.nx)) * buckets.ny +
                            buckets.cell(yc, buckets.y0, buckets.dy, buckets.ny);
      double **rows = Bveg[b][0];
      for (int m = buckets.start[k]; m < buckets.start[k + 1]; ++m) {
        const StlTriangle &t = tri[buckets.list[m]];
        const int side = insideTriangle(xc, yc, t.x[0], t.y[0], t.x[1], t.y[1], t.x[2], t.y[2]);
        if (side == 0) continue;
        // A centre on a vertical face touches it along a line, not at one level.
        const double level = computeVegdataVertLevel(t, xc, yc);
        if (!std::isfinite(level)) continue;
        const int slot = usedSlots(rows[0]);
        if (slot >= VegLevels) break;
        rows[0][slot] = level;
        rows[1][slot] = side;
      }
    }
  }
}

// Removes slot k of both rows; the empty slots move in from above.
void removeSlot(double **rows, int k) {
  for (int m = k; m + 1 < VegLevels; ++m) {
    rows[0][m] = rows[0][m + 1];
    rows[1][m] = rows[1][m + 1];
  }
  rows[0][VegLevels - 1] = kEmpty;
  rows[1][VegLevels - 1] = 0.0;
}

void sortColumn(double **rows) {
  for (int pass = 0; pass < VegLevels - 1; ++pass) {
    bool swapped = false;
    for (int k = 0; k + 1 < VegLevels; ++k) {
      if (used(rows[0][k]) && used(rows[0][k + 1]) && rows[0][k] > rows[0][k + 1]) {
        std::swap(rows[0][k], rows[0][k + 1]);
        std::swap(rows[1][k], rows[1][k + 1]);
        swapped = true;
      }
    }
    if (!swapped) break;
  }
  int n = usedSlots(rows[0]);
  if (n >= VegLevels) return;
  // A centre on an edge shared by two triangles crosses both: one copy goes.
  for (int k = 0; k + 1 < n;) {
    if (std::fabs(rows[0][k + 1] - rows[0][k]) < 0.0001) {
      removeSlot(rows, k);
      --n;
    } else {
      ++k;
    }
  }
}

void writeRecords(std::FILE *veg) {
  const GridBlock &g = block[1];
  long nMax = (VegLevels - 2) / 2;
  for (int i = g.i1; i <= g.i2; ++i)
    for (int j = g.j1; j <= g.j2; ++j)
      if (pointbed[i][j] > 0) nMax = std::max<long>(nMax, usedSlots(Bveg[pointbed[i][j]][0][0]));
  // Pairs of crossings fill the record: an odd maximum would write two
  // levels more than the header announces.
  nMax += nMax % 2;
  std::fprintf(veg, "U 1 %ld 1\n", 2 * nMax + 2);
  const double d = deltaLevelPorosity;
  for (int i = g.i1; i <= g.i2; ++i) {
    for (int j = g.j1; j <= g.j2; ++j) {
      if (pointbed[i][j] <= 0) continue;
      const double *L = Bveg[pointbed[i][j]][0][0];
      const int n = usedSlots(L);
      if (n % 2 == 1) logPrintf("Error for cell (%ld,%ld), number of surfaces is %d\n\n", long{i}, long{j}, n);
      if (n < 2) continue;
      const int pairs = n / 2, top = 2 * pairs - 1;
      std::fprintf(veg, "N %ld %ld %lf ", long{i}, long{j}, L[0] - 10.0);
      for (int m = 0; m < 2 * pairs; m += 2) std::fprintf(veg, "%lf %lf %lf %lf ", L[m] - d, L[m], L[m + 1], L[m + 1] + d);
      for (long m = 2 * pairs; m < nMax; m += 2) {
        const double z = L[top] + 10.0 + m;
        std::fprintf(veg, "%lf %lf %lf %lf ", z, z + 0.2, z + 0.4, z + 0.6);
      }
      std::fprintf(veg, "%lf ", L[top] + 100.0);
      std::fputs("0.0 ", veg);
      for (int m = 0; m < 2 * pairs; m += 2) std::fputs("0.0 1000.0 1000.0 0.0 ", veg);
      for (long m = 2 * pairs; m < nMax; m += 2) std::fputs("0.0 0.0 0.0 0.0 ", veg);
      std::fputs("0.0 \n", veg);
    }
  }
}

}  // namespace

double computeVegdataVertLevel(const StlTriangle &t, double x, double y) {
  const double ax = t.x[0] - t.x[1], ay = t.y[0] - t.y[1], az = t.z[0] - t.z[1];
  const double bx = t.x[0] - t.x[2], by = t.y[0] - t.y[2], bz = t.z[0] - t.z[2];
  const double nx = ay * bz - az * by, ny = az * bx - ax * bz, nz = ax * by - ay * bx;
  return (nx * t.x[0] + ny * t.y[0] + nz * t.z[0] - nx * x - ny * y) / nz;
}

void computeVegdataBubblesort() {
  if (VegLevels <= 1) return;
  const GridBlock &g = block[1];
  for (int i = g.i1; i <= g.i2; ++i) {
    for (int j = g.j1; j <= g.j2; ++j) {
      const int b = pointbed[i][j];
      if (b > 0 && used(Bveg[b][0][0][0])) sortColumn(Bveg[b][0]);
    }
  }
}

int computeVegdataFromSTL() {
  std::string text;
  if (!readTextFile("stlfile.stl", text)) fatalExit(-4, "Could not read 'stlfile.stl' or 'stlfileb.stl' files\n\n");
  std::FILE *veg = std::fopen("vegdata.sl", "w");
  if (veg == nullptr) fatalExit(-4, "Could not open 'vegdata.sl' file\n\n");
  std::FILE *geo = std::fopen("geodata.sl", "w");
  if (geo == nullptr) fatalExit(-4, "Could not open 'geodata.sl' file\n\n");
  const long count = countTriangles(text);
  logPrintf("Have read %ld triangles from stlfile.stl file\n", count);
  auto finish = [&](int result) {
    closeWrittenFile(geo, "geodata.sl");
    closeWrittenFile(veg, "vegdata.sl");
    return result;
  };
  if (count == 0) return finish(-1);
  std::vector<StlTriangle> tri;
  TableAllocator a;
  if (Bveg == nullptr) a.hypercube(Bveg, bedCellCapacity(), VegTimes, std::int64_t{VegVars} + 1, VegLevels);
  try {
    if (!a.failed()) tri.assign(count, StlTriangle{});
  } catch (const std::bad_alloc &) {
    logPrintf("Allocated %lf Mbyte when out of memory\n", a.bytes() / 1e6);
    return finish(-1);
  }
  if (a.failed()) {
    logPrintf("Allocated %lf Mbyte when out of memory\n", a.bytes() / 1e6);
    return finish(-1);
  }
  logPrintf("Have allocated %lf MB arrays of vegparameters and %ld triangles\n",
            (a.bytes() + 9.0 * sizeof(double) * count) / 1e6, count);
  const long read = readTriangles(text, tri, geo);
  std::fputs("Z 0 0 0 \n", geo);
  char status[kStatusTextLength];
  std::snprintf(status, sizeof status, "Point %ld of %ld ", read, count);
  setStatus(mc_message, status);
  findCrossings(tri, read);
  computeVegdataBubblesort();
  writeRecords(veg);
  return finish(0);
}
