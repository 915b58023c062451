// Reader of the grid file "unstruc" (format codes 1 to 4 and the older form
// without a code) and of the level files read with it. The grid, blocks and
// groups come from the file; the structured grid is rebuilt from its column
// data, and the control file's group settings override the stored ones.
#include "files/grid_files/grid_file_reader.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "files/grid_files/grid_sections.h"
#include "files/grid_files/record_reader.h"
#include "flow/drivers/flow_drivers.h"
#include "grid/generation/grid_build.h"
#include "grid/grid_services.h"
#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/control_tables.h"
#include "model/faces.h"
#include "model/grid_index.h"
#include "model/points.h"
#include "model/run_state.h"
#include "model/series.h"
#include "model/settings.h"
#include "model/status.h"
#include "model/structured.h"
#include "sediment/transport/bed_angle_file.h"
#include "base/exit_codes.h"
#include "base/log.h"
#include "surface/alpha_levels.h"
#include "surface/surface_services.h"
#include "startup/operations.h"

namespace {

// Smallest and largest x and y of the grid points read; with column lines
// those of the last block. They scale the tolerance of the "koomink" check.
struct Extents {
  double xmin = 1e20, xmax = -1e20, ymin = 1e20, ymax = -1e20;
  void take(double x, double y) {
    xmin = std::min(xmin, x);
    xmax = std::max(xmax, x);
    ymin = std::min(ymin, y);
    ymax = std::max(ymax, y);
  }
};

void setBedLevel(int i, int j, double z) {
  zval[i][j][1] = z;
  Surfaces[0][i][j] = z;
}

void setWaterLevel(int i, int j, double z) {
  zval[i][j][znumber] = z;
  zval[i][j][znumber + 1] = z;
}

// The grid point (i, j) from a bottom corner p and the top corner q above it.
void pointFromCorners(int i, int j, int p, int q) {
  xval[i][j] = Px[p];
  yval[i][j] = Py[p];
  setBedLevel(i, j, Pz[p]);
  setWaterLevel(i, j, Pz[q]);
}

// The top cell of the column of c; a loop in the file's links ends the walk.
int topCellOf(int c) {
  for (int steps = 0; Ccellt[c] > 0 && steps < NoCells; ++steps) c = Ccellt[c];
  return c;
}

// Format codes 2 or less: the bottom cell of every column, and the grid
// points around each wet column rebuilt from the corners of its cells.
void readBottomCellTable(RecordReader &in, Extents &extents) {
  for (int i = 1; i <= xnumber + 1; ++i) {
    in.at("bottom-cell row", i);
    for (int j = 1; j <= ynumber + 1; ++j) {
      int c = 0;
      int after = EOF;
      if (!in.tryInt(c) || (after = in.nextChar()) == EOF) {
        // The table ends with the file: the columns after it have no cells.
        for (int r = i; r <= xnumber + 1; ++r) {
          for (int s = (r == i ? j : 1); s <= ynumber + 1; ++s) zval[r][s][0] = 0.0;
        }
        return;
      }
      if (c < 0 || c > NoCells) in.refuse();
      zval[i][j][0] = c;
      if (c > 0) {
        const int top = topCellOf(c);
        pointFromCorners(i - 1, j - 1, Cpoint1[c], Cpoint5[top]);
        pointFromCorners(i, j - 1, Cpoint2[c], Cpoint6[top]);
        pointFromCorners(i, j, Cpoint3[c], Cpoint7[top]);
        pointFromCorners(i - 1, j, Cpoint4[c], Cpoint8[top]);
        extents.take(xval[i][j], yval[i][j]);
      }
      if (after == '\n') {
        if (j <= ynumber) zval[i][j][0] = 0.0;
        break;
      }
    }
  }
}

// Format codes 3 and 4: one line per grid point of every block.
void readColumnLines(RecordReader &in, Extents &extents) {
  int line = 0;
  for (int n = 1; n <= NoBlocks; ++n) {
    const GridBlock &b = block[n];
    extents = Extents{};
    for (int i = b.i1 - 1; i <= b.i2; ++i) {
      for (int j = b.j1 - 1; j <= b.j2; ++j) {
        in.at("column line", ++line);
        zval[i][j][0] = in.readIndex(0, NoCells);
        setBedLevel(i, j, in.readDouble());
        setWaterLevel(i, j, in.readDouble());
        xval[i][j] = in.readDouble();
        yval[i][j] = in.readDouble();
        extents.take(xval[i][j], yval[i][j]);
      }
    }
  }
}

void checkWorkBlocks() {
  const bool fits = FlagThixo > 0 ? WorkBlockNo <= NoBlocks + 1 : FlagThixo < 0 || WorkBlockNo <= NoBlocks;
  if (!fits) fatalExit(kExitInputError, "Error on first integer on G 25 data set in control file\n");
}

// The columns of the G 13 rectangles are taken out of the grid; their count.
int markOutBlocks() {
  int marked = 0;
  for (int r = 1; r <= OutBlockNo; ++r) {
    const OutBlockEntry &o = OutBlock[r];
    for (int i = std::max(o.i1, 0); i <= std::min(o.i2, xnumber + 1); ++i) {
      for (int j = std::max(o.j1, 0); j <= std::min(o.j2, ynumber + 1); ++j) {
        bedOutBlock[i][j] = 1;
        ++marked;
      }
    }
  }
  return marked;
}

// Grid points inside a dry area get the mean of their four neighbours, so
// that the points no cell rebuilt do not stay at the origin.
void smoothDryPoints(int passes) {
  for (int pass = 0; pass < passes; ++pass) {
    for (int n = 1; n <= NoBlocks; ++n) {
      const GridBlock &b = block[n];
      for (int i = b.i1 + 1; i <= b.i2 - 1; ++i) {
        for (int j = b.j1 + 1; j <= b.j2 - 1; ++j) {
          if (zval[i][j][0] != 0.0 || zval[i + 1][j][0] != 0.0 || zval[i][j + 1][0] != 0.0 ||
              zval[i + 1][j + 1][0] != 0.0) {
            continue;
          }
          xval[i][j] = 0.25 * (xval[i - 1][j] + xval[i + 1][j] + xval[i][j - 1] + xval[i][j + 1]);
          yval[i][j] = 0.25 * (yval[i - 1][j] + yval[i + 1][j] + yval[i][j - 1] + yval[i][j + 1]);
        }
      }
    }
  }
}

void logGroups() {
  for (int g = 1; g <= 9; ++g) {
    const DischargeGroup &d = DischargeStruct[g];
    if (d.discharge <= 1e-20) continue;
    logText("In ReadUnstructure:\n");
    logPrintf("Group %d, surfaces %d, xyno %d, discharge %lf l/s", g, d.faceCount, d.polygonCount, d.discharge);
    if (d.boundaryKind == 0) logText(" Dirichlet boundary condition");
    if (d.boundaryKind == 1) logText(" zero gradient boundary condition");
    logText("\n");
  }
}

bool partitionedNames() { return FlagMPI != 0 && FlagMPIkoosurf == 0; }

// "koordina": new grid points and levels over those of the grid file.
void readKoordina() {
  char name[64] = "koordina";
  if (partitionedNames()) std::snprintf(name, sizeof name, "koordina.mpi%d", FlagMPI);
  RecordReader in;
  if (!in.openOptional(name)) {
    char message[kStatusTextLength];
    std::snprintf(message, sizeof message, "have not used %s file ", name);
    setStatus(mc_message, message);
    return;
  }
  const long long lines = 5LL * xnumber * ynumber;
  for (long long line = 1; line <= lines; ++line) {
    in.at("line", static_cast<int>(line));
    int i, j;
    double v[4];
    if (!in.tryInt(i) || !in.tryInt(j) || !in.tryDouble(v[0]) || !in.tryDouble(v[1]) || !in.tryDouble(v[2]) ||
        !in.tryDouble(v[3])) {
      break;
    }
    if (i < 1 || j < 1 || i > xnumber + 1 || j > ynumber + 1) in.refuse();
    xval[i][j] = v[0];
    yval[i][j] = v[1];
    setBedLevel(i, j, v[2]);
    setWaterLevel(i, j, v[3]);
  }
  if (FlagNewGrid == 0) {
    logText("\n\nWarning: if you start a computation with a new water level given in the koordina file,\n"
            "you should specify an F 112 1 option in the control file. Otherwise, the metric is not\n"
            "correct initially.\n\n\n");
  }
  if (FlagNestTop == 3 || FlagNestTop == 5) interpolateSurfaceNested();
}

// A partition keeps the two grid lines it shares with the previous one.
void fixSharedLines() {
  if (FlagMPI < 2 || NoBlocks < 1) return;
  const GridBlock &b = block[1];
  for (int i = b.i1 - 1; i <= b.i1; ++i) {
    for (int j = b.j1; j <= b.j2; ++j) {
      bool listed = false;
      for (int k = 1; k <= FastNo && !listed; ++k) listed = iFast[k] == i && jFast[k] == j;
      if (listed) continue;
      if (FastNo + 1 >= kMaxFast) {
        fatalPrintf(kExitTableFull, nullptr, "Error: more than %d fixed points, use fewer W 6 points\n",
                    kMaxFast - 1);
      }
      ++FastNo;
      iFast[FastNo] = i;
      jFast[FastNo] = j;
    }
  }
}

void setLimitLevel(int i, int j, double level) {
  Surfaces[3][i][j] = level;
  if (FlagThixo > 0 && surfacePlanes() > 5) Surfaces[5][i][j] = level + 0.1;
}

// A limit level above the bed is lowered to the bed unless F 249 allows it.
double limitNotAboveBed(const char *file, int i, int j, double level) {
  if (level <= zval[i][j][1]) return level;
  logPrintf("Warning, %s levels above koordina levels at grid line intersection (%d,%d).\n", file, i, j);
  if (FlagAllowNegatveSedimentthickness != 0) return level;
  logPrintf("Lowering %s level from %lf m. to %lf m. at this point.\n", file, level, zval[i][j][1]);
  return zval[i][j][1];
}

void logPointMismatch(const char *file, int i, int j, double x, double y) {
  logPrintf("Error in %s file for point (%d,%d)\n", file, i, j);
  logPrintf("X-values: grid: %lf, koomin: %lf\n", xval[i][j], x);
  logPrintf("Y-values: grid: %lf, koomin: %lf\n", yval[i][j], y);
}

// 0, or -58 for a point off the grid.
int readKoomink(RecordReader &in, const Extents &extents) {
  const double tolerance = 1e-5 * std::max(extents.xmax - extents.xmin, extents.ymax - extents.ymin);
  const long long lines = 5LL * xnumber * ynumber;
  bool warned = false;
  for (long long line = 1; line <= lines; ++line) {
    in.at("line", static_cast<int>(line));
    int i, j;
    double x, y, level, unused;
    if (!in.tryInt(i) || !in.tryInt(j) || !in.tryDouble(x) || !in.tryDouble(y) || !in.tryDouble(level) ||
        !in.tryDouble(unused)) {
      break;
    }
    if (i < 0 || j < 0 || i > xnumber + 1 || j > ynumber + 1) {
      if (!warned) logText("Warning: koomink lines with grid indexes outside the G 1 sizes are skipped\n");
      warned = true;
      continue;
    }
    if (std::fabs(x - xval[i][j]) > tolerance || std::fabs(y - yval[i][j]) > tolerance) {
      logPointMismatch("koomink", i, j, x, y);
      return -58;
    }
    setLimitLevel(i, j, limitNotAboveBed("koomink", i, j, level));
  }
  return 0;
}

int readKoomin(RecordReader &in) {
  const long long lines = 5LL * xnumber * ynumber;
  for (long long line = 1; line <= lines; ++line) {
    in.at("line", static_cast<int>(line));
    int i, j;
    double x, y, level;
    if (!in.tryInt(i) || !in.tryInt(j) || !in.tryDouble(x) || !in.tryDouble(y) || !in.tryDouble(level)) break;
    if (i < 1 || j < 1) in.refuse();
    if (i >= xnumber - 1 || j >= ynumber - 1) {
      logPrintf("Error reading koomin file.\nOne of the indexes (%d,%d) in the koomin file is larger\n", i, j);
      fatalExit(kExitUnreadable, "than the G 1 data set values in the control file\n\n");
    }
    if (FlagErrorKoomin == 0 && (std::fabs(x - xval[i][j]) > 0.01 || std::fabs(y - yval[i][j]) > 0.01)) {
      logPointMismatch("koomin", i, j, x, y);
      return -58;
    }
    setLimitLevel(i, j, limitNotAboveBed("koomin", i, j, level));
  }
  return 0;
}

// Without a level file the limit of the scour comes from F 41, F 42 or F 375.
void defaultLimitLevels() {
  auto forGrid = [](auto set) {
    for (int i = 1; i <= xnumber; ++i) {
      for (int j = 1; j <= ynumber; ++j) set(i, j);
    }
  };
  auto forBlock1 = [](auto set) {
    if (NoBlocks < 1) return;
    const GridBlock &b = block[1];
    for (int i = b.i1 - 1; i <= b.i2; ++i) {
      for (int j = b.j1 - 1; j <= b.j2; ++j) set(i, j);
    }
  };
  const bool blockOnly = FlagMinBedLev == 375;
  if (FlagMinBedLev == 41) {
    forGrid([](int i, int j) { Surfaces[3][i][j] = zval[i][j][1] - MaxDepthScour; });
  } else if (FlagMinBedLev == 42) {
    forGrid([](int i, int j) { Surfaces[3][i][j] = MinLevScour; });
  } else if (blockOnly) {
    // The limit deepens by a fifth of a grid spacing per line away from the
    // two side lines of block 1.
    const GridBlock &b = block[1];
    const int im = (b.i1 + b.i2) / 2;
    const double d = std::sqrt(2.0) * std::fabs(xval[im][b.j1 - 1] - xval[im - 1][b.j1 - 1]);
    forBlock1([&b, d](int i, int j) {
      const int k = j - (b.j1 - 1);
      const double depth = std::min(MaxDepthScour, 0.2 * d * std::min(k, b.j2 - j));
      Surfaces[3][i][j] = zval[i][j][1] - depth;
    });
  } else {
    forGrid([](int i, int j) { Surfaces[3][i][j] = zval[i][j][1] - 10.0; });
  }
  auto finish = [](int i, int j) {
    if (FlagGroyneArmour == 1) {
      const double scour = zval[i][j][znumber] - zval[i][j][1] - GroyneArmour;
      Surfaces[3][i][j] = zval[i][j][1] - std::clamp(scour, 0.0, std::max(MaxDepthScour, 0.0));
    }
    if (FlagThixo > 0 && surfacePlanes() > 5) Surfaces[5][i][j] = std::max(Surfaces[3][i][j], 0.1);
  };
  if (blockOnly) {
    forBlock1(finish);
  } else {
    forGrid(finish);
  }
}

// 0, or -58 from a level file whose points are not the grid's.
int readLimitLevels(const Extents &extents) {
  RecordReader in;
  if (in.openOptional("koomink")) return readKoomink(in, extents);
  char name[64] = "koomin";
  if (partitionedNames()) std::snprintf(name, sizeof name, "koomin.mpi%d", FlagMPI);
  if (in.openOptional(name)) return readKoomin(in);
  char message[kStatusTextLength];
  std::snprintf(message, sizeof message, "Have not used %s file", name);
  setStatus(mc_message, message);
  defaultLimitLevels();
  return 0;
}

// A regeneration on the column data: the cells of format code 4, or F 112 1.
void regenerate() {
  if (NoBlocks >= 1) {
    const GridBlock &b = block[1];
    for (int i = b.i1 - 1; i <= b.i2; ++i) {
      for (int j = b.j1 - 1; j <= b.j2; ++j) {
        if (geoScaleX != 1.0 || geoScaleY != 1.0) {
          xval[i][j] *= geoScaleX;
          yval[i][j] *= geoScaleY;
        }
        if (FlagNewSurface == 1) setWaterLevel(i, j, level);
      }
    }
  }
  endOnGridFailure(operations.Unstructure());
  operations.metric();
}

// The time-series items find their cells again after the grid changes by
// the level of the cell in its column and the column's indexes.
void placeTimeSeriesItems() {
  for (int s = 0; s < TimePrintNo; ++s) {
    for (int k = 0; k < TimePrint[s].count; ++k) {
      TimePrintItem &item = TimePrint[s].item[k];
      const int c = item.number;
      if (item.letter == 'z' || item.letter == 'h' || item.letter == 'Q' || c < 1 || c > NoCells) continue;
      int below = 0;
      for (int d = Ccellb[c]; d > 0 && below < 21; d = Ccellb[d]) ++below;
      item.level = below;
      const int b = Cbed[c];
      if (b > 0) {
        item.i = Bkooi[b];
        item.j = Bkooj[b];
      }
    }
  }
}

}  // namespace

