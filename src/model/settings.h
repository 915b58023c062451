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
inline int MaxCeller;  // F 65: capacity of the cell tables

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
inline constexpr int kEquationEntries = 60;  // equations 1..6 flow, 7 sediment, 8.. components and fractions
inline int sou[kEquationEntries];               // F 63, K 6: scheme code per Equation; 1..6 flow, 7 sediment,
                                  // 8 + n component n, 6 + l grain size l (up to 50 fractions)
inline int UMethod;               // F 64: vertical grid-generation algorithm
inline int TopBed;                // F 64: 0 for the algorithms 3, 4, 8, 10..13, 33, 38, 100..500, else 1
inline int MaxFlater;             // F 65: capacity of the face tables
inline int MaxPunkter;            // F 65: capacity of the point tables
inline int MaxNester;             // F 65: capacity of the nesting tables, at least 2
inline int MaxConnFlate;          // F 65: capacity of the block-connection table, at least 2
inline double NestInterpolRelax;  // F 66: 0..1
inline int TemperatureFlag;       // F 67: 1 makes component 0 the water temperature
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
inline int NoBedLayers;  // F 134: number of bed layers

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
inline int kSurf2;         // F 250, G 62: discharge group of the second surface reference
inline int FlagFlocDLL;    // F 260: flocculation; lets S data sets come in any size order
inline int FlagOpenMP[40]; // G 50 entries 0..9, F 269 entries 10 and 11: 1 runs a stage serially

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

