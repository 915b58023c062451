// Steps of the outer loop that the flow drivers share.
#include "flow/outer_steps/driver_steps.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "files/write_check.h"
#include "flow/stages/stage_steps.h"
#include "model/allocation.h"
#include "model/blocks_groups.h"
#include "model/control_tables.h"
#include "model/cells.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/status.h"
#include "model/structured.h"
#include "model/work_ranges.h"
#include "base/exit_codes.h"
#include "base/log.h"
#include "startup/operations.h"
#include "turbulence/thixotropic_damping.h"

double largestResidual() {
  double largest = 0.0;
  for (int e = 1; e <= 6; ++e) {
    if (MaxResidual[e] < 1e-90) MaxResidual[e] = 0.0;
    if (std::isnan(MaxResidual[e]) || MaxResidual[e] > largest) largest = MaxResidual[e];
    if (std::isnan(largest)) break;
  }
  return largest;
}

int reportSwitch(bool jRule) {
  const bool report = debugging == 'D' || debugging == 'E' || Iter <= 9 || Iter == iterGlobalMax ||
                      (Iter < 100 && isMultiple(Iter, 10)) || isMultiple(Iter, PrintIterBoogie) ||
                      (jRule && debugging == 'J' && isMultiple(Iter, 100));
  return report ? 0 : 1;
}

void shiftOldFields() {
  const int first = WCStart, last = WCEnd;
  if (FlagTimeOrder > 0 && Cxvel_old2) {
    std::copy(Cxvel_old + first, Cxvel_old + last + 1, Cxvel_old2 + first);
    std::copy(Cyvel_old + first, Cyvel_old + last + 1, Cyvel_old2 + first);
    std::copy(Czvel_old + first, Czvel_old + last + 1, Czvel_old2 + first);
  }
  if (Cxvel_old && first <= last) {
    std::copy(Cxvel + first, Cxvel + last + 1, Cxvel_old + first);
    std::copy(Cyvel + first, Cyvel + last + 1, Cyvel_old + first);
    std::copy(Czvel + first, Czvel + last + 1, Czvel_old + first);
    std::copy(Ckinen + first, Ckinen + last + 1, Ckinen_old + first);
    std::copy(Cepsilon + first, Cepsilon + last + 1, Cepsilon_old + first);
  }
  if (FlagTComp == 1 && Ccomp_old && first <= last) {
    for (int n = 0; n < NoComponents; ++n) std::copy(Ccomp[n] + first, Ccomp[n] + last + 1, Ccomp_old[n] + first);
  }
  stimet += TimeStep;
}

void pressureRegression() {
  ++RegIter;
  if (!PresRegresN) return;
  for (int b = 1; b <= NoBlocks; ++b) {
    if (block[b].GridLevel != 0) continue;
    for (int i = block[b].i1; i <= block[b].i2; ++i) {
      for (int j = block[b].j1; j <= block[b].j2; ++j) {
        int c = static_cast<int>(zval[i][j][0]);
        if (c < 1) continue;
        while (Ccellt[c] >= 1) c = Ccellt[c];
        const double p = Cpres[c];
        PresRegresN[i][j] += 1;
        PresRegresSumX[i][j] += RegIter;
        PresRegresSumXX[i][j] += RegIter * RegIter;
        PresRegresSumPres[i][j] += p;
        PresRegresSumXPres[i][j] += RegIter * p;
      }
    }
  }
}

void warnModularOnlyInputs() {
  static bool bridges = false, shallow = false;
  if (BridgeNo > 0 && !bridges) {
    bridges = true;
    logText("Warning: G 22 is only used by the modular flow driver (F 328 1)\n");
  }
  if (FlagShallowDamp > 0 && !shallow) {
    shallow = true;
    logText("Warning: F 341 is only used by the modular flow driver (F 328 1)\n");
  }
}

void applyGridAndParameterChanges() {
  if (FlagGridChange == 1) {
    Equation = 1;
    FlagGridChange = 0;
    operations.metric();
    operations.startup();
    operations.boundary();
    operations.waterflow(WFStart, WFEnd);
  }
  if (FlagFlowParamChange == 1) {
    FlagFlowParamChange = 0;
    sialloc();
  }
}

void thixotropicDamping(int inner, bool whileMudComputes) {
  if ((whileMudComputes && FlagThixoIsComputing != 1) || FlagThixo <= 1 || (inner == 1 && Iter != 1)) return;
  const int layer = NoBlocks >= 2 && block[2].LayerMark > 0 ? 2 : 1;
  switch (FlagThixoDamp) {
    case 0: ThixoDamp(layer); break;
    case 1: ThixoDamp1(layer); break;
    case 2: ThixoDamp2(layer); break;
    case 3: ThixoDamp3(layer); break;
    default: break;
  }
}

void checkFlowDriverEntry() {
  if (debugging == 'Q') {
    fatalExit(kExitInconsistent,
              "Error: The F 1 Q data set in the control file is only used when generating\n"
              "the grid. It is not used when running the program\n\n");
  }
  if (FlagMPI > 0) {
    logText("Error for F 308 data set in the control file. The data set should not be \n"
            "used when computing the water flow in a TELVA version that is not MPI enabled\n\n");
  }
}

void prepareFlowInMemory() {
  operations.metric();
  operations.startup();
  if (FlagInitialized == 0) {
    operations.boundary();
    operations.waterflow(WFStart, WFEnd);
  }
  FlagInitialized = 1;
}

void emptyTimeSeriesOutput() {
  std::FILE *f = std::fopen("timeo", "w");
  if (!f) endCannotOpen("timeo");
  std::fclose(f);
}
