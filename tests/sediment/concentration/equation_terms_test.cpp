// The sediment equation of a time step on the generated channel: the time
// term, the deflection of the near-bed flow on a flat bed, rising particles,
// and a tracer that neither settles nor erodes carried through the channel
// with a closed mass balance in every step.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "flow/boundaries/face_fluxes.h"
#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/control_tables.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/work_ranges.h"
#include "sediment/concentration/concentration_solvers.h"
#include "sediment/concentration/equation_terms.h"
#include "sediment/concentration/sediment_channel.h"
#include "startup/operations.h"

namespace {

int nearBedCalls;
void countNearBed() { ++nearBedCalls; }

// The channel with a steady, uniform flow of 7500 kg/s along x (1.875 m/s
// over its 4 m2) and a sediment that neither settles nor erodes.
class SedimentEquation : public SedimentChannel {
 protected:
  void SetUp() override {
    SedimentChannel::SetUp();
    cohesive[1] = 1e6;  // cohesion above any shear: nothing erodes
    fallvelo[1] = 0.0;
    gsize[1] = 0.0002;
    for (int c = 1; c <= NoCells; ++c) {
      Cxvel[c] = 1.875;
      Ckinen[c] = 1e-4;
      Cepsilon[c] = 1e-5;
    }
    uniformFluxes(1.0);
    nearBedCalls = 0;
    operations.concRijn = countNearBed;  // the near-bed concentration is not needed here
    WBStart = 1;
    WBEnd = NoBCells;
  }

  // The water crosses every face between two columns, none of the others.
  static void uniformFluxes(double factor) {
    for (int f = 1; f <= NoSurfaces; ++f) {
      const bool between = Fcell1[f] != 0 && Fcell2[f] != 0 && Ftype1[f] == 2;
      Fflux[f] = between ? factor * 1000.0 * 1.875 * Farea[f] : 0.0;
    }
  }

  // Suspended sediment in the channel, kg.
  static double suspendedMass() {
    double m = 0.0;
    for (int c = 1; c <= NoCells; ++c) m += Cvol[c] * Cconc[1][c] * 1000.0 * density;
    return m;
  }

  // What leaves through the downstream cells in one step, kg: the water that
  // enters them from upstream leaves at their concentration.
  static double outflowMass() {
    double m = 0.0;
    for (int c = 1; c <= NoCells; ++c) {
      if (Ccelle[c] == 0) m += Fflux[Cflatew[c]] * Cconc[1][c] * TimeStep * density;
    }
    return m;
  }

