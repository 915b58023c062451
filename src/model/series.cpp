// Allocation of the "timei" series: ArrayTimeSteps + 1 rows, only in
// transient runs.
#include "model/series.h"

#include <algorithm>
#include <cstdint>
#include <initializer_list>

#include "model/settings.h"
#include "model/table_allocator.h"

int cinnColumns() { return std::max(20, 10 * lnumber + 1); }

void allocateTimeSeries(TableAllocator &a) {
  if (!a.when(TimeStep > 1e-8)) return;
  const std::int64_t rows = std::int64_t{ArrayTimeSteps} + 1;
  for (double **t : {&TimeInTime, &TimeInTimStep, &TimeInHinn, &TimeInHout}) a.vector(*t, rows);
  a.matrix(Cinn, rows, cinnColumns());
  a.matrix(Winn, rows, 3);
  a.vector(Irradi, rows);
  a.vector(AirTemp, rows);
  a.matrix(QDinn, rows, 10);
}
