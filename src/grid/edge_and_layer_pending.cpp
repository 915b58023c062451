// The second generator's collapse of water-edge columns before their cells
// are built is not there yet: a run that asks for it stops with "not
// available yet".
#include "grid/edge_and_layer.h"
#include "startup/log.h"

void UnstrucTriangular10() { notAvailableYet("UnstrucTriangular10", "F 503"); }
