// The cross-section continuity corrections on hand-built columns: block 1
// is a row of cross-sections of one column each, their east faces carrying
// a chosen share of the inflow discharge Q1 = 100 kg/s.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "flow/corrections/continuity_corrections.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/control_tables.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"
#include "turbulence/box_cells.h"

namespace {

using SectionContinuity = BoxCells;

// Cross-section i = 1..5 is column i - 1 of two cells; section 5 is dry.
// Each section's east faces carry `share` x Q1 in total, half per cell.
const double kShares[] = {0.9, 0.25, 1.2, -0.5, 0.05};

void sections() {
  BoxCells::build(5, 2, 1.0, 1.0, 0.5);
  block[1].i1 = 1;
  block[1].i2 = 5;
  block[1].j1 = block[1].j2 = 1;
  DischargeStruct[1].discharge = 100.0;
  for (int i = 1; i <= 5; ++i) {
    zval[i][1][0] = i == 5 ? 0 : BoxCells::cell(i - 1, 0);
    for (int k = 0; k < 2; ++k) {
      const int c = BoxCells::cell(i - 1, k);
      Fflux[Cflatee[c]] = 50.0 * kShares[i - 1];
      Cap[c] = 10.0 + c;
      Csource[c] = 1.0;
      Cxvel[c] = 0.5;
    }
  }
}

double sectionFlux(int i) {
  return Fflux[Cflatee[BoxCells::cell(i - 1, 0)]] + Fflux[Cflatee[BoxCells::cell(i - 1, 1)]];
}

TEST_F(SectionContinuity, FluxesScaledToTheInflow) {
  sections();
  correctContinuity();
  EXPECT_NEAR(sectionFlux(1), 100.0, 1e-9) << "90 %: times 1/0.9";
  EXPECT_NEAR(sectionFlux(2), 100.0, 1e-9) << "25 %: times 4";
  EXPECT_NEAR(sectionFlux(3), 100.0, 1e-9) << "120 %: scaled down";
  EXPECT_EQ(sectionFlux(4), -50.0) << "net reverse flow: left alone";
  EXPECT_EQ(sectionFlux(5), 5.0) << "the dry section has no cells: its column's faces stay";
}

TEST_F(SectionContinuity, UpstreamSectionsOfTheUEquation) {
  struct Row {
    int equation, lastSection;
    double push[5];   // Csource gains push x Cap
    double scale[5];  // Cxvel is multiplied by
  };
  const Row rows[] = {
      // F 413 2: the factor clamped to 1..3.
      {1, 9, {1.0 / 0.9 - 1.0, 2.0, 0.0, 0.0, 0.0}, {1, 1, 1, 1, 1}},
      {1, 1, {1.0 / 0.9 - 1.0, 0.0, 0.0, 0.0, 0.0}, {1, 1, 1, 1, 1}},
      // F 413 3: scaled without clamp; reversed and dry sections untouched.
      {4, 9, {0, 0, 0, 0, 0}, {1.0 / 0.9, 4.0, 1.0 / 1.2, 1.0, 1.0}},
      {4, 2, {0, 0, 0, 0, 0}, {1.0 / 0.9, 4.0, 1.0, 1.0, 1.0}},
      {4, 0, {0, 0, 0, 0, 0}, {1, 1, 1, 1, 1}},
      {2, 9, {0, 0, 0, 0, 0}, {1, 1, 1, 1, 1}},
  };
  for (const Row &r : rows) {
    sections();
    Equation = r.equation;
    surfaceDampSec = r.lastSection;
    correctContinuity2();
    for (int i = 1; i <= 4; ++i) {
      for (int k = 0; k < 2; ++k) {
        const int c = BoxCells::cell(i - 1, k);
        EXPECT_NEAR(Csource[c], 1.0 + r.push[i - 1] * Cap[c], 1e-12)
            << "equation " << r.equation << ", last section " << r.lastSection << ", section " << i;
        EXPECT_NEAR(Cxvel[c], 0.5 * r.scale[i - 1], 1e-12)
            << "equation " << r.equation << ", last section " << r.lastSection << ", section " << i;
      }
    }
  }
}

TEST_F(SectionContinuity, FivePercentSectionScaledTwentyfold) {
  sections();
  block[1].i1 = 5;
  zval[5][1][0] = BoxCells::cell(4, 0);
  Equation = 4;
  surfaceDampSec = 9;
  correctContinuity2();
  EXPECT_NEAR(Cxvel[BoxCells::cell(4, 1)], 10.0, 1e-9);
  correctContinuity();
  EXPECT_NEAR(sectionFlux(5), 100.0, 1e-9);
}

TEST_F(SectionContinuity, VelocitiesZeroButProfileEnds) {
  // Three columns of three cells; P 17 keeps columns 1 and 3 (step 2).
  BoxCells::build(3, 3, 1.0, 1.0, 0.5);
  for (int i = 1; i <= 3; ++i) zval[i][1][0] = BoxCells::cell(i - 1, 0);
  std::vector<double> oldU(NoCells + 1), oldV(NoCells + 1), oldW(NoCells + 1);
  for (int c = 1; c <= NoCells; ++c) {
    Cxvel[c] = c;
    Cyvel[c] = -c;
    Czvel[c] = 0.1 * c;
  }
  VProfiles[1] = {1, 3, 1, 1, 2, 1};
  NoVProfiles = 1;

  setVelocitiesZero();  // a steady run has no old velocities
  EXPECT_EQ(Cxvel[5], 5.0);

  Cxvel_old = oldU.data();
  Cyvel_old = oldV.data();
  Czvel_old = oldW.data();
  setVelocitiesZero();
  for (int c = 1; c <= NoCells; ++c) {
    const int column = (c - 1) / 3, level = (c - 1) % 3;
    const bool kept = column != 1 && level != 1;
    EXPECT_EQ(Cxvel[c], kept ? c : 0.0) << "cell " << c;
    EXPECT_EQ(Cyvel[c], kept ? -c : 0.0) << "cell " << c;
    EXPECT_EQ(Czvel[c], kept ? 0.1 * c : 0.0) << "cell " << c;
    EXPECT_EQ(oldU[c], c) << "cell " << c;
    EXPECT_EQ(oldW[c], 0.1 * c) << "cell " << c;
  }
  Cxvel_old = Cyvel_old = Czvel_old = nullptr;
}

TEST_F(SectionContinuity, SingleCellColumnsAreNotProfiles) {
  BoxCells::build(2, 1, 1.0, 1.0, 0.5);
  zval[1][1][0] = 1;
  zval[2][1][0] = 2;
  std::vector<double> oldU(3), oldV(3), oldW(3);
  Cxvel[1] = Cxvel[2] = 1.0;
  VProfiles[1] = {1, 2, 1, 1, 1, 0};  // a step of 0 is taken as 1
  NoVProfiles = 1;
  Cxvel_old = oldU.data();
  Cyvel_old = oldV.data();
  Czvel_old = oldW.data();
  setVelocitiesZero();
  EXPECT_EQ(Cxvel[1], 0.0);
  EXPECT_EQ(Cxvel[2], 0.0);
  Cxvel_old = Cyvel_old = Czvel_old = nullptr;
}

}  // namespace
