// The pressure and turbulence steps of the modular driver are not built yet:
// a driver that reaches them ends instead of reporting a flow it never
// computed.
#include "startup/log.h"

void SimplePressure(int) { notAvailableYet("SimplePressure", "F 68"); }
void SimpleTurbulence(int) { notAvailableYet("SimpleTurbulence", "F 68"); }
