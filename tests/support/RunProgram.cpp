#include "tests/support/RunProgram.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace quillet::test {

RunningProgram::RunningProgram(const std::string& program, const std::vector<std::string>& args,
                               const std::string& workDir, const std::vector<std::string>& env) {
  ::signal(SIGPIPE, SIG_IGN);  // the program may exit before reading all input
  int in[2], out[2], err[2];
  if (::pipe2(in, O_CLOEXEC) || ::pipe2(out, O_CLOEXEC) || ::pipe2(err, O_CLOEXEC)) throw std::runtime_error("pipe failed");
  pid_ = ::fork();
  if (pid_ < 0) throw std::runtime_error("fork failed");
  if (pid_ == 0) {
    ::dup2(in[0], 0);
    ::dup2(out[1], 1);
    ::dup2(err[1], 2);
    for (int fd : {in[0], in[1], out[0], out[1], err[0], err[1]}) ::close(fd);
    if (!workDir.empty() && ::chdir(workDir.c_str()) != 0) ::_exit(127);
    // No test reads the Wine prefix of the machine it runs on, unless it asks.
    ::setenv("WINEPREFIX", "/nonexistent-wine-prefix", 1);
    for (const auto& e : env) ::putenv(const_cast<char*>(e.c_str()));
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    ::execv(program.c_str(), argv.data());
    ::_exit(127);
  }
  ::close(in[0]);
  ::close(out[1]);
  ::close(err[1]);
  in_ = in[1];
  out_ = out[0];
  err_ = err[0];
}

RunningProgram::~RunningProgram() {
  if (pid_ > 0) Finish();
}

void RunningProgram::Pump(const std::string& input, size_t& sent, const std::function<bool()>& done) {
  while ((out_ >= 0 || err_ >= 0) && !done()) {
    pollfd fds[3];
    int n = 0;
    if (out_ >= 0) fds[n++] = {out_, POLLIN, 0};
    if (err_ >= 0) fds[n++] = {err_, POLLIN, 0};
    if (in_ >= 0) fds[n++] = {in_, POLLOUT, 0};
    if (::poll(fds, n, -1) < 0) continue;
    for (int i = 0; i < n; ++i) {
      if (!fds[i].revents) continue;
      if (fds[i].fd == in_) {
        const ssize_t w = ::write(in_, input.data() + sent, input.size() - sent);
        if (w > 0) sent += static_cast<size_t>(w);
        if (w <= 0 || sent == input.size()) {
          ::close(in_);
          in_ = -1;
        }
        continue;
      }
      char buf[4096];
      const ssize_t got = ::read(fds[i].fd, buf, sizeof buf);
      const bool isOut = fds[i].fd == out_;
      if (got > 0) {
        (isOut ? result_.Out : result_.Err).append(buf, static_cast<size_t>(got));
      } else {
        ::close(fds[i].fd);
        (isOut ? out_ : err_) = -1;
      }
    }
  }
}

bool RunningProgram::WaitForError(const std::string& text) {
  size_t sent = 0;
  if (in_ >= 0) {
    ::close(in_);
    in_ = -1;
  }
  Pump("", sent, [&] { return result_.Err.find(text) != std::string::npos; });
  return result_.Err.find(text) != std::string::npos;
}

ProgramResult RunningProgram::Finish(const std::string& input) {
  size_t sent = 0;
  if (input.empty() && in_ >= 0) {
    ::close(in_);
    in_ = -1;
  }
  Pump(input, sent, [] { return false; });
  if (in_ >= 0) ::close(in_);
  in_ = -1;
  int status = 0;
  ::waitpid(pid_, &status, 0);
  pid_ = -1;
  result_.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return result_;
}

ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                         const std::string& input, const std::string& workDir,
                         const std::vector<std::string>& env) {
  return RunningProgram(program, args, workDir, env).Finish(input);
}

ProgramResult RunQuillet(const std::vector<std::string>& args, const std::string& input,
                         const std::string& workDir, const std::vector<std::string>& env) {
  return RunProgram(QUILLET_BINARY, args, input, workDir, env);
}

std::string PortableCopy(const std::string& dir) {
  const std::string target = dir + "/quillet";
  std::filesystem::copy_file(QUILLET_BINARY, target,
                             std::filesystem::copy_options::overwrite_existing);
  return target;
}

}  // namespace quillet::test
