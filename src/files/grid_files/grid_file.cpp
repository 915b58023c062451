// Writer of the grid file "unstruc" in the format codes 1 to 4 and of the
// small files of the structured grid written beside it. Only the base grid
// is stored: the hydrostatic, two-dimensional and multigrid blocks are
// appended again by the drivers that need them.
#include "files/grid_files/grid_file.h"

#include <cmath>
#include <cstdio>
#include <string>

#include "files/grid_files/grid_sections.h"
#include "files/series_files.h"
#include "files/write_check.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/grid_index.h"
#include "model/points.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/status.h"
#include "model/structured.h"
#include "base/log.h"

namespace {

int bottomCell(int i, int j) { return static_cast<int>(zval[i][j][0]); }

// Columns without cells inside the blocks: a grid file with them cannot
// start a wetting and drying computation.
int countDryColumns() {
  int dry = 0;
  for (int n = 1; n <= NoBlocks; ++n) {
    const GridBlock &b = block[n];
    for (int i = b.i1; i <= b.i2; ++i) {
      for (int j = b.j1; j <= b.j2; ++j) {
        if (bottomCell(i, j) <= 0) ++dry;
      }
    }
  }
  return dry;
}

// The bottom-cell table of the format codes 1 and 2, one row per grid line i.
void writeBottomCellTable(std::FILE *f, const char *number) {
  for (int i = 1; i <= xnumber + 1; ++i) {
    for (int j = 1; j <= ynumber + 1; ++j) std::fprintf(f, number, bottomCell(i, j));
    std::fputc('\n', f);
  }
}

// The column lines of the format codes 3 and 4: every grid point of every
// stored block, shared points once per block.
void writeColumnLines(std::FILE *f, int blocks) {
  for (int n = 1; n <= blocks; ++n) {
    const GridBlock &b = block[n];
    for (int i = b.i1 - 1; i <= b.i2; ++i) {
      for (int j = b.j1 - 1; j <= b.j2; ++j) {
        std::fprintf(f, "%d %lf %lf %lf %lf \n", bottomCell(i, j), zval[i][j][1], zval[i][j][znumber], xval[i][j],
                     yval[i][j]);
      }
    }
  }
}

void writeGridSections(std::FILE *f, int code, const StoredCounts &n) {
  if (code == 2) {
    std::fprintf(f, "%d %d %d %d %d %d %d %d %d %d\n", code, n.cells, n.faces, n.blocks, n.connections, n.facePairs,
                 n.nests, n.points, xnumber, ynumber);
  } else {
    std::fprintf(f, "%d %d %d %d %d %d %d %d\n", code, n.cells, n.faces, n.blocks, n.connections, n.facePairs, n.nests,
                 n.points);
  }
  if (code != 4) {
    writePoints(f, n.points, DoubleText::Fixed);
    writeCells(f, n.cells);
    writeFaces(f, n.faces);
  }
  writeBlocks(f, n.blocks, DoubleText::Fixed);
  writeConnections(f, n.connections);
  writeFacePairs(f, n.facePairs);
  writeDischargeGroups(f, DoubleText::Fixed);
  writeSurfaceGroups(f, DoubleText::Fixed);
  if (code == 1) {
    writeBottomCellTable(f, "%d ");
  } else if (code == 2) {
    writeBottomCellTable(f, " %d");
  } else {
    writeColumnLines(f, n.blocks);
  }
  if (code == 2 || code == 3 || (code == 1 && n.nests > 0)) writeNesting(f, n.nests, DoubleText::Fixed);
}

void koosurfLine(std::FILE *f, int i, int j) {
  std::fprintf(f, "%d %d %lf %lf %lf %lf\n", i, j, xval[i][j], yval[i][j], zval[i][j][1], zval[i][j][znumber]);
}

template <class Line>
void forPointsOf(const GridBlock &b, Line line) {
  for (int i = b.i1 - 1; i <= b.i2; ++i) {
    for (int j = b.j1 - 1; j <= b.j2; ++j) line(i, j);
  }
}

std::FILE *openSideFile(const char *name, bool withMessage) {
  std::FILE *f = std::fopen(name, "w");
  if (!f && withMessage) {
    char message[kStatusTextLength];
    std::snprintf(message, sizeof message, "have not written '%s' file", name);
    setStatus(mc_message, message);
  }
  return f;
}

// The side files in their fixed order; 1 when one cannot be opened (the
// files after it are then not written), else 0.
int writeSideFiles() {
  const GridBlock &first = block[1];
  const bool haveBlock = NoBlocks >= 1;
  char name[64];
  if (FlagMPI != 0) {
    std::snprintf(name, sizeof name, "koomin.mpi%d.bed", FlagMPI);
  } else {
    std::snprintf(name, sizeof name, "koomin.bed");
  }
  std::FILE *f = openSideFile(name, true);
  if (!f) return 1;
  if (FlagMakeKoomin >= 1) {
    if (haveBlock) {
      forPointsOf(first, [f](int i, int j) {
        std::fprintf(f, "%d %d %lf %lf %lf\n", i, j, xval[i][j], yval[i][j], Surfaces[3][i][j]);
      });
    }
  } else {
    for (int i = 1; i <= xnumber - 1; ++i) {
      for (int j = 1; j <= ynumber - 1; ++j) {
        std::fprintf(f, "%d %d %lf %lf %lf\n", i, j, xval[i][j], yval[i][j], zval[i][j][1]);
      }
    }
  }
  closeWrittenFile(f, name);

  if (FlagMPI != 0) {
    std::snprintf(name, sizeof name, "koosurf.mpi%d.t", FlagMPI);
  } else {
    std::snprintf(name, sizeof name, "koosurf.t");
  }
  if (!(f = openSideFile(name, true))) return 1;
  if (haveBlock) forPointsOf(first, [f](int i, int j) { koosurfLine(f, i, j); });
  closeWrittenFile(f, name);

  if (FlagMPI > 0) {
    // The two grid lines the next partition shares with this one.
    std::snprintf(name, sizeof name, "koordina.mpi%d.m", FlagMPI + 1);
    if (!(f = openSideFile(name, true))) return 1;
    if (haveBlock) {
      for (int i = first.i2 - 1; i <= first.i2; ++i) {
        for (int j = 1; j <= ynumber - 1; ++j) koosurfLine(f, i, j);
      }
    }
    closeWrittenFile(f, name);
  }

  if (!(f = openSideFile("koordina.si1", false))) return 1;
  if (haveBlock) {
    forPointsOf(first, [f](int i, int j) {
      std::fprintf(f, "%d %d %lf %lf %lf\n", i, j, xval[i][j], yval[i][j], zval[i][j][1]);
    });
  }
  closeWrittenFile(f, "koordina.si1");

  if (NoBlocks >= 2) {
    if (!(f = openSideFile("koordina.si2", false))) return 1;
    const int shift = first.j2;
    forPointsOf(block[2], [f, shift](int i, int j) {
      std::fprintf(f, "%d %d %lf %lf %lf\n", i, j - shift, xval[i][j], yval[i][j], zval[i][j][1]);
    });
    closeWrittenFile(f, "koordina.si2");
  }
  return 0;
}

}  // namespace

