// The grid as a linear-elastic soil body under its own weight: the x, y and z
// displacements (kept in the velocity arrays) are solved with the stiffness
// coefficients, the normal stresses follow from their gradients, and cells
// whose horizontal and vertical stresses part far enough are marked for the
// thixotropic slide.
#include <algorithm>
#include <cmath>

#include "base/exit_codes.h"
#include "base/log.h"
#include "bed/bed_services.h"
#include "bed/slides/soil_layer/soil_stress.h"
#include "grid/geometry/gradients.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/work_ranges.h"
#include "solvers/point_solver.h"
#include "solvers/stress_coefficients.h"
#include "startup/operations.h"

namespace {

constexpr double kUnitWeight = 9810.0;  // density times gravity of the soil body, N/m3

// The field and its old copy of one displacement equation.
struct Displacement {
  int equation;
  double *field, *old;
};

// A cell without a cell below rests on ground that does not move: the bed
// face gets the stiffness of a face to a fixed point half a cell below the
// centre (the normal stiffness for z, the shear stiffness for x and y).
// Without it the body has no support and the z equation no solution.
void restOnGround(int equation) {
  const double E = EModulus, nu = PoissonRatio;
  const double factor = equation == 3 ? 1.0 / (1.0 - nu * nu) : 1.0 / (2.0 + nu);
  for (int c = WCStart; c <= WCEnd; ++c) {
    if (Ccellb[c] == 0) Cab[c] = factor * E * Farea[Cflateb[c]] / Ckdist[c];
  }
}

// Free surface and free sides, the centre coefficient, and the source: the
// weight for z, the lateral push of the vertical stress for x and y.
void completeEquation(int equation) {
  const double nu = PoissonRatio;
  const double *sigmaZ = Cstress[2];
  for (int c = WCStart; c <= WCEnd; ++c) {
    if (Ccellt[c] == 0) Cat[c] = 0.0;
    if (Ccelle[c] == 0) Cae[c] = 0.0;
    if (Ccellw[c] == 0) Caw[c] = 0.0;
    Cap[c] = std::max(1e-5, Cab[c] + Cat[c] + Cas[c] + Can[c] + Cae[c] + Caw[c]);
    if (equation == 3) {
      Csource[c] = -kUnitWeight * Cvol[c];
    } else {
      const double across = equation == 2 ? Cjdist[c] : Cidist[c];
      Csource[c] = nu * d_di_orth_xA(sigmaZ, equation, c) * Ckdist[c] / across +
                   (1.0 + nu) * 2.0 * Faz[Cflatet[c]] / (1.0 - nu * nu) * d_di_orth_x(sigmaZ, equation, c);
    }
  }
}

// The second-order neighbours of the flow's scheme take no part.
void clearSecondNeighbours() {
  for (double *a : {Caee, Caww, Cann, Cass, Catt, Cabb}) {
    if (a) std::fill(a + WCStart, a + WCEnd + 1, 0.0);
  }
}

// Rows 3, 5 and 6 of variant 9 from the x displacement: the shear of the
// side faces and of the level faces per unit area.
void shearRows() {
  const double *u = Cxvel;
  for (int c = WCStart; c <= WCEnd; ++c) {
    const double uc = u[c];
    Cstress[6][c] = 2.0 * ((u[Ccellw[c]] - uc) * Caw[c] + (u[Ccelle[c]] - uc) * Cae[c]) /
                    (Fax[Cflatee[c]] + Fax[Cflatew[c]]);
    const double area = Faz[Cflatet[c]];
    const double T = (u[Ccellt[c]] - uc) * Cat[c], B = (u[Ccellb[c]] - uc) * Cab[c];
    if (Ccellt[c] == 0) {
      Cstress[3][c] = Cstress[5][c] = -B / area;
    } else if (Ccellb[c] == 0) {
      Cstress[3][c] = Cstress[5][c] = T / area;
    } else {
      Cstress[3][c] = (T + B) * 0.5 / area;
      Cstress[5][c] = (T - B) * 0.5 / area;
    }
  }
}

}  // namespace

