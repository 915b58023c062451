// Face mass fluxes worked by hand on a straight channel of 1 m columns, five
// along x and two along y, each of two 0.5 m cells: velocity fluxes, the
// pressure-weighted term of the variants, the whole-grid steps, the threaded
// form and the balance of unevenly connected blocks.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <vector>

#include "flow/boundaries/face_fluxes.h"
#include "grid/column_grid.h"
#include "grid/grid_fixture.h"
#include "grid/grid_services.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/nests.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"
#include "model/threads.h"

namespace {

// Rhie-Chow coefficient of a side face: CinvAp 0.01, area 0.5 m2.
constexpr double kSideD = 0.01 * 0.25;

class FaceFluxes : public GridFixture {
 protected:
  // Columns i1..i2, j1..j2 of 1 m squares, `depth` deep, in `cells` equal cells.
  static int addColumns(int i1, int i2, int j1, int j2, int cells, double depth = 1.0) {
    flatGrid(i1 - 1, i2, j1 - 1, j2, depth);
    std::vector<double> levels;
    for (int m = 0; m <= cells; ++m) levels.push_back(depth * m / cells);
    for (int i = i1 - 1; i <= i2; ++i) {
      for (int j = j1 - 1; j <= j2; ++j) setLineLevels(i, j, levels);
    }
    const int b = addBlock(i1, i2, j1, j2);
    setColumnCells(b, cells);
    return b;
  }

  // The channel, still water, uniform CinvAp and no under-relaxation.
  static void channel() {
    allocate(8, 5, 4);
    addColumns(2, 6, 2, 3, 2);
    buildBlocks();
    metric();
    invRelaxVelocity = 1.0;
    fill([](int) { return 0.0; }, [](int) { return 0.0; }, [](int) { return 0.0; }, [](int) { return 0.0; });
  }

  static void fill(const std::function<double(int)> &u, const std::function<double(int)> &v,
                   const std::function<double(int)> &w, const std::function<double(int)> &p) {
    for (int c = 1; c <= NoCells; ++c) {
      Cxvel[c] = u(c);
      Cyvel[c] = v(c);
      Czvel[c] = w(c);
      Cpres[c] = p(c);
      CinvAp[c] = 0.01;
    }
  }

