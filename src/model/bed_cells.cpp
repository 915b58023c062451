// Allocation of the bed-cell tables, one entry per possible water column,
// and their starting values: the two lowest bed layers hold the grain-size
// distribution of the N data sets (or size 1 alone), and no column has a
// minimum water level yet.
#include "model/bed_cells.h"

#include <algorithm>
#include <initializer_list>

#include "model/control_tables.h"
#include "model/settings.h"
#include "model/table_allocator.h"

std::int64_t bedCellCapacity() { return (std::int64_t{xnumber} + 3) * (std::int64_t{ynumber} + 3); }

namespace {

bool bedLevelKept() { return FlagBedchangeOption >= 2 || FlagTSC == 3 || FlagThixo >= 1; }

void allocateSingleValueTables(TableAllocator &a, std::int64_t nb) {
  for (int **t : {&Bcellt, &Bcellt_old, &Bcellth, &Bnocells, &Bnocells_old, &Bkooi, &Bkooj, &BlayerTop}) {
    a.vector(*t, nb);
  }
  if (a.when(FlagUnstrucThixo > 0)) a.vector(Bcelltt_old, nb);
  if (a.when(FlagCoupledNesting > 0 || FlagNestTop >= 3)) a.vector(Bnestcoarse, nb);
  if (a.when(FlagRemovePonds > 0)) a.vector(Bponds, nb);
  if (a.when(FlagTSC == 3)) a.reportedVector(Barmourthick, nb);
  if (a.when(FlagTriEdges > 0)) a.vector(Btriedges, nb);
  for (double **t : {&Bdepth, &Bdepth_old, &Bfly, &Bedformheight, &Broughness, &Bd90, &BFroude, &Bedmove, &Binout,
                     &Barea}) {
    a.vector(*t, nb);
  }
  if (a.when(bedLevelKept())) a.vector(Bedlev, nb);
  if (a.when(FlagCohesion >= 5)) a.vector(BcohesionLevel, nb);
  // The layer block of a groundwater run reads the layer level too.
  const bool slideLayer = FlagThixo >= 1 || FlagSoilStress >= 1;
  if (a.when(slideLayer || FlagGroundwater > 0)) a.vector(Bthixolev, nb);
  if (a.when(slideLayer)) {
    a.vector(BthixolevMin, nb);
    a.vector(Bstrain, nb);
  }
  if (a.when(FlagNonHydrostaticSurf == 6 || FlagNonHydrostaticSurf == 7)) a.vector(Bpresavg, nb);
  if (a.when(FlagTFS == 50 || FlagTFS2 >= 1)) a.vector(Bdeltah, nb);
  if (a.when(FlagTFS == 50)) a.vector(BsourceLS, nb);
  if (a.when(FlagGroundwater > 0)) a.vector(Bgroundwater, nb);
  if (a.when(FlagBedAngles > 0)) {
    for (double **t : {&BrooksUp, &BrooksDown, &BrooksLimit, &Bavalanche}) a.vector(*t, nb);
  }
  if (a.when(FlagBedDefect > 0)) a.vector(Bdefect, nb);
  if (a.when(solverFroude > 0)) a.vector(BLevFroude, nb);
  if (a.when(FlagNoGridSplit > 0)) {
    a.vector(Bminwaterlevel, nb);
    a.vector(Bminlevdh, nb);
  }
  if (a.when(FlagBedConcentration == 3)) {
    a.vector(BfGzeroTime, nb);
    a.vector(BfGzeroHeight, nb);
  }
  if (a.when(FlagFractionsPrint > 0)) a.reportedVector(Bfractionsprint, nb);
  if (a.when(TurbDensFlag > 0)) {
    for (double **t : {&BTugrad, &BTdischarge, &BTheight}) a.reportedVector(*t, nb);
  }
}

void allocateMultiValueTables(TableAllocator &a, std::int64_t nb) {
  const std::int64_t sizes = std::int64_t{lnumber} + 1, layers = std::int64_t{NoBedLayers} + 1;
  for (double ***t : {&Bconc, &Bap, &Bsource, &Bvolleft}) a.matrix(*t, sizes, nb);
  if (a.when(FlagTSC == 3)) {
    a.matrix(Bupflux, sizes, nb);
    a.matrix(Bbedchange, sizes, nb);
  }
  if (a.when(FlagPlastics > 0)) a.matrix(BplasticDeposits, sizes, nb);
  if (a.when(bedLevelKept())) a.matrix(Bsolidfraction, layers, nb);
  if (a.when(FlagCohesion >= 1 || NoCohesiveDepth >= 1)) a.matrix(Bcohesion, layers, nb);
  if (a.when(FlagBedCalc > 0)) a.matrix(BQvar, FlagBedCalc, nb);
  a.cube(BSedDistrib, layers, sizes, nb);
  if (a.when(FlagHCB > 0)) a.cube(BCompDistrib, layers, sizes, nb);
  if (a.when(FlagDragDLL > 0)) {
    a.hypercube(Bveg, nb, VegTimes, std::int64_t{VegVars} + 1, VegLevels);
    a.vector(VegTime, std::int64_t{VegTimes} + 1);
  }
}

}  // namespace

void allocateBedCellTables(TableAllocator &a) {
  const std::int64_t nb = bedCellCapacity();
  allocateSingleValueTables(a, nb);
  allocateMultiValueTables(a, nb);
}

void setBedCellStartValues() {
  const std::int64_t nb = bedCellCapacity();
  if (BSedDistrib) {
    // Layers 0 and 1 exist whenever NoBedLayers is at least 1; fraction rows
    // 1..lnumber exist only with at least one grain size.
    const int layers = std::min(2, NoBedLayers + 1);
    for (int layer = 0; layer < layers; ++layer) {
      for (int k = 1; k <= lnumber; ++k) {
        double fraction = k == 1 ? 1.0 : 0.0;
        if (FlagReadNdata > 0) fraction = k < 51 ? SedimentSample[0][k] : 0.0;
        if (fraction == 0.0) continue;  // the rows start zero-filled
        std::fill(BSedDistrib[layer][k] + 1, BSedDistrib[layer][k] + nb, fraction);
      }
    }
  }
  if (Bminwaterlevel) std::fill(Bminwaterlevel + 1, Bminwaterlevel + nb, -1000.0);
}
