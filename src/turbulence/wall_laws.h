// Wall laws: friction of U, V, W, production and dissipation of k and the
// fixed wall value of epsilon at the cells of first..last with a wall face.
#pragma once

// The von Karman constant of the wall laws, 0.4; set by every call.
inline double Xkappa = 0.4;

void wall_laws(int first, int last);
