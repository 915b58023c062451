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

// F 1 .. F 6: debugging letter, convergence and the bed-change iteration
inline char debugging;            // F 1: debugging letter, 'N' none
inline double convergence;        // F 3: convergence limit of the flow iterations
inline double relax_morph;        // F 4: relaxation of the bed change
inline int iter_morph;            // F 4: iterations of the bed change
inline double conv_morph;         // F 4: convergence limit of the bed change
inline double SinReposeAngle;     // F 5: sine of the angle of repose (read in degrees)
inline double ConcFormCoeff;      // F 6: parameters of the concentration formula
inline double ConcFormTstar;      // F 6
inline double ConcFormDstar;      // F 6

// F 8 .. F 28: sediment, wall laws, porosity and turbulence
inline double MaxBedChange;       // F 8: 0..1
inline double EddyMult;           // F 9: factor on the eddy viscosity
inline char SedimentFormula;      // F 10: sediment formula letter A, E, I, M, R, S or Y
inline double density;            // F 11: relative grain density
inline double shieldscoeff;       // F 11: critical Shields coefficient, 0 or below from a curve
inline double Schmidt;            // F 12: Schmidt number
inline double StressDiff;         // F 13
inline double ArtDiff;            // F 14
inline int FlagWallAll;           // F 15 (0..20); F 120 sets 1000
inline double XksWall;            // F 16: wall and bed roughness height, m; negative = not given
inline double XksInflow;          // F 16, F 202: roughness height of the inflow profile, m
inline double SourDens;           // F 18
inline double InitPres;           // F 19
inline double RelaxRhieChow;      // F 21: relaxation of the Rhie-Chow interpolation
inline double MinPorosity;        // F 22, F 25: smallest porosity
inline double RelaxPorosity;      // F 22, F 25: relaxation of the porosity
inline double FillPart;           // F 23: 0..1
inline double FillCriteria;       // F 23
inline int TurbulenceModel;       // F 24: turbulence model, 0 standard k-epsilon
inline double RoughPoros1;        // F 25
inline double RoughPoros2;        // F 25
inline int DiamPoros;             // F 25: 0..7
inline double SolidFrac;          // F 26: solid volume fraction of the bed (1 - porosity)
inline int SedimentScheme;        // F 27: scheme of the sediment equation
inline int ADFlag;                // F 28: 0..1
inline int ADSmearNo;             // F 28
inline int ADConvNo;              // F 28
inline double ADSmearLim;         // F 28

// F 30 .. F 42: bed flags, time stepping, free surface and scour limits
inline int BedFlags[10];          // F 30: bed concentration flags, entries 0..5 read
inline double PorosMult1;         // F 31
inline double PorosMult2;         // F 31
inline double twoDratio;          // F 32
inline double ArtEddyVisc;        // F 34: artificial eddy viscosity added to the eddy viscosity
inline double relaxBedShear;      // F 35: 0..1
inline int FlagTFS;               // F 36: free-surface algorithm
inline int FlagGravity;           // F 36 (1 with F 36 1, 11..19), F 181: gravity-term variant
inline int FlagSimpleCorrections; // F 36 (30 with F 36 11), F 157
inline double InputErrorLimit;    // F 38
inline double AccBedChange;       // F 39
inline double relaxDensityTurb;   // F 40
inline double MaxDepthScour;      // F 41, F 375: largest scour depth, m
inline int FlagMinBedLev;         // F 41, F 42, F 375: which scour limit holds (41, 42, 375; 0 none)
inline double MinLevScour;        // F 42: lowest bed level of the scour, m

