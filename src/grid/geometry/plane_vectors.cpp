// Plan-view vector helpers.
#include "grid/geometry/plane_vectors.h"

#include <cmath>

double dotproduct(double x1, double y1, double x2, double y2) {
  return (x1 * x2 + y1 * y2) / (std::sqrt((x1 * x1 + y1 * y1) * (x2 * x2 + y2 * y2)) + 1e-20);
}
