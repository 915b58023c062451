// Outputs that treat the interpolation points as a line across or along the
// river: the discharge per metre ("interres14") and the vertical curtains
// under the line ("ParaView2c.vtk", "ParaView2cc.vtk").
#pragma once

// Writes the outputs that F 48 or entry 10 of F 329 select.
void writeLineOutputs();
