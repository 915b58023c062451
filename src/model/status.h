// Status texts and activity flags that tell an outside observer what the engine
// is doing; the engine itself writes them but hardly reads them.
#pragma once

inline constexpr int kStatusTextLength = 200;

inline char mc_message[kStatusTextLength];  // current activity or last outcome
inline char mc_program[kStatusTextLength];  // running stage
inline char mc_v1[kStatusTextLength];       // what triggered the last result file
inline char mc_v2[kStatusTextLength];       // kept for an outside observer
inline char mc_v3[kStatusTextLength];       // kept for an outside observer

inline int gFlagInit;    // 1 after "control" has been read
inline int gFlagRead;    // 1 while a file is read by a run letter
inline int gFlagWriteR;  // 1 while a result file is written
inline int gFlagFlow;    // 1 while the water flow runs
inline int gFlagSedim;   // 1 while the sediment loop runs
inline int gFlagComp;    // 1 while the water-quality components run

inline int FlagWhatsRunning;      // 0 idle, 1 water flow, 2 sediment loop
inline int FlagInitialFinished;   // 1 once a grid exists and after the last pass
inline int FlagMPIkoosurf;        // 1 when the run string holds an "A"
inline int FlagThixoIsComputing;  // 1 while a slide flow is computed
inline int FlagGridChange;        // grid-changed flag of the flow drivers

// Copies text into a status buffer, cut to its length and NUL-ended.
void setStatus(char *buffer, const char *text);
