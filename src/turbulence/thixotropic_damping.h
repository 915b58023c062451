// Damping of the flow in a thixotropic mud or slide layer, one routine per
// variant of F 289; the argument is the block of the layer.
#pragma once

void ThixoDamp(int block);
void ThixoDamp1(int block);
void ThixoDamp2(int block);
void ThixoDamp3(int block);

// Slide regions of the block-slide mode (F 236 3), filled by the slide
// location: the region labels, a list ending at the first 0, the column count
// of each region and its mean level change over one time step, m.
inline constexpr int kMaxSlideRegions = 3000;
inline int BVal[kMaxSlideRegions];
inline int BNo[kMaxSlideRegions];
inline double kFlux[kMaxSlideRegions];

// Mean level change of every slide region from the fluxes of its columns'
// top cells (kFlux); nothing without regions.
void computeThixoFluxes();
