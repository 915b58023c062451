// The writer of "control.new" is not built yet: it does nothing.
#include "startup/control_writer.h"

void writeControl() {}
