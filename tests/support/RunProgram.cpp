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

ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                         const std::string& input, const std::string& workDir,
                         const std::vector<std::string>& env) {
  ::signal(SIGPIPE, SIG_IGN);  // the program may exit before reading all input
  int in[2], out[2], err[2];
  if (::pipe(in) || ::pipe(out) || ::pipe(err)) throw std::runtime_error("pipe failed");
  const pid_t pid = ::fork();
  if (pid < 0) throw std::runtime_error("fork failed");
  if (pid == 0) {
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
  ProgramResult r;
  size_t sent = 0;
  if (input.empty()) ::close(in[1]);
  bool inOpen = !input.empty(), outOpen = true, errOpen = true;
  while (outOpen || errOpen) {
    pollfd fds[3];
    int n = 0;
    if (outOpen) fds[n++] = {out[0], POLLIN, 0};
    if (errOpen) fds[n++] = {err[0], POLLIN, 0};
    if (inOpen) fds[n++] = {in[1], POLLOUT, 0};
    if (::poll(fds, n, -1) < 0) continue;
    for (int i = 0; i < n; ++i) {
      if (!fds[i].revents) continue;
      if (fds[i].fd == in[1]) {
        const ssize_t w = ::write(in[1], input.data() + sent, input.size() - sent);
        if (w > 0) sent += static_cast<size_t>(w);
        if (w <= 0 || sent == input.size()) {
          ::close(in[1]);
          inOpen = false;
        }
        continue;
      }
      char buf[4096];
      const ssize_t got = ::read(fds[i].fd, buf, sizeof buf);
      std::string& dest = fds[i].fd == out[0] ? r.Out : r.Err;
      if (got > 0) {
        dest.append(buf, static_cast<size_t>(got));
      } else {
        ::close(fds[i].fd);
        (fds[i].fd == out[0] ? outOpen : errOpen) = false;
      }
    }
  }
  if (inOpen) ::close(in[1]);
  int status = 0;
  ::waitpid(pid, &status, 0);
  r.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return r;
}

ProgramResult RunQuillet(const std::vector<std::string>& args, const std::string& input,
                         const std::string& workDir, const std::vector<std::string>& env) {
  return RunProgram(QUILLET_BINARY, args, input, workDir, env);
}

}  // namespace quillet::test

namespace quillet::test {

std::string PortableCopy(const std::string& dir) {
  const std::string target = dir + "/quillet";
  std::filesystem::copy_file(QUILLET_BINARY, target,
                             std::filesystem::copy_options::overwrite_existing);
  return target;
}

}  // namespace quillet::test
