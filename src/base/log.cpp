// Appending to "boogie" and ending the process. Every message of every
// subsystem passes through here; nothing is printed to the console but the
// one line of a run that ends with a failure: the first error line of its
// log (or the reason) and the status, so that a script or a queue sees why.
#include "base/log.h"

#include <cerrno>
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <string>
#include <string_view>

#include "model/status.h"
#include "base/exit_codes.h"

namespace {

std::FILE *gHeldLog = nullptr;

// Worker threads of the stage regions may report while the main thread
// logs: every append is whole and in one piece.
std::mutex gLogMutex;

// The first line of this run's log that reports an error, kept for the
// console line of a failed end; until it is found, the start of the line
// being written is kept (its room reserved once, so appending never allocates).
constexpr std::size_t kKeptLine = 200;
std::string gFirstError;
std::string gLineSoFar;
bool gErrorFound = false;

// "Error ...", and the control reader's "Input error ..." and "Integer error, ...".
bool reportsError(std::string_view line) {
  if (line.rfind("Error", 0) == 0) return true;
  const std::size_t blank = line.find(' ');
  return blank != std::string_view::npos && blank > 0 && line.substr(blank + 1).rfind("error", 0) == 0;
}

// Follows the text written to the log until its first error line.
void watchForError(const char *text, std::size_t length) {
  if (gErrorFound) return;
  if (gLineSoFar.capacity() < kKeptLine) gLineSoFar.reserve(kKeptLine);
  for (std::size_t n = 0; n < length; ++n) {
    if (text[n] != '\n') {
      if (gLineSoFar.size() < kKeptLine) gLineSoFar += text[n];
      continue;
    }
    if (reportsError(gLineSoFar)) {
      gFirstError = gLineSoFar;
      gErrorFound = true;
      return;
    }
    gLineSoFar.clear();
  }
}

// A new log starts a new watch.
void restartErrorWatch() {
  gErrorFound = false;
  gFirstError.clear();
  gLineSoFar.clear();
}

// Without line ends and trailing blanks.
std::string trimmed(std::string_view text) {
  const std::size_t lineEnd = text.find('\n');
  if (lineEnd != std::string_view::npos) text = text.substr(0, lineEnd);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\r' || text.back() == '\t')) text.remove_suffix(1);
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  return std::string(text);
}

// The one console line of an end other than 0 and 1: the first error line of
// the log; without one, the reason this end gives.
void tellConsole(int code, const char *text) {
  std::lock_guard<std::mutex> lock(gLogMutex);
  std::string reason;
  if (gErrorFound) {
    reason = trimmed(gFirstError);
  } else if (reportsError(gLineSoFar)) {
    reason = trimmed(gLineSoFar);  // a message without a line end
  }
  if (reason.empty() && text) reason = trimmed(text);
  if (reason.empty()) reason = "the run stopped without an error line";
  std::fprintf(stderr, "telva: %s (status %d; see boogie)\n", reason.c_str(), code & 255);
}


void appendRaw(const char *text, std::size_t length) {
  std::unique_lock<std::mutex> lock(gLogMutex);
  watchForError(text, length);
  if (gHeldLog) {
    std::fwrite(text, 1, length, gHeldLog);
    return;
  }
  std::FILE *log = std::fopen("boogie", "a");
  if (!log) {
    const int reason = errno;
    lock.unlock();
    endLogUnwritable(reason);
  }
  std::fwrite(text, 1, length, log);
  std::fclose(log);
}

std::string formatText(const char *format, va_list args) {
  va_list copy;
  va_copy(copy, args);
  int length = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  std::string text(length > 0 ? static_cast<std::size_t>(length) : 0, '\0');
  if (length > 0) std::vsnprintf(text.data(), text.size() + 1, format, args);
  return text;
}

}  // namespace

void logText(const char *text) {
  std::string_view view(text);
  appendRaw(view.data(), view.size());
}

void logPrintf(const char *format, ...) {
  va_list args;
  va_start(args, format);
  std::string text = formatText(format, args);
  va_end(args);
  appendRaw(text.data(), text.size());
}

void endLogUnwritable(int reason) {
  setStatus(mc_message, "cannot open file 'boogie' ");
  std::error_code ignored;
  const std::string folder = std::filesystem::current_path(ignored).string();
  std::fprintf(stderr, "telva: cannot write the log 'boogie' in %s: %s\n", folder.c_str(), std::strerror(reason));
  std::fflush(nullptr);
  std::exit(kExitCannotOpen);
}

std::FILE *openLog(const char *mode) {
  std::FILE *log = std::fopen("boogie", mode);
  if (!log) endLogUnwritable(errno);
  if (mode[0] == 'w') restartErrorWatch();
  return log;
}

void setHeldLog(std::FILE *stream) { gHeldLog = stream; }

std::FILE *heldLog() { return gHeldLog; }

void closeHeldLog() {
  if (gHeldLog) std::fclose(gHeldLog);
  gHeldLog = nullptr;
}

namespace {

// The one way the process ends from inside the engine.
[[noreturn]] void endProcess(int code, const char *reason) {
  closeHeldLog();
  if (code != kExitLetterX && code != kExitNormal) tellConsole(code, reason);
  std::fflush(nullptr);
  std::exit(code);
}

}  // namespace

void fatalExit(int code, const char *text, const char *message) {
  if (text) logText(text);
  if (message) setStatus(mc_message, message);
  endProcess(code, text ? text : message);
}

void endRun(int code, const char *reason) { endProcess(code, reason); }

void fatalPrintf(int code, const char *message, const char *format, ...) {
  va_list args;
  va_start(args, format);
  std::string text = formatText(format, args);
  va_end(args);
  fatalExit(code, text.c_str(), message);
}
