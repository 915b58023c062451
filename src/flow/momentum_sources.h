// Momentum source terms of the flow equations.
#pragma once

// Turbidity-current source of W (F 18).
void turbiditycurrentSource();
