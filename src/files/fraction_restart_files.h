// Restart files of the bed fractions ("fracres.new" and its series).
#pragma once

// Writes the grain fractions and thicknesses of the bed layers; the argument is not used.
void print_fracres(int unused);
