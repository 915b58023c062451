// The near-bed equilibrium concentration of every grain size on every bed
// cell of the work blocks (Bconc), with d90 (Bd90), the bed-form height and
// the bed roughness on the way.
#pragma once

// Fills Bconc, Bd90, Bedformheight and Broughness of the bed cells of the
// blocks in the current work (WorkFlag 1) by the formula of F 84.
void concRijn();

// Diameters of a bed surface with fractions f[1..sizes] (coarsest first).
struct GrainStatistics {
  double d90, d50, dm;
};

// d90 and d50 interpolated linearly in diameter between the class centres of
// the cumulative fractions, and the mean diameter.
GrainStatistics grainStatistics(const double *fractions, int sizes);

// Van Rijn's reference concentration at level a for diameter d and transport
// stage t, with the call's Dfac (the dimensionless grain size is d Dfac).
double vanRijnConcentration(double d, double t, double a, double dfac);

// The factor that carries a concentration at level a to the cell centre z
// in depth h by the Rouse profile of exponent z (limited to F 110).
double profileTransfer(double a, double centre, double h, double rouse);

// The exceedance probability of the critical shear tauC under the bed shear
// tau, for fluctuating bed shear (F 90 5).
double exceedanceFactor(double tauC, double tau);
