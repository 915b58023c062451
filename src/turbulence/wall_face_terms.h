// One wall term for one cell and one wall face or pair of faces, for the
// face-by-face wall laws: u+ by the family of F 15, and the momentum, k and
// epsilon terms added to Cap and Csource of the cell.
#pragma once

// u+ at y+ `yplus` and the ratio `yks` of the wall distance to the roughness.
double wall_laws_uplus(double yplus, double yks);

// The friction coefficient Fw of the wall face faces[cell] at the distance
// dist[cell] and its source Fw (n.U) n_eq for the current Equation.
struct WallFriction {
  double fw, source;
};
WallFriction wall_face_friction(int cell, const int *faces, const double *dist);

// Friction of the wall face faces[cell] at the distance dist[cell] on the
// velocity of the current Equation.
void wall_laws_surface_u(int cell, const int *faces, const double *dist);

// Wall production and dissipation of k for one pair at the distance dist[cell].
void wall_laws_surface_k(int cell, const double *dist);

// Fixed wall value of epsilon (omega for model 16) of one pair.
void wall_laws_surface_eps(int cell, const double *dist);
