// Bed changes, slides and soil stress as the run letters call them.
#pragma once

int computeSlidemovement();   // one slide flow step (letter D)
void computeSoilStress();     // elastic soil stress (letter N, F 248 1)
void computeSlideLocation();  // slide location by safety factors (letter N, F 248 2)
