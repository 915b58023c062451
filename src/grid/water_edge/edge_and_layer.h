// The water-edge and extra-layer routines the grid generators call after the
// cells exist: collapsed cells at the water's edge, the pond removal, the
// inflow cross-section and the mud, slide or groundwater layer block.
#pragma once

void UnstrucHorMove();      // F 533: moves grid lines horizontally at the water's edge
void UnstrucTriangular();   // F 493 0: collapsed cells at the water's edge
void UnstrucTriangular0();  // F 493 1
void UnstrucTriangular2();  // F 493 2
void UnstrucTriangular3();  // F 493 3
void UnstrucTriangular4();  // F 493 4
void UnstrucTriangular5();  // F 493 5
void UnstrucTriangular6();  // F 493 6
void UnstrucTriangular10(); // F 503: collapsed cells of the second generator, before the cell counts
void setCorrTrekant();      // F 235: groups adjacent collapsed cells into the codes 5 to 24
void FixInflowCells();      // F 390 1: corner points at the inflow cross-section of block 1
void makeRidge();           // F 394 above 1000: ridge marks of block 1 for removePonds
void removePonds();         // F 394: removes the columns that no inflow reaches
void UnstrucThixo2(int b);  // F 236, F 289: the mud or slide layer as block b+1
int UnstrucThixo3(int b);   // F 236, F 262: the layer split at the thixotropic level; 0 on success
