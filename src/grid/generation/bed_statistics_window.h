// The bed statistics of the F 358 window, sampled at every grid regeneration
// inside its time window.
#pragma once

// Adds one sample of every grid point of the window: water depth, bed level,
// distance of the bed from its start level, and the column's ratio of
// vertical to horizontal speed. The first sample clears the sums; BedStatNo
// counts the samples.
void sampleBedStatistics();
