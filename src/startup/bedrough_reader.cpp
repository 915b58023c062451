// Reader of "bedrough" (or "bedrough.mpi%d" in a partitioned run): records
// "B i j ks" that overwrite the roughness of single columns after every
// column has been given the roughness of F 16 or W 1.
#include "startup/bedrough_reader.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>

#include "model/run_state.h"
#include "model/settings.h"
#include "model/status.h"
#include "model/structured.h"
#include "startup/control_stream.h"
#include "base/exit_codes.h"
#include "base/log.h"

namespace {

// Below 0.01 mm a roughness height no longer means anything to the wall laws.
constexpr double kSmallestRoughness = 1e-5;

// The roughness height of every column without a record: F 16 when given,
// otherwise the Strickler relation ks = (26 / M)^6 with M of W 1.
double defaultRoughness() {
  double ks = XksWall;
  if (ks < 0) ks = std::pow(26.0 / ManningInit, 6);
  return std::max(ks, kSmallestRoughness);
}

}  // namespace

void readBedrough() {
  assert(roughness);
  FlagReadBedrough = 1;
  const double ks = defaultRoughness();
  XksWall = ks;
  for (int i = 2; i <= xnumber; ++i) {
    for (int j = 2; j <= ynumber; ++j) roughness[i][j] = ks;
  }

  char name[40] = "bedrough";
  if (FlagMPI > 0 && FlagMPIkoosurf != 1) std::snprintf(name, sizeof name, "bedrough.mpi%d", FlagMPI);
  std::string text;
  const InputState state = loadInputFile(name, text);
  if (state != InputState::Readable) {
    char message[kStatusTextLength];
    std::snprintf(message, sizeof message, "have not used %s file ", name);
    setStatus(mc_message, message);
    if (FlagRoughness == 1) fatalExit(kExitInconsistent, "Error: bedrough file not found when using F 90 1\n\n");
    // Without F 90 1 the file may be left out, but what stands under its name must be readable.
    if (state != InputState::Missing) refuseInputFile(name, state);
    return;
  }

  int stored = 0;
  const std::int64_t columns = std::int64_t{xnumber} * ynumber;
  if (columns > 0) {
    ControlStream in(text);
    for (std::int64_t record = 0; record < 5 * columns; ++record) {
      int i = 0, j = 0;
      double height = 0;
      ScanResult r = scan(in, "B %d %d %lf\n", &i, &j, &height);
      if (r.count != 3) break;
      // Columns beyond the grid, and values that overflow or are not
      // finite, are skipped like the last grid line.
      if (r.bad || i < 1 || i > xnumber - 1 || j < 1 || j > ynumber - 1) continue;
      roughness[i][j] = height;
      ++stored;
    }
  }
  logPrintf("Have read %d roughness points from bedrough file\n", stored);
}
