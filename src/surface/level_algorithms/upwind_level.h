// Algorithm 10 of the steady free surface: the water level carried upstream
// from the reference column along the flow.
#pragma once

// ref is a cell of the reference column, zref its level; moves both level
// slots of the points of the updated blocks.
void surfaceAlgo10(int ref, double zref);
