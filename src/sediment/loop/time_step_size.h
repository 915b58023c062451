// The size of a sediment time step: from the discharge of group 1 (F 350),
// from the "timei" series (its time-step column), and the geometric growth
// over the first steps (F 532).
#pragma once

// TimeStep = max(minTimeStep, maxTimeStep x (1000 QRefTimeStep / Q1)^powTimeStep)
// with Q1 the discharge of group 1 in kg/s; without a discharge in group 1
// the step keeps its size.
void computeTimestep();

// The time step of step Iter: the "timei" row at stimet when its time-step
// column is used (FlagJTime 1), then the growth of F 532.
void stepTimeStepSize();