  static bool inner(int f) { return Fcell1[f] > 0 && Fcell2[f] > 0; }
  static double velocityFlux(int f, double u, double v, double w) {
    return 1000.0 * (u * Fax[f] + v * Fay[f] + w * Faz[f]);
  }
  // x-faces between two cells, by the column of their west cell (x centre 0.5 .. 3.5).
  static std::vector<int> xFaces(double westCentre) {
    std::vector<int> faces;
    for (int f = 1; f <= NoSurfaces; ++f) {
      if (inner(f) && Ftype1[f] == 2 && std::fabs(Cxcenter[Fcell1[f]] - westCentre) < 1e-9) faces.push_back(f);
    }
    return faces;
  }
  // +1 in columns with an odd index, -1 in the others.
  static double checker(int c) { return static_cast<int>(std::floor(Cxcenter[c])) % 2 == 0 ? 1.0 : -1.0; }
};

// Uniform velocities and pressure: 1000 times the velocity flux on every
// inner face, 0 on the boundary faces.
TEST_F(FaceFluxes, UniformFlowGivesTheVelocityFlux) {
  channel();
  const double u = 0.3, v = -0.2, w = 0.1;
  fill([=](int) { return u; }, [=](int) { return v; }, [=](int) { return w; }, [](int) { return 1234.0; });
  for (int f = 1; f <= NoSurfaces; ++f) Fflux[f] = 99.0;
  waterflow(1, NoSurfaces);
  int faces[3] = {0, 0, 0};
  for (int f = 1; f <= NoSurfaces; ++f) {
    if (!inner(f)) {
      EXPECT_EQ(Fflux[f], 0.0) << "boundary face " << f;
      continue;
    }
    ++faces[Ftype1[f] == 2 ? 0 : Ftype1[f] == 3 ? 1 : 2];
    EXPECT_NEAR(Fflux[f], velocityFlux(f, u, v, w), 1e-10) << "face " << f;
  }
  EXPECT_EQ(faces[0], 16);
  EXPECT_EQ(faces[1], 10);
  EXPECT_EQ(faces[2], 10);
}

// A pressure linear in x, y and z has no term: its face difference is the
// interpolated cell gradient.
TEST_F(FaceFluxes, LinearPressureGivesNoTerm) {
  channel();
  fill([](int) { return 0.2; }, [](int) { return 0.1; }, [](int) { return 0.0; },
       [](int c) { return 100.0 * Cxcenter[c] + 30.0 * Cycenter[c] - 9810.0 * Czcenter[c]; });
  waterflow(1, NoSurfaces);
  for (int f = 1; f <= NoSurfaces; ++f) {
    if (!inner(f)) continue;
    EXPECT_NEAR(Fflux[f], velocityFlux(f, 0.2, 0.1, 0.0), 1e-9) << "face " << f;
  }
}

// A checkerboard of +-P along x is felt as D 2P on the x-faces with both
// outer cells, scaled by |F 21|; F 21 0 leaves the velocity flux.
TEST_F(FaceFluxes, CheckerboardIsFelt) {
  struct Row {
    double relax, scale;
  };
  const Row rows[] = {{1.0, 1.0}, {0.0, 0.0}, {-1.0, 1.0}, {0.5, 0.5}};
  channel();
  const double pressure = 10.0;
  fill([](int) { return 0.1; }, [](int) { return 0.0; }, [](int) { return 0.0; },
       [&](int c) { return pressure * checker(c); });
  for (const Row &row : rows) {
    RelaxRhieChow = row.relax;
    waterflow(1, NoSurfaces);
    for (double centre : {1.5, 2.5}) {
      for (int f : xFaces(centre)) {
        const double r = kSideD * 2.0 * pressure * checker(Fcell1[f]) * row.scale;
        EXPECT_NEAR(Fflux[f], velocityFlux(f, 0.1, 0.0, 0.0) + 1000.0 * r, 1e-10) << row.relax << " face " << f;
      }
    }
    for (double centre : {0.5, 3.5}) {
      for (int f : xFaces(centre)) EXPECT_NEAR(Fflux[f], velocityFlux(f, 0.1, 0.0, 0.0), 1e-10) << row.relax;
    }
  }
}

// F 113 4 and 7 cut the term to a fifth of the velocity flux: 0.2 x 0.05
// m3/s with u = 0.1; still water keeps no term at all.
TEST_F(FaceFluxes, LimitedVariants) {
  channel();
  for (int variant : {4, 7}) {
    for (double u : {0.1, 0.0}) {
      FlagRhieChow = variant;
      fill([=](int) { return u; }, [](int) { return 0.0; }, [](int) { return 0.0; },
           [](int c) { return 10.0 * checker(c); });
      waterflow(1, NoSurfaces);
      for (double centre : {1.5, 2.5}) {
        for (int f : xFaces(centre)) {
          const double v = u * 0.5;
          EXPECT_EQ(Fflux[f], 1000.0 * (v + 0.2 * v * checker(Fcell1[f]))) << variant << " u " << u;
        }
      }
    }
  }
}

// p = 10 x^2: the central differences of the standard form see no term;
// the one-sided fallbacks of F 113 3 next to the ends give +-D 5, the
// second-order ones of 5 and 6 are exact again. On the y- and z-faces both
// outer cells are missing and no form has a term.
TEST_F(FaceFluxes, FallbacksNextToTheEnds) {
  struct Row {
    int variant;
    double west, middle, east;  // flux on the x-faces by the west cell's centre 0.5, 1.5, 3.5
  };
  const Row rows[] = {{0, 0.0, 0.0, 0.0}, {3, 12.5, 0.0, -12.5}, {5, 0.0, 0.0, 0.0}, {6, 0.0, 0.0, 0.0}};
  channel();
  fill([](int) { return 0.0; }, [](int) { return 0.0; }, [](int) { return 0.0; },
       [](int c) { return 10.0 * Cxcenter[c] * Cxcenter[c] + 40.0 * Cycenter[c] * Cycenter[c] + 7.0 * Czcenter[c]; });
  for (const Row &row : rows) {
    FlagRhieChow = row.variant;
    waterflow(1, NoSurfaces);
    const double centres[3] = {0.5, 1.5, 3.5}, expected[3] = {row.west, row.middle, row.east};
    for (int k = 0; k < 3; ++k) {
      for (int f : xFaces(centres[k])) EXPECT_NEAR(Fflux[f], expected[k], 1e-9) << row.variant << " " << centres[k];
    }
    for (int f = 1; f <= NoSurfaces; ++f) {
      if (!inner(f) || Ftype1[f] == 2) continue;
      EXPECT_EQ(Fflux[f], 0.0) << row.variant << " face " << f;
    }
  }
}

// The other forms on the checkerboard (D 2P = 0.05 m3/s on the middle
// x-faces): doubled next to a collapsed cell, cut on low side faces, removed
// on bottom faces by the seiche rule, and the baroclinic terms added.
TEST_F(FaceFluxes, OtherForms) {
  struct Row {
    const char *name;
    std::function<void()> set;
    double factor;  // of 1000 D 2P on the middle x-faces
    double extra;   // added flux there, kg/s
  };
  const Row rows[] = {
      {"standard", [] {}, 1.0, 0.0},
      {"F 235 13 next to collapsed cells",
       [] {
         FlagCorrTrekant = 13;
         for (int c = 1; c <= NoCells; ++c) Ctrekant[c] = 1;
       },
       2.0, 0.0},
      {"F 113 2 below the F 86 height", [] { FlagRhieChow = 2, MinVertDist = 0.6; }, 0.0, -1000.0 * 0.5 * 0.1},
      {"F 113 2 above the F 86 height", [] { FlagRhieChow = 2, MinVertDist = 0.4; }, 1.0, 0.0},
      {"F 113 8 limit on collapsed cells",
       [] {
         FlagRhieChow = 8;
         for (int c = 1; c <= NoCells; ++c) Ctrekant[c] = 1;
       },
       0.2, 0.0},
      {"F 69 density terms",
       [] {
         FlagRhieChow = 0, Seiche6 = 1;
         for (int c = 1; c <= NoCells; ++c) Cdensgradi[c] = 4.0;
         for (int f = 1; f <= NoSurfaces; ++f) Fdgrad[f] = Ftype1[f] == 2 ? 1.0 : 0.0;
       },
       1.0, 1000.0 * kSideD * (2.0 - 1.0)},
  };
  channel();
  fill([](int) { return 0.1; }, [](int) { return 0.0; }, [](int) { return 0.0; },
       [](int c) { return 10.0 * checker(c); });
  for (const Row &row : rows) {
    FlagCorrTrekant = FlagRhieChow = Seiche6 = 0;
    MinVertDist = 0.001;
    for (int c = 1; c <= NoCells; ++c) Ctrekant[c] = 0, Cdensgradi[c] = 0.0;
    for (int f = 1; f <= NoSurfaces; ++f) Fdgrad[f] = 0.0;
    row.set();
    waterflow(1, NoSurfaces);
    for (double centre : {1.5, 2.5}) {
      for (int f : xFaces(centre)) {
        const double rc = 1000.0 * kSideD * 20.0 * checker(Fcell1[f]);
        const double velocity = velocityFlux(f, 0.1, 0.0, 0.0);
        const double expected = row.factor == 0.2 ? velocity + 0.2 * velocity * checker(Fcell1[f])
                                                  : velocity + row.factor * rc + row.extra;
        EXPECT_NEAR(Fflux[f], expected, 1e-10) << row.name << " face " << f;
      }
    }
  }
}

// The seiche rule (F 69 second value above 9) removes the term from the
// faces between stacked cells; a pressure checkerboard in z shows it.
TEST_F(FaceFluxes, SeicheRuleOnBottomFaces) {
  allocate(8, 5, 6);
  addColumns(2, 2, 2, 2, 4);
  buildBlocks();
  metric();
  invRelaxVelocity = 1.0;
  fill([](int) { return 0.0; }, [](int) { return 0.0; }, [](int) { return 0.0; },
       [](int c) { return c % 2 == 0 ? 10.0 : -10.0; });
  waterflow(1, NoSurfaces);
  const int middle = Cflatet[2];  // between cells 2 and 3, both with outer cells
  EXPECT_NEAR(Fflux[middle], 1000.0 * 0.01 * 20.0, 1e-10);
  Seiche2 = 10;
  waterflow(1, NoSurfaces);
  EXPECT_EQ(Fflux[middle], 0.0);
}

// F 203 4: flat cells 5 mm high under 1 m squares carry at most
// 1000 Farea r (h1 + h2)/2 vertically, r their height over width.
TEST_F(FaceFluxes, VerticalFluxLimitOfFlatCells) {
  allocate(8, 5, 4);
  addColumns(2, 2, 2, 2, 2, 0.01);
  buildBlocks();
  metric();
  invRelaxVelocity = 1.0;
  fill([](int) { return 0.3; }, [](int) { return 0.4; }, [](int c) { return c == 1 ? 0.01 : -0.02; },
       [](int) { return 0.0; });
  FlagVertVelStab = 4;
  waterflow(1, NoSurfaces);
  const double r = 0.005 / 2.0, bound = 1000.0 * 1.0 * r * 0.5;
  EXPECT_NEAR(Fflux[Cflatet[1]], -bound, 1e-12);
}

// F 226 1: every top face takes the velocity of the cell below it alone,
// the water surface included.
TEST_F(FaceFluxes, SurfaceFacesFromTheCellBelow) {
  channel();
  fill([](int) { return 0.0; }, [](int) { return 0.0; }, [](int c) { return 0.01 * c; }, [](int) { return 0.0; });
  FlagSurfFlux = 1;
  waterflow(1, NoSurfaces);
  for (int c = 1; c <= NoCells; ++c) EXPECT_NEAR(Fflux[Cflatet[c]], 1000.0 * 0.01 * c * Faz[Cflatet[c]], 1e-12) << c;
}

// F 61: the face velocities are the mean of the new and the previous time
// step's, which exist only in transient runs; a steady run ignores it.
TEST_F(FaceFluxes, CrankNicolsonMeanInTransientRuns) {
  TimeStep = 1.0;
  channel();
  CrankNicols = 0.5;
  fill([](int) { return 0.3; }, [](int) { return 0.0; }, [](int) { return 0.0; }, [](int) { return 0.0; });
  for (int c = 1; c <= NoCells; ++c) Cxvel_old[c] = 0.1;
  waterflow(1, NoSurfaces);
  for (double centre : {0.5, 1.5, 2.5, 3.5}) {
    for (int f : xFaces(centre)) EXPECT_NEAR(Fflux[f], velocityFlux(f, 0.2, 0.0, 0.0), 1e-10) << f;
  }
}

TEST_F(FaceFluxes, CrankNicolsonIgnoredInSteadyRuns) {
  channel();
  ASSERT_EQ(Cxvel_old, nullptr);
  CrankNicols = 0.5;
  fill([](int) { return 0.3; }, [](int) { return 0.0; }, [](int) { return 0.0; }, [](int) { return 0.0; });
  waterflow(1, NoSurfaces);
  for (int f : xFaces(1.5)) EXPECT_NEAR(Fflux[f], velocityFlux(f, 0.3, 0.0, 0.0), 1e-10) << f;
}

// An empty range writes no face, but the nested-border faces are cleared.
TEST_F(FaceFluxes, EmptyRangeStillClearsTheNestedFaces) {
  channel();
  for (int f = 1; f <= NoSurfaces; ++f) Fflux[f] = 5.0;
  NoNestflater = 1;
  Npflate[1] = 7;
  waterflow(5, 4);
  for (int f = 1; f <= NoSurfaces; ++f) EXPECT_EQ(Fflux[f], f == 7 ? 0.0 : 5.0) << f;
}

// Two blocks side by side, each column one cell: block 1 columns 2..3, block
// 2 columns 4..5, both j = 2..3.
class UnevenBlocks : public FaceFluxes {
 protected:
  void SetUp() override {
    FaceFluxes::SetUp();
    allocate(8, 5, 4);
    addColumns(2, 3, 2, 3, 1);
    addColumns(4, 5, 2, 3, 1);
    buildBlocks();
    metric();
  }
  static std::vector<int> sideFaces(int i, const int *side) {
    return {side[static_cast<int>(zval[i][2][0])], side[static_cast<int>(zval[i][3][0])]};
  }
};

// Both sets end with the mean of their totals; a set without flow stays.
TEST_F(UnevenBlocks, BalanceOfTheTwoSets) {
  struct Row {
    int mode;
    double a[2], b[2], expectedA[2], expectedB[2];
  };
  const Row rows[] = {
      {1, {1.0, 3.0}, {4.0, 8.0}, {2.0, 6.0}, {8.0 / 3.0, 16.0 / 3.0}},
      {1, {1.0, 3.0}, {0.0, 0.0}, {0.5, 1.5}, {0.0, 0.0}},
      {2, {1.0, 3.0}, {4.0, 8.0}, {2.0, 6.0}, {8.0 / 3.0, 16.0 / 3.0}},
  };
  for (const Row &row : rows) {
    UnevenConnect = row.mode;
    const std::vector<int> a = row.mode == 1 ? sideFaces(3, Cflatee) : sideFaces(4, Cflatee);
    const std::vector<int> b = row.mode == 1 ? sideFaces(4, Cflatew) : sideFaces(3, Cflatew);
    for (int f = 1; f <= NoSurfaces; ++f) Fflux[f] = 9.0;
    for (int k = 0; k < 2; ++k) {
      Fflux[a[k]] = row.a[k];
      Fflux[b[k]] = row.b[k];
    }
    correctFluxUneven();
    for (int k = 0; k < 2; ++k) {
      EXPECT_DOUBLE_EQ(Fflux[a[k]], row.expectedA[k]) << row.mode;
      EXPECT_DOUBLE_EQ(Fflux[b[k]], row.expectedB[k]) << row.mode;
    }
    // Balanced sets stay as they are; a set without flow cannot be balanced
    // and the other is halved at every call.
    const std::vector<double> once(Fflux, Fflux + NoSurfaces + 1);
    correctFluxUneven();
    if (row.b[0] + row.b[1] != 0.0) {
      for (int f = 1; f <= NoSurfaces; ++f) EXPECT_DOUBLE_EQ(Fflux[f], once[static_cast<std::size_t>(f)]) << f;
    }
    int untouched = 0;
    for (int f = 1; f <= NoSurfaces; ++f) untouched += Fflux[f] == 9.0;
    EXPECT_EQ(untouched, NoSurfaces - 4) << row.mode;
  }
}

// The threaded form gives the serial fluxes bit for bit, whole-grid steps
// included, for 1, 3 and 4 chunks.
TEST_F(UnevenBlocks, ChunkedEqualsSerial) {
  invRelaxVelocity = 1.25;
  unsigned state = 12345;
  auto next = [&state](int) {
    state = state * 1103515245u + 12345u;
    return static_cast<double>(state % 20000u) / 10000.0 - 1.0;
  };
  fill(next, next, next, [&](int c) { return 1000.0 * next(c); });
  FlagRhieChow = 7;
  FlagSurfFlux = 1;
  UnevenConnect = 1;
  NoNestflater = 1;
  Npflate[1] = 3;
  NoProcessesSolver = 0;
  waterflow(1, NoSurfaces);
  const std::vector<double> serial(Fflux, Fflux + NoSurfaces + 1);
  for (int threads : {1, 3, 4}) {
    NoProcessesSolver = threads;
    fixThreadCount(threads);
    for (int f = 0; f <= NoSurfaces; ++f) Fflux[f] = -7.0;
    Fflux[0] = serial[0];
    waterflowChunked(1, NoSurfaces);
    for (int f = 1; f <= NoSurfaces; ++f) {
      ASSERT_EQ(Fflux[f], serial[static_cast<std::size_t>(f)]) << threads << " threads, face " << f;
    }
  }
}

}  // namespace
