// The shared end of every writer: a file that cannot be created, or a
// stream whose writes failed, ends the run with the one fatal message in the
// log, so no result file is left missing or short without a word.
#include "files/write_check.h"

#include "model/status.h"
#include "base/exit_codes.h"
#include "base/log.h"

void endCannotOpen(const char *name) {
  char message[kStatusTextLength];
  std::snprintf(message, sizeof message, "cannot open file '%s' ", name);
  fatalPrintf(kExitCannotOpen, message, "Error writing file '%s'\n", name);
}

void closeWrittenFile(std::FILE *file, const char *name) {
  const bool writeFailed = std::ferror(file) != 0;
  const bool closeFailed = std::fclose(file) != 0;
  if (!writeFailed && !closeFailed) return;
  char message[kStatusTextLength];
  std::snprintf(message, sizeof message, "cannot write file '%s' ", name);
  fatalPrintf(kExitCannotOpen, message, "Error writing file '%s'\n", name);
}
