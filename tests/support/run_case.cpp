// The end-to-end runner: fork, set the folder, the environment and limits,
// exec the engine with empty standard input, then read back every file.
#include "support/run_case.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace {

std::string readAll(const fs::path &path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

void writeAll(const fs::path &path, const std::string &bytes) {
  std::ofstream out(path, std::ios::binary);
  out << bytes;
}

}  // namespace

std::string CaseResult::file(const std::string &name) const {
  auto it = files.find(name);
  return it == files.end() ? std::string() : it->second;
}

CaseResult runCase(const CaseSetup &setup) {
  std::string pattern = (fs::temp_directory_path() / "telva-case-XXXXXX").string();
  if (!mkdtemp(pattern.data())) std::abort();
  fs::path folder(pattern);
  fs::path work = folder / "work";
  fs::create_directory(work);
  for (const auto &[name, bytes] : setup.files) writeAll(work / name, bytes);
  for (const auto &name : setup.directories) fs::create_directories(work / name);
  for (const auto &[name, target] : setup.links) fs::create_symlink(target, work / name);

  fs::path outPath = folder / "stdout", errPath = folder / "stderr";
  pid_t pid = fork();
  if (pid == 0) {
    if (chdir(work.c_str()) != 0) _exit(127);
    int in = open("/dev/null", O_RDONLY);
    int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    dup2(in, 0);
    dup2(out, 1);
    dup2(err, 2);
    for (const auto &[name, value] : setup.environment) setenv(name.c_str(), value.c_str(), 1);
    // A sanitized engine reserves its shadow memory in the address space; its
    // own allocator limits stand in for the address-space limit there.
#if !defined(__SANITIZE_ADDRESS__)
    if (setup.addressSpaceLimit > 0) {
      rlimit limit{static_cast<rlim_t>(setup.addressSpaceLimit), static_cast<rlim_t>(setup.addressSpaceLimit)};
      setrlimit(RLIMIT_AS, &limit);
    }
#endif
    execl(TELVA_BINARY, "telva", static_cast<char *>(nullptr));
    _exit(127);
  }
  int raw = 0;
  CaseResult result;
  const auto start = std::chrono::steady_clock::now();
  auto elapsed = [&] { return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(); };
  if (setup.timeLimit > 0) {
    while (waitpid(pid, &raw, WNOHANG) == 0) {
      if (elapsed() > setup.timeLimit) {
        kill(pid, SIGKILL);
        waitpid(pid, &raw, 0);
        result.timedOut = true;
        break;
      }
      usleep(2000);
    }
  } else {
    waitpid(pid, &raw, 0);
  }
  result.seconds = elapsed();
  result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  if (WIFSIGNALED(raw) && !result.timedOut) result.signal = WTERMSIG(raw);
  result.stdoutText = readAll(outPath);
  result.stderrText = readAll(errPath);
  for (const auto &entry : fs::directory_iterator(work)) {
    // A link the setup made is no file the run left (it may stand for a device
    // or a file of a terabyte).
    if (entry.is_regular_file() && !entry.is_symlink()) {
      result.files[entry.path().filename().string()] = readAll(entry.path());
    }
  }
  std::error_code ignored;
  fs::remove_all(folder, ignored);
  return result;
}

CaseResult runControl(const std::string &controlText) {
  CaseSetup setup;
  setup.files["control"] = controlText;
  return runCase(setup);
}

std::string caseFile(const std::string &caseName, const std::string &fileName) {
  return readAll(fs::path(TELVA_CASES_DIR) / caseName / fileName);
}

CaseResult runCaseFolder(const std::string &caseName) {
  CaseSetup setup;
  setup.files["control"] = caseFile(caseName, "control");
  setup.files["koosurf"] = caseFile(caseName, "koosurf");
  return runCase(setup);
}

bool endsWith(const std::string &text, const std::string &tail) {
  return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

std::string repeated(const std::string &text, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += text;
  return out;
}

std::string withPoint(const std::string &koosurf, const std::string &line) {
  std::istringstream fields(line);
  int i = 0, j = 0;
  fields >> i >> j;
  std::string out;
  for (const std::string &old : linesOf(koosurf)) {
    std::istringstream oldFields(old);
    int oi = 0, oj = 0;
    oldFields >> oi >> oj;
    out += oi == i && oj == j ? line : old + "\n";
  }
  return out;
}

void expectLogCase(const LogCase &c) {
  CaseResult r = runControl(c.control);
  EXPECT_EQ(r.status, c.status) << "control: " << c.control.substr(0, 200);
  EXPECT_EQ(r.file("boogie"), kLogHeader + c.log) << "control: " << c.control.substr(0, 200);
  expectConsole(r);
}

std::string failureLine(const std::string &reason, int status) {
  return "telva: " + reason + " (status " + std::to_string(status) + "; see boogie)\n";
}

void expectConsole(const CaseResult &r) {
  EXPECT_EQ(r.stdoutText, "");
  if (r.status == 0 || r.status == 1) {
    EXPECT_EQ(r.stderrText, "");
    return;
  }
  // The first line of the log that reports an error, when there is one.
  for (std::string line : linesOf(r.file("boogie"))) {
    while (!line.empty() && (line.back() == ' ' || line.back() == '\r')) line.pop_back();
    const std::size_t blank = line.find(' ');
    if (line.rfind("Error", 0) == 0 ||
        (blank != std::string::npos && blank > 0 && line.compare(blank + 1, 5, "error") == 0)) {
      EXPECT_EQ(r.stderrText, failureLine(line, r.status)) << r.file("boogie");
      return;
    }
  }
  const std::string tail = failureLine("", r.status).substr(7);
  EXPECT_EQ(r.stderrText.rfind("telva: ", 0), 0u) << r.stderrText;
  EXPECT_TRUE(endsWith(r.stderrText, tail)) << r.stderrText;
  EXPECT_EQ(r.stderrText.find('\n'), r.stderrText.size() - 1) << r.stderrText;
}

std::vector<double> numbersOf(const std::string &line) {
  std::vector<double> values;
  std::istringstream in(line);
  for (double v; in >> v;) values.push_back(v);
  return values;
}

std::vector<std::string> linesOf(const std::string &text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

void expectInOrder(const std::string &text, const std::vector<std::string> &parts) {
  size_t at = 0;
  for (const std::string &part : parts) {
    at = text.find(part, at);
    ASSERT_NE(at, std::string::npos) << "missing, or out of order: " << part << "\n" << text;
    at += part.size();
  }
}
