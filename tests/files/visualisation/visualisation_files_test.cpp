// The Tecplot and ParaView writers on hand-built grids with fields set by
// hand: file names by switch, plan points and vectors, the averaging of the
// 3D files over the cells around a point, block seams, F 268, the nearest
// grid point, values that are not numbers and the empty list.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include "files/visualisation/point_maps.h"
#include "files/visual_file_checks.h"
#include "support/run_case.h"
#include "files/visualisation/visualisation.h"
#include "grid/column_grid.h"
#include "grid/generation/grid_build.h"
#include "grid/grid_fixture.h"
#include "grid/grid_services.h"
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

class VisualisationFiles : public GridFixture {
 protected:
  // Grid lines i1-1..i2, j1-1..j2 at x = i - 1 + shift, y = j - 1, bed 0,
  // water at 1 m, `cells` equal cells per column.
  static int addColumns(int i1, int i2, int j1, int j2, int cells, double shift = 0.0) {
    std::vector<double> levels;
    for (int m = 0; m <= cells; ++m) levels.push_back(1.0 * m / cells);
    for (int i = i1 - 1; i <= i2; ++i) {
      for (int j = j1 - 1; j <= j2; ++j) {
        xval[i][j] = i - 1 + shift;
        yval[i][j] = j - 1;
        setLineLevels(i, j, levels);
      }
    }
    const int b = addBlock(i1, i2, j1, j2);
    setColumnCells(b, cells);
    return b;
  }

  // Builds the blocks and fills their cell and point ranges, as the grid
  // generator does.
  static void build() {
    buildBlocks();
    metric();
    int cell = 1;
    for (int b = 1; b <= NoBlocks; ++b) {
      GridBlock &blk = block[b];
      int cells = 0;
      for (int i = blk.i1; i <= blk.i2; ++i) {
        for (int j = blk.j1; j <= blk.j2; ++j) cells += ant[i][j];
      }
      blk.FirstCell = cell;
      blk.LastCell = cell + cells - 1;
      cell += cells;
      blk.FirstPoint = NoPoints;
      blk.LastPoint = 0;
      for (int c = blk.FirstCell; c <= blk.LastCell; ++c) {
        for (int *corner : {Cpoint1, Cpoint2, Cpoint3, Cpoint4, Cpoint5, Cpoint6, Cpoint7, Cpoint8}) {
          blk.FirstPoint = std::min(blk.FirstPoint, corner[c]);
          blk.LastPoint = std::max(blk.LastPoint, corner[c]);
        }
      }
    }
  }

  static void oneColumn(int cells) {
    allocate(5, 5, 4);
    addColumns(2, 2, 2, 2, cells);
    build();
  }

  static void entries(std::initializer_list<TecStrucEntry> list) {
    TecStrucNo = 0;
    for (const TecStrucEntry &e : list) TecStruc[TecStrucNo++] = e;
  }

  // The cells that have point p as a corner, by a scan of every cell.
  static std::vector<int> cellsAround(int p) {
    std::vector<int> cells;
    for (int c = 1; c <= NoCells; ++c) {
      for (int *corner : {Cpoint1, Cpoint2, Cpoint3, Cpoint4, Cpoint5, Cpoint6, Cpoint7, Cpoint8}) {
        if (corner[c] == p) {
          cells.push_back(c);
          break;
        }
      }
    }
    return cells;
  }
};

struct NameCase {
  const char *label;
  int writer;  // 0 Tecplot plan, 1 Tecplot 3D, 2 ParaView plan, 3 ParaView 3D
  int series, n, printRes, printResAlways, mpi, alldataPrintouts;
  const char *name;
};