inline int FlagNormSet;                        // F 200: residual normalisation; 2 also velocity and pressure
inline double NormK;                           // F 200: normalisation of the k residual
inline double NormEps;                         // F 200: normalisation of the epsilon residual
inline double NormVel;                         // F 200 2: normalisation of the velocity residuals
inline double NormPres;                        // F 200 2: normalisation of the pressure residual
inline int FlagLogInflow;                      // F 202: logarithmic inflow profile
inline int FlagVertVelStab;                    // F 203
inline double sizeBedCritCorr;                 // F 204
inline int FlagSkewedBedchange;                // F 205
inline double f205param;                       // F 205
inline int NoProcessesSolver;                  // F 206: threads and work chunks of the parallel regions, 0 not given
inline double MaxDepth209;                     // F 209, m
inline int FlagBankErosion;                    // F 210
inline int FlagWriteSpecial;                   // F 212: grid statistics and special output
inline int FlagLEA1;                           // F 213
inline double CoeffLEA1;                       // F 213
inline int FlagLEA2;                           // F 214
inline double CoeffLEA2_teta;                  // F 214
inline double CoeffLEA2_k2;                    // F 214
inline double CoeffLEA2_k3;                    // F 214
inline double CoeffLEA2_k4;                    // F 214
inline int FlagLEA3;                           // F 215
inline double CoeffLEA3;                       // F 215
inline int FlagLEA4;                           // F 216
inline double CoeffLEA4_teta;                  // F 216
inline int FlagLEA5;                           // F 217
inline double CoeffLEA5_Ub;                    // F 217
inline double CoeffLEA5_teta;                  // F 217
inline int StopIter;                           // F 218: debug dump in iteration StopIter + 1
inline int PrintDebugBoogie;                   // F 218: cell whose values are dumped
inline int FlagFlush;                          // F 219
inline int FlagStopTime;                       // F 221
inline int FlagBedDownstream;                  // F 222
inline int ompbugtrap;                         // F 223: debug traps of the coefficients
inline double SurfResCrit;                     // F 224: residual below which the free surface is updated
inline double ScaleGeodataMult;                // F 225: factor on the bed-point levels
inline double ScaleGeodataAdd;                 // F 225: addition to the bed-point levels, m
inline int FlagSurfFlux;                       // F 226
inline int FlagPreventDiv;                     // F 229
inline int FlagTiltSurf;                       // F 230
inline int FlagGridIter;                       // F 231
inline int FlagGridCNO;                        // F 232
inline int FlagGridQexpand;                    // F 232
inline double FlagGridVVANG;                   // F 232
inline int FlagSurfPresDownstream;             // F 234
inline int FlagCorrTrekant;                    // F 235, F 245: triangular-cell correction variant
inline double discharges[20];                  // F 237: fixed discharge of group g (1..9), -1.0 not given
inline double LevelNestTop;                    // F 238, m
inline int iterSurfSolv1;                      // F 239
inline int iterSurfSolv2;                      // F 239
inline int NestSurf;                           // F 241
inline int NumMoveBedchange;                   // F 242
inline double relaxTrekant1;                   // F 244
inline double relaxTrekant2;                   // F 244
inline int FlagCorrTrekant2;                   // F 245
inline int FlagCorrTrekant3;                   // F 245
inline int FlagGridStab6;                      // F 245 third value 1, F 383
inline int FlagSurfLimit1;                     // F 246
inline int FlagSurfLimit2;                     // F 246
inline int FlagSurfLimit3;                     // F 246
inline double Diffslope;                       // F 246
inline double EModulus;                        // F 247, F 410: elasticity modulus of the soil, Pa
inline double PoissonRatio;                    // F 247, F 410: Poisson ratio of the soil
inline double GModulus;                        // F 247, F 410: shear modulus E/(2(1+nu)), Pa
inline double LModulus;                        // F 247, F 410: Lame modulus E nu/((1-2nu)(1+nu)), Pa
inline double MModulus;                        // F 247, F 410: constrained modulus E/(1+nu) of the soil stress, Pa
inline int FlagAllowNegatveSedimentthickness;  // F 249
inline int FlagShields;                        // F 251
inline double relaxOutFlux;                    // F 252
inline int FlagImplicitSedim;                  // F 253
inline double TFS17WeightPresCorr;             // F 254
inline double MaxBedConc;                      // F 256
inline int FlagCrashGrid;                      // F 257: grid output at a crash
inline int FlagStressTerm;                     // F 258
inline int FlagStressStrain;                   // F 259
inline double RelaxCoupledNesting;             // F 261: its relaxation
inline int updates[20];                        // F 263: per group g (1..9), -1 not given
inline int FlagDensityAlgo;                    // F 264
inline double di_graph;                        // F 265
inline int FlagGLEA;                           // F 266
inline double SlopeGLEA;                       // F 266
inline double CohesionGLEA;                    // F 266
inline int FlagNoContour;                      // F 267
inline int FlagViewNested;                     // F 268
inline double AngleAvalancheUp;                // F 270
inline int FlagKatoLaunder;                    // F 272
inline int FlagGENMIX;                         // F 273
inline double coeffEps;                        // F 273 2
inline double EpsilonCs1;                      // F 275
inline double EpsilonCs2;                      // F 275
inline int FlagInOutLevels;                    // F 276
inline int FlagTFS3;                           // F 278
inline int FlagShearNB;                        // F 279
inline int FlagNestFluxInterpol;               // F 280
inline int FlagDuneEddy;                       // F 281
inline double DuneEddyFactor;                  // F 281
inline int FlagUpdateDownwind;                 // F 282
inline int FlagSurfLimit4;                     // F 283
inline int FlagTFS4;                           // F 284
inline int FlagBedSlope;                       // F 285
inline int FlagGlobFlux;                       // F 287: global flux-defect correction
inline double GlobFluxLim1;                    // F 287 6: lower limit
inline double GlobFluxLim2;                    // F 287 6: upper limit
inline int FlagThixoDamp;                      // F 289
inline int FlagThixoGrid;                      // F 289
inline int FlagThixoDampAp;                    // F 289
inline int FlagThixoDampVel;                   // F 289
inline double GammaVertCoeff1;                 // F 290
inline double GammaVertCoeff2;                 // F 290
inline int FlagDamp1;                          // F 291
inline int FlagDamp2;                          // F 291
inline int FlagDamp3;                          // F 291
inline int FlagInnerTimestep;                  // F 292
inline double InnerTimestep;                   // F 292: time step inside the surface coefficients, s
inline int FlagVostel;                         // F 293: residual history in "vostel"
inline double RoughnessFactor;                 // F 295
inline int FlagTimeSIMPLE;                     // F 296
inline int FlagWriteUnstruc;                   // F 297, 2..4
inline int OpenFOAMsides;                      // F 298
inline double OpenFOAMinLevel;                 // F 298, m
inline double OpenFOAMoutLevel;                // F 298, m

// ---- F 300 .. F 399 --------------------------------------------------------------------------

inline int FlagWaterSolveNew;  // F 328: modular flow driver for letter W
inline int FlagMPI;       // F 308: partition number of a partitioned run, 0 none
inline int FlagCohesion;  // F 385: cohesive-sediment model variant

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
inline int MaxNoBagger;          // F 386: largest number of dredging operations
inline int FlagRemovePonds;      // F 394: removal of isolated ponds in grid generation

