// The grain-size composition of the bed layers under the timed points of
// "interpol", appended to "interres30" (and "interres40") as time passes.
#pragma once

// Writes the layers under every T point whose time has passed, once each.
void print_fractions();
