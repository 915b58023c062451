// The layers of the sediment bed for ParaView: each layer of a column is an
// element stacked on the limit of the movable bed, as thick as the layer,
// with its median diameter, fractions, dominant size and tracer share.
#include "files/visualisation/bed_layer_views.h"

#include <cmath>
#include <cstdio>
#include <vector>

#include "files/visualisation/output_variables.h"
#include "files/visualisation/vis_file.h"
#include "files/write_check.h"
#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/status.h"
#include "model/structured.h"

namespace {

constexpr int kSeriesDigits = 5;
constexpr int kNameLength = 64;
bool severalSections = false;
bool bedtestStarted = false;

int bedCell(int i, int j) { return pointbed ? pointbed[i][j] : 0; }

int topLayer(int b) { return b > 0 && BlayerTop ? BlayerTop[b] : -1; }

double layerValue(int layer, int k, int b) {
  return BSedDistrib && layer >= 0 && layer <= NoBedLayers && k <= lnumber ? BSedDistrib[layer][k][b] : 0.0;
}

double plane(int p, int i, int j) { return Surfaces && p < surfacePlanes() ? Surfaces[p][i][j] : 0.0; }

double planeMean(int p, int i, int j) {
  return 0.25 * (plane(p, i - 1, j - 1) + plane(p, i, j - 1) + plane(p, i - 1, j) + plane(p, i, j));
}

// The lower height of each layer of column (i, j) and the top of the last.
struct Stack {
  int b, top;
  double base;
  double lower(int layer) const {
    double z = base;
    for (int l = 0; l < layer; ++l) z += layerValue(l, 0, b);
    return z;
  }
};

Stack stackOf(int i, int j) {
  const int b = bedCell(i, j);
  return {b, topLayer(b), planeMean(3, i, j)};
}

int elementsOf(const Stack &s) { return s.top < 0 ? 0 : s.top + 1; }

double d50(int layer, int b) {
  double f[kMaxGrainSizes + 2] = {};
  for (int k = 1; k <= lnumber; ++k) f[k] = layerValue(layer, k, b);
  return percentileDiameter(f, lnumber, 0.5);
}

double dominantSize(int layer, int b) {
  int best = 0;
  double most = 0.0;
  for (int k = 1; k <= lnumber; ++k) {
    if (layerValue(layer, k, b) > most) {
      most = layerValue(layer, k, b);
      best = k;
    }
  }
  return gsize[best];
}

// The tracer share of a layer for the size lists of 18 and 10 classes.
double tracer(int layer, int b) {
  static const int eighteen[] = {2, 4, 5, 6, 8, 9, 10, 12, 13, 14, 16, 17};
  static const int ten[] = {3, 5, 7, 9};
  double sum = 0.0;
  if (lnumber == 18) {
    for (int k : eighteen) sum += layerValue(layer, k, b);
  } else if (lnumber == 10) {
    for (int k : ten) sum += layerValue(layer, k, b);
  }
  return sum;
}

void smallOrValue(VisFile &file, const char *format, const char *zero, double v) {
  if (std::fabs(v) < 1e-14) {
    std::fputs(zero, file.stream());
  } else {
    file.number(format, v);
  }
}

void writeTitle(VisFile &file, const char *kind, const char *dataset) {
  std::FILE *f = file.stream();
  std::fprintf(f, "# vtk DataFile Version 2.0\nTELVA 2 %s %s \nASCII\nDATASET %s\n", kind, printedTitle(), dataset);
}

void point(VisFile &file, double x, double y, double z, bool last) {
  file.number("%lf", x);
  file.number(" %lf", y);
  file.number(last ? " %lf\n" : " %lf  ", z);
}

// A section: its columns in order, each with the plan coordinates of its
// two edges a and b.
struct SectionColumn {
  int i, j;
  double ax, ay, bx, by;
};

void writeSection(VisFile &file, const SectionColumn *cols, int count) {
  std::FILE *f = file.stream();
  int n = 0;
  for (int m = 0; m < count; ++m) n += elementsOf(stackOf(cols[m].i, cols[m].j));
  writeTitle(file, "2D bed file", "POLYDATA");
  std::fprintf(f, "POINTS %d double\n", 4 * n);
  for (int m = 0; m < count; ++m) {
    const SectionColumn &c = cols[m];
    const Stack s = stackOf(c.i, c.j);
    for (int l = 0; l <= s.top; ++l) {
      const double lo = s.lower(l), hi = lo + layerValue(l, 0, s.b);
      point(file, c.ax, c.ay, lo, false);
      point(file, c.bx, c.by, lo, false);
      point(file, c.bx, c.by, hi, false);
      point(file, c.ax, c.ay, hi, true);
    }
  }
  std::fprintf(f, "\nPOLYGONS %d %d\n", n, 5 * n);
  for (int m = 0; m < n; ++m) std::fprintf(f, "4 %d %d %d %d\n", 4 * m, 4 * m + 1, 4 * m + 2, 4 * m + 3);
  std::fprintf(f, "\nCELL_DATA %d\n", n);
  auto array = [&](const char *name, auto value, const char *format, bool zeroSmall) {
    std::fprintf(f, "\nSCALARS %s float 1\nLOOKUP_TABLE default\n", name);
    for (int m = 0; m < count; ++m) {
      const Stack s = stackOf(cols[m].i, cols[m].j);
      for (int l = 0; l <= s.top; ++l) {
        const double v = value(l, s.b);
        if (zeroSmall) {
          smallOrValue(file, format, " 0.0", v);
        } else {
          file.number(format, v);
        }
      }
      std::fputc('\n', f);
    }
  };
  array("D50", [](int l, int b) { return d50(l, b); }, " %lg", true);
  if (FlagBedFractionsPrint > 0) {
    for (int k = 1; k <= lnumber; ++k) {
      char name[kNameLength];
      std::snprintf(name, sizeof name, "Sediment_fraction_%d", k);
      array(name, [k](int l, int b) { return layerValue(l, k, b); }, " %lg", true);
    }
  }
  array("Dominant_size", [](int l, int b) { return dominantSize(l, b); }, " %lf", false);
  if (FlagFractionsPrint > 0) array("Tracer", [](int l, int b) { return tracer(l, b); }, " %lf", false);
}

// "bedtest": the continuity of the bed change along the section's block.
void writeBedtest(const GridBlock &bk) {
  std::FILE *f = std::fopen("bedtest", bedtestStarted ? "a" : "w");
  if (!f) endCannotOpen("bedtest");
  if (!bedtestStarted) {
    std::fputs("Continuity test file: Bed defect, Bedmove[b],Sum BSedDistrib[0], Surf[OR]-Surf[LB], Cxvel, Cyvel, "
               "Ckinen\n\n",
               f);
    bedtestStarted = true;
  }
  std::fprintf(f, "\nIter %d\n\n", Iter);
  for (int i = bk.i1; i <= bk.i2; ++i) {
    for (int j = bk.j1; j <= bk.j2; ++j) {
      const Stack s = stackOf(i, j);
      double T = 0.0;
      for (int l = 0; l <= s.top; ++l) T += layerValue(l, 0, s.b);
      const double D = planeMean(0, i, j) - planeMean(3, i, j), M = plane(5, i, j);
      const int c = zval ? static_cast<int>(zval[i][j][0]) : 0;
      std::fprintf(f, "%lf %lf %lf %lf %lf %lf", M - T + D, M, T - D, T, D, planeMean(3, i, j));
      std::fprintf(f, " %lf %lf %lf\n", Cxvel[c], Cyvel[c], Ckinen[c]);
    }
  }
  closeWrittenFile(f, "bedtest");
}

void doneStatus() { setStatus(mc_message, "have written ParaBed file  "); }

}  // namespace

