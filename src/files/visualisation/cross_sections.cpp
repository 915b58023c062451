// One vertical cross-section along grid line i: every cell of the section
// becomes a quadrilateral in the plane of the section, unrolled along the
// line, with the velocity in that plane and the G 24 output variables.
#include "files/visualisation/cross_sections.h"

#include <cmath>
#include <cstdio>

#include "files/visualisation/output_variables.h"
#include "files/visualisation/vis_file.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/control_tables.h"
#include "model/faces.h"
#include "model/points.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/status.h"
#include "model/structured.h"

namespace {

constexpr int kSeriesDigits = 5;
constexpr int kNameLength = 128;

struct Section {
  int i, j1, j2;
  bool layered;
};

int bottomOf(int i, int j) { return static_cast<int>(zval[i][j][0]); }

double lineStep(int i, int j) {
  const double dx = xval[i][j] - xval[i][j - 1], dy = yval[i][j] - yval[i][j - 1];
  return std::sqrt(dx * dx + dy * dy);
}

void writeValue(VisFile &file, double v) {
  if (std::fabs(v) < 1e-14) {
    std::fputs("0.0 ", file.stream());
  } else {
    file.number("%lg ", v);
  }
}

// The unit vector of the summed horizontal velocity of the section.
void meanDirection(const Section &s, double &mx, double &my) {
  double su = 0.0, sv = 0.0;
  for (int j = s.j1; j <= s.j2; ++j) {
    for (int c = bottomOf(s.i, j); c != 0; c = Ccellt[c]) {
      su += Cxvel[c];
      sv += Cyvel[c];
    }
  }
  const double length = std::sqrt(su * su + sv * sv + 1e-20);
  mx = su / length;
  my = sv / length;
}

void openName(const Section &s, int kind, char *fixed, char *base) {
  if (FlagMPI > 0) {
    std::snprintf(fixed, kNameLength, "ParaCross_%d_%d.mpi%d.vtk", kind, s.i, FlagMPI);
    std::snprintf(base, kNameLength, "parc.mpi%d.", FlagMPI);
  } else {
    std::snprintf(fixed, kNameLength, "ParaCross_%d_%d.vtk", kind, s.i);
    std::snprintf(base, kNameLength, "parc%d_%d_", kind, s.i);
  }
}

}  // namespace

void print_cross3d(int kind, int i) {
  const GridBlock &b = block[kind];
  const Section s{i, b.j1, b.j2, b.LayerMark != 0};
  char fixed[kNameLength], base[kNameLength];
  openName(s, kind, fixed, base);
  const int seriesSwitch = PrintRes != 0 || PrintResAlways != 0 || NoAlldataPrintout >= 1;
  VisFile file(seriesSwitch, fixed, base, kSeriesDigits, ".vtk");
  std::FILE *f = file.stream();

  int n = 0;
  for (int j = s.j1; j <= s.j2; ++j) {
    for (int c = bottomOf(i, j); c != 0; c = Ccellt[c]) ++n;
  }
  std::fprintf(f, "# vtk DataFile Version 2.0\n");
  std::fprintf(f, "TELVA 2 2D cross-section file %s \n", printedTitle());
  std::fprintf(f, "ASCII\nDATASET POLYDATA\n");
  std::fprintf(f, "POINTS %d double\n", 4 * n);
  double along = 0.0;
  for (int j = s.j1; j <= s.j2; ++j) {
    const double from = along;
    along += lineStep(i, j);
    for (int c = bottomOf(i, j); c != 0; c = Ccellt[c]) {
      const double corner[4][2] = {
          {from, Pz[Cpoint1[c]]}, {along, Pz[Cpoint4[c]]}, {along, Pz[Cpoint8[c]]}, {from, Pz[Cpoint5[c]]}};
      for (int k = 0; k < 4; ++k) {
        file.number("%lf", corner[k][0]);
        std::fputs(" 0.0", f);
        file.number(k < 3 ? " %lf  " : " %lf\n", corner[k][1]);
      }
    }
  }
  std::fprintf(f, "\nPOLYGONS %d %d\n", n, 5 * n);
  for (int m = 0; m < n; ++m) std::fprintf(f, "4 %d %d %d %d\n", 4 * m, 4 * m + 1, 4 * m + 2, 4 * m + 3);
  std::fprintf(f, "\nCELL_DATA %d\nVECTORS Velocity float\n", n);
  double mx = 0.0, my = 0.0;
  if (!s.layered) meanDirection(s, mx, my);
  for (int j = s.j1; j <= s.j2; ++j) {
    const int bottom = bottomOf(i, j);
    for (int c = bottom; c != 0; c = Ccellt[c]) {
      double across;
      if (s.layered) {
        const int north = Cflaten[c];
        across = Cxvel[c] * Fvx[north] + Cyvel[c] * Fvy[north];
      } else {
        across = mx * Cyvel[c] - my * Cxvel[c];
      }
      file.number("%lf", across);
      file.number(" 0.0 %lf   ", Czvel[c]);
    }
    if (bottom != 0) std::fputc('\n', f);
  }

  for (int k = 0; k < TecStrucNo; ++k) {
    const TecStrucEntry &e = TecStruc[k];
    const int layer = (e.levelIndex > 1 ? e.levelIndex : 1) - 1;
    const OutputVariable v = resolveVariable(e, VisWriter::ParaViewCross, layer);
    char name[kNameLength];
    variableName(e, VisWriter::ParaViewCross, layer, name, kNameLength);
    std::fprintf(f, "\nSCALARS %s float\nLOOKUP_TABLE default\n", name);
    for (int j = s.j1; j <= s.j2; ++j) {
      const int bottom = bottomOf(i, j);
      for (int c = bottom; c != 0; c = Ccellt[c]) {
        writeValue(file, v.structured ? structuredValue(e.letter, i, j) : v.cellValue(v, c, Cbed[c]));
      }
      if (bottom != 0) std::fputc('\n', f);
    }
  }
  file.close();
  setStatus(mc_message, "have written ParaCross file  ");
}
