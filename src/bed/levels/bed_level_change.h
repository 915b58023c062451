// The bed-level change of F 255 0: the level change Bedmove of every water
// column spread over its four corner points by area, limited by the
// non-erodible level and on request by the water depth, then the completion
// of the step.
#pragma once

// Moves the bed points of every bed block by the column changes, books what
// the limits hold back in BedMoveDefectSum and BedMoveDefectAbs, and runs the
// completion of the bed change.
void bedchange();
