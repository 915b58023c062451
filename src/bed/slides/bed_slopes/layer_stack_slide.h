// The sand slide of the multi-layer bed (F 37 3): neighbouring columns are
// compared by the top of their layer stacks, and a column that stands higher
// than the repose slope allows gives sediment, a whole top layer, or its
// pending bed change of the step to the lower one.
#pragma once

// One pass of variant 202 (column exchange in four directional passes), 203
// (top-layer shift along i), 204 (column exchange along i), 205 (exchange of
// the pending change along i) or 206 (shift of pending deposition along i)
// over every treated block.
void slideLayerStacks(int variant);
