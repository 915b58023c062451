// The terms of the eddy viscosity that bed forms, bed smoothing and mud or
// slide layers add: steps of GammaCalc over its cell range.
#pragma once

// The fixed viscosity of a mud block (F 236) in Cgamma, before the vertical
// viscosity is formed.
bool mudOverrideActive();
void mudOverride(int first, int last);

// The bed-form factor of CgammaV (F 290), the dune eddy viscosity (F 281),
// the bed-smoothing viscosity (F 144), the viscosity of the mud blocks
// (F 236) and the bed-form roughness terms (F 189), in this order.
void bedFormTerms(int first, int last);

// Whether any of these terms acts for equation eq.
bool bedFormTermsAct(int eq);

// Whether a call over first..last writes cell c of a whole-block step: its
// own cells, and the cells outside the work range for the calls at its two
// ends, so that the chunks of one sweep never write the same cell.
inline bool blockCellOfCall(int c, int first, int last, int workStart, int workEnd) {
  return (c >= first && c <= last) || (c < first && first <= workStart) || (c > last && last >= workEnd);
}