void nameBedSectionsByLine(bool several) { severalSections = several; }

void writeParaBed3(int k, int j) {
  const GridBlock &bk = block[k];
  if (j == 0) j = (bk.j1 + bk.j2) / 2;
  if (j == 1 || j < 0 || j > bk.j2) return;
  if (FlagMorphStatistics == 5) writeBedtest(bk);
  char fixed[kNameLength], base[kNameLength];
  if (severalSections) {
    std::snprintf(fixed, sizeof fixed, "ParaBed2D_%d.vtk", j);
  } else {
    std::snprintf(fixed, sizeof fixed, "ParaBed2D.vtk");
  }
  std::snprintf(base, sizeof base, "pab2_%d_", j);
  VisFile file(PrintRes != 0, fixed, base, kSeriesDigits, ".vtk");
  static std::vector<SectionColumn> cols;  // the room stays between calls
  cols.clear();
  double along = 0.0;
  for (int i = bk.i1; i <= bk.i2; ++i) {
    const double from = along;
    along += std::hypot(xval[i][j] - xval[i - 1][j], yval[i][j] - yval[i - 1][j]);
    cols.push_back({i, j, from, 0.5 * (yval[i - 1][j - 1] + yval[i - 1][j]), along, 0.5 * (yval[i][j - 1] + yval[i][j])});
  }
  writeSection(file, cols.data(), static_cast<int>(cols.size()));
  file.close();
  doneStatus();
}

