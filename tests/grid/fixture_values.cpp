// The values the fixture grids must show, shared by the tests on
// hand-built grids and on the grids of the generator.
#include "grid/fixture_values.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "grid/column_grid.h"
#include "grid/geometry/gradients.h"
#include "grid/grid_services.h"
#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"

// The generator puts the levels of a column by the law v = (d·s)^0.6·(n-2) with
// s = 1/(MaxDepth + 1e-10), so generated levels sit up to about 1e-10 m off the
// round values; hand-built grids meet them exactly.
constexpr double kLevelTolerance = 1e-9;

void expectUnitCube() {
  EXPECT_DOUBLE_EQ(Cdxdi[1], 1.0);
  EXPECT_DOUBLE_EQ(Cdydj[1], 1.0);
  EXPECT_DOUBLE_EQ(Cdzdk[1], 1.0);
  for (double v : {Cdydi[1], Cdzdi[1], Cdxdj[1], Cdzdj[1], Cdxdk[1], Cdydk[1]}) EXPECT_EQ(v, 0.0);
  EXPECT_DOUBLE_EQ(Cidist[1], 0.5);
  EXPECT_DOUBLE_EQ(Cjdist[1], 0.5);
  EXPECT_DOUBLE_EQ(Ckdist[1], 0.5);
  EXPECT_DOUBLE_EQ(Cxcenter[1], 0.5);
  EXPECT_DOUBLE_EQ(Cycenter[1], 0.5);
  EXPECT_DOUBLE_EQ(Czcenter[1], 0.5);
  EXPECT_DOUBLE_EQ(Careax[1], 1.0);
  EXPECT_DOUBLE_EQ(Careay[1], 1.0);
  EXPECT_DOUBLE_EQ(Careaz[1], 1.0);
  EXPECT_DOUBLE_EQ(Cvol[1], 1.0);

  struct FaceCase {
    int face, type1, type2, flag, in;
    double ax, ay, az, dz;
  };
  const FaceCase faces[] = {
      {Cflates[1], 0, 1, -1, 1, 0, 1, 0, 1},  {Cflatee[1], 2, 0, -1, -1, 1, 0, 0, 1}, {Cflaten[1], 3, 0, -1, -1, 0, 1, 0, 1},
      {Cflatew[1], 0, 4, -1, 1, 1, 0, 0, 1},   {Cflateb[1], 0, 5, -1, 1, 0, 0, 1, 0}, {Cflatet[1], 6, 0, 0, -1, 0, 0, 1, 0},
  };
  for (const FaceCase &c : faces) {
    SCOPED_TRACE("face " + std::to_string(c.face));
    const int f = c.face;
    EXPECT_DOUBLE_EQ(Farea[f], 1.0);
    EXPECT_DOUBLE_EQ(Fax[f], c.ax);
    EXPECT_DOUBLE_EQ(Fay[f], c.ay);
    EXPECT_DOUBLE_EQ(Faz[f], c.az);
    EXPECT_NEAR(Fvx[f], c.ax, 1e-15);
    EXPECT_NEAR(Fvy[f], c.ay, 1e-15);
    EXPECT_NEAR(Fvz[f], c.az, 1e-15);
    EXPECT_EQ(Ftype1[f], c.type1);
    EXPECT_EQ(Ftype2[f], c.type2);
    EXPECT_EQ(Fflagflow[f], c.flag);
    EXPECT_EQ(Fin[f], c.in);
    EXPECT_DOUBLE_EQ(Fdz[f], c.dz);
    EXPECT_DOUBLE_EQ(c.type1 ? Fdist1[f] : Fdist2[f], 0.5);
    EXPECT_EQ(c.type1 ? Fdist2[f] : Fdist1[f], 0.0);
  }
  EXPECT_EQ(Cisolve[0], 0);
  EXPECT_EQ(Cisolve[1], 1);
  EXPECT_EQ(Cisolve[2], 0);
  EXPECT_EQ(FlagHaveDoneMetric, 1);
}

