// Free-surface operations that are not built yet: each does nothing.
#include "surface/surface_services.h"

#include "startup/log.h"

void backwater() {}

// The free-surface algorithms of F 36 are not built yet: a run that reaches
// them ends instead of computing with a surface that never moves.
void surface() { notAvailableYet("surface", "F 36, G 6"); }
void SetiPresjPres() { notAvailableYet("SetiPresjPres", "F 36"); }
void surface_tfs(int, int) { notAvailableYet("surface_tfs", "F 36"); }
void surface_LS_update() { notAvailableYet("surface_LS_update", "F 36 50"); }
void surface_LS() { notAvailableYet("surface_LS", "F 36 50"); }
void computeSetPresZero() { notAvailableYet("computeSetPresZero", "F 549"); }

// The two-dimensional level solver is not built yet; its only caller so far
// is the roughness fill of letter K.
void surfaceSolver(int) { notAvailableYet("surfaceSolver", "letter K"); }
