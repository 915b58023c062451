// The transient free surface in-process on the channel (10 x 4 columns of
// nine cells, 1 m squares, surface 1 m): the level change of each rule of
// F 36 and its limiters, the spreading onto the corners, the boundary levels,
// the slide and groundwater coupling, the source mode and a whole step.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/series.h"
#include "model/settings.h"
#include "model/status.h"
#include "model/structured.h"
#include "surface/transient/corner_spreading.h"
#include "surface/transient/slide_coupling.h"
#include "surface/surface_fixture.h"
#include "surface/surface_services.h"
#include "surface/transient/transient_boundary_levels.h"
#include "surface/transient/transient_surface.h"
#include "turbulence/thixotropic_damping.h"

namespace {

using TransientSurface = SurfaceFixture;

int bottomCell(int i, int j) { return static_cast<int>(zval[i][j][0]); }

// Surfaces planes 5 to 7, which the grid has only when a slide layer was
// asked for before the tables were allocated.
struct ExtraPlanes {
  std::vector<double> store;
  std::vector<double *> rows;
  std::vector<double **> planes;
  double ***saved;
  ExtraPlanes() : saved(Surfaces) {
    const int nx = xnumber + 2, ny = ynumber + 2;
    store.assign(3 * nx * ny, 0.0);
    for (int n = 0; n < 3 * nx; ++n) rows.push_back(&store[n * ny]);
    for (int p = 0; p < 5; ++p) planes.push_back(Surfaces[p]);
    for (int p = 0; p < 3; ++p) planes.push_back(&rows[p * nx]);
    Surfaces = planes.data();
  }
  ~ExtraPlanes() { Surfaces = saved; }
};

void setLevels(double z) {
  for (int i = 0; i <= xnumber + 1; ++i) {
    for (int j = 0; j <= ynumber + 1; ++j) zval[i][j][znumber] = zval[i][j][znumber + 1] = z;
  }
}

void setVelocity(double u, double v, double w) {
  for (int c = 1; c <= NoCells; ++c) Cxvel[c] = u, Cyvel[c] = v, Czvel[c] = w;
}

// Column (5, 3) with the hand values of the rules: Fe = 100 and Fw = 110 kg/s
// at its top cell, 50 and 60 at its bottom cell, top face 4 m2 and flat,
// dt = 1 s, RelaxTFS 0.1.
int handColumn() {
  for (int f = 0; f <= NoSurfaces; ++f) Fflux[f] = 0.0;
  setVelocity(0.0, 0.0, 0.0);
  const int top = topCell(5, 3), bot = bottomCell(5, 3);
  Fflux[Cflatee[top]] = 100.0;
  Fflux[Cflatew[top]] = 110.0;
  Fflux[Cflatee[bot]] = 50.0;
  Fflux[Cflatew[bot]] = 60.0;
  const int tf = Cflatet[top];
  Farea[tf] = Faz[tf] = 4.0;
  Fax[tf] = Fay[tf] = 0.0;
  TimeStep = 1.0;
  RelaxTFS = 0.1;
  return top;
}

}  // namespace

TEST_F(TransientSurface, RulesGiveTheHandValues) {
  struct Row {
    const char *name;
    int rule;
    std::function<void(int top)> set;
    double dh;
  };
  const double rule1 = (2000.0 / 9810.0 - 1.0 / 18.0) * 0.1;
  const Row rows[] = {
      {"11: relaxed flux balance", 11, [](int) {}, 0.00025},
      {"16: flux balance", 16, [](int) {}, 0.0025},
      {"14: kinematic on a flat top", 14, [](int t) { Cxvel[t] = 0.7, Czvel[t] = 0.03; }, 0.03},
      {"15: mean of 14 and 16", 15, [](int t) { Czvel[t] = 0.03; }, 0.01625},
      {"12: bottom cell's sides", 12, [](int) {}, 0.0025},
      {"19: still column takes rule 12", 19, [](int t) { Fflux[Cflatee[t]] = 0.0; }, 0.0025},
      {"19: fast column takes rule 15", 19, [](int t) { Cxvel[t] = 1.0, Czvel[t] = 0.03; }, 0.01625},
      {"1: pressure head", 1, [](int t) { Cpres[t] = 2000.0; }, rule1},
      {"18: bottom inflow 20 kg/s", 18, [](int t) { Fflux[Cflateb[t]] = 20.0; }, 0.0075},
      {"18: bottom inflow capped", 18, [](int t) { Fflux[Cflateb[t]] = 300.0; }, 0.055},
      {"17: W 0.5", 17, [](int t) { Czvel[t] = 0.03, TFS17WeightPresCorr = 0.5; }, 0.01625},
      {"3: undefined, no slide", 3, [](int) {}, 0.0},
  };
  channel();
  for (const Row &row : rows) {
    SCOPED_TRACE(row.name);
    const int top = handColumn();
    row.set(top);
    FlagTFS = row.rule;
    EXPECT_NEAR(transientLevelChange(5, 3), row.dh, 1e-12);
  }
}

