// The sediment equation is each cell's mass balance whatever the water
// fluxes: two columns of two cells with fluxes set by hand that do not close
// (as after a grid regeneration), built by the coefficient builders and the
// time term of the sediment loop and solved to round-off. Regression: the
// centre coefficient was the time term plus the sum of the neighbours, which
// made the flux divergence times the concentration a source or a sink.
#include <gtest/gtest.h>

#include <cmath>

#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/work_ranges.h"
#include "sediment/concentration/equation_terms.h"
#include "solvers/hand_cells.h"
#include "solvers/sediment_coefficients.h"

namespace {

// Cells 1 (bottom) and 2 form the west column, 3 and 4 the east one; every
// cell holds 1 m3 over a plan area of 1 m2.
class CellBalance : public HandCellsTest {
 protected:
  void SetUp() override {
    HandCellsTest::SetUp();
    FlagTSC = 3;      // the per-size rows exist; each case picks its F 37
    TimeStep = 10.0;  // and the old-time concentrations
    allocateCells(4);
    stackColumn(1, 2);
    stackColumn(3, 2);
    linkEast(1, 3);
    linkEast(2, 4);
    for (int c = 1; c <= 4; ++c) {
      Cvol[c] = 1.0;
      Cgamma[c] = CgammaV[c] = 0.5;  // eddy diffusion across every face
    }
    // Bed and surface faces, the faces inside the columns and between them.
    // The water fluxes take 350 kg/s net out of cell 1 and 200 kg/s out of
    // cell 4, and bring 170 kg/s net into cell 2 and 380 kg/s into cell 3:
    // nothing closes.
    setFace(1, {0, 1, 0, 5, 1.0, 0.5, 0.5, 0.0});
    setFace(2, {1, 2, 6, 5, 1.0, 0.5, 0.5, 50.0});
    setFace(3, {2, 0, 6, 0, 1.0, 0.5, 0.5, 0.0});
    setFace(4, {0, 3, 0, 5, 1.0, 0.5, 0.5, 0.0});
    setFace(5, {3, 4, 6, 5, 1.0, 0.5, 0.5, -80.0});
    setFace(6, {4, 0, 6, 0, 1.0, 0.5, 0.5, 0.0});
    setFace(7, {1, 3, 2, 4, 1.0, 0.5, 0.5, 300.0});
    setFace(8, {2, 4, 2, 4, 1.0, 0.5, 0.5, -120.0});
    for (int f = 1; f <= 8; ++f) Faz[f] = Ftype1[f] == 6 || Ftype2[f] == 5 ? 1.0 : 0.0;
    Cflateb[1] = 1;
    Cflateb[3] = 4;
    Equation = 7;
  }

  // Gauss-Seidel sweeps on the equation of size l until nothing changes.
  static void solveToRoundOff(const double *ap, const double *source, const double *at, const double *ab, int l) {
    double *C = Cconc[l];
    for (int sweep = 0; sweep < 2000; ++sweep) {
      for (int c = 1; c <= 4; ++c) {
        C[c] = (Cae[c] * C[Ccelle[c]] + Caw[c] * C[Ccellw[c]] + at[c] * C[Ccellt[c]] + ab[c] * C[Ccellb[c]] +
                source[c]) /
               ap[c];
      }
    }
  }
};

// Without settling nothing leaves the cells (no open boundary, no bed
// exchange): the suspended volume stays what it was, to round-off, for one
// size on the shared rows (F 37 2) and on the per-size rows (F 37 3). With
// a settling velocity the loss is exactly what settles through the bed
// faces at the new concentrations, the flux the bed balance books. A step
// of 1000 s makes the time term (1 kg/s) smaller than the net inflow of
// cells 2 and 3: their centre coefficients fall below the sum of their
// neighbours, and the sweeps still converge.
TEST_F(CellBalance, NoSedimentMadeOrLost) {
  const double old[5] = {0.0, 0.004, 0.001, 0.002, 0.003};
  for (int tsc : {2, 3}) {
    for (double w : {0.0, 0.01}) {
      for (double step : {10.0, 1000.0}) {
        SCOPED_TRACE(testing::Message() << "F 37 " << tsc << ", fall velocity " << w << ", time step " << step);
        FlagTSC = tsc;
        fallvelo[1] = w;
        TimeStep = step;
        for (int c = 0; c <= 4; ++c) Cconc[1][c] = Cconc_old[1][c] = old[c];
        const bool shared = tsc == 2;
        if (shared) coeff_make1(WFStart, WFEnd);
        else coeff_make2(WFStart, WFEnd);
        sedimentTimeTerm();
        const double *ap = shared ? Cap : Capm[1], *source = shared ? Csource : Csourcem[1];
        const double *at = shared ? Cat : Catm[1], *ab = shared ? Cab : Cabm[1];
        if (step > 100.0) {
          EXPECT_LT(ap[2], Cae[2] + Caw[2] + at[2] + ab[2]);
          EXPECT_LT(ap[3], Cae[3] + Caw[3] + at[3] + ab[3]);
        }
        solveToRoundOff(ap, source, at, ab, 1);
        double before = 0.0, after = 0.0;
        for (int c = 1; c <= 4; ++c) {
          before += old[c] * Cvol[c];
          after += Cconc[1][c] * Cvol[c];
          EXPECT_TRUE(Cconc[1][c] >= 0.0) << "cell " << c << ": " << Cconc[1][c];
        }
        const double settled = (Cconc[1][1] + Cconc[1][3]) * w * 1.0 * step;  // m3 through the two bed faces
        EXPECT_NEAR(after, before - settled, 1e-15) << "after " << after << ", before " << before;
      }
    }
  }
}

}  // namespace