// F 47 .. F 69: interpolation, components, Coriolis, wind, print intervals, slides, grid sizes
inline double InterLimit;         // F 47
inline double InterALimit;        // F 47: set only when its value is given
inline int FlagInterpolVal;       // F 48: variable and format of the interpolated outputs
inline double Coriolis;           // F 51, F 80: Coriolis parameter, 1/s
inline int FlagCoriolis;          // F 51, F 80: 1 when a Coriolis parameter was given
inline double Wind[3];            // F 52: wind speed m/s, x- and y-direction factors
inline int PrintIterBoogie;       // F 53: log lines every this many iterations
inline int PrintIterRes;          // F 53: result files
inline int PrintIterForce;        // F 53: forces
inline int PrintIterTime;         // F 53: time series
inline double TimeBreakLimit;     // F 54
inline int IterAvalanche;         // F 56, F 270: sand-slide algorithm number and interval
inline double AngleAvalanche;     // F 56, F 270: slide angle parameter
inline int TFStimeterm;           // F 58: 0..1
inline int TFSpreszero;           // F 58: 0..1
inline int TFSmovewall;           // F 58: 0..1
inline int TFSfroudeforward;      // F 58: 0..1
inline double TFSdiffratio;       // F 58
inline double TFSdampwall;        // F 58
inline double TFSdampobs;         // F 58
inline double TFStopvelocity;     // F 58
inline double TFSforcesource;     // F 58
inline double TFSuslope;          // F 58
inline int TSCbedrouse;           // F 60: 0..10
inline int TSCbedforms;           // F 60: 0..10
inline double CrankNicols;        // F 61: weight of the implicit part of the transient terms
inline int FlagTComp;             // F 62: 0..1
inline int SouComp;               // F 63: scheme of the sediment and component equations
inline int sou[60];               // F 63, K 6: scheme code per Equation; 1..6 flow, 7 sediment,
                                  // 8 + n component n, 6 + l grain size l (up to 50 fractions)
inline int UMethod;               // F 64: vertical grid-generation algorithm
inline int TopBed;                // F 64: 0 for the algorithms 3, 4, 8, 10..13, 33, 38, 100..500, else 1
inline int MaxCeller;             // F 65: capacity of the cell tables
inline int MaxFlater;             // F 65: capacity of the face tables
inline int MaxPunkter;            // F 65: capacity of the point tables
inline int MaxNester;             // F 65: capacity of the nesting tables, at least 2
inline int MaxConnFlate;          // F 65: capacity of the block-connection table, at least 2
inline double NestInterpolRelax;  // F 66: 0..1
inline int TemperatureFlag;       // F 67: 1 makes component 0 the water temperature
inline char QualityName[40][40];  // F 67, Q type 0: name of each component, at most 39 characters
inline int Seiche1;               // F 69
inline int Seiche2;               // F 69
inline int Seiche3;               // F 69
inline int Seiche4;               // F 69
inline int Seiche5;               // F 69
inline int Seiche6;               // F 69
inline int Seiche7;               // F 69

