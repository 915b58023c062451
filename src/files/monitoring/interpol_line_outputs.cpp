// The line of interpolation points, in file order: the discharge through it
// per metre, and curtains that unroll the vertical plane under it into the
// x-z plane for ParaView, on the cell levels or on even levels.
#include "files/monitoring/interpol_line_outputs.h"

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "files/monitoring/interpol_points.h"
#include "files/series_files.h"
#include "files/visualisation/vis_file.h"
#include "files/write_check.h"
#include "grid/geometry/gradients.h"
#include "model/cells.h"
#include "model/output_tables.h"
#include "model/run_state.h"
#include "model/settings.h"

namespace {

constexpr int kCurtainDigits = 5;

// The cells of every point, found once per output (the dummy cell 0 for a
// point beyond 10,000 m). The room stays between calls.
std::vector<PointCells> lineCells;

void findLineCells() {
  indexTopCells();
  lineCells.resize(NoInterpol);
  Ccellb[0] = 0;
  for (int p = 0; p < NoInterpol; ++p) lineCells[p] = pointCells(xint[p], yint[p]);
}

int seriesSwitch() { return PrintRes != 0 || PrintResAlways != 0; }

// --- discharge per metre ---

// The unit direction of the line at point p; a one-point line has none.
void lineDirection(int p, double &tx, double &ty) {
  const int n = NoInterpol;
  int a, b;
  double scale = 1.0;
  if (p == 0) {
    a = 0;
    b = 1;
  } else if (p == n - 1) {
    a = n - 2;
    b = n - 1;
  } else {
    a = p - 1;
    b = p + 1;
    scale = 0.5;
  }
  tx = ty = 0.0;
  if (n < 2) return;
  tx = scale * (xint[b] - xint[a]);
  ty = scale * (yint[b] - yint[a]);
  const double length = std::sqrt(tx * tx + ty * ty) + 1e-20;
  tx /= length;
  ty /= length;
}

double dischargePerMetre(int p) {
  double tx, ty;
  lineDirection(p, tx, ty);
  const PointCells &pc = lineCells[p];
  int cells[4];
  double w[4];
  bool atBottom[4];
  for (int k = 0; k < 4; ++k) {
    cells[k] = pc.cell[k];
    w[k] = pc.weight[k];
    atBottom[k] = false;
  }
  double q = 0.0;
  for (int level = 0; level <= znumber; ++level) {
    double sum = 0.0, term = 0.0;
    for (int k = 0; k < 4; ++k) {
      if (atBottom[k]) w[k] = 0.0;
      const int c = cells[k];
      term += w[k] * (Cxvel[c] * ty - Cyvel[c] * tx) * Ckdist[c];
      sum += w[k];
    }
    q += term / (sum + 1e-20);
    for (int k = 0; k < 4; ++k) {
      if (Ccellb[cells[k]] != 0) {
        cells[k] = Ccellb[cells[k]];
      } else {
        atBottom[k] = true;
      }
    }
  }
  return 2.0 * std::fabs(q);
}

void writeDischarge() {
  std::string name;
  std::FILE *f = openSeriesFile(seriesSwitch(), "interres14", "interres14.", 3, "", "w", name);
  if (!f) endCannotOpen("interres14");
  for (int p = 0; p < NoInterpol; ++p) {
    std::fprintf(f, "Q %lf %lf ", xint[p], yint[p]);
    std::fprintf(f, "%lf\n", dischargePerMetre(p));
  }
  closeWrittenFile(f, name.c_str());
}

// --- curtains ---

// One column of a point stepping down level by level: a column that would
// go below its bottom cell stays there and is marked.
struct Columns {
  int cells[4];
  double w[4];
  bool below[4];

