// The pressure-gradient force of the momentum equations (F 114 variants)
// added to Csource over cells first..last.
#pragma once

void pressure_source(int first, int last);
