// Reader of "bedangle": records "i j upslope downslope limit repose" that
// give single columns their own critical bed angles (stored as cotangents)
// and angle of repose (stored as a tangent) in BrooksUp, BrooksDown,
// BrooksLimit and Bavalanche.
#include "sediment/transport/bed_angle_file.h"

#include <cmath>
#include <cstdint>
#include <string>

#include "base/log.h"
#include "grid/grid_services.h"
#include "model/bed_cells.h"
#include "model/cells.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/status.h"
#include "model/structured.h"
#include "startup/control_stream.h"

namespace {

// Degrees to radians as the angle files have always been read: 3.1415/180,
// so that 45 degrees give a cotangent of 1.0000463.
constexpr double kDegree = 0.01745277777777778;

// The bed cell of column (i, j): that of its bottom cell, entry 0 for a dry
// column.
int bedCellOf(int i, int j) { return Cbed[static_cast<int>(zval[i][j][0])]; }

}  // namespace

void readBedangle() {
  std::string text;
  if (!readOptionalTextFile("bedangle", text)) {
    setStatus(mc_message, "have not used 'bedangle' file ");
    return;
  }
  if (NoBCells == 0) BedMake();
  for (int i = 2; i <= xnumber; ++i) {
    for (int j = 2; j <= ynumber; ++j) {
      const int b = bedCellOf(i, j);
      BrooksUp[b] = BedCritTanSlopeUp;
      BrooksDown[b] = BedCritTanSlopeDown;
      BrooksLimit[b] = BedCritMinDamp;
      Bavalanche[b] = AngleAvalanche;
    }
  }
  int stored = 0;
  const std::int64_t records = 5 * std::int64_t{xnumber} * ynumber;
  ControlStream in(text);
  for (std::int64_t record = 0; record < records; ++record) {
    int i = 0, j = 0;
    double up = 0, down = 0, limit = 0, repose = 0;
    const ScanResult r = scan(in, "%d %d %lf %lf %lf %lf\n", &i, &j, &up, &down, &limit, &repose);
    if (r.count != 6) break;
    // Columns beyond the grid, and values that overflow or are not finite,
    // are skipped.
    if (r.bad || i < 1 || i >= xnumber || j < 1 || j >= ynumber) continue;
    const int b = bedCellOf(i, j);
    BrooksUp[b] = 1.0 / std::tan(kDegree * up);
    BrooksDown[b] = 1.0 / std::tan(kDegree * down);
    BrooksLimit[b] = limit;
    Bavalanche[b] = std::tan(kDegree * repose);
    ++stored;
  }
  logPrintf("Have read %d bed angle data sets bedangle file\n", stored);
  FlagBedAngles = 2;
}
