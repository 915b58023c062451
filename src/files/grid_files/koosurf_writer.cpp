// The coordinate files of block 1: unchanged, coarsened and refined by two,
// in the "koosurf" line that the grid reader takes, so that a grid too large
// for its tables can be rebuilt coarser. Reads xval, yval, zval and Surfaces.
#include "files/grid_files/koosurf_writer.h"

#include <cmath>
#include <cstdio>
#include <memory>

#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"
#include "quality/vegetation/dredging_file.h"

namespace {

struct CloseFile {
  void operator()(std::FILE *f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, CloseFile>;

File create(const char *name) { return File(std::fopen(name, "w")); }

// x, y and the two levels written for a grid point.
struct PointValues {
  double x, y, bed, surface;
};

PointValues gridPoint(int i, int j) { return {xval[i][j], yval[i][j], zval[i][j][1], zval[i][j][znumber]}; }

// The non-erodible bed level of plane 3 in place of the bed, no water level.
PointValues limitPoint(int i, int j) { return {xval[i][j], yval[i][j], Surfaces[3][i][j], 0.0}; }

PointValues mean(const PointValues *p, int n) {
  PointValues m{0.0, 0.0, 0.0, 0.0};
  for (int k = 0; k < n; ++k) {
    m.x += p[k].x;
    m.y += p[k].y;
    m.bed += p[k].bed;
    m.surface += p[k].surface;
  }
  return {m.x / n, m.y / n, m.bed / n, m.surface / n};
}

void koosurfLine(std::FILE *f, int i, int j, const PointValues &p) {
  std::fprintf(f, "%d %d %lf %lf %lf %lf\n", i, j, p.x, p.y, p.bed, p.surface);
}

void koominLine(std::FILE *f, int i, int j, const PointValues &p) {
  std::fprintf(f, "%d %d %lf %lf %lf\n", i, j, p.x, p.y, p.bed);
}

// The grid refined by two: each point keeps its place at (2i-1, 2j-1) and is
// followed by the midpoints towards i+1, j+1 and the centre of the column.
template <class Values, class Line>
void writeRefined(std::FILE *f, const GridBlock &b, Values values, Line line) {
  for (int i = b.i1 - 1; i <= b.i2; ++i) {
    for (int j = b.j1 - 1; j <= b.j2; ++j) {
      const PointValues here = values(i, j);
      line(f, 2 * i - 1, 2 * j - 1, here);
      if (i < b.i2) {
        const PointValues pair[2] = {here, values(i + 1, j)};
        line(f, 2 * i, 2 * j - 1, mean(pair, 2));
      }
      if (j < b.j2) {
        const PointValues pair[2] = {here, values(i, j + 1)};
        line(f, 2 * i - 1, 2 * j, mean(pair, 2));
      }
      if (i < b.i2 && j < b.j2) {
        const PointValues square[4] = {here, values(i + 1, j), values(i, j + 1), values(i + 1, j + 1)};
        line(f, 2 * i, 2 * j, mean(square, 4));
      }
    }
  }
}

// The bed fractions of layer 0 of the coarse columns: every second column
// from i1 and j1, renumbered from 2, each the mean of the four fine columns
// it covers. A row ends at the first coarse column whose far fine column has
// no bed cell.
void writeCoarseFractions(std::FILE *f, const GridBlock &b) {
  for (int i = b.i1, ci = 2; i <= b.i2; i += 2, ++ci) {
    for (int j = b.j1, cj = 2; j <= b.j2; j += 2, ++cj) {
      if (pointbed[i + 1][j + 1] == 0) break;
      const int cells[4] = {pointbed[i][j], pointbed[i + 1][j], pointbed[i][j + 1], pointbed[i + 1][j + 1]};
      std::fprintf(f, "%d %d", ci, cj);
      for (int k = 1; k <= lnumber; ++k) {
        double sum = 0.0;
        int n = 0;
        for (int bc : cells) {
          if (bc <= 0) continue;
          sum += BSedDistrib[0][k][bc];
          ++n;
        }
        std::fprintf(f, " %lf", n > 0 ? sum / n : 0.0);
      }
      std::fputc('\n', f);
    }
  }
}

// The last dredging period read, for the coarse grid: its two times, the
// fractions of the material fed, and the coarse points of "koosurf.cor"
// (same numbering) whose dredging value exceeds 0.01 m.
void writeCoarseDredging(std::FILE *f, const GridBlock &b) {
  const int w = NoBaggerTimes;
  std::fprintf(f, "T %lf %lf\n", baggerTime[w][0], baggerTime[w][1]);
  std::fputs("F ", f);
  for (int k = 1; k <= lnumber; ++k) std::fprintf(f, "%lf ", zugabeFractions[w][k]);
  std::fputc('\n', f);
  for (int i = b.i1 - 1, ci = 1; i <= b.i2; i += 2, ++ci) {
    for (int j = b.j1 - 1, cj = 1; j <= b.j2; j += 2, ++cj) {
      const double value = baggerZval[w][i][j];
      if (std::fabs(value) > 0.01) std::fprintf(f, "D %d %d %lf %lf %lf\n", ci, cj, xval[i][j], yval[i][j], value);
    }
  }
}

}  // namespace

void writekoosurf() {
  if (NoBlocks < 1) return;
  const GridBlock &b = block[1];
  // Opened in this order; a file that cannot be opened ends the writer before
  // the files after it are created, and those before it stay empty.
  File one = create("koosurf.1");
  if (!one) return;
  File fine = create("koosurf.fin");
  if (!fine) return;
  File fineLimit = create("koomin.fin");
  if (!fineLimit) return;
  File coarse = create("koosurf.cor");
  if (!coarse) return;
  File coarseFractions;
  if (FlagReadFracres > 0 && BSedDistrib) {
    coarseFractions = create("fracres.cor");
    if (!coarseFractions) return;
  }
  // The dredging input is read here only to know its last period; no
  // operation acts. Without a period the coarse dredging file is left out.
  if (FlagBagger > 0 && NoBaggerTimes == -1) readBagger();
  File coarseDredging;
  if (FlagBagger > 0 && NoBaggerTimes >= 0 && NoBaggerTimes < MaxNoBagger && baggerZval) {
    coarseDredging = create("bagger.cor");
    if (!coarseDredging) return;
  }

  for (int i = b.i1 - 1; i <= b.i2; ++i) {
    for (int j = b.j1 - 1; j <= b.j2; ++j) koosurfLine(one.get(), i, j, gridPoint(i, j));
  }
  // Every second grid line from the first, renumbered from 1 in each row.
  for (int i = b.i1 - 1, ci = 1; i <= b.i2; i += 2, ++ci) {
    for (int j = b.j1 - 1, cj = 1; j <= b.j2; j += 2, ++cj) koosurfLine(coarse.get(), ci, cj, gridPoint(i, j));
  }
  coarse.reset();
  if (coarseFractions) writeCoarseFractions(coarseFractions.get(), b);
  coarseFractions.reset();
  if (coarseDredging) writeCoarseDredging(coarseDredging.get(), b);
  coarseDredging.reset();
  writeRefined(fine.get(), b, gridPoint, koosurfLine);
  writeRefined(fineLimit.get(), b, limitPoint, koominLine);
  one.reset();
  fine.reset();
  fineLimit.reset();

  File two = create("koosurf.2");
  if (!two) return;
  for (int j = b.j1 - 1; j <= b.j2; ++j) {
    for (int i = b.i1 - 1; i <= b.i2; ++i) koosurfLine(two.get(), i, j, gridPoint(i, j));
  }
}
