// The bed result file: grid levels of every grid point and roughness,
// bed-form height and bed layers of every bed cell ("bedres.t" or a numbered
// series), read back as "bedres" before the result file of a restart.
#pragma once

#include <string>

// The name the bed result file is written under (series probe included).
std::string bedResultFileName();

// Writes the bed result file.
void print_bedres();

// Reads "bedres" when it exists: sets the structured levels and bed planes,
// regenerates the grid on them and fills the bed data of every bed cell.
// Without the file it logs so and leaves everything as it is.
void readBedres();
