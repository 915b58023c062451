// Carries the fields of a transient run from the previous grid to a
// regenerated one, water column by water column, fills the columns that have
// just become wet from their wet neighbours, sets the mud layer's fields and
// makes the new fields the previous ones. Writes the cell fields, their _old
// copies, Cthixolev, Cthixorat, Bcelltt_old and BplasticDeposits.
#include <algorithm>
#include <cmath>
#include <vector>

#include "grid/grid_services.h"
#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/control_tables.h"
#include "model/grid_index.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"
#include "base/exit_codes.h"
#include "base/log.h"

namespace {

// A cell holds a value when its pressure is not zero.
constexpr double kNoValue = 1e-8;
constexpr double kWaterWeight = 9810.0;  // N/m3

// The seven fields carried cell by cell, current and previous.
constexpr int kFields = 7;
double **current(double *out[kFields]) {
  double *const now[kFields] = {Cxvel, Cyvel, Czvel, Cpres, Ckinen, Cepsilon, CinvAp};
  std::copy(now, now + kFields, out);
  return out;
}
double **previous(double *out[kFields]) {
  double *const old[kFields] = {Cxvel_old, Cyvel_old, Czvel_old, Cpres_old, Ckinen_old, Cepsilon_old, CinvAp_old};
  std::copy(old, old + kFields, out);
  return out;
}
bool isVelocity(int f) { return f < 3; }

// Marks of the newly wet columns that a sweep has set, sized once.
std::vector<char> columnSet;

bool newlyWet(int b) { return Bnocells_old[b] == 0 && Bnocells[b] > 0; }

double oldField(double *const old[kFields], int f, int c) { return old[f] ? old[f][c] : 0.0; }

// ---- Step 2: the columns that were wet before ----

void copyCell(int to, int from, double s, double r) {
  double *now[kFields], *old[kFields];
  current(now);
  previous(old);
  for (int f = 0; f < kFields; ++f) {
    if (now[f]) now[f][to] = oldField(old, f, from) * (isVelocity(f) ? s : 1.0);
  }
  for (int l = 1; l <= lnumber; ++l) Cconc[l][to] = Cconc_old[l][from] * r;
}

// w times the old cell j-1 plus (1 - w) times the old cell j.
void blendCell(int to, int j, double w) {
  double *now[kFields], *old[kFields];
  current(now);
  previous(old);
  for (int f = 0; f < kFields; ++f) {
    if (now[f]) now[f][to] = w * oldField(old, f, j - 1) + (1.0 - w) * oldField(old, f, j);
  }
  for (int l = 1; l <= lnumber; ++l) Cconc[l][to] = w * Cconc_old[l][j - 1] + (1.0 - w) * Cconc_old[l][j];
}

void meanOfColumn(int to, int ob, int m, double s, double r) {
  double *now[kFields], *old[kFields];
  current(now);
  previous(old);
  for (int f = 0; f < kFields; ++f) {
    if (!now[f]) continue;
    double sum = 0.0;
    for (int k = 0; k < m; ++k) sum += oldField(old, f, ob + k);
    now[f][to] = sum * s / m;
  }
  for (int l = 1; l <= lnumber; ++l) {
    double sum = 0.0;
    for (int k = 0; k < m; ++k) sum += Cconc_old[l][ob + k];
    Cconc[l][to] = sum * s / m * r;
  }
}

// The old cell pair for interior cell k of n by centre level.
void pairByLevel(int nb, int ob, int m, int k, int &j, double &w) {
  const double z = Czcenter[nb + k];
  j = ob + m - 1;
  for (int t = ob + 1; t <= ob + m - 1; ++t) {
    if (Czcenter_old[t] > z) {
      j = t;
      break;
    }
  }
  const double step = Czcenter_old[j] - Czcenter_old[j - 1];
  w = step != 0.0 ? std::clamp((Czcenter_old[j] - z) / step, 0.0, 1.0) : 0.0;
}

void pairByIndex(int ob, int m, int n, int k, int &j, double &w) {
  const double p = std::clamp((k + 1.0) * m / n, 1.0, m - 1.0);
  const int i = static_cast<int>(p);
  j = ob + i;
  w = 1.0 - (p - i);
}

void pairKeepingMass(int ob, int m, int n, int k, int &j, double &w) {
  const double p = (k + 0.5) * m / n + 0.5;
  const int i = std::clamp(static_cast<int>(p), 1, m - 1);
  j = ob + i;
  w = 1.0 - std::clamp(p - i, 0.0, 1.0);
}

// Each size's sediment volume in the column stays what it was.
void keepMass(int nb, int n, int ob, int m) {
  if (!Ckdist_old) return;
  for (int l = 1; l <= lnumber; ++l) {
    double before = 0.0, after = 0.0;
    for (int k = 0; k < m; ++k) before += Cconc_old[l][ob + k] * Ckdist_old[ob + k];
    for (int k = 0; k < n; ++k) after += Cconc[l][nb + k] * Ckdist[nb + k];
    const double factor = before / (after + 1e-30);
    for (int k = 0; k < n; ++k) Cconc[l][nb + k] *= factor;
  }
}

// The method of F 147 second value; one outside 0..2 is taken as 1.
int interiorMethod() {
  static bool warned = false;
  if (ExtrapAlgo1 >= 0 && ExtrapAlgo1 <= 2) {
    if (ExtrapAlgo1 == 0 && !Czcenter_old) return 1;
    return ExtrapAlgo1;
  }
  if (!warned) {
    logPrintf("Warning: the second value of F 147 is %d; the fields are carried by relative index as with 1\n",
              ExtrapAlgo1);
    warned = true;
  }
  return 1;
}

// A column whose cell count changed: its end cells keep the old end cells,
// the cells between take two adjacent old cells by the method of F 147.
void stretchColumn(int nb, int n, int ob, int m, int method) {
  copyCell(nb, ob, 1.0, 1.0);
  copyCell(nb + n - 1, ob + m - 1, 1.0, 1.0);
  for (int k = 1; k <= n - 2; ++k) {
    int j;
    double w;
    if (method == 0) {
      pairByLevel(nb, ob, m, k, j, w);
    } else if (method == 1) {
      pairByIndex(ob, m, n, k, j, w);
    } else {
      pairKeepingMass(ob, m, n, k, j, w);
    }
    blendCell(nb + k, j, w);
  }
  if (method == 2) keepMass(nb, n, ob, m);
}

void transferColumns() {
  const int method = interiorMethod();
  for (int b = 1; b <= NoBCells; ++b) {
    const int n = Bnocells[b], m = Bnocells_old[b];
    if (n <= 0 || m <= 0) continue;
    const int nb = Bcellt[b], ob = Bcellt_old[b];
    const double r = std::max(Bdepth_old[b], 0.001) / (Bdepth[b] + 1e-20);
    const double s = FlagScaleInterpol == 1 ? std::min(r, 1.0) : 1.0;
    if (m == n) {
      for (int k = 0; k < n; ++k) copyCell(nb + k, ob + k, s, r);
    } else if (m == 1) {
      for (int k = 0; k < n; ++k) copyCell(nb + k, ob, s, r);
    } else if (n == 1) {
      meanOfColumn(nb, ob, m, s, r);
    } else {
      stretchColumn(nb, n, ob, m, method);
    }
  }
}

// ---- Step 3: the newly wet columns ----

// Sums of the values of the contributing neighbours of one bottom cell.
struct Contribution {
  double sum[kFields] = {};
  int count = 0;
  void add(double *const field[kFields], int c) {
    for (int f = 0; f < kFields; ++f) sum[f] += field[f] ? field[f][c] : 0.0;
    ++count;
  }
};

// The bottom cell c takes the mean pressure, CinvAp, k and epsilon of its
// contributors (k and epsilon relaxed) and the relaxed sum of their velocities.
void setFromNeighbours(int c, const Contribution &n) {
  double *now[kFields];
  current(now);
  const double mean = 1.0 / n.count;
  const double factor[kFields] = {ExtrapRelVel, ExtrapRelVel, ExtrapRelVel, mean, ExtrapRelK * mean,
                                  ExtrapRelE * mean, mean};
  for (int f = 0; f < kFields; ++f) {
    if (now[f]) now[f][c] = n.sum[f] * factor[f];
  }
}

// Concentrations start at 0 in a newly wet column; its upper cells take the
// bottom cell's values.
void fillColumn(int b) {
  double *now[kFields];
  current(now);
  const int c = Bcellt[b], n = Bnocells[b];
  for (int l = 0; l <= lnumber; ++l) {
    for (int k = 0; k < n; ++k) Cconc[l][c + k] = 0.0;
  }
  for (int k = 1; k < n; ++k) {
    for (int f = 0; f < kFields; ++f) {
      if (now[f]) now[f][c + k] = now[f][c];
    }
  }
}

void clearNewlyWet(bool allFields) {
  double *now[kFields];
  current(now);
  for (int b = 1; b <= NoBCells; ++b) {
    if (!newlyWet(b)) continue;
    for (int k = 0; k < Bnocells[b]; ++k) {
      const int c = Bcellt[b] + k;
      for (int f = 0; f < kFields; ++f) {
        if (now[f] && (allFields || f == 3)) now[f][c] = 0.0;
      }
    }
  }
}

bool holdsValue(int c) { return c > 0 && std::fabs(Cpres[c]) > kNoValue; }

// The bottom cells of the four columns beside column b.
void besideColumns(int b, int out[4]) {
  const int i = Bkooi[b], j = Bkooj[b];
  out[0] = static_cast<int>(zval[i + 1][j][0]);
  out[1] = static_cast<int>(zval[i - 1][j][0]);
  out[2] = static_cast<int>(zval[i][j + 1][0]);
  out[3] = static_cast<int>(zval[i][j - 1][0]);
}

// One pass over the newly wet columns not yet set: true when it set one.
bool sweepNewlyWet(int b, bool byColumns) {
  if (!newlyWet(b) || columnSet[b]) return false;
  const int c = Bcellt[b];
  int beside[4];
  if (byColumns) {
    besideColumns(b, beside);
  } else {
    beside[0] = Ccelle[c];
    beside[1] = Ccellw[c];
    beside[2] = Ccells[c];
    beside[3] = Ccelln[c];
  }
  double *now[kFields];
  current(now);
  Contribution n;
  for (const int d : beside) {
    if (holdsValue(d)) n.add(now, d);
  }
  if (n.count == 0) return false;
  setFromNeighbours(c, n);
  columnSet[b] = 1;
  return true;
}

void sweepColumns(bool byColumns) {
  std::fill(columnSet.begin(), columnSet.begin() + NoBCells + 1, 0);
  for (int s = 0; s < ExtrapIter; ++s) {
    bool set = false;
    for (int b = 1; b <= NoBCells; ++b) set |= sweepNewlyWet(b, byColumns);
    for (int b = NoBCells; b >= 1; --b) set |= sweepNewlyWet(b, byColumns);
    if (!set) break;
  }
}

// The pressure of the nearest column of the same cross-section that was wet
// before, searched towards the middle of block 1.
void crossSectionPressure() {
  if (Iter <= 0 || NoBlocks < 1) return;
  const GridBlock &blk = block[1];
  for (int i = blk.i1; i <= blk.i2; ++i) {
    for (int j = blk.j1; j <= blk.j2; ++j) {
      const int b = pointbed[i][j];
      if (b <= 0 || !newlyWet(b)) continue;
      const bool down = j > blk.j2 / 2 + 1;
      for (int t = down ? j - 1 : j + 1; down ? t >= blk.j1 : t <= blk.j2; t += down ? -1 : 1) {
        const int nb = pointbed[i][t];
        if (nb > 0 && Bnocells_old[nb] > 0) {
          Cpres[Bcellt[b]] = Cpres[Bcellt[nb]];
          break;
        }
      }
    }
  }
}

// A newly wet column left without a value starts at rest under the mean
// pressure of its cross-section.
void crossSectionMean() {
  if (NoBlocks < 1) return;
  const GridBlock &blk = block[1];
  for (int i = blk.i1; i <= blk.i2; ++i) {
    double sum = 0.0;
    int count = 0;
    for (int j = blk.j1; j <= blk.j2; ++j) {
      const int c = static_cast<int>(zval[i][j][0]);
      if (holdsValue(c)) {
        sum += Cpres[c];
        ++count;
      }
    }
    for (int j = blk.j1; j <= blk.j2; ++j) {
      const int b = pointbed[i][j];
      if (b <= 0 || !newlyWet(b) || holdsValue(Bcellt[b])) continue;
      const int c = Bcellt[b];
      for (double *f : {Cxvel, Cyvel, Czvel, Ckinen, Cepsilon}) f[c] = 0.0;
      if (count > 0) Cpres[c] = sum / count;
    }
  }
}

void fillNewlyWetColumns() {
  for (int b = 1; b <= NoBCells; ++b) {
    if (newlyWet(b)) fillColumn(b);
  }
}

// A neighbour column across side `side` of bottom cell c gives the previous
// grid's values of its previous bottom cell when it was wet before; with
// F 147 third value 1, from the second sweep on, a column dry before gives
// what its new bottom cell holds by now.
bool addOldNeighbour(Contribution &n, int nb, int side, int sweep) {
  if (nb <= 0 || Bcellt[nb] <= 0 || side == 0) return false;
  double *old[kFields], *now[kFields];
  previous(old);
  current(now);
  if (Bnocells_old[nb] > 0) {
    n.add(old, Bcellt_old[nb]);
    return true;
  }
  if (ExtrapAlgo2 == 1 && sweep >= 1 && holdsValue(Bcellt[nb])) {
    n.add(now, Bcellt[nb]);
    return true;
  }
  return false;
}

}  // namespace

