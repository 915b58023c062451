// Process entry and the run letters of F 2: each letter calls one top-level
// operation of a subsystem; nothing is reset between letters or passes, so a
// later letter works on what an earlier one left (Y builds the grid W uses).
#include "startup/entry.h"

#include <cstdio>
#include <cstdlib>

#include "grid/grid_services.h"
#include "model/allocation.h"
#include "model/cells.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/status.h"
#include "base/exit_codes.h"
#include "base/input_file.h"
#include "base/log.h"
#include "startup/operations.h"

namespace {

// In a transient run "timei" is read again before C, G, S and W; true when
// the letters must stop because the reader reported an error.
bool timeiFailed() {
  return TimeStep > 1e-8 && operations.ReadTimes() > 0;
}

// The file the grid came from, named when it holds no cells.
const char *gridSource = nullptr;

// A grid without cells ends the run before any flow driver or the result
// output: the drivers would report "Solution converged" on nothing and write
// empty result files, and the output walks the cells and points of a grid.
void requireCells(char letter) {
  if (NoCells > 0) return;
  if (gridSource) fatalPrintf(kExitControlMissing, nullptr, "Error: the grid from the %s file has no cells\n", gridSource);
  fatalPrintf(kExitControlMissing, nullptr,
              "Error: letter %c needs a grid: read the koosurf file (letter Y) or the unstruc file (letter U) first\n",
              letter);
}

// Letters P, N and G work on the columns: the cell geometry must be current and
// the bed cells numbered, which after letter Y alone they are not yet.
void prepareColumns(char letter) {
  requireCells(letter);
  operations.metric();
  if (NoBCells == 0) operations.BedMake();
}

// A grid letter has built or read the grid: it must hold cells.
void gridFrom(const char *source, char letter) {
  gridSource = source;
  requireCells(letter);
}

// Letter U: the grid file; a failed read stops the letters and leaves gFlagRead 1.
bool readGridFile() {
  gFlagRead = 1;
  int result = operations.ReadUnstructure();
  FlagInitialFinished = 1;
  if (result >= 0) {
    gFlagRead = 0;
    gridFrom("unstruc", 'U');
    return true;
  }
  const char *text = "Error reading unstruc file\n\n";
  const char *message = " Error reading unstruc file  ";
  if (result == -58) {
    text = "Error in x or y values in koomin file\n\n";
    message = " Error in x or y values in koomin file       ";
  } else if (result == -54) {
    text = "Error on 2nd integer, G 1 data set \n\n";
    message = " Error on 2nd integer, G 1 data set ";
  } else if (result == -55) {
    text = "Error on 1st integer, G 1 data set \n\n";
    message = " Error on 1st integer, G 1 data set ";
  }
  logText(text);
  setStatus(mc_message, message);
  return false;
}

// Letter W: the work ranges and the flow driver chosen by F 328, F 170, F 68
// and F 152. A diverged flow is no error here: the driver has reported it.
bool computeWaterFlow() {
  if (timeiFailed()) return false;
  if (FlagTSC > 0) {
    fatalExit(kExitInconsistent,
              "Error in control file. The F 37 data set should not be used\n"
              "when computing only water flow (F 2 W)\n\n");
  }
  gFlagFlow = 1;
  if (FlagTSC < 0) {
    fatalExit(kExitRemoveF37, "Error in control file: Remove the F 37 data set when computing the water flow only\n");
  }
  requireCells('W');
  if (MGSNo == 0) operations.computeWCStart();
  FlagWhatsRunning = 1;
  if (FlagThixo > 0) FlagThixoIsComputing = 1;
  if (FlagWaterSolveNew == 1) {
    operations.WaterSolveNew();
  } else if (FlagFastWatersolve > 0) {
    operations.WaterSolveFast();
  } else if (Hydrostatic != 0) {
    if (MGSNo > 0) {
      operations.MGSsolver();
    } else if (Hydrostatic == 1) {
      operations.WaterSolveHydrostatic();
    } else if (Hydrostatic == 3) {
      operations.WaterSolve2D();
    }
  } else if (MGSNo == 0) {
    operations.WaterSolve();
  } else if (MGSNo > 0) {
    operations.MGSsolver();
  }
  gFlagFlow = 0;
  FlagWhatsRunning = 0;
  return true;
}

// A character of the run letters that is no run letter (a lower-case "w"
// typed for "W") is skipped; the user is told once per character, since the
// run then quietly does less than asked.
void warnSkippedLetters() {
  bool told[256] = {};
  for (int p = 0; p < 10; ++p) {
    const unsigned char c = static_cast<unsigned char>(run[p]);
    if (c <= ' ' || c > '~' || (c >= 'A' && c <= 'Z') || told[c]) continue;
    told[c] = true;
    logPrintf("Warning: F 2 letter '%c' is not a run letter and is skipped\n", c);
  }
}

// Letter I: bed concentrations; a sediment run keeps them as the old-time values.
void computeBedConcentrations() {
  operations.concRijn();
  if (FlagTSC > 0 && Cconc_old && lnumber > 0) {
    for (int s = 1; s <= lnumber; ++s) {
      for (int c = 1; c <= NoCells; ++c) Cconc_old[s][c] = Cconc[s][c];
    }
  }
}

}  // namespace

