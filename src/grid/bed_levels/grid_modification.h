// Local changes of the grid levels while the flow residual stays large (F 395).
#pragma once

void ModifyGrid();
