// The SIMPLE correction on a hand-built row of three cells with a fourth cell
// stacked on the middle one: face, velocity and pressure corrections worked
// by hand, the options that switch them, the steps not yet in the engine, and
// the chunked region against the serial call on the channel grid.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "flow/corrections/simple_corrections.h"
#include "grid/column_grid.h"
#include "grid/grid_fixture.h"
#include "grid/grid_services.h"
#include "model/bed_cells.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/status.h"
#include "model/threads.h"
#include "model/work_ranges.h"
#include "startup/control_reader.h"
#include "support/run_case.h"

namespace {

double pressureCorrection[2000];

// Cells 1 - 2 - 3 along x, cell 4 on top of cell 2. Faces 1 (1|2), 2 (2|3),
// 3 the west boundary of 1, 4 the east boundary of 3, 5 between 2 and 4.
// Every cell: CinvAp 0.015, unit areas, volume and extents; faces 2 m2.
class Corrections : public GridFixture {
 protected:
  void SetUp() override {
    GridFixture::SetUp();
    allocate(4, 4, 4, 200);
    buildRow();
  }

  // The row with every data set at its default and the fields at rest.
  static void buildRow() {
    kreadDefaults();
    NoCells = 4;
    NoSurfaces = 5;
    Ccelle[1] = 2, Ccellw[2] = 1, Ccelle[2] = 3, Ccellw[3] = 2;
    Ccellt[2] = 4, Ccellb[4] = 2;
    for (int c = 1; c <= 4; ++c) {
      CinvAp[c] = 0.015;
      Careax[c] = Careay[c] = Careaz[c] = 1.0;
      Cvol[c] = 1.0;
      Cdxdi[c] = Cdydj[c] = Cdzdk[c] = 1.0;
    }
    const int cells[6][2] = {{0, 0}, {1, 2}, {2, 3}, {0, 1}, {3, 0}, {2, 4}};
    for (int f = 1; f <= 5; ++f) {
      Fcell1[f] = cells[f][0];
      Fcell2[f] = cells[f][1];
      Farea[f] = 2.0;
      Fdist1[f] = Fdist2[f] = 0.5;
      Fflux[f] = 7.25;
    }
    Ftype1[1] = Ftype1[2] = 2, Ftype2[1] = Ftype2[2] = 4;
    Ftype1[5] = 6, Ftype2[5] = 5;
    const double p[5] = {0.0, 10.0, 4.0, 1.0, 7.0};
    for (int c = 0; c <= 4; ++c) pressureCorrection[c] = p[c];
    Cf = pressureCorrection;
    relaxPressure = 0.2;
    for (int c = 0; c <= 4; ++c) Cxvel[c] = Cyvel[c] = Czvel[c] = Cpres[c] = 0.0;
  }
};

// What the standard stage gives on the row, worked by hand: a = 1000 * 2^2 *
// 0.015 = 60 on every interior face; one-sided differences at the row's ends
// and along the column, the central one in the middle of the row.
constexpr double kFlux[6] = {0, 7.25 + 360.0, 7.25 + 180.0, 7.25, 7.25, 7.25 - 180.0};
constexpr double kXvel[5] = {0, 0.09, 0.0675, 0.045, 0.0};
constexpr double kZvel[5] = {0, 0.0, -0.045, 0.0, -0.045};
constexpr double kPres[5] = {0, 2.0, 0.8, 0.2, 1.4};

struct OptionCase {
  const char *name;
  void (*set)();
  bool fluxes, velocities, pressure;
};

const OptionCase kOptionCases[] = {
    {"standard", [] {}, true, true, true},
    {"F 171 = 2 keeps Cpres", [] { FlagSIMPLE = 2; }, true, true, false},
    {"F 388 = 0 keeps the velocities", [] { relaxSimpleCorr = 0.0; }, true, false, true},
    {"F 258 = 102 corrects nothing, even with F 271 and F 36 = 11",
     [] { FlagStressTerm = 102, FlagTFS2 = 1, FlagTFS = 11; }, false, false, false},
    {"F 157 = 12 corrects no flux and no velocity", [] { FlagSimpleCorrections = 12; }, false, false, true},
    {"F 69 third value 2 corrects no velocity", [] { Seiche3 = 2; }, true, false, true},
    {"F 372 = 2 outside the mud layer changes nothing", [] { FlagFilterPressure = 2; }, true, true, true},
    {"F 291 damping does not replace the standard correction", [] { FlagDamp3 = 1; }, true, true, true},
};

TEST_F(Corrections, OptionsSwitchTheCorrections) {
  for (const OptionCase &k : kOptionCases) {
    SCOPED_TRACE(k.name);
    buildRow();
    k.set();
    SimpleCorrections(1, 5, 1, 4);
    for (int f = 1; f <= 5; ++f) EXPECT_DOUBLE_EQ(Fflux[f], k.fluxes ? kFlux[f] : 7.25) << "face " << f;
    for (int c = 1; c <= 4; ++c) {
      EXPECT_DOUBLE_EQ(Cxvel[c], k.velocities ? kXvel[c] : 0.0) << "cell " << c;
      EXPECT_EQ(Cyvel[c], 0.0) << "cell " << c;
      EXPECT_DOUBLE_EQ(Czvel[c], k.velocities ? kZvel[c] : 0.0) << "cell " << c;
      EXPECT_DOUBLE_EQ(Cpres[c], k.pressure ? kPres[c] : 0.0) << "cell " << c;
    }
  }
}

// The face and cell ranges are cut independently; empty ranges do nothing.
TEST_F(Corrections, RangesAreIndependent) {
  SimpleCorrections(2, 1, 3, 4);
  for (int f = 1; f <= 5; ++f) EXPECT_EQ(Fflux[f], 7.25);
  EXPECT_EQ(Cxvel[1], 0.0);
  EXPECT_DOUBLE_EQ(Cxvel[3], kXvel[3]);
  EXPECT_DOUBLE_EQ(Cpres[4], kPres[4]);
  SimpleCorrections(1, 1, 1, 0);
  EXPECT_DOUBLE_EQ(Fflux[1], kFlux[1]);
  EXPECT_EQ(Fflux[2], 7.25);
  EXPECT_EQ(Cpres[1], 0.0);
}

// Variants 9 and 20 read arrays that only the slide layer (F 236) and the
// second neighbours (F 114 20) bring; without them the stage ends the run
// before it corrects anything, in the serial call and in the chunked region.
TEST_F(Corrections, VariantsWithoutTheirArraysEndTheRun) {
  for (int variant : {9, 20}) {
    for (bool region : {false, true}) {
      SCOPED_TRACE(variant);
      std::remove("boogie");
      EXPECT_EXIT(
          {
            FlagSimpleCorrections = variant;
            NoProcessesSolver = 3;
            if (region) SimpleCorrectionsRegion(1, 5, 1, 4);
            else SimpleCorrections(1, 5, 1, 4);
          },
          ::testing::ExitedWithCode(251), "");
      EXPECT_EQ(boogie(), "Error for F 157 in control\nVariant 9 needs F 236, variant 20 needs F 114 20\n\n");
    }
  }
}

// The chunked region gives the serial result bit for bit: every face and
// every cell is corrected by its own chunk from the same p', for every
// variant and treatment (variant 3 with chunks that start inside columns,
// the filter before and the corner pressure and top-cell pressure after the
// chunks).
struct ChunkCase {
  const char *name;
  void (*set)();
};

const ChunkCase kChunkCases[] = {
    {"standard", [] {}},
    {"F 157 1", [] { FlagSimpleCorrections = 1; }},
    {"F 157 3", [] { FlagSimpleCorrections = 3; }},
    {"F 157 6", [] { FlagSimpleCorrections = 6; }},
    {"F 157 10", [] { FlagSimpleCorrections = 10; }},
    {"F 157 51", [] { FlagSimpleCorrections = 51; }},
    {"F 271 1", [] { FlagTFS2 = 1; }},
    {"F 372 1", [] { FlagFilterPressure = 1; }},
    {"F 437 1", [] { FlagCorrTrekant5 = 1; }},
    {"F 36 11", [] { FlagTFS = 11, FlagSimpleCorrections = 30; }},
    {"F 258 101", [] { FlagStressTerm = 101; }},
};

double levelChanges[100000];

TEST_F(GridFixture, ChunkedCorrectionsEqualTheSerialCall) {
  buildCaseByHand(CaseGrid::Channel);
  metric();
  ASSERT_GT(NoCells, 300);
  Bdeltah = levelChanges;  // the control of the case has no F 271
  ASSERT_LT(NoCells, 100000);
  const size_t cells = static_cast<size_t>(NoCells + 1), faces = static_cast<size_t>(NoSurfaces + 1);
  auto save = [&](std::vector<double> &out) {
    out.clear();
    for (double *a : {Cxvel, Cyvel, Czvel, Cpres, pressureCorrection}) out.insert(out.end(), a, a + cells);
    out.insert(out.end(), Fflux, Fflux + faces);
    out.insert(out.end(), Bdeltah, Bdeltah + cells);
  };
  auto restore = [&](const std::vector<double> &in) {
    size_t at = 0;
    for (double *a : {Cxvel, Cyvel, Czvel, Cpres, pressureCorrection}) {
      std::memcpy(a, in.data() + at, cells * sizeof(double));
      at += cells;
    }
    std::memcpy(Fflux, in.data() + at, faces * sizeof(double));
    at += faces;
    std::memcpy(Bdeltah, in.data() + at, cells * sizeof(double));
  };
  for (const ChunkCase &k : kChunkCases) {
    SCOPED_TRACE(k.name);
    FlagSimpleCorrections = 0, FlagTFS2 = 0, FlagFilterPressure = 0, FlagCorrTrekant5 = 0, FlagTFS = 0;
    FlagStressTerm = 0;
    k.set();
    for (int c = 0; c <= NoCells; ++c) {
      pressureCorrection[c] = c == 0 ? 0.0 : 100.0 * ((c * 37) % 101) / 101.0 - 50.0;
      CinvAp[c] = 0.001 + 0.0001 * (c % 7);
      Cxvel[c] = 0.5, Cyvel[c] = 0.1, Czvel[c] = 0.0, Cpres[c] = 9810.0 * Czcenter[c];
      Ckinen[c] = 0.01, Croughness[c] = 0.05, Csource[c] = 0.001 * (c % 11);
      Bdeltah[c] = 0.0;
    }
    for (int f = 1; f <= NoSurfaces; ++f) Fflux[f] = 0.01 * (f % 13);
    Cf = pressureCorrection;
    relaxPressure = 0.3;
    std::vector<double> start, serial, chunked;
    save(start);
    fixThreadCount(3);
    NoProcessesSolver = 1;
    SimpleCorrections(WFStart, WFEnd, WCStart, WCEnd);
    save(serial);
    EXPECT_NE(serial, start);
    restore(start);
    for (int chunks : {3, 7}) {
      NoProcessesSolver = chunks;
      SimpleCorrectionsRegion(WFStart, WFEnd, WCStart, WCEnd);
      save(chunked);
      EXPECT_TRUE(std::memcmp(serial.data(), chunked.data(), serial.size() * sizeof(double)) == 0) << chunks;
      restore(start);
    }
  }
}

}  // namespace