  static void step() {
    for (int c = 1; c <= NoCells; ++c) Cconc_old[1][c] = Cconc[1][c];
    sedimentEquationTerms();
    ASSERT_EQ(FlagErrorBreak, 0);
    morphology_tsc_solver_tsc2_single();
  }
};

// Inflow minus outflow equals the change of the suspended mass in every step
// (within 1e-6 of the step's inflow; 0.2 % before the centre coefficient
// held each cell's net outflow), and after 200 steps, far more than the
// residence time of 5.3 s, every cell holds the inflow concentration. With
// F 413 1 the equation first scales the fluxes of every cross-section to the
// inflow: the run starts from fluxes 10 % short and keeps its balance.
TEST_F(SedimentEquation, TracerKeepsItsMass) {
  for (int correct : {0, 1}) {
    SCOPED_TRACE(correct);
    FlagCorrectContinuity = correct;
    uniformFluxes(correct ? 0.9 : 1.0);
    for (int c = 0; c <= NoCells; ++c) Cconc[1][c] = 0.0;
    for (int n = 1; n <= 200; ++n) {
      Iter = n;
      const double before = suspendedMass(), inflowBefore = kIn[1];
      step();
      if (HasFatalFailure()) return;
      const double inflow = kIn[1] - inflowBefore;
      ASSERT_NEAR(inflow, 198.75, 1e-9);
      const double defect = inflow - outflowMass() - (suspendedMass() - before);
      ASSERT_LT(std::fabs(defect), 1e-6 * inflow) << "step " << n;
    }
    for (int c = 1; c <= NoCells; ++c) ASSERT_NEAR(Cconc[1][c], 0.001, 1e-9) << "cell " << c;
    EXPECT_EQ(nearBedCalls, 200 * (correct + 1));
  }
}

// One size with F 37 2: the diagonal is the time coefficient Cvol·1000/dt
// plus the six neighbour coefficients, the source the time coefficient times
// the old value (the inflow adds to the cells behind group 1 only).
TEST_F(SedimentEquation, TimeTerm) {
  for (int c = 1; c <= NoCells; ++c) Cconc_old[1][c] = 0.0005 * (c % 5);
  sedimentEquationTerms();
  ASSERT_EQ(FlagErrorBreak, 0);
  for (int c = 1; c <= NoCells; ++c) {
    if (Ccellw[c] == 0) continue;
    const double t = Cvol[c] * 1000.0 / TimeStep;
    EXPECT_NEAR(Cap[c], t + Cae[c] + Caw[c] + Can[c] + Cas[c] + Cat[c] + Cab[c], 1e-9) << c;
    EXPECT_NEAR(Csource[c], t * Cconc_old[1][c], 1e-12) << c;
  }
  // Bsource takes the bottom cell's source for the bed balance.
  for (int b = 1; b <= NoBCells; ++b) EXPECT_EQ(Bsource[1][b], Csource[Bcellt[b]]) << b;
}

// F 84 10 on a flat bed: the bed normal is vertical, so the near-bed flow is
// not turned, but the fluxes and horizontal coefficients are rebuilt once.
TEST_F(SedimentEquation, DeflectionOnAFlatBed) {
  BedLoadFlag = 10;
  shieldscoeff = -0.047;
  for (int c = 1; c <= NoCells; ++c) Cyvel[c] = 0.3;
  for (int f = 1; f <= NoSurfaces; ++f) Fflux[f] = -1.0;
  deflectNearBedFlow();
  const std::vector<double> rebuilt(Fflux + 1, Fflux + NoSurfaces + 1);
  waterflow(1, NoSurfaces);
  for (int f = 1; f <= NoSurfaces; ++f) EXPECT_EQ(Fflux[f], rebuilt[f - 1]) << f;
  for (int c = 1; c <= NoCells; ++c) {
    EXPECT_EQ(Cxvel[c], 1.875) << c;
    EXPECT_EQ(Cyvel[c], 0.3) << c;
  }
}

// Rising particles (negative fall velocity) leave each cell upwards and
// gather under the water surface, which nothing rises through: the
// conservative centre coefficient holds the rising flux where it leaves
// (the top face of every cell but the top one), so F 417 1 adds no terms of
// its own. Inside the channel the horizontal fluxes close and the centre
// coefficient differs from the time term plus the neighbours only by the
// rising flux: less the inflow from below in a top cell, plus the outflow
// upwards in a bottom cell.
TEST_F(SedimentEquation, RisingParticles) {
  fallvelo[1] = -0.001;
  std::vector<double> diagonal[2];
  for (int plastics : {0, 1}) {
    FlagPlastics = plastics;
    sedimentEquationTerms();
    ASSERT_EQ(FlagErrorBreak, 0);
    diagonal[plastics].assign(Cap, Cap + NoCells + 1);
  }
  EXPECT_EQ(diagonal[0], diagonal[1]);
  for (int c = 1; c <= NoCells; ++c) {
    if (Ccellw[c] == 0 || Ccelle[c] == 0) continue;
    const double t = Cvol[c] * 1000.0 / TimeStep;
    const double rises = 0.001 * 1000.0;  // per m2 of plan area
    double expected = 0.0;
    if (Ccellt[c] == 0) expected -= rises * Faz[Cflateb[c]];
    if (Ccellb[c] == 0) expected += rises * Faz[Cflatet[c]];
    if (Ccellt[c] != 0 && Ccellb[c] != 0) expected = rises * (Faz[Cflatet[c]] - Faz[Cflateb[c]]);
    EXPECT_NEAR(Cap[c] - (t + Cae[c] + Caw[c] + Can[c] + Cas[c] + Cat[c] + Cab[c]), expected, 1e-9) << c;
  }
}

}  // namespace