void WettingExtrapolation1() {
  clearNewlyWet(false);
  for (int s = 0; s < ExtrapIter; ++s) {
    for (int b = 1; b <= NoBCells; ++b) {
      if (!newlyWet(b)) continue;
      const int i = Bkooi[b], j = Bkooj[b], c = Bcellt[b];
      Contribution n;
      addOldNeighbour(n, pointbed[i + 1][j], Ccelle[c], s);
      addOldNeighbour(n, pointbed[i - 1][j], Ccellw[c], s);
      addOldNeighbour(n, pointbed[i][j + 1], Ccelln[c], s);
      addOldNeighbour(n, pointbed[i][j - 1], Ccells[c], s);
      if (n.count == 0) continue;
      setFromNeighbours(c, n);
      fillColumn(b);
    }
  }
}

void WettingExtrapolation2() {
  Bnocells_old[0] = 0;
  clearNewlyWet(true);
  if (ExtrapAlgo2 == 4) crossSectionPressure();
  sweepColumns(false);
  if (ExtrapAlgo2 == 3) crossSectionPressure();
  fillNewlyWetColumns();
}

void WettingExtrapolation5() {
  Bnocells_old[0] = 0;
  clearNewlyWet(true);
  sweepColumns(true);
  crossSectionMean();
  fillNewlyWetColumns();
}