TEST_F(VisualisationFiles, NamesBySwitches) {
  oneColumn(2);
  const NameCase cases[] = {
      {"plan, fixed", 0, 1, 0, 0, 0, 0, 0, "tecplot2.dat"},
      {"plan, P 10", 0, 1, 0, 10, 0, 0, 0, "tec2_00000.dat"},
      {"plan, P 15", 0, 1, 0, 0, 5, 0, 0, "tec2_00000.dat"},
      {"plan, block 2, P 10", 0, 1, 2, 10, 0, 0, 0, "tec2_n2_00000.dat"},
      {"plan, block 2, fixed", 0, 1, 2, 0, 0, 0, 0, "tecplot2.dat"},
      {"plan, partition, P 10", 0, 1, 0, 10, 0, 3, 0, "tec2.mpi3.00000.dat"},
      {"plan, partition", 0, 1, 0, 0, 0, 3, 0, "tecplot2.mpi3.dat"},
      {"3D, fixed", 1, 1, 0, 0, 0, 0, 0, "tecplfe.dat"},
      {"3D, P 15", 1, 1, 0, 0, 5, 0, 0, "tec3_00000.dat"},
      {"3D, partition, P 10", 1, 1, 0, 10, 0, 3, 0, "tec3_00000.dat"},
      {"3D, partition", 1, 1, 0, 0, 0, 3, 0, "tecplfe.mpi3.dat"},
      {"ParaView plan of the dispatcher", 2, 1, 0, 0, 0, 0, 0, "pav2_00000.vtk"},
      {"ParaView plan of the stop test", 2, 0, 1, 0, 0, 0, 0, "ParaView2_n1.vtk"},
      {"ParaView plan, fixed", 2, 0, 0, 0, 0, 0, 0, "ParaView2.vtk"},
      {"ParaView plan, P 15 plays no part", 2, 0, 0, 0, 5, 0, 0, "ParaView2.vtk"},
      {"ParaView plan, P 10", 2, 0, 0, 10, 0, 0, 0, "pav2_00000.vtk"},
      {"ParaView plan, block 1, P 10", 2, 0, 1, 10, 0, 0, 0, "pav2_n1_00000.vtk"},
      {"ParaView plan, partition, series", 2, 1, 0, 0, 0, 2, 0, "pav2.mpi2.00000.vtk"},
      {"ParaView plan, partition", 2, 0, 0, 0, 0, 2, 0, "ParaView2.mpi2.vtk"},
      {"ParaView plan, block 1, partition", 2, 0, 1, 0, 0, 2, 0, "ParaView2_n1.mpi2.vtk"},
      {"ParaView 3D, fixed", 3, 1, 0, 0, 0, 0, 0, "ParaView3U.vtk"},
      {"ParaView 3D, restart times", 3, 1, 0, 0, 0, 0, 1, "paru3_00000.vtk"},
      {"ParaView 3D, P 15", 3, 1, 0, 0, 5, 0, 0, "paru3_00000.vtk"},
      {"ParaView 3D, partition", 3, 1, 0, 0, 0, 4, 0, "ParaView3U.mpi4.dat"},
      {"ParaView 3D, partition, P 10", 3, 1, 0, 10, 0, 4, 0, "paru.mpi4.00000.vtk"},
  };
  for (const NameCase &c : cases) {
    PrintRes = c.printRes;
    PrintResAlways = c.printResAlways;
    FlagMPI = c.mpi;
    NoAlldataPrintout = c.alldataPrintouts;
    switch (c.writer) {
      case 0: print_tecplot2d(c.series, c.n); break;
      case 1: print_tecplot3d(c.series); break;
      case 2: print_paraview2d(c.series, c.n); break;
      default: print_paraview3d(c.series); break;
    }
    std::vector<std::string> written;
    for (const auto &entry : std::filesystem::directory_iterator(".")) {
      const std::string name = entry.path().filename().string();
      if (name != "boogie") written.push_back(name);
    }
    EXPECT_EQ(written, std::vector<std::string>{c.name}) << c.label;
    for (const std::string &name : written) std::filesystem::remove(name);
  }
  // A series goes on with the next free number.
  PrintRes = 0;
  FlagMPI = 0;
  NoAlldataPrintout = 0;
  print_paraview2d(1, 0);
  print_paraview2d(1, 0);
  EXPECT_TRUE(std::filesystem::exists("pav2_00001.vtk"));
}

