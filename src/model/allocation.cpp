// The life cycle of the global tables: reset at process start, the
// structured arrays once "control" is read, then the unstructured tables.
// A request that cannot be met ends the allocation with the bytes reached.
#include "model/allocation.h"

#include <cstdio>

#include "model/bed_cells.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/grid_index.h"
#include "model/nests.h"
#include "model/output_tables.h"
#include "model/points.h"
#include "model/series.h"
#include "model/settings.h"
#include "model/status.h"
#include "model/structured.h"
#include "model/table_allocator.h"
#include "startup/exit_codes.h"
#include "startup/log.h"

namespace {

// Every table family in the order of allocation.
void visitUnstructuredTables(TableAllocator &a) {
  allocateCellTables(a);
  allocateFaceTables(a);
  allocatePointTables(a);
  allocateNestTables(a);
  allocateLineSolverVectors(a);
  allocateGridIndexArrays(a);
  allocateConnectionList(a);
  allocateBedCellTables(a);
  allocateTimeSeries(a);
  allocateOutputTables(a);
}

// "boogie" in append mode for the length of one allocation routine; when
// the control-file reader still holds it open, its stream is used.
class AppendedLog {
 public:
  AppendedLog() {
    if (heldLog()) return;
    std::FILE *log = std::fopen("boogie", "a");
    if (!log) fatalExit(kExitCannotOpen, nullptr, "cannot open file 'boogie' ");
    setHeldLog(log);
    owned_ = true;
  }
  ~AppendedLog() {
    if (owned_) closeHeldLog();
  }
  AppendedLog(const AppendedLog &) = delete;
  AppendedLog &operator=(const AppendedLog &) = delete;

 private:
  bool owned_ = false;
};

double megabytes(const TableAllocator &a) { return static_cast<double>(a.bytes()) * 1e-6; }

void logOutOfMemory(const TableAllocator &a) {
  logPrintf("Allocated %lf Mbyte when out of memory\n", megabytes(a));
}

}  // namespace

void SetArraysZero() {
  TableAllocator reset(TableAllocator::Mode::Reset);
  allocateStructuredArrays(reset);
  allocateInspaceTables(reset);
  visitUnstructuredTables(reset);
}

int sialloc() {
  AppendedLog log;
  setStatus(mc_message, "Initializing arrays");
  TableAllocator tables;
  allocateStructuredArrays(tables);
  if (tables.failed()) {
    logOutOfMemory(tables);
    return -1;
  }
  // The vertical distribution zdistrib of G 3 holds 5000 levels.
  if (znumber > 4997) {
    fatalPrintf(kExitTableFull, nullptr, "Error - increase zdistrib array, nz = %d\n", znumber + 2);
  }
  logPrintf("Have allocated %12.2lf Mbytes structured arrays\n", megabytes(tables));
  // The "inspace" tables come after the logged total; a failure of their
  // time vector is not logged.
  allocateInspaceTables(tables);
  if (tables.failed()) {
    if (tables.failureReported()) logOutOfMemory(tables);
    return -1;
  }
  setStatus(mc_message, "Initiation of arrays o.k");
  return 0;
}

double AllocateArrays(int, int, int) {
  AppendedLog log;
  setStatus(mc_message, "Initializing arrays");
  if (Cflatee) fatalExit(kExitUnreadable, nullptr);
  TableAllocator tables;
  visitUnstructuredTables(tables);
  if (tables.failed()) {
    if (tables.failureReported()) logOutOfMemory(tables);
    return -1.0;
  }
  setBedCellStartValues();
  logPrintf("Have allocated %12.2lf Mbytes unstructured arrays\n\n", megabytes(tables));
  setStatus(mc_message, "Unstructured arrays o.k     ");
  return static_cast<double>(tables.bytes());
}

void show() {}