TEST_F(TransientSurface, SlideAdditionsOfRuleSeventeen) {
  channel();
  const int top = handColumn();
  const int b = Cbed[bottomCell(5, 3)];
  ThixoExpansion = 1.0;
  FlagTFS = 17;
  TFS17WeightPresCorr = 1.0;
  // The top (1 m) never sinks below the limit of the movable bed.
  FlagThixo = 1;
  Fflux[Cflatee[top]] = 2110.0;  // Q = -0.5 m
  for (double limit : {0.8, 1.2}) {
    for (int i : {4, 5}) {
      for (int j : {2, 3}) Surfaces[3][i][j] = limit;
    }
    EXPECT_NEAR(transientLevelChange(5, 3), limit < 1.0 ? -0.2 : 0.0, 1e-12) << "limit " << limit;
  }
  // A rigid slide: the mean change of its region (label 9) comes off.
  handColumn();
  FlagThixo = 3;
  BVal[0] = 7, BVal[1] = 9, BVal[2] = 0, BVal[3] = 9;
  kFlux[0] = 0.5, kFlux[1] = 0.001, kFlux[3] = 0.5;
  Bcellth[b] = 9;
  EXPECT_NEAR(transientLevelChange(5, 3), 0.0015, 1e-12);
  // Settling mud expands by F 332 and its solid fraction follows.
  BVal[0] = 0;
  ThixoExpansion = 1.2;
  std::vector<double> fraction(NoBCells + 1, 0.6);
  double *layers[2] = {fraction.data(), fraction.data()};
  Bsolidfraction = layers;
  EXPECT_NEAR(transientLevelChange(5, 3), 0.003, 1e-12);
  EXPECT_NEAR(fraction[b], 0.6003764115432872, 1e-12);
  Bsolidfraction = nullptr;
}

TEST_F(TransientSurface, LimitersOfF359AndF530) {
  struct Row {
    const char *name;
    int limitSurf;
    double uLimit, speed, dh, expected;
  };
  const double half = 1.0 / 18.0;  // Ckdist of the top cell
  const Row rows[] = {
      {"F 359: slow column may not rise", 0, 0.5, 0.3, 0.01, 0.0},
      {"F 359: slow column may fall", 0, 0.5, 0.3, -0.01, -0.01},
      {"F 359: fast column rises by the excess", 0, 0.5, 1.0, 0.01, 0.0005},
      {"F 530 1: half the top cell", 1, 0.0, 1.0, 0.1, half},
      {"F 530 1: also downward", 1, 0.0, 1.0, -0.1, -half},
      {"F 530 2: c 0.2", 2, 0.0, 1.0, 0.1, 0.01},
      {"F 530 3: c 0.1", 3, 0.0, 1.0, 0.1, 0.005},
      {"F 530 4: c 0.3", 4, 0.0, 1.0, 0.1, 0.015},
      {"F 530 5: c 0.25", 5, 0.0, 1.0, 0.1, 0.0125},
      {"F 530 2: slow water only clamps", 2, 0.0, 0.01, 0.1, half},
      {"F 530 6: nothing", 6, 0.0, 1.0, 0.1, 0.1},
  };
  channel();
  TimeStep = 1.0;
  SurfUFactor = 0.001;
  const int top = topCell(5, 3);
  for (const Row &row : rows) {
    SCOPED_TRACE(row.name);
    FlagLimitSurf = row.limitSurf;
    SurfULimit = row.uLimit;
    Cxvel[top] = row.speed;
    Cyvel[top] = Czvel[top] = 0.0;
    EXPECT_NEAR(limitLevelChange(row.dh, top), row.expected, 1e-12);
  }
}

