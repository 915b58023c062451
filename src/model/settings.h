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

inline int FlagWallAll;         // F 15 (declared for F 305)
inline double XksInflow;        // F 16, F 202: roughness of the inflow profile, m
inline int FlagTFS;             // F 36 (declared for F 428)
inline double MaxDepthScour;    // F 41, F 375, m
inline int FlagMinBedLev;       // F 41 sets 41, F 375 sets 375
inline int IterAvalanche;       // F 56, F 270: sand-slide algorithm
inline double AngleAvalanche;   // F 56, F 270
inline int TFSfroudeforward;    // F 58, F 227
inline double TFSdampwall;      // F 58, F 469

// ---- F 100 .. F 199 --------------------------------------------------------------------------

inline int MGSNo;               // F 152: multigrid levels of the flow solution
inline int FlagFastWatersolve;  // F 170: fast flow driver for letter W

inline int FlagMinLevUnstruc;   // F 102 (declared for F 292)
inline int Flag2DAccSolver;     // F 168 (declared for F 292, F 343)

// ---- F 200 .. F 299 --------------------------------------------------------------------------

inline int FlagThixo;           // F 236: thixotropic or slide-layer mode
inline double ThixoEddyvisc;    // F 236
inline double ThixoCritshear;   // F 236
inline double ThixoMySlope;     // F 236
inline int FlagSoilStress;      // F 248: 1 soil stress, 2 slide location (letter N)
inline int FlagGroundwater;     // F 262: groundwater model
inline double Conductivity;     // F 262: hydraulic conductivity, m/s

inline int FlagNormSet;                        // F 200: residual normalisation; 2 also velocity and pressure
inline double NormK;                           // F 200: normalisation of the k residual
inline double NormEps;                         // F 200: normalisation of the epsilon residual
inline double NormVel;                         // F 200 2: normalisation of the velocity residuals
inline double NormPres;                        // F 200 2: normalisation of the pressure residual
inline int VegVars;                            // F 201: vegetation variables, 1..5
inline int VegLevels;                          // F 201: vegetation levels
inline int VegTimes;                           // F 201: vegetation times
inline int FlagLogInflow;                      // F 202: logarithmic inflow profile
inline int FlagVertVelStab;                    // F 203
inline double sizeBedCritCorr;                 // F 204
inline int FlagSkewedBedchange;                // F 205
inline double f205param;                       // F 205
inline int NoProcessesSolver;                  // F 206: threads and work chunks of the parallel regions, 0 not given
inline int FlagTimeOrder;                      // F 208: second-order time discretisation
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
inline int FlagNonHydrostaticSurf;             // F 233: non-hydrostatic surface variants
inline int FlagSurfPresDownstream;             // F 234
inline int FlagCorrTrekant;                    // F 235, F 245: triangular-cell correction variant
inline double discharges[20];                  // F 237: fixed discharge of group g (1..9), -1.0 not given
inline int FlagNestTop;                        // F 238: top and bed levels of nested blocks
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
inline int FlagAllowNegatveSedimentthickness;  // F 249
inline int kSurf2;                             // F 250
inline int FlagShields;                        // F 251
inline double relaxOutFlux;                    // F 252
inline int FlagImplicitSedim;                  // F 253
inline double TFS17WeightPresCorr;             // F 254
inline int FlagBedchangeOption;                // F 255: bed-change routine
inline double MaxBedConc;                      // F 256
inline int FlagCrashGrid;                      // F 257: grid output at a crash
inline int FlagStressTerm;                     // F 258
inline int FlagStressStrain;                   // F 259
inline int FlagFlocDLL;                        // F 260
inline int FlagCoupledNesting;                 // F 261: coupling variant of nested grids
inline double RelaxCoupledNesting;             // F 261: its relaxation
inline int updates[20];                        // F 263: per group g (1..9), -1 not given
inline int FlagDensityAlgo;                    // F 264
inline double di_graph;                        // F 265
inline int FlagGLEA;                           // F 266
inline double SlopeGLEA;                       // F 266
inline double CohesionGLEA;                    // F 266
inline int FlagNoContour;                      // F 267
inline int FlagViewNested;                     // F 268
inline int FlagOpenMP[40];                     // G 50 entries 0..9, F 269 entries 10, 11: 1 runs that stage serially
inline double AngleAvalancheUp;                // F 270
inline int FlagTFS2;                           // F 271: secondary free-surface option
inline int FlagKatoLaunder;                    // F 272
inline int FlagGENMIX;                         // F 273
inline double coeffEps;                        // F 273 2
inline int FlagBedAngles;                      // F 274: bed angles from "bedangle"
inline double EpsilonCs1;                      // F 275
inline double EpsilonCs2;                      // F 275
inline int FlagInOutLevels;                    // F 276
inline int FlagBedDefect;                      // F 277
inline int FlagTFS3;                           // F 278
inline int FlagShearNB;                        // F 279
inline int FlagNestFluxInterpol;               // F 280
inline int FlagDuneEddy;                       // F 281
inline double DuneEddyFactor;                  // F 281
inline int FlagUpdateDownwind;                 // F 282
inline int FlagSurfLimit4;                     // F 283
inline int FlagTFS4;                           // F 284
inline int FlagBedConcentration;               // F 285, F 376 (3)
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
inline int InspaceAlloc;                       // F 294
inline double RoughnessFactor;                 // F 295
inline int FlagTimeSIMPLE;                     // F 296
inline int FlagWriteUnstruc;                   // F 297, 2..4
inline int OpenFOAMsides;                      // F 298
inline double OpenFOAMinLevel;                 // F 298, m
inline double OpenFOAMoutLevel;                // F 298, m
inline int FlagUnstrucWedge;                   // F 299

