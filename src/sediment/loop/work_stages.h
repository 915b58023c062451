// The work ranges of the sediment loop: the blocks of one work-block stage
// of the flow ("G 25") and the part of the grid the sediment equations treat
// ("F 188"). Both set WCStart..WCEnd, WFStart..WFEnd, WBStart..WBEnd and the
// blocks' WorkFlag.
#pragma once

// The largest stage number of the work blocks, at least 1.
int workStageCount();

// The ranges of stage s: from the first block of the stage to its last, in
// block order. Without work blocks the whole grid, or the grid without a
// slide or groundwater layer appended last. A stage without blocks gets
// empty ranges (start 1, end 0).
void computeWorkBlocks(int stage);

// True when the current cell range is empty.
bool emptyWorkRange();

// The ranges of the sediment part of a step by F 188: 0 the whole grid, -1
// the nested blocks, b block b alone.
void sedimentWorkRanges();
