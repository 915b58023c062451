// The two-dimensional algebraic-multigrid accelerator of a solve (F 168).
#pragma once

void AlgMGSolve();
