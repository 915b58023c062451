// The modular entries of the steady free surface: surface2 runs the level
// algorithm of F 36 and the tail; surface3 is a simple pressure-driven
// correction of block 1 (F 323 2).
#pragma once

void surface2();
void surface3();

// Algorithm 10 with the lowered reference level, and the tail.
void levelAlgorithm10();
