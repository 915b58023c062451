// Water quality and other processes as the run letters call them.
#pragma once

void Components();           // water-quality components on the flow in memory (letter C)
void groundwater();          // groundwater levels (letter G)
int computeVegdataFromSTL(); // vegetation levels from "stlfile.stl" (letter P)
