// Process exit codes of the engine; the shell sees each as code & 255.
#pragma once

inline constexpr int kExitNormal = 1;           // normal end and control-file input errors
inline constexpr int kExitLetterX = 0;          // run letter X
inline constexpr int kExitInputError = 1;       // a value in "control" refused
inline constexpr int kExitUnreadable = -1;      // unreadable data, second allocation, grid errors
inline constexpr int kExitTableFull = -2;       // a fixed table is full
inline constexpr int kExitCannotOpen = -3;      // a file cannot be opened, memory short in kread
inline constexpr int kExitControlMissing = -4;  // "control" missing, sizes, bad "koosurf"
inline constexpr int kExitInconsistent = -5;    // inconsistent input, conflicting data sets
inline constexpr int kExitSedimentInflow = -6;  // sediment inflow in "timei" and on M data sets
inline constexpr int kExitRemoveF37 = -7;       // F 37 below 0 in a flow-only run
inline constexpr int kExitNoTimeStep = -7;     // a sediment run without a time step (F 33)
inline constexpr int kExitNoGrainSizes = -8;   // a sediment run without a bed grain-size distribution
inline constexpr int kExitNoSedimentModel = -9;  // a sediment run without F 37
inline constexpr int kExitBlockAlloc = -44;     // block allocation, negative bed layer
inline constexpr int kExitGridSplit = -77;      // a cross-section without cells (F 1 D)
inline constexpr int kExitSurfaceUpdate = -99;  // P 17, P 18, surface-update and layer errors
inline constexpr int kExitConcentrationNaN = -99;  // a suspended volume that is not a number
inline constexpr int kExitCompanionMissing = -1;  // a companion data set missing, or two that exclude each other
inline constexpr int kExitGrainFractions = -4;    // grain fractions of the N data sets do not sum to 1
inline constexpr int kExitControlNew = -4;        // "control.new" (or "control") cannot be written
inline constexpr int kExitSideFileData = -8;      // bad data in "inspace" or "inflow"
inline constexpr int kExitModelCombination = -8;  // a turbulence model the flow driver cannot serve (F 24, F 328)
inline constexpr int kExitExtrapolation = -8;     // a layer height that is not a number in the field transfer
inline constexpr int kExitInspaceNeedsF294 = -9;  // T or C in "inspace" without F 294
inline constexpr int kExitInspaceLevels = -10;    // more T data sets in "inspace" than F 294 reserves
inline constexpr int kExitInspaceTimes = -11;     // "inspace" times not increasing
inline constexpr int kExitInspaceWithF294 = -12;  // B in "inspace" together with F 294
inline constexpr int kExitInflowValues = -3;      // an "inflow" record with fewer than five values
inline constexpr int kExitNestedRecord = -9999999;  // a bad placing record in "koosurf.nes"
inline constexpr int kExitLayerStack = -4;        // a bed-layer stack that cannot be kept consistent
inline constexpr int kExitNoGroundwaterBlock = -9;   // the groundwater model finds no layer block at its set-up
inline constexpr int kExitGroundwaterBlock = -8;     // the groundwater model finds no layer block at a later call
inline constexpr int kExitBedThickness = -8;      // restart bed layers that do not fill the sediment thickness (F 310 0)
inline constexpr int kExitSlideCentre = -4;       // a slide of the soil layer without a centre column
inline constexpr int kExitSlideLabel = -88;       // a slide label missing from the slide table