bool RunLetter(char letter, std::int64_t pass) {
  switch (letter) {
    case 'A': operations.writeMPIkoosurf(); break;
    case 'B': operations.ReadAllData(); break;
    case 'C':
      if (timeiFailed()) return false;
      requireCells('C');
      gFlagComp = 1;
      operations.Components();
      gFlagComp = 0;
      break;
    case 'D': operations.computeSlidemovement(); break;
    case 'E':
      gFlagWriteR = 1;
      if (NoComponents != 0) operations.writeConqRes();
      gFlagWriteR = 0;
      break;
    case 'F':
      gFlagWriteR = 1;
      operations.writeConcRes();
      gFlagWriteR = 0;
      break;
    case 'G':
      if (timeiFailed()) return false;
      if (FlagGroundwater == 1) {
        prepareColumns('G');
        operations.groundwater();
      }
      break;
    case 'H':
      gFlagWriteR = 1;
      operations.WriteUnstructure();
      gFlagWriteR = 0;
      break;
    case 'I': computeBedConcentrations(); break;
    case 'J': operations.WriteAllData(); break;
    case 'K': operations.computeRoughness(); break;
    case 'L':
      requireCells('L');
      operations.shallowWater();
      break;
    case 'M':
      requireCells('M');
      setStatus(mc_v1, "Written from initial");
      gFlagWriteR = 1;
      operations.sprintflow();
      gFlagWriteR = 0;
      break;
    case 'N':
      if (FlagSoilStress == 1) {
        prepareColumns('N');
        operations.startup();
        operations.computeSoilStress();
      } else if (FlagSoilStress == 2) {
        prepareColumns('N');
        operations.startup();
        operations.computeSlideLocation();
      }
      break;
    case 'O':
      gFlagRead = 1;
      operations.readConRes();
      gFlagRead = 0;
      break;
    case 'P':
      prepareColumns('P');
      operations.computeVegdataFromSTL();
      break;
    case 'Q':
      // The march steps by the cells' lengths: the geometry must be current.
      operations.metric();
      operations.backwater();
      break;
    case 'R':
      gFlagRead = 1;
      operations.readres();
      gFlagRead = 0;
      break;
    case 'S':
      if (timeiFailed()) return false;
      requireCells('S');
      gFlagSedim = 1;
      FlagWhatsRunning = 2;
      operations.morphology_tsc();
      gFlagSedim = 0;
      FlagWhatsRunning = 0;
      break;
    case 'T': break;
    case 'U':
      if (pass == 1 && !readGridFile()) return false;
      break;
    case 'V': operations.bedinter(); break;
    case 'W': return computeWaterFlow();
    case 'X': fatalExit(kExitLetterX, nullptr);
    case 'Y':
      operations.readKoosurf();
      endOnGridFailure(operations.Unstructure());
      gridFrom("koosurf", 'Y');
      FlagInitialFinished = 1;
      break;
    case 'Z': operations.makeWeirSTL(); break;
    default: break;
  }
  return true;
}

bool InitialFunction() {
  FlagInitialFinished = 0;
  operations.kread();
  gFlagInit = 1;
  if (operations.AllocateArrays(1, 1, 1) < -0.01) {
    logText("Error in allocation of arrays. The array size is probably\n"
            "larger than what is available of memory on your computer\n\n");
    setStatus(mc_message, " Error in array allocation       ");
    return false;
  }
  FlagMPIkoosurf = 0;
  bool anyLetter = false;
  for (int p = 0; p < 10; ++p) {
    if (run[p] == 'A') FlagMPIkoosurf = 1;
    if (run[p] >= 'A' && run[p] <= 'Z') anyLetter = true;
  }
  warnSkippedLetters();
  // The pass counter is wider than F 20, so that the largest pass count
  // F 20 accepts still ends the loop.
  // Without a letter no pass can change anything, F 20 included.
  for (std::int64_t pass = 1; anyLetter && pass <= IterF2; ++pass) {
    for (int p = 0; p < 10; ++p) {
      char letter = run[p];
      if (letter < 'A' || letter > 'Z') continue;
      if (!RunLetter(letter, pass)) return false;
    }
  }
  setStatus(mc_message, " Initial run finished       ");
  FlagInitialFinished = 1;
  if (FlagTSC > 0 && FlagDischargeTime > 0 && CompInflowNo > 0) {
    fatalExit(kExitSedimentInflow,
              "Error: Sediment inflow can not be specified in both the timei file and\n"
              "on the M data sets in the control file\n\n");
  }
  return true;
}

int telvaMain() {
  gFlagRead = gFlagWriteR = gFlagFlow = gFlagSedim = gFlagInit = gFlagComp = 0;
  FlagGridChange = 0;
  SetArraysZero();
  InputState state;
  std::FILE *control = openInputFile("control", &state);
  if (!control && state == InputState::Missing) {
    // A missing "control" runs with every default and no run letters; a
    // folder or unreadable file by that name is left for the reader to refuse.
    control = std::fopen("control", "w");
    if (control) std::fputs("no values given\n", control);
  }
  if (control) std::fclose(control);
  const bool finished = InitialFunction();
  // The letters stopped after an error line (a failed allocation, grid-file
  // read or "timei" read): refused input, not a normal end.
  if (!finished) endRun(kExitInputError, "the run letters stopped");
  // A flow driver stopped on divergence or a continuity error: the crash
  // output is written and the letters after it have run; the status tells.
  // A stop asked for debug information (F 183 99) is no failure.
  if (FlagErrorBreak == 1 && FlagPresDebug != 99) endRun(kExitDiverged, "Solution diverged");
  std::fflush(nullptr);
  return kExitNormal;
}
