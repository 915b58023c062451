// The optional steps of the geometry pass on the channel built by hand (ten
// by four columns of nine cells of 1 x 1 x 1/9 m; column (i, j) has its
// bottom cell ((j-2)*10 + i-2)*9 + 1): collapsed-cell corrections, small-face
// cuts, tilted side faces, partition borders and discharge-face levels.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "grid/column_grid.h"
#include "grid/grid_fixture.h"
#include "grid/grid_services.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/side_tables.h"
#include "model/structured.h"

namespace {

constexpr double kSide = 1.0 / 9.0;  // area of a side face, m2

int bottomOf(int i, int j) { return ((j - 2) * 10 + (i - 2)) * 9 + 1; }

// The channel read, `lines` changed by the test, then built and measured.
void channelWith(const std::function<void()> &lines, const std::function<void()> &settings) {
  readCaseGrid("channel");
  if (::testing::Test::HasFatalFailure()) return;
  lines();
  uniformLevels(1, 10);
  setColumnCells(1, 9);
  buildBlocks();
  settings();
  metric();
}

class GeometryVariants : public GridFixture {};

struct CollapseCase {
  int variant;
  double eastArea, northArea, westArea, volume;  // of cell 1 (collapsed, as is cell 10 east of it)
};

TEST_F(GeometryVariants, CollapsedCellCorrections) {
  const CollapseCase rows[] = {
      // The face between two collapsed cells is doubled twice.
      {2, 4 * kSide, 2 * kSide, kSide, kSide},
      {3, kSide, kSide, kSide, 2 * kSide},
      {0, kSide, kSide, kSide, kSide},
  };
  channelWith([] {}, [] {});
  for (const CollapseCase &r : rows) {
    SCOPED_TRACE(r.variant);
    Ctrekant[1] = Ctrekant[10] = 5;
    FlagCorrTrekant = r.variant;
    FlagHaveDoneMetric = 0;
    metric();
    EXPECT_NEAR(Farea[Cflatee[1]], r.eastArea, 1e-12);
    EXPECT_NEAR(Farea[Cflaten[1]], r.northArea, 1e-12);
    EXPECT_NEAR(Farea[Cflatew[1]], r.westArea, 1e-12);  // a boundary: nothing beyond
    EXPECT_NEAR(Cvol[1], r.volume, 1e-12);
    EXPECT_NEAR(Fax[Cflatee[1]], kSide, 1e-12);  // the area vector stays
    EXPECT_NEAR(Cvol[19], kSide, 1e-12);
  }
}

// F 159 fifth value 5: the north face of a column 1e-8 m wide (1.1e-9 m2)
// is cut: no cells on it, closed, and both cells lose the neighbour.
TEST_F(GeometryVariants, SmallFacesAreCut) {
  channelWith([] {
        for (int j = 1; j <= 5; ++j) xval[3][j] = 1.0 + 1e-8;
      },
      [] { FlagGridStab5 = 5; });
  const int c = bottomOf(3, 2), north = bottomOf(3, 3);
  const int f = Cflaten[c];
  EXPECT_LT(Farea[f], 1e-8);
  EXPECT_EQ(Fcell1[f], 0);
  EXPECT_EQ(Fcell2[f], 0);
  EXPECT_EQ(Fflagflow[f], 0);
  EXPECT_EQ(Ccelln[c], 0);
  EXPECT_EQ(Ccells[north], 0);
  // A face of full size keeps its cells; so do the top and bottom faces.
  EXPECT_EQ(Fcell1[Cflaten[1]], 1);
  EXPECT_EQ(Fcell2[Cflatet[c]], c + 1);
}

// The same grid without F 159 keeps the tiny face as a flow face.
TEST_F(GeometryVariants, SmallFacesStayWithoutF159) {
  channelWith([] {
        for (int j = 1; j <= 5; ++j) xval[3][j] = 1.0 + 1e-8;
      },
      [] {});
  const int c = bottomOf(3, 2);
  EXPECT_EQ(Fflagflow[Cflaten[c]], 1);
  EXPECT_EQ(Ccelln[c], bottomOf(3, 3));
}

// F 230: under a level surface the side faces keep a normal z of exactly 0;
// under a surface sloping in x they tilt upwards, as unit vectors.
TEST_F(GeometryVariants, TiltedSideFaces) {
  channelWith([] {}, [] { FlagTiltSurf = 1; });
  for (int f = 1; f <= NoSurfaces; ++f) {
    if (Fcell1[f] > 0 && Fcell2[f] > 0 && Ftype1[f] <= 4) { ASSERT_EQ(Fvz[f], 0.0) << "face " << f; }
  }
}

TEST_F(GeometryVariants, TiltedSideFacesUnderASlope) {
  channelWith([] {
        for (int i = 1; i <= 11; ++i) {
          for (int j = 1; j <= 5; ++j) zval[i][j][znumber] = 1.0 + 0.05 * (11 - i);
        }
      },
      [] { FlagTiltSurf = 1; });
  const int c = bottomOf(5, 3) + 8, f = Cflatee[c];  // a top cell's east face
  const double a = 0.5 * (Fvz[Cflatet[c]] + Fvz[Cflatet[Ccelle[c]]]);
  const double s = std::sqrt(1.0 - a * a);
  EXPECT_GT(Fvz[f], 0.04);
  EXPECT_NEAR(Fvz[f], s / std::sqrt(1.0 + s * s), 1e-9);
  EXPECT_NEAR(Fvx[f] * Fvx[f] + Fvy[f] * Fvy[f] + Fvz[f] * Fvz[f], 1.0, 1e-12);
  EXPECT_NEAR(Faz[f], Farea[f] * Fvz[f], 1e-15);
  // A boundary face is not tilted.
  EXPECT_NEAR(Fvz[Cflatew[bottomOf(2, 3) + 8]], 0.0, 1e-12);
}

// F 308: the walls at the two i-ends of block 1 become open partition
// borders; the side walls at the j-ends stay walls.
TEST_F(GeometryVariants, PartitionBorders) {
  channelWith([] {}, [] { FlagMPI = 1; });
  for (int j = 2; j <= 5; ++j) {
    for (int c = bottomOf(2, j); c < bottomOf(2, j) + 9; ++c) ASSERT_EQ(Fflagflow[Cflatew[c]], 0) << "cell " << c;
    for (int c = bottomOf(11, j); c < bottomOf(11, j) + 9; ++c) ASSERT_EQ(Fflagflow[Cflatee[c]], 0) << "cell " << c;
  }
  EXPECT_EQ(Fflagflow[Cflates[bottomOf(5, 2)]], -1);
}

TEST_F(GeometryVariants, WallsWithoutPartition) {
  channelWith([] {}, [] {});
  EXPECT_EQ(Fflagflow[Cflatew[1]], -1);
  EXPECT_EQ(Fflagflow[Cflatee[bottomOf(11, 2)]], -1);
}

// F 137: a side of a cell that touches several cells of the column beyond
// makes the facing face of each of them see the cell as its neighbour.
TEST_F(GeometryVariants, LayeredColumnsSeeTheirNeighbours) {
  readCaseGrid("channel", "F 137 1\n");
  if (HasFatalFailure()) return;
  uniformLevels(1, 10);
  setColumnCells(1, 9);
  buildBlocks();
  // Cell 1 touches cells 10 and 11 to the east; cell 20 touches 11 and 12 to the west.
  Cncelle[1] = 2;
  Cqncelle[1][0] = 10;
  Cncellw[20] = 2;
  Cqncellw[20][0] = 11;
  metric();
  for (int m : {10, 11}) {
    const int f = Cflatew[m];
    EXPECT_EQ(Fcell1[f], 1) << "cell " << m;
    EXPECT_EQ(Ftype1[f], 2) << "cell " << m;
    EXPECT_EQ(Fcell11[f], 0) << "cell " << m;  // nothing west of cell 1
    EXPECT_NEAR(Fdist1[f], 0.5, 1e-12) << "cell " << m;
  }
  for (int m : {11, 12}) {
    const int f = Cflatee[m];
    EXPECT_EQ(Fcell2[f], 20) << "cell " << m;
    EXPECT_EQ(Ftype2[f], 4) << "cell " << m;
    EXPECT_EQ(Fcell22[f], 29) << "cell " << m;
  }
  EXPECT_NEAR(Fdist2[Cflatew[10]], 0.5, 1e-12);
}

// The level of each discharge-group face, counted down its column (1 on the
// bed): filled with F 174 or an "inflow" table, else left as it was.
struct LevelGate {
  const char *name;
  int cyclic, inflowColumns;
  bool filled;
};

TEST_F(GeometryVariants, DischargeFaceLevels) {
  channelWith([] {}, [] {});
  const LevelGate rows[] = {{"none", 0, 0, false}, {"F 174", 1, 0, true}, {"inflow", 0, 3, true}};
  DischargeGroup &g = DischargeStruct[1];
  g.faceCount = 9;
  for (int k = 0; k < 9; ++k) g.faces[k] = Cflatew[9 - k];  // top cell first
  for (const LevelGate &r : rows) {
    SCOPED_TRACE(r.name);
    for (int k = 0; k < 9; ++k) g.faceLevels[k] = -1;
    FlagCyclic = r.cyclic;
    inflowj = r.inflowColumns;
    FlagHaveDoneMetric = 0;
    metric();
    for (int k = 0; k < 9; ++k) EXPECT_EQ(g.faceLevels[k], r.filled ? 9 - k : -1) << "entry " << k;
  }
}

}  // namespace