int WriteUnstructure() {
  const int code = FlagWriteUnstruc;
  const int dry = code < 3 ? countDryColumns() : 0;
  if (dry != 0) {
    logText("WARNING: You are writing an unstruc file which does not cover the whole domain\n"
            "This unstruc file should not be used as a start for a wetting/drying computation\n"
            "It should only be used for debugging purposes and display of graphics\n\n");
  }
  char name[64];
  const bool special = FlagCrashGrid > 1 || dry != 0;
  if (FlagCrashGrid > 1) {
    std::snprintf(name, sizeof name, "unstruc.dbg");
  } else if (dry != 0) {
    std::snprintf(name, sizeof name, "unstruc.dry");
  } else if (FlagMPI != 0) {
    std::snprintf(name, sizeof name, "unstruc.mpi%d", FlagMPI);
  } else {
    std::snprintf(name, sizeof name, "unstruc");
  }
  std::FILE *f = std::fopen(name, "w");
  if (!f) {
    if (special) {
      char message[kStatusTextLength];
      std::snprintf(message, sizeof message, "cannot open file '%s' ", name);
      setStatus(mc_message, message);
    } else {
      logPrintf("Error: can not open '%s' file\n", name);
    }
    return -4;
  }
  static char buffer[1 << 20];
  std::setvbuf(f, buffer, _IOFBF, sizeof buffer);
  writeGridSections(f, code, storedCounts());
  closeWrittenFile(f, name);
  setStatus(mc_message, " Have written unstruc file       ");
  if (writeSideFiles() != 0) return 1;
  return dry;
}

void WriteTransFiles() {
  const double interval = TransWriteFiles[1];
  if (interval != 0.0 && std::fabs(std::fmod(static_cast<double>(Iter), interval)) > 0.001) return;
  std::string name;
  std::FILE *f = openSeriesFile(1, "unstruc", "unstruc.", 1, "", "w", name);
  if (!f) return;
  static char buffer[1 << 20];
  std::setvbuf(f, buffer, _IOFBF, sizeof buffer);
  const StoredCounts current{NoCells, NoSurfaces, NoBlocks, NoConnect, NoConnFlate, NoNestflater, NoPoints};
  writeGridSections(f, 1, current);
  closeWrittenFile(f, name.c_str());
}