// A file that cannot be created ends the run with -3, for each writer.
TEST_F(VisualisationFiles, CannotCreateEndsTheRun) {
  oneColumn(1);
  for (const char *name : {"tecplot2.dat", "tecplfe.dat", "ParaView2.vtk", "ParaView3U.vtk"}) {
    std::filesystem::create_directory(name);
  }
  EXPECT_EXIT(print_tecplot2d(1, 0), testing::ExitedWithCode(253), "");
  EXPECT_EXIT(print_tecplot3d(1), testing::ExitedWithCode(253), "");
  EXPECT_EXIT(print_paraview2d(0, 0), testing::ExitedWithCode(253), "");
  EXPECT_EXIT(print_paraview3d(1), testing::ExitedWithCode(253), "");
  EXPECT_TRUE(endsWith(readFile("boogie"), "\nError writing file 'tecplot2.dat'\nError writing file 'tecplfe.dat'\n"
                                           "Error writing file 'ParaView2.vtk'\nError writing file 'ParaView3U.vtk'\n"))
      << readFile("boogie");
}

// A block of one column: 3 × 3 points (centre, edge midpoints, corners);
// the frame's vectors read the nearest column, as its scalars do (they once
// read the dry columns outside the block and showed 0 on every border).
TEST_F(VisualisationFiles, PlanOfOneColumn) {
  oneColumn(2);
  Cxvel[0] = 9.0;
  for (int c = 1; c <= 2; ++c) {
    Cxvel[c] = 0.1 * c;
    Cyvel[c] = 0.2 * c;
    Czvel[c] = 0.3 * c;
    Cpres[c] = 1000.0 * c;
  }
  entries({{1, 0, 0, 'p'}, {0, 0, 0, 'z'}});
  print_paraview2d(0, 0);
  const std::string text = readFile("ParaView2.vtk");
  EXPECT_NE(text.find("DATASET STRUCTURED_GRID\nDIMENSIONS 3 3 1\nPOINTS 9 double\n"), std::string::npos) << text;
  const std::vector<double> points = vtkSection(text, "POINTS 9 double", 27);
  const std::vector<double> expected = {0, 0, 0, 0.5, 0, 0, 1, 0, 0, 0, 0.5, 0, 0.5, 0.5, 0, 1, 0.5, 0,
                                        0, 1, 0, 0.5, 1, 0, 1, 1, 0};
  EXPECT_EQ(points, expected);
  const std::vector<double> vectors = vtkSection(text, "VECTORS Velocities float", 27);
  ASSERT_EQ(vectors.size(), 27u);
  for (int p = 0; p < 9; ++p) {
    EXPECT_DOUBLE_EQ(vectors[3 * p], 0.2) << p;
    EXPECT_DOUBLE_EQ(vectors[3 * p + 1], 0.4) << p;
    EXPECT_DOUBLE_EQ(vectors[3 * p + 2], 0.6) << p;
  }
  // Scalars: every point reads the plane cell of its column (znode 2).
  const std::vector<double> pressure = vtkSection(text, "SCALARS Pressure_1 float", 9);
  EXPECT_EQ(pressure, std::vector<double>(9, 2000.0));
  EXPECT_NE(text.find("\nSCALARS Bed_level float\nLOOKUP_TABLE default\n 0.0 0.0 0.0\n"), std::string::npos);
  EXPECT_STREQ(mc_message, "have written ParaView 2D file  ");
  EXPECT_EQ(Cxvel[0], 0.0);
  EXPECT_EQ(Cyvel[0], 0.0);
  EXPECT_EQ(Czvel[0], 0.0);

  // X3 of the Tecplot plan file: bed, the plane cell's centre, the surface.
  const std::pair<int, double> levels[] = {{1, 0.0}, {2, 0.75}, {3, 0.75}, {5, 1.0}};
  for (const auto &[node, x3] : levels) {
    znode = node;
    print_tecplot2d(1, 0);
    const TecplotFile t = parseTecplot(readFile("tecplot2.dat"));
    ASSERT_EQ(t.error, "");
    EXPECT_EQ(t.i, 3);
    EXPECT_EQ(t.j, 3);
    EXPECT_DOUBLE_EQ(t.points[4][2], x3) << node;
    EXPECT_DOUBLE_EQ(t.points[4][0], 0.5);
    EXPECT_DOUBLE_EQ(t.points[4][1], 0.5);
    // The entry's own level picks the cell: level 1, the bottom cell.
    EXPECT_DOUBLE_EQ(t.points[4][5], 1000.0);
  }
}

