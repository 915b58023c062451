// The multi-layer bed update by hand: the per-size bed change of one column
// from its fluxes, the solid-fraction variants of F 264 with the stack change
// they give Bedmove, and the parallel update against the serial one.
#include "bed/layers/multi_layer_update.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "bed/layers/bed_layer_fixture.h"
#include "model/bed_cells.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/threads.h"
#include "model/work_ranges.h"

namespace {

constexpr int kB = 7;   // the bed cell
constexpr int kC = 10;  // its bottom cell
constexpr int kF = 20;  // the bottom face of that cell

double stackOf(int b) {
  double sum = 0.0;
  for (int l = 0; l <= BlayerTop[b]; ++l) sum += BSedDistrib[l][0][b];
  return sum;
}

class MultiLayerUpdate : public BedLayerFixture {
 protected:
  static void column(int sizes, int layers) {
    allocateBed(sizes, layers);
    setOneColumn(kB, kC, kF);
    gsize[1] = 0.001;
    gsize[2] = 0.0002;
  }
};

// Settling 1e-4 m3/s against a pick-up of 2e-4 m3/s over 10 s on 4 m2 at a
// solid fraction of 0.5: dz = -5e-4 m, and -2.65 kg go to the step's mass.
TEST_F(MultiLayerUpdate, BedChangeOfOneColumnByHand) {
  column(1, 5);
  setStack(kB, {{1.0, 0.5, {1.0}}});
  Cconc[1][kC] = 0.001;
  Bupflux[1][kB] = 0.2;
  SumBedChangeLoc = 0.0;
  computeBedmove(kB);
  EXPECT_DOUBLE_EQ(Bbedchange[1][kB], -5e-4);
  EXPECT_DOUBLE_EQ(Bedmove[kB], -5e-4);
  EXPECT_NEAR(SumBedChangeLoc, -2.65, 1e-12);

  // A change below 1e-15 m is stored as exactly 0.
  Bupflux[1][kB] = 0.1 + 1e-14;
  computeBedmove(kB);
  EXPECT_EQ(Bbedchange[1][kB], 0.0);
  EXPECT_EQ(Bedmove[kB], 0.0);

  // Without a bottom cell nothing changes and nothing is booked.
  Bcellt[kB] = 0;
  Bbedchange[1][kB] = 3.0;
  Bedmove[kB] = 3.0;
  SumBedChangeLoc = 0.0;
  computeBedmove(kB);
  EXPECT_EQ(Bbedchange[1][kB], 0.0);
  EXPECT_EQ(Bedmove[kB], 0.0);
  EXPECT_EQ(SumBedChangeLoc, 0.0);
}

// The variants of F 264 on a stack of three layers without a bed change;
// Bedmove is the change of the summed thickness every time.
TEST_F(MultiLayerUpdate, SolidFractionVariantsAndTheirBedmove) {
  column(2, 5);
  struct Case {
    const char *name;
    int algo;
    double active;
    std::vector<HandLayer> stack;
    std::vector<double> thickness, solid;
  };
  const Case cases[] = {
      // -2 resets the solid fractions; the thicknesses stay.
      {"reset", -2, 0.0, {{1.0, 0.4, {1.0, 0.0}}, {0.5, 0.3, {0.5, 0.5}}, {0.1, 0.6, {0.0, 1.0}}},
       {1.0, 0.5, 0.1}, {0.5, 0.5, 0.5}},
      // -1: a layer of one size gets 0.64 and its thickness times s_old/0.64.
      {"sorted", -1, 0.0, {{1.0, 0.4, {1.0, 0.0}}, {0.2, 0.64, {0.0, 1.0}}},
       {1.0 * 0.4 / 0.64, 0.2}, {0.64, 0.64}},
      // Above 0: the top is brought to A by moving the excess down.
      {"excess", 1, 0.2, {{1.0, 0.5, {1.0, 0.0}}, {0.5, 0.5, {0.0, 1.0}}}, {1.3, 0.2}, {0.5, 0.5}},
      // A shortage is filled from the layer below.
      {"shortage", 1, 0.3, {{1.0, 0.5, {1.0, 0.0}}, {0.1, 0.5, {0.0, 1.0}}}, {0.8, 0.3}, {0.5, 0.5}},
      // ... only by what that layer holds.
      {"short layer", 1, 0.3, {{0.3, 0.5, {1.0, 0.0}}, {0.06, 0.5, {0.0, 1.0}}, {0.1, 0.5, {0.0, 1.0}}},
       {0.3, 0.0, 0.16}, {0.5, 0.5, 0.5}},
      // A stack thinner than A is left alone.
      {"thin stack", 1, 2.0, {{1.0, 0.5, {1.0, 0.0}}, {0.5, 0.5, {0.0, 1.0}}}, {1.0, 0.5}, {0.5, 0.5}},
  };
  for (const Case &c : cases) {
    FlagDensityAlgo = c.algo;
    std::memset(Bvollefttot, 0, sizeof Bvollefttot);
    int layer = 0;
    for (int l = 0; l <= NoBedLayers; ++l) {
      for (int k = 0; k <= lnumber; ++k) BSedDistrib[l][k][kB] = 0.0;
    }
    for (const HandLayer &h : c.stack) {
      BSedDistrib[layer][0][kB] = h.thickness;
      Bsolidfraction[layer][kB] = h.solid;
      int k = 1;
      for (double f : h.fractions) BSedDistrib[layer][k++][kB] = f;
      ++layer;
    }
    BlayerTop[kB] = layer - 1;
    const double before = stackOf(kB);
    Bedmove[kB] = 0.0;
    for (int k = 1; k <= lnumber; ++k) Bbedchange[k][kB] = 0.0;
    morphology3_fractions(c.active);
    ASSERT_EQ(BlayerTop[kB] + 1, static_cast<int>(c.thickness.size())) << c.name;
    for (std::size_t l = 0; l < c.thickness.size(); ++l) {
      EXPECT_NEAR(BSedDistrib[l][0][kB], c.thickness[l], 1e-12) << c.name << " layer " << l;
      EXPECT_NEAR(Bsolidfraction[l][kB], c.solid[l], 1e-12) << c.name << " layer " << l;
    }
    EXPECT_NEAR(Bedmove[kB], stackOf(kB) - before, 1e-15) << c.name;
  }
}

// A deposit with F 264 -1: the new layer keeps the solids computeBedmove
// booked at the top's solid fraction, and Bedmove is the stack's growth.
TEST_F(MultiLayerUpdate, DepositWithSortedSolidFractions) {
  column(1, 5);
  FlagDensityAlgo = -1;
  setStack(kB, {{1.0, 0.64, {1.0}}});
  Bbedchange[1][kB] = 0.01;
  Bedmove[kB] = 0.01;
  morphology3_fractions(0.0);
  ASSERT_EQ(BlayerTop[kB], 1);
  EXPECT_NEAR(BSedDistrib[1][0][kB] * Bsolidfraction[1][kB], 0.01 * 0.64, 1e-15);
  EXPECT_NEAR(Bedmove[kB], stackOf(kB) - 1.0, 1e-15);
  EXPECT_NEAR(Bedmove[kB], 0.01, 1e-15);
}

// The shortage of a size the bed cannot give: -1 m3 of solids per m2 left
// on 4 m2 books -1 x 4 x 1000 x 2.65 kg.
TEST_F(MultiLayerUpdate, ShortageGoesToBvollefttot) {
  column(2, 5);
  setStack(kB, {{1.0, 0.5, {1.0, 0.0}}});
  Bbedchange[1][kB] = -0.1;
  Bbedchange[2][kB] = -2.0;
  Bedmove[kB] = -2.1;
  std::memset(Bvollefttot, 0, sizeof Bvollefttot);
  morphology3_fractions(0.0);
  EXPECT_NEAR(Bvolleft[2][kB], -1.0, 1e-12);
  EXPECT_NEAR(Bvollefttot[2], -1.0 * 4.0 * 1000.0 * 2.65, 1e-9);
  EXPECT_NEAR(Bvollefttot[1], 0.0, 1e-12);
}

// 196 columns of random stacks and changes: the update on 1, 2, 4 and 8
// threads leaves the layers, fractions and Bedmove bit for bit as the serial
// update does, and Bvollefttot the same on a repeated run.
class MultiLayerThreads : public BedLayerFixture {};

struct BedState {
  std::vector<double> layers, solids, moves, left;
  std::vector<int> tops;
};

BedState take(int first, int last) {
  BedState s;
  for (int b = first; b <= last; ++b) {
    for (int l = 0; l <= NoBedLayers; ++l) {
      for (int k = 0; k <= lnumber; ++k) s.layers.push_back(BSedDistrib[l][k][b]);
      s.solids.push_back(Bsolidfraction[l][b]);
    }
    for (int k = 0; k <= lnumber; ++k) s.left.push_back(k == 0 ? Bedmove[b] : Bvolleft[k][b]);
    for (int k = 1; k <= lnumber; ++k) s.moves.push_back(Bbedchange[k][b]);
    s.tops.push_back(BlayerTop[b]);
  }
  return s;
}

void put(const BedState &s, int first, int last) {
  std::size_t n = 0, m = 0, q = 0, t = 0;
  for (int b = first; b <= last; ++b) {
    for (int l = 0; l <= NoBedLayers; ++l) {
      for (int k = 0; k <= lnumber; ++k) BSedDistrib[l][k][b] = s.layers[n++];
      Bsolidfraction[l][b] = s.solids[m++];
    }
    for (int k = 0; k <= lnumber; ++k) (k == 0 ? Bedmove[b] : Bvolleft[k][b]) = s.left[q++];
    for (int k = 1; k <= lnumber; ++k) Bbedchange[k][b] = s.moves[t++];
    BlayerTop[b] = s.tops[static_cast<std::size_t>(b - first)];
  }
}

bool sameBits(const std::vector<double> &a, const std::vector<double> &b) {
  return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(double)) == 0;
}

