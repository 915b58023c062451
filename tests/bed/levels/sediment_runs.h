// The sediment runs through the binary: a converged flow read back by letter
// R, then the sediment steps of a fixture's "control.sediment", and what the
// tests read from their files.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "support/run_case.h"

// The sediment run's "control": the flow case's with the letters of a restart
// (or the letters given) and without its iteration count, then the fixture's
// data sets and extra.
std::string sedimentControl(const std::string &flowCase, const std::string &sedimentCase, const std::string &extra = "",
                            const std::string &letters = "YRS");

// Runs the sediment steps of sedimentCase on the flow case's "koosurf",
// restarted from the converged flow `result`.
CaseResult runSediment(const std::string &flowCase, const std::string &sedimentCase, const std::string &result,
                       const std::string &extra = "");

// Each step's continuity table (Inflow, Outflow, Suspension, BedLayerCh,
// Bedchange, Defect) for every size: the defect, and its growth since the
// size's previous table, within `share` of the bed change plus the outflow
// (of the run so far, and of the steps since that table); the layers' change
// equal to the bed change. The sediment equations keep their mass to
// round-off, so the default share is 1e-6. Returns the number of tables.
int checkContinuityTables(const std::string &log, double share = 1e-6);

// The bed change of the last continuity table, summed over the sizes, kg.
double lastTableBedchange(const std::string &log);

// The row under each continuity table header of the log (one size).
std::vector<std::string> continuityRows(const std::string &log);

// The end report: the volume and mass of "Total change in bed levels" and the
// mass of "Continuity: Bedchange"; false when a line is missing.
struct EndReport {
  double volume = 0.0, kg = 0.0, booked = 0.0;
};
bool readEndReport(const std::string &log, EndReport &report);

// The bed levels of the grid points of "bedres.t" by grid line i.
std::map<int, std::vector<double>> bedLevelsByLine(const std::string &bedresText);

// The mean bed level of grid lines first..last.
double meanLevel(const std::map<int, std::vector<double>> &levels, int first, int last);

