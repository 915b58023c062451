// Discharge groups on the boundary faces: the inflow and outflow ends of
// block 1 made into groups 1 and 2 (F 314), and every group's points mapped
// onto the side faces of the current grid. Writes DischargeStruct, Fflagflow, Cinout.
#include "flow/boundaries/discharge_groups.h"

#include <atomic>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "files/file_services.h"
#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/points.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/side_tables.h"
#include "model/structured.h"
#include "model/threads.h"
#include "base/exit_codes.h"
#include "base/log.h"

namespace {

// A group whose discharge is not above this is not mapped (kg/s).
constexpr double kNoDischarge = 1e-20;

// The group levels that reach every cell of a column.
constexpr int kAllLevels = 999;

void appendf(std::string &text, const char *format, ...) __attribute__((format(printf, 2, 3)));
void appendf(std::string &text, const char *format, ...) {
  char line[512];
  va_list args;
  va_start(args, format);
  std::vsnprintf(line, sizeof line, format, args);
  va_end(args);
  text += line;
}

// How the ends of block 1 become a group: the levels taken, whether dry
// segments of the end line are left out, and whether the points of the
// first generation are kept.
struct EndRule {
  int from, to;
  bool wetOnly;
  bool keepPoints;
};

bool upstreamRule(int flag, EndRule &rule) {
  const bool keep = Iter >= 1;
  switch (flag) {
    case 1: rule = {1, kAllLevels, false, false}; return true;
    case 2: rule = {1, kAllLevels, true, false}; return true;
    case 3: rule = {19, 20, true, false}; return true;
    case 4: rule = {1, kAllLevels, true, keep}; return true;
    case 5: rule = {17, 19, true, false}; return true;
    case 6: rule = {1, 36, true, false}; return true;
    case 7: rule = {1, 70, true, false}; return true;
    default:
      if (flag <= 10) return false;
      rule = {flag, flag, false, false};
      return true;
  }
}

bool downstreamRule(int flag, EndRule &rule) {
  switch (flag) {
    case 1: rule = {1, kAllLevels, false, false}; return true;
    case 2: rule = {1, kAllLevels, true, false}; return true;
    case 3: rule = {2, 2, false, false}; return true;
    default: return false;
  }
}

// Where the points of group g came from, for the message when its lists fill up.
const char *pointSource(int g) {
  EndRule rule;
  if ((g == 1 && upstreamRule(FlagGenerateUpFlux, rule)) || (g == 2 && downstreamRule(FlagGenerateDownFlux, rule))) {
    return "F 314";
  }
  return FlagReadAlldata ? "alldata" : "unstruc";
}

[[noreturn]] void faceListFull(int g) {
  fatalPrintf(kExitTableFull, nullptr,
              "Error: more than %d faces for discharge group %d, use fewer points or levels in %s\n", kGroupFaces, g,
              pointSource(g));
}

double depthAt(int i, int j) { return zval[i][j][znumber] - zval[i][j][1]; }

// The points of a generated group: the midpoints of the segments of grid
// line i between the rows j1-1..j2 of block 1, j in order, dry segments left
// out without gaps when only wet ones count.
void endPoints(DischargeGroup &group, int g, int i, bool wetOnly) {
  const GridBlock &b = block[1];
  group.polygonCount = 0;
  for (int j = b.j1; j <= b.j2; ++j) {
    if (wetOnly && depthAt(i, j - 1) + depthAt(i, j) <= MinVertDist0) continue;
    if (group.polygonCount >= kGroupPolygonPoints) {
      fatalPrintf(kExitTableFull, nullptr,
                  "Error: more than %d points for discharge group %d from F 314, block 1 is too wide\n",
                  kGroupPolygonPoints, g);
    }
    group.polygonX[group.polygonCount] = (xval[i][j - 1] + xval[i][j]) * 0.5;
    group.polygonY[group.polygonCount] = (yval[i][j - 1] + yval[i][j]) * 0.5;
    ++group.polygonCount;
  }
}

// Group g from an end of block 1 by its rule, mapped at once.
void generateGroup(int g, const EndRule &rule, int line) {
  DischargeGroup &group = DischargeStruct[g];
  group.type = g == 1 ? 1 : 0;
  // F 263 reaches generated groups here; the file readers apply it to theirs.
  group.boundaryKind = updates[g] >= 0 ? updates[g] : 0;
  if (discharges[g] > 0.0 && group.discharge < kNoDischarge) group.discharge = discharges[g] * 1000.0;
  group.faceCount = 0;
  group.concentration = 0.0;
  group.fromLevel = rule.from;
  group.toLevel = rule.to;
  if (!rule.keepPoints) endPoints(group, g, line, rule.wetOnly);
  InterpolateBoundaryInner2(g);
}

// The face on side s (1 south, 2 east, 3 north, 4 west) of cell c.
int faceOnSide(int c, int side) {
  switch (side) {
    case 1: return Cflates[c];
    case 2: return Cflatee[c];
    case 3: return Cflaten[c];
    default: return Cflatew[c];
  }
}

// The boundary column side nearest to a point: its edge midpoint's distance
// |dx| + |dy|, the side code, the column's bottom cell (0 dry), and the
// acceptance distance of the last block searched.
struct Nearest {
  double distance = 1e10;
  int side = 0;
  int bottom = 0;
  double tolerance = 1e-20;
};

// The tolerance scales with the block's last column: a tenth of the square
// root of twice its plan area (the cross product of its diagonals). A
// left-handed grid gives a negative product; its size still counts.
double blockTolerance(const GridBlock &b) {
  const int i = b.i2, j = b.j2;
  const double d1x = xval[i][j] - xval[i - 1][j - 1], d1y = yval[i][j] - yval[i - 1][j - 1];
  const double d2x = xval[i - 1][j] - xval[i][j - 1], d2y = yval[i - 1][j] - yval[i][j - 1];
  return 0.1 * std::sqrt(std::fabs(d1x * d2y - d2x * d1y));
}

void consider(Nearest &best, double x, double y, int ia, int ja, int ib, int jb, int side, int ic, int jc) {
  const double xm = (xval[ia][ja] + xval[ib][jb]) * 0.5, ym = (yval[ia][ja] + yval[ib][jb]) * 0.5;
  const double d = std::fabs(x - xm) + std::fabs(y - ym);
  if (d >= best.distance) return;
  best.distance = d;
  best.side = side;
  best.bottom = static_cast<int>(zval[ic][jc][0]);
}

// Blocks in order, and in each the west, east, south and north edges; on
// equal distance the earlier candidate stays.
Nearest nearestSide(double x, double y) {
  Nearest best;
  for (int n = 1; n <= NoBlocks; ++n) {
    const GridBlock &b = block[n];
    if (b.LastCell <= 0 || b.LayerMark != 0) continue;
    best.tolerance = blockTolerance(b);
    for (int j = b.j1; j <= b.j2; ++j) consider(best, x, y, b.i1 - 1, j - 1, b.i1 - 1, j, 4, b.i1, j);
    for (int j = b.j1; j <= b.j2; ++j) consider(best, x, y, b.i2, j - 1, b.i2, j, 2, b.i2, j);
    for (int i = b.i1; i <= b.i2; ++i) consider(best, x, y, i - 1, b.j1 - 1, i, b.j1 - 1, 1, i, b.j1);
    for (int i = b.i1; i <= b.i2; ++i) consider(best, x, y, i - 1, b.j2, i, b.j2, 3, i, b.j2);
  }
  return best;
}

// Several groups may share a cell when mapped on threads at once: the mark
// of the highest group stays, as when the groups are mapped one by one after
// the marks were cleared.
void markCell(int c, int mark, bool concurrent) {
  if (!concurrent) {
    Cinout[c] = mark;
    return;
  }
  std::atomic_ref<int> cell(Cinout[c]);
  int seen = cell.load(std::memory_order_relaxed);
  while (std::abs(seen) < std::abs(mark) && !cell.compare_exchange_weak(seen, mark, std::memory_order_relaxed)) {
  }
}

void flagFlowFace(int f, bool concurrent) {
  if (concurrent) {
    std::atomic_ref<int>(Fflagflow[f]).store(1, std::memory_order_relaxed);
  } else {
    Fflagflow[f] = 1;
  }
}

void takeCell(DischargeGroup &group, int g, int c, int side, bool concurrent) {
  const int f = faceOnSide(c, side);
  if (f <= 0) return;
  if (group.faceCount >= kGroupFaces) faceListFull(g);
  group.faces[group.faceCount++] = f;
  flagFlowFace(f, concurrent);
  markCell(c, group.type == 1 ? g : -g, concurrent);
}

// The cells of the column above `bottom` within the group's levels, from the
// top down (level 1 the bottom cell); a to level of 2 takes the bottom cell only.
void takeColumn(DischargeGroup &group, int g, int bottom, int side, bool concurrent) {
  if (group.toLevel == 2) {
    takeCell(group, g, bottom, side, concurrent);
    return;
  }
  int top = bottom;
  while (Ccellt[top] > 0) top = Ccellt[top];
  for (int level = top - bottom + 1; level >= 1; --level) {
    if (level >= group.fromLevel && level <= group.toLevel) takeCell(group, g, bottom + level - 1, side, concurrent);
  }
}

void zeroAreaWarning(std::string &report, int g) {
  const DischargeGroup &group = DischargeStruct[g];
  appendf(report, "\nWarning: Zero inflow/outflow area for discharge group no. %d\n", g);
  report += "Possible problem: levels in discharge struct below bed\n";
  appendf(report, "Top level group %d: %d, top node: %d\n", g, group.toLevel, znumber);
  appendf(report, "Low level group %d: %d\n", g, group.fromLevel);
  appendf(report, "Bkooi[3] = %d, Bkooj[3] = %d\n\n", Bkooi[3], Bkooj[3]);
}

void debugReport(std::string &report, int g) {
  const DischargeGroup &group = DischargeStruct[g];
  appendf(report, "Have interpolated %d surfaces for discharge group %d\n", group.faceCount, g);
  for (int k = 0; k < group.faceCount; ++k) {
    const int f = group.faces[k];
    if (Fcell1[f] != 0 || Fcell2[f] != 0) continue;
    appendf(report, "Error setting boundary conditions for surface %d %d\n", k, f);
    appendf(report, "Farea = %lf, Ftype1 = %d, Ftype2 = %d, Px1 = %lf, Py1 = %lf\n", Farea[f], Ftype1[f], Ftype2[f],
            Px[Fpoint1[f]], Py[Fpoint1[f]]);
  }
}

// The mapping of one group; its log text goes into report.
void mapGroup(int g, bool concurrent, std::string &report) {
  DischargeGroup &group = DischargeStruct[g];
  group.faceCount = 0;
  for (int p = 0; p < group.polygonCount; ++p) {
    const Nearest best = nearestSide(group.polygonX[p], group.polygonY[p]);
    if (best.bottom > 0 && best.distance < best.tolerance) takeColumn(group, g, best.bottom, best.side, concurrent);
  }
  group.area = 0.0;
  for (int k = 0; k < group.faceCount; ++k) group.area += Farea[group.faces[k]];
  if (group.faceCount == 0) zeroAreaWarning(report, g);
  if (debugging == 'D' && FlagMPI >= 1) debugReport(report, g);
}

// A group is mapped again when it carries a discharge; in runs whose
// discharges come from the "timei" series every group with points is, since
// the series gives each group with faces its inflow whatever its record says.
bool remapped(const DischargeGroup &group) {
  return (FlagDischargeTime == 1 || std::fabs(group.discharge) > kNoDischarge) && group.polygonCount > 0;
}

// Text of the unreached mapping when it finds nothing: the levels at the
// middle of both ends of block 1.
void endLevels() {
  const GridBlock &b = block[1];
  const int j = (b.j1 - 1 + b.j2) / 2;
  for (int i : {b.i1 - 1, b.i2}) {
    logPrintf("zval[%d][%d][1,%d] = %lf %lf\n", i, j, znumber, zval[i][j][1], zval[i][j][znumber]);
  }
}

bool inOneCellBlock(int c) {
  for (int n = 1; n <= NoBlocks; ++n) {
    if (block[n].BlockKind == 1 && c >= block[n].FirstCell && c <= block[n].LastCell) return true;
  }
  return false;
}

// The plan midpoint of side s of cell c, from its bottom corners.
void sideMidpoint(int c, int side, double &x, double &y) {
  const int corners[5][2] = {{0, 0}, {Cpoint1[c], Cpoint2[c]}, {Cpoint2[c], Cpoint3[c]}, {Cpoint3[c], Cpoint4[c]},
                             {Cpoint4[c], Cpoint1[c]}};
  x = (Px[corners[side][0]] + Px[corners[side][1]]) * 0.5;
  y = (Py[corners[side][0]] + Py[corners[side][1]]) * 0.5;
}

int neighbourOnSide(int c, int side) {
  switch (side) {
    case 1: return Ccells[c];
    case 2: return Ccelle[c];
    case 3: return Ccelln[c];
    default: return Ccellw[c];
  }
}

}  // namespace

