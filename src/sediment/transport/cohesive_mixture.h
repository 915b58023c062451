// The near-bed concentration of a bed that mixes sand with clay (F 84 7):
// an erosion rate for cohesive beds blended with van Rijn's sand value by
// the clay share of the surface layer.
#pragma once

struct MixtureInput {
  int profileSwitch;   // F 60: 1 takes the reference level from the roughness
  double tau;          // bed shear, Pa
  double tauC;         // critical shear of the median grain, Pa
  double d;            // diameter of the size, m
  double coeff, powerT, powerD;  // van Rijn's coefficient and powers (F 6)
  double zc;           // bottom cell's centre height, m
  double h;            // depth, m
  double dfac;         // dimensionless grain size per metre of diameter
  double ks;           // bottom cell's roughness, m
  double ws;           // fall velocity, m/s
  double d50;          // median diameter of the surface layer, m
  double solid;        // solid fraction of the surface layer
  const double *f;     // fractions of the surface layer, [1..sizes]
  int sizes;
};

// The volume concentration of the size; a negative value is noted in the
// file "test" and becomes 0.
double computeConcentrationKalvet(const MixtureInput &in);
