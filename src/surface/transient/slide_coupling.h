// What the transient free surface does beyond the water surface: the slide
// movement of a layer block, the water block following its layer, the
// groundwater level, and the mode that turns a level change into a source.
#pragma once

// After the corner increments inc[0..3] of column (i, j) of block b: slide
// movement, partner corners (F 347) and groundwater rules (F 333).
void slideColumnCoupling(int b, int i, int j, const double (&inc)[4]);

// After the loop, for a layer block b: groundwater level against the layer
// and the water above it, and the layer top as the water block's bed.
void layerCoupling(int b);

// Source mode: the level change of block b's corners goes to Surfaces plane
// 4, the levels go back, and the change becomes a mass source by F 36.
void levelChangeAsSource(int b);