// ---- F 300 .. F 399 --------------------------------------------------------------------------

inline int FlagWaterSolveNew;  // F 328: modular flow driver for letter W

inline double MaxCrashDef;              // F 301: residual above which a solution counts as diverged
inline int FlagFracVer0;                // F 303
inline int FlagBedVer;                  // F 304
inline int FlagNewWall;                 // F 305
inline int FlagUseBedres;               // F 306
inline int FlagMPI;                     // F 308: partitioned run
inline int FlagInterpolNew;             // F 309
inline int FlagFixBed;                  // F 310
inline int FlagShallowWater;            // F 311: two-dimensional layer for letter L
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
inline int PrintArrayFlags[51];         // F 329: outputs of letter M, entries 0..19 read
inline int NoCohesiveDepth;             // F 330: rows of the cohesion table, 1..99
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
inline int FlagUnstrucThixo;            // F 339
inline int FlagOutflow;                 // F 340, 1..9
inline int FlagShallowDamp;             // F 341, 0..9
inline int vectorIter;                  // F 342
inline int BlockCasulli;                // F 343: block treatment of the surface algorithm
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
inline int solverFroude;                // F 351
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
inline int BedStatI1;                   // F 358: column window of the bed statistics
inline int BedStatI2;                   // F 358
inline int BedStatJ1;                   // F 358
inline int BedStatJ2;                   // F 358
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
inline int FlagNoGridSplit;             // F 371: keeps wet cross-sections connected
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
inline int FlagCohesion;                // F 385: cohesive-sediment variant
inline double InitValueCohesion;        // F 385
inline int FlagBagger;                  // F 386: dredging and dumping from "bagger"
inline int MaxNoBagger;                 // F 386: largest number of operations
inline double MinDepthGrid;             // F 387, m
inline double relaxSimpleCorr;          // F 388
inline int iterWriteAllData;            // F 389: "alldata" every this many time steps
inline int FlagFixGrid;                 // F 390
inline int FlagGridStab8;               // F 391
inline int FlagSetZeroBedmove;          // F 392
inline int FlagSetLimBedOri;            // F 393
inline int FlagRemovePonds;             // F 394: removal of isolated ponds
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

inline int FlagHCB;                     // F 400
inline int FlagThixoGrid2;              // F 401
inline double ThixoMinSlideSize;        // F 402
inline int TFSminFlag;                  // F 403
inline double TFSminDepth;              // F 403, m
inline int FlagMorphStatistics;         // F 404: bed statistics (mean, deviation)
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
inline int FlagPlastics;                // F 417
inline double global_fac;               // F 418, 0..10
inline int FlagPresSurfDamp;            // F 419
inline double DepthBreakPath;           // F 420, m
inline double FillStop;                 // F 421
inline int FlagTestNB;                  // F 422
inline int FlagRiseNeighbours;          // F 423
inline int FlagTracer;                  // F 424
inline int FlagSmoothNewCorners;        // F 425
inline int FlagPresFilter;              // F 426
inline int FlagSurfLimit5;              // F 427
inline double reduceCornersSurf;        // F 428, 0..1, with F 36 7
inline int FlagRidgeMetric;             // F 429
inline int FlagLimitExpansion;          // F 430
inline int FlagAddAnbShallow;           // F 431
inline double ValAddAnbShallow;         // F 431
inline int FlagCallSurface;             // F 432: the steady solver leaves the surface update to its caller
inline int FlagFractionsPrint;          // F 433: bed fractions over the top layers
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
inline int UMethod2;                    // F 488: grid generation by the second generator
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
inline int FlagDuneShearPartCross;      // F 499
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
inline int FlagTriEdges;                // F 548: marks of triangular bed-cell edges
inline int FlagPresCrash;               // F 549
inline double deltaLevelPorosity;       // F 551, m

// ---- G data sets -----------------------------------------------------------------------------

inline int xnumber;  // G 1: grid lines in i, structured indexes 0..xnumber+1
inline int ynumber;  // G 1: grid lines in j
inline int znumber;  // G 1: grid levels in a column
inline int lnumber;  // G 1: grain sizes

// ---- K, P and W data sets --------------------------------------------------------------------

// ---- Q, H, I, L, M, N, S data sets -----------------------------------------------------------

inline int CompInflowNo;  // M data sets: groups with constant inflow concentrations
