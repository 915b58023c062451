// The Tecplot files of the results: the plan view "tecplot2.dat" over the
// columns of one block, and the finite-element file "tecplfe.dat" whose
// nodes carry the mean of the cells around them. Both add the G 24 list.
#include <cstdio>
#include <vector>

#include "files/visualisation/output_variables.h"
#include "files/visualisation/plan_points.h"
#include "files/visualisation/point_maps.h"
#include "files/visualisation/vis_file.h"
#include "files/visualisation/visualisation.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/control_tables.h"
#include "model/grid_index.h"
#include "model/points.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/status.h"
#include "model/structured.h"

namespace {

constexpr int kNameLength = 128;
constexpr int kSeriesDigits = 5;

// The list resolved once per call, with the layer each writer shows.
OutputVariable resolved[kMaxTecStruc];

void writeVariableNames(VisFile &file, VisWriter writer) {
  char name[kNameLength];
  for (int n = 0; n < TecStrucNo; ++n) {
    variableName(TecStruc[n], writer, resolved[n].layer, name, kNameLength);
    std::fprintf(file.stream(), ",\"%s\"", name);
  }
}

// The block of the plan view: block 1, or the block F 268 names when it
// holds cells. Values of 100 and more lie beyond the block table.
int tecplotPlanBlock() {
  const int b = FlagViewNested;
  if (b >= 2 && b < kMaxBlocks && block[b].LastCell >= 2) return b;
  return 1;
}

struct Range {
  int firstPoint, lastPoint, firstCell, lastCell, nodeOffset, lastCoarsePoint;
};

// The points and elements written for F 268: the whole grid (0 and above
// 2), the blocks without nesting (1), or the nested blocks (2).
Range tecplot3dRange() {
  Range r{1, NoPoints, 1, NoCells, 0, 0};
  int lastCoarse = 0, startNested = 0, lastNested = 0;
  for (int b = 1; b <= NoBlocks; ++b) {
    if (block[b].NestLevel == 0) lastCoarse = b;
    if (block[b].NestLevel > 0) {
      lastNested = b;
      if (b > 1 && block[b - 1].NestLevel == 0) startNested = b;
    }
  }
  r.lastCoarsePoint = lastCoarse ? block[lastCoarse].LastPoint : 0;
  if (FlagViewNested == 1 && lastCoarse) {
    r.lastPoint = block[lastCoarse].LastPoint;
    r.lastCell = block[lastCoarse].LastCell;
  } else if (FlagViewNested == 2 && startNested) {
    r.firstPoint = block[startNested].FirstPoint;
    r.lastPoint = block[lastNested].LastPoint;
    r.firstCell = block[startNested].FirstCell;
    r.lastCell = block[lastNested].LastCell;
    r.nodeOffset = r.firstCell <= r.lastCell ? Cpoint1[r.firstCell] - 1 : 0;
  }
  return r;
}

}  // namespace

void print_tecplot2d(int, int n) {
  const int seriesSwitch = PrintRes != 0 || PrintResAlways != 0;
  char fixed[64], base[64];
  if (FlagMPI != 0) {
    std::snprintf(fixed, sizeof fixed, "tecplot2.mpi%d.dat", FlagMPI);
  } else {
    std::snprintf(fixed, sizeof fixed, "tecplot2.dat");
  }
  if (n > 0) {
    std::snprintf(base, sizeof base, "tec2_n%d_", n);
  } else if (FlagMPI != 0) {
    std::snprintf(base, sizeof base, "tec2.mpi%d.", FlagMPI);
  } else {
    std::snprintf(base, sizeof base, "tec2_");
  }
  VisFile file(seriesSwitch, fixed, base, kSeriesDigits, ".dat");
  std::FILE *f = file.stream();

  const GridBlock &bk = block[tecplotPlanBlock()];
  for (int k = 0; k < TecStrucNo; ++k) {
    resolved[k] = resolveVariable(TecStruc[k], VisWriter::TecplotPlan, tecplotPlanLayer(TecStruc[k]));
  }

  std::fprintf(f, "TITLE = \"PLAN-%d_", ynode);
  file.quoted(printedTitle());
  std::fputc(' ', f);
  file.quoted(mc_v1);
  std::fprintf(f, "\"\n");
  std::fprintf(f, "VARIABLES=\"X1\",\"X2\",\"X3\",\"Ux\",\"Uy\"");
  writeVariableNames(file, VisWriter::TecplotPlan);
  std::fprintf(f, "\n");
  std::fprintf(f, "ZONE I=%d,J=%d,F=POINT\n", bk.i2 - bk.i1 + 3, bk.j2 - bk.j1 + 3);
  std::fprintf(f, "SOLUTIONTIME=%lf\n", stimet);

  bool evaluated = false;
  for (int j = bk.j1 - 1; j <= bk.j2 + 1; ++j) {
    const PlanIndex pj = planIndex(j, bk.j1, bk.j2);
    for (int i = bk.i1 - 1; i <= bk.i2 + 1; ++i) {
      const PlanIndex pi = planIndex(i, bk.i1, bk.i2);
      const int c = planeCell(pi.column, pj.column, znode - 1);
      double x3;
      if (znode == znumber + 1) {
        x3 = planMeanLevel(znumber, pi, pj);
      } else if (znode == 1 || c == 0) {
        x3 = planMeanLevel(1, pi, pj);
      } else {
        x3 = Czcenter[c];
      }
      file.number("%lf", planMean(xval, pi, pj));
      file.number(" %lf", planMean(yval, pi, pj));
      file.number(" %lf", x3);
      file.number(" %lf", Cxvel[c]);
      file.number(" %lf", Cyvel[c]);
      for (int k = 0; k < TecStrucNo; ++k) {
        const OutputVariable &v = resolved[k];
        double value;
        if (v.structured) {
          value = planMeanValue(v.entry.letter, pi, pj);
        } else {
          const int e = planeCell(pi.column, pj.column, v.entry.levelIndex - 1);
          value = v.cellValue(v, e, Cbed[e]);
          evaluated = true;
        }
        file.number(" %le", value);
      }
      std::fputc('\n', f);
    }
  }
  // The state the next writer starts from: the last cell entry evaluated.
  if (evaluated) {
    for (int k = TecStrucNo - 1; k >= 0; --k) {
      if (resolved[k].structured) continue;
      lnodem = TecStruc[k].sizeIndex;
      bnodem = (TecStruc[k].levelIndex > 1 ? TecStruc[k].levelIndex : 1) - 1;
      break;
    }
  }
  file.close();
}

