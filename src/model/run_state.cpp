// Start values of the run state, assigned by kread before "control" is read.
#include "model/run_state.h"

#include <algorithm>
#include <initializer_list>

#include "model/status.h"

void setRunStateDefaults() {
  rungraph = 'N';
  vgscale = cgscale = dgscale = kgscale = MouseScale = 1.0;
  plottype = 3;
  graphN = 0;
  bnode = lnodem = bnodem = 1;
  BlockID = 1;
  grainsize_number = 1;
  GaussIter = 10;
  RoughnessIter = 1;
  PrintIterSurf = 100;
  MorphTimeStep = 0.1;

  FlagInitialized = 0;
  FlagDensCurr = 0;
  FlagStrat = 0;
  FlagSedimDial = 0;
  FlagSedimSolver = 0;
  BedInitDistrib = 0;
  FlagErrorBreak = 0;
  FlagJTime = 0;
  FlagDischargeTime = 0;
  FlagCompDLL = 0;
  FlagInitPoros = 0;
  FlagTypeVegdata = 0;
  MGSGrid = 0;
  WallChoiseForm = 0;
  WallChoiseSed = 0;
  FlagInitializedInvAp = 0;
  FlagFlowParamChange = 0;
  FlagReadBedrough = 0;
  FlagReadFracres = 0;
  FlagGridHasChanged = 0;
  FlagReadRes = 0;
  FlagAngleType = 0;
  FlagReadUnstruc = 0;
  FlagResidualMap = 0;
  FlagFracVer = 0;
  FlagWantToPrint = 0;
  FlagImplicitMPI = 0;
  FlagVerGeodata = 0;
  FlagReadAlldata = 0;
  FlagNeedsToBeInterpolated = 0;
  MorphInitiated = 0;
  FlagHaveInitiatedCyclic = 0;
  FlagGridStabFix2 = 0;
  FlagBechInt = 0;
  FlagHaveDoneMetric = 0;
  FlagWhatsRunning = 0;
  FlagThixoIsComputing = 0;
  FlagDSO1 = FlagDSO2 = -1;
  FlagSandSlideWarned = 0;
  SampleNo = 0;
  TimeInNo = 0;
  NoNestflater = 0;
  NoConnect = 0;
  NoBCells = 0;
  NoNumNoSurfUpdate = 0;
  NoNumSurfUpdate = 0;
  NoGeo = 0;
  NoCellsUpMPI = 0;
  NoCellsDownMPI = 0;
  Iter = 0;
  BedStatNo = 0;
  NoAlldataPrintout = 0;
  NoDepthTimeo = 0;
  NoCyclesDone = 0;
  FlushedNo = 0;
  NoKoxInterpols = 0;
  Seiche8 = 0;
  Seiche9 = 0;
  Seiche10 = 0;
  iPres2 = 0;
  jPres2 = 0;
  WriteDuneJ2 = 0;
  NoBaggerTimes = NoInterpol = -1;
  MaxDepth = 0.0;
  stimeWL1 = 0.0;
  stimeWL2 = 0.0;
  GlobFluxDefect = 0.0;
  SurfVolDefect = 0.0;
  GlobVolDefect = 0.0;
  depthDepositOut = 0.0;
  depthDepositIn = 0.0;
  medianPressure1 = 0.0;
  medianPressure2 = 0.0;
  GridDepthFix2 = 0.0;
  AvDepthTimeo = 0.0;
  AvShearTimeo1 = 0.0;
  AvShearTimeo2 = 0.0;
  AvShearTimeo3 = 0.0;
  AvShearTimeo4 = 0.0;
  bechMeasAv = 0.0;
  deltazscourG = 0.0;
  otimeWatersolve = 0.0;
  otimeSedimsolve = 0.0;
  otimeSlidesolve = 0.0;
  otimeGridsolve = 0.0;
  otimeSurfsolve = 0.0;
  otimeSlideVertSolve = 0.0;
  GlobZRef = maxBackwater = -1e20;
  GlobPresRef = GlobZRef2 = GlobPresRef2 = 0.0;
  oldZvalDownstream = oldZvalUpstream = 0.0;
  stimet = 0.0;
  for (double &v : otime) v = 0.0;
  NoConnect0 = 0;
  nestlevmax = 0;
  for (double &v : concBuffer) v = -1.0;
  for (double &v : bechint) v = 1e20;
  for (int k = 0; k < 5; ++k) xDelGeo[k] = yDelGeo[k] = 0.0;
  for (int &v : rute) v = 0;
  for (int &v : NoErrorsTrekant) v = 0;
  clearSedimentMasses();
  SumBedChange = SumInflow = SumOutflow = SurfacesBM = PrintMaxErrorSuspSed = 0.0;
}

void clearSedimentMasses() {
  for (double *table : {kIn, kUt, kSusp, kSuspo, kLayer1, kLayer2, kBedmove, kDefectRatio, Bvollefttot, bedLimDef, suspDef,
                        totalsusp}) {
    std::fill(table, table + 50, 0.0);
  }
  SumBedChangeLoc = 0.0;
  kLimDef = SumBedMoveDef = SuspVolChangeDef = BedMoveDefectAbs = BedMoveDefectSum = 0.0;
  kSumfrac = kSumSolid = kSumBSed0 = kSumThick = AvBedmove = MaxBedmove = 0.0;
  kSumfracCell = kSumfracLayer = 0;
}
