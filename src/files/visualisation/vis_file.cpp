// Buffered, checked output of the Tecplot and ParaView files. VTK's ASCII
// reader cannot parse "nan" or "inf", so such values become +-1e30 and the
// log says how many there were.
#include "files/visualisation/vis_file.h"

#include <cmath>

#include "files/series_files.h"
#include "files/write_check.h"
#include "model/settings.h"
#include "base/log.h"

namespace {
constexpr std::size_t kBufferBytes = 1 << 20;
}

VisFile::VisFile(int seriesSwitch, const char *fixedName, const char *seriesBase, int width, const char *suffix) {
  file_ = openSeriesFile(seriesSwitch, fixedName, seriesBase, width, suffix, "w", name_);
  if (!file_) endCannotOpen(name_.c_str());
  std::setvbuf(file_, nullptr, _IOFBF, kBufferBytes);
}

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
#pragma GCC diagnostic ignored "-Wformat-security"
void VisFile::number(const char *format, double value) {
  if (!std::isfinite(value)) {
    ++replaced_;
    value = value < 0.0 ? -1e30 : 1e30;
  }
  std::fprintf(file_, format, value);
}
#pragma GCC diagnostic pop

void VisFile::quoted(const char *text) {
  for (const char *c = text; *c; ++c) std::fputc(*c == '"' ? '\'' : *c, file_);
}

void VisFile::close() {
  closeWrittenFile(file_, name_.c_str());
  file_ = nullptr;
  if (replaced_ > 0) {
    logPrintf("Warning: %d values that are not numbers written as 1e30 in '%s'\n", replaced_, name_.c_str());
  }
}

const char *printedTitle() { return Title + 1; }
