// Writer of the restart file. Every double is written as the shortest text
// that reads back to the same value, so a restart continues from exactly the
// state that was written (small k and epsilon included).
#include "files/restart/restart_file.h"

#include <cstdio>
#include <string>

#include "files/grid_files/grid_sections.h"
#include "files/series_files.h"
#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"
#include "base/log.h"

namespace {

void put(std::FILE *f, double value, char after) {
  putDouble(f, value, DoubleText::Exact);
  std::fputc(after, f);
}

double concentration(int k, int c) { return Cconc ? Cconc[k][c] : 0.0; }

void writeCellsWithFields(std::FILE *f, int count) {
  for (int c = 1; c <= count; ++c) {
    writeCellConnectivity(f, c);
    for (const double *field : {Cxvel, Cyvel, Czvel, Cpres, Ckinen, Cepsilon}) put(f, field ? field[c] : 0.0, ' ');
    for (int k = 0; k <= lnumber; ++k) put(f, concentration(k, c), ' ');
    std::fputc('\n', f);
  }
}

// Thickness and fractions of one layer of bed cell b, each value preceded
// (two-layer layout) or followed (general layout) by a blank.
void writeLayer(std::FILE *f, int layer, int b, bool blankFirst) {
  for (int k = 0; k <= lnumber; ++k) {
    const double value = BSedDistrib ? BSedDistrib[layer][k][b] : 0.0;
    if (blankFirst) std::fputc(' ', f);
    putDouble(f, value, DoubleText::Exact);
    if (!blankFirst) std::fputc(' ', f);
  }
}

void writePlanes(std::FILE *f, int i, int j) {
  for (int plane = 0; plane <= 3; ++plane) put(f, Surfaces[plane][i][j], ' ');
}

void writeColumns(std::FILE *f, int blocks) {
  const bool twoLayers = NoBedLayers == 2;
  for (int n = 1; n <= blocks; ++n) {
    const GridBlock &blk = block[n];
    for (int i = blk.i1 - 1; i <= blk.i2; ++i) {
      for (int j = blk.j1 - 1; j <= blk.j2; ++j) {
        const int bottom = static_cast<int>(zval[i][j][0]);
        const int b = pointbed[i][j];
        if (twoLayers) {
          std::fprintf(f, "%d ", bottom);
        } else {
          std::fprintf(f, "%d %d ", b, bottom);
        }
        put(f, zval[i][j][1], ' ');
        put(f, zval[i][j][znumber], ' ');
        put(f, xval[i][j], ' ');
        put(f, yval[i][j], ' ');
        writePlanes(f, i, j);
        if (twoLayers) {
          std::fprintf(f, "%d \n", b);
          writeLayer(f, 1, b, true);
          writeLayer(f, 0, b, true);
          std::fputc('\n', f);
        } else if (b > 0) {
          const int top = BlayerTop ? BlayerTop[b] : 0;
          std::fprintf(f, "%d\n", top);
          for (int layer = top; layer >= 0; --layer) {
            writeLayer(f, layer, b, false);
            std::fputc('\n', f);
          }
        }
      }
    }
  }
}

// The averaged bed movement of the bed statistics, in millimetres.
void writeAveragedMovement(std::FILE *f, int blocks) {
  for (int n = 1; n <= blocks; ++n) {
    const GridBlock &blk = block[n];
    for (int i = blk.i1 - 1; i <= blk.i2; ++i) {
      for (int j = blk.j1 - 1; j <= blk.j2; ++j) {
        std::fprintf(f, "%d %d ", i, j);
        put(f, 1000.0 * Surfaces[5][i][j], '\n');
      }
    }
  }
}

}  // namespace

void WriteAllData() {
  std::string name;
  std::FILE *f = openSeriesFile(1, "alldata", "alldata.", 1, "", "w", name);
  if (!f) {
    logPrintf("Error: can not open '%s' file\n", name.c_str());
    return;
  }
  static char buffer[1 << 20];
  std::setvbuf(f, buffer, _IOFBF, sizeof buffer);
  const int code = FlagMorphStatistics == 1 ? 4 : 3;
  const StoredCounts n = storedCounts();
  std::fprintf(f, "%d %d %d %d %d %d %d %d\n", code, n.cells, n.faces, n.blocks, n.connections, n.facePairs, n.nests,
               n.points);
  std::fprintf(f, "%d %d ", lnumber, NoBedLayers);
  put(f, stimet, '\n');
  writePoints(f, n.points, DoubleText::Exact);
  writeCellsWithFields(f, n.cells);
  writeFaces(f, n.faces);
  writeBlocks(f, n.blocks, DoubleText::Exact);
  writeConnections(f, n.connections);
  writeFacePairs(f, n.facePairs);
  writeDischargeGroups(f, DoubleText::Exact);
  writeSurfaceGroups(f, DoubleText::Exact);
  writeColumns(f, n.blocks);
  writeNesting(f, n.nests, DoubleText::Exact);
  if (code == 4) writeAveragedMovement(f, n.blocks);
  // A crash dump must not end the run with a different code: a write error
  // is logged and the run goes on to its own end.
  const bool failed = std::ferror(f) != 0;
  if (std::fclose(f) != 0 || failed) logPrintf("Error writing file '%s'\n", name.c_str());
}
