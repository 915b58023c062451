// Grid level update: the column values of a solved level equation become new
// water levels of the grid points, as the mean of the (up to four) wet
// columns around each point. Writes zval[i][j][znumber] and the second level
// slot, Surfaces plane 4.
#include "surface/steady/grid_level_update.h"

#include <algorithm>
#include <cmath>

#include "files/restart/restart_file.h"
#include "files/visualisation/visualisation.h"
#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"
#include "base/exit_codes.h"
#include "base/log.h"
#include "surface/surface_columns.h"

namespace {

int bottomCellAt(int i, int j) { return static_cast<int>(zval[i][j][0]); }

// The columns around grid point (i, j): a (i, j), b (i, j + 1),
// c (i + 1, j + 1), d (i + 1, j), as bottom cells. A dry one is taken from
// the neighbours of the wet ones, each step on the values found so far, so
// that a point on the edge of the wet area still averages what is near.
struct PointColumns {
  int cell[4];  // a, b, c, d
  int present;
};

bool findColumns(int i, int j, PointColumns &p) {
  int a = bottomCellAt(i, j), b = bottomCellAt(i, j + 1), c = bottomCellAt(i + 1, j + 1), d = bottomCellAt(i + 1, j);
  if (a + b + c + d <= 0) return false;
  if (a == 0) {
    if (b > 0 && Ccells[b] != 0) {
      a = Ccells[b];
    } else if (d > 0) {
      a = Ccellw[d];
    }
  }
  if (b == 0) {
    if (a > 0) b = Ccelln[a];
    if (b == 0 && c > 0) b = Ccellw[c];
  }
  if (c == 0) {
    if (b > 0) c = Ccelle[b];
    if (c == 0 && d > 0) c = Ccelln[d];
  }
  if (d == 0) {
    if (a > 0) d = Ccelle[a];
    if (d == 0 && c > 0) d = Ccells[c];
  }
  p.cell[0] = a;
  p.cell[1] = b;
  p.cell[2] = c;
  p.cell[3] = d;
  p.present = (a != 0) + (b != 0) + (c != 0) + (d != 0);
  return true;
}

[[noreturn]] void badColumnSum(int i, int j, const PointColumns &p, double sum) {
  logPrintf("Error in surface update. index = %d, pres = %lf\n", p.present, sum);
  logPrintf("Location i=%d, j=%d, zval[0] = %d, %d, %d, %d\n", i, j, bottomCellAt(i, j), bottomCellAt(i + 1, j),
            bottomCellAt(i + 1, j + 1), bottomCellAt(i, j + 1));
  logPrintf("Cpres[i1-4] = %lf %lf %lf %lf\n", Cpres[p.cell[0]], Cpres[p.cell[1]], Cpres[p.cell[2]],
            Cpres[p.cell[3]]);
  fatalExit(kExitSurfaceUpdate, nullptr);
}

// F 369 1: a level outside -1000..10000 m is a fault worth a restart file
// and a look at the grid.
void checkLevel(int i, int j) {
  double &z = zval[i][j][znumber];
  if (z >= -1000.0 && z <= 10000.0) return;
  logPrintf("surfaceUpdate: Bug found for z values in grid: (%d,%d), Iter = %d\n", i, j, Iter);
  logPrintf("Z levels: %lf %lf\n", zval[i][j][1], z);
  if (std::isnan(z)) z = 1000.0;
  WriteAllData();
  print_paraview3d(1);
  fatalExit(kExitUnreadable, nullptr);
}

// The Froude number that damps a lowering: the mean over the point's
// columns (a missing one reads bed cell 0, which holds 0).
double meanFroude(const PointColumns &p, double count) {
  double sum = 0.0;
  for (int x : p.cell) sum += BFroude[Cbed[x]];
  return sum / count;
}

double dampFactor(double Fr) {
  if (FlagFroudeDamp == 1) return std::max(1.0 - Fr, 0.0001);
  if (FlagFroudeDamp == 2) return std::max(0.5 - Fr, 0.001);
  return 1.0;
}

// F 36 9: the columns' levels already sum to the column heights below their
// top cells within 0.1 %: nothing moves.
bool levelsSettled() {
  double levels = 0.0, heights = 0.0;
  for (int b = 1; b <= NoBlocks; ++b) {
    if (!treated(b)) continue;
    const GridBlock &blk = block[b];
    for (int i = blk.i1; i <= blk.i2; ++i) {
      for (int j = blk.j1; j <= blk.j2; ++j) {
        const int c = bottomCellAt(i, j);
        if (c <= 0) continue;
        levels += Cf[c];
        for (int k = c; Ccellt[k] > 0; k = Ccellt[k]) heights += 2.0 * Ckdist[k];
      }
    }
  }
  return levels + heights > 0.0 && std::fabs(levels - heights) / (levels + heights) < 0.001;
}

void moveTo(int i, int j, double z) {
  zval[i][j][znumber] = z;
  Surfaces[4][i][j] = z - zval[i][j][znumber + 1];
  zval[i][j][znumber + 1] = z;
}

void raise(int i, int j, double z) {
  zval[i][j][znumber] = z;
  zval[i][j][znumber + 1] = z;
}

double depthAt(int i, int j) { return zval[i][j][znumber] - zval[i][j][1]; }

// F 229 1: a wet column whose top-cell flow leaves across a side towards a
// dry column lifts that side's points towards the level at which friction
// would carry the flow over one cell length.
void preventDivFriction(int i, int j) {
  const int t = [&] {
    int c = bottomCellAt(i, j);
    while (Ccellt[c] > 0) c = Ccellt[c];
    return c;
  }();
  const double u = Cxvel[t], v = Cyvel[t];
  const double s = std::sqrt(u * u + v * v);
  struct Side {
    int di, dj, face;
    double length;
    bool upper;  // the flow must point out along +x or +y
    int pi1, pj1, pi2, pj2;
  };
  const Side sides[4] = {
      {-1, 0, Cflatew[t], Cidist[t], false, i - 1, j - 1, i - 1, j},
      {0, -1, Cflates[t], Cjdist[t], false, i - 1, j - 1, i, j - 1},
      {1, 0, Cflatee[t], Cidist[t], true, i, j - 1, i, j},
      {0, 1, Cflaten[t], Cjdist[t], true, i - 1, j, i, j},
  };
  for (const Side &side : sides) {
    if (bottomCellAt(i + side.di, j + side.dj) != 0) continue;
    const double q = (u * Fvx[side.face] + v * Fvy[side.face]) / (s + 1e-20);
    if (side.upper ? !(q > 0.5) : !(q < -0.5)) continue;
    const double R = 2.0 * Ckdist[t];
    const double A = std::pow(std::pow(R, 0.666667) * ManningInit / (s + 1e-20) + 1e-20, 2.0);
    const double L = side.length;
    const double target = Czcenter[t] + Ckdist[t] - L / A;
    const double K = TimeStep * s / L;
    const double f = K <= 1.0 ? std::fabs(q) * K : std::fabs(q);
    for (const auto &[pi, pj] : {std::pair{side.pi1, side.pj1}, std::pair{side.pi2, side.pj2}}) {
      const double z = zval[pi][pj][znumber];
      raise(pi, pj, z + f * std::max(0.0, target - z));
    }
  }
}

// F 229 2: a fast column shallower than the minimum depth, between two dry
// neighbours across the flow, is lifted to that depth.
void preventDivDepth(int i, int j) {
  const int c = bottomCellAt(i, j);
  if (!(BFroude[Cbed[c]] > 0.1)) return;
  const double dmax = std::max({depthAt(i, j), depthAt(i - 1, j), depthAt(i - 1, j - 1), depthAt(i, j - 1)});
  if (!(dmax < MinVertDist0)) return;
  const double u = Cxvel[c], v = Cyvel[c];
  const double speed = std::sqrt(u * u + v * v + 1e-20);
  auto liftAll = [&](double dh) {
    for (const auto &[pi, pj] : {std::pair{i, j}, std::pair{i - 1, j}, std::pair{i - 1, j - 1}, std::pair{i, j - 1}}) {
      raise(pi, pj, zval[pi][pj][znumber] + dh);
    }
  };
  double reference = dmax;
  if (bottomCellAt(i, j + 1) == 0 && bottomCellAt(i, j - 1) == 0) {
    const double nx = Fvx[Cflaten[c]] + Fvx[Cflates[c]], ny = Fvy[Cflaten[c]] + Fvy[Cflates[c]];
    if ((u * nx + v * ny) / speed > 0.5) {
      const double dh = MinVertDist0 - dmax + 1e-5;
      liftAll(dh);
      reference = dh;
    }
  }
  if (bottomCellAt(i + 1, j) == 0 && bottomCellAt(i - 1, j) == 0) {
    const double nx = Fvx[Cflatee[c]] + Fvx[Cflatew[c]], ny = Fvy[Cflatee[c]] + Fvy[Cflatew[c]];
    if ((u * nx + v * ny) / speed > 0.5) liftAll(MinVertDist0 - reference + 1e-5);
  }
}

}  // namespace