// One block of 3 × 2 columns of two cells: every point takes the mean of
// the cells that have it as a corner (8 inside, 4 on the bed, fewer at the
// edges), the same set a scan of every cell finds.
TEST_F(VisualisationFiles, PointsAverageTheCellsAround) {
  allocate(7, 6, 4);
  addColumns(2, 4, 2, 3, 2);
  build();
  for (int c = 1; c <= NoCells; ++c) {
    Cxvel[c] = c;
    Cyvel[c] = 100.0 * c;
    Czvel[c] = -c;
    Cpres[c] = 10.0 * c * c;
  }
  entries({{0, 0, 0, 'p'}});
  print_paraview3d(1);
  const std::string text = readFile("ParaView3U.vtk");
  const int np = block[1].LastPoint;
  const std::vector<double> velocity = vtkSection(text, "VECTORS Velocity float", 3 * np);
  const std::vector<double> pressure = vtkSection(text, "SCALARS Pressure float", np);
  ASSERT_EQ(pressure.size(), static_cast<std::size_t>(np));
  std::vector<int> counts;
  for (int p = 1; p <= np; ++p) {
    const std::vector<int> cells = cellsAround(p);
    counts.push_back(static_cast<int>(cells.size()));
    double u = 0, v = 0, pr = 0;
    for (int c : cells) {
      u += Cxvel[c];
      v += Cyvel[c];
      pr += Cpres[c];
    }
    const double n = cells.size();
    EXPECT_NEAR(velocity[3 * (p - 1)], u / n, 1e-6) << p;
    EXPECT_NEAR(velocity[3 * (p - 1) + 1], v / n, 1e-4) << p;
    EXPECT_NEAR(pressure[p - 1], pr / n, 1e-3 * pr / n) << p;
  }
  // Inner points at mid-depth have 8 cells, on the bed 4, block corners 1.
  EXPECT_EQ(*std::max_element(counts.begin(), counts.end()), 8);
  EXPECT_EQ(std::count(counts.begin(), counts.end(), 8), 2);
  EXPECT_EQ(std::count(counts.begin(), counts.end(), 1), 8);

  // The Tecplot 3D file gives the same means.
  print_tecplot3d(1);
  const TecplotFile t = parseTecplot(readFile("tecplfe.dat"));
  ASSERT_EQ(t.error, "");
  ASSERT_EQ(t.n, NoPoints);
  ASSERT_EQ(t.e, NoCells);
  for (int p = 1; p <= np; ++p) EXPECT_NEAR(t.points[p - 1][3], velocity[3 * (p - 1)], 1e-6) << p;
  for (int c = 1; c <= NoCells; ++c) EXPECT_EQ(t.elements[c - 1][0], Cpoint1[c]);
}

// Two blocks joined along a grid line: the coincident points of the seam
// take the same cells, so the Tecplot 3D file gives them equal values; the
// ParaView 3D file of block 1 averages its own cells there, not zeros.
TEST_F(VisualisationFiles, JoinedBlocksAgreeAtTheSeam) {
  allocate(11, 6, 4);
  addColumns(2, 3, 2, 3, 2);
  addColumns(6, 7, 2, 3, 2, -2.0);  // line 5 lies on line 3
  build();
  ASSERT_EQ(connectBlockSides(), 0);
  ASSERT_GT(NoConnFlate, 0);
  metric();
  for (int c = 1; c <= NoCells; ++c) {
    Cxvel[c] = 1.0 + c;
    Cyvel[c] = 0.5 * c;
    Ckinen[c] = 0.01 * c;
  }
  entries({{0, 0, 0, 'k'}});
  print_tecplot3d(1);
  const TecplotFile t = parseTecplot(readFile("tecplfe.dat"));
  ASSERT_EQ(t.error, "");
  int seamPairs = 0;
  for (int p = 1; p <= NoPoints; ++p) {
    for (int q = p + 1; q <= NoPoints; ++q) {
      if (Px[p] != Px[q] || Py[p] != Py[q] || Pz[p] != Pz[q]) continue;
      if (Py[p] != 1.0) continue;  // the inner line of the seam
      ++seamPairs;
      EXPECT_DOUBLE_EQ(t.points[p - 1][3], t.points[q - 1][3]) << p << " " << q;
      EXPECT_DOUBLE_EQ(t.points[p - 1][6], t.points[q - 1][6]) << p << " " << q;
      EXPECT_NE(t.points[p - 1][3], 0.0);
    }
  }
  EXPECT_EQ(seamPairs, 3);

  print_paraview3d(1);
  const std::string text = readFile("ParaView3U.vtk");
  const int np = block[1].LastPoint;
  const std::vector<double> velocity = vtkSection(text, "VECTORS Velocity float", 3 * np);
  ASSERT_EQ(velocity.size(), static_cast<std::size_t>(3 * np));
  for (int p = 1; p <= np; ++p) EXPECT_GT(velocity[3 * (p - 1)], 0.0) << p;
}

