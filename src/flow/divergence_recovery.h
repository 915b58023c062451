// What the stop test does when a solution runs away: the remedies that damp
// a growing residual (F 219) and the crash report of a diverged run.
#pragma once

// Remedy number n of this driver call: switches the Rhie-Chow variant and
// strengthens the under-relaxation before the next iteration.
void flushFunction(int n);

// The crash report after a divergence.
void printAtCrash();
