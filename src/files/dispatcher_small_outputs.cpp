// The dispatcher's small outputs are not built yet: a run that asks for one
// ends rather than reporting files it never wrote.
#include "files/dispatcher_small_outputs.h"

#include "startup/log.h"

void writeCellDump() { notAvailableYet("writeCellDump", "F 329 or F 48"); }
void writeBedPoints() { notAvailableYet("writeBedPoints", "F 329 or F 48"); }
void writeWetOutline() { notAvailableYet("writeWetOutline", "F 329 or F 48"); }
int writeHabitat() { notAvailableYet("writeHabitat", "F 329 or F 48"); }
int writeSlopingFraction() { notAvailableYet("writeSlopingFraction", "F 329 or F 212"); }
int writeDischargeLine() { notAvailableYet("writeDischargeLine", "F 329 or F 212"); }
int writeLevelSnapshot() { notAvailableYet("writeLevelSnapshot", "F 329"); }
int appendLevelSeries() { notAvailableYet("appendLevelSeries", "F 329"); }
