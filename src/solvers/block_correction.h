// Block (plane) correction of the current Equation before its solve (K 5).
#pragma once

void BlockCorrection();
