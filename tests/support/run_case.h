// Runs the built engine in a fresh temporary folder and returns what it left:
// the status as the shell sees it, its console output and every file.
#pragma once

#include <map>
#include <ostream>
#include <string>
#include <vector>

struct CaseSetup {
  std::map<std::string, std::string> files;           // name -> bytes
  std::vector<std::string> directories;               // folders to create under a name
  std::map<std::string, std::string> links;           // name -> link target (may dangle)
  std::map<std::string, std::string> environment;     // extra variables, e.g. OMP_NUM_THREADS
  long addressSpaceLimit = 0;                         // bytes, 0 for none
  double timeLimit = 0;                               // seconds of wall clock, 0 for none
};

struct CaseResult {
  int status = -1;                                    // exit status & 255, -1 when killed
  int signal = 0;                                     // the signal that ended the run, 0 for none
  bool timedOut = false;                              // killed after the time limit
  double seconds = 0;                                 // wall clock of the run
  std::string stdoutText, stderrText;
  std::map<std::string, std::string> files;           // every regular file left in the folder

  // The file's bytes, or "" when it does not exist.
  std::string file(const std::string &name) const;
  bool has(const std::string &name) const { return files.count(name) > 0; }
};

// Runs telva with the setup in a new folder under the system's temp folder.
CaseResult runCase(const CaseSetup &setup);

// Runs telva with only "control" holding the given text.
CaseResult runControl(const std::string &controlText);

// The bytes of a file of a case folder under cases/.
std::string caseFile(const std::string &caseName, const std::string &fileName);

// Runs the "control" and "koosurf" of a case folder under cases/ as they are.
CaseResult runCaseFolder(const std::string &caseName);

// True when text ends with the given tail.
bool endsWith(const std::string &text, const std::string &tail);

// The two lines every log starts with.
inline const std::string kLogHeader = "TELVA 2.586 output file. 4. June 2024.\nIn kread \n\n";

// The lines of a text, without their line ends.
std::vector<std::string> linesOf(const std::string &text);

// The numbers of one line of text, up to the first word that is not one.
std::vector<double> numbersOf(const std::string &line);

// The text n times over.
std::string repeated(const std::string &text, int n);

// A "koosurf" text with the line of one grid point replaced by the given
// line, which starts with that point's i and j.
std::string withPoint(const std::string &koosurf, const std::string &line);

// One run of the engine on a control text, judged by status and the whole log.
struct LogCase {
  const char *name;
  std::string control;
  int status;
  std::string log;  // the whole log after the header
  friend void PrintTo(const LogCase &c, std::ostream *os) { *os << c.name; }
};

// Runs the case and checks status, log and the console.
void expectLogCase(const LogCase &c);

// The one line a failed run writes to standard error.
std::string failureLine(const std::string &reason, int status);

// The console of a run: silent after 0 and 1; after any other status, the
// one failure line naming the first error line of the log (or, without one,
// the log's last line).
void expectConsole(const CaseResult &r);

// Checks that text holds every part, one after the other.
void expectInOrder(const std::string &text, const std::vector<std::string> &parts);
