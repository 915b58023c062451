// Eddy viscosity of the turbulence models: Cgamma (side faces) and CgammaV
// (bottom and top faces), 1000 x m2/s, for the current Equation.
#pragma once

void GammaCalc(int first, int last);

// GammaCalc on the cell chunks of F 206 when every step of the current model
// and options is the cell's own (the wind, realizable, column, Richardson,
// mud, corner-column and bed-form steps reach other cells and keep the whole
// range on this thread); the values are those of one call over the range.
void GammaCalcOnChunks(int first, int last);

// The wind drag function f(W) of F 73 at wind speed w (m/s): the surface
// shear is 0.0012 f(W) N/m2. 0 W^2, above 5.6 m/s raised by 1.9 (1 - 5.6/W)^2;
// 1 1.1 W^2; 2 1.25 W^1.5 below 1 m/s, 0.5 W^2.5 below 15 m/s, 2.6 W^2 above;
// any other value the speed itself.
double windDrag(double w);

// The wind speed and its x and y factors at the current time: F 52, or the
// "timei" series interpolated at stimet (a single row holds its values).
void windNow(double &speed, double &fx, double &fy);
