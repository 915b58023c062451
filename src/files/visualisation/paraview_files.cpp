// The ParaView (legacy VTK) files of the results: the plan view, a
// structured grid on the bed of one block, and "ParaView3U.vtk", the
// hexahedra of block 1 with point values averaged over the cells around.
#include <cmath>
#include <cstdio>
#include <vector>

#include "files/visualisation/output_variables.h"
#include "files/visualisation/plan_points.h"
#include "files/visualisation/point_maps.h"
#include "files/visualisation/vis_file.h"
#include "files/visualisation/visualisation.h"
#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/control_tables.h"
#include "model/points.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/status.h"
#include "model/structured.h"

namespace {

constexpr int kNameLength = 128;
constexpr int kSeriesDigits = 5;

// Coordinates are written in double: the readers round a float to 0.5 m at
// the 6,600,000 m of real-world northings.
void writeHeader(VisFile &file, const char *titleEnd, const char *dataset) {
  std::FILE *f = file.stream();
  std::fprintf(f, "# vtk DataFile Version 2.0\n");
  std::fprintf(f, "TELVA 2 ");
  file.quoted(printedTitle());
  std::fprintf(f, " %lf seconds%s\n", stimet, titleEnd);
  std::fprintf(f, "ASCII\n");
  std::fprintf(f, "DATASET %s\n", dataset);
}

void writeScalarsHeader(VisFile &file, const TecStrucEntry &e, VisWriter writer, int layer) {
  char name[kNameLength];
  variableName(e, writer, layer, name, kNameLength);
  std::fprintf(file.stream(), "\nSCALARS %s float\nLOOKUP_TABLE default\n", name);
}

// The block of the plan view: with F 268 1 the last nested block, else block 1.
int paraViewPlanBlock() {
  if (FlagViewNested != 1) return 1;
  int chosen = 1;
  for (int b = 1; b <= NoBlocks; ++b) {
    if (block[b].NestLevel > 0) chosen = b;
  }
  return chosen;
}

// The letters the plan file reads through the bed cell of the point's column.
bool bedClassLetter(char letter) {
  switch (letter) {
    case 'D': case 'G': case 'L': case 'N': case 'O': case 'S': case 'U': case 'a':
    case 'b': case 'f': case 'j': case 'l': case 'm': case 'r': return true;
    case 'Z': return FlagFractionsPrint == 1;
    default: return false;
  }
}

// The cells around every point of block 1, listed once per call: the
// points' lists follow each other, aroundStart[p] the first of point p. The
// lists keep their capacity for the run.
std::vector<int> aroundStart, aroundCells;

void collectCellsAround(int np) {
  aroundStart.assign(static_cast<std::size_t>(np) + 2, 0);
  aroundCells.clear();
  int cells[kMaxTouchingCells];
  for (int p = 1; p <= np; ++p) {
    int count = touchingCells(Pc[p], Pi[p], Pj[p], cells);
    if (count == 0 && Pc[p] != p) count = touchingCells(p, Pi[p], Pj[p], cells);
    aroundStart[p] = static_cast<int>(aroundCells.size());
    aroundCells.insert(aroundCells.end(), cells, cells + count);
  }
  aroundStart[np + 1] = static_cast<int>(aroundCells.size());
}

void planValue(VisFile &file, double value) {
  if (std::fabs(value) < 1e-14) {
    std::fputs(" 0.0", file.stream());
  } else {
    file.number(" %lg", value);
  }
}

}  // namespace