namespace {

const char *kF147Hint = "The problem could be due to the choise on the F 147 data set in the control file.\n";

void logColumnState(int b, int i, int j) {
  logPrintf("Iter %d, Grid no. [%d,%d]\n", Iter, i, j);
  logPrintf("Bcellt_old(%d) = %d, Bnocells_old = %d, Bnocells = %d\n", b, Bcellt_old[b], Bnocells_old[b],
            Bnocells[b]);
}

double oldPressure(int c) { return c > 0 && Cpres_old ? Cpres_old[c] : 0.0; }

void reportMissingPressure(int b, int i, int j, int c) {
  logText("Error in extrapolation, non-interpolated pressure\n");
  if (ExtrapAlgo2 < 2) logText(kF147Hint);
  logPrintf("BCell = %d, pointbed = %d, Cellno = %d\n", b, pointbed[i][j], c);
  if (Bponds) logPrintf("Bponds = %d\n", Bponds[b]);
  logPrintf("Pres = %lf, Pres_old = %lf\n", Cpres[c], oldPressure(c));
  logColumnState(b, i, j);
  const char *names[4] = {"n", "s", "e", "w"};
  const int cols[4] = {pointbed[i][j + 1], pointbed[i][j - 1], pointbed[i + 1][j], pointbed[i - 1][j]};
  const int cells[4] = {Ccelln[c], Ccells[c], Ccelle[c], Ccellw[c]};
  for (int s = 0; s < 4; ++s) {
    const int ob = cols[s] > 0 ? Bcellt_old[cols[s]] : 0;
    logPrintf("Ccell%s, Bcellt_old, Pres_old, Pres, %s = %d, %d, %lf %lf\n", names[s], names[s], cells[s], ob,
              oldPressure(ob), Cpres[cells[s]]);
  }
  logText("\n");
}

// The pressure gradient to the neighbour across one side, against F 490.
void testGradient(int b, int i, int j, int c, int d, double distance, const char *side, const char *tag, int nbcol) {
  if (d <= 0) return;
  const double g = 1e-4 * std::fabs(Cpres[c] - Cpres[d]) / distance;
  if (g <= PressureTestFactor) return;
  logPrintf("Warning in extrapolation, too high pressure gradients-%s\n", side);
  if (ExtrapAlgo2 < 2) logText(kF147Hint);
  logPrintf("BCell = %d, pointbed = %d, Cellno = %d, grad = %lf\n", b, pointbed[i][j], c, g);
  logPrintf("Pres = %lf, Pres_old = %lf, Pres_%s = %lf\n", Cpres[c], oldPressure(c), tag, Cpres[d]);
  logColumnState(b, i, j);
  const int ob = nbcol > 0 ? Bcellt_old[nbcol] : 0;
  logPrintf("Bcellt_old, Pres_old, %s = %d, %lf\n", tag, ob, oldPressure(ob));
  logText("\n");
}

}  // namespace

