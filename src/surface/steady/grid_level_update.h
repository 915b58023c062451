// The solved column values turned into water levels at the grid points of
// the structured grid, and the lift of the levels where the flow leaves the
// wet area.
#pragma once

// What the level solver left in Cf at the bottom cells: the change of the
// column's level (every algorithm but the Casulli method) or the new level.
enum class ColumnValue { Change, Level };

// Every point of the updated blocks moves by the relaxed mean of its
// columns' changes (or goes to the mean of their levels), both level slots
// and Surfaces plane 4 with it; F 381 clamps block 1 after.
void surfaceUpdate(ColumnValue value);

// As surfaceUpdate for changes, each column weighted by how much its
// bottom-cell flow points at the grid point.
void surfaceUpdateDownwind();

// Raises the points where the flow leaves a wet column towards a dry one
// (F 229 1: to the friction level of the top cell; 2: to the minimum depth).
void surfacePreventDiv();
