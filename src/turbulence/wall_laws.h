// Wall laws: friction of U, V, W, production and dissipation of k and the
// fixed wall value of epsilon at the cells of first..last with a wall face.
#pragma once

void wall_laws(int first, int last);