// With F 1 D: the newly wet columns that got no pressure, and the pressure
// jumps the extrapolation made; nothing is changed.
void PressureTest() {
  if (debugging != 'D') return;
  const int exempt = (FlagThixo > 0 && IONo == 0 && NoBlocks >= 2) ? block[2].FirstBedCell : 0;
  for (int b = 1; b <= NoBCells; ++b) {
    if (b < exempt || Bcellt_old[b] != 0) continue;
    const int c = Bcellt[b], i = Bkooi[b], j = Bkooj[b];
    if (c <= 0) continue;
    if (std::fabs(Cpres[c]) < kNoValue) reportMissingPressure(b, i, j, c);
    testGradient(b, i, j, c, Ccells[c], Cjdist[c] + Cjdist[std::max(Ccells[c], 0)], "south", "s", pointbed[i][j - 1]);
    testGradient(b, i, j, c, Ccelln[c], Cjdist[c] + Cjdist[std::max(Ccelln[c], 0)], "north", "n", pointbed[i][j + 1]);
    testGradient(b, i, j, c, Ccelle[c], Cidist[c] + Cidist[std::max(Ccelle[c], 0)], "east", "e", pointbed[i + 1][j]);
    testGradient(b, i, j, c, Ccellw[c], Cidist[c] + Cidist[std::max(Ccellw[c], 0)], "west", "w", pointbed[i - 1][j]);
  }
}