int ReadUnstructure() {
  if (!Cxvel && operations.AllocateArrays(1, 1, 1) < -0.01) {
    logText("Error in allocation of arrays. The array size is probably\n"
            "larger than what is available of memory on your computer\n\n");
    setStatus(mc_message, " Error in array allocation       ");
    return -1;
  }
  char name[64] = "unstruc";
  if (FlagMPI != 0 && FlagMPIkoosurf == 0) std::snprintf(name, sizeof name, "unstruc.mpi%d", FlagMPI);
  RecordReader in;
  if (!in.open(name)) {
    char message[kStatusTextLength];
    std::snprintf(message, sizeof message, "have not read '%s' file", name);
    setStatus(mc_message, message);
    logPrintf("Error: can not open '%s' file\n", name);
    return 1;
  }
  in.at("header", 1);
  NoPoints = in.readInt();
  NoCells = in.readInt();
  NoSurfaces = in.readInt();
  NoBlocks = in.readInt();
  NoConnect = in.readInt();
  NoConnFlate = in.readInt();
  NoNestflater = in.readInt();
  checkWorkBlocks();
  NoCells0 = NoCells;
  NoSurfaces0 = NoSurfaces;
  NoBlocks0 = NoBlocks;
  NoConnect0 = NoConnect;
  NoConnFlate0 = NoConnFlate;
  int code = 0;
  if (NoPoints <= 10) {
    code = NoPoints;
    if (code > 0) NoPoints = in.readInt();
    if (code == 2) {
      const int nx = in.readInt(), ny = in.readInt();
      if (nx != xnumber || ny != ynumber) {
        logText("Error: The two first integers on the G 1 data set in the control file\n");
        logPrintf("must be the same as when the unstruc file was created (G 1 %d %d ..).\n", nx, ny);
        fatalExit(kExitInconsistent, nullptr);
      }
    }
  }
  FlagReadUnstruc = code;
  in.skipLine();
  if (NoCells < 0) {
    fatalPrintf(kExitUnreadable, nullptr,
                "Error in reading unstruc file. Have only read %d cells, while supposed to read %d cells\n", 0,
                NoCells);
  }
  if (!countsFitTables()) {
    logPrintf("Error reading the '%s' file: the allocated arrays are smaller than the \n", name);
    fatalExit(kExitInconsistent,
              "data in the file. Increase the values on the F 65 data set in the control\nfile and try again\n\n",
              " Error reading unstruc file - arrays ");
  }
  checkFixedCounts(in);

  if (code != 4) {
    readPoints(in);
    readCells(in);
    readFaces(in);
  }
  FlagHaveDoneMetric = 0;
  for (int b = 1; b <= NoBlocks; ++b) {
    if (const int result = readBlockLine(in, b); result != 0) return result;
  }
  readConnections(in);
  readFacePairs(in);
  if (code >= 0) readDischargeGroups(in, code, false);
  readSurfaceGroups(in);
  Extents extents;
  if (code <= 2) {
    readBottomCellTable(in, extents);
  } else {
    readColumnLines(in, extents);
  }
  if (code != 4) readNesting(in);

  applyGroupOverrides();
  if (FlagOutflow >= 1 && FlagOutflow <= 9) DischargeStruct[FlagOutflow].type = 1;
  const int outColumns = markOutBlocks();
  if (code <= 2) smoothDryPoints(NoBlocks >= 2 ? std::max(10, outColumns) : outColumns);
  if (code != 4) operations.metric();
  setStatus(mc_message, " Have read unstruc file       ");
  if ((FlagGenerateUpFlux > 0 || FlagGenerateDownFlux > 0) && DischargeStruct[1].faceCount == 0) setFluxes();
  operations.SetiPresjPres();
  logGroups();
  readKoordina();
  fixSharedLines();
  if (const int result = readLimitLevels(extents); result != 0) return result;
  if (FlagOpenFOAMsurface == 1) {
    operations.metric();
    OpenFOAM_MakeSurface();
  }
  operations.readBedrough();
  ArmapMake();
  if (code == 4 || FlagNewGrid == 1) regenerate();
  operations.BedMake();
  placeTimeSeriesItems();
  if (FlagThixo == 1 && NoBlocks >= 1) block[1].LayerMark = 1;
  if (NoCells > 100000) graph = 'Z';
  if (FlagTFS2 > 0 && Bdeltah) std::fill(Bdeltah + 1, Bdeltah + NoBCells + 1, 0.0);
  if (FlagBedAngles > 0) readBedangle();
  nestlevmax = 0;
  for (int b = 1; b <= NoBlocks; ++b) nestlevmax = std::max(nestlevmax, block[b].NestLevel);
  return 0;
}