void print_paraview2d(int series, int n) {
  char fixed[64], base[64];
  int seriesSwitch;
  if (n <= 0) {
    seriesSwitch = series != 0 || PrintRes != 0;
    if (FlagMPI != 0) {
      std::snprintf(fixed, sizeof fixed, "ParaView2.mpi%d.vtk", FlagMPI);
      std::snprintf(base, sizeof base, "pav2.mpi%d.", FlagMPI);
    } else {
      std::snprintf(fixed, sizeof fixed, "ParaView2.vtk");
      std::snprintf(base, sizeof base, "pav2_");
    }
  } else {
    seriesSwitch = PrintRes != 0;
    if (FlagMPI != 0) {
      std::snprintf(fixed, sizeof fixed, "ParaView2_n%d.mpi%d.vtk", n, FlagMPI);
    } else {
      std::snprintf(fixed, sizeof fixed, "ParaView2_n%d.vtk", n);
    }
    std::snprintf(base, sizeof base, "pav2_n%d_", n);
  }
  VisFile file(seriesSwitch, fixed, base, kSeriesDigits, ".vtk");
  std::FILE *f = file.stream();

  const GridBlock &bk = block[paraViewPlanBlock()];
  const int ni = bk.i2 - bk.i1 + 3, nj = bk.j2 - bk.j1 + 3, points = ni * nj;
  writeHeader(file, ".", "STRUCTURED_GRID");
  std::fprintf(f, "DIMENSIONS %d %d %d\n", ni, nj, 1);
  std::fprintf(f, "POINTS %d double\n", points);
  for (int j = bk.j1 - 1; j <= bk.j2 + 1; ++j) {
    const PlanIndex pj = planIndex(j, bk.j1, bk.j2);
    for (int i = bk.i1 - 1; i <= bk.i2 + 1; ++i) {
      const PlanIndex pi = planIndex(i, bk.i1, bk.i2);
      file.number("%lf", planMean(xval, pi, pj));
      file.number(" %lf", planMean(yval, pi, pj));
      file.number(" %lf\n", planMeanLevel(1, pi, pj));
    }
  }
  std::fprintf(f, "\nPOINT_DATA %d\n", points);

  // An empty list writes one section of the P 4 letter.
  TecStrucEntry pseudo{0, lnode, 0, graph};
  const int sections = TecStrucNo > 0 ? TecStrucNo : 1;
  const bool bedCells = NoBCells > 0 && pointbed[bk.i1][bk.j1] != 0;
  for (int k = 0; k < sections; ++k) {
    const TecStrucEntry &e = TecStrucNo > 0 ? TecStruc[k] : pseudo;
    const int layer = paraViewLayer(e);
    lnodem = e.sizeIndex;
    bnodem = layer;
    const bool bed = bedCells && bedClassLetter(e.letter);
    const OutputVariable v = resolveVariable(e, VisWriter::ParaViewPlan, layer, bed);
    writeScalarsHeader(file, e, VisWriter::ParaViewPlan, layer);
    for (int j = bk.j1 - 1; j <= bk.j2 + 1; ++j) {
      const PlanIndex pj = planIndex(j, bk.j1, bk.j2);
      for (int i = bk.i1 - 1; i <= bk.i2 + 1; ++i) {
        const PlanIndex pi = planIndex(i, bk.i1, bk.i2);
        double value;
        if (v.structured && e.letter != 'X') {
          value = planMeanValue(e.letter, pi, pj);
        } else if (e.letter == 'X') {
          value = structuredValue('X', pi.column, pj.column);
        } else if (bed) {
          const int b = pointbed[pi.column][pj.column];
          value = v.cellValue(v, planeCell(pi.column, pj.column, znode - 1), b);
        } else {
          const int c = planeCell(pi.column, pj.column, znode - 1);
          value = v.cellValue(v, c, Cbed[c]);
        }
        planValue(file, value);
      }
      std::fputc('\n', f);
    }
  }

  // Each point takes the velocity of the column its scalars read, as the
  // Tecplot plan file does: the frame on the inlet, outlet and walls shows
  // the flow of the nearest column, not the 0 of a column outside the block.
  // A dry column reads the dummy cell, cleared first.
  std::fprintf(f, "\nVECTORS Velocities float\n");
  Cxvel[0] = Cyvel[0] = Czvel[0] = 0.0;
  for (int j = bk.j1 - 1; j <= bk.j2 + 1; ++j) {
    const int jcol = planIndex(j, bk.j1, bk.j2).column;
    for (int i = bk.i1 - 1; i <= bk.i2 + 1; ++i) {
      const int c = planeCell(planIndex(i, bk.i1, bk.i2).column, jcol, znode - 1);
      file.number("%lf", Cxvel[c]);
      file.number(" %lf", Cyvel[c]);
      file.number(" %lf\n", Czvel[c]);
    }
  }
  file.close();
  setStatus(mc_message, "have written ParaView 2D file  ");
}

