// Smoothing of the pressure field after the corrections (F 426).
#pragma once

void pressureFilter();