TEST_F(MultiLayerThreads, ParallelUpdateEqualsTheSerialOne) {
  allocateBed(3, 5, true, 14, 14);
  const int first = 1, last = 196;
  SolidFrac = 0.5;
  density = 2.65;
  FlagDensityAlgo = -1;
  gsize[1] = 0.002;
  gsize[2] = 0.0005;
  gsize[3] = 0.0001;
  unsigned seed = 12345;
  auto uniform = [&seed] {
    seed = seed * 1103515245u + 12345u;
    return static_cast<double>((seed >> 8) & 0xffff) / 65535.0;
  };
  for (int b = first; b <= last; ++b) {
    Bcellt[b] = b % 17 == 0 ? 0 : b;  // a few columns without cells
    Barea[b] = 1.0 + uniform();
    const int layers = 1 + b % 5;
    for (int l = 0; l < layers; ++l) {
      const double f1 = uniform(), f2 = (1.0 - f1) * uniform();
      BSedDistrib[l][0][b] = 0.01 + 0.2 * uniform();
      BSedDistrib[l][1][b] = f1;
      BSedDistrib[l][2][b] = f2;
      BSedDistrib[l][3][b] = 1.0 - f1 - f2;
      Bsolidfraction[l][b] = 0.5 + 0.2 * uniform();
    }
    BlayerTop[b] = layers - 1;
    double sum = 0.0;
    for (int k = 1; k <= 3; ++k) {
      // Erosion beyond the stack in some columns, so Bvollefttot is used.
      Bbedchange[k][b] = (uniform() - 0.6) * (b % 7 == 0 ? 2.0 : 0.05);
      sum += Bbedchange[k][b];
    }
    Bedmove[b] = sum;
  }
  WBStart = first;
  WBEnd = last;
  const BedState start = take(first, last);

  NoProcessesSolver = 0;
  std::memset(Bvollefttot, 0, sizeof Bvollefttot);
  morphology3_fractions(0.0);
  const BedState serial = take(first, last);
  const double serialLeft = Bvollefttot[1] + Bvollefttot[2] + Bvollefttot[3];
  ASSERT_LT(serialLeft, 0.0);

  for (int threads : {1, 2, 4, 8}) {
    NoProcessesSolver = threads;
    fixThreadCount(threads);
    double totals[2][4] = {};
    for (int run = 0; run < 2; ++run) {
      put(start, first, last);
      std::memset(Bvollefttot, 0, sizeof Bvollefttot);
      morphology3_fractions(0.0);
      for (int k = 1; k <= 3; ++k) totals[run][k] = Bvollefttot[k];
      const BedState parallel = take(first, last);
      EXPECT_TRUE(sameBits(parallel.layers, serial.layers)) << threads << " threads";
      EXPECT_TRUE(sameBits(parallel.solids, serial.solids)) << threads << " threads";
      EXPECT_TRUE(sameBits(parallel.left, serial.left)) << threads << " threads";
      EXPECT_EQ(parallel.tops, serial.tops) << threads << " threads";
    }
    for (int k = 1; k <= 3; ++k) {
      EXPECT_EQ(std::memcmp(&totals[0][k], &totals[1][k], sizeof(double)), 0) << threads << " threads, size " << k;
    }
    EXPECT_NEAR(totals[0][1] + totals[0][2] + totals[0][3], serialLeft, 1e-9 * std::fabs(serialLeft));
  }
  NoProcessesSolver = 0;
  fixThreadCount(1);
}

}  // namespace
