// The second grid generator (F 488) in process: the channel against the main
// generator, a one-column grid worked by hand (zones, points, face numbering),
// uneven columns on one edge, two blocks joined by the later one, the line
// count rules, the roughness rule, the F 492 edge pass and the full tables.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "grid/generation/grid_build.h"
#include "grid/grid_fixture.h"
#include "grid/grid_services.h"
#include "grid/generation/second_generator.h"
#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/grid_index.h"
#include "model/points.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/status.h"
#include "model/structured.h"
#include "model/work_ranges.h"
#include "support/run_case.h"

namespace {

class SecondGenerator : public GridFixture {
 protected:
  // One column (2, 2) on grid lines i, j = 1..2 of 1 m squares, bed 0, water
  // 3 m, "G 1 4 4 11 1".
  static void oneColumn(int method) {
    UMethod2 = method;
    allocate(4, 4, 11);
    flatGrid(1, 2, 1, 2, 3.0);
    addBlock(2, 2, 2, 2);
  }
  static void allocateFor(int method, int nx, int ny) {
    UMethod2 = method;
    allocate(nx, ny, 11);
  }
};

// Every face a cell names on a side names the cell back on that side, and a
// neighbour across a side is the other cell of the face. An upper cell below
// the faces of an edge may have no face there (returned as the count).
int expectCellsReadFromFaces(bool missingAllowed = false) {
  int missing = 0;
  struct Side {
    int **face, **cell;
    bool first;
  };
  const std::array<Side, 6> sides = {{{&Cflates, &Ccells, false},
                                      {&Cflatee, &Ccelle, true},
                                      {&Cflaten, &Ccelln, true},
                                      {&Cflatew, &Ccellw, false},
                                      {&Cflateb, &Ccellb, false},
                                      {&Cflatet, &Ccellt, true}}};
  for (int c = 1; c <= NoCells; ++c) {
    for (const Side &s : sides) {
      const int f = (*s.face)[c];
      if (f == 0 && missingAllowed) {
        ++missing;
        EXPECT_EQ((*s.cell)[c], 0) << "cell " << c;
        continue;
      }
      EXPECT_GE(f, 1) << "cell " << c;
      EXPECT_EQ(s.first ? Fcell1[f] : Fcell2[f], c) << "cell " << c << " face " << f;
      EXPECT_EQ(s.first ? Fcell2[f] : Fcell1[f], (*s.cell)[c]) << "cell " << c << " face " << f;
    }
  }
  return missing;
}

// The main generator's channel and the second one with F 488 2 give the same
// cells: same counts, and after metric the same volume and centre level per
// cell number.
TEST_F(SecondGenerator, ChannelAsTheMainGenerator) {
  UMethod2 = 2;
  readChannel();
  UMethod2 = 0;
  ASSERT_EQ(Unstructure(), 1);
  metric();
  std::vector<double> volume(Cvol + 1, Cvol + 361), level(Czcenter + 1, Czcenter + 361);

  for (int method : {2, 1}) {
    SCOPED_TRACE("F 488 " + std::to_string(method));
    UMethod2 = method;
    ASSERT_EQ(Unstructure(), 0);
    EXPECT_EQ(NoCells, 360);
    EXPECT_EQ(NoSurfaces, 1246);
    EXPECT_EQ(NoPoints, 550);
    EXPECT_DOUBLE_EQ(TurbTop[5][3], 1.0);
    metric();
    for (int c = 1; c <= 360; ++c) {
      ASSERT_NEAR(Cvol[c], volume[c - 1], 1e-10) << c;
      ASSERT_NEAR(Czcenter[c], level[c - 1], 1e-10) << c;
    }
    expectCellsReadFromFaces();
    EXPECT_EQ((std::array<int, 5>{NoCells0, WCStart, WCEnd, WFStart, WFEnd}),
              (std::array<int, 5>{360, 1, 360, 1, 1246}));
    EXPECT_EQ(NoConnFlate, 0);
    for (int i = 2; i <= 11; ++i) {
      for (int j = 2; j <= 5; ++j) {
        const int bottom = pointcell[i][j];
        EXPECT_EQ(bottom, 9 * (10 * (j - 2) + (i - 2)) + 1);
        EXPECT_EQ(zval[i][j][0], bottom);
        EXPECT_EQ(Cbed[bottom], 4 * (i - 2) + (j - 2) + 1);
      }
    }
    EXPECT_EQ(block[1].LastCell, 360);
    EXPECT_EQ(block[1].WorkFlag, 1);
    EXPECT_STREQ(mc_message, "End Unstructure2");
  }
  EXPECT_NE(boogie().find("Generating grid with F 64 11 algorithm2. \n"), std::string::npos);
}

// F 488 1, TurbThick 1 m, MaxDepth 3 m: antlinT = trunc((1/3)^0.6·9 + 2) = 6;
// the fixed levels 0.3·(k-1) strictly between 1.1 and 2.9 are six, plus the
// surface: 13 lines, 12 cells, 4·13 points, 4·12 edge faces and 13 horizontal.
TEST_F(SecondGenerator, OneColumnTwoZones) {
  oneColumn(1);
  ASSERT_EQ(Unstructure(), 0);
  EXPECT_DOUBLE_EQ(TurbTop[1][1], 1.0);
  EXPECT_EQ(antlinT[1][1], 6);
  EXPECT_EQ(antlin[1][1], 13);
  EXPECT_EQ(antT[2][2], 5);
  EXPECT_EQ(ant[2][2], 12);
  EXPECT_NEAR(zdistrib[4], 0.9, 1e-12);
  EXPECT_EQ(NoCells, 12);
  EXPECT_EQ(NoPoints, 52);
  EXPECT_EQ(NoSurfaces, 61);
  const double heights[12] = {0.2, 0.2, 0.2, 0.2, 0.2, 0.2, 0.3, 0.3, 0.3, 0.3, 0.3, 0.3};
  double bottom = 0.0;
  for (int c = 1; c <= 12; ++c) {
    for (int *lower : {Cpoint1, Cpoint2, Cpoint3, Cpoint4}) EXPECT_NEAR(Pz[lower[c]], bottom, 1e-12) << c;
    for (int *upper : {Cpoint5, Cpoint6, Cpoint7, Cpoint8}) EXPECT_NEAR(Pz[upper[c]], bottom + heights[c - 1], 1e-12) << c;
    bottom += heights[c - 1];
  }
  expectCellsReadFromFaces();

  // Points line by line, j outer: (1,1) 1..13, (2,1) 14..26, (1,2) 27..39, (2,2) 40..52.
  EXPECT_EQ((std::array<int, 4>{pointint[1][1], pointint[2][1], pointint[1][2], pointint[2][2]}),
            (std::array<int, 4>{1, 14, 27, 40}));
  // Faces: i-edges, then j-edges, then the column's horizontal faces.
  EXPECT_EQ((std::array<int, 5>{intSurfI[1][2], intSurfI[2][2], intSurfJ[2][1], intSurfJ[2][2], intSurfK[2][2]}),
            (std::array<int, 5>{1, 13, 25, 37, 49}));
  // The lowest face of the west edge: P = (1,1), Q = (1,2), points P lower,
  // Q lower, Q upper, P upper; the west edge has no cell on its west side.
  EXPECT_EQ((std::array<int, 6>{Fcell1[1], Fcell2[1], Fpoint1[1], Fpoint2[1], Fpoint3[1], Fpoint4[1]}),
            (std::array<int, 6>{0, 1, 1, 27, 28, 2}));
  // The lowest face of the south j-edge: P = (1,1), Q = (2,1): P lower, P upper, Q upper, Q lower.
  EXPECT_EQ((std::array<int, 6>{Fcell1[25], Fcell2[25], Fpoint1[25], Fpoint2[25], Fpoint3[25], Fpoint4[25]}),
            (std::array<int, 6>{0, 1, 1, 2, 15, 14}));
  // The top face of the east edge belongs to the top cell, the lowest to the bottom cell.
  EXPECT_EQ((std::array<int, 4>{Fcell1[24], Fcell2[24], Fcell1[13], Fcell2[13]}), (std::array<int, 4>{12, 0, 1, 0}));
  // Bed face and surface.
  EXPECT_EQ((std::array<int, 4>{Fcell1[49], Fcell2[49], Fcell1[61], Fcell2[61]}), (std::array<int, 4>{0, 1, 12, 0}));
  EXPECT_EQ((std::array<int, 4>{Fpoint1[49], Fpoint2[49], Fpoint3[49], Fpoint4[49]}),
            (std::array<int, 4>{1, 14, 40, 27}));
  EXPECT_EQ((std::array<int, 4>{Fpoint1[61], Fpoint2[61], Fpoint3[61], Fpoint4[61]}),
            (std::array<int, 4>{13, 26, 52, 39}));
}

// F 488 2 puts the lower zone up to the surface: 10 lines, 9 cells of 1/3 m.
// With F 209 fixing MaxDepth at 3 m a 1 m column gets 6 lines: 5 cells and 6
// horizontal faces (bed, four inner, surface).
TEST_F(SecondGenerator, LowerZoneToTheSurface) {
  struct Row {
    double surface, maxDepth209;
    int lines;
  };
  oneColumn(2);
  for (const Row &r : {Row{3.0, -1.0, 10}, Row{1.0, 3.0, 6}}) {
    flatGrid(1, 2, 1, 2, r.surface);
    MaxDepth209 = r.maxDepth209;
    MaxDepth = 0.0;
    ASSERT_EQ(Unstructure(), 0);
    EXPECT_EQ(antlin[1][1], r.lines);
    EXPECT_EQ(antlinT[1][1], r.lines);
    EXPECT_EQ(NoCells, r.lines - 1);
    EXPECT_EQ(NoSurfaces - intSurfK[2][2] + 1, r.lines);
    for (int c = 1; c <= NoCells; ++c) EXPECT_NEAR(Pz[Cpoint5[c]] - Pz[Cpoint1[c]], r.surface / (r.lines - 1), 1e-12);
  }
}

// A column of 3 lower cells beside one lowered to 1 after the line counts
// (the shared lines keep 4 lower points): the shared edge has 3 faces; the
// top one pairs the two top lower cells, the middle one has nothing on the
// short side, the lowest pairs the bottom cells; the short column's west
// link ends on the top face.
TEST_F(SecondGenerator, ThreeLowerCellsBesideOne) {
  allocateFor(2, 6, 4);
  flatGrid(1, 3, 1, 2, 3.0);
  const int b = addBlock(2, 3, 2, 2);
  for (int i = 0; i <= 4; ++i) {
    for (int j = 0; j <= 3; ++j) {
      TurbTop[i][j] = 3.0;
      antlinT[i][j] = antlin[i][j] = i >= 1 && i <= 3 && j >= 1 && j <= 2 ? 4 : 0;
    }
  }
  antT[2][2] = ant[2][2] = 3;
  antT[3][2] = ant[3][2] = 1;
  block[b].FirstCell = block[b].FirstFace = block[b].FirstPoint = 1;
  buildSecondBlock(block[b]);
  ASSERT_EQ(NoCells, 4);
  const int f0 = intSurfI[2][2];
  EXPECT_EQ(f0, 4);
  EXPECT_EQ((std::array<int, 6>{Fcell1[f0], Fcell2[f0], Fcell1[f0 + 1], Fcell2[f0 + 1], Fcell1[f0 + 2], Fcell2[f0 + 2]}),
            (std::array<int, 6>{1, 4, 2, 0, 3, 4}));
  EXPECT_EQ(Cflatew[4], f0 + 2);
  EXPECT_EQ(Ccellw[4], 3);
  EXPECT_EQ((std::array<int, 3>{Ccelle[1], Ccelle[2], Ccelle[3]}), (std::array<int, 3>{4, 0, 4}));
  // The short column's cell reaches the lower top of both lines.
  EXPECT_NEAR(Pz[Cpoint5[4]], 3.0, 1e-12);
}

// Two blocks that share the grid line i = 2 are joined only by the faces of
// the later block; the earlier block's own faces there lose their cells.
TEST_F(SecondGenerator, LaterBlockJoinsTheEarlier) {
  allocateFor(2, 6, 4);
  flatGrid(1, 3, 1, 2, 3.0);
  addBlock(2, 2, 2, 2);
  addBlock(3, 3, 2, 2);
  NoConnect = 0;
  ASSERT_EQ(Unstructure(), 0);
  ASSERT_EQ(NoCells, 18);
  EXPECT_EQ(block[2].FirstCell, 10);
  EXPECT_EQ(NoConnFlate, 0);
  for (int n = 0; n < 9; ++n) {
    const int west = 1 + n, east = 10 + n;
    EXPECT_EQ(Ccelle[west], east);
    EXPECT_EQ(Ccellw[east], west);
    EXPECT_EQ(Cflatee[west], Cflatew[east]);
    EXPECT_GE(Cflatee[west], block[2].FirstFace);
  }
  // Block 1's east edge: faces 10..18 (west edge 1..9 first).
  for (int f = 10; f <= 18; ++f) EXPECT_EQ(Fcell1[f] + Fcell2[f], 0) << f;
  expectCellsReadFromFaces();
}

// A bed sloping in i under a level surface: the lines differ in their upper
// zones, so the first upper cell of a column can lie below the faces of an
// edge and has no face there. The cells still fill the water exactly, and
// faces without cells have no points and no area.
TEST_F(SecondGenerator, SlopingBedFillsTheWater) {
  UMethod2 = 1;
  readChannel();
  for (int i = 1; i <= 11; ++i) {
    for (int j = 1; j <= 5; ++j) {
      zval[i][j][1] = 0.25 * (i - 1);
      zval[i][j][11] = 3.0;
    }
  }
  ASSERT_EQ(Unstructure(), 0);
  EXPECT_GT(expectCellsReadFromFaces(true), 0);
  metric();
  double volume = 0.0, water = 0.0;
  for (int c = 1; c <= NoCells; ++c) volume += Cvol[c];
  for (int i = 2; i <= 11; ++i) water += 5.0 * (3.0 - 0.25 * (i - 1.5)) * 4 / 5.0;
  EXPECT_NEAR(volume, water, 1e-9);
  for (int f = 1; f <= NoSurfaces; ++f) {
    if (Fcell1[f] != 0 || Fcell2[f] != 0) continue;
    EXPECT_EQ(Fpoint1[f] + Fpoint2[f] + Fpoint3[f] + Fpoint4[f], 0) << f;
    EXPECT_EQ(Farea[f], 0.0) << f;
  }
}

// An edge between a line of 6 lower and 1 upper points and one of 3 lower
// and 6 upper points reserves 5 + 6 faces; the upper faces count down from
// the taller line's top to the lower top of the deeper lower zone, 3 of
// them: the last 3 reserved numbers stay empty.
TEST_F(SecondGenerator, ReservedFacesStayEmpty) {
  allocateFor(1, 4, 4);
  flatGrid(1, 2, 1, 2, 3.0);
  const int b = addBlock(2, 2, 2, 2);
  for (int k = 1; k <= 11; ++k) zdistrib[k] = 0.3 * (k - 1);
  for (int i = 1; i <= 2; ++i) {
    for (int j = 1; j <= 2; ++j) {
      TurbTop[i][j] = 1.0;
      antlinT[i][j] = i == 1 ? 6 : 3;
      antlin[i][j] = i == 1 ? 7 : 9;
    }
  }
  secondColumnCounts(2, 2, 2, 2);
  ASSERT_EQ(ant[2][2], 11);
  block[b].FirstCell = block[b].FirstFace = block[b].FirstPoint = 1;
  buildSecondBlock(block[b]);
  const int f0 = intSurfJ[2][1];
  EXPECT_EQ(intSurfJ[2][2] - f0, 11);
  for (int f = f0; f < f0 + 8; ++f) EXPECT_NE(Fcell2[f], 0) << f;
  for (int f = f0 + 8; f < f0 + 11; ++f) {
    EXPECT_EQ((std::array<int, 6>{Fcell1[f], Fcell2[f], Fpoint1[f], Fpoint2[f], Fpoint3[f], Fpoint4[f]}),
              (std::array<int, 6>{0, 0, 0, 0, 0, 0}))
        << f;
  }
}

// The line counts of one grid line, F 488 2 unless said: the depth of
// MaxDepth gives znumber - 1 lines, thin lower zones 2 and 1; with F 488 1 the
// fixed levels strictly inside (TurbTop + h/2, surface - h/2) and a surface
// line only when the surface lies more than 1e-10 above TurbTop.
TEST_F(SecondGenerator, LineCountRules) {
  struct Row {
    const char *name;
    int method;
    double top, surface;
    int lower, whole;
  };
  const Row rows[] = {
      {"deepest", 2, 2.0, 2.0, 10, 10},
      {"below MinVertDist1", 2, 0.05, 0.05, 2, 2},
      {"below MinVertDist0", 2, 0.004, 0.004, 1, 1},
      // h = 1/6 · 1 / (lower - 1): trunc((0.5)^0.6·9 + 2) = 7 lines, h = 1/6;
      // levels 0.2·k strictly between 1 + 1/12 and 2 - 1/12: 1.2, 1.4, 1.6, 1.8.
      {"upper zone", 1, 1.0, 2.0, 7, 12},
      {"surface at TurbTop", 1, 1.0, 1.0 + 1e-11, 7, 7},
  };
  for (const Row &r : rows) {
    SCOPED_TRACE(r.name);
    if (!antlinT) allocateFor(2, 4, 4);
    UMethod2 = r.method;
    flatGrid(1, 2, 1, 2, r.surface);
    TurbTop[1][1] = r.top;
    MinVertDist0 = 0.005;
    MinVertDist1 = 0.1;
    NestNoRatioLoc = 1.0;
    for (int k = 1; k <= 11; ++k) zdistrib[k] = 0.2 * (k - 1);
    secondLineCounts(1.0 / (2.0 + 1e-10), 2, 2, 2, 2);
    EXPECT_EQ(antlinT[1][1], r.lower);
    EXPECT_EQ(antlin[1][1], r.whole);
  }
}

// "G 3" levels are taken as read; without it F 488 1 spreads them from the
// lowest bed to the highest surface.
TEST_F(SecondGenerator, FixedLevelsFromG3) {
  oneColumn(1);
  FlagReadG3 = 1;
  for (int k = 1; k <= 11; ++k) zdistrib[k] = 0.25 * k;
  ASSERT_EQ(Unstructure(), 0);
  EXPECT_DOUBLE_EQ(zdistrib[2], 0.5);
  // h = 0.2: levels strictly between 1.1 and 2.9 are 1.25 .. 2.75, seven; plus the surface.
  EXPECT_EQ(antlin[1][1], 6 + 7 + 1);
}

// F 531 0.5: a 2 m lower zone keeps the depth rule while the mean roughness
// of its four clamped columns is at most 1 m and gets 2 points above that; a
// dry line gets 1 point whatever the roughness.
TEST_F(SecondGenerator, RoughnessLineCounts) {
  allocateFor(2, 5, 5);
  flatGrid(1, 3, 1, 3, 2.0);
  GridRoughnessParam = 0.5;
  MinVertDist0 = 0.005;
  MinVertDist1 = 0.1;
  NestNoRatioLoc = 1.0;
  int n = 0;
  for (int i = 2; i <= 3; ++i) {
    for (int j = 2; j <= 3; ++j) pointbed[i][j] = ++n;
  }
  struct Row {
    double roughness, depth;
    int lines;
  };
  for (const Row &r : {Row{1.0, 2.0, 10}, Row{1.0001, 2.0, 2}, Row{5.0, 0.001, 1}}) {
    for (int b = 1; b <= 4; ++b) Broughness[b] = r.roughness;
    for (int i = 0; i <= 6; ++i) {
      for (int j = 0; j <= 6; ++j) TurbTop[i][j] = r.depth;
    }
    computeAntlinRoughness(1.0 / (2.0 + 1e-10), 2, 3, 2, 3);
    EXPECT_EQ(antlinT[2][2], r.lines) << r.roughness;
    // A border line takes the columns inside the block: (1,1) sees (2,2) four times.
    EXPECT_EQ(antlinT[1][1], r.lines) << r.roughness;
  }
  // Roughness of the corner column only: the border line (1,1) sees 4 m/2 m = 2 > 0.5,
  // the line (3,3) sees it once among three smooth columns: 1 m/2 m = 0.5, not above.
  for (int b = 1; b <= 4; ++b) Broughness[b] = 0.0;
  Broughness[1] = 4.0;
  for (int i = 0; i <= 6; ++i) {
    for (int j = 0; j <= 6; ++j) TurbTop[i][j] = 2.0;
  }
  computeAntlinRoughness(1.0 / (2.0 + 1e-10), 2, 3, 2, 3);
  EXPECT_EQ(antlinT[1][1], 2);
  EXPECT_EQ(antlinT[2][2], 10);
}

// The roughness rule needs the bed cells: the first grid takes the depth
// rule, the next one the roughness of the numbered column. A 2 m roughness
// over the 1 m lower zone leaves one lower cell; the upper zone (h = 1 m)
// keeps the levels 1.8, 2.1, 2.4 and the surface.
TEST_F(SecondGenerator, RoughnessFromTheSecondGrid) {
  oneColumn(1);
  GridRoughnessParam = 0.5;
  ASSERT_EQ(Unstructure(), 0);
  EXPECT_EQ(antlinT[1][1], 6);
  ASSERT_EQ(pointbed[2][2], 1);
  Broughness[1] = 2.0;
  ASSERT_EQ(Unstructure(), 0);
  EXPECT_EQ(antlinT[1][1], 2);
  EXPECT_EQ(antlin[1][1], 6);
  EXPECT_EQ(NoCells, 5);
  EXPECT_NEAR(Pz[Cpoint5[1]], 1.0, 1e-12);
  EXPECT_EQ(pointcell_old[2][2], 1);
}

// F 492 2: an edge whose lines have no more lines than the larger cell count
// beside it gets that count + 1 at both ends, with the water at bed +
// MinVertDist0; an edge with fewer cells than lines is left alone.
TEST_F(SecondGenerator, EdgePassOfF492) {
  allocateFor(2, 6, 6);
  flatGrid(0, 4, 0, 4, 1.0);
  MinVertDist0 = 0.01;
  for (int i = 0; i <= 7; ++i) {
    for (int j = 0; j <= 7; ++j) antlin[i][j] = antlinT[i][j] = 4;
  }
  ant[2][2] = 4;  // c = 4 >= l = 4 on both edges of column (2,2)
  ant[3][2] = 1;
  ant[2][3] = 1;
  stabiliseEdgeLines(2, 3, 2, 3);
  // The i-edge of (2,2)/(3,2), lines (2,1) and (2,2), is raised; the j-edge of
  // (2,2)/(2,3), lines (1,2) and (2,2), then sees l = 5 > c and stays.
  EXPECT_EQ(antlin[1][2], 4);
  for (const auto &[i, j] : {std::pair{2, 1}, std::pair{2, 2}}) {
    EXPECT_EQ(antlin[i][j], 5) << i << "," << j;
    EXPECT_EQ(antlinT[i][j], 5) << i << "," << j;
    EXPECT_DOUBLE_EQ(zval[i][j][11], 0.01) << i << "," << j;
  }
  // The edges of column (3,3), with 0 cells beside lines of 4: left alone.
  EXPECT_EQ(antlin[3][3], 4);
  EXPECT_DOUBLE_EQ(zval[3][3][11], 1.0);
}

// With F 488 the line filters end by keeping the lower zone within the line,
// and F 528 opens a dry interior line whose water stands above its bed when
// both neighbours in i, or else both in j, are wet.
TEST_F(SecondGenerator, LineFiltersOfTheLowerZone) {
  allocateFor(2, 8, 8);
  flatGrid(0, 6, 0, 6, 1.0);
  for (int i = 0; i <= 9; ++i) {
    for (int j = 0; j <= 9; ++j) antlin[i][j] = antlinT[i][j] = 4;
  }
  FlagGridStab10 = 1;
  antlin[3][3] = antlinT[3][3] = 1;  // i-neighbours wet
  antlin[2][4] = antlinT[2][4] = 1;  // i-neighbour (3,4) dry below its bed, j-neighbours wet
  antlin[3][4] = antlinT[3][4] = 1;
  zval[3][4][1] = 2.0;
  antlinT[4][2] = 7;
  Grid1Stability(2, 5, 2, 5);
  EXPECT_EQ((std::array<int, 2>{antlin[3][3], antlinT[3][3]}), (std::array<int, 2>{2, 2}));
  EXPECT_EQ((std::array<int, 2>{antlin[2][4], antlinT[2][4]}), (std::array<int, 2>{2, 2}));
  EXPECT_EQ(antlin[3][4], 1);
  EXPECT_EQ(antlinT[4][2], 4);
}

// Tables of F 65 too small: the run ends with -4 after the count and the data
// set to enlarge, before the entry that does not fit is written.
TEST_F(SecondGenerator, FullTables) {
  struct Row {
    const char *name;
    int points, faces, cells;
    std::string tail;
  };
  const Row rows[] = {
      {"points", 40, 2000, 2000, "Error in grid generation, NoPoints = 39, increase numbers on F 65 data set\n\n"},
      {"cells", 2000, 2000, 12,
       "Error in grid generation, NoCells = 12, MaxCeller = 12\n"
       "Increase numbers on the F 65 data set in the control file\n\n"},
      {"faces", 2000, 30, 2000,
       "Error in grid generation, NoSurfaces = 36, MaxFlater = 30\n"
       "Increase numbers on the F 65 data set in the control file\n\n"},
  };
  oneColumn(1);
  for (const Row &r : rows) {
    SCOPED_TRACE(r.name);
    writeFile("boogie", "");
    MaxPunkter = r.points;
    MaxFlater = r.faces;
    MaxCeller = r.cells;
    EXPECT_EXIT(Unstructure(), ::testing::ExitedWithCode(252), "");
    EXPECT_TRUE(endsWith(boogie(), r.tail)) << boogie();
    MaxPunkter = MaxFlater = MaxCeller = 2000;
  }
}

// A full nesting list is passed on by Unstructure and ends the run as a full
// table does after the main generator.
TEST_F(SecondGenerator, FullNestingListEndsTheRun) {
  oneColumn(1);
  block[1].NestLevel = 1;
  MaxNester = 3;
  ASSERT_EQ(Unstructure(), -46);
  EXPECT_EXIT(endOnGridFailure(-46), ::testing::ExitedWithCode(254), "");
}

// F 488 above 2, or with a driver that needs the one-cell-per-column block,
// ends the first generation.
TEST_F(SecondGenerator, RefusedCombinations) {
  struct Row {
    int method, hydrostatic, shallow;
    std::string tail;
  };
  const Row rows[] = {
      {3, 0, 0, "Error for F 488 in control\nOnly 1 and 2 select the second grid generator\n\n"},
      {1, 1, 0, "Error for F 488 in control\nF 488 cannot be used with F 68 or F 311\n\n"},
      {2, 3, 0, "Error for F 488 in control\nF 488 cannot be used with F 68 or F 311\n\n"},
      {1, 0, 1, "Error for F 488 in control\nF 488 cannot be used with F 68 or F 311\n\n"},
  };
  oneColumn(1);
  for (const Row &r : rows) {
    writeFile("boogie", "");
    UMethod2 = r.method;
    Hydrostatic = r.hydrostatic;
    FlagShallowWater = r.shallow;
    EXPECT_EXIT(Unstructure(), ::testing::ExitedWithCode(251), "");
    EXPECT_TRUE(endsWith(boogie(), r.tail)) << boogie();
  }
}

}  // namespace
