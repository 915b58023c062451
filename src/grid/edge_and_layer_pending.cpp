// Stand-ins for the water-edge and extra-layer routines until they are built:
// a run that asks for one stops with "not available yet". Each is weak, so the
// routine itself, once linked in, takes its place.
#include "grid/edge_and_layer.h"
#include "startup/log.h"

#define PENDING [[gnu::weak]]

PENDING void UnstrucHorMove() { notAvailableYet("UnstrucHorMove", "F 102, F 533"); }
PENDING void UnstrucTriangular() { notAvailableYet("UnstrucTriangular", "F 102"); }
PENDING void UnstrucTriangular0() { notAvailableYet("UnstrucTriangular0", "F 102, F 493 1"); }
PENDING void UnstrucTriangular2() { notAvailableYet("UnstrucTriangular2", "F 102, F 493 2"); }
PENDING void UnstrucTriangular3() { notAvailableYet("UnstrucTriangular3", "F 102, F 493 3"); }
PENDING void UnstrucTriangular4() { notAvailableYet("UnstrucTriangular4", "F 102, F 493 4"); }
PENDING void UnstrucTriangular5() { notAvailableYet("UnstrucTriangular5", "F 102, F 493 5"); }
PENDING void UnstrucTriangular6() { notAvailableYet("UnstrucTriangular6", "F 102, F 493 6"); }
PENDING void UnstrucTriangular10() { notAvailableYet("UnstrucTriangular10", "F 503"); }
PENDING void setCorrTrekant() { notAvailableYet("setCorrTrekant", "F 235"); }
PENDING void FixInflowCells() { notAvailableYet("FixInflowCells", "F 390"); }
PENDING void makeRidge() { notAvailableYet("makeRidge", "F 394"); }
PENDING void removePonds() { notAvailableYet("removePonds", "F 394"); }
PENDING void UnstrucThixo2(int) { notAvailableYet("UnstrucThixo2", "F 236"); }
PENDING int UnstrucThixo3(int) { notAvailableYet("UnstrucThixo3", "F 236, F 262"); }