TEST_F(TransientSurface, CornerWeightsFollowTheFlow) {
  struct Row {
    const char *name;
    int i, j;
    double u, dh;
    int upwind, diffusive, minFlag;
    double inc[4];
  };
  const double fall = 3.5 * 3.5 / 981.0 - 1.0;  // the deepest fall at 3.5 m/s in 1 m
  const Row rows[] = {
      {"subcritical along +i: corners 1 and 4", 5, 3, 0.5, 0.01, 1, 0, 1, {0.005, 0.0, 0.0, 0.005}},
      {"no south neighbour: corner 1 doubled", 5, 2, 0.5, 0.01, 1, 0, 1, {0.01, 0.0, 0.0, 0.005}},
      {"supercritical: corners 2 and 3", 5, 3, 5.0, 0.01, 1, 0, 1, {0.0, 0.005, 0.005, 0.0}},
      {"every increment at most 10 % of its depth", 5, 3, 0.5, 5.0, 1, 0, 1, {0.1, 0.0, 0.0, 0.1}},
      {"still column: no change", 5, 3, 0.0, 0.01, 1, 0, 1, {0.0, 0.0, 0.0, 0.0}},
      {"still column, F 179 1 2: quarters", 5, 3, 0.0, 0.01, 1, 2, 1, {0.0025, 0.0025, 0.0025, 0.0025}},
      {"equal weights at a corner column", 2, 2, 0.5, 0.01, 0, 0, 1, {0.01, 0.005, 0.0025, 0.005}},
      {"fall raised to the depth less U^2/981", 5, 3, 3.5, -2.0, 1, 0, 0, {0.0, 0.5 * fall, 0.5 * fall, 0.0}},
  };
  channel();
  for (const Row &row : rows) {
    SCOPED_TRACE(row.name);
    setLevels(1.0);
    setVelocity(row.u, 0.0, 0.0);
    FlagSurfUpwind = row.upwind;
    FlagSurfDiffusive = row.diffusive;
    TFSminFlag = row.minFlag;
    TFSdampwall = 2.0;
    double dh = row.dh, inc[4];
    spreadLevelChange(row.i, row.j, dh, inc);
    const int ci[4] = {row.i - 1, row.i, row.i, row.i - 1}, cj[4] = {row.j - 1, row.j - 1, row.j, row.j};
    for (int k = 0; k < 4; ++k) {
      EXPECT_NEAR(inc[k], row.inc[k], 1e-12) << "corner " << k + 1;
      EXPECT_NEAR(zval[ci[k]][cj[k]][znumber], 1.0 + row.inc[k], 1e-12) << "corner " << k + 1;
    }
  }
  // The Froude number is the column's before it moves; a dry corner keeps
  // its level.
  setLevels(1.0);
  setVelocity(0.5, 0.0, 0.0);
  FlagSurfUpwind = 1, FlagSurfDiffusive = 0, TFSminFlag = 1;
  zval[4][2][znumber] = zval[4][2][1];
  double dh = 0.01, inc[4];
  spreadLevelChange(5, 3, dh, inc);
  EXPECT_NEAR(BFroude[Cbed[bottomCell(5, 3)]], 0.5 / std::sqrt(9.81), 1e-12);
  EXPECT_EQ(inc[0], 0.0);
  EXPECT_EQ(zval[4][2][znumber], zval[4][2][1]);
}

TEST_F(TransientSurface, SeriesLevelsInterpolateAndHold) {
  std::vector<double> time{0.0, 100.0}, level{1.0, 1.2};
  TimeInTime = time.data();
  TimeInNo = 2;
  struct Row {
    int rows;
    double at, level;
  } const rows[] = {{2, 50.0, 1.1}, {2, 0.0, 1.0}, {2, 150.0, 1.2}, {1, 50.0, 1.0}};
  for (const Row &row : rows) {
    TimeInNo = row.rows;
    stimet = row.at;
    EXPECT_NEAR(seriesLevelAt(level.data()), row.level, 1e-12) << row.rows << " rows at " << row.at << " s";
  }
}