inline double MaxCrashDef;              // F 301: residual above which a solution counts as diverged
inline int FlagFracVer0;                // F 303
inline int FlagBedVer;                  // F 304
inline int FlagNewWall;                 // F 305
inline int FlagUseBedres;               // F 306
inline int FlagInterpolNew;             // F 309
inline int FlagFixBed;                  // F 310
inline int FlagModEpsilon;              // F 312
inline int FlagKoordinaFix;             // F 313
inline int FlagGenerateUpFlux;          // F 314, 0..1000
inline int FlagGenerateDownFlux;        // F 314, 0..10
inline int FlagGridMPIboundary;         // F 315
inline int FlagPresMPIboundary;         // F 316: pressure on partition boundaries
inline int jPresUp[99];                 // F 317: entries 1..98
inline int jPresDown[99];               // F 318: entries 1..98
inline int FlagUnstrucMPI;              // F 319
inline int FlagZeroGradSedim;           // F 320
inline int FlagTimeSurf;                // F 322
inline int FlagMomentSurf;              // F 322
inline int FlagSurface2;                // F 323
inline int FlagNormStress;              // F 324
inline int FlagSlide;                   // F 325
inline double TimeStepThixo;            // F 326, s
inline int IterThixo;                   // F 326
inline int FlagInvApSmooth;             // F 327
inline double cohesiveDepth[100];       // F 330: depth of row i, m
inline double cohesiveArr[100];         // F 330: cohesion of row i, Pa
inline int znumberThixo;                // F 331
inline double ThixoExpansion;           // F 332
inline int FlagGT;                      // F 333
inline double ThixoSlideModifier;       // F 334
inline double ThixoCohesiveModifier;    // F 334
inline double TimeEnd;                  // F 335: simulated time at which a transient run stops, s
inline int FlagThixoTimestep;           // F 336
inline double dischargesMPI[2000];      // F 337: discharge of group g in partition block b at g + 20 b
inline double ThixoMinGamma;            // F 338
inline int FlagOutflow;                 // F 340, 1..9
inline int FlagShallowDamp;             // F 341, 0..9
inline int vectorIter;                  // F 342
inline int FlagSolverVertTDMA;          // F 344
inline double residualCasulli;          // F 345
inline int FlagFroudeDamp;              // F 346
inline int FlagFixSurfSlide;            // F 347
inline int UnevenConnect;               // F 348: flux balance across uneven block connections
inline int FlagOpenFOAMsurface;         // F 349
inline double maxTimeStep;              // F 350, s
inline double minTimeStep;              // F 350, s
inline double QRefTimeStep;             // F 350
inline double powTimeStep;              // F 350
inline int FlagComputeTimestep;         // F 350 sets 1: computed time step
inline double solverFroudeLimit;        // F 351
inline int FlagTFS5;                    // F 352
inline int FlagTFS6;                    // F 352
inline int surfaceDownstreamDamp;       // F 353, raised to 5 by F 452
inline int OpenFOAMprintI;              // F 354
inline int OpenFOAMprintJ;              // F 354
inline int FlagPresSource;              // F 355
inline double CoeffPresSource;          // F 355
inline int PointInterval;               // F 356
inline int PointIntervalO;              // F 356: the value as first given
inline int FlagPresSurf;                // F 357
inline double CoeffPresSurf;            // F 357
inline int BedStatJ1;                   // F 358
inline double BedStatTime1;             // F 358: time window, s
inline double BedStatTime2;             // F 358, s
inline double SurfULimit;               // F 359: surface velocity limit, m/s
inline double SurfUFactor;              // F 359: factor of its limiter
inline int FlagFluxCorr;                // F 360
inline double FluxCorrVal;              // F 360
inline int FlagSurfSlope;               // F 361
inline double SurfSlopeVal;             // F 361
inline int FlagSetPow;                  // F 362, 0..3
inline double geoScaleX;                // F 363: scale of the bed points in x
inline double geoScaleY;                // F 363: scale in y
inline int FlagGeoScale;                // F 363 sets 1
inline double geoMin;                   // F 364: lowest bed-point level kept, m
inline double geoMax;                   // F 364: highest, m
inline int FlagGeoMaxMin;               // F 364 sets 1
inline int FlagViewInterpol;            // F 365
inline int FlagNoImpulse;               // F 366
inline double SourceVarnel;             // F 367
inline int IBraidedStart;               // F 368
inline double BraidedTot;               // F 368
inline double BraidedActive;            // F 368
inline double BraidedActive2;           // F 368
inline double BraidedActive3;           // F 368
inline int BraidCells;                  // F 368
inline int FlagBraidedIndex;            // F 368 sets 1
inline int FlagBugFind;                 // F 369: extra checks of the grid levels
inline int WriteDuneIter;               // F 370
inline int WriteDuneI1;                 // F 370
inline int WriteDuneI2;                 // F 370
inline int WriteDuneJ1;                 // F 370
inline int WriteDuneDI;                 // F 370
inline int gridSplitKant;               // F 371
inline int FlagGridsplitBedmove;        // F 371: third value, after a bed change too
inline double FroudeSplit;              // F 371 8..11, 0.01..10
inline int FlagFilterPressure;          // F 372
inline int FlagPresCorrStab;            // F 373
inline int Iter2DMG;                    // F 374
inline int Iter2DMGori;                 // F 374: the value as given
inline double BfG_M;                    // F 376
inline double BfG_k;                    // F 376
inline int FlagCyclicSstart;            // F 377
inline int FlagThalweg;                 // F 378
inline int FlagReducePonds;             // F 379
inline double CritReducePonds;          // F 379
inline double ShearReducePonds;         // F 379
inline int FlagGridStab7;               // F 380
inline double FlushWaterLevelMin;       // F 381, m
inline double FlushWaterLevelMax;       // F 381, m
inline int FlagFlushWaterLevel;         // F 381 sets 1
inline int FlagAddApTrekant;            // F 382
inline double OpenFOAMalpha1X;          // F 384
inline double OpenFOAMalpha1Z;          // F 384
inline double InitValueCohesion;        // F 385
inline int FlagBagger;                  // F 386: dredging and dumping from "bagger"
inline double MinDepthGrid;             // F 387, m
inline double relaxSimpleCorr;          // F 388
inline int iterWriteAllData;            // F 389: "alldata" every this many time steps
inline int FlagFixGrid;                 // F 390
inline int FlagGridStab8;               // F 391
inline int FlagSetZeroBedmove;          // F 392
inline int FlagSetLimBedOri;            // F 393
inline int FlagModifyGrid;              // F 395
inline double MaxModifyGrid;            // F 395
inline double DzModifyGrid;             // F 395, m
inline int FlagNoSides;                 // F 396
inline int FlagWallLimiterU;            // F 397
inline int FlagWallLimiterK;            // F 397
inline double WallLimiterU;             // F 397
inline double WallLimiterK;             // F 397
inline double coeffRoughRijn;           // F 398
inline int FlagErrorKoomin;             // F 399

