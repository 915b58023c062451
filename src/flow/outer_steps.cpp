// Steps that the flow drivers share: the grid changes taken at the head of
// an inner iteration, the old-time fields of a time step and the
// surface-pressure regression samples.
#include "flow/outer_steps.h"

#include <algorithm>

#include "model/allocation.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/status.h"
#include "model/structured.h"
#include "model/work_ranges.h"
#include "startup/operations.h"

// The old-time fields take the current ones, once per time step.
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

// The least-squares sums of the surface pressure of every column over the
// outer iterations, read by the surface update.
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


void takeGridChanges() {
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