void fillFaceLevels() {
  for (int g = 1; g <= 9; ++g) {
    DischargeGroup &group = DischargeStruct[g];
    for (int k = 0; k < group.faceCount; ++k) {
      const int f = group.faces[k];
      int c = Fcell1[f] > 0 ? Fcell1[f] : Fcell2[f];
      int level = 0;
      for (; c > 0; c = Ccellb[c]) ++level;
      group.faceLevels[k] = level;
    }
  }
}

void InterpolateBoundaryInner2(int g) {
  std::string report;
  mapGroup(g, false, report);
  if (!report.empty()) logText(report.c_str());
}

void InterpolateBoundary() {
  for (int c = 1; c <= NoCells; ++c) Cinout[c] = 0;
  if (NoProcessesSolver <= 0 || FlagOpenMP[10] == 1) {
    for (int g = 1; g <= 9; ++g) {
      if (!remapped(DischargeStruct[g])) continue;
      DischargeStruct[g].faceCount = 0;
      InterpolateBoundaryInner2(g);
    }
  } else {
    // The nine groups dealt over the threads; each thread's text in one append.
    forEachThreadShare(1, 9, [](int first, int last) {
      std::string report;
      for (int g = first; g <= last; ++g) {
        if (!remapped(DischargeStruct[g])) continue;
        DischargeStruct[g].faceCount = 0;
        mapGroup(g, true, report);
      }
      if (!report.empty()) logText(report.c_str());
    });
  }
  if (FlagCyclic != 0 || inflowj > 0) fillFaceLevels();
}

