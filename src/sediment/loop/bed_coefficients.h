// Per-step pieces of the sediment loop around its main stages: the discharges
// of the step, the outflow terms of the bed-cell balance, the suspended
// volume kept over a grid move, and the deposit depths near inlet and outlet.
#pragma once

// The discharge of every group for the step (DischargeArray, kg/s): the
// group's own discharge, or with a "timei" discharge series the value at
// stimet for the inflow groups and groups 1 and 2. clampWeight keeps the
// weight of the earlier row at most 1 (no extrapolation before the series).
void stepDischarges(bool clampWeight);

// Refreshes the discharges and adds the outflow terms of size l to Bap[l]
// (and for size 1 the outflow to Binout): outflow groups through their bottom
// cells, and nested faces that carry water out of the grid.
void MakeAp(int l);

// The suspended volume of every size before the grid moves (totalsusp).
void scaleConcGridMove1();

// Scales Cconc and Cconc_old of every size so that its suspended volume is
// the one before the grid moved, corrected by the mass defect with F 448.
void scaleConcGridMove2();

// Mean deposit depths near the upstream and downstream ends of block 1
// (depthDepositIn, depthDepositOut, m, at least 0).
void computeDepthDeposit();