// The structured letters of the Tecplot 3D file: exact at a grid point,
// weighted between the two nearest grid points elsewhere.
TEST_F(VisualisationFiles, StructuredLetterAtTheNearestGridPoints) {
  allocate(7, 6, 4);
  addColumns(2, 4, 2, 3, 2);
  build();
  for (int i = 1; i <= xnumber; ++i) {
    for (int j = 1; j <= ynumber; ++j) zval[i][j][znumber] = 10.0 * i + j;
  }
  entries({{0, 0, 0, 'v'}});
  int moved = 1;
  while (Px[moved] != 2.0 || Py[moved] != 2.0) ++moved;
  const double x = Px[moved], y = Py[moved];
  Px[moved] += 0.25;  // between two grid lines of i, 3/4 nearer the first
  print_tecplot3d(1);
  const TecplotFile t = parseTecplot(readFile("tecplfe.dat"));
  ASSERT_EQ(t.error, "");
  for (int p = 1; p <= NoPoints; ++p) {
    if (p == moved) continue;
    const int i = static_cast<int>(std::lround(Px[p])) + 1, j = static_cast<int>(std::lround(Py[p])) + 1;
    EXPECT_DOUBLE_EQ(t.points[p - 1][6], 10.0 * i + j) << p;
  }
  const int i = static_cast<int>(std::lround(x)) + 1, j = static_cast<int>(std::lround(y)) + 1;
  EXPECT_DOUBLE_EQ(t.points[moved - 1][6], 0.75 * (10.0 * i + j) + 0.25 * (10.0 * (i + 1) + j));
}

// The bucketed search gives what a scan of the whole structured grid gives:
// the nearest point below 1000, the first in i-outer order among equals.
TEST_F(VisualisationFiles, NearestGridPointsAsTheFullScan) {
  allocate(30, 20, 4);
  for (int i = 1; i <= xnumber; ++i) {
    for (int j = 1; j <= ynumber; ++j) {
      const bool used = i >= 3 && j >= 2 && i <= 25;
      xval[i][j] = used ? 500000.37 + 2.0 * i + 0.3 * std::sin(j) : 0.0;
      yval[i][j] = used ? 6600000.71 + 1.5 * j + 0.2 * std::cos(i) : 0.0;
    }
  }
  xval[7][5] = xval[7][6];  // two grid points on one spot
  yval[7][5] = yval[7][6];
  NearestGridPoints nearest;
  nearest.build();
  for (int n = 0; n < 400; ++n) {
    const double x = 500000.37 + 0.13 * n - 3.0, y = 6600000.71 + 0.077 * n - 1.0;
    int i1 = -1, j1 = -1, i2 = -1, j2 = -1;
    double d1 = 0, d2 = 0;
    for (int i = 1; i <= xnumber; ++i) {
      for (int j = 1; j <= ynumber; ++j) {
        const double d = std::fabs(xval[i][j] - x) + std::fabs(yval[i][j] - y);
        if (d >= 1000) continue;
        if (i1 < 0 || d < d1) {
          i2 = i1, j2 = j1, d2 = d1;
          i1 = i, j1 = j, d1 = d;
        } else if (i2 < 0 || d < d2) {
          i2 = i, j2 = j, d2 = d;
        }
      }
    }
    const NearestGridPoints::Found f = nearest.find(x, y);
    ASSERT_EQ(f.i1, i1) << n;
    ASSERT_EQ(f.j1, j1) << n;
    ASSERT_EQ(f.i2, i2) << n;
    ASSERT_EQ(f.j2, j2) << n;
    EXPECT_EQ(f.d1, d1);
    EXPECT_EQ(f.d2, d2);
  }
  const NearestGridPoints::Found same = nearest.find(xval[7][6], yval[7][6]);
  EXPECT_EQ(same.i1, 7);
  EXPECT_EQ(same.j1, 5);
  EXPECT_EQ(same.j2, 6);
  EXPECT_EQ(nearest.find(0.0, 0.0).i1, 1);  // the unused lines at 0
}