void print_tecplot3d(int) {
  const int seriesSwitch = PrintRes != 0 || PrintResAlways != 0;
  char fixed[64];
  if (FlagMPI != 0) {
    std::snprintf(fixed, sizeof fixed, "tecplfe.mpi%d.dat", FlagMPI);
  } else {
    std::snprintf(fixed, sizeof fixed, "tecplfe.dat");
  }
  VisFile file(seriesSwitch, fixed, "tec3_", kSeriesDigits, ".dat");
  std::FILE *f = file.stream();
  fillPointPositions(2, xnumber, 2, ynumber, NoPoints);

  bool anyStructured = false;
  for (int k = 0; k < TecStrucNo; ++k) {
    resolved[k] = resolveVariable(TecStruc[k], VisWriter::Tecplot3D, paraViewLayer(TecStruc[k]));
    anyStructured = anyStructured || resolved[k].structured;
  }

  std::fprintf(f, "TITLE = \"FE_");
  file.quoted(printedTitle());
  std::fprintf(f, " %lf sec. \"\n", stimet);
  std::fprintf(f, "VARIABLES=\"X1\",\"X2\",\"X3\",\"Ux\",\"Uy\",\"No\"");
  writeVariableNames(file, VisWriter::Tecplot3D);
  std::fprintf(f, "\n");
  const Range r = tecplot3dRange();
  const int points = r.lastPoint >= r.firstPoint ? r.lastPoint - r.firstPoint + 1 : 0;
  const int elements = r.lastCell >= r.firstCell ? r.lastCell - r.firstCell + 1 : 0;
  std::fprintf(f, "ZONE T=\"Discharge: %lf l/s, time: %lf sec\" N=%d,E=%d,F=FEPOINT, ET=BRICK\n", DischargeArray[1],
               stimet, points, elements);
  fillPointCells(NoPoints);

  NearestGridPoints nearest;
  if (anyStructured) nearest.build();
  int cells[kMaxTouchingCells];
  double sums[kMaxTecStruc];
  for (int p = r.firstPoint; p <= r.lastPoint; ++p) {
    const int count = touchingCellsAcross(Pc[p], Pi[p], Pj[p], cells);
    double u = 0.0, v = 0.0;
    for (int k = 0; k < TecStrucNo; ++k) sums[k] = 0.0;
    for (int n = 0; n < count; ++n) {
      const int c = cells[n];
      u += Cxvel[c];
      v += Cyvel[c];
      for (int k = 0; k < TecStrucNo; ++k) sums[k] += resolved[k].cellValue(resolved[k], c, Cbed[c]);
    }
    if (count > 0) {
      u /= count;
      v /= count;
      for (int k = 0; k < TecStrucNo; ++k) sums[k] /= count;
    }
    if (anyStructured) {
      for (int k = 0; k < TecStrucNo; ++k) {
        if (resolved[k].structured) sums[k] = nearest.value(resolved[k].entry.letter, Px[p], Py[p]);
      }
    }
    file.number("%lf", Px[p]);
    file.number(" %lf", Py[p]);
    file.number(" %lf", Pz[p]);
    file.number(" %lf", u);
    file.number(" %lf", v);
    std::fprintf(f, p > r.lastCoarsePoint ? " 1" : " 0");
    for (int k = 0; k < TecStrucNo; ++k) file.number(" %le", sums[k]);
    std::fputc('\n', f);
  }
  for (int c = r.firstCell; c <= r.lastCell; ++c) {
    const int o = r.nodeOffset;
    std::fprintf(f, "%d %d %d %d %d %d %d %d\n", Cpoint1[c] - o, Cpoint2[c] - o, Cpoint3[c] - o, Cpoint4[c] - o,
                 Cpoint5[c] - o, Cpoint6[c] - o, Cpoint7[c] - o, Cpoint8[c] - o);
  }
  if (NoCells > 0 && TecStrucNo > 0) lnodem = TecStruc[TecStrucNo - 1].sizeIndex;
  file.close();
}