// ---- F 400 .. F 551 --------------------------------------------------------------------------
inline int FlagMorphStatistics;  // F 404: bed statistics (mean, deviation)

inline int FlagHCB;                 // F 400: bed composition of the components
inline int FlagPlastics;            // F 417: plastics deposits
inline int FlagTracer;              // F 424: bed tracers
inline int FlagSmoothNewCorners;    // F 425: smoothing of new wet corners
inline int FlagFractionsPrint;      // F 433: print of bed fractions of the top layers
inline int UMethod2;                // F 488: grid generation by the second generator
inline int FlagDuneShearPartCross;  // F 499: dune shear partition across the flow
inline int FlagTriEdges;            // F 548: triangular edges of bed cells

inline int FlagThixoGrid2;              // F 401
inline double ThixoMinSlideSize;        // F 402
inline int TFSminFlag;                  // F 403
inline double TFSminDepth;              // F 403, m
inline double RelaxMorphStatistics;     // F 404: their relaxation
inline int FlagTFS7;                    // F 405
inline double AddValTFS7;               // F 406
inline int FlagCriticalCross;           // F 407
inline int FlagBoundaryThixo;           // F 408
inline int FlagMinDistEps;              // F 409
inline double MinDistEps;               // F 409, m
inline int FlagModulus;                 // F 410: modulus variant of the soil stress
inline double BankCohesion;             // F 411
inline int FlagErodeUnder;              // F 412
inline int FlagCorrectContinuity;       // F 413
inline int FlagSmoothBedchange;         // F 414
inline int FlagSideDamp;                // F 415
inline int FlagPresDownstream;          // F 416
inline double IntervalPresDownstream;   // F 416 3
inline double global_fac;               // F 418, 0..10
inline int FlagPresSurfDamp;            // F 419
inline double DepthBreakPath;           // F 420, m
inline double FillStop;                 // F 421
inline int FlagTestNB;                  // F 422
inline int FlagRiseNeighbours;          // F 423
inline int FlagPresFilter;              // F 426
inline int FlagSurfLimit5;              // F 427
inline double reduceCornersSurf;        // F 428, 0..1, with F 36 7
inline int FlagRidgeMetric;             // F 429
inline int FlagLimitExpansion;          // F 430
inline int FlagAddAnbShallow;           // F 431
inline double ValAddAnbShallow;         // F 431
inline int FlagCallSurface;             // F 432: the steady solver leaves the surface update to its caller
inline double depthTracer;              // F 433: their depth, m
inline int FlagSplitLayers;             // F 434
inline int FlagUpdateDischarge;         // F 435
inline int FlagCorrTrekant4;            // F 436
inline int FlagCorrTrekant5;            // F 437
inline int FlagWeightComp;              // F 438
inline int FlagDepthDeposit;            // F 439: deposit-depth statistics
inline double VertDiffTrekant;          // F 440
inline int FlagMaxFlux;                 // F 441
inline double MPMcoeff;                 // F 442
inline int FlagFracresVersion;          // F 443: layout of "fracres"
inline int FlagGrid13;                  // F 444
inline double relaxAvailable;           // F 445, 0..1
inline int NumRemoveLayers;             // F 446
inline int FlagArmourDepth;             // F 447
inline int FlagDefectRatio;             // F 448
inline int tracerJ1;                    // F 449
inline int tracerJ2;                    // F 449
inline int FlagGroyneArmour;            // F 450
inline double GroyneArmour;             // F 450
inline int FlagBedSmooth4;              // F 451
inline double BedSmooth4;               // F 451
inline double surfaceDampFactor1;       // F 452
inline double surfaceDampFactor2;       // F 452
inline int surfaceDampSec;              // F 452
inline int FlagProfiles;                // F 453, with F 37 3
inline int skipWatersolve;              // F 454
inline int LevelInflowSed;              // F 455
inline int FlagMinLevCorner;            // F 456
inline double cyclicIncreaseFactor;     // F 457
inline int FlagInitiateBedlayers;       // F 458
inline int FlagShearSmooth;             // F 459
inline int FlagSmoothKs;                // F 460
inline double ShiftSourceBed;           // F 461, m
inline int FlagBedFractionsPrint;       // F 462
inline int NoDownstreamDeposit;         // F 463
inline int FlagOutConc;                 // F 464
inline int IterSlideHoriz;              // F 465
inline int IterSlideVert;               // F 465
inline double relaxCasulli;             // F 466, 0..1
inline int FlagScaleGridMove;           // F 467
inline int NoCasulliMG;                 // F 468
inline int FlagCasulliCoeff;            // F 470, 0..10
inline int FlagGridConnect;             // F 471
inline int FlagSideSurfDamp;            // F 472
inline int FlagCasulliLimit;            // F 473
inline int FlagGradSurf;                // F 474
inline int FlagFriction;                // F 475
inline int FlagDuneFormula;             // F 476
inline double KarimCoeff;               // F 476: 0.085 for 2, 0.47 for 3
inline int FlagScaleFreeSource;         // F 477
inline int FlagNewSurface;              // F 478
inline double updateRatioCriteria;      // F 479
inline int FlagDeltaSurface;            // F 480
inline int FlagScalePressure;           // F 481
inline int FlagPresStability;           // F 482
inline int FlagLimitFallvel;            // F 483
inline int FlagSumFractions;            // F 484
inline int FlagExplicitBed;             // F 485
inline int FlagMGSurf;                  // F 486
inline int FlagOldPres;                 // F 487
inline int FirstIterNo;                 // F 489
inline int FlagPressureTest;            // F 490
inline double PressureTestFactor;       // F 490
inline double CoeffPonds;               // F 491, 0..1
inline int FlagGridStabFix1;            // F 492
inline int FlagTriangleAlgo;            // F 493: collapse variant at the water edge
inline int FlagConcProf;                // F 494
inline int FlagPresLatSource;           // F 496
inline int FlagInflowConcVar;           // F 497
inline int FlagDragDune;                // F 498
inline double EHcoeff;                  // F 500
inline double restCrit;                 // F 501
inline int FlagBedMove;                 // F 502
inline int FlagTriangle10;              // F 503
inline double ThixoGridDistCoeff;       // F 504
inline double GravitySlope;             // F 505
inline int FlagOrderRemovePonds;        // F 506
inline double ShearGridCoeff[11];       // F 507: entries 1..10
inline int FlagGridStab9;               // F 508
inline double TurbThick;                // F 509
inline double GridDistCoeff2;           // F 510
inline double GridDistCoeff3;           // F 511
inline double outflowFixShear;          // F 512
inline double outflowFixDepth;          // F 512, m
inline double momentumAddInflow;        // F 513
inline int FlagSinkScour;               // F 514: sink-scour output
inline double deltaSinkScour;           // F 514
inline double porosMultiplier;          // F 514
inline int FlagNewSurfUnstruc;          // F 515
inline int ofGridI;                     // F 516
inline int ofGridJ;                     // F 516
inline int ofGridK;                     // F 516
inline int FlagScaleSurfFroude;         // F 517
inline int FlagScaleInterpol;           // F 518
inline int FlagFollowSurface;           // F 519
inline int NoMGloops;                   // F 520
inline int FlagExtraDebug;              // F 521
inline int FlagTolvenika;               // F 522
inline int CrossTolvenika;              // F 522
inline int FlagTestBugMetric;           // F 523: every geometry call recomputes
inline int FlagShapeInflow;             // F 524
inline double coeffTurbFlag5;           // F 525
inline int FlagTVertGrad;               // F 526
inline double coeffEpsilon;             // F 527
inline int FlagGridStab10;              // F 528
inline int FlagGridStab11;              // F 529
inline int FlagLimitSurf;               // F 530
inline double GridRoughnessParam;       // F 531
inline int varTimeInterval;             // F 532
inline double varTimeStart;             // F 532, s
inline double varTimeEnd;               // F 532, s
inline int FlagHorMove;                 // F 533
inline double coeffTurbC3e;             // F 534
inline int FlagMakeKoomin;              // F 535: bed interpolation pre-pass and "koomin"
inline int FlagReduceEH;                // F 536
inline double coeffReduceEH;            // F 536, 0..1
inline int FlagQuistel;                 // F 537
inline int FlagDebugGrid;               // F 538
inline int FlagWaterlevelModify;        // F 539
inline int FlagInitiatePres;            // F 540
inline double dischargeSolverLimit;     // F 541: 1000 times the value given
inline int FlagPondsPres;               // F 542
inline double presGradPorosBed;         // F 543
inline double TurbMultVertU;            // F 544
inline double TurbMultHorU;             // F 544
inline int FlagGravityInitialize;       // F 545: hydrostatic initial pressure
inline int FlagWallCorner;              // F 546
inline int NoRepeatTimei;               // F 547
inline int FlagPresCrash;               // F 549
inline double deltaLevelPorosity;       // F 551, m

