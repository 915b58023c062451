// Vegetation drag, porous structures and solid blockage in the flow.
#pragma once

// Time set j (1 .. VegTimes-1) and the weight w of set j against set j-1 at
// the time (or scour depth) t. Before the first set's time the first set
// holds (w = 0 on set 1); after the last time the last set holds.
void vegetationTimeWeight(double t, int &set, double &weight);

// Cporosity of every cell from the column profiles, after the sink-scour
// search and the pressure-gradient removal.
void computePorosity();
