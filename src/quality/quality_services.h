// Water quality and other processes as the run letters call them.
#pragma once

void Components();           // steady water-quality components (letter C)
void groundwater();          // groundwater levels (letter G)
int computeVegdataFromSTL(); // vegetation levels from "stlfile.stl" (letter P)
