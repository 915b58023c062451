// Wall laws: friction of U, V, W, production and dissipation of k and the
// fixed wall value of epsilon at the cells of first..last with a wall face,
// by the family of F 15 (model 3's k and epsilon law in every cell).
#pragma once

// The von Karman constant of the wall laws, 0.4; set by every call.
inline double Xkappa = 0.4;

void wall_laws(int first, int last);
