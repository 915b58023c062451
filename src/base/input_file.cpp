// Opening and loading the files the engine reads, through one check that the
// name holds a regular, readable file, and the out-of-memory end of a buffer
// that cannot be had.
#include "base/input_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <new>

#include "base/exit_codes.h"
#include "base/log.h"

namespace {

// The machine's memory: no file larger than that can be held as text.
std::size_t machineMemory() {
  static const std::size_t bytes = [] {
    const long pages = sysconf(_SC_PHYS_PAGES), pageSize = sysconf(_SC_PAGESIZE);
    if (pages <= 0 || pageSize <= 0) return SIZE_MAX;
    const auto total = static_cast<unsigned long long>(pages) * static_cast<unsigned long long>(pageSize);
    return total > SIZE_MAX ? SIZE_MAX : static_cast<std::size_t>(total);
  }();
  return bytes;
}

// Room in text for more bytes. The allocator is asked first through malloc,
// which answers null when the memory is not there (an address-space limit,
// the sanitizer's allocation limit) where the string's own allocation would
// throw or abort; only then does the string take its buffer.
void makeRoom(std::string &text, std::size_t more) {
  const std::size_t have = text.size();
  if (more <= text.capacity() - have) return;
  const std::size_t limit = std::min(text.max_size(), machineMemory());
  if (more > limit || have > limit - more) endOutOfMemory();
  const std::size_t need = have + more;
  // A file that grows while it is read takes doubling steps, not one per chunk.
  const std::size_t want = have == 0 ? need : std::max(need, std::min(limit, 2 * text.capacity()));
  void *probe = std::malloc(want + 1);
  if (!probe) endOutOfMemory();
  std::free(probe);
  try {
    text.reserve(want);
  } catch (const std::bad_alloc &) {
    endOutOfMemory();
  }
}

}  // namespace

std::FILE *openInputFile(const char *name, InputState *state) {
  InputState found = InputState::Readable;
  std::FILE *file = nullptr;
  struct stat info;
  // A folder, device or pipe is judged by its name and never opened: opening
  // a pipe waits for a writer.
  if (::stat(name, &info) != 0) {
    found = errno == ENOENT ? InputState::Missing : InputState::Unreadable;
  } else if (!S_ISREG(info.st_mode)) {
    found = InputState::NotRegular;
  } else {
    // What is opened is checked again: the name may have changed in between.
    const int fd = ::open(name, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
      found = errno == ENOENT ? InputState::Missing : InputState::Unreadable;
    } else {
      const int flags = ::fcntl(fd, F_GETFL);
      if (::fstat(fd, &info) != 0 || flags < 0) {
        found = InputState::Unreadable;
      } else if (!S_ISREG(info.st_mode)) {
        found = InputState::NotRegular;
      } else if (::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0 || !(file = ::fdopen(fd, "r"))) {
        found = InputState::Unreadable;
      }
      if (!file) ::close(fd);
    }
  }
  if (state) *state = found;
  return file;
}

InputState loadInputFile(const char *name, std::string &text) {
  text.clear();
  InputState state;
  std::FILE *file = openInputFile(name, &state);
  if (!file) return state;
  struct stat info;
  const off_t size = ::fstat(::fileno(file), &info) == 0 ? info.st_size : 0;
  // The file is read in one piece into a buffer of its size: a grid file of a
  // million cells is some hundred megabytes, and growing the text while
  // reading would copy it over and over.
  if (size > 0) {
    if (static_cast<unsigned long long>(size) > SIZE_MAX) endOutOfMemory();
    makeRoom(text, static_cast<std::size_t>(size));
    text.resize(static_cast<std::size_t>(size));
    text.resize(std::fread(text.data(), 1, text.size(), file));
  }
  // Whatever lies beyond the size the file had when it was opened.
  if (std::ferror(file) == 0 && text.size() == static_cast<std::size_t>(size)) {
    char chunk[65536];
    for (std::size_t got; (got = std::fread(chunk, 1, sizeof chunk, file)) > 0;) {
      makeRoom(text, got);
      text.append(chunk, got);
    }
  }
  const bool failed = std::ferror(file) != 0;
  std::fclose(file);
  if (!failed) return InputState::Readable;
  text.clear();
  return InputState::Unreadable;
}

bool readTextFile(const char *name, std::string &text) { return loadInputFile(name, text) == InputState::Readable; }

bool readOptionalTextFile(const char *name, std::string &text) {
  const InputState state = loadInputFile(name, text);
  if (state == InputState::Readable) return true;
  if (state == InputState::Missing) return false;
  refuseInputFile(name, state);
}

std::FILE *openOptionalInputFile(const char *name) {
  InputState state;
  std::FILE *file = openInputFile(name, &state);
  if (file || state == InputState::Missing) return file;
  refuseInputFile(name, state);
}

void refuseInputFile(const char *name, InputState state) {
  fatalPrintf(kExitCannotOpen, nullptr, "Error: cannot read '%s': %s\n", name,
              state == InputState::Unreadable ? "not a readable file" : "not a regular file");
}

void endOutOfMemory() { fatalExit(kExitCannotOpen, "Could not allocate enough memory"); }
