// The log "boogie": one routine appends text, one ends the process.
// While the control-file reader holds the log open, text goes to its stream.
#pragma once

#include <cstdio>

// Appends text to "boogie" exactly as given.
void logText(const char *text);

// Appends printf-formatted text to "boogie".
void logPrintf(const char *format, ...) __attribute__((format(printf, 1, 2)));

// Opens "boogie" with the mode ("w" truncates it, "a" appends); when it
// cannot be opened, ends the run as endLogUnwritable does.
std::FILE *openLog(const char *mode);

// Ends the run (-3) when "boogie" itself cannot be opened: the log cannot
// tell, so one line goes to standard error, naming the folder and the
// reason (an errno value), and mc_message says "cannot open file 'boogie' ".
[[noreturn]] void endLogUnwritable(int reason);

// The control-file reader's open log stream (nullptr when none is held open).
void setHeldLog(std::FILE *stream);
std::FILE *heldLog();

// Closes a held log stream, if any.
void closeHeldLog();

// Ends the process: appends text (when not null) to "boogie", sets mc_message
// (when message is not null), closes the held log and exits with code. An
// end other than 0 (letter X) and 1 (every letter did its work) writes one
// line to standard error: "telva: <the first error line of this run's log,
// else the text, else the message> (status <code & 255>; see boogie)".
[[noreturn]] void fatalExit(int code, const char *text, const char *message = nullptr);

// Ends the process with code when what happened is logged already; reason
// stands on the console line when the log holds no error line.
[[noreturn]] void endRun(int code, const char *reason);

// As fatalExit, with a printf-formatted log text.
[[noreturn]] void fatalPrintf(int code, const char *message, const char *format, ...)
    __attribute__((format(printf, 3, 4)));
