// The bed roughness file "bedrough": one roughness height per water column,
// read by the restart readers after they have rebuilt the grid.
#pragma once

// Sets every column to the roughness of F 16 (or of the Strickler number of
// W 1), then overwrites the columns that "bedrough" lists.
void readBedrough();
