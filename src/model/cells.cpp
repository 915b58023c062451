// Allocation of the cell tables: every per-cell array of MaxCeller entries,
// the coefficient set, and the tables with several values per cell, each only
// while the option that uses it is on.
#include "model/cells.h"

#include <cstdint>
#include <initializer_list>

#include "model/settings.h"
#include "model/table_allocator.h"

namespace {

// Second-neighbour coefficients exist when some equation uses the
// second-order upwind scheme (scheme code 1 in any entry of sou, or F 63 1)
// or a free surface of F 36 7..10: the builder, the 13-point relaxation and
// the residual read them for every equation with scheme 1.
bool secondOrderScheme() {
  if (SouComp == 1) return true;
  for (int e = 0; e < kEquationEntries; ++e) {
    if (sou[e] == 1) return true;
  }
  return false;
}

bool transientRun() { return TimeStep > 1e-8; }

void allocateSingleValueTables(TableAllocator &a, std::int64_t nc) {
  for (int **t : {&Cflatee, &Cflatew, &Cflates, &Cflaten, &Cflatet, &Cflateb, &Ccelle, &Ccellw, &Ccells,
                  &Ccelln, &Ccellt, &Ccellb, &Cpoint1, &Cpoint2, &Cpoint3, &Cpoint4, &Cpoint5, &Cpoint6,
                  &Cpoint7, &Cpoint8, &CflagDim, &Cisolve, &Cjsolve}) {
    a.vector(*t, nc);
  }
  if (a.when(MaxNester > 1)) {
    a.vector(Ccoarsenest, nc);
    a.vector(Cinterpolnest, nc);
  }
  for (int **t : {&Cinout, &Conecell, &Ctrekant}) a.vector(*t, nc);
  if (a.when(FlagPresGrad == 20)) {
    for (int **t : {&CcellAe, &CcellAw, &CcellAs, &CcellAn}) a.vector(*t, nc);
  }
  if (a.when(QNFlag > 0)) {
    for (int **t : {&Cncelle, &Cncellw, &Cncells, &Cncelln}) a.vector(*t, nc);
  }
  for (double **t : {&Cdxdi, &Cdxdj, &Cdxdk, &Cdydi, &Cdydj, &Cdydk, &Cdzdi, &Cdzdj, &Cdzdk, &Cidist, &Cjdist,
                     &Ckdist, &Cxcenter, &Cycenter, &Czcenter, &CinvAp, &Cvol, &Cxvel, &Cyvel, &Czvel, &Cpres,
                     &Ckinen, &Cepsilon, &Cdensgradi, &Cdensgradj, &Cf, &Cf_old, &Cgamma, &CgammaV, &Careax,
                     &Careay, &Careaz, &Croughness}) {
    a.vector(*t, nc);
  }
  if (a.when(FlagDragDLL > 0)) a.vector(Cporosity, nc);
  for (double **t : {&Cap, &Cae, &Caw, &Cas, &Can, &Cat, &Cab, &Cfn, &CnInvAp}) a.vector(*t, nc);
  if (a.when(secondOrderScheme() || (FlagTFS >= 7 && FlagTFS <= 10))) {
    for (double **t : {&Caee, &Caww, &Cass, &Cann, &Catt, &Cabb}) a.vector(*t, nc);
  }
  a.vector(Csource, nc);
  if (a.when(transientRun())) {
    for (double **t : {&Cxvel_old, &Cyvel_old, &Czvel_old, &Cpres_old, &Ckinen_old, &Cepsilon_old, &CinvAp_old}) {
      a.vector(*t, nc);
    }
  }
  if (a.when(transientRun() && FlagTimeOrder > 0)) {
    for (double **t : {&Cxvel_old2, &Cyvel_old2, &Czvel_old2}) a.vector(*t, nc);
  }
  if (a.when(FlagSIMPLE > 0)) a.vector(CinvApP, nc);
  if (a.when(FlagSIMPLE > 0 && FlagSIMPLE != 1)) {
    for (double **t : {&CxvelP, &CyvelP, &CzvelP}) a.vector(*t, nc);
  }
  if (a.when(FlagResidual == 1)) {
    for (double **t : {&Cxvel_res, &Cyvel_res, &Czvel_res, &Cpres_res, &Ckinen_res, &Cepsilon_res}) {
      a.vector(*t, nc);
    }
  }
  if (a.when(FlagThixo >= 1 || FlagSoilStress >= 1)) {
    a.vector(Cthixolev, nc);
    a.vector(Cthixorat, nc);
  }
  if (a.when(FlagSoilStress >= 1)) {
    for (double **t : {&Cxmove, &Cymove, &Czmove}) a.vector(*t, nc);
  }
  if (a.when(TurbDensFlag == 5)) a.vector(CdampDensity, nc);
  // The groundwater model solves in arrays of its own: Cf may point at a
  // live field of a sediment or slide run when it is called.
  if (a.when(FlagGroundwater > 0)) {
    a.vector(Cgroundwater, nc);
    a.vector(Cgroundwater_old, nc);
  }
  a.vector(Cbed, nc);
  if (a.when(ExtrapAlgo1 == 0)) a.vector(Czcenter_old, nc);
  if (a.when(ExtrapAlgo1 == 2)) a.vector(Ckdist_old, nc);
  if (a.when(FlagTDMA >= 1 || FlagSolverVertTDMA > 0 || FlagCoupledNesting == 18 || FlagCoupledNesting == 19 ||
             BlockCasulli == 2)) {
    a.vector(Cpt, nc);
    a.vector(Cqt, nc);
  }
}

void allocateMultiValueTables(TableAllocator &a, std::int64_t nc) {
  const std::int64_t sizes = std::int64_t{lnumber} + 1;
  const std::int64_t levels = znumber;
  if (a.when(QNFlag > 0)) {
    for (int ***t : {&Cqncelle, &Cqncellw, &Cqncells, &Cqncelln}) a.matrix(*t, nc, levels);
  }
  const bool perSize = lnumber >= 2 || FlagTSC == 3;
  if (a.when(perSize)) {
    for (double ***t : {&Catm, &Cabm, &Capm}) a.matrix(*t, sizes, nc);
  }
  if (a.when(perSize && (FlagFastWatersolve == 0 || lnumber >= 5))) a.matrix(Csourcem, sizes, nc);
  if (a.when(BedLoadVectorFlag > 4)) {
    for (double ***t : {&Caem, &Canm, &Casm, &Cawm}) a.matrix(*t, sizes, nc);
  }
  if (a.when(FlagFastWatersolve > 0)) {
    a.matrix(CinvApf, 5, nc);
    a.matrix(Cff, 5, nc);
  }
  // The fast driver needs five source rows, also with fewer grain sizes.
  if (a.when(FlagFastWatersolve > 0 && lnumber <= 4)) a.matrix(Csourcem, 5, nc);
  if (a.when(QNFlag > 0)) {
    for (double ***t : {&Cqnae, &Cqnaw, &Cqnas, &Cqnan}) a.matrix(*t, nc, levels);
  }
  if (a.when(QNFlag > 0 && secondOrderScheme())) {
    for (double ***t : {&Cqnaee, &Cqnaww, &Cqnass, &Cqnann}) a.matrix(*t, nc, levels);
  }
  a.matrix(Cconc, sizes, nc);
  if (a.when(transientRun())) a.matrix(Cconc_old, sizes, nc);
  if (a.when(NoComponents >= 1)) a.matrix(Ccomp, NoComponents, nc);
  if (a.when(NoComponents >= 1 && transientRun())) a.matrix(Ccomp_old, NoComponents, nc);
  if (a.when(FlagSoilStress >= 1)) a.matrix(Cstress, 13, nc);
  if (a.when(FlagShallowWater >= 1)) {
    for (double ***t : {&CU, &CF, &CG}) a.matrix(*t, 3, nc);
  }
  // The coarse grids of F 152 2 alone need the parent and the bottom cell;
  // the accelerator levels of F 168 link four children, so five ints then.
  if (a.when(MGSNo == 2 && Flag2DAccSolver <= 0)) a.matrix(MGSCpoint, nc, 2);
  if (a.when((MGSNo >= 1 && MGSNo != 2) || Flag2DAccSolver >= 1)) a.matrix(MGSCpoint, nc, 5);
}

}  // namespace

void allocateCellTables(TableAllocator &a) {
  const std::int64_t nc = MaxCeller;
  allocateSingleValueTables(a, nc);
  allocateMultiValueTables(a, nc);
}
