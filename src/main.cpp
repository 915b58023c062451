// Process entry of the engine: everything happens in the working directory,
// driven by the file "control"; the status of a normal run is 1.
#include "base/thread_waiting.h"
#include "startup/entry.h"

int main(int, char **argv) {
  settleThreadWaiting(argv);
  return telvaMain();
}
