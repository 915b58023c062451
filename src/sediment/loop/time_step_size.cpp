// Time-step size of the sediment loop; writes TimeStep.
#include "sediment/loop/time_step_size.h"

#include <algorithm>
#include <cmath>

#include "model/blocks_groups.h"
#include "model/run_state.h"
#include "model/series.h"
#include "model/settings.h"

void computeTimestep() {
  const double q = DischargeArray[1];
  if (q <= 1e-20) return;
  TimeStep = std::max(minTimeStep, maxTimeStep * std::pow(1000.0 * QRefTimeStep / q, powTimeStep));
}

void stepTimeStepSize() {
  if (FlagJTime == 1 && TimeInNo >= 1 && TimeInTime && TimeInTimStep) {
    int k = 0;
    if (stimet > TimeInTime[0]) {
      k = TimeInNo;
      for (int n = 1; n <= TimeInNo - 1; ++n) {
        if (TimeInTime[n] >= stimet) {
          k = n;
          break;
        }
      }
    }
    TimeStep = TimeInTimStep[std::min(k, TimeInNo - 1)];
  }
  if (varTimeInterval > 0) {
    if (Iter > varTimeInterval) {
      TimeStep = varTimeEnd;
    } else if (Iter == 1) {
      TimeStep = varTimeStart;
    } else {
      const double growth = std::pow(varTimeEnd / varTimeStart, static_cast<double>(Iter - 1) / varTimeInterval);
      TimeStep = std::min(varTimeEnd, varTimeStart * growth);
    }
  }
}
