// The one way a global table comes to life: each dimension one zero-filled
// block, the row pointers filled (last index fastest), the bytes counted and
// the first failure remembered so that the caller can take its memory path.
// A measuring pass adds up what an allocation would take, touching nothing.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <utility>

class TableAllocator {
 public:
  // Allocate visits each table whose pointer is null; Reset sets every
  // pointer it visits to null, whatever the options say; Measure adds up the
  // bytes that Allocate would request, allocating nothing.
  enum class Mode { Allocate, Reset, Measure };

  explicit TableAllocator(Mode mode = Mode::Allocate) : mode_(mode) {}

  // True when a table switched on by this condition is to be visited.
  bool when(bool condition) const { return condition || mode_ == Mode::Reset; }

  // A table of n elements. A failure is remembered but not to be logged,
  // unless the table is one whose failure the caller logs (reportedVector).
  template <class T>
  void vector(T *&table, std::int64_t n) { oneDimension(table, n, false); }
  template <class T>
  void reportedVector(T *&table, std::int64_t n) { oneDimension(table, n, true); }

  // [a][b]: a row pointers, row i at element i·b of the data block.
  template <class T>
  void matrix(T **&table, std::int64_t a, std::int64_t b);

  // [a][b][c]: data, then a·b pointers (pointer (i, j) at element (i·b + j)·c),
  // then a pointers (pointer i at second-level entry i·b).
  template <class T>
  void cube(T ***&table, std::int64_t a, std::int64_t b, std::int64_t c);

  // [a][b][c][d], laid out the same way one level deeper.
  template <class T>
  void hypercube(T ****&table, std::int64_t a, std::int64_t b, std::int64_t c, std::int64_t d);

  // Bytes of every block handed out so far; after a failure, those reached
  // before the failing request.
  std::int64_t bytes() const { return bytes_; }
  bool failed() const { return failed_; }
  // Measure mode: the bytes of every block the tables would take, in double
  // so that no request of any size overflows the sum.
  double needed() const { return needed_; }
  // The failing table is one whose failure the caller writes to the log.
  bool failureReported() const { return failureReported_; }

 private:
  // True when the table is to be allocated; in Reset mode it is cleared.
  template <class T>
  bool visit(T *&table) {
    if (mode_ == Mode::Reset) {
      table = nullptr;
      return false;
    }
    return table == nullptr && !failed_;
  }

  // Measure mode: the blocks (count, element size) of a table still to be
  // allocated are added up; true when the visit ends there.
  template <class T>
  bool measured(T *&table, std::initializer_list<std::pair<double, double>> blocks) {
    if (mode_ != Mode::Measure) return false;
    if (table == nullptr) {
      for (const auto &[count, size] : blocks) needed_ += (count > 0.0 ? count : 0.0) * size;
    }
    return true;
  }

  template <class T>
  void oneDimension(T *&table, std::int64_t n, bool reported) {
    if (measured(table, {{double(n), sizeof(T)}})) return;
    if (visit(table)) table = static_cast<T *>(block(n, sizeof(T), reported));
  }

  // One zero-filled block of count elements, or null after marking the
  // failure: a count below 0 or beyond the int range fails like memory
  // running out. An empty block still gets a distinct pointer.
  void *block(std::int64_t count, std::int64_t size, bool reported);

  Mode mode_;
  std::int64_t bytes_ = 0;
  bool failed_ = false;
  bool failureReported_ = false;
  double needed_ = 0.0;
};

// The physical memory of this machine in bytes.
double machineBytes();

// Product of table dimensions that saturates instead of overflowing; any
// negative factor gives -1, so that the request fails.
std::int64_t tableCount(std::int64_t a, std::int64_t b);

template <class T>
void TableAllocator::matrix(T **&table, std::int64_t a, std::int64_t b) {
  if (measured(table, {{double(a) * double(b), sizeof(T)}, {double(a), sizeof(T *)}})) return;
  if (!visit(table)) return;
  T *data = static_cast<T *>(block(tableCount(a, b), sizeof(T), true));
  if (!data) return;
  T **rows = static_cast<T **>(block(a, sizeof(T *), true));
  if (!rows) return;
  for (std::int64_t i = 0; i < a; ++i) rows[i] = data + i * b;
  table = rows;
}

template <class T>
void TableAllocator::cube(T ***&table, std::int64_t a, std::int64_t b, std::int64_t c) {
  if (measured(table, {{double(a) * double(b) * double(c), sizeof(T)},
                       {double(a) * double(b), sizeof(T *)},
                       {double(a), sizeof(T **)}})) {
    return;
  }
  if (!visit(table)) return;
  std::int64_t ab = tableCount(a, b);
  T *data = static_cast<T *>(block(tableCount(ab, c), sizeof(T), true));
  if (!data) return;
  T **second = static_cast<T **>(block(ab, sizeof(T *), true));
  if (!second) return;
  T ***first = static_cast<T ***>(block(a, sizeof(T **), true));
  if (!first) return;
  for (std::int64_t ij = 0; ij < ab; ++ij) second[ij] = data + ij * c;
  for (std::int64_t i = 0; i < a; ++i) first[i] = second + i * b;
  table = first;
}

template <class T>
void TableAllocator::hypercube(T ****&table, std::int64_t a, std::int64_t b, std::int64_t c,
                               std::int64_t d) {
  if (measured(table, {{double(a) * double(b) * double(c) * double(d), sizeof(T)},
                       {double(a) * double(b) * double(c), sizeof(T *)},
                       {double(a) * double(b), sizeof(T **)},
                       {double(a), sizeof(T ***)}})) {
    return;
  }
  if (!visit(table)) return;
  std::int64_t ab = tableCount(a, b);
  std::int64_t abc = tableCount(ab, c);
  T *data = static_cast<T *>(block(tableCount(abc, d), sizeof(T), true));
  if (!data) return;
  T **third = static_cast<T **>(block(abc, sizeof(T *), true));
  if (!third) return;
  T ***second = static_cast<T ***>(block(ab, sizeof(T **), true));
  if (!second) return;
  T ****first = static_cast<T ****>(block(a, sizeof(T ***), true));
  if (!first) return;
  for (std::int64_t ijk = 0; ijk < abc; ++ijk) third[ijk] = data + ijk * d;
  for (std::int64_t ij = 0; ij < ab; ++ij) second[ij] = third + ij * c;
  for (std::int64_t i = 0; i < a; ++i) first[i] = second + i * b;
  table = first;
}
