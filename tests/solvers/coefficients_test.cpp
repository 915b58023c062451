// The convection-diffusion coefficients against values worked by hand on two
// cells and one face, and on short rows of cells for the second-order scheme.
#include <gtest/gtest.h>

#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/work_ranges.h"
#include "solvers/coefficients.h"
#include "solvers/hand_cells.h"
#include "support/run_case.h"

namespace {

class Coefficients : public HandCellsTest {};

// Two cells with eddy viscosity 5 on every face, one face of 2 m2 halfway
// between their centres: D = 2 * 5 / 1 = 10 before any damping.
void twoCells(bool vertical, double flux) {
  for (int c = 1; c <= 2; ++c) Cgamma[c] = CgammaV[c] = 5.0;
  if (vertical) {
    stackColumn(1, 2);
    setFace(1, {1, 2, 6, 5, 2.0, 0.5, 0.5, flux});
  } else {
    linkEast(1, 2);
    setFace(1, {1, 2, 2, 4, 2.0, 0.5, 0.5, flux});
  }
}

struct PowerLawCase {
  const char *name;
  bool vertical;
  double flux;
  int model, equation, turbDens;
  double c1Side, c2Side;  // the coefficient of c1 toward c2 and of c2 toward c1
};

TEST_F(Coefficients, PowerLawOnOneFace) {
  const PowerLawCase cases[] = {
      // Pe = 50/10 = 5: A = 0.5^5, vertical diffusion 10 * A = 0.3125.
      {"vertical Pe 5", true, 50.0, 0, 1, 0, 0.3125, 50.3125},
      {"vertical Pe 5 against the axis", true, -50.0, 0, 1, 0, 50.3125, 0.3125},
      // Horizontal faces keep the whole diffusion.
      {"horizontal Pe 5", false, 50.0, 0, 1, 0, 10.0, 60.0},
      // Pe = 10: A = 0, upwind convection alone.
      {"vertical Pe 10", true, 100.0, 0, 1, 0, 0.0, 100.0},
      {"vertical Pe 30", true, 300.0, 0, 1, 0, 0.0, 300.0},
      // F 71 3: MinGamma (0.001) on vertical faces only: D = 2 * 0.001.
      {"damped vertical", true, 0.0, 0, 1, 3, 0.002, 0.002},
      {"damped horizontal", false, 0.0, 0, 1, 3, 10.0, 10.0},
      // Model 1 diffuses k, epsilon and the components 1.39 times more.
      {"model 1 on k", false, 0.0, 1, 5, 0, 13.900472616068946, 13.900472616068946},
      {"model 1 on a component", false, 0.0, 1, 9, 0, 13.900472616068946, 13.900472616068946},
      {"model 1 on U", false, 0.0, 1, 1, 0, 10.0, 10.0},
      {"model 15 on epsilon", false, 0.0, 15, 6, 0, 5.0, 5.0},
      {"model 14 on k", false, 0.0, 14, 5, 0, 15.0, 15.0},
      {"model 14 on epsilon", false, 0.0, 14, 6, 0, 10.0, 10.0},
  };
  allocateCells(2);
  for (const PowerLawCase &c : cases) {
    twoCells(c.vertical, c.flux);
    TurbulenceModel = c.model;
    Equation = c.equation;
    TurbDensFlag = c.turbDens;
    coeff_make(1, 1);
    const double got1 = c.vertical ? Cat[1] : Cae[1];
    const double got2 = c.vertical ? Cab[2] : Caw[2];
    EXPECT_NEAR(got1, c.c1Side, 1e-12 * (1.0 + c.c1Side)) << c.name;
    EXPECT_NEAR(got2, c.c2Side, 1e-12 * (1.0 + c.c2Side)) << c.name;
  }
}

TEST_F(Coefficients, ConstantViscosityModelTakesItsOwnValues) {
  allocateCells(2);
  TurbulenceModel = 6;
  TCvert = 3.0;
  TChoriz = 7.0;
  Equation = 1;
  twoCells(true, 0.0);
  coeff_make(1, 1);
  EXPECT_DOUBLE_EQ(Cat[1], 6.0);  // 2 m2 * 3 / 1 m
  twoCells(false, 0.0);
  coeff_make(1, 1);
  EXPECT_DOUBLE_EQ(Cae[1], 14.0);
}

TEST_F(Coefficients, BoundaryFaceKeepsTheInflowAlone) {
  allocateCells(1);
  Equation = 1;
  Cgamma[1] = 5.0;
  for (double flux : {-7.0, 7.0}) {
    setFace(1, {1, 0, 2, 0, 2.0, 0.5, 0.0, flux});
    coeff_make(1, 1);
    EXPECT_DOUBLE_EQ(Cae[1], flux < 0 ? 7.0 : 0.0) << flux;
  }
}

// Crank-Nicolson keeps 1 - CrankNicols of every neighbour coefficient of all
// cells in a transient run, even when the face range is empty; a steady run
// is left alone.
TEST_F(Coefficients, CrankNicolsonWeighting) {
  struct Case {
    double timeStep, weight, factor;
  };
  const Case cases[] = {{10.0, 0.5, 0.5}, {10.0, 0.25, 0.75}, {0.0, 0.5, 1.0}, {10.0, 0.0, 1.0}};
  allocateCells(3);
  Equation = 1;
  for (const Case &c : cases) {
    TimeStep = c.timeStep;
    CrankNicols = c.weight;
    for (double *a : {Cae, Caw, Can, Cas, Cat, Cab}) {
      for (int cell = 1; cell <= 3; ++cell) a[cell] = 4.0;
    }
    coeff_make(1, 0);
    for (double *a : {Cae, Caw, Can, Cas, Cat, Cab}) {
      for (int cell = 1; cell <= 3; ++cell) EXPECT_DOUBLE_EQ(a[cell], 4.0 * c.factor) << c.timeStep << " " << c.weight;
    }
  }
}

TEST_F(Coefficients, EmptyRangeClearsTheDummyCell) {
  allocateCells(1);
  Cidist[0] = Cjdist[0] = Cxvel[0] = Cyvel[0] = 3.0;
  coeff_make(1, 0);
  EXPECT_EQ(Cidist[0], 0.0);
  EXPECT_EQ(Cjdist[0], 0.0);
  EXPECT_EQ(Cxvel[0], 0.0);
  EXPECT_EQ(Cyvel[0], 0.0);
}

// A row of cells 1..n along i, 1 m long (half widths 0.5), face k between
// cells k and k+1, every face with the same flux; no eddy viscosity, so the
// diffusion is the MinGamma floor D = 0.001.
void uniformRow(int n, double flux) {
  for (int c = 1; c <= n; ++c) Cidist[c] = Cjdist[c] = Ckdist[c] = 0.5;
  for (int c = 1; c < n; ++c) {
    linkEast(c, c + 1);
    setFace(c, {c, c + 1, 2, 4, 1.0, 0.5, 0.5, flux});
  }
}

class SecondOrder : public HandCellsTest {
 protected:
  void SetUp() override {
    HandCellsTest::SetUp();
    sou[1] = 1;
    allocateCells(5);
    Equation = 1;
  }
};

TEST_F(SecondOrder, UpwindFromTheEastOnAUniformRow) {
  uniformRow(4, -2.0);
  // Face 2 (cells 2 | 3), flow westward: U = 3, N = 2, UU = 4, w = 1.5.
  coeff_make(2, 2);
  EXPECT_DOUBLE_EQ(Cae[2], 0.001 + 3.0);  // a[N] += w |F|
  EXPECT_DOUBLE_EQ(Caee[2], -1.0);        // aa[N] = (1 - w) |F|
  EXPECT_DOUBLE_EQ(Cae[3], 1.0);          // a[U] += (w - 1) |F|
  EXPECT_DOUBLE_EQ(Caw[3], 0.001);        // the upwind side keeps diffusion only
  // Face 3 (cells 3 | 4): U = 4 has no east neighbour (UU = 0): first order.
  coeff_make(3, 3);
  EXPECT_DOUBLE_EQ(Cae[3], 0.001 + 2.0);
  EXPECT_DOUBLE_EQ(Caee[3], 0.0);
}

TEST_F(SecondOrder, UpwindFromTheWestOnAUniformRow) {
  uniformRow(4, 2.0);
  coeff_make(2, 2);  // U = 2, N = 3, UU = 1
  EXPECT_DOUBLE_EQ(Caw[3], 0.001 + 3.0);
  EXPECT_DOUBLE_EQ(Caww[3], -1.0);
  EXPECT_DOUBLE_EQ(Caw[2], 1.0);
  EXPECT_DOUBLE_EQ(Cae[2], 0.001);
}

// A face where the j side of the downstream cell meets an i side: the weight
// mixes the half widths across the turn, and the upwind cell's own share goes
// to its west coefficient.
TEST_F(SecondOrder, TurnedFaceSendsTheUpwindShareWest) {
  Cjdist[1] = 0.5;
  Cidist[3] = 0.25;
  Ccells[2] = 1;  // cell 2 sees cell 1 across its south side
  Ccells[1] = 3;  // UU: the cell beyond 1 on the same side
  setFace(1, {1, 2, 2, 1, 1.0, 0.5, 0.5, 3.0});
  Caw[1] = 0.0;
  coeff_make(1, 1);
  const double w = (2 * 0.5 + 0.25) / (0.5 + 0.25);
  EXPECT_DOUBLE_EQ(Caw[1], (w - 1) * 3.0);
  EXPECT_DOUBLE_EQ(Cas[2], 0.001 + w * 3.0);
  EXPECT_DOUBLE_EQ(Cass[2], (1 - w) * 3.0);
}

TEST_F(SecondOrder, BoundaryFaceGetsNoConvection) {
  Cgamma[1] = 5.0;
  setFace(1, {1, 0, 2, 0, 2.0, 0.5, 0.0, -7.0});
  Cae[1] = Caee[1] = 9.0;
  coeff_make(1, 1);
  EXPECT_EQ(Cae[1], 0.0);
  EXPECT_EQ(Caee[1], 0.0);
}

// Every equation with scheme 1 finds its second-neighbour arrays: the
// allocation follows any entry of K 6, not only U and W.
TEST(SecondNeighbourArrays, AllocatedForAnyEquationWithSchemeOne) {
  const struct {
    const char *control;
    const char *line;
  } cases[] = {
      {"no values given\n", "Have allocated        70.38 Mbytes unstructured arrays\n"},
      {"K 6 0 1 0 0 0 0\n", "Have allocated        72.78 Mbytes unstructured arrays\n"},
      {"K 6 0 0 0 0 1 0\n", "Have allocated        72.78 Mbytes unstructured arrays\n"},
      {"K 6 0 0 0 0 0 1\n", "Have allocated        72.78 Mbytes unstructured arrays\n"},
  };
  for (const auto &c : cases) {
    CaseResult r = runControl(c.control);
    EXPECT_EQ(r.status, 1) << c.control;
    EXPECT_NE(r.file("boogie").find(c.line), std::string::npos) << c.control << r.file("boogie");
  }
}

// A grid with neighbour lists: cell 1's east side lists cell 2, whose west
// face carries 50 kg/s. The list row damps the diffusion D = 10 by the power
// law of Pe 5 (0.5^5), as the face loop does only on vertical faces, and
// replaces cell 1's single coefficient; cell 2 takes the flux plus that part.
TEST_F(Coefficients, ListRowReplacesTheSingleCoefficient) {
  QNFlag = 1;
  allocateCells(2);
  twoCells(false, 50.0);
  Cncelle[1] = 1;
  Cqncelle[1][0] = 2;
  Cflatew[2] = 1;
  WCStart = 1;
  WCEnd = 2;
  Equation = 1;
  coeff_make(1, 1);
  EXPECT_DOUBLE_EQ(Cqnae[1][0], 0.3125);
  EXPECT_DOUBLE_EQ(Caw[2], 50.3125);
  EXPECT_EQ(Cae[1], 0.0);
}

}  // namespace