void print_paraview3d(int) {
  const int seriesSwitch = PrintRes != 0 || PrintResAlways != 0 || NoAlldataPrintout > 0;
  char fixed[64], base[64];
  if (FlagMPI != 0) {
    std::snprintf(fixed, sizeof fixed, "ParaView3U.mpi%d.dat", FlagMPI);
    std::snprintf(base, sizeof base, "paru.mpi%d.", FlagMPI);
  } else {
    std::snprintf(fixed, sizeof fixed, "ParaView3U.vtk");
    std::snprintf(base, sizeof base, "paru3_");
  }
  VisFile file(seriesSwitch, fixed, base, kSeriesDigits, ".vtk");
  std::FILE *f = file.stream();
  const GridBlock &b1 = block[1];
  const int np = NoBlocks > 0 ? b1.LastPoint : 0, nc = NoBlocks > 0 ? b1.LastCell : 0;
  fillPointPositions(b1.i1, b1.i2, b1.j1, b1.j2, np);

  writeHeader(file, "", "UNSTRUCTURED_GRID");
  std::fprintf(f, "POINTS %d double\n", np);
  for (int p = 1; p <= np; ++p) {
    file.number("%lf", Px[p]);
    file.number(" %lf", Py[p]);
    file.number(" %lf\n", Pz[p]);
  }
  std::fprintf(f, "\nCELLS %d %d\n", nc, 9 * nc);
  for (int c = 1; c <= nc; ++c) {
    std::fprintf(f, "8 %d %d %d %d %d %d %d %d\n", Cpoint1[c] - 1, Cpoint2[c] - 1, Cpoint3[c] - 1, Cpoint4[c] - 1,
                 Cpoint5[c] - 1, Cpoint6[c] - 1, Cpoint7[c] - 1, Cpoint8[c] - 1);
  }
  // The total suspended concentration is kept as the sum of the sizes.
  if (Cconc) {
    for (int c = 1; c <= nc; ++c) {
      double sum = 0.0;
      for (int s = 1; s <= lnumber; ++s) sum += Cconc[s][c];
      Cconc[0][c] = sum;
    }
  }
  std::fprintf(f, "CELL_TYPES %d\n", nc);
  for (int c = 1; c <= nc; ++c) std::fputs("12\n", f);

  // The cells around each point are found once: a point whose mapped twin
  // has no block-1 cell around it (a seam to another block) averages the
  // cells around its own number instead of writing zeros.
  fillPointCells(np);
  collectCellsAround(np);
  std::fprintf(f, "POINT_DATA %d\n", np);
  std::fprintf(f, "VECTORS Velocity float\n");
  for (int p = 1; p <= np; ++p) {
    const int first = aroundStart[p], count = aroundStart[p + 1] - first;
    double u = 0.0, v = 0.0, w = 0.0;
    for (int n = first; n < first + count; ++n) {
      u += Cxvel[aroundCells[n]];
      v += Cyvel[aroundCells[n]];
      w += Czvel[aroundCells[n]];
    }
    file.number("%lf", u / (count + 1e-20));
    file.number(" %lf", v / (count + 1e-20));
    file.number(" %lf\n", w / (count + 1e-20));
  }
  for (int k = 0; k < TecStrucNo; ++k) {
    const TecStrucEntry &e = TecStruc[k];
    const int layer = paraViewLayer(e);
    lnodem = e.sizeIndex;
    bnodem = layer;
    const OutputVariable var = resolveVariable(e, VisWriter::ParaView3D, layer);
    writeScalarsHeader(file, e, VisWriter::ParaView3D, layer);
    if (var.structured) {
      for (int p = 1; p <= np; ++p) file.number("%lf\n", structuredValue(e.letter, Pi[p], Pj[p]));
      continue;
    }
    for (int p = 1; p <= np; ++p) {
      const int first = aroundStart[p], count = aroundStart[p + 1] - first;
      double sum = 0.0;
      for (int n = first; n < first + count; ++n) sum += var.cellValue(var, aroundCells[n], Cbed[aroundCells[n]]);
      file.number("%lg\n", sum / (count + 1e-20));
    }
  }
  file.close();
}
