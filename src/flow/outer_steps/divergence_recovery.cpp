// When the residuals of the flow run away: the remedies of F 219 that throw
// the diverging fields away and make the iteration more robust, and the
// crash report that shows where a diverged solution broke down.
#include "flow/outer_steps/divergence_recovery.h"

#include <algorithm>
#include <cmath>

#include "files/visualisation/visualisation.h"
#include "grid/grid_services.h"
#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/control_tables.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/status.h"
#include "model/work_ranges.h"
#include "base/log.h"
#include "startup/operations.h"
#include "surface/surface_services.h"

namespace {

// The k and epsilon the start values give the inflowing water: those of the
// last inflow group, as the start values leave them.
struct InflowTurbulence {
  double k, epsilon;
};

InflowTurbulence inflowTurbulence() {
  InflowTurbulence in{DischargeStruct[1].inflowK, DischargeStruct[1].inflowEpsilon};
  for (int g = 0; g < kDischargeGroups; ++g) {
    const DischargeGroup &group = DischargeStruct[g];
    if (group.type == 1 && std::fabs(group.discharge) > 1e-20) in = {group.inflowK, group.inflowEpsilon};
  }
  return in;
}

// A value that is not finite takes the start value instead.
inline double finiteOr(double value, double start) { return std::isfinite(value) ? value : start; }

inline double clipped(double value, double limit) { return std::clamp(finiteOr(value, 0.0), -limit, limit); }

// Step 1: the diverging fields are replaced, from the old-time fields in a
// transient run and from the current ones, clipped, in a steady run.
void resetFields() {
  const int first = WCStart, last = WCEnd;
  const InflowTurbulence in = inflowTurbulence();
  if (Flag2DAccSolver >= 2) {
    for (int c = first; c <= last; ++c) {
      Cpres[c] = Cxvel[c] = Cyvel[c] = Czvel[c] = 0.0;
      Ckinen[c] = Cepsilon[c] = 1e-4;
    }
    if (Cxvel_old) {
      for (int c = first; c <= last; ++c) {
        Cxvel_old[c] = Cyvel_old[c] = Czvel_old[c] = 0.0;
        Ckinen_old[c] = Cepsilon_old[c] = 1e-4;
      }
    }
    return;
  }
  const bool transient = Cxvel_old && Ckinen_old && Cepsilon_old;
  const double *u = transient ? Cxvel_old : Cxvel;
  const double *v = transient ? Cyvel_old : Cyvel;
  const double *w = transient ? Czvel_old : Czvel;
  const double *k = transient ? Ckinen_old : Ckinen;
  const double *e = transient ? Cepsilon_old : Cepsilon;
  for (int c = first; c <= last; ++c) {
    Cxvel[c] = clipped(u[c], 1.0);
    Cyvel[c] = clipped(v[c], 1.0);
    Czvel[c] = clipped(w[c], 0.1);
    Ckinen[c] = finiteOr(k[c], in.k);
    Cepsilon[c] = finiteOr(e[c], in.epsilon);
    Cpres[c] = 0.0;
  }
}

// A new grid with the changed grid options; the driver recomputes its
// geometry, start values, boundaries and fluxes at the next inner iteration.
void regenerate() {
  endOnGridFailure(operations.Unstructure());
  operations.metric();
  operations.BedMake();
  FlagGridChange = 1;
}

void halveRelaxation() {
  relaxPressure *= 0.5;
  relaxVelocity *= 0.5;
  relaxK *= 0.5;
  relaxEpsilon *= 0.5;
  invRelaxVelocity *= 2.0;
}

}  // namespace

void flushFunction(int n) {
  resetFields();
  switch (n) {
    case 2:
      if (FlagGridStab5 != 2) FlagGridStab5 = 2;
      else FlagGridStab2 = 9;
      regenerate();
      break;
    case 3:
      if (FlagGridStab2 == 0) FlagGridStab2 = 9;
      regenerate();
      break;
    case 4: FlagRhieChow = FlagRhieChow == 0 ? 7 : 0; break;
    default:
      if (n == 5 && Flag2DAccSolver > 1) Flag2DAccSolver = 1;
      else halveRelaxation();
      break;
  }
  if (FlagPresCrash == 1) {
    const int kept = FlagPresSetZero;
    FlagPresSetZero = 3;
    computeSetPresZero();
    FlagPresSetZero = kept;
  }
  // A changed second grid option is taken back with the fifth, so that the
  // grid of the next remedy starts from the options read.
  if (FlagGridStab2 != FlagGridStab2ori) {
    FlagGridStab2 = FlagGridStab2ori;
    FlagGridStab5 = FlagGridStab5ori;
  }
}