  explicit Columns(const PointCells &pc) {
    for (int k = 0; k < 4; ++k) {
      cells[k] = pc.cell[k];
      w[k] = pc.weight[k];
      below[k] = false;
    }
  }
  void down() {
    for (int k = 0; k < 4; ++k) {
      if (Ccellb[cells[k]] != 0) {
        cells[k] = Ccellb[cells[k]];
      } else {
        below[k] = true;
      }
    }
  }
  double weightSum() const { return w[0] + w[1] + w[2] + w[3]; }
};

// The heights of the cell-level curtains, top down: the top face, the top
// centre, then the centres below; a column past its bottom cell gives its
// bottom face.
void cellLevelHeights(const PointCells &pc, int levels, std::vector<double> &z) {
  Columns col(pc);
  const double sum = col.weightSum() + 1e-20;
  z.assign(levels, 0.0);
  for (int level = 0; level < levels; ++level) {
    if (level >= 2) col.down();
    double v = 0.0;
    for (int k = 0; k < 4; ++k) {
      const int c = col.cells[k];
      v += col.w[k] * Czcenter[c];
      if (level == 0 || col.below[k]) v += (level == 0 ? 1.0 : -1.0) * col.w[k] * Ckdist[c];
    }
    z[level] = v / sum;
  }
}

void writeCurtainFrame(VisFile &file, int levels, const std::vector<std::vector<double>> &heights,
                       const std::vector<double> &along) {
  std::FILE *f = file.stream();
  std::fprintf(f, "# vtk DataFile Version 2.0\n");
  std::fprintf(f, "TELVA 2 %s \n", printedTitle());
  std::fprintf(f, "ASCII\nDATASET STRUCTURED_GRID\n");
  std::fprintf(f, "DIMENSIONS %d %d %d\n", levels, NoInterpol, 1);
  std::fprintf(f, "POINTS %d double\n", levels * NoInterpol);
  for (int p = 0; p < NoInterpol; ++p) {
    for (int level = 0; level < levels; ++level) {
      file.number("%lf", along[p]);
      std::fputs(" 0.0", f);
      file.number(" %lf\n", heights[p][level]);
    }
  }
  std::fprintf(f, "\nPOINT_DATA %d\n", levels * NoInterpol);
}

// Along-line coordinates: the plan distance from point to point, or 0.1 m
// after a point that ends a polyline when gaps are kept.
std::vector<double> alongLine(bool gapAfterPolyline) {
  std::vector<double> s(NoInterpol, 0.0);
  for (int p = 1; p < NoInterpol; ++p) {
    const double dx = xint[p] - xint[p - 1], dy = yint[p] - yint[p - 1];
    s[p] = s[p - 1] + (gapAfterPolyline && cint[p - 1] == 1 ? 0.1 : std::sqrt(dx * dx + dy * dy));
  }
  return s;
}

void writeSpeedCurtain() {
  const int levels = znumber + 1;
  std::vector<std::vector<double>> heights(NoInterpol);
  for (int p = 0; p < NoInterpol; ++p) cellLevelHeights(lineCells[p], levels, heights[p]);
  VisFile file(seriesSwitch(), "ParaView2c.vtk", "pav2c_", kCurtainDigits, ".vtk");
  writeCurtainFrame(file, levels, heights, alongLine(false));
  std::FILE *f = file.stream();
  std::fprintf(f, "SCALARS Velocities float\nLOOKUP_TABLE default\n");
  for (int p = 0; p < NoInterpol; ++p) {
    Columns col(lineCells[p]);
    for (int level = 0; level < levels; ++level) {
      if (level >= 2) col.down();
      double v = 0.0, sum = 0.0;
      for (int k = 0; k < 4; ++k) {
        if (col.below[k]) col.w[k] = 0.0;
        const int c = col.cells[k];
        v += col.w[k] * std::sqrt(Cxvel[c] * Cxvel[c] + Cyvel[c] * Cyvel[c]);
        sum += col.w[k];
      }
      file.number("%lf ", v / (sum + 1e-20));
    }
    std::fputc('\n', f);
  }
  file.close();
}

double concentrationAt(int size, int c) { return Cconc && c != 0 ? Cconc[size][c] : 0.0; }

void writeCellLevelConcentrations() {
  const int levels = znumber + 1;
  std::vector<std::vector<double>> heights(NoInterpol);
  for (int p = 0; p < NoInterpol; ++p) cellLevelHeights(lineCells[p], levels, heights[p]);
  VisFile file(seriesSwitch(), "ParaView2cc.vtk", "pav2cc_", kCurtainDigits, ".vtk");
  writeCurtainFrame(file, levels, heights, alongLine(false));
  std::FILE *f = file.stream();
  for (int s = 0; s <= lnumber; ++s) {
    std::fprintf(f, "SCALARS Concentrations_%d float\nLOOKUP_TABLE default\n", s);
    for (int p = 0; p < NoInterpol; ++p) {
      Columns col(lineCells[p]);
      const double sum = col.weightSum() + 1e-20;
      for (int level = 0; level < levels; ++level) {
        if (level >= 2) col.down();
        double v = 0.0;
        for (int k = 0; k < 4; ++k) v += col.w[k] * concentrationAt(s, col.cells[k]);
        file.number("%le ", v / sum);
      }
      std::fputc('\n', f);
    }
  }
  file.close();
}

void writeEvenLevelConcentrations() {
  const int m = (3 * znumber) / 2, levels = m + 1;
  std::vector<std::vector<double>> heights(NoInterpol);
  for (int p = 0; p < NoInterpol; ++p) {
    const PointCells &pc = lineCells[p];
    double top = 0.0, bottom = 0.0, sum = 1e-20;
    for (int k = 0; k < 4; ++k) {
      const int t = pc.cell[k];
      int b = t;
      while (Ccellb[b] != 0) b = Ccellb[b];
      top += pc.weight[k] * (Czcenter[t] + Ckdist[t]);
      bottom += pc.weight[k] * (Czcenter[b] - Ckdist[b]);
      sum += pc.weight[k];
    }
    top /= sum;
    bottom /= sum;
    heights[p].resize(levels);
    for (int k = 0; k <= m; ++k) {
      const double f = static_cast<double>(k) / m;
      heights[p][k] = (1.0 - f) * top + f * bottom;
    }
  }
  VisFile file(seriesSwitch(), "ParaView2cc.vtk", "pav2cc_", kCurtainDigits, ".vtk");
  writeCurtainFrame(file, levels, heights, alongLine(true));
  std::FILE *f = file.stream();
  for (int s = 0; s <= lnumber; ++s) {
    std::fprintf(f, "SCALARS Concentrations_%d float\nLOOKUP_TABLE default\n", s);
    for (int p = 0; p < NoInterpol; ++p) {
      const PointCells &pc = lineCells[p];
      const double sum = pc.weight[0] + pc.weight[1] + pc.weight[2] + pc.weight[3] + 1e-20;
      for (int level = 0; level < levels; ++level) {
        double v = 0.0;
        for (int k = 0; k < 4; ++k) {
          if (pc.cell[k] != 0 && Cconc) v += pc.weight[k] * interpolatevaluez(Cconc[s], pc.cell[k], heights[p][level]);
        }
        file.number("%le ", v / sum);
      }
      std::fputc('\n', f);
    }
  }
  file.close();
}

}  // namespace

void writeLineOutputs() {
  const int e = PrintArrayFlags[10], f = FlagInterpolVal;
  const bool discharge = f == 14 || e == 102, speed = f == 12 || e == 103;
  const bool cellLevels = f == 16 || e == 104, evenLevels = f == 20 || e == 120;
  if (!(discharge || speed || cellLevels || evenLevels)) return;
  findLineCells();
  if (discharge) writeDischarge();
  if (speed) writeSpeedCurtain();
  if (cellLevels) writeCellLevelConcentrations();
  if (evenLevels) writeEvenLevelConcentrations();
}
