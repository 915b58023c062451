// "control.new": the current settings written back for the user.
#pragma once

// Writes the current settings, with the fixed grid points as W 6 data sets,
// to "control.new"; never to "control".
void writeControl();