// ---- G data sets -----------------------------------------------------------------------------

inline int xnumber;  // G 1: grid lines in i, structured indexes 0..xnumber+1
inline int ynumber;  // G 1: grid lines in j
inline int znumber;  // G 1: grid levels in a column
inline int lnumber;  // G 1: grain sizes
inline int iblok1, iblok2;  // G 2: i range of a block, no other part reads them
inline int jblok1, jblok2;  // G 2: j range of a block
inline constexpr int kMaxZdistrib = 5000;
inline double zdistrib[kMaxZdistrib];  // G 3, G 30: relative level of grid line 1..znumber; [0] the first value of G 3
inline int FlagReadG3;                 // G 3: 1 once given
inline int i_pointsource, i2_pointsource;  // G 4, G 5: point source cell range in i
inline int j_pointsource, j2_pointsource;  // G 4, G 5: in j
inline int k_pointsource, k2_pointsource;  // G 4, G 5: in k
inline double pointsource[51];             // G 4, G 5: strength per grain size 1..lnumber
inline int iSurf;            // G 6, G 62: reference cell of the surface (0: use group kSurf)
inline int jSurf;            // G 6, G 62: second reference cell (0: use group kSurf2)
inline int kSurf;            // G 6, G 62: discharge group of the surface reference
inline double RelaxSurface;  // G 6, G 62: relaxation of the surface update
inline double ConvSurface;   // G 6, G 62: residual limit of the surface call
inline int SpecEnergy;       // G 9: cross-section of the specific energy, no other part reads it
inline int WorkBlockNo;      // G 25: entries of WorkBlock
inline int WorkBlock[100];   // G 25: block b takes part in the work ranges when WorkBlock[b] > 0, 1..99
inline int FlagSurfaceUpdate;  // G 26: blocks given
inline int SurfUpdate[100];    // G 26: surface-update code per block 1..90 (default 1 for 1..98)
inline int divisionMPI[1000];  // G 27: partition borders 1..FlagMPI, rising; [1] -1 when not given
inline int i1Iff, i2Iff;       // G 29: column range in i read by the sediment time loop
inline int j1Iff, j2Iff;       // G 29: in j
inline double inflowMult[21];  // G 31: sediment inflow multiplier per size 1..20
inline double multCinn[51];    // G 51: multiplier of the "timei" inflow concentrations per size 1..lnumber

