// Names of the numbered output files and the probe for the first free
// number: one existence test per taken number, from 0 upwards, no listing.
#include "files/series_files.h"

#include <filesystem>

std::string seriesName(const char *base, int n, int width, const char *suffix) {
  char number[32];
  std::snprintf(number, sizeof number, "%0*d", width < 1 ? 1 : width, n);
  return std::string(base) + number + suffix;
}

namespace {

// A dangling link or an unreadable file counts as taken as well.
bool nameTaken(const std::string &name) {
  std::error_code error;
  return std::filesystem::exists(std::filesystem::symlink_status(name, error));
}

}  // namespace

int firstFreeSeriesNumber(const char *base, int width, const char *suffix, int last) {
  for (int n = 0; n < last; ++n) {
    if (!nameTaken(seriesName(base, n, width, suffix))) return n;
  }
  return last;
}

std::FILE *openSeriesFile(int seriesSwitch, const char *fixedName, const char *seriesBase, int width,
                          const char *suffix, const char *mode, std::string &chosen) {
  if (seriesSwitch == 0) {
    chosen = fixedName;
  } else {
    chosen = seriesName(seriesBase, firstFreeSeriesNumber(seriesBase, width, suffix), width, suffix);
  }
  return std::fopen(chosen.c_str(), mode);
}
