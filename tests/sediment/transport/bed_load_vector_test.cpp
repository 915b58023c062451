// The bed-load vector terms of F 78 on the generated channel (10 x 4 columns
// of nine cells of 1 x 1 x 1/9 m) with the bed slope, flow and shear of the
// bottom cells set by hand: the sideways transfer, the implicit sink with its
// two downhill targets, the transfer across faces and the diagonal shift,
// each against hand values and each keeping the sediment it moves.
#include "sediment/transport/bed_load_vector.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"
#include "model/work_ranges.h"
#include "sediment/concentration/sediment_channel.h"

namespace {

// One size of 1 mm (F 11 2.65 -0.047) with the per-size rows of F 37 3.
class BedLoadVector : public SedimentChannel {
 protected:
  BedLoadVector() { tsc_ = 3; }
  void SetUp() override {
    SedimentChannel::SetUp();
    reset();
  }

  // The start of every case: the tables are allocated once per process.
  virtual void reset() {
    gsize[1] = 0.001;
    density = 2.65;
    shieldscoeff = -0.047;
    BedLoadVectorParam = 0.6;
    WBStart = 1;
    WBEnd = NoBCells;
    WFStart = 1;
    WFEnd = NoSurfaces;
    for (int b = 1; b <= NoBCells; ++b) {
      BSedDistrib[0][0][b] = 1.0;  // a metre of the size beneath every column
      BSedDistrib[0][1][b] = 1.0;
    }
    for (int c = 1; c <= NoCells; ++c) {
      Cxvel[c] = Cyvel[c] = 0.0;
      Ckinen[c] = 0.0;
      Cconc[1][c] = Cconc_old[1][c] = 0.002;
      Capm[1][c] = 10.0;
      Csourcem[1][c] = Csource[c] = 1.0;
    }
    for (int f = 1; f <= NoSurfaces; ++f) Fflux[f] = 0.0;
    block[1].j2 = 5;
    zval[5][3][1] = 0.0;
    // An inner bottom cell: column (5, 3) of block 1.
    b_ = pointbed[5][3];
    c_ = Bcellt[b_];
    FlagTSC = 3;
    TimeStep = 10.0;
    keepOrRestore(Czcenter, NoCells, czcenter_);
    keepOrRestore(Ckdist, NoCells, ckdist_);
    keepOrRestore(Fvx, NoSurfaces, fvx_);
    keepOrRestore(Fvy, NoSurfaces, fvy_);
    keepOrRestore(Fvz, NoSurfaces, fvz_);
  }

  // The generated geometry is kept at the first reset and put back later.
  static void keepOrRestore(double *table, int n, std::vector<double> &kept) {
    if (kept.empty()) kept.assign(table, table + n + 1);
    else std::copy(kept.begin(), kept.end(), table);
  }

  // Tilts the bed face of bottom cell c: the bed rises by (gx, gy) per metre.
  static void tilt(int c, double gx, double gy) {
    const int f = Cflateb[c];
    const double n = std::sqrt(1.0 + gx * gx + gy * gy);
    Fvx[f] = -gx / n;
    Fvy[f] = -gy / n;
    Fvz[f] = 1.0 / n;
  }

  static double sum(const double *row) {
    double s = 0.0;
    for (int c = 1; c <= NoCells; ++c) s += row[c];
    return s;
  }