void expectCubeBedCell() {
  EXPECT_EQ(NoBCells, 1);
  EXPECT_EQ(pointbed[2][2], 1);
  EXPECT_EQ(Bcellt[1], 1);
  EXPECT_EQ(Bnocells[1], 1);
  EXPECT_DOUBLE_EQ(Bdepth[1], 1.0);
  EXPECT_DOUBLE_EQ(Barea[1], 1.0);
  EXPECT_EQ(Bkooi[1], 2);
  EXPECT_EQ(Bkooj[1], 2);
  EXPECT_EQ(block[1].FirstBedCell, 1);
  EXPECT_EQ(block[1].LastBedCell, 1);
  EXPECT_EQ(Cbed[1], 1);
  EXPECT_EQ(Cbed[0], 0);
}

void expectChannelGeometry() {
  double total = 0.0;
  for (int c = 1; c <= NoCells; ++c) {
    SCOPED_TRACE("cell " + std::to_string(c));
    EXPECT_NEAR(Cvol[c], 1.0 / 9, kLevelTolerance);
    EXPECT_NEAR(Ckdist[c], 1.0 / 18, kLevelTolerance);
    EXPECT_NEAR(Cidist[c], 0.5, kLevelTolerance);
    EXPECT_NEAR(Cjdist[c], 0.5, kLevelTolerance);
    EXPECT_NEAR(Careaz[c], 1.0, kLevelTolerance);
    EXPECT_NEAR(Careax[c], 1.0 / 9, kLevelTolerance);
    EXPECT_NEAR(Careay[c], 1.0 / 9, kLevelTolerance);
    int fromBed = 1;
    for (int b = Ccellb[c]; b > 0; b = Ccellb[b]) ++fromBed;
    EXPECT_NEAR(Czcenter[c], (fromBed - 0.5) / 9, kLevelTolerance);
    total += Cvol[c];
  }
  EXPECT_NEAR(total, 40.0, 1e-11);
  for (int f = 1; f <= NoSurfaces; ++f) {
    SCOPED_TRACE("face " + std::to_string(f));
    const int t = Ftype1[f] ? Ftype1[f] : Ftype2[f];
    const bool iFace = t == 2 || t == 4, jFace = t == 1 || t == 3;
    EXPECT_NEAR(Farea[f], iFace || jFace ? 1.0 / 9 : 1.0, kLevelTolerance);
    EXPECT_NEAR(Fdz[f], iFace || jFace ? 1.0 / 9 : 0.0, kLevelTolerance);
    EXPECT_NEAR(Fvx[f], iFace ? 1.0 : 0.0, kLevelTolerance);
    EXPECT_NEAR(Fvy[f], jFace ? 1.0 : 0.0, kLevelTolerance);
    EXPECT_NEAR(Fvz[f], iFace || jFace ? 0.0 : 1.0, kLevelTolerance);
  }
  EXPECT_EQ(Ftype1[2], 2);
  EXPECT_EQ(Ftype2[2], 4);
  EXPECT_EQ(Fcell1[2], 1);
  EXPECT_EQ(Fcell2[2], 10);
  EXPECT_EQ(Fcell11[2], 0);
  EXPECT_EQ(Fcell22[2], 19);
  EXPECT_DOUBLE_EQ(Fdist1[2], 0.5);
  EXPECT_DOUBLE_EQ(Fdist2[2], 0.5);

  EXPECT_EQ(facesFlagged(1), 914);
  EXPECT_EQ(facesFlagged(0), 40);
  EXPECT_EQ(facesFlagged(-1), 292);
  int bedWalls = 0, withoutSecond = 0, outwards = 0;
  for (int f = 1; f <= NoSurfaces; ++f) {
    bedWalls += Fflagflow[f] == -1 && Ftype2[f] == 5;
    withoutSecond += Fcell2[f] == 0;
    outwards += Fin[f] == -1;
  }
  EXPECT_EQ(bedWalls, 40);
  EXPECT_EQ(withoutSecond, 166);
  EXPECT_EQ(outwards, 166);
  for (int k = 1; k <= 9; ++k) EXPECT_EQ(Cisolve[k], k);
  for (int k = 10; k <= 18; ++k) EXPECT_EQ(Cisolve[k], 81 + k);
  EXPECT_EQ(Cisolve[361], 0);
  expectClosedCells();
}

