// Appending to "boogie" and ending the process. Every message of every
// subsystem passes through here; nothing is printed to the console but the
// one line that says the log itself cannot be opened.
#include "base/log.h"

#include <cerrno>
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <string>

#include "model/status.h"
#include "base/exit_codes.h"

namespace {

std::FILE *gHeldLog = nullptr;

// Worker threads of the stage regions may report while the main thread
// logs: every append is whole and in one piece.
std::mutex gLogMutex;


void appendRaw(const char *text, std::size_t length) {
  std::unique_lock<std::mutex> lock(gLogMutex);
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
  return log;
}

void setHeldLog(std::FILE *stream) { gHeldLog = stream; }

std::FILE *heldLog() { return gHeldLog; }

void closeHeldLog() {
  if (gHeldLog) std::fclose(gHeldLog);
  gHeldLog = nullptr;
}

void fatalExit(int code, const char *text, const char *message) {
  if (text) logText(text);
  if (message) setStatus(mc_message, message);
  closeHeldLog();
  std::fflush(nullptr);
  std::exit(code);
}

void fatalPrintf(int code, const char *message, const char *format, ...) {
  va_list args;
  va_start(args, format);
  std::string text = formatText(format, args);
  va_end(args);
  fatalExit(code, text.c_str(), message);
}
