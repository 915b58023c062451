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

// ---- F 100 .. F 199 --------------------------------------------------------------------------

inline int MGSNo;               // F 152: multigrid levels of the flow solution
inline int FlagFastWatersolve;  // F 170: fast flow driver for letter W

// ---- F 200 .. F 299 --------------------------------------------------------------------------

inline int FlagThixo;           // F 236: thixotropic or slide-layer mode
inline double ThixoEddyvisc;    // F 236
inline double ThixoCritshear;   // F 236
inline double ThixoMySlope;     // F 236
inline int FlagSoilStress;      // F 248: 1 soil stress, 2 slide location (letter N)
inline int FlagGroundwater;     // F 262: groundwater model
inline double Conductivity;     // F 262: hydraulic conductivity, m/s

// ---- F 300 .. F 399 --------------------------------------------------------------------------

inline int FlagWaterSolveNew;  // F 328: modular flow driver for letter W

// ---- F 400 .. F 551 --------------------------------------------------------------------------

// ---- G data sets -----------------------------------------------------------------------------

inline int xnumber;  // G 1: grid lines in i, structured indexes 0..xnumber+1
inline int ynumber;  // G 1: grid lines in j
inline int znumber;  // G 1: grid levels in a column
inline int lnumber;  // G 1: grain sizes

// ---- K, P and W data sets --------------------------------------------------------------------

// ---- Q, H, I, L, M, N, S data sets -----------------------------------------------------------

inline int CompInflowNo;  // M data sets: groups with constant inflow concentrations