TEST_F(TransientSurface, SeriesLevelsAtTheGroups) {
  channel();
  setLevels(1.0);
  setGroup(2, 0, 7500.0, downstreamFaces());
  setGroup(3, 0, 7500.0, upstreamFaces());  // a second outflow group
  imposeSeriesLevels(1.3, -1.0);
  for (int j = 1; j <= 5; ++j) {
    EXPECT_EQ(levelAt(11, j), 1.3) << "first outflow group, point " << j;
    EXPECT_EQ(levelAt(1, j), 1.0) << "second outflow group, point " << j;
  }
  imposeSeriesLevels(0.0, 0.0);  // levels of 0 or below are not imposed
  EXPECT_EQ(levelAt(11, 3), 1.3);
  // Every inflow group takes the inflow level.
  setGroup(3, 1, 7500.0, upstreamFaces());
  imposeSeriesLevels(-1.0, 1.4);
  EXPECT_EQ(levelAt(1, 1), 1.4);
  EXPECT_EQ(levelAt(1, 5), 1.4);
  EXPECT_EQ(levelAt(11, 3), 1.3);
  // The minimum depth of F 403 at the first outflow group only.
  TFSminDepth = 0.02;
  zval[11][3][znumber] = 0.001;
  zval[11][4][znumber] = 0.5;
  setGroup(3, 0, 7500.0, upstreamFaces());
  zval[1][3][znumber] = 0.001;
  outflowMinimumDepth();
  EXPECT_NEAR(levelAt(11, 3), 0.02, 1e-15);
  EXPECT_EQ(levelAt(11, 4), 0.5);
  EXPECT_EQ(levelAt(1, 3), 0.001);
  // Without a series, or for a layer block, both levels are absent.
  TimeInNo = 0;
  EXPECT_EQ(transientOutflowLevel(1), -1.0);
  EXPECT_EQ(transientInflowLevel(1), -1.0);
}

TEST_F(TransientSurface, FrictionSlopeRules) {
  // At 1 m/s in 1 m of water with M = 50 the slope is 1/2500, the fall over
  // one 1 m cell 0.0004 m.
  const double dz = 0.0004;
  struct Row {
    const char *name;
    int damp;
    bool inflow;
    double outflowLevel;
    std::vector<std::pair<int, double>> expected;  // point row i on the wall line j = 1 -> level
  };
  const Row rows[] = {
      {"F 353 1 outflow: one-cell rule", 1, false, -1.0, {{11, 1.05 - dz}, {10, 1.05}}},
      {"F 353 1 outflow under a series level: untouched", 1, false, 1.3, {{11, 1.0}}},
      {"F 353 1 inflow: four-row rule", 1, true, -1.0,
       {{1, 0.5 * (1.0 + dz) + 0.3 * (1.0 + 2 * dz) + 0.15 * (1.0 + 3 * dz) + 0.05 * (1.0 + 4 * dz)}}},
      {"F 353 2 outflow: inward blend", 2, false, -1.0,
       {{11, 1.0}, {10, (1.0 + dz) * 0.9 + 1.05 * 0.1}, {9, ((1.0 + dz) * 0.9 + 1.05 * 0.1 + dz) * 0.8 + 0.2}}},
      {"F 353 2 inflow west: four-row rule with smoothing", 2, true, -1.0,
       {{1, 1.0007}, {2, 0.25 * (1.0007 + 1.0) + 0.5}}},
      {"F 353 4 inflow west: outward blend", 4, true, -1.0, {{1, 1.0}, {2, (1.0 + dz) * 0.9 + 0.1}}},
      {"F 353 5 inflow west: one-cell rule, then three-point smoothing", 5, true, -1.0,
       {{1, 1.0 + dz}, {2, 0.25 * 1.0 + 0.5 * 1.0 + 0.25 * (1.0 + dz)}}},
  };
  channel();
  setVelocity(1.0, 0.0, 0.0);
  ManningInit = 50.0;
  for (const Row &row : rows) {
    SCOPED_TRACE(row.name);
    setLevels(1.0);
    for (int j = 0; j <= 6; ++j) zval[10][j][znumber] = 1.05;
    surfaceDownstreamDamp = row.damp;
    surfaceDampFactor1 = surfaceDampFactor2 = 0.5;
    surfaceDampSec = 9;
    DischargeStruct[1].faceCount = DischargeStruct[2].faceCount = 0;
    if (row.inflow) {
      for (int j = 0; j <= 6; ++j) zval[10][j][znumber] = 1.0;
      setGroup(1, 1, 7500.0, upstreamFaces());
    } else {
      setGroup(2, 0, 7500.0, downstreamFaces());
    }
    frictionSlopeLevels(1, row.outflowLevel, -1.0);
    // The wall line j = 1 belongs to one boundary column only.
    for (const auto &[i, z] : row.expected) EXPECT_NEAR(levelAt(i, 1), z, 1e-12) << "point row " << i;
  }
  // A smoothing longer than the block stops at its last corner.
  setLevels(1.0);
  surfaceDownstreamDamp = 6;
  surfaceDampSec = 40;
  frictionSlopeLevels(1, -1.0, -1.0);
  for (int i = 1; i <= 11; ++i) EXPECT_LE(levelAt(i, 3), levelAt(1, 3) + 1e-15) << "capped at the boundary, " << i;
}