struct NestedCase {
  int flag;
  int planI;        // Tecplot plan ZONE I
  int paraviewI;    // ParaView plan DIMENSIONS i
  int firstPoint, lastPoint, firstCell, lastCell;  // Tecplot 3D ranges (0: the whole grid)
};

// F 268 on a grid whose block 2 is nested: which block the plan files
// show, and which points and elements the Tecplot 3D file writes.
TEST_F(VisualisationFiles, NestedViewByF268) {
  allocate(12, 6, 4);
  addColumns(2, 3, 2, 2, 2);
  addColumns(6, 8, 2, 2, 2, 10.0);
  build();
  block[2].NestLevel = 1;
  const GridBlock b1 = block[1], b2 = block[2];
  const NestedCase cases[] = {
      {0, 4, 4, 1, NoPoints, 1, NoCells},
      {1, 4, 5, 1, b1.LastPoint, 1, b1.LastCell},
      {2, 5, 4, b2.FirstPoint, b2.LastPoint, b2.FirstCell, b2.LastCell},
      {3, 4, 4, 1, NoPoints, 1, NoCells},
      {100, 4, 4, 1, NoPoints, 1, NoCells},
  };
  for (const NestedCase &c : cases) {
    SCOPED_TRACE(c.flag);
    FlagViewNested = c.flag;
    print_tecplot2d(1, 0);
    EXPECT_EQ(parseTecplot(readFile("tecplot2.dat")).i, c.planI);
    print_paraview2d(0, 0);
    EXPECT_NE(readFile("ParaView2.vtk").find("DIMENSIONS " + std::to_string(c.paraviewI) + " 3 1"),
              std::string::npos);
    print_tecplot3d(1);
    const TecplotFile t = parseTecplot(readFile("tecplfe.dat"));
    ASSERT_EQ(t.error, "");
    EXPECT_EQ(t.n, c.lastPoint - c.firstPoint + 1);
    EXPECT_EQ(t.e, c.lastCell - c.firstCell + 1);
    EXPECT_DOUBLE_EQ(t.points[0][0], Px[c.firstPoint]);
    if (c.flag == 2) {
      EXPECT_EQ(t.elements[0][0], 1);
      for (const auto &point : t.points) EXPECT_EQ(point[5], 1.0);
    } else {
      EXPECT_EQ(t.points.front()[5], 0.0);
      EXPECT_EQ(t.points.back()[5], c.lastPoint > b1.LastPoint ? 1.0 : 0.0);
    }
  }
}

