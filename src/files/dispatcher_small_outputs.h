// The small outputs the dispatcher writes itself: a per-cell dump, the bed
// points, the wet-area outline, habitat classes and the "boogie.spe" reports.
#pragma once

void writeCellDump();        // "PontuPkt.dat" or its series
void writeBedPoints();       // "beddata.sim"
void writeWetOutline();      // "prendo"
// The writers below return 1 when their file cannot be opened: the
// dispatcher then stops its call there.
int writeHabitat();          // "habitat"
int writeSlopingFraction();  // "boogie.spe": fraction of sloping bed area
int writeDischargeLine();    // "boogie.spe": discharge through a cross-section
int writeLevelSnapshot();    // "boogie.spe" or its series: levels of the layer blocks
int appendLevelSeries();     // "boogie.spe", appended: levels of the layer blocks