void surfaceUpdate(ColumnValue value) {
  Cf[0] = 0.0;
  if (BFroude && Cbed) BFroude[Cbed[0]] = 0.0;
  const bool levels = value == ColumnValue::Level;
  if (levels && levelsSettled()) return;
  Cpres[0] = 0.0;
  const double relax = RelaxSurface * scaleBackwater2;
  const bool damp = FlagFroudeDamp > 0 && BFroude && Cbed;
  for (int b = 1; b <= NoBlocks; ++b) {
    if (!treated(b)) continue;
    const GridBlock &blk = block[b];
    for (int i = blk.i1 - 1; i <= blk.i2; ++i) {
      for (int j = blk.j1 - 1; j <= blk.j2; ++j) {
        PointColumns p;
        if (findColumns(i, j, p)) {
          const double sum = Cf[p.cell[0]] + Cf[p.cell[1]] + Cf[p.cell[2]] + Cf[p.cell[3]];
          if (std::isnan(sum)) badColumnSum(i, j, p, sum);
          const double old = zval[i][j][znumber];
          double z;
          if (!levels) {
            double dz = sum / p.present * relax;
            if (damp && dz < 0.0) dz *= dampFactor(meanFroude(p, p.present + 1e-20));
            z = old + dz;
          } else {
            z = sum / p.present * (1.0 - relaxCasulli) + old * relaxCasulli;
            if (damp && z < old) z = old - (old - z) * dampFactor(meanFroude(p, p.present));
          }
          moveTo(i, j, z);
        }
        if (FlagBugFind == 1) checkLevel(i, j);
      }
    }
  }
  if (FlagFlushWaterLevel == 1 && NoBlocks >= 1) {
    const GridBlock &blk = block[1];
    for (int i = blk.i1 - 1; i <= blk.i2; ++i) {
      for (int j = blk.j1 - 1; j <= blk.j2; ++j) {
        zval[i][j][znumber] = std::max(FlushWaterLevelMin, std::min(FlushWaterLevelMax, zval[i][j][znumber]));
      }
    }
  }
}

