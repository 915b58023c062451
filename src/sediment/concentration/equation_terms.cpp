// The sediment equation of a time step, in the order the loop needs it.
// Writes the coefficient set (shared or per size), Bsource, Bap and Binout of
// the work bed cells, and for the deflection the face fluxes.
#include "sediment/concentration/equation_terms.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

#include "base/exit_codes.h"
#include "base/log.h"
#include "flow/boundaries/face_fluxes.h"
#include "flow/corrections/continuity_corrections.h"
#include "grid/blocks/nested_sources.h"
#include "model/bed_cells.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/work_ranges.h"
#include "sediment/concentration/inflow_sediment.h"
#include "sediment/loop/bed_coefficients.h"
#include "sediment/transport/bed_load_vector.h"
#include "sediment/transport/classic_formulas.h"
#include "solvers/coefficients.h"
#include "solvers/net_outflow.h"
#include "solvers/sediment_coefficients.h"
#include "startup/operations.h"
#include "turbulence/eddy_viscosity.h"

namespace {

// One size with F 37 1 or 2 keeps the shared coefficient set.
bool sharedSet() { return lnumber == 1 && FlagTSC < 3; }
bool bedVectorCoefficients() { return BedLoadVectorFlag >= 5 && BedLoadVectorFlag <= 9; }

void convectionDiffusion() {
  if (sou[7] == 1) {
    for (double *a : {Caee, Caww, Cass, Cann, Cabb, Catt}) {
      for (int c = WCStart; c <= WCEnd; ++c) a[c] = 0.0;
    }
  }
  if (bedVectorCoefficients()) coeff_make2m(WFStart, WFEnd);
  else if (sharedSet()) coeff_make1(WFStart, WFEnd);
  else coeff_make2(WFStart, WFEnd);
}

void bedLoadVectorTerms() {
  const int flag = BedLoadVectorFlag;
  if (flag >= 2 && flag <= 4) {
    if (FlagTSC == 3) computeBedLoadVectorCall();
  } else if (flag >= 5 && flag <= 9) {
    coeff_make_bedvector(WFStart, WFEnd);
  } else if (flag >= 11 && flag <= 19) {
    if (FlagTSC == 3) fatalExit(-8, "F 78 between 11 and 19 does not work\n\n");
  } else if (flag >= 21 && flag <= 29) {
    computeBedLoadVector3Call();
  } else if (flag >= 31 && flag <= 39) {
    if (FlagTSC == 3) computeBedLoadVector4Call();
  }
}

// The coefficients by which the neighbours of a bottom cell take up its
// concentration, and its own time coefficient.
void bedOutflowCoefficients(int l, const double *top) {
  const double perStep = 1000.0 / TimeStep;
  for (int b = WBStart; b <= WBEnd; ++b) {
    const int c = Bcellt[b];
    if (c <= 0) continue;
    Bap[l][b] = Can[Ccells[c]] + Cas[Ccelln[c]] + Cae[Ccellw[c]] + Caw[Ccelle[c]] + top[Ccellt[c]] +
                Cvol[c] * perStep;
  }
}

void copyBedSources(int l, const double *source) {
  for (int b = WBStart; b <= WBEnd; ++b) {
    const int c = Bcellt[b];
    if (c > 0) Bsource[l][b] = source[c];
  }
}

// Inflow sediment, nested borders and the bed-cell coefficients.
void inflowAndBedCells() {
  // Rising particles (F 417 1, negative fall velocity) need no terms of
  // their own: the net outflow in the centre coefficient already lets them
  // leave each cell upwards and keeps them under the water surface, which
  // nothing settles or rises through.
  for (int b = WBStart; b <= WBEnd; ++b) Binout[b] = 0.0;
  if (sharedSet()) {
    InflowSediment();
    if (NoNestflater > 0) {
      Equation = 7;
      nestsource();
    }
    if (FlagTSC == 1 || FlagTSC == 2) copyBedSources(1, Csource);
    if (FlagTSC == 1) {
      // The neighbours' coefficients towards the bottom cell; Cab[0] stands
      // for a column of one cell.
      Cab[0] = 0.0;
      bedOutflowCoefficients(1, Cab);
      makeApCall(1);
    }
  } else {
    for (int l = 1; l <= lnumber; ++l) {
      InflowSedimentM(l);
      if (NoNestflater > 0) {
        Equation = 6 + l;
        nestsource();
      }
      if (FlagTSC >= 1 && FlagTSC <= 3) copyBedSources(l, Csourcem[l]);
      if (FlagTSC == 1) {
        Cabm[l][0] = 0.0;
        bedOutflowCoefficients(l, Cabm[l]);
        makeApCall(l);
      }
    }
    Equation = 7;
  }
  if (QNFlag >= 1) {
    // A bottom cell whose side touches several cells of the next column also
    // gives to the first of them.
    for (int b = WBStart; b <= WBEnd; ++b) {
      const int c = Bcellt[b];
      if (c <= 0) continue;
      auto side = [&](int count, const int *cells, const double *a) {
        if (count <= 0) return;
        const int x = Cbed[cells[0]];
        for (int l = 1; l <= lnumber; ++l) Bap[l][x] += a[0];
      };
      side(Cncelle[c], Cqncelle[c], Cqnae[c]);
      side(Cncellw[c], Cqncellw[c], Cqnaw[c]);
      side(Cncelln[c], Cqncelln[c], Cqnan[c]);
      side(Cncells[c], Cqncells[c], Cqnas[c]);
    }
  }
}

void nearBedConcentration() {
  if (FlagBedDLL != 0) return;
  switch (SedimentFormula) {
    case 'R':
      operations.concRijn();
      break;
    case 'A':
    case 'E':
    case 'I':
    case 'M':
    case 'S':
    case 'Y':
      concEngelundCall();
      break;
    default:
      break;
  }
}

}  // namespace

