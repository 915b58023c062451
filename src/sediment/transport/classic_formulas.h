// The classic transport formulas of F 10 (letters A, E, I, M, S, Y): per bed
// cell and grain size a transport rate for the water column, turned into the
// near-bed concentration Bconc that carries it through the Rouse profile.
#pragma once

// What the formulas read of one water column and one grain size.
struct FormulaColumn {
  double h;           // depth, m
  double U;           // depth-averaged speed, m/s
  double ustar;       // shear velocity of the full bed shear, m/s
  double slope;       // energy slope
  double tauG;        // bed shear the formulas move the grains with, Pa
  double integral;    // depth integral of profile times speed, m2/s
  double bottomFlow;  // bottom cell's height times its speed, m2/s
};
struct FormulaGrain {
  double d;     // diameter, m
  double w;     // fall velocity, m/s
  double s;     // relative density
  double tauC;  // critical shear, Pa
};

// The critical shear of diameter d: a constant Shields factor when F 11
// gives one above 0, else the curve of the grain Reynolds number.
double classicCriticalShear(double d, double ustar, double s);

// d90 of a surface layer with fractions f[1..sizes] (coarsest first) by
// the cumulative share at the class centres; the coarsest diameter when
// the layer never passes 90 %.
double classicD90(const double *f, int sizes);

// Transport rates per width, m2/s.
double engelundHansenLoad(const FormulaColumn &col, const FormulaGrain &g);
double meyerPeterMuellerLoad(const FormulaColumn &col, const FormulaGrain &g);
double einsteinBrownLoad(const FormulaColumn &col, const FormulaGrain &g);
// Total-load concentrations by weight, ppm.
double ackersWhitePpm(const FormulaColumn &col, const FormulaGrain &g);
double yangPpm(const FormulaColumn &col, const FormulaGrain &g);
double shenHungPpm(const FormulaColumn &col, const FormulaGrain &g);

// Bconc of the letter for the column and grain; size and bed cell name the
// value in the Engelund-Hansen report.
double classicConcentration(char letter, const FormulaColumn &col, const FormulaGrain &g, int size, int b);

// The bed-form height from the mean transport stage, depth h, mean diameter
// dm, at most half the two top layers' thickness and 3 h.
double classicBedFormHeight(double meanStage, double h, double dm, double thickness);

// The bed roughness of F 90 2..6 and F 103 0 or 1; stored otherwise.
double classicBedRoughness(double thickness, double d90, double form, double h, double stored);

// Fills Bconc, Bd90, Bedformheight and (for some F 90) Broughness of the
// bed cells WBStart..WBEnd by the formula of F 10.
void concEngelund();

// Σ ((h − y)/y · a/(h − a))^rouse · 2 Ckdist · |u| over the column from
// bottom cell c0 up, y the cell centre's height and a = Ckdist[c0].
double rouseIntegral(int c0, double h, double rouse);