void writeParaBed5(int k, int i) {
  const GridBlock &bk = block[k];
  if (i == 0) i = (bk.i1 + bk.i2) / 2;
  if (i == 1 || i < 0 || i > bk.i2) return;
  char fixed[kNameLength], base[kNameLength];
  if (severalSections) {
    std::snprintf(fixed, sizeof fixed, "ParaBed2DC_%d.vtk", i);
  } else {
    std::snprintf(fixed, sizeof fixed, "ParaBed2DC.vtk");
  }
  std::snprintf(base, sizeof base, "pabc2_%d_", i);
  VisFile file(PrintRes != 0, fixed, base, kSeriesDigits, ".vtk");
  static std::vector<SectionColumn> cols;  // the room stays between calls
  cols.clear();
  for (int j = bk.j1; j <= bk.j2; ++j) {
    cols.push_back({i, j, 0.5 * (xval[i - 1][j - 1] + xval[i][j - 1]), yval[i][j - 1],
                     0.5 * (xval[i - 1][j] + xval[i][j]), yval[i][j]});
  }
  writeSection(file, cols.data(), static_cast<int>(cols.size()));
  file.close();
  doneStatus();
}

void writeParaBed4(int k) {
  const GridBlock &bk = block[k];
  VisFile file(PrintRes != 0, "ParaBed3D.vtk", "pab3_", kSeriesDigits, ".vtk");
  std::FILE *f = file.stream();
  int n = 0;
  for (int j = bk.j1; j <= bk.j2; ++j) {
    for (int i = bk.i1; i <= bk.i2; ++i) n += elementsOf(stackOf(i, j));
  }
  writeTitle(file, "3D bed file", "UNSTRUCTURED_GRID");
  std::fprintf(f, "POINTS %d double\n", 8 * n);
  for (int j = bk.j1; j <= bk.j2; ++j) {
    for (int i = bk.i1; i <= bk.i2; ++i) {
      const Stack s = stackOf(i, j);
      const int ci[4] = {i - 1, i, i, i - 1}, cj[4] = {j - 1, j - 1, j, j};
      for (int l = 0; l <= s.top; ++l) {
        const double lo = s.lower(l), hi = lo + layerValue(l, 0, s.b);
        for (const double z : {lo, hi}) {
          for (int c = 0; c < 4; ++c) point(file, xval[ci[c]][cj[c]], yval[ci[c]][cj[c]], z, c == 3);
        }
      }
    }
  }
  std::fprintf(f, "\nCELLS %d %d\n", n, 9 * n);
  for (int m = 0; m < n; ++m) {
    std::fprintf(f, "8 %d %d %d %d %d %d %d %d\n", 8 * m, 8 * m + 1, 8 * m + 2, 8 * m + 3, 8 * m + 4, 8 * m + 5,
                 8 * m + 6, 8 * m + 7);
  }
  std::fprintf(f, "\nCELL_TYPES %d\n", n);
  for (int m = 0; m < n; ++m) std::fputs("12\n", f);
  std::fprintf(f, "\nCELL_DATA %d\n", n);
  auto array = [&](const char *name, auto value) {
    std::fprintf(f, "\nSCALARS %s float 1\nLOOKUP_TABLE default\n", name);
    for (int j = bk.j1; j <= bk.j2; ++j) {
      for (int i = bk.i1; i <= bk.i2; ++i) {
        const Stack s = stackOf(i, j);
        for (int l = 0; l <= s.top; ++l) smallOrValue(file, "%lg ", "0.0 ", value(l, s.b));
        std::fputc('\n', f);
      }
    }
  };
  if (FlagFractionsPrint != 0) {
    array("Tracer", [](int l, int b) { return tracer(l, b); });
  } else {
    for (int s = 1; s <= lnumber; ++s) {
      char name[kNameLength];
      std::snprintf(name, sizeof name, "Sediment_fraction_%d", s);
      array(name, [s](int l, int b) { return layerValue(l, s, b); });
    }
  }
  file.close();
  doneStatus();
}
