// Bed-form (dune) height and bed roughness of the bed cells, updated by the
// near-bed concentration after all sizes of a bed cell, and the smoothing of
// the roughness along grid lines after all bed cells.
#pragma once

// The equilibrium bed-form height of formula 0..3 (F 476): meanStage the
// mean transport stage over the sizes, h the depth, dm the mean diameter,
// depthFactor the depth-averaged over the bottom speed, tau the bed shear,
// thickness the two top layers together (formula 0 keeps half of it at most).
double bedFormHeight(int formula, double meanStage, double h, double dm, double depthFactor, double tau,
                     double thickness);

// The bed roughness of rule F 103 and roughness variant F 90, or stored when
// the combination sets none: grain roughness coeffRoughRijn d90, or with bed
// forms of height form over depth h the bed-form roughness; a bed thinner
// than d90 gets the limit of its rule.
double bedRoughness(int rule, int variant, double thickness, double d90, double form, double h, double stored);

// What the bed forms of one bed cell are computed from.
struct BedFormCell {
  int b, c0, layer;     // bed cell, bottom cell, surface layer
  double h, dm, d90;    // depth and grain diameters, m
  double stageSum;      // transport stages summed over the sizes
  double depthFactor;   // depth-averaged speed over the bottom cell's speed
  double tau;           // bed shear, Pa
  double speed;         // speed of the bottom cell, m/s
};

// Updates Bedformheight and Broughness of the bed cell.
void updateBedForms(const BedFormCell &cell);

// Smooths Broughness along the line blocks (and, with F 460 2, over the
// plane blocks) of the work; acts only with F 90 above 1.
void smoothBedRoughness();