// VTK's ASCII reader cannot parse "nan": such values are written as 1e30
// and counted in the log.
TEST_F(VisualisationFiles, ValuesThatAreNotNumbers) {
  oneColumn(2);
  Cpres[1] = std::numeric_limits<double>::quiet_NaN();
  Cpres[2] = -std::numeric_limits<double>::infinity();
  entries({{0, 0, 0, 'p'}});
  print_paraview3d(1);
  const std::string text = readFile("ParaView3U.vtk");
  EXPECT_EQ(text.find("nan"), std::string::npos);
  EXPECT_EQ(text.find("inf"), std::string::npos);
  const std::vector<double> pressure = vtkSection(text, "SCALARS Pressure float", block[1].LastPoint);
  EXPECT_EQ(pressure.front(), 1e30);  // a bed corner: cell 1 alone
  EXPECT_EQ(pressure.back(), -1e30);  // a surface corner: cell 2 alone
  // Every point of the column touches a cell that is not a number.
  EXPECT_NE(boogie().find("Warning: 12 values that are not numbers written as 1e30 in 'ParaView3U.vtk'\n"),
            std::string::npos)
      << boogie();
  print_tecplot2d(1, 0);
  EXPECT_EQ(readFile("tecplot2.dat").find("nan"), std::string::npos);
  // VTK's own reader loads the value, where python3-vtk9 is installed.
  if (std::system("/usr/bin/python3 -c 'import vtkmodules.vtkIOLegacy' >/dev/null 2>&1") != 0) {
    GTEST_SKIP() << "python3-vtk9 is not installed";
  }
  const std::string check = std::string("/usr/bin/python3 ") + TELVA_CASES_DIR +
                            "/../tests/files/vtk_reader_check.py value ParaView3U.vtk Pressure 0 1e30";
  EXPECT_EQ(std::system(check.c_str()), 0);
}

// An empty list: the fixed columns only, one "Error" section of the P 4
// letter in the ParaView plan file, the velocities alone in the 3D file.
TEST_F(VisualisationFiles, EmptyList) {
  oneColumn(2);
  entries({});
  print_tecplot2d(1, 0);
  print_tecplot3d(1);
  print_paraview2d(0, 0);
  print_paraview3d(1);
  EXPECT_EQ(linesOf(readFile("tecplot2.dat"))[1], "VARIABLES=\"X1\",\"X2\",\"X3\",\"Ux\",\"Uy\"");
  EXPECT_EQ(linesOf(readFile("tecplfe.dat"))[1], "VARIABLES=\"X1\",\"X2\",\"X3\",\"Ux\",\"Uy\",\"No\"");
  EXPECT_EQ(parseTecplot(readFile("tecplot2.dat")).error, "");
  EXPECT_EQ(parseTecplot(readFile("tecplfe.dat")).error, "");
  const std::string plan = readFile("ParaView2.vtk");
  EXPECT_EQ(vtkSectionNames(plan), (std::vector<std::string>{"Error", "Velocities"}));
  EXPECT_NE(plan.find("\nSCALARS Error float\nLOOKUP_TABLE default\n 0.0 0.0 0.0\n 0.0 0.0 0.0\n 0.0 0.0 0.0\n\nVECTORS"),
            std::string::npos);
  EXPECT_EQ(vtkSectionNames(readFile("ParaView3U.vtk")), std::vector<std::string>{"Velocity"});
}

// The Tecplot files read back with names that hold blanks and commas.
TEST_F(VisualisationFiles, TecplotFilesParse) {
  oneColumn(3);
  setStatus(mc_v1, "after \"converged\"");
  entries({{2, 1, 0, 'f'}, {1, 0, 0, 'k'}, {0, 0, 0, 'y'}, {0, 0, 0, 'i'}});
  print_tecplot2d(1, 0);
  print_tecplot3d(1);
  const TecplotFile plan = parseTecplot(readFile("tecplot2.dat"));
  EXPECT_EQ(plan.error, "");
  EXPECT_EQ(plan.variables[5], "Bed sediment fraction, size 1, level 2");
  EXPECT_EQ(plan.points.size(), 9u);
  EXPECT_NE(linesOf(readFile("tecplot2.dat"))[0].find("after 'converged'\""), std::string::npos);
  const TecplotFile fe = parseTecplot(readFile("tecplfe.dat"));
  EXPECT_EQ(fe.error, "");
  EXPECT_EQ(fe.variables.size(), 10u);
  EXPECT_EQ(fe.n, NoPoints);
  EXPECT_EQ(fe.e, 3);
  EXPECT_DOUBLE_EQ(plan.points[4][8], 3.0);  // i of the bottom cell
  EXPECT_DOUBLE_EQ(plan.points[4][7], 1.0);  // depth
}

}  // namespace
