// The optional files read with "control": the probe for "fracres", the cyclic
// inflow profile "cyclic", the inflow cross-section "inflow" and the inflow
// concentrations "inspace". Each is opened, read and closed here.
#pragma once

// Without N data sets, a "fracres" file (".mpi%d" in a partitioned run)
// stands in for them: FlagReadNdata becomes -1 when it exists.
void probeFracres();

// "cyclic", read while no profile is held and F 174 asks for it.
void readCyclicFile();

// "inflow": D records of velocities and turbulence per point and level.
void readInflowFile();

// "inspace": the A, B, T and C data sets of the inflow concentrations.
void readInspaceFile();
