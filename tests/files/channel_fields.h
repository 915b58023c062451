// The channel case (10 × 4 columns of nine cells) generated in-process in
// the test's own folder, with bed cells, and flow fields set by hand, for the
// writers and readers of the result files.
#pragma once

#include <string>

// Reads the channel's "control" with extra data sets appended, allocates the
// tables, reads "koosurf", generates the grid and its geometry and numbers
// the bed cells, as a run of the letter Y followed by the flow set-up.
void generateChannel(const std::string &extraControl = "");

// The same for any case folder under cases/.
void generateCaseFolder(const std::string &caseName, const std::string &extraControl = "");

// Gives every cell and face values that differ from cell to cell and from
// field to field, with more digits than the text file keeps.
void setHandFields();

// Clears the fields the result file restores.
void clearResultFields();

// The value after a trip through "%14.8e" (nine significant digits).
double printedResult(double value);