// ---- K, P and W data sets --------------------------------------------------------------------

inline int iterGlobalMax;   // K 1: outer iterations
inline int IterSurface;     // K 1: interval of the free-surface update
inline int FlagWall;        // K 2: wall option
inline int FlagRoof;        // K 2: 1 allows free-surface updates
inline double relax[kEquationEntries];  // K 3: under-relaxation per equation 1..6
inline int sweeps[kEquationEntries];    // K 4: solver sweeps per equation 1..6
inline int blockcorr[kEquationEntries]; // K 5: block-correction passes per equation 1..6
inline double xscale, yscale, zscale;   // P 2: scales written back to "control.new"
inline double movex, movey;             // P 2: shifts written back to "control.new"
inline int xnode, ynode, znode, lnode;  // P 3: plotting planes and size
inline char graph;                      // P 4: plot kind of the ParaView plane writer
inline int OGLindex;                    // P 5
inline double OGLmin, OGLmax;           // P 6
inline int OGLminmax;                   // P 6: 1 once given
inline char VerHorPar;                  // P 7
inline int FlagGraphAvg;                // P 8
inline int PrintComp;                   // P 9: component restart series
inline int PrintRes;                    // P 10: result output interval
inline int PrintSpecials;               // P 11: special outputs of the flow drivers
inline int PlotCrossStart, PlotCrossNo; // P 12
inline int PlotCross[51];               // P 12: column numbers 1..PlotCrossNo
inline int PlotLongStart, PlotLongNo;   // P 13
inline int PlotLong[51];                // P 13: column numbers 1..PlotLongNo
inline double TimeTimerPrint;           // P 14
inline int PrintResAlways;              // P 15: result output at every iteration above this one
inline int PrintIStart, PrintIEnd;      // P 16
inline int PrintJStart, PrintJEnd;      // P 16
inline int NoCrossPrint;                // P 18: entries of CrossPrint
inline constexpr int kMaxCrossPrint = 1000;
inline int CrossPrint[kMaxCrossPrint];  // P 18: cross-sections of the interpolation result file, 1..999
inline double ManningInit;  // W 1: Manning-Strickler number of the start values
inline double discharge;    // W 1: discharge of the start values, m3/s
inline double level;        // W 1: water level of the start values, m
inline int FlagReadW1;      // W 1: 1 once given; without it the level comes from "geodata"
inline int initnumber;      // W 2: entries of initarray
inline constexpr int kMaxInitArray = 300;
inline int initarray[kMaxInitArray];  // W 2: rising column numbers 1..initnumber

// ---- Q, H, I, L, M, N, S data sets -----------------------------------------------------------

inline int CompInflowNo;  // M data sets: groups with constant inflow concentrations
inline int FlagReadNdata;              // N data sets read; -1 when "fracres" stands in
inline constexpr int kMaxGrainSizes = 50;   // lnumber is at most 50
inline double gsize[kMaxGrainSizes + 2];     // S: diameter per grain size 1..lnumber+1, m
inline double fallvelo[kMaxGrainSizes + 2];  // S: fall velocity per grain size 1..lnumber+1, m/s
inline double inflow[kMaxGrainSizes + 1];    // I: inflow concentration per size 0..lnumber, not used
