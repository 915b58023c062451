// Restart files of the suspended-sediment concentrations ("con2res.new",
// read as "con2res") and of the water-quality components ("compres").
#pragma once

// Writes the concentrations of every cell after setting Cconc[0] to the sum
// of the size fractions; 0, or 1 when the file cannot be created.
int writeConcRes();

// Writes the components of every cell; -1 without components, 1 when the
// file cannot be created, else 0.
int writeConqRes();

// Reads "compres", "con2res" and "fracres" where they apply (run letter O);
// 0, 2 without "fracres", 88 for a fraction line beyond the grid.
int readConRes();
