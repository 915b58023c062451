// Water levels from an "alpha1" field of a two-phase run (1 water, 0 air):
// each column of block 1 takes the height where the fraction crosses 0.5,
// and the grid points of block 1 the mean of the columns around them.
#include "surface/alpha_levels.h"

#include <cmath>
#include <cstdio>

#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/settings.h"
#include "model/structured.h"
#include "base/input_file.h"
#include "base/log.h"

namespace {

constexpr int kExitNoAlphaFile = -88;
constexpr int kExitAlphaCount = -89;
constexpr int kExitAlphaValue = -90;
// The list type of a non-uniform field ends in '>': the count follows it.
constexpr int kHeaderSearch = 100000;

[[noreturn]] void endRead(std::FILE *f, int code, const char *format, int a = 0, int b = 0) {
  std::fclose(f);
  fatalPrintf(code, nullptr, format, a, b);
}

void readAlpha(double *alpha) {
  std::FILE *f = openInputFile("alpha1");
  if (!f) fatalExit(kExitNoAlphaFile, "Error: can not open alpha1 file\n");
  for (int n = 0; n < kHeaderSearch; ++n) {
    const int ch = std::fgetc(f);
    if (ch == '>' || ch == EOF) break;
  }
  int count = 0;
  if (std::fscanf(f, "\n%d\n", &count) != 1) endRead(f, kExitAlphaCount, "Error in reading number of cells from alpha 1 file\n");
  if (count != NoCells) {
    endRead(f, kExitAlphaCount, "Error in reading alpha 1 file: number of cells is %d, not %d\n", count, NoCells);
  }
  if (std::fscanf(f, "(\n") != 0) endRead(f, kExitAlphaValue, "Error in reading alpha 1 file at cell no. %d\n", 1);
  for (int c = 1; c <= count; ++c) {
    if (std::fscanf(f, "%lf\n", &alpha[c]) != 1 || !std::isfinite(alpha[c])) {
      endRead(f, kExitAlphaValue, "Error in reading alpha 1 file at cell no. %d\n", c);
    }
  }
  std::fclose(f);
}

// The height where the fraction falls through 0.5 between two cells of the
// column, interpolated between their centres; the present level when the
// column is water to its top, the bed when its bottom cell is air.
double columnLevel(const double *alpha, int i, int j) {
  const int c = static_cast<int>(zval[i][j][0]);
  double level = zval[i][j][znumber];
  if (c <= 0) return level;
  if (alpha[c] < 0.5) return zval[i][j][1];
  for (int k = c; Ccellt[k] > 0; k = Ccellt[k]) {
    const int up = Ccellt[k];
    if (alpha[k] > 0.5 && alpha[up] < 0.5) {
      const double t = (alpha[k] - 0.5) / (alpha[k] - alpha[up]);
      return (1.0 - t) * Czcenter[k] + t * Czcenter[up];
    }
  }
  return level;
}

// Grid-point levels of block 1 from the column levels in the second slot.
void pointLevels(const GridBlock &b) {
  const int top = znumber, col = znumber + 1;
  auto c = [col](int i, int j) { return zval[i][j][col]; };
  if (b.i1 < b.i2) {
    if (b.j1 < b.j2) {
      for (int i = b.i1; i < b.i2; ++i)
        for (int j = b.j1; j < b.j2; ++j) zval[i][j][top] = 0.25 * (c(i, j) + c(i + 1, j) + c(i, j + 1) + c(i + 1, j + 1));
    }
    for (int i = b.i1; i < b.i2; ++i) {
      zval[i][b.j1 - 1][top] = 0.5 * (c(i, b.j1) + c(i + 1, b.j1));
      zval[i][b.j2][top] = 0.5 * (c(i, b.j2) + c(i + 1, b.j2));
    }
  }
  for (int j = b.j1; j < b.j2; ++j) {
    zval[b.i1 - 1][j][top] = 0.5 * (c(b.i1, j) + c(b.i1, j + 1));
    zval[b.i2][j][top] = 0.5 * (c(b.i2, j) + c(b.i2, j + 1));
  }
  const double sw = c(b.i1, b.j1), se = c(b.i2, b.j1), nw = c(b.i1, b.j2), ne = c(b.i2, b.j2);
  zval[b.i1 - 1][b.j1 - 1][top] = sw;
  zval[b.i2][b.j1 - 1][top] = se;
  zval[b.i1 - 1][b.j2][top] = nw;
  zval[b.i2][b.j2][top] = ne;
  for (int i = b.i1 - 1; i <= b.i2; ++i)
    for (int j = b.j1 - 1; j <= b.j2; ++j) zval[i][j][col] = zval[i][j][top];
}

}  // namespace

void OpenFOAM_MakeSurface() {
  double *alpha = Cconc[0];
  readAlpha(alpha);
  const GridBlock &b = block[1];
  for (int i = b.i1; i <= b.i2; ++i)
    for (int j = b.j1; j <= b.j2; ++j) zval[i][j][znumber + 1] = columnLevel(alpha, i, j);
  if (OpenFOAMprintI > 0) {
    logPrintf("water level alpha1(%d,%d): %lf\n", OpenFOAMprintI, OpenFOAMprintJ,
              zval[OpenFOAMprintI][OpenFOAMprintJ][znumber + 1]);
    return;
  }
  pointLevels(b);
}
