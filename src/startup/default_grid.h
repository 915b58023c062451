// The structured grid as "control" leaves it before any grid file is read:
// the start water level from the bed points, the columns taken out by G 13,
// a default block of unit spacing and the slide plane.
#pragma once

// Without W 1, the highest point of "geodata" plus 1 m becomes the water
// level and the vertical distribution spans the bed points in ten steps.
void levelFromGeodata();

// Marks every G 13 rectangle in bedOutBlock.
void markOutBlocks();

// xval = i, yval = j, levels evenly from 0 to the water level, the
// non-erodible level 10 m below the bed; the letters Y and U replace it.
void layDefaultBlock();

// With a slide model (F 236) the plane of the slide movement starts at 0.
void clearSlidePlane();
