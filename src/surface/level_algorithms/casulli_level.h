// The Casulli level method (F 36 9 through the modular dispatch): the water
// level of every column from Manning-Strickler conductances to its side
// neighbours, with an optional time term, advection source and line steps.
#pragma once

void computeCoeffCasulli();    // conductances, time term and start levels
void computeSourceCasulli();   // advection of momentum between columns (F 322 second value 1)
void computeBlockCasulli();    // one line correction of block 1 (F 343 2)
void computeBlockCasulliMG();  // line multigrid of block 1 (F 343 1)
