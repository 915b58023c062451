// Results at the interpolation points of "interpol" ("interres" and its family).
#pragma once

void print_interres(int kind);