void (*makeApCall)(int l) = MakeAp;
void (*computeBedLoadVectorCall)() = computeBedLoadVector;
void (*computeBedLoadVector3Call)() = computeBedLoadVector3;
void (*computeBedLoadVector4Call)() = computeBedLoadVector4;
void (*concEngelundCall)() = concEngelund;

void deflectNearBedFlow() {
  const double d1 = gsize[1];
  const double shieldsScale = std::fabs(shieldscoeff) * d1 * (density - 1.0) * 9810.0;
  for (int b = WBStart; b <= WBEnd; ++b) {
    const int c = Bcellt[b];
    if (c <= 0) continue;
    const double u = Cxvel[c], v = Cyvel[c];
    Cxvel_old[c] = u;
    Cyvel_old[c] = v;
    double r = 300.0 * std::max(Ckinen[c], 0.0) / shieldsScale;
    if (BedLoadVectorFlag == 10) {
      double dm = 0.0;
      for (int k = 1; k <= lnumber; ++k) dm += gsize[k] * BSedDistrib[1][k][b];
      r *= d1 / std::max(dm, gsize[lnumber]);
    }
    if (!(r > 0.0)) continue;  // no shear: the flow is not turned
    const int f = Cflateb[c];
    const double nx = Fvx[f], ny = Fvy[f], nz = Fvz[f];
    const double turn = BedLoadVectorParam / std::sqrt(r) * std::sqrt(std::max(0.0, 1.0 - nz * nz));
    const double t = turn * (nx * v - ny * u) / (std::sqrt((u * u + v * v) * (nx * nx + ny * ny)) + 1e-30);
    Cxvel[c] = u + t * v;
    Cyvel[c] = v - t * u;
  }
  waterflow(WFStart, WFEnd);
  coeff_make1H(WFStart, WFEnd);
  for (int b = WBStart; b <= WBEnd; ++b) {
    const int c = Bcellt[b];
    if (c <= 0) continue;
    Cxvel[c] = Cxvel_old[c];
    Cyvel[c] = Cyvel_old[c];
  }
}

void sedimentTimeTerm() {
  const double perStep = 1000.0 / TimeStep;
  const bool secondOrder = sou[7] == 1;
  const double share = implicitShare(secondOrder);
  // The outflow groups take out the discharges of the step, the same ones
  // the outflow mass of the step is booked with.
  stepDischarges(false);
  // The diagonal takes the sum of all neighbour coefficients, the second
  // neighbours' included, and then the cell's net outflow: what the cell
  // gives away, so that no sediment is made or lost where the water fluxes
  // do not close (after a grid regeneration, in a flow not converged).
  auto secondSum = [&](int c) {
    return secondOrder ? Caee[c] + Caww[c] + Cann[c] + Cass[c] + Catt[c] + Cabb[c] : 0.0;
  };
  if (sharedSet() && !bedVectorCoefficients()) {
    const double *old = Cconc_old[1];
    for (int c = WCStart; c <= WCEnd; ++c) {
      const double t = Cvol[c] * perStep;
      Cap[c] = t + Cae[c] + Caw[c] + Cab[c] + Cat[c] + Can[c] + Cas[c] + secondSum(c);
      Csource[c] = t * old[c];
    }
    addNetOutflow(WFStart, WFEnd, Cap, {{nullptr, Cas, Cae, Can, Caw, Cab, Cat}}, 1000.0 * fallvelo[1], share);
    addGroupOutflow(Cap, true);
    return;
  }
  const bool ownSides = bedVectorCoefficients();
  for (int l = 1; l <= lnumber; ++l) {
    double *ap = Capm[l], *src = Csourcem[l];
    const double *old = Cconc_old[l], *at = Catm[l], *ab = Cabm[l];
    const double *ae = ownSides ? Caem[l] : Cae, *aw = ownSides ? Cawm[l] : Caw;
    const double *an = ownSides ? Canm[l] : Can, *as = ownSides ? Casm[l] : Cas;
    for (int c = WCStart; c <= WCEnd; ++c) {
      const double t = Cvol[c] * perStep;
      ap[c] = t + ae[c] + aw[c] + ab[c] + at[c] + an[c] + as[c] + secondSum(c);
      src[c] = t * old[c];
    }
    addNetOutflow(WFStart, WFEnd, ap, {{nullptr, as, ae, an, aw, ab, at}}, 1000.0 * fallvelo[l], share);
    addGroupOutflow(ap, true);
  }
}

void sedimentEquationTerms() {
  // The bed-load vector coefficients of F 78 5 to 9 are per-size rows, which
  // exist only with two or more grain sizes or the multi-layer bed.
  if (bedVectorCoefficients() && !Capm) {
    fatalPrintf(kExitInconsistent, nullptr,
                "Error: F 78 %d needs the per-size sediment equations: give two or more grain sizes or F 37 3\n",
                BedLoadVectorFlag);
  }
  Equation = 7;
  GammaCalc(WCStart, WCEnd);
  if (FlagCorrectContinuity == 1) correctContinuity();
  if (Hydrostatic == 2 && Iter == 1) waterflow(WFStart, WFEnd);
  convectionDiffusion();
  if (FlagErrorBreak == 1) return;
  if (BedLoadFlag == 10 || (BedLoadVectorFlag == 1 && lnumber == 1)) deflectNearBedFlow();
  sedimentTimeTerm();
  bedLoadVectorTerms();
  if (sou[7] > 1) {
    for (int l = 1; l <= lnumber; ++l) {
      grainsize_number = l;
      coeff_make_source(WFStart, WFEnd);
    }
  }
  inflowAndBedCells();
  nearBedConcentration();
}