  int b_ = 0, c_ = 0;
  std::vector<double> czcenter_, ckdist_, fvx_, fvy_, fvz_;
};

// The sideways transfer of F 78 1 and 3, d = 1 mm, 300·Ckinen = 3 Pa, the bed
// at 1:10 across the flow: tau_c = 0.7607655 Pa and a = 0.6·sqrt(tau_c/3)·
// sin(atan 0.1) = 0.0300646 m/s per m/s of flow, towards the lower side.
struct SideCase {
  const char *name;
  double u, v, gx, gy;  // flow, and the rise of the bed per metre
  char receiver;        // the side that takes the sediment
};

TEST_F(BedLoadVector, SidewaysTransferGoesDownTheSlope) {
  const SideCase cases[] = {
      {"FlowEastBedRisingNorth", 1.0, 0.0, 0.0, 0.1, 's'},
      {"FlowEastBedRisingSouth", 1.0, 0.0, 0.0, -0.1, 'n'},
      {"FlowNorthBedRisingEast", 0.0, 1.0, 0.1, 0.0, 'w'},
      {"FlowNorthBedRisingWest", 0.0, 1.0, -0.1, 0.0, 'e'},
  };
  EXPECT_NEAR(std::fabs(shieldscoeff) * gsize[1] * (density - 1.0) * 9810.0, 0.7607655, 1e-7);
  const double a = 0.0300646;
  for (const SideCase &k : cases) {
    reset();
    Cxvel[c_] = k.u;
    Cyvel[c_] = k.v;
    Ckinen[c_] = 0.01;
    tilt(c_, k.gx, k.gy);
    const double total = sum(Csourcem[1]);
    BedVectorSourceCalc(1);
    const int e = Ccelle[c_], n = Ccelln[c_], w = Ccellw[c_], s = Ccells[c_];
    const int receiver = k.receiver == 'e' ? e : k.receiver == 'n' ? n : k.receiver == 'w' ? w : s;
    const int face = k.receiver == 'e'   ? Cflatee[c_]
                     : k.receiver == 'n' ? Cflaten[c_]
                     : k.receiver == 'w' ? Cflatew[c_]
                                         : Cflates[c_];
    const double T = (std::fabs(Fax[face]) + std::fabs(Fay[face])) * a * 1000.0 * 0.002;
    EXPECT_NEAR(Csourcem[1][c_], 1.0 - T, 1e-8) << k.name;
    for (int m : {e, n, w, s}) EXPECT_NEAR(Csourcem[1][m], m == receiver ? 1.0 + T : 1.0, 1e-8) << k.name << " " << m;
    EXPECT_NEAR(sum(Csourcem[1]), total, 1e-12) << k.name;
  }
}

// No transfer: the slope along the flow (it sends nothing sideways), less
// than one grain of the size in layer 0, a flat bed, no bed shear.
TEST_F(BedLoadVector, SidewaysTransferNeedsSlopeAcrossGrainsAndShear) {
  struct Case {
    const char *name;
    double gx, gy, layer0, k;
  };
  const Case cases[] = {
      {"SlopeAlongTheFlow", 0.1, 0.0, 1.0, 0.01},
      {"LessThanOneGrain", 0.0, 0.1, 0.0009, 0.01},
      {"FlatBed", 0.0, 0.0, 1.0, 0.01},
      {"NoShear", 0.0, 0.1, 1.0, 0.0},
  };
  for (const Case &k : cases) {
    reset();
    Cxvel[c_] = 1.0;
    Ckinen[c_] = k.k;
    BSedDistrib[0][0][b_] = k.layer0;
    tilt(c_, k.gx, k.gy);
    BedVectorSourceCalc(1);
    for (int c = 1; c <= NoCells; ++c) ASSERT_EQ(Csourcem[1][c], 1.0) << k.name << " " << c;
  }
}

// One size with the two-layer bed transfers within the shared Csource.
TEST_F(BedLoadVector, OneSizeOfTheTwoLayerBedUsesTheSharedSource) {
  FlagTSC = 2;
  Cxvel[c_] = 1.0;
  Ckinen[c_] = 0.01;
  tilt(c_, 0.0, 0.1);
  BedVectorSourceCalc(1);
  EXPECT_LT(Csource[c_], 1.0);
  EXPECT_GT(Csource[Ccells[c_]], 1.0);
  EXPECT_NEAR(sum(Csource), NoCells * 1.0, 1e-12);
  EXPECT_EQ(Csourcem[1][c_], 1.0);
}

// computeBedLoadVector: column (5, 3) with its corner (5, 3) raised 0.1 m
// (s = 0.1 over 1 m), Ckdist 0.1, U = 1 and theta below 0.02. The west and
// south neighbours' tops lie 0.3 m below its bottom, the east one's 0.1 m:
// west is first (south is not strictly lower), east second.
class BedLoadSink : public BedLoadVector {
 protected:
  void reset() override {
    BedLoadVector::reset();
    BedLoadVectorFlag = 2;
    zval[5][3][1] += 0.1;
    Ckdist[c_] = 0.1;
    Czcenter[c_] = 0.1;  // bottom at 0
    Cxvel[c_] = 1.0;
    Ckinen[c_] = 1e-4;  // theta = 0.00185
    top(Ccellw[c_], -0.3);
    top(Ccells[c_], -0.3);
    top(Ccelle[c_], -0.1);
    top(Ccelln[c_], 0.2);
  }
  static void top(int c, double level) { Czcenter[c] = level - Ckdist[c]; }
};

TEST_F(BedLoadSink, SinkOnTheColumnSourceOnItsTwoSteepestNeighbours) {
  const double K = 0.6 / 0.1414213562373095 * 0.1 * 2.0 * 0.1 * 1.0 * 1000.0;
  EXPECT_NEAR(K, 84.85281, 1e-5);
  const double before = sum(Csourcem[1]);
  computeBedLoadVector();
  EXPECT_NEAR(Capm[1][c_], 10.0 + K, 1e-9);
  EXPECT_NEAR(Csourcem[1][Ccellw[c_]], 1.0 + 0.002 * K * 0.75, 1e-12);
  EXPECT_NEAR(Csourcem[1][Ccelle[c_]], 1.0 + 0.002 * K * 0.25, 1e-12);
  EXPECT_EQ(Csourcem[1][Ccells[c_]], 1.0);
  EXPECT_EQ(Csourcem[1][Ccelln[c_]], 1.0);
  // What the neighbours receive is what the sink takes at the old value.
  EXPECT_NEAR(sum(Csourcem[1]) - before, 0.002 * K, 1e-12);
  for (int c = 1; c <= NoCells; ++c) {
    if (c != c_) {
      EXPECT_EQ(Capm[1][c], 10.0) << c;
    }
  }
}

TEST_F(BedLoadSink, ShiftedAndPlainFactors) {
  const double theta = 300.0 * 0.01 / (1.65 * 0.001 * 9810.0);
  struct Case {
    int flag;
    double g;
  };
  for (const Case &k : {Case{3, std::sqrt(0.4 * theta + 0.06)}, Case{4, std::sqrt(theta)}}) {
    reset();
    BedLoadVectorFlag = k.flag;
    Ckinen[c_] = 0.01;
    computeBedLoadVector();
    EXPECT_NEAR(Capm[1][c_], 10.0 + 0.6 / k.g * 0.1 * 0.2 * 1000.0, 1e-9) << k.flag;
  }
  // The plain factor without bed shear: no bed load.
  reset();
  BedLoadVectorFlag = 4;
  Ckinen[c_] = 0.0;
  computeBedLoadVector();
  EXPECT_EQ(Capm[1][c_], 10.0);
}

TEST_F(BedLoadSink, GentleSlopesAndOtherBlocksAreLeftAlone) {
  zval[5][3][1] = 0.02;  // s = 0.02: not steeper than 0.02
  computeBedLoadVector();
  EXPECT_EQ(Capm[1][c_], 10.0);
  reset();
  block[1].j2 = 2;  // the column lies outside block 1
  computeBedLoadVector();
  EXPECT_EQ(Capm[1][c_], 10.0);
  EXPECT_EQ(sum(Csourcem[1]), NoCells * 1.0);
}

// computeBedLoadVector3 on the face east of (5, 3): the bed falls 0.05 m to
// the east over the 1 m between the centres, the flow runs north along the
// face (r = 1), theta = 0.1853.
class FaceTransfer : public BedLoadVector {
 protected:
  void reset() override {
    BedLoadVector::reset();
    BedLoadVectorFlag = 23;
    f_ = Cflatee[c_];
    e_ = Ccelle[c_];
    Czcenter[e_] = Czcenter[c_] - 0.05;
    for (int c : {c_, e_}) {
      Cyvel[c] = 1.0;
      Ckinen[c] = 0.01;
    }
    WFStart = WFEnd = f_;
  }
  // The transfer at parameter 0.6 and the shifted factor.
  double expected() const {
    const double theta = 3.0 / (1.65 * 0.001 * 9810.0);
    const double q = 0.6 / std::sqrt(0.4 * theta + 0.06) * -0.05 / (Fdist1[f_] + Fdist2[f_]);
    return -Farea[f_] * 1000.0 * q * 0.002;
  }
  int f_ = 0, e_ = 0;
};

TEST_F(FaceTransfer, DownhillAcrossTheFace) {
  EXPECT_NEAR(Fdist1[f_] + Fdist2[f_], 1.0, 1e-12);
  computeBedLoadVector3();
  EXPECT_NEAR(Csourcem[1][c_], 1.0 - expected(), 1e-12);
  EXPECT_NEAR(Csourcem[1][e_], 1.0 + expected(), 1e-12);
  // Uphill the other way: the lower cell gives nothing.
  reset();
  std::swap(Czcenter[c_], Czcenter[e_]);
  computeBedLoadVector3();
  EXPECT_NEAR(Csourcem[1][e_], 1.0 - expected(), 1e-12);
  EXPECT_NEAR(Csourcem[1][c_], 1.0 + expected(), 1e-12);
}

TEST_F(FaceTransfer, FlowAcrossTheFaceCarriesNothingSideways) {
  for (int c : {c_, e_}) {
    Cxvel[c] = 1.0;
    Cyvel[c] = 0.0;
  }
  Fflux[f_] = 1000.0 * Farea[f_];
  computeBedLoadVector3();
  EXPECT_EQ(Csourcem[1][c_], 1.0);
  EXPECT_EQ(Csourcem[1][e_], 1.0);
}

TEST_F(FaceTransfer, ClippedAndLimitedByTheGiversSource) {
  BedLoadVectorParam = 100.0;  // |q| = 1
  computeBedLoadVector3();
  const double T = Farea[f_] * 1000.0 * 1.0 * 0.002;
  EXPECT_NEAR(Csourcem[1][e_], 1.0 + T, 1e-12);
  reset();
  Csourcem[1][c_] = 0.3 * expected();
  computeBedLoadVector3();
  EXPECT_EQ(Csourcem[1][c_], 0.0);
  EXPECT_NEAR(Csourcem[1][e_], 1.0 + 0.3 * expected(), 1e-12);
}

// Value 21 acts only beside a wall or an open end: on the face between the
// columns 5 and 6 of an inner row nothing moves, on the face between the
// first two columns (no cell beyond the first) the transfer runs.
TEST_F(FaceTransfer, ValueTwentyOneOnlyAtTheEdges) {
  BedLoadVectorFlag = 21;
  computeBedLoadVector3();
  EXPECT_EQ(Csourcem[1][e_], 1.0);
  const int first = Bcellt[pointbed[2][3]], second = Ccelle[first], f = Cflatee[first];
  ASSERT_EQ(Fcell11[f] * Fcell22[f], 0);
  Czcenter[second] = Czcenter[first] - 0.05;
  for (int c : {first, second}) {
    Cyvel[c] = 1.0;
    Ckinen[c] = 0.01;
  }
  WFStart = WFEnd = f;
  computeBedLoadVector3();
  EXPECT_GT(Csourcem[1][second], 1.0);
}

// Over the whole channel with a bed falling eastwards and a flow that
// crosses the faces at an angle, the sources only move.
TEST_F(FaceTransfer, SourcesOverTheGridOnlyMove) {
  WFStart = 1;
  WFEnd = NoSurfaces;
  for (int b = 1; b <= NoBCells; ++b) {
    const int c = Bcellt[b];
    Czcenter[c] = Ckdist[c] - 0.05 * Bkooi[b] + 0.01 * Bkooj[b];
    Cxvel[c] = 0.3;
    Cyvel[c] = 1.0;
    Ckinen[c] = 0.005 + 0.001 * (b % 7);
    Csourcem[1][c] = 0.01 * (b % 5);  // some cells have nothing to give
  }
  const double before = sum(Csourcem[1]);
  computeBedLoadVector3();
  EXPECT_NEAR(sum(Csourcem[1]), before, 1e-12);
  for (int c = 1; c <= NoCells; ++c) EXPECT_GE(Csourcem[1][c], 0.0) << c;
  // One size of the two-layer bed moves its shared source instead.
  FlagTSC = 2;
  for (int c = 1; c <= NoCells; ++c) Csource[c] = Csourcem[1][c];
  const double shared = sum(Csource);
  const std::vector<double> kept(Csource, Csource + NoCells + 1), rows(Csourcem[1], Csourcem[1] + NoCells + 1);
  computeBedLoadVector3();
  EXPECT_NEAR(sum(Csource), shared, 1e-12);
  EXPECT_NE(std::vector<double>(Csource, Csource + NoCells + 1), kept);
  EXPECT_EQ(std::vector<double>(Csourcem[1], Csourcem[1] + NoCells + 1), rows);
}

// computeBedLoadVector4 on column (5, 2) beside the south wall: its bed face
// at t = 0.2, the west neighbour 0.3 m lower, TimeStep 1e-9 s so that the
// shift stays below its cap.
class DiagonalShift : public BedLoadVector {
 protected:
  void reset() override {
    BedLoadVector::reset();
    BedLoadVectorFlag = 31;
    TimeStep = 1e-9;
    c_ = Bcellt[pointbed[5][2]];
    ASSERT_EQ(Ccells[c_], 0);
    tilt(c_, 0.2, 0.0);
    Cxvel[c_] = 1.0;
    Ckinen[c_] = 0.01;
    w_ = Ccellw[c_];
    Czcenter[w_] -= 0.3 + 2.0 * Ckdist[w_];
  }
  int w_ = 0;
};

TEST_F(DiagonalShift, WeightMovesFromTheLowerNeighbour) {
  const double theta = 3.0 / (1.65 * 0.001 * 9810.0);
  const double X = 2.0 * Ckdist[c_] * 1.0 * 1e-9 * 1.0 * 1000.0 * 0.6 / std::sqrt(theta) * 0.2 * 1000.0;
  computeBedLoadVector4();
  EXPECT_NEAR(Capm[1][c_], 10.0 + X, 1e-9);
  EXPECT_NEAR(Capm[1][w_], 10.0 - X, 1e-9);
  // At most a fifth of the neighbour's diagonal.
  reset();
  TimeStep = 10.0;
  computeBedLoadVector4();
  EXPECT_NEAR(Capm[1][c_], 12.0, 1e-12);
  EXPECT_NEAR(Capm[1][w_], 8.0, 1e-12);
}

TEST_F(DiagonalShift, GentleBedsAndInnerColumnsSkip) {
  tilt(c_, 0.05, 0.0);
  computeBedLoadVector4();
  EXPECT_EQ(Capm[1][c_], 10.0);
  // The inner column (5, 3) with the same slope and drop.
  reset();
  const int inner = Bcellt[pointbed[5][3]];
  tilt(inner, 0.2, 0.0);
  Cxvel[inner] = 1.0;
  Ckinen[inner] = 0.01;
  Czcenter[Ccellw[inner]] -= 0.3 + 2.0 * Ckdist[inner];
  tilt(c_, 0.0, 0.0);
  computeBedLoadVector4();
  for (int c = 1; c <= NoCells; ++c) EXPECT_EQ(Capm[1][c], 10.0) << c;
}

}  // namespace
