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
inline int FlagTypeVegdata;  // "vegdata": 1 V records, 2 A or C, 3 mixed, 4 blockage (N)
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
inline int FlagSandSlideWarned;  // 1 once the sand slide warned that its F 56 value does nothing

// Counters of the run (0 at the start, NoBaggerTimes and NoInterpol -1).
inline int SampleNo;
inline int TimeInNo;  // rows of the "timei" series in use
inline int NoNestflater;  // entries of the nested-border list
inline int NoConnect;  // block connections
inline int NoConnect0;  // NoConnect of the base grid, kept by the grid generator
inline int nestlevmax;  // largest NestLevel of the blocks, recomputed by the grid generator
inline int NoBCells;  // bed cells in use
inline int NoMGlevels;  // levels of the accelerator (F 168) the level builder made, 0 none
inline int NoNumNoSurfUpdate;
inline int NoNumSurfUpdate;
inline int NoGeo;  // measured bed points read
// The measured bed points, positions 0..NoGeo-1 (NoGeo + 5002 entries, null
// until the first reading): x, y and bed level in m, and a mark per point.
inline double *xg, *yg, *zg;
inline int *ig;
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
inline double GlobPresRef;   // pressure of the reference column's top cell, Pa
inline double GlobZRef2;     // level of the second (upstream) reference, m; 0 none
inline double GlobPresRef2;  // pressure of the second reference, Pa
inline double oldZvalDownstream;  // downstream level of the series at the last surface update, m
inline double oldZvalUpstream;    // upstream level of the series at the last surface update, m
inline double maxBackwater;  // largest backwater level, m
inline double stimet;        // simulated time, s
inline double otime[80];     // wall-clock stamps of the stages (omp_get_wtime), s; [0] the run start

// Figures of the sediment loop and the backwater curve that the time series
// prints (0 until their routines set them).
inline double SumBedChange;          // bed change summed over the grid, kg
inline double SumBedChangeLoc;       // bed change of the current step (F 37 3), kg
inline double SumInflow;             // sediment inflow summed, kg
inline double SumOutflow;            // sediment outflow summed, kg
inline double SurfacesBM;            // bed-movement figure of the sediment loop
inline double PrintMaxErrorSuspSed;  // largest error of the suspended-sediment solution
inline double kIn[50];               // sediment inflow mass per grain size 1..lnumber, kg
inline double kUt[50];               // sediment outflow mass per grain size 1..lnumber, kg
inline double kBedmove[50];          // mass moved into the bed per size (F 37 3), kg
inline double kSusp[50];             // suspended mass per size after the step, kg
inline double kSuspo[50];            // suspended mass per size at the start of the sediment run, kg
inline double kLayer1[50];           // bed-layer mass per size at the start, kg
inline double kLayer2[50];           // change of the bed-layer mass per size since the start, kg
inline double kDefectRatio[50];      // relative mass defect per size (F 448)
inline double Bvollefttot[50];       // sediment the bed could not supply per size, kg
inline double bedLimDef[50];         // mass defect per size from erosion under the non-movable bed, kg
inline double suspDef[50];           // suspended mass defect per size, kg
inline double totalsusp[50];         // suspended volume per size before the grid moves, m3
inline double kLimDef;               // mass defect from erosion under the non-movable bed, kg
inline double BedMoveDefectAbs;      // defect sums of the bed routines, kg
inline double BedMoveDefectSum;
inline double AvalMove[51];         // sand slide: volume of each size 1..lnumber one point lowering moved, [0] their sum, m3
inline double SuspVolChangeDef;      // defect of the suspended volume over grid moves, kg
inline double scaleBackwater;        // scale of the backwater curve
inline double scaleBackwater2;       // second scale of the backwater curve

// Bookkeeping of the sediment loop beside the per-size masses.
inline double SumBedMoveDef;     // bed outflow move defect, kg
// Layer diagnostics of the multi-layer bed after each step (F 37 3).
inline double kSumfrac;          // largest |1 - sum of a layer's fractions|
inline int kSumfracCell;         // its bed cell
inline int kSumfracLayer;        // its layer
inline double kSumSolid;         // mean solid fraction of the layers in use
inline double kSumBSed0;         // layer thickness summed per work bed cell, m
inline double kSumThick;         // mean sediment thickness above the non-movable level, m
inline double AvBedmove;         // mean bed movement of the wet work bed cells in the last step, m
inline double MaxBedmove;        // largest bed movement by magnitude, with its sign, m

// Fixed work tables.
inline double concBuffer[51];     // buffered inflow concentrations, -1 none
inline double bechint[10000];     // bed-change interpolation marks, 1e20 none
inline double xDelGeo[5], yDelGeo[5];  // corners 1..3 of the triangle whose bed points are marked (4 closes it), m
inline int rute[10000];           // route marks
inline int NoErrorsTrekant[27];   // collapsed-cell errors by kind

// The flow solver's working state, shared by the drivers and their stages.
inline int Equation;  // equation being built and solved: 1-3 U, V, W; 4 pressure correction; 5 k; 6 epsilon; 7 sediment; 8+n components
inline double relaxVelocity;     // under-relaxation of U, V, W in use (relax[1], halved by the divergence recovery)
inline double invRelaxVelocity;  // 1 / relaxVelocity
inline double relaxPressure;     // share of the pressure correction added to Cpres (relax[4])
inline double relaxK;            // under-relaxation of k in use (relax[5])
inline double relaxEpsilon;      // under-relaxation of epsilon in use (relax[6])
inline constexpr int kResidualEntries = 50;
inline double MaxResidual[kResidualEntries];   // normalised residual per Equation of the last evaluation
inline double NormResidual[kResidualEntries];  // residual normaliser per Equation, from the inflow (startup)
inline int FlagPrint;         // 0 when this outer iteration's report lines go to the log, 1 suppressed
inline int FlagFlushIter;     // divergence remedies used in this driver call
inline double GlobContinuity; // summed mass defect of the cell work range after the boundary fluxes, kg/s
inline double GlobDefMax;     // largest absolute cell mass defect, kg/s
inline int Glob_dmI;          // first cell holding GlobDefMax (1 when all defects are 0)
inline int GlobInnerIter;     // inner-loop counter at the end of the last outer iteration
inline int RegIter;           // outer iterations summed by the pressure regression (F 143)
inline double Hout;           // downstream water level of the "timei" series at stimet, m (0 without a discharge series)
inline int deltac, deltaf;    // cell and face chunk sizes of the threaded stages, set once per outer iteration
inline int FlagFlowParamChange;  // 1 asks the driver to allocate the structured arrays again before its next inner iteration
inline double TDalpha, TDbeta;   // exponents of the stratification damping for the equation being built (F 82)
inline int FlagReadBedrough;     // 1 once "bedrough" has been read in this run

// Gives every run-state variable its start value.
void setRunStateDefaults();

// Clears the per-size masses and defects of the sediment loop's bookkeeping.
void clearSedimentMasses();
