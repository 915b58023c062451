// The data sets whose letter is not followed by a data-set number: Q source
// terms, S grain sizes, N grain-size distributions, M inflow concentrations,
// I, H and L.
#include "model/settings.h"
#include "startup/dataset_rows.h"

void readQDataSet(ControlStream &stream) {
  int termType = 0, component = 0;
  if (scan(stream, "%d %d", &termType, &component).count >= 1) DataSetNumber = termType;
}

void readHDataSet(ControlStream &) {}
void readIDataSet(ControlStream &) {}
void readLDataSet(ControlStream &) {}
void readMDataSet(ControlStream &) {}
void readNDataSet(ControlStream &) {}
void readSDataSet(ControlStream &) {}

void setLetterDataSetDefaults() { CompInflowNo = 0; }
