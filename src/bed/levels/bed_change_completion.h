// The completion of a bed change: smoothing, the nested points, the open
// boundaries and the sand slide on the moved bed points, then, every F 99
// steps, the grid regenerated on the new bed with the suspended mass that
// the move of the fields creates or loses booked.
#pragma once

// The bed-level routine whose step is finished; they differ in the smoothing,
// the nested points, the slope stability, the stamps and the set-up checks.
enum class BedLevelRoutine {
  Columns,     // bedchange: column changes spread to the corners
  ColumnOrder, // bedchange2: columns placed in ranked passes
  PointMeans,  // bedchange3: each point takes its columns' mean change
  LayerLines,  // bedchange4: border lines by the columns, inner points by the layers
  Layers,      // bedchange5: every point from the layers
};

// Finishes the step of bedchange.
void completeBedChange();

// Finishes the step of a point-based routine; countMovement false keeps plane
// 1 of Surfaces out of the copy to nested points (bedchange4 in step 1).
void completeBedChange(BedLevelRoutine routine, bool countMovement = true);

// The sand slide of F 56 and F 198 where it is due after a bed change.
void sandSlideIfDue();

// The sand slide, then the column-wise smoothing of F 451, both on the layers.
void slideAfterBedChange();

// The suspended sediment of the work cells, sum of Cvol·Cconc over the sizes.
double suspendedVolume();