// F 70 .. F 99: walls, density effects, grid generation and porous walls
inline int WallFlag;              // F 70: wall face treatment
inline int TurbDensFlag;          // F 71: density effects on turbulence
inline double MinGamma;           // F 72: lower bound of the eddy viscosity (1000 times kinematic)
inline int WindFlag;              // F 73: wind-stress formula
inline int TimeRelaxFlag;         // F 74: 0..2
inline double Thermocline;        // F 75
inline int FlagThermocline;       // F 75: 1 when a thermocline was given
inline double TDChoriz;           // F 76
inline double TDCvert;            // F 76
inline double TDCdistrib;         // F 76: 0..1
inline double TChoriz;            // F 77
inline double TCvert;             // F 77
inline int BedLoadVectorFlag;     // F 78: bed-load vector source variant
inline double BedLoadVectorParam; // F 78: its parameter
inline int FlagBedCalc;           // F 79: bed computation variant (F 79 also sets lnumber of G 1)
inline double relaxCoriolis;      // F 80: relaxation of the Coriolis terms
inline int ArrayTimeSteps;        // F 81: length of the time-series arrays
inline double TurbDensAlphaU;     // F 82: at most 0
inline double TurbDensBetaU;      // F 82
inline double TurbDensAlphaT;     // F 82: at most 0
inline double TurbDensBetaT;      // F 82
inline double TDvelo;             // F 82
inline double ConcFormBCoeff;     // F 83: parameters of the second concentration formula
inline double ConcFormBTstar;     // F 83
inline double ConcFormBDstar;     // F 83
inline double ConcFormBD50;       // F 83
inline int BedLoadFlag;           // F 84
inline int ContinuityFlag;        // F 85
inline double MinVertDist;        // F 86, F 94: minimum vertical distance, m
inline double MinVertDist0;       // F 86, F 94: minimum depth for a column to get cells, m
inline double MinVertDist1;       // F 86, F 94: depth below which a column gets one cell, m
inline double GridDistCoeff;      // F 87
inline double MaxGamma;           // F 88: upper bound of the eddy viscosity
inline double DistGridHoriz;      // F 89: 0.001..1
inline int FlagRoughness;         // F 90: bed-roughness variant
inline int iPres;                 // F 91: index i of the downstream reference column
inline int jPres;                 // F 91: index j of the downstream reference column
inline int PorosWallFlag;         // F 92, F 95: porous-wall treatment in wall laws and momentum
inline double FroudeHystat;       // F 93
inline int FlagFroudeHystat;      // F 93: 1 when F 93 was given
inline double BPWparam1;          // F 95
inline double BPWparam2;          // F 95
inline int OneCellSource;         // F 96
inline int BlockMethodFlag;       // F 98
inline int BedRecIter;            // F 99

// ---- F 100 .. F 199 --------------------------------------------------------------------------

inline int MGSNo;               // F 152: multigrid levels of the flow solution
inline int FlagFastWatersolve;  // F 170: fast flow driver for letter W

