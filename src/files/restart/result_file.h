// The result file of the flow solution: velocities, k, epsilon and pressure
// of every cell and the mass flux of every face, as text ("result.end", a
// numbered series, "result.csh" after a grid crash) or raw binary ("resultb").
#pragma once

#include <string>

// The name and open mode the result file is written with, by the crash flag
// F 257, the series switches P 10 and P 15, the binary switch F 48 15 and
// the partition F 308; the series probe runs here. storedName is the name an
// open failure stores in mc_message.
struct ResultFileTarget {
  std::string name, storedName;
  const char *mode;
  bool binary;
};
ResultFileTarget resultFileTarget();

// Writes the result file; the argument is not used.
void print_result(int unused);
