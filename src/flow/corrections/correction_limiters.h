// Limiters after the SIMPLE correction: isolated pressures, vertical
// velocities and flow directions.
#pragma once

void CorrSimpleCorrections(int inner);
