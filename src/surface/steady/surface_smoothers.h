// Smoothing and limiting of the new water levels before the grid is
// regenerated (surface_smoother, declared with the free-surface operations,
// and the limiters of the transient free surface).
#pragma once

// Limiters of block b's levels: one variant of F 178 (1..7), then the slope
// limit of F 361. Sets BFroude[0] to 0 first.
void surface_smoother2(int b);
