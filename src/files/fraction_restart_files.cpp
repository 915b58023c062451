// The fraction restart writer is not built yet: a run that asks for it ends
// rather than reporting a file it never wrote.
#include "files/fraction_restart_files.h"

#include "startup/log.h"

void print_fracres(int) { notAvailableYet("print_fracres", "F 329"); }
