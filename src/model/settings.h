// The settings read from "control": one global per value, named as the data
// sets name them. kread assigns every default before it reads the file, so a
// data set that is not given keeps its default. Sections follow the letters
// and number ranges of the data sets that set them; run state that no data set
// sets but kread initialises stands in the first section.
#pragma once

// ---- Run strings and run state set by kread -------------------------------------------------

inline char run[20];      // run letters of F 2: the 20 characters after the number, no NUL
inline char options[20];  // option letters of F 7 in elements 1..8
inline char Title[80];    // title of T in elements 1..69; element 0 stays NUL

// ---- F 1 .. F 99 -----------------------------------------------------------------------------

inline double TimeStep;     // F 17, F 33: time step, s; above 1e-8 the run is transient
inline int IterF2;          // F 20: passes over the run letters
inline int TransInnerIter;  // F 33: inner iterations per time step
inline int FlagTSC;         // F 37: transient sediment computation mode
inline int NoComponents;    // F 50: number of water-quality components
inline int Hydrostatic;     // F 68: flow-solver family, 0 three-dimensional

// F 7 option letters
inline int FlagBedGradient;         // N
inline int FlagBedslopeCorrection;  // B
inline int FlagPlotVertical;        // V
inline int FlagInflowDirection;     // I
inline int FlagDiffNonVert;         // A clears it
inline int FlagZ0Small;             // Z
inline int FlagXCYC;                // X
inline int FlagInZero;              // C clears it
inline int FlagBedPoros;            // P 1, G 2
inline int FlagFlowDirCor;          // E

inline int FlagTFS;            // F 36: free-surface algorithm
inline int SouComp;            // F 63: scheme of the sediment and component equations
inline int UMethod;            // F 64: vertical grid-generation algorithm
inline int MaxCeller;          // F 65: cell capacity of the cell tables
inline int MaxFlater;          // F 65: face capacity of the face tables
inline int MaxPunkter;         // F 65: point capacity of the point tables
inline int MaxNester;          // F 65: capacity of the nested-border list
inline int MaxConnFlate;       // F 65: capacity of the block-connection face list
inline int TurbDensFlag;       // F 71: density effects on turbulence
inline int BedLoadVectorFlag;  // F 78: bed-load vector source variant
inline int FlagBedCalc;        // F 79: bed computation variant
inline int ArrayTimeSteps;     // F 81: rows of the "timei" series less one

// ---- F 100 .. F 199 --------------------------------------------------------------------------

inline int MGSNo;               // F 152: multigrid levels of the flow solution
inline int FlagFastWatersolve;  // F 170: fast flow driver for letter W

inline int FlagPresGrad;     // F 114: pressure-gradient variant
inline int FlagDragDLL;      // F 115: vegetation drag and porosity
inline int NoBedLayers;      // F 134: number of bed layers
inline int QNFlag;           // F 137: columns layered independently
inline int PresRegres;       // F 143: running regression of the surface pressure per column
inline int ExtrapAlgo1;      // F 147: transfer variant of the fields after grid regeneration
inline int FlagResidual;     // F 153: residual definition
inline int Flag2DAccSolver;  // F 168: levels of the depth-averaged accelerator grid
inline int FlagSIMPLE;       // F 171: velocity-correction variant of the pressure correction
inline int FlagTDMA;         // F 186: line solver in the main flow driver
inline int FlagTramel;       // F 189: Tramel bed-shear option

// ---- F 200 .. F 299 --------------------------------------------------------------------------

inline int FlagThixo;           // F 236: thixotropic or slide-layer mode
inline double ThixoEddyvisc;    // F 236
inline double ThixoCritshear;   // F 236
inline double ThixoMySlope;     // F 236
inline int FlagSoilStress;      // F 248: 1 soil stress, 2 slide location (letter N)
inline int FlagGroundwater;     // F 262: groundwater model
inline double Conductivity;     // F 262: hydraulic conductivity, m/s

inline int VegVars;                // F 201: vegetation variables per level
inline int VegLevels;              // F 201: vegetation levels
inline int VegTimes;               // F 201: vegetation time levels
inline int FlagTimeOrder;          // F 208: second-order time discretisation
inline int FlagNonHydrostaticSurf; // F 233: non-hydrostatic surface variants
inline int FlagNestTop;            // F 238: top and bed levels of nested blocks
inline int FlagBedchangeOption;    // F 255: bed-change routine
inline int FlagCoupledNesting;     // F 261: coupling variant of nested grids
inline int FlagTFS2;               // F 271: secondary free-surface option
inline int FlagBedAngles;          // F 274: bed-angle data from "bedangle"
inline int FlagBedDefect;          // F 277: bed-defect option
inline int FlagBedConcentration;   // F 285: bed-concentration variant
inline int InspaceAlloc;           // F 294: time levels of the "inspace" concentrations

// ---- F 300 .. F 399 --------------------------------------------------------------------------

inline int FlagWaterSolveNew;  // F 328: modular flow driver for letter W

inline int FlagShallowWater;     // F 311: two-dimensional shallow-water layer (letter L)
inline int PrintArrayFlags[51];  // F 329: output selection of the letter M, elements 0..19 read
inline int NoCohesiveDepth;      // F 330: points of the cohesion-depth table
inline int FlagUnstrucThixo;     // F 339: unstructured slide-layer option
inline int BlockCasulli;         // F 343: block treatment of the surface algorithm
inline int solverFroude;         // F 351: Froude-dependent surface-solver variant
inline int BedStatI1;            // F 358: first cross-section of the bed statistics, 0 none
inline int BedStatI2;            // F 358: last cross-section of the bed statistics
inline int BedStatJ2;            // F 358: last column of the bed statistics
inline int FlagNoGridSplit;      // F 371: minimum water levels keeping cross-sections connected
inline int FlagCohesion;         // F 385: cohesive-sediment model variant
inline int MaxNoBagger;          // F 386: largest number of dredging operations
inline int FlagRemovePonds;      // F 394: removal of isolated ponds in grid generation

// ---- F 400 .. F 551 --------------------------------------------------------------------------

inline int FlagHCB;                 // F 400: bed composition of the components
inline int FlagMorphStatistics;     // F 404: bed statistics (mean, deviation)
inline int FlagPlastics;            // F 417: plastics deposits
inline int FlagTracer;              // F 424: bed tracers
inline int FlagSmoothNewCorners;    // F 425: smoothing of new wet corners
inline int FlagFractionsPrint;      // F 433: print of bed fractions of the top layers
inline int UMethod2;                // F 488: grid generation by the second generator
inline int FlagDuneShearPartCross;  // F 499: dune shear partition across the flow
inline int FlagTriEdges;            // F 548: triangular edges of bed cells

// ---- G data sets -----------------------------------------------------------------------------

inline int xnumber;  // G 1: grid lines in i, structured indexes 0..xnumber+1
inline int ynumber;  // G 1: grid lines in j
inline int znumber;  // G 1: grid levels in a column
inline int lnumber;  // G 1: grain sizes

// ---- K, P and W data sets --------------------------------------------------------------------

inline int sou[50];  // K 6, F 63: discretisation scheme, indexed by equation number

// ---- Q, H, I, L, M, N, S data sets -----------------------------------------------------------

inline int CompInflowNo;  // M data sets: groups with constant inflow concentrations
inline int FlagReadNdata;              // N data sets read; -1 when "fracres" stands in
inline double SedimentSample[20][51];  // N data sets: fraction [distribution][size 1..49]
