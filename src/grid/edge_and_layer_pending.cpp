// Stand-ins for the water-edge and extra-layer routines that are not built
// yet: a run that asks for one stops with "not available yet". A routine that
// is built elsewhere takes its line out of this file.
#include "grid/edge_and_layer.h"
#include "startup/log.h"

void UnstrucHorMove() { notAvailableYet("UnstrucHorMove", "F 102, F 533"); }
void UnstrucTriangular() { notAvailableYet("UnstrucTriangular", "F 102"); }
void UnstrucTriangular0() { notAvailableYet("UnstrucTriangular0", "F 102, F 493 1"); }
void UnstrucTriangular2() { notAvailableYet("UnstrucTriangular2", "F 102, F 493 2"); }
void UnstrucTriangular3() { notAvailableYet("UnstrucTriangular3", "F 102, F 493 3"); }
void UnstrucTriangular4() { notAvailableYet("UnstrucTriangular4", "F 102, F 493 4"); }
void UnstrucTriangular5() { notAvailableYet("UnstrucTriangular5", "F 102, F 493 5"); }
void UnstrucTriangular6() { notAvailableYet("UnstrucTriangular6", "F 102, F 493 6"); }
void UnstrucTriangular10() { notAvailableYet("UnstrucTriangular10", "F 503"); }
void setCorrTrekant() { notAvailableYet("setCorrTrekant", "F 235"); }
void FixInflowCells() { notAvailableYet("FixInflowCells", "F 390"); }
void makeRidge() { notAvailableYet("makeRidge", "F 394"); }
void removePonds() { notAvailableYet("removePonds", "F 394"); }
void UnstrucThixo2(int) { notAvailableYet("UnstrucThixo2", "F 236"); }
int UnstrucThixo3(int) { notAvailableYet("UnstrucThixo3", "F 236, F 262"); }
