// Zero-filled blocks for the global tables. calloc leaves the zero pages to
// the system, so tens of megabytes cost no second pass; nothing is freed.
#include "model/table_allocator.h"

#include <climits>
#include <cstdlib>

#include <unistd.h>

std::int64_t tableCount(std::int64_t a, std::int64_t b) {
  if (a < 0 || b < 0) return -1;
  std::int64_t product;
  if (__builtin_mul_overflow(a, b, &product)) return INT64_MAX;
  return product;
}

void *TableAllocator::block(std::int64_t count, std::int64_t size, bool reported) {
  if (failed_) return nullptr;
  void *memory = nullptr;
  if (count >= 0 && count <= INT_MAX) {
    memory = std::calloc(static_cast<std::size_t>(count > 0 ? count : 1), static_cast<std::size_t>(size));
  }
  if (!memory) {
    failed_ = true;
    failureReported_ = reported;
    return nullptr;
  }
  bytes_ += count * size;
  return memory;
}

double machineBytes() {
  const long pages = sysconf(_SC_PHYS_PAGES), pageSize = sysconf(_SC_PAGESIZE);
  // Without an answer from the system nothing is refused here.
  if (pages <= 0 || pageSize <= 0) return 1e300;
  return static_cast<double>(pages) * static_cast<double>(pageSize);
}