void soilNormalStresses() {
  const double E = EModulus, nu = PoissonRatio, M = MModulus, L = LModulus;
  for (int c = WCStart; c <= WCEnd; ++c) {
    double &sx = Cstress[0][c], &sz = Cstress[2][c];
    if (FlagStressStrain == 9) {
      const double dz = d_dx_orth_x(Czvel, 3, c);
      sx = E / (1.0 - nu * nu) * d_dx_orth_x(Cxvel, 1, c) + E * nu * dz;
      sz = E / (1.0 - nu * nu) * dz;
      Cstress[4][c] = Cstress[6][c] / (sz + 1e-20);
      Cstress[1][c] = Cstress[5][c] / (sz + 1e-20);
    } else {
      const double ex = d_di_orth_xA(Cxvel, 1, c) / Cvol[c], ez = d_di_orth_xA(Czvel, 3, c) / Cvol[c];
      if (FlagStressStrain == 4) {
        sx = (2.0 * M + L) * ex + L * ez;
        sz = (2.0 * M + L) * ez + L * ex;
      } else {
        sx = M * ex + L * Cstress[4][c];
        sz = M * ez;
      }
    }
  }
}

void soilFailureMarks() {
  if (!Cthixorat || !Cthixolev) return;
  for (int c = WCStart; c <= WCEnd; ++c) {
    const double sx = Cstress[0][c], sz = Cstress[2][c];
    const double r = std::fabs((sx - sz) / (sx + sz + 1e-20));
    Cthixorat[c] = r;
    Cthixolev[c] = r > 1.1 ? 2 : (r >= 0.9 ? 1 : 0);
  }
}

void computeSoilStress() {
  // The Lame modulus of the other variants divides by 1 - 2 nu.
  if (PoissonRatio >= 0.5 && FlagStressStrain != 9) {
    fatalExit(kExitInconsistent, "Error for F 247 in control: a Poisson ratio of 0.5 needs F 259 9\n");
  }
  setWholeGridRange(NoCells, NoSurfaces);
  Cvol[0] = 0.0;
  if (NoBCells == 0) operations.BedMake();
  MModulus = EModulus / (1.0 + PoissonRatio);
  if (PoissonRatio < 0.5) {
    LModulus = EModulus * PoissonRatio / ((1.0 - 2.0 * PoissonRatio) * (1.0 + PoissonRatio));
  }
  const bool transient = TimeStep > 1e-8;
  // Entry 0 is the ground every bottom cell rests on.
  for (double *field : {Cxvel, Cyvel, Czvel, Cstress[0], Cstress[1], Cstress[2]}) {
    std::fill(field, field + NoCells + 1, 0.0);
  }
  if (transient) {
    for (double *field : {Cxvel_old, Cyvel_old, Czvel_old}) std::fill(field, field + NoCells + 1, 0.0);
  }
  const Displacement equations[3] = {{3, Czvel, Czvel_old}, {2, Cyvel, Cyvel_old}, {1, Cxvel, Cxvel_old}};
  for (int iteration = 0; iteration < iterGlobalMax; ++iteration) {
    operations.waterflow(WFStart, WFEnd);
    // The top faces carry the direction in which the surface moves.
    for (int c = WCStart; c <= WCEnd; ++c) {
      if (Ccellt[c] != 0) continue;
      const int f = Cflatet[c];
      Fflux[f] = (Faz[f] * Czvel[c] + Fax[f] * Cxvel[c]) * 1000.0;
    }
    for (const Displacement &d : equations) {
      Equation = d.equation;
      Cf = d.field;
      Cf_old = d.old;
      coeff_make_stress(d.equation, WFStart, WFEnd);
      restOnGround(d.equation);
      clearSecondNeighbours();
      completeEquation(d.equation);
      solver();
      if (transient) std::copy(d.field, d.field + NoCells + 1, d.old);
      if (d.equation == 1 && FlagStressStrain == 9) shearRows();
    }
    soilNormalStresses();
    soilFailureMarks();
  }
}
