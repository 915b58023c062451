// Run state that no data set sets: flags, counters, sums and clocks that the
// subsystems change while they work. kread gives each its start value.
#pragma once

// Display and plotting settings kept for an outside viewer.
inline char rungraph;
inline double vgscale, cgscale, dgscale, kgscale, MouseScale;
inline int plottype, graphN, bnode, lnodem, bnodem, BlockID, grainsize_number;
inline int GaussIter;       // iterations of the Gauss smoothing of the bed
inline int RoughnessIter;   // iterations of the roughness computation
inline int PrintIterSurf;   // log interval of the free-surface solver
inline double MorphTimeStep;  // time step of the bed change, s

// Run flags (0 at the start, FlagDSO1 and FlagDSO2 -1).
inline int FlagInitialized;
inline int FlagDensCurr;
inline int FlagStrat;
inline int FlagSedimDial;
inline int FlagSedimSolver;
inline int BedInitDistrib;
inline int FlagErrorBreak;
inline int FlagJTime;
inline int FlagDischargeTime;
inline int FlagCompDLL;
inline int FlagInitPoros;
inline int MGSGrid;
inline int WallChoiseForm;
inline int WallChoiseSed;
inline int FlagInitializedInvAp;
inline int FlagReadFracres;
inline int FlagGridHasChanged;
inline int FlagReadRes;
inline int FlagAngleType;
inline int FlagReadUnstruc;
inline int FlagResidualMap;
inline int FlagFracVer;
inline int FlagWantToPrint;
inline int FlagImplicitMPI;
inline int FlagVerGeodata;
inline int FlagReadAlldata;
inline int FlagNeedsToBeInterpolated;
inline int MorphInitiated;
inline int FlagHaveInitiatedCyclic;
inline int FlagGridStabFix2;
inline int FlagBechInt;
inline int FlagHaveDoneMetric;
inline int FlagDSO1, FlagDSO2;

// Counters of the run (0 at the start, NoBaggerTimes and NoInterpol -1).
inline int SampleNo;
inline int TimeInNo;  // rows of the "timei" series in use
inline int NoNestflater;  // entries of the nested-border list
inline int NoConnect;  // block connections
inline int NoBCells;  // bed cells in use
inline int NoNumNoSurfUpdate;
inline int NoNumSurfUpdate;
inline int NoGeo;  // measured bed points read
inline int NoCellsUpMPI;
inline int NoCellsDownMPI;
inline int Iter;  // iteration and time-step counter shared by all loops
inline int BedStatNo;
inline int NoAlldataPrintout;
inline int NoDepthTimeo;
inline int NoCyclesDone;
inline int FlushedNo;
inline int NoKoxInterpols;
inline int Seiche8;
inline int Seiche9;
inline int Seiche10;
inline int iPres2;
inline int jPres2;
inline int WriteDuneJ2;
inline int NoBaggerTimes, NoInterpol;

// Sums, levels and stage clocks (0 at the start; GlobZRef and maxBackwater -1e20).
inline double MaxDepth;  // reference depth of the vertical line counts, m
inline double stimeWL1;
inline double stimeWL2;
inline double GlobFluxDefect;
inline double SurfVolDefect;
inline double GlobVolDefect;
inline double depthDepositOut;
inline double depthDepositIn;
inline double medianPressure1;
inline double medianPressure2;
inline double GridDepthFix2;
inline double AvDepthTimeo;
inline double AvShearTimeo1;
inline double AvShearTimeo2;
inline double AvShearTimeo3;
inline double AvShearTimeo4;
inline double bechMeasAv;
inline double deltazscourG;
inline double otimeWatersolve;
inline double otimeSedimsolve;
inline double otimeSlidesolve;
inline double otimeGridsolve;
inline double otimeSurfsolve;
inline double otimeSlideVertSolve;
inline double GlobZRef;      // reference water level, m
inline double maxBackwater;  // largest backwater level, m

// Fixed work tables.
inline double concBuffer[51];     // buffered inflow concentrations, -1 none
inline double bechint[10000];     // bed-change interpolation marks, 1e20 none
inline double xDelGeo[5], yDelGeo[5];  // shifts of the bed-point files, m
inline int rute[10000];           // route marks
inline int NoErrorsTrekant[27];   // collapsed-cell errors by kind
inline double otime[80];          // wall-clock stamps of the stages, s (omp_get_wtime)

// Gives every run-state variable its start value.
void setRunStateDefaults();
