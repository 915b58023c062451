// The critical bed shear stress at which a grain size starts to move: a
// Shields parameter (constant or curve), hiding in a mixture, the bed-slope
// factor and cohesion.
#pragma once

// The critical Shields parameter of curve 0..3 (F 251) at the particle
// Reynolds number re.
double shieldsParameter(int curve, double re);

// The slope factor K of slope option 1..10 (F 182) for a bed face with
// slope angle alpha and flow cosine r to its downslope direction; beta is the
// angle of options 1 and 2, t the interpolated cotangent (1 - w) tu + w td,
// tu the upslope cotangent and m the lower limit of K.
double slopeFactor(int option, double r, double alpha, double beta, double t, double tu, double m);

// What one bed cell brings to the critical shear of each of its sizes.
struct CriticalShearCell {
  int b, c0, layer;      // bed cell, bottom cell, surface layer
  bool bank;             // a dry neighbouring column
  double tau;            // bed shear, Pa
  double d50;            // median diameter of the surface, m
};

// The critical shear of size k with the factors that the Engelund-Hansen
// formulas reuse.
struct CriticalShear {
  double tauC;   // Pa, with hiding, slope and cohesion
  double g;      // Shields factor, Pa per metre of diameter
  double k;      // slope factor
  double h;      // hiding factor
};

// The Shields factor for the whole call when F 11 gives a constant Shields
// parameter, else a negative value (the curve is taken per size).
double constantShieldsFactor();

// The critical shear of size k on the bed cell; constantG as returned by
// constantShieldsFactor.
CriticalShear criticalShear(const CriticalShearCell &cell, int k, double constantG);
