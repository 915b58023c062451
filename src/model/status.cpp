// Status texts: bounded copies into the fixed observer buffers.
#include "model/status.h"

#include <cstring>

void setStatus(char *buffer, const char *text) {
  std::strncpy(buffer, text, kStatusTextLength - 1);
  buffer[kStatusTextLength - 1] = '\0';
}
