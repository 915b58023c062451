// The limiters after the SIMPLE correction on hand-built cells: the pressure
// of lone edge cells, the vertical velocity between stacked cells, and the
// repair of cells whose faces all let water out, with its log line.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "flow/corrections/correction_limiters.h"
#include "grid/grid_fixture.h"
#include "model/bed_cells.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/work_ranges.h"
#include "startup/control_reader.h"

namespace {

class Limiters : public GridFixture {
 protected:
  void SetUp() override {
    GridFixture::SetUp();
    allocate(4, 4, 4, 200);
    NoCells = 40;
    NoSurfaces = 100;
    WCStart = 1, WCEnd = NoCells, WFStart = 1, WFEnd = NoSurfaces;
    for (int c = 1; c <= NoCells; ++c) Cidist[c] = Cjdist[c] = 0.5, Ckdist[c] = 0.05;
    std::remove("boogie");
  }
};

// Cell 1 with only an east neighbour 2: limited against it over the distance
// Cidist[2] + Cidist[1] = 1.5 m. Cell 3 with only a north neighbour 4 uses
// Cjdist. Cell 5 with three neighbours, cell 9 with a cell above, are not
// limited; cell 11 takes the closer of its two neighbours.
TEST_F(Limiters, EdgePressureWithinTheSlope) {
  struct Case {
    double slope;
    double p1, p3, p11;
  };
  const Case cases[] = {{0.0, 1000.0, 1000.0, 1000.0},
                        {1e-20, 1000.0, 1000.0, 1000.0},
                        {0.01, 147.15, 98.1, 598.1}};
  for (const Case &k : cases) {
    SCOPED_TRACE(k.slope);
    for (int c = 1; c <= 14; ++c) Cpres[c] = 0.0;
    Ccelle[1] = 2, Cidist[2] = 1.0;
    Ccelln[3] = 4;
    Ccelle[5] = 6, Ccellw[5] = 7, Ccelln[5] = 8;
    Ccellw[9] = 10, Ccellt[9] = 12;
    Ccellw[11] = 13, Ccells[11] = 14, Cpres[13] = -500.0, Cpres[14] = 500.0 + 1e-9;
    Cpres[1] = Cpres[3] = Cpres[5] = Cpres[9] = Cpres[11] = 1000.0;
    PresGradMax = k.slope;
    CorrSimpleCorrections(1);
    EXPECT_NEAR(Cpres[1], k.p1, 1e-9);
    EXPECT_NEAR(Cpres[3], k.p3, 1e-9);
    EXPECT_EQ(Cpres[5], 1000.0);
    EXPECT_EQ(Cpres[9], 1000.0);
    EXPECT_NEAR(Cpres[11], k.p11, 1e-6);
  }
}

// The vertical velocities of stacked cells 1 (below) and 2 (above) and the
// flux of face 1 between them, both cells moving at 1 m/s horizontally.
TEST_F(Limiters, VerticalVelocityByF203) {
  struct Case {
    int rule;
    double limit;  // 0: untouched
  };
  // Rule 2: Ckdist / Cidist = 0.1; rule 3: 0.1 / 2 = 0.05 is not flat, then
  // cells of 0.005 m give 0.01 / 2 = 0.005.
  const Case cases[] = {{1, 0.1}, {2, 0.1}, {3, 0.0}, {4, 0.0}, {0, 0.0}};
  for (const Case &k : cases) {
    SCOPED_TRACE(k.rule);
    Fcell1[1] = 1, Fcell2[1] = 2, Ftype1[1] = 6, Ftype2[1] = 5, Farea[1] = 2.0;
    Cxvel[1] = Cxvel[2] = 1.0;
    Czvel[1] = 0.5, Czvel[2] = -0.5, Fflux[1] = 900.0;
    FlagVertVelStab = k.rule;
    CorrSimpleCorrections(1);
    const double L = k.limit > 0.0 ? k.limit : 1e9;
    EXPECT_DOUBLE_EQ(Czvel[1], std::min(0.5, L));
    EXPECT_DOUBLE_EQ(Czvel[2], std::max(-0.5, -L));
    EXPECT_DOUBLE_EQ(Fflux[1], std::min(900.0, 1000.0 * L * 2.0));
  }
  Ckdist[1] = Ckdist[2] = 0.005;
  FlagVertVelStab = 3;
  CorrSimpleCorrections(1);
  EXPECT_DOUBLE_EQ(Czvel[1], 0.005);
  EXPECT_DOUBLE_EQ(Fflux[1], 10.0);
  // A face with one cell, or between side neighbours, is left alone.
  Fcell2[1] = 0, Czvel[1] = 0.5;
  CorrSimpleCorrections(1);
  EXPECT_EQ(Czvel[1], 0.5);
}

// Faces of cell c: south 10c+1, west +2, north +3, east +4, bottom +5, top +6.
void sixFaces(int c) {
  Cflates[c] = 10 * c + 1, Cflatew[c] = 10 * c + 2, Cflaten[c] = 10 * c + 3;
  Cflatee[c] = 10 * c + 4, Cflateb[c] = 10 * c + 5, Cflatet[c] = 10 * c + 6;
}

// Cell 1 lets water out on its west side and has a west and a north
// neighbour: its west flux becomes a small inflow. Cell 2 has six zero
// fluxes and a south neighbour: an outflow cell, its south flux stays 0.
// Cell 3 is a group cell, cell 4 has no neighbour, cell 5 takes water in.
TEST_F(Limiters, OutflowCellsAreRepaired) {
  struct Case {
    int inner;
    char letter;
    std::string log;
  };
  const std::string lines = "WarningSC, Iter 7, [3,4], corrected direction of flows(2)\n";
  const std::string first = "WarningSC, Iter 7, [3,4], corrected direction of floww(1)\n";
  const Case cases[] = {{3, 'K', first + lines}, {2, 'K', ""}, {3, 'N', ""}};
  for (const Case &k : cases) {
    SCOPED_TRACE(std::to_string(k.inner) + k.letter);
    std::remove("boogie");
    for (int f = 0; f <= 60; ++f) Fflux[f] = 0.0;
    for (int c = 1; c <= 5; ++c) sixFaces(c), Cbed[c] = 1, Cinout[c] = 0;
    Bkooi[1] = 3, Bkooj[1] = 4;
    Iter = 7;
    TransInnerIter = 3;
    debugging = k.letter;
    FlagFlowDirCor = 1;
    Ccellw[1] = 20, Ccelln[1] = 21, Fflux[12] = -5.0, Fflux[14] = 1.0;
    Ccells[2] = 22;
    Ccelle[3] = 23, Cinout[3] = 2, Fflux[34] = 1.0;
    Ccelle[5] = 24, Fflux[54] = -1.0;
    NoCells = 5;
    WCEnd = 5;
    CorrSimpleCorrections(k.inner);
    EXPECT_DOUBLE_EQ(Fflux[12], 0.05);
    EXPECT_EQ(Fflux[13], 0.0);
    EXPECT_EQ(Fflux[21], 0.0);
    EXPECT_EQ(Fflux[34], 1.0);
    EXPECT_EQ(Fflux[54], -1.0);
    EXPECT_EQ(boogie(), k.log);
  }
}

// With none of the data sets given nothing changes; F 203 = 4 belongs to the
// face fluxes and does nothing here.
TEST_F(Limiters, NothingByDefault) {
  Fcell1[1] = 1, Fcell2[1] = 2, Ftype1[1] = 6, Ftype2[1] = 5, Farea[1] = 2.0;
  Czvel[1] = 3.0, Fflux[1] = -7.0, Cpres[1] = 5.0, Ccelle[1] = 3;
  for (int rule : {0, 4}) {
    FlagVertVelStab = rule;
    CorrSimpleCorrections(1);
    EXPECT_EQ(Czvel[1], 3.0);
    EXPECT_EQ(Fflux[1], -7.0);
    EXPECT_EQ(Cpres[1], 5.0);
  }
  EXPECT_EQ(boogie(), "");
}

}  // namespace
