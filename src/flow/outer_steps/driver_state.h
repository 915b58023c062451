// State that the main flow driver shares with the stages of its inner
// iteration: the pressure-correction buffer, the inner-iteration number and
// the largest residual of the previous inner iteration.
#pragma once

#include "model/cells.h"

// The arrays Cf and Cf_old point at when the driver is entered. The momentum
// and turbulence stages re-point Cf at the velocity, k and epsilon fields; the
// pressure-correction stage points Cf back at CfSaved and keeps p' there.
// The driver sets both on entry (CfSaved = Cf; CfOldSaved = Cf_old). When it
// has not, the first stage of an inner iteration takes them from Cf and
// Cf_old, which the driver has restored at the end of the previous one.
inline double *CfSaved;
inline double *CfOldSaved;

// The inner iteration in progress (1, 2, ...), which the driver sets at the
// head of every inner iteration. The momentum, pressure and turbulence
// stages record their argument here too; the pressure-equation variant and
// the component stage, which take none, read it.
inline int StageInner = 1;

// The largest normalised residual of the previous inner iteration (10000
// before the first), taken by the momentum stage from MaxResidual[1..6] as
// the driver left them; the surface calls inside the pressure stage test it.
inline double LastLargestResidual = 10000.0;

// Takes the driver's buffers from Cf and Cf_old unless the driver gave them.
inline void keepDriverBuffers() {
  if (CfSaved == nullptr) {
    CfSaved = Cf;
    CfOldSaved = Cf_old;
  }
}