TEST_F(TransientSurface, SlideLayerAndGroundwater) {
  channel();
  setLevels(1.0);
  // A layer block 2 over the rows j 4..5 of the water rows 2..3: offset 2.
  block[1].j2 = 3;
  block[2] = block[1];
  block[2].j1 = 4, block[2].j2 = 5, block[2].LayerMark = 1;
  NoBlocks = 2;
  FlagFixSurfSlide = 1;
  const double inc[4] = {0.01, 0.02, 0.03, 0.04};
  slideColumnCoupling(2, 5, 5, inc);
  EXPECT_DOUBLE_EQ(levelAt(4, 2), 1.01);
  EXPECT_DOUBLE_EQ(levelAt(5, 2), 1.02);
  EXPECT_DOUBLE_EQ(levelAt(5, 3), 1.03);
  EXPECT_DOUBLE_EQ(levelAt(4, 3), 1.04);
  // The slide movement is recorded at the corner and at its partner; block 1
  // has no block before it, so no partner.
  ExtraPlanes planes;
  FlagFixSurfSlide = 0;
  FlagThixo = 1;
  slideColumnCoupling(2, 5, 5, inc);
  EXPECT_EQ(Surfaces[6][5][5], 0.03);
  EXPECT_EQ(Surfaces[6][5][3], 0.03);
  slideColumnCoupling(1, 5, 3, inc);
  EXPECT_EQ(Surfaces[6][5][3], 0.06);
  EXPECT_EQ(Surfaces[6][5][1], 0.0);
  FlagFixSurfSlide = 1;
  slideColumnCoupling(1, 5, 3, inc);
  EXPECT_DOUBLE_EQ(levelAt(5, 1), 1.0);

  // Groundwater above the mud level follows the mean increment: 70 % with
  // F 333 3, the filled share otherwise.
  std::vector<double> ground(NoBCells + 2, 0.9), mud(NoBCells + 2, 0.5);
  Bgroundwater = ground.data();
  Bthixolev = mud.data();
  FlagFixSurfSlide = 0;
  FlagGroundwater = 1, FlagThixo = 2;
  const int b = pointbed[5][3];
  setLevels(1.025);
  FlagGT = 3;
  slideColumnCoupling(1, 5, 3, inc);
  EXPECT_NEAR(ground[b], 0.9 + 0.7 * 0.025, 1e-12);
  ground[b] = 0.9;
  setLevels(1.025);
  FlagGT = 1;
  slideColumnCoupling(1, 5, 3, inc);
  EXPECT_NEAR(ground[b], 0.9 + 0.4 / 0.525 * 0.025, 1e-12);
  ground[b] = 0.4;  // at or below the mud level: unchanged
  slideColumnCoupling(1, 5, 3, inc);
  EXPECT_EQ(ground[b], 0.4);

  // After the loop: a layer under water takes the water level, and the
  // layer top becomes the water block's bed.
  setLevels(1.0);
  for (int i = 4; i <= 5; ++i) {
    for (int j = 4; j <= 5; ++j) zval[i][j][znumber] = 0.6;
  }
  const int layerBed = pointbed[5][5];
  ground[layerBed] = 0.55;
  layerCoupling(2);
  EXPECT_EQ(ground[layerBed], 1.0);
  EXPECT_EQ(zval[5][3][1], 0.6);
  EXPECT_EQ(zval[4][2][1], 0.6);
  EXPECT_EQ(zval[9][2][1], 1.0);
  Bgroundwater = Bthixolev = nullptr;
}

