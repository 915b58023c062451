// What every benchmark needs before it builds its grid: a temporary folder
// to work in and a "koosurf" of a straight rectangular channel.
#pragma once

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

// The temporary folder the benchmark works in ("" until it is made).
inline std::string gBenchFolder;

// Makes a new temporary folder, once, and works in it for the rest of the
// process. Returns false when the folder was made before.
inline bool enterTemporaryFolder() {
  if (!gBenchFolder.empty()) return false;
  gBenchFolder = (std::filesystem::temp_directory_path() / "telva-bench-XXXXXX").string();
  if (!mkdtemp(gBenchFolder.data()) || chdir(gBenchFolder.c_str()) != 0) std::abort();
  return true;
}

// Runs the registered benchmarks, then removes the temporary folder.
inline int runBenchmarks(int argc, char **argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  if (!gBenchFolder.empty()) {
    std::error_code ignored;
    std::filesystem::remove_all(gBenchFolder, ignored);
  }
  return 0;
}

// "koosurf" of linesI x linesJ grid points `spacing` m apart, the bed at
// -slope * i and the water level at `level` m.
inline void writeChannelKoosurf(int linesI, int linesJ, double spacing, double slope, double level) {
  std::FILE *file = std::fopen("koosurf", "w");
  for (int i = 1; i <= linesI; ++i) {
    for (int j = 1; j <= linesJ; ++j) {
      std::fprintf(file, "%d %d %.1f %.1f %.4f %.1f\n", i, j, spacing * (i - 1), spacing * (j - 1), -slope * i, level);
    }
  }
  std::fclose(file);
}
