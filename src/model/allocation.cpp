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
#include "base/exit_codes.h"
#include "base/log.h"

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
    std::FILE *log = openLog("a");
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

void logOutOfMemory(double megabytesReached) {
  logPrintf("Allocated %lf Mbyte when out of memory\n", megabytesReached);
}
void logOutOfMemory(const TableAllocator &a) { logOutOfMemory(megabytes(a)); }

// The tables that visit would allocate must fit into the machine's physical
// memory: the system grants far larger zero-filled blocks than it can back,
// and the run would be killed once the grid fills them. Otherwise the error
// line names the data sets that size the tables, nothing is allocated, and
// the out-of-memory line follows with the bytes reached before.
bool fitsMachine(void (*visit)(TableAllocator &), const char *dataSets, double megabytesReached = 0.0) {
  TableAllocator measure(TableAllocator::Mode::Measure);
  visit(measure);
  const double need = measure.needed(), have = machineBytes();
  if (need <= have) return true;
  logPrintf("Error: the tables of %s need %.2f Mbytes, more than the %.2f Mbytes of this machine\n", dataSets,
            need * 1e-6, have * 1e-6);
  logOutOfMemory(megabytesReached);
  return false;
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
  if (!fitsMachine(allocateStructuredArrays, "G 1")) return -1;
  TableAllocator tables;
  allocateStructuredArrays(tables);
  if (tables.failed()) {
    logOutOfMemory(tables);
    return -1;
  }
  // The vertical distribution zdistrib of G 3 holds 5000 levels.
  if (znumber > 4997) {
    fatalPrintf(kExitTableFull, nullptr, "Error - increase zdistrib array, nz = %lld\n", znumber + 2LL);
  }
  logPrintf("Have allocated %12.2lf Mbytes structured arrays\n", megabytes(tables));
  // The "inspace" tables come after the logged total; a failure of their
  // time vector is not logged.
  if (!fitsMachine(allocateInspaceTables, "F 294", megabytes(tables))) return -1;
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
  if (!fitsMachine(visitUnstructuredTables, "F 65")) return -1.0;
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