void surfaceUpdateDownwind() {
  Cf[0] = 0.0;
  for (int b = 1; b <= NoBlocks; ++b) {
    if (!treated(b)) continue;
    const GridBlock &blk = block[b];
    for (int i = blk.i1 - 1; i <= blk.i2; ++i) {
      for (int j = blk.j1 - 1; j <= blk.j2; ++j) {
        PointColumns p;
        if (!findColumns(i, j, p)) continue;
        const double xp = xval[i][j], yp = yval[i][j];
        double weighted = 0.0, weights = 0.0;
        for (int x : p.cell) {
          if (x == 0) continue;
          double w = (xp - Cxcenter[x]) * Cxvel[x] + (yp - Cycenter[x]) * Cyvel[x];
          w = w > 0.0 ? w + 1e-10 : 1e-10;
          weighted += Cf[x] * w;
          weights += w;
        }
        raise(i, j, zval[i][j][znumber] + RelaxSurface * weighted / (weights + 1e-20));
      }
    }
  }
}

void surfacePreventDiv() {
  if (FlagPreventDiv != 1 && FlagPreventDiv != 2) return;
  for (int b = 1; b <= NoBlocks; ++b) {
    if (!treated(b)) continue;
    const GridBlock &blk = block[b];
    for (int i = blk.i1 + 1; i <= blk.i2 - 1; ++i) {
      for (int j = blk.j1 + 1; j <= blk.j2 - 1; ++j) {
        if (bottomCellAt(i, j) == 0) continue;
        if (FlagPreventDiv == 1) {
          preventDivFriction(i, j);
        } else {
          preventDivDepth(i, j);
        }
      }
    }
  }
}
