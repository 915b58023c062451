// Allocation of the output and tracer tables: the print selection always,
// the tracers with F 424, the profiles when entry 10 of F 329 is 19.
#include "model/output_tables.h"

#include <cstdint>
#include <initializer_list>

#include "model/settings.h"
#include "model/table_allocator.h"

void allocateOutputTables(TableAllocator &a) {
  a.matrix(TimePrinti, 20, 25);
  a.matrix(TimePrintl, 20, 25);
  a.matrix(TimePrintVar, 20, 25);
  if (a.when(FlagTracer > 0)) {
    for (double **t : {&tracerX, &tracerY, &DiamTracer}) a.vector(*t, 1000);
    a.vector(BedTracer, 1000);
  }
  if (a.when(PrintArrayFlags[10] == 19)) {
    for (double ***t : {&koxz, &koxxvel, &koxyvel, &koxzvel, &koxk, &koxeps}) a.matrix(*t, 4, 200);
    a.cube(koxc, 4, 200, std::int64_t{lnumber} + 1);
  }
}
