// Damping of the flow in a thixotropic mud or slide layer, one routine per
// variant of F 289; the argument is the block of the layer.
#pragma once

void ThixoDamp(int block);
void ThixoDamp1(int block);
void ThixoDamp2(int block);
void ThixoDamp3(int block);

// The pressure force per unit width (N/m) of the water column of `cell` and
// the cells below it above the level `base`, m; 0 for no cell.
double computeAccHystatForce(int cell, double base);

// Mean level change of every slide group over one time step from the net
// inflow into its columns' top cells (kFlux); nothing without groups.
void computeThixoFluxes();
