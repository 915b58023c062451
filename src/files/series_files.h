// Numbered output series: a writer in series mode takes the first number
// whose file does not exist yet, so a series goes on across runs and fills
// numbers the user has freed. The folder is the only state.
#pragma once

#include <cstdio>
#include <string>

// The last number probed; when every number up to it is taken, it is written again.
inline constexpr int kLastSeriesNumber = 999998;

// The name of number n: base, n zero-padded to width digits (longer numbers
// unpadded; width 1 does not pad), then suffix.
std::string seriesName(const char *base, int n, int width, const char *suffix);

// The first number 0..last whose name is free, last when none is. A name is
// taken when anything exists under it, readable or not, so that an
// unreadable file is never overwritten.
int firstFreeSeriesNumber(const char *base, int width, const char *suffix, int last = kLastSeriesNumber);

// Opens, with mode ("w" text, "wb" binary), the fixed name when seriesSwitch
// is 0 and the first free series name otherwise; chosen receives the name
// opened. Returns nullptr when it cannot be created: the writer then ends
// the run as for its fixed name.
std::FILE *openSeriesFile(int seriesSwitch, const char *fixedName, const char *seriesBase, int width,
                          const char *suffix, const char *mode, std::string &chosen);