void expectChannelBedCells() {
  ASSERT_EQ(NoBCells, 40);
  // i outer, j inner, while the cells were numbered j outer.
  for (int i = 2; i <= 11; ++i) {
    for (int j = 2; j <= 5; ++j) EXPECT_EQ(pointbed[i][j], (i - 2) * 4 + j - 1) << i << "," << j;
  }
  EXPECT_EQ(Bcellt[2], 91);
  EXPECT_EQ(Bcellt[5], 10);
  EXPECT_EQ(Bcellt[40], 352);
  for (int b = 1; b <= 40; ++b) {
    EXPECT_EQ(Bnocells[b], 9);
    EXPECT_NEAR(Bdepth[b], 1.0, kLevelTolerance);  // 2·9·(1/18)
    for (int c = Bcellt[b]; c > 0; c = Ccellt[c]) EXPECT_EQ(Cbed[c], b);
  }
  ASSERT_NE(Ckdist_old, nullptr);  // F 147 keeps the half heights by default
  EXPECT_EQ(Czcenter_old, nullptr);
  for (int c = 1; c <= NoCells; ++c) EXPECT_EQ(Ckdist_old[c], Ckdist[c]);

  // A second call without a regeneration changes nothing, _old arrays included.
  const std::vector<int> cbed(Cbed, Cbed + NoCells + 1), bcellt(Bcellt, Bcellt + 41);
  const std::vector<int> oldCellt(Bcellt_old, Bcellt_old + 41), oldCount(Bnocells_old, Bnocells_old + 41);
  const std::vector<double> oldDepth(Bdepth_old, Bdepth_old + 41), depth(Bdepth, Bdepth + 41);
  BedMake();
  EXPECT_EQ(NoBCells, 40);
  EXPECT_EQ(std::vector<int>(Cbed, Cbed + NoCells + 1), cbed);
  EXPECT_EQ(std::vector<int>(Bcellt, Bcellt + 41), bcellt);
  EXPECT_EQ(std::vector<double>(Bdepth, Bdepth + 41), depth);
  EXPECT_EQ(std::vector<int>(Bcellt_old, Bcellt_old + 41), oldCellt);
  EXPECT_EQ(std::vector<int>(Bnocells_old, Bnocells_old + 41), oldCount);
  EXPECT_EQ(std::vector<double>(Bdepth_old, Bdepth_old + 41), oldDepth);
}

void expectColumnInterpolation() {
  ASSERT_NEAR(Czcenter[3], 2.5, kLevelTolerance);
  const double f[4] = {0.0, 10.0, 20.0, 30.0};
  EXPECT_NEAR(interpolatevaluez(f, 3, 1.0), 15.0, 1e-7);
  EXPECT_NEAR(interpolatevaluez(f, 3, 2.5), 30.0, 1e-7);
  EXPECT_NEAR(interpolatevaluez(f, 1, 3.0), 35.0, 1e-7);
  EXPECT_DOUBLE_EQ(interpolatevaluez(f, 3, 3.0), 30.0);
}

void expectChannelGradients() {
  for (int c = 1; c <= NoCells; ++c) {
    EXPECT_NEAR(d_dx_orth_x(Cxcenter, 1, c), 1.0, kLevelTolerance) << "cell " << c;
    EXPECT_NEAR(d_dx_orth_x(Cxcenter, 2, c), 0.0, kLevelTolerance) << "cell " << c;
    EXPECT_NEAR(d_di_orth_x(Cxcenter, 1, c), 1.0, kLevelTolerance) << "cell " << c;
    EXPECT_NEAR(d_dx_orth_x(Czcenter, 3, c), 1.0, kLevelTolerance) << "cell " << c;
    EXPECT_EQ(d_dx_orth_x(Czcenter, 4, c), 0.0) << "cell " << c;
  }
}