void crashDiagnosis() {
  const int c = Glob_dmI;
  logPrintf("Iter: %d, Resid: %8.2le %8.2le %8.2le %8.2le %8.2le %8.2le\n", Iter, MaxResidual[1], MaxResidual[2],
            MaxResidual[3], MaxResidual[4], MaxResidual[5], MaxResidual[6]);
  logPrintf("Cont: %14.8e, DefMax: %4.8e, U,V,W(%d): %14.8e %14.8e %14.8e\n", GlobContinuity, GlobDefMax, c, Cxvel[c],
            Cyvel[c], Czvel[c]);
  if (Cbed && Bcellt && Bkooi && Bkooj) {
    const int b = Cbed[c];
    logPrintf("Largest residual is in cell b=%d, c=%d, i=%d, j=%d\n", b, c, Bkooi[b], Bkooj[b]);
  }
  logText("Please look at the ParaView2.vtk file to find out where the problem is\n\n");
  if (TimeStep > 1e-8) {
    logPrintf("Time: %lf seconds\n", stimet);
    for (int g = 1; g <= 9 && DischargeArray[g] > 0; ++g) {
      logPrintf("Water discharge (l/s), group %d: %lf\n", g, DischargeArray[g]);
    }
  }
  logPrintf("Debugging information: Cell height: %lf meters\n", 2.0 * Ckdist[c]);
  logPrintf("Horizontal cell distances: %lf %lf meters\n", 2.0 * Cidist[c], 2.0 * Cjdist[c]);
  logPrintf("Roughness %lf meters, Neighbour cells (wsentb): %d %d %d %d %d %d\n", Croughness[c], Ccellw[c], Ccells[c],
            Ccelle[c], Ccelln[c], Ccellt[c], Ccellb[c]);
  logPrintf("Neighbour areas (wsen): %lf %lf %lf %lf\n", Farea[Cflatew[c]], Farea[Cflates[c]], Farea[Cflatee[c]],
            Farea[Cflaten[c]]);
  const int bottom = Cflateb[c];
  logPrintf("Bed surface vector components: %lf %lf %lf\n", Fvx[bottom], Fvy[bottom], Fvz[bottom]);
  logPrintf("Bed area components: %lf %lf %lf\n", Fax[bottom], Fay[bottom], Faz[bottom]);
}

void forceCrashOutputs() {
  static const char kLetters[9] = {'y', 'v', 'm', 'p', 's', 'u', 'w', 'i', 'z'};
  if (TecStrucNo == 0) {
    for (int e = 0; e < 9; ++e) {
      TecStruc[e].levelIndex = 0;
      TecStruc[e].sizeIndex = 0;
      TecStruc[e].letter = kLetters[e];
    }
    TecStrucNo = 9;
  } else if (!(FlagResidual == 1 && TecStrucNo <= 294)) {
    return;
  }
  if (FlagResidual != 1) return;
  for (char letter : {'R', 'K'}) {
    TecStruc[TecStrucNo].levelIndex = 1;
    TecStruc[TecStrucNo].sizeIndex = 0;
    TecStruc[TecStrucNo].letter = letter;
    ++TecStrucNo;
  }
}

void printAtCrash() {
  crashDiagnosis();
  if (FlagCrashGrid > 0) {
    FlagCrashGrid = 2;  // the grid writer then writes "unstruc.dbg"
    operations.WriteUnstructure();
    operations.WriteAllData();
    operations.sprintflow();
  }
  forceCrashOutputs();
  // Only the plan-view file of the crashed state: a result file with the
  // diverged fields would read as a converged solution.
  FlagInterpolVal = 91;
  print_paraview2d(1, 0);
  if (UMethod2 < 1) CheckFparam();
}
