// Point levelling of the sand slide in the two-layer bed (F 37 1 and 2) with
// several grain sizes: a too steep grid point falls, the active layers of the
// columns around it give up their material, and the columns around the lower
// point receive it with its grain composition.
#pragma once

// `sweeps` sweeps over the four edges of every wet column of the treated blocks.
void levelPointsWithFractions(int sweeps);

// Lowers grid point (iUp, jUp) by what the columns around it give and raises
// (iDown, jDown) by the same volume. b0, b1 are the columns on either side of
// the edge between the points, b2, b3 the other two around the upper point,
// b4, b5 the other two around the lower one; a bed cell of 0 or less is a
// missing column. dz is the lowering the slope asks for.
void m_updatebed(int b0, int b1, int b2, int b3, int b4, int b5, int iUp, int jUp, int iDown, int jDown, double dz);

// Takes thickness t (at most the active layer) off the top of bed cell b,
// adding its volume per size to AvalMove; the layer below refills the
// active layer as far as it can.
void m_shave(int b, double t);

// Lays thickness t of the material in AvalMove on bed cell b: the active
// layer fills up to its thickness, what it cannot hold goes to the layer below.
void m_rise(int b, double t);
