// Variants of the coefficient build: the multigrid form
// of the power law and the extra face diffusion of bed forms.
#pragma once

// Multigrid form of the power law over faces first..last (every entry it
// writes is written again by the coeff_make build that calls it).
void coeff_MGS(int first, int last);

// Extra diffusion of face f between cells c1 and c2 from bed forms (F 176);
// 0 where it does not apply.
double coeff_bedform(int face, int c1, int c2);
