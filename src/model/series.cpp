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

SeriesBracket seriesBracket(const double *times, int count, double t) {
  if (count < 2) return {0, 0, 0.0};
  int l = 1;
  if (t >= times[1]) {
    l = 2;
    while (l < count && !(times[l] > t)) ++l;
  }
  if (l > count - 1) l = count - 1;
  const double upperTime = times[l];
  const double earlier = std::max(upperTime - t, 0.0) / (upperTime - times[l - 1] + 1e-20);
  return {l - 1, l, 1.0 - earlier};
}
