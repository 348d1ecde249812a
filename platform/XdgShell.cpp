#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>

#include "platform/AsciiCase.h"
#include "platform/Shell.h"

extern char** environ;

namespace quillet {

namespace {

bool IsRunnableFile(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

// The full name of the program, searched in PATH as a shell would; empty when
// there is none.
std::string FindProgram(const std::string& program) {
  if (program.empty()) return std::string();
  if (program.find('/') != std::string::npos) return IsRunnableFile(program) ? program : std::string();
  const char* env = std::getenv("PATH");
  const std::string path = env ? env : "/usr/local/bin:/usr/bin:/bin";
  for (size_t start = 0; start <= path.size();) {
    size_t end = path.find(':', start);
    if (end == std::string::npos) end = path.size();
    // An empty entry stands for the current folder.
    const std::string dir = end > start ? path.substr(start, end - start) : std::string(".");
    start = end + 1;
    const std::string candidate = dir + "/" + program;
    if (IsRunnableFile(candidate)) return candidate;
  }
  return std::string();
}

bool PathExists(const std::string& path) {
  struct stat st {};
  return !path.empty() && ::stat(path.c_str(), &st) == 0;
}

}  // namespace

bool HasUrlScheme(const std::string& text) {
  if (text.empty() || !IsAsciiLetter(text[0])) return false;
  for (size_t i = 1; i < text.size(); ++i) {
    const char c = text[i];
    if (c == ':') return i >= 2;
    if (!IsAsciiLetter(c) && !(c >= '0' && c <= '9') && c != '+' && c != '-' && c != '.') return false;
  }
  return false;
}

bool StartDetached(const std::string& program, const std::vector<std::string>& args) {
  const std::string path = FindProgram(program);
  if (path.empty()) return false;
  // Everything the children need is made here: between fork and exec only
  // async-signal-safe calls are allowed.
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);

  // The grandchild reports a failed exec through the pipe; a successful exec
  // closes it (close-on-exec) without a word.
  int report[2];
  if (::pipe2(report, O_CLOEXEC) != 0) return false;
  const pid_t child = ::fork();
  if (child < 0) {
    ::close(report[0]);
    ::close(report[1]);
    return false;
  }
  if (child == 0) {
    ::close(report[0]);
    const pid_t grandchild = ::fork();
    if (grandchild != 0) {
      if (grandchild < 0) {
        const int e = errno;
        [[maybe_unused]] auto n = ::write(report[1], &e, sizeof e);
      }
      ::_exit(0);
    }
    ::setsid();
    // The program starts as from a fresh shell: no signal ignored or blocked
    // on our account.
    struct sigaction dfl {};
    dfl.sa_handler = SIG_DFL;
    for (int sig : {SIGPIPE, SIGINT, SIGQUIT, SIGTERM, SIGCHLD}) ::sigaction(sig, &dfl, nullptr);
    sigset_t none;
    sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    const int devnull = ::open("/dev/null", O_RDONLY);
    if (devnull > 0) {
      ::dup2(devnull, 0);
      ::close(devnull);
    }
    ::execve(path.c_str(), argv.data(), environ);
    const int e = errno;
    [[maybe_unused]] auto n = ::write(report[1], &e, sizeof e);
    ::_exit(127);
  }
  ::close(report[1]);
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  int err = 0;
  ssize_t got;
  while ((got = ::read(report[0], &err, sizeof err)) < 0 && errno == EINTR) {
  }
  ::close(report[0]);
  return got == 0;
}

bool XdgShell::Open(const std::string& target) {
  if (HasUrlScheme(target)) return StartDetached(opener_, {target});
  // A local file: the opener would only report a missing one later, on its own.
  if (!PathExists(target)) return false;
  // A name starting with "-" must not be taken for an option of the opener.
  return StartDetached(opener_, {target[0] == '-' ? "./" + target : target});
}

bool XdgShell::Explore(const std::string& folder) {
  struct stat st {};
  if (::stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return false;
  return Open(folder);
}

bool XdgShell::StartProgram(const std::string& program, const std::string&) { return Open(program); }

bool XdgShell::ShowHelp(const std::string& page) { return Open(page); }

}  // namespace quillet
