// The pressure-gradient force of the momentum equations (F 114 variants)
// added to Csource over cells first..last.
#pragma once

void pressure_source(int first, int last);

// The fast driver's pressure force over WCStart..WCEnd, subtracted from the
// source rows 0, 1, 2 (U, V, W) of Csourcem: the pressure increments across
// each cell in i, j and the vertical (central, one-sided at a missing
// neighbour, second order in i and j with F 69's Seiche5) times the mean
// area components of the opposite faces; W from the top face alone.
void presSourceFast();