TEST_F(TransientSurface, SourceModeTurnsTheChangeIntoMass) {
  channel();
  setLevels(1.0);
  const int bot = bottomCell(5, 3), top = topCell(5, 3);
  for (int i : {4, 5}) {
    for (int j : {2, 3}) zval[i][j][znumber] = 1.01;
  }
  clearCoefficients();
  FlagTFS = 1;
  levelChangeAsSource(1);
  EXPECT_EQ(levelAt(5, 3), 1.0) << "the grid does not move";
  EXPECT_NEAR(Surfaces[4][5][3], 0.01, 1e-12);
  // 0.04 m summed over the corners x 250 x 1 m2: 10 kg over nine cells.
  for (int c = bot; c > 0; c = Ccellt[c]) EXPECT_NEAR(Csource[c], -10.0 / 9.0, 1e-9);
  // F 36 11: all from the top cell.
  for (int i : {4, 5}) {
    for (int j : {2, 3}) zval[i][j][znumber] = 1.01;
  }
  clearCoefficients();
  FlagTFS = 11;
  levelChangeAsSource(1);
  EXPECT_NEAR(Csource[top], -10.0, 1e-9);
  EXPECT_EQ(Csource[bot], 0.0);
  // F 36 12: every source relaxed.
  for (int c = 1; c <= NoCells; ++c) Csource[c] = 2.0;
  FlagTFS = 12;
  RelaxTFS = 0.1;
  levelChangeAsSource(1);
  EXPECT_NEAR(Csource[bot], 1.8, 1e-12);
}

TEST_F(TransientSurface, WholeStepRaisesAStillChannelEvenly) {
  // Rule 1 with every top cell 0.1 m of head above its centre: every column
  // rises 0.01 m; with equal shares the wall and corner points rise with the
  // inner ones, and the grid is rebuilt on the new levels.
  channel(1.0);
  setVelocity(0.0, 0.0, 0.0);
  for (int c = 1; c <= NoCells; ++c) {
    if (Ccellt[c] == 0) Cpres[c] = 9810.0 * (Ckdist[c] + 0.1);
  }
  FlagTFS = 1;
  RelaxTFS = 0.1;
  FlagSurfDiffusive = 2;
  FlagGridChange = 0;
  const double oldPressure = Cpres[topCell(5, 3)];
  surface_tfs(0, 1);
  for (int i = 1; i <= 11; ++i) {
    for (int j = 1; j <= 5; ++j) EXPECT_NEAR(levelAt(i, j), 1.01, 1e-12) << "point " << i << ", " << j;
  }
  EXPECT_EQ(std::string(mc_program), " Surface_tfs ");
  EXPECT_EQ(FlagGridChange, 1);
  EXPECT_EQ(NoCells, 360);
  const int top = topCell(5, 3);
  EXPECT_NEAR(Czcenter[top] + Ckdist[top], 1.01, 1e-9);
  EXPECT_EQ(Cpres_old[top], oldPressure);
}

TEST_F(TransientSurface, SedimentRunKeepsTheGrid) {
  channel(1.0);
  setVelocity(0.0, 0.0, 0.0);
  for (int c = 1; c <= NoCells; ++c) {
    if (Ccellt[c] == 0) Cpres[c] = 9810.0 * (Ckdist[c] + 0.1);
  }
  FlagTFS = 1;
  FlagSurfDiffusive = 2;
  FlagTSC = 1;
  FlagGridChange = 0;
  const int top = topCell(5, 3);
  const double before = Czcenter[top] + Ckdist[top];
  surface_tfs(0, 1);
  EXPECT_NEAR(levelAt(5, 3), 1.01, 1e-12);
  EXPECT_EQ(Czcenter[top] + Ckdist[top], before);
  EXPECT_EQ(FlagGridChange, 0);
}