inline int TransWriteFiles[5];    // F 101: intervals 1..4; 0 the smallest positive, or 1000000
inline int FlagMinLevUnstruc;     // F 102
inline int Flag2BedRoughness;     // F 103
inline int FlagEndCorrect;        // F 104
inline int IterWaterUpdate;       // F 105: free-surface update every this many outer iterations
inline double TopThickness;       // F 106
inline double BedCritTanSlopeUp;    // F 109: critical bed-slope tangent upward
inline double BedCritTanSlopeDown;  // F 109: critical bed-slope tangent downward
inline double BedCritMinDamp;       // F 109: minimum damping of the slope correction, 0..1
inline double HRzmax;             // F 110
inline double HRmulmin;           // F 110: 0..1
inline int FlagBedDLL;            // F 111: always 0 after reading
inline int FlagNewGrid;           // F 112: 0..100
inline int FlagRhieChow;          // F 113: Rhie-Chow variant
inline int OrigFlagRhieChow;      // F 113: the value read, restored at the end of a run
inline int FlagPresGrad;          // F 114: pressure-gradient variant
inline int FlagDragDLL;           // F 115: 0..500
inline int FlagSurfDLL;           // F 116
inline int FlagWallDLL;           // F 120
inline int FlagTurbDLL;           // F 121
inline int FlagTSCDLL;            // F 125
inline int FlagNestDLL;           // F 126
inline int FlagPresSetZero;       // F 128: pressure reset in the sediment loop
inline int FlagBedInterpol;       // F 129
inline int TetI1;                 // F 130: refined patch, first grid line in i
inline int TetI2;                 // F 130: last grid line in i
inline int TetJ1;                 // F 130: first grid line in j
inline int TetJ2;                 // F 130: last grid line in j
inline double cohesive[51];       // F 131: critical shear stress of cohesion per grain size, Pa
inline double FroudeMaxSurface;   // F 132: largest Froude number in the classic surface update
inline int NoBedLayers;           // F 134: number of bed layers
inline int FlagGravityTerm;       // F 135
inline double PresGradMax;        // F 136
inline int QNFlag;                // F 137: columns layered independently
inline double ArtMinKinen;        // F 138: lower bound of the turbulent kinetic energy
inline double MinUPlus;           // F 139: smallest u+ of the wall laws for the velocities
inline double MinUPlusK;          // F 139: smallest u+ of the wall laws for k
inline int FlagEpsWallLim;        // F 140
inline double MaxEpsLim;          // F 141
inline int PresRegres;            // F 143: running regression of the surface pressure per column
inline int FlagBedSmooth;         // F 144
inline double ParamBedSmooth;     // F 144
inline int ExtrapIter;            // F 147: iterations of the extrapolation into new cells
inline int ExtrapAlgo1;           // F 147: algorithm of the extrapolation
inline int ExtrapAlgo2;           // F 147
inline double ExtrapRelVel;       // F 147: relaxation of the velocities
inline double ExtrapRelK;         // F 147: relaxation of k
inline double ExtrapRelE;         // F 147: relaxation of epsilon
inline double MaxSurfSlope;       // F 148
inline double TurbMultVert;       // F 149
inline double TurbMultHor;        // F 149
inline int FlagResidual;          // F 153: residual definition
inline int SurfSmoothFlag;        // F 154
inline double SurfSmoothVal;      // F 154
inline int PauseFlag;             // F 156: debug pause points
inline int FlagGridStab1;         // F 159: grid stabilisation options of the vertical grid
inline int FlagGridStab2;         // F 159
inline int FlagGridStab3;         // F 159
inline int FlagGridStab4;         // F 159
inline int FlagGridStab5;         // F 159
inline int FlagGridStab2ori;      // F 159: the second value as read
inline int FlagGridStab5ori;      // F 159: the fifth value as read
inline int FlagBedVol;            // F 160
inline double MinVertDist2;       // F 162
inline int FlagBedChange;         // F 163
inline int FlagRapSolver;         // F 164: linear-solver variant
inline int FlagUnstrucDir;        // F 165
inline int FlagSurfRegen;         // F 166
inline int Flag2DAccSolver;       // F 168: depth-averaged accelerator grid of pressure and surface
inline int Flag2DAccSolverOri;    // F 168: the value as read
inline int FlagHideEx;            // F 169
inline double HideExParam;        // F 169
inline int FlagSIMPLE;            // F 171: velocity-correction variant of the pressure correction
inline int FlagShearBedform;      // F 172
inline double ShearBedformLim;    // F 172
inline double ShearBedformCoeff;  // F 172
inline int FlagCyclic;            // F 174: cyclic inflow boundary from the file "cyclic"
inline int FlagCyclicS;           // F 174: second value, 0 when not given
inline double relaxCyclicS;       // F 174: relaxation, read after a second value 5
inline double RelaxTFS;           // F 175
inline int FlagRBedformsmooth;    // F 176
inline double RBedformsmooth;     // F 176
inline int FlagHastGrad;          // F 177
inline int FlagSurfSmooth;        // F 178
inline int FlagSurfUpwind;        // F 179: options of the transient surface update
inline int FlagSurfDiffusive;     // F 179
inline int FlagSurfDownstream;    // F 180
inline int FlagPresDebug;         // F 183: pressure-correction dumps
inline int FlagPCalg;             // F 184
inline int FlagSurfEps;           // F 185
inline double SurfEpsCoeff;       // F 185
inline int FlagTDMA;              // F 186: line solver in the main flow driver
inline int FlagSurfEdge;          // F 187
inline int FlagWorkSedim;         // F 188
inline int FlagTramel;            // F 189
inline double ParamTramel;        // F 189
inline double ConnectLimit;       // F 191
inline double NestNoRatio;        // F 192
inline double SmallNumberUnstruc; // F 193: area below which a face counts as none
inline int FlagSlideDLL;          // F 198

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
inline int FlagUnstrucWedge;  // F 299: upper corner takes the lower one on a vertical edge below 1e-8 m

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


// ---- Q, H, I, L, M, N, S data sets -----------------------------------------------------------

inline int CompInflowNo;  // M data sets: groups with constant inflow concentrations
inline int FlagReadNdata;              // N data sets read; -1 when "fracres" stands in
inline double SedimentSample[20][51];  // N data sets: fraction [distribution][size 1..49]
