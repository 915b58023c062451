// File operations that are not built yet: each does nothing and reports so.
#include "files/file_services.h"

int makeWeirSTL() { return 0; }
