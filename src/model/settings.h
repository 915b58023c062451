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

// ---- F 100 .. F 199 --------------------------------------------------------------------------

inline int MGSNo;               // F 152: multigrid levels of the flow solution
inline int FlagFastWatersolve;  // F 170: fast flow driver for letter W
inline int NoBedLayers;  // F 134: number of bed layers

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

// ---- F 300 .. F 399 --------------------------------------------------------------------------

inline int FlagWaterSolveNew;  // F 328: modular flow driver for letter W
inline int FlagMPI;       // F 308: partition number of a partitioned run, 0 none
inline int FlagCohesion;  // F 385: cohesive-sediment model variant

// ---- F 400 .. F 551 --------------------------------------------------------------------------
inline int FlagMorphStatistics;  // F 404: bed statistics (mean, deviation)

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
inline constexpr int kEquationEntries = 30;  // equations 1..6 flow, 7 sediment, 8.. components
inline double relax[kEquationEntries];  // K 3: under-relaxation per equation 1..6
inline int sweeps[kEquationEntries];    // K 4: solver sweeps per equation 1..6
inline int blockcorr[kEquationEntries]; // K 5: block-correction passes per equation 1..6
inline int sou[kEquationEntries];       // K 6: discretisation scheme per equation
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
inline constexpr int kMaxGrainSizes = 50;   // lnumber is at most 50
inline double gsize[kMaxGrainSizes + 2];     // S: diameter per grain size 1..lnumber+1, m
inline double fallvelo[kMaxGrainSizes + 2];  // S: fall velocity per grain size 1..lnumber+1, m/s
inline double inflow[kMaxGrainSizes + 1];    // I: inflow concentration per size 0..lnumber, not used
inline int FlagReadNdata;  // N data sets read; -1 after the pass when "fracres" stands in for them
