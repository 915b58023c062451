// The small outputs the dispatcher writes itself: a per-cell dump, the bed
// points, the wet-area outline, habitat classes and the "boogie.spe" reports.
#pragma once

void writeCellDump();        // "PontuPkt.dat" or its series
void writeBedPoints();       // "beddata.sim"
void writeWetOutline();      // "prendo"

// The reports below log a warning and are skipped when their file cannot be
// opened; the dispatcher goes on with its later steps.
void beginSideReports();     // once per dispatcher call: the next "boogie.spe" report creates the file
void writeHabitat();         // "habitat"
void writeSlopingFraction(); // "boogie.spe": fraction of sloping bed area
void writeDischargeLine();   // "boogie.spe": discharge through a cross-section
void writeLevelSnapshot();   // "boogie.spe" or its series: levels of the layer blocks
void appendLevelSeries();    // "boogie.spe", appended: levels of the layer blocks
