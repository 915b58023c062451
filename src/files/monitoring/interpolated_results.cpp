// Results at the interpolation points of "interpol": one block of lines per
// point in the mode the control file chooses, then the discharge and curtain
// outputs along the points and the vertical cross-sections of P 18.
#include "files/monitoring/interpolated_results.h"

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "files/visualisation/cross_sections.h"
#include "files/monitoring/interpol_line_outputs.h"
#include "files/monitoring/interpol_points.h"
#include "files/monitoring/plan_buckets.h"
#include "files/series_files.h"
#include "files/write_check.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/output_tables.h"
#include "model/points.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"

namespace {

enum class Mode {
  None,
  Profile,     // time-averaged profiles (entry 10 = 19 after a sample)
  Slide,       // slide lines of the searched blocks (entry 10 = 17)
  EightValue,  // 8-value level lines (entry 10 = 7, F 48 1)
  Level,       // level lines with the measured bed change (F 48 4, entry 10 = 4)
  Nearest      // the nearest-cell modes below
};

enum class CellRows { None, Flow, Quality, Concentration, Speed, Kinetic, Full };

int entry10() { return PrintArrayFlags[10]; }

Mode modeOf() {
  const int e = entry10(), f = FlagInterpolVal;
  if (e == 19 && NoKoxInterpols >= 1) return Mode::Profile;
  if (e == 17) return Mode::Slide;
  if (e == 7 || f == 1) return Mode::EightValue;
  if (f == 4 || e == 4) return Mode::Level;
  if (f > 1 || FlagInterpolNew > 0 || e > 0) return Mode::Nearest;
  return Mode::None;
}

CellRows cellRowsOf() {
  const int e = entry10(), f = FlagInterpolVal;
  if (f == 2 || e == 2) return CellRows::Flow;
  if (f == 3 || e == 3) return CellRows::Quality;
  if (e == 6 || f == 6) return CellRows::Concentration;
  if (e == 5 || f == 5) return CellRows::Speed;
  if (e == 18) return CellRows::Kinetic;
  if (FlagInterpolNew == 101 || e == 16) return CellRows::Full;
  return CellRows::None;
}

double planeValue(int p, int i, int j) { return Surfaces && p < surfacePlanes() ? Surfaces[p][i][j] : 0.0; }

// --- profiles ---

void profileBlock(std::FILE *f, int p) {
  if (p >= kProfilePoints) return;  // the tables hold the first four points
  std::fprintf(f, "M %lf %lf\n", xint[p], yint[p]);
  const double n = 1.0 / NoKoxInterpols;
  for (int k = 0; k < kProfileLevels; ++k) {
    std::fprintf(f, "%lf %lf %lf %lf %lf %lf ", koxz[p][k], koxxvel[p][k] * n, koxyvel[p][k] * n, koxzvel[p][k] * n,
                 koxk[p][k] * n, koxeps[p][k] * n);
    for (int s = 1; s <= lnumber; ++s) {
      std::fprintf(f, " %le", koxc[p][k][s] * n);
      koxc[p][k][s] = 0.0;
    }
    std::fputc('\n', f);
    koxxvel[p][k] = koxyvel[p][k] = koxzvel[p][k] = koxk[p][k] = koxeps[p][k] = 0.0;
  }
}

// --- searched blocks ---

struct Corner {
  int i, j;
};

// Inverse-distance weights of the four corners of quadrilateral (i, j).
struct CornerWeights {
  Corner at[4];
  double w[4];
  double sum;
  double of(int plane) const {
    double v = 0.0;
    for (int k = 0; k < 4; ++k) v += w[k] * planeValue(plane, at[k].i, at[k].j);
    return v / (sum + 1e-20);
  }
  double level(int k0) const {
    double v = 0.0;
    for (int k = 0; k < 4; ++k) v += w[k] * zval[at[k].i][at[k].j][k0];
    return v / (sum + 1e-20);
  }
};

CornerWeights cornerWeights(int i, int j, double x, double y) {
  CornerWeights c{{{i, j}, {i - 1, j}, {i - 1, j - 1}, {i, j - 1}}, {}, 0.0};
  for (int k = 0; k < 4; ++k) {
    const double dx = xval[c.at[k].i][c.at[k].j] - x, dy = yval[c.at[k].i][c.at[k].j] - y;
    c.w[k] = 1.0 / std::sqrt(dx * dx + dy * dy + 1e-20);
    c.sum += c.w[k];
  }
  return c;
}

// Mode 17's edge lines: the smallest slide movement over ten lines from
// the block edge.
struct SlideSums {
  double sum = 0.0;
  int count = 0;
};

void slideLine(std::FILE *f, const GridBlock &b, int i, int j, double x, double y, SlideSums &sums) {
  if (j >= b.j1 + 1 && j <= b.j1 + 10) j = b.j1;
  if (j >= b.j2 - 10 && j <= b.j2 - 1) j = b.j2;
  if (j == b.j1 || j == b.j2) {
    const int step = j == b.j1 ? 1 : -1;
    double smallest = 1000.0;
    int chosen = j;
    for (int n = 0; n < 10; ++n) {
      const int jj = j + step * n;
      const double v = planeValue(6, i, jj);
      if (v < smallest) {
        smallest = v;
        chosen = jj;
      }
    }
    std::fprintf(f, "SM %lf %lf %lf %lf %d %d\n", x, y, zval[i][chosen][znumber], smallest, i, chosen);
    sums.sum += smallest;
    ++sums.count;
  } else {
    std::fprintf(f, "SM %lf %lf %lf %lf %d %d direct value\n", x, y, zval[i][j][znumber], planeValue(6, i, j), i, j);
  }
}

// The centres of the quadrilaterals of every searched block, keyed in the
// order i outer, j inner, bucketed once per call.
std::vector<PlanBuckets> blockCentres;

void indexBlockCentres() {
  blockCentres.resize(NoBlocks + 1);
  for (int n = 1; n <= NoBlocks; ++n) {
    const GridBlock &b = block[n];
    PlanBuckets &centres = blockCentres[n];
    centres.clear();
    if (b.LayerMark != 0) continue;
    int key = 0;
    for (int i = b.i1; i <= b.i2; ++i) {
      for (int j = b.j1; j <= b.j2; ++j, ++key) {
        centres.add(0.25 * (xval[i - 1][j - 1] + xval[i][j - 1] + xval[i][j] + xval[i - 1][j]),
                    0.25 * (yval[i - 1][j - 1] + yval[i][j - 1] + yval[i][j] + yval[i - 1][j]), key);
      }
    }
    centres.build();
  }
}

void searchedBlocks(std::FILE *f, Mode mode, int p, SlideSums &sums) {
  const double x = xint[p], y = yint[p];
  double best = 1e20;
  int bi = 0, bj = 0;
  for (int n = 1; n <= NoBlocks; ++n) {
    const GridBlock &b = block[n];
    if (b.LayerMark != 0) continue;
    // The block's nearest centre replaces the best so far only when it is
    // strictly nearer, as one scan over the blocks in order would.
    const int key = blockCentres[n].nearest(x, y, best);
    if (key >= 0) {
      const int nj = b.j2 - b.j1 + 1;
      bi = b.i1 + key / nj;
      bj = b.j1 + key % nj;
      const double cx = 0.25 * (xval[bi - 1][bj - 1] + xval[bi][bj - 1] + xval[bi][bj] + xval[bi - 1][bj]);
      const double cy = 0.25 * (yval[bi - 1][bj - 1] + yval[bi][bj - 1] + yval[bi][bj] + yval[bi - 1][bj]);
      best = std::sqrt((cx - x) * (cx - x) + (cy - y) * (cy - y));
    }
    if (mode == Mode::Slide) {
      slideLine(f, b, bi, bj, x, y, sums);
      continue;
    }
    const CornerWeights w = cornerWeights(bi, bj, x, y);
    const double bed = w.level(1), water = w.level(znumber);
    if (mode == Mode::EightValue) {
      const double slide = FlagThixo ? w.of(6) : 0.0;
      std::fprintf(f, "Z %lf %lf %lf %lf %lf %lf %lf %lf\n", x, y, bed, water, slide, w.of(1), w.of(0), w.of(3));
    } else if (FlagBechInt > 0 && bechint[p] <= 1e10) {
      const double change = bed - w.of(0);
      std::fprintf(f, "Z %lf %lf %lf %lf %lf %lf\n", x, y, bed, water, change, bechint[p]);
      bechStanddev += std::fabs(change - bechint[p]);
    } else {
      std::fprintf(f, "Z %lf %lf %lf %lf\n", x, y, bed, water);
    }
  }
}

// --- nearest cells ---

// A weighted value of the current cells; at least one weight is positive.
double weighted(const int cells[4], const double w[4], const double *field) {
  double v = 0.0, sum = 0.0;
  for (int k = 0; k < 4; ++k) {
    v += w[k] * field[cells[k]];
    sum += w[k];
  }
  return v / sum;
}

void cellRows(std::FILE *f, CellRows rows, int p, const PointCells &pc) {
  const double x = xint[p], y = yint[p];
  if (rows == CellRows::Speed || rows == CellRows::Kinetic) {
    double value = 0.0;
    bool near = true;
    for (int k = 0; k < 4; ++k) {
      const int c = pc.cell[k];
      if (c == 0 || 1.0 / (pc.weight[k] + 1e-20) > 4.0 * Cidist[pc.cell[0]]) near = false;
    }
    if (near) {
      double v = 0.0, sum = 0.0;
      for (int k = 0; k < 4; ++k) {
        const int c = pc.cell[k];
        const double q = rows == CellRows::Speed ? std::sqrt(Cxvel[c] * Cxvel[c] + Cyvel[c] * Cyvel[c]) : Ckinen[c];
        v += pc.weight[k] * q;
        sum += pc.weight[k];
      }
      value = v / sum * (rows == CellRows::Kinetic ? 300.0 : 1.0);
    }
    std::fprintf(f, "N %lf %lf %lf\n", x, y, value);
    return;
  }
  if (rows == CellRows::Flow || rows == CellRows::Full) {
    std::fprintf(f, "M %lf %lf %d %d %d %d %lf %lf %lf %lf\n", x, y, pc.cell[0], pc.cell[1], pc.cell[2], pc.cell[3],
                 pc.weight[0], pc.weight[1], pc.weight[2], pc.weight[3]);
  } else if (rows == CellRows::Quality) {
    std::fprintf(f, "Q %lf %lf\n", x, y);
  } else {
    std::fprintf(f, "C %lf %lf\n", x, y);
  }
  const int limit = rows == CellRows::Full ? znumber + 1 : 2 * znumber + 1;
  int cells[4];
  double w[4];
  for (int k = 0; k < 4; ++k) {
    cells[k] = pc.cell[k];
    w[k] = pc.weight[k];
  }
  for (int row = 0; row < limit; ++row) {
    if (cells[0] == 0 && cells[1] == 0 && cells[2] == 0 && cells[3] == 0) break;
    const double z = weighted(cells, w, Czcenter);
    switch (rows) {
      case CellRows::Flow:
        std::fprintf(f, "%lf %lf %lf %lf %lf %lf\n", z, weighted(cells, w, Cxvel), weighted(cells, w, Cyvel),
                     weighted(cells, w, Czvel), weighted(cells, w, Ckinen), weighted(cells, w, Cepsilon));
        break;
      case CellRows::Quality:
        std::fprintf(f, "%lf", z);
        for (int n = 0; n < NoComponents; ++n) std::fprintf(f, " %e", Ccomp ? weighted(cells, w, Ccomp[n]) : 0.0);
        std::fputc('\n', f);
        break;
      case CellRows::Concentration:
        std::fprintf(f, "%lf", z);
        for (int s = 0; s <= lnumber; ++s) std::fprintf(f, " %e", Cconc ? weighted(cells, w, Cconc[s]) : 0.0);
        std::fputc('\n', f);
        break;
      default:  // full rows
        std::fprintf(f, "%lf %lf %lf %lf %lf %lf ", z, weighted(cells, w, Cxvel), weighted(cells, w, Cyvel),
                     weighted(cells, w, Czvel), weighted(cells, w, Ckinen), weighted(cells, w, Cepsilon));
        for (int s = 1; s <= lnumber; ++s) std::fprintf(f, " %e", Cconc ? weighted(cells, w, Cconc[s]) : 0.0);
        std::fprintf(f, " %lf\n", 2.0 * weighted(cells, w, Ckdist));
        break;
    }
    for (int k = 0; k < 4; ++k) {
      cells[k] = Ccellb[cells[k]];
      if (cells[k] == 0) w[k] = 0.0;
    }
  }
}

void writeInterres(int series) {
  const int seriesSwitch = series >= 1 || PrintRes != 0 || PrintResAlways != 0;
  std::string name;
  std::FILE *f = openSeriesFile(seriesSwitch, "interres", "interres.", 3, "", "w", name);
  if (!f) endCannotOpen("interres");
  const int e = entry10();
  if (FlagInterpolNew == 101 || e == 16 || e == 19) {
    std::fputs("Variables: z-coordinate, velocity-x, velocity-y, velocity-z, k, epsilon, sediment sizes, bed cell height\n",
               f);
  }
  if (FlagInterpolVal == 1 || e == 7 || e == 17) {
    std::fputs("Variables: x-coordinate, y-coordinate, bed level, surface level, slide movement, bed movement, original "
               "bed, limit movable bed level\n",
               f);
  }
  const Mode mode = modeOf();
  const CellRows rows = cellRowsOf();
  SlideSums sums;
  if (mode == Mode::Nearest) indexTopCells();
  if (mode == Mode::Slide || mode == Mode::EightValue || mode == Mode::Level) indexBlockCentres();
  Ccellb[0] = 0;
  for (int p = 0; p < NoInterpol; ++p) {
    switch (mode) {
      case Mode::Profile: profileBlock(f, p); break;
      case Mode::Slide:
      case Mode::EightValue:
      case Mode::Level: searchedBlocks(f, mode, p, sums); break;
      case Mode::Nearest: {
        const PointCells pc = pointCells(xint[p], yint[p]);
        if (!pc.found) {
          std::fprintf(f, "M %lf %lf point is more than 10 000 meters outside grid\n", xint[p], yint[p]);
        } else if (rows != CellRows::None) {
          cellRows(f, rows, p, pc);
        }
        break;
      }
      case Mode::None: break;
    }
  }
  // With no edge line the average is 0 rather than a division by zero.
  if (mode == Mode::Slide) std::fprintf(f, "Average slide movement: %lf\n", sums.count ? sums.sum / sums.count : 0.0);
  closeWrittenFile(f, name.c_str());
}

}  // namespace

void print_interres(int series) {
  bechStanddev = 0.0;
  if (NoInterpol == -2) return;
  if (NoInterpol == -1) readInterpol();
  if (NoInterpol == -2) return;
  const bool skip = entry10() > 99 && FlagInterpolNew <= 0 && !(FlagInterpolVal >= 1 && FlagInterpolVal <= 6);
  if (!skip) writeInterres(series);
  NoKoxInterpols = 0;
  writeLineOutputs();
  for (int n = 1; n <= NoCrossPrint; ++n) {
    print_cross3d(1, CrossPrint[n]);
    if (NoBlocks >= 2 && block[2].LayerMark == 1) print_cross3d(2, CrossPrint[n]);
  }
}