void extrapolateCore() {}

namespace {

// ---- Step 5: the mud layer ----

void markMobileCells() {
  if (Iter <= 0 || !Bthixolev || !Cthixolev) return;
  for (int n = 1; n <= NoBlocks; ++n) {
    const GridBlock &blk = block[n];
    if (blk.LayerMark <= 0) continue;
    for (int i = blk.i1; i <= blk.i2; ++i) {
      for (int j = blk.j1; j <= blk.j2; ++j) {
        const double level = Bthixolev[pointbed[i][j]];
        for (int c = static_cast<int>(zval[i][j][0]); c > 0; c = Ccellt[c]) {
          const bool mobile = Czcenter[c] > level;
          Cthixolev[c] = mobile ? TransInnerIter / 2 : -2;
          Cthixorat[c] = mobile ? 1.2 : 0.0;
        }
      }
    }
  }
}

// Hydrostatic pressure down a stack of cells from the top of cell `top`.
void hydrostaticDown(int top) {
  double depth = 0.0;
  for (int c = top; c > 0; c = Ccellb[c]) {
    depth += Ckdist[c];
    Cpres[c] = kWaterWeight * depth;
    depth += Ckdist[c];
  }
}

void layerPressure() {
  if (NoBlocks < 2 || block[NoBlocks].LayerMark <= 0) return;
  const int first = block[2].FirstCell, last = block[NoBlocks].LastCell, lastFirst = block[NoBlocks].FirstCell;
  for (int c = first; c <= last; ++c) {
    if (Ccellt[c] < lastFirst) hydrostaticDown(c);
  }
}

void slideLayerFields() {
  if (FlagThixo <= 1 || FlagUnstrucThixo <= 0 || NoBlocks < 2 || !Bcelltt_old) return;
  const GridBlock &blk = block[2];
  for (int b = blk.FirstBedCell; b <= blk.LastBedCell; ++b) {
    const int n = Bnocells[b];
    if (n < 2) continue;
    const int bottom = Bcellt[b], c2 = Ccellt[bottom];
    const int ot = Bcelltt_old[b], m = Bnocells_old[b];
    if (n == m) {
      for (int k = 0; k < n - 1; ++k) {
        Cxvel[c2 + k] = Cxvel_old[ot + k];
        Cyvel[c2 + k] = Cyvel_old[ot + k];
        Czvel[c2 + k] = Czvel_old[ot + k];
        Cpres[c2 + k] = Cpres_old[ot + k];
      }
    } else if (ot > 1) {
      double height = 0.0, u = 0.0, v = 0.0, w = 0.0;
      for (int c = ot; c <= ot + m - 2; ++c) {
        height += Ckdist[c];
        u += Cxvel_old[c];
        v += Cyvel_old[c];
        w += Czvel_old[c];
      }
      if (std::isnan(2.0 * height)) fatalExit(kExitExtrapolation, "Error in extrapolation, AAA\n\n");
      const double share = m >= 2 ? 1.0 / (m - 1) : 0.0;
      for (int k = 0; k < n - 1; ++k) {
        Cxvel[c2 + k] = u * share;
        Cyvel[c2 + k] = v * share;
        Czvel[c2 + k] = w * share;
      }
      Cxvel[bottom] = Cyvel[bottom] = Czvel[bottom] = 0.0;
    } else {
      double depth = 0.0;
      for (int c = c2 + n - 2; c >= c2; --c) {
        depth += Ckdist[c];
        Cpres[c] = kWaterWeight * depth;
        depth += Ckdist[c];
      }
      depth += Ckdist[bottom];
      Cpres[bottom] = kWaterWeight * depth;
      for (int k = 0; k < n; ++k) {
        const int c = k == 0 ? bottom : c2 + k - 1;
        Cxvel[c] = Cyvel[c] = Czvel[c] = 0.0;
      }
    }
  }
}

// ---- Step 6: plastics of the columns that fell dry ----

void bookPlastics() {
  if (!BplasticDeposits) return;
  for (int b = 1; b <= NoBCells; ++b) {
    const int ob = Bcellt_old[b];
    if (ob < 1 || Bcellt[b] != 0) continue;
    const double h = Ckdist_old ? Ckdist_old[ob] : Bdepth_old[b] / (2.0 * std::max(Bnocells_old[b], 1));
    for (int l = 1; l <= lnumber; ++l) BplasticDeposits[l][b] += 2.0 * Cconc_old[l][ob] * h * density * 1000.0;
  }
}

// ---- Steps 7 to 9 ----

void keepAsPrevious() {
  for (int c = 1; c <= NoCells; ++c) {
    double sum = 0.0;
    for (int l = 1; l <= lnumber; ++l) {
      sum += Cconc[l][c];
      Cconc_old[l][c] = Cconc[l][c];
    }
    Cconc[0][c] = sum;
  }
  std::copy(Cxvel + 1, Cxvel + NoCells + 1, Cxvel_old + 1);
  std::copy(Cyvel + 1, Cyvel + NoCells + 1, Cyvel_old + 1);
  std::copy(Czvel + 1, Czvel + NoCells + 1, Czvel_old + 1);
  std::copy(Cpres + 1, Cpres + NoCells + 1, Cpres_old + 1);
  std::copy(Ckinen + 1, Ckinen + NoCells + 1, Ckinen_old + 1);
  std::copy(Cepsilon + 1, Cepsilon + NoCells + 1, Cepsilon_old + 1);
}

void slideTopsOld() {
  if (FlagUnstrucThixo <= 0 || NoBCells <= 0 || NoBlocks < 2 || block[2].LastBedCell <= 1 || !Bcelltt_old) return;
  std::fill(Bcelltt_old + block[1].FirstBedCell, Bcelltt_old + block[1].LastBedCell + 1, 0);
  for (int b = block[2].FirstBedCell; b <= block[2].LastBedCell; ++b) Bcelltt_old[b] = Ccellt[Bcellt_old[b]];
}

void checkConcentrations() {
  for (int l = 0; l <= lnumber; ++l) {
    for (int c = 1; c <= NoCells; ++c) {
      const double v = Cconc[l][c];
      if (v > 1.0 || v < 0.0) logPrintf("Error in extrapolation of concentrations, Cconc[%d][%d] = %lf\n", l, c, v);
    }
  }
}

void clearTargets() {
  for (int l = 1; l <= lnumber; ++l) std::fill(Cconc[l] + 1, Cconc[l] + NoCells + 1, 0.0);
  if (Cthixorat && Cthixolev) {
    std::fill(Cthixolev + 1, Cthixolev + NoCells + 1, 0);
    std::fill(Cthixorat + 1, Cthixorat + NoCells + 1, 0.0);
  }
}

}  // namespace

void InterpolateGrid() {
  if (FlagNeedsToBeInterpolated == 0 || !Cxvel_old || !Bnocells_old) return;
  if (columnSet.empty()) columnSet.assign(static_cast<std::size_t>(bedCellCapacity()) + 1, 0);
  clearTargets();
  transferColumns();
  if (ExtrapAlgo2 >= 2 && ExtrapAlgo2 <= 4) {
    WettingExtrapolation2();
  } else if (ExtrapAlgo2 == 5) {
    WettingExtrapolation5();
  } else {
    WettingExtrapolation1();
  }
  if (Iter > 2 && FlagPressureTest == 1) PressureTest();
  if (FlagThixo > 0) {
    markMobileCells();
    layerPressure();
    slideLayerFields();
  }
  if (FlagPlastics > 0) bookPlastics();
  keepAsPrevious();
  slideTopsOld();
  if (debugging == 'D') checkConcentrations();
}