// Group 1 at the upstream end of block 1 (grid line i1-1), group 2 at the
// downstream end (grid line i2), as F 314 asks; group 1 first.
void setFluxes() {
  if (NoBlocks < 1) return;
  EndRule rule;
  if (upstreamRule(FlagGenerateUpFlux, rule)) generateGroup(1, rule, block[1].i1 - 1);
  if (downstreamRule(FlagGenerateDownFlux, rule)) generateGroup(2, rule, block[1].i2);
}

// Each point takes the open side of a top cell of the base grid whose plan
// midpoint is nearest (squared distance below 1e-5 m2), and the column below
// gives its faces, levels counted from znumber at the top down to 2.
void InterpolateBoundaryInner(int g) {
  DischargeGroup &group = DischargeStruct[g];
  const int before = group.faceCount;
  for (int p = 0; p < group.polygonCount; ++p) {
    double best = 1e20;
    int bestCell = 0, bestSide = 0;
    for (int c = 1; c <= NoCells0; ++c) {
      if (Ccellt[c] != 0 || inOneCellBlock(c)) continue;
      for (int side = 1; side <= 4; ++side) {
        if (neighbourOnSide(c, side) != 0) continue;
        double x, y;
        sideMidpoint(c, side, x, y);
        const double dx = x - group.polygonX[p], dy = y - group.polygonY[p];
        const double d2 = dx * dx + dy * dy;
        if (d2 < best) {
          best = d2;
          bestCell = c;
          bestSide = side;
        }
      }
    }
    if (bestCell <= 0 || best >= 1e-5) continue;
    for (int c = bestCell, level = znumber; c > 0 && level > 1; c = Ccellb[c], --level) {
      if (level < group.fromLevel || level > group.toLevel) continue;
      const int f = faceOnSide(c, bestSide);
      if (f <= 0) continue;
      if (group.faceCount >= kGroupFaces) faceListFull(g);
      group.faces[group.faceCount++] = f;
      Cinout[c] = group.type == 1 ? g : -g;
    }
  }
  if (group.faceCount > before) return;
  std::string report;
  zeroAreaWarning(report, g);
  logText(report.c_str());
  if (NoBlocks >= 1) endLevels();
  const char letter = debugging;
  debugging = 'D';
  sprintflow();
  debugging = letter;
}
