#include "sim_process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace sfigmo::test {

SimProcess::SimProcess(const std::string& program, const std::vector<std::string>& args)
    : SimProcess(program, args, Options{}) {}

SimProcess::SimProcess(const std::string& program, const std::vector<std::string>& args,
                       Options options)
    : options_(options) {
  // Everything the child needs is made before fork: the parent has threads,
  // so the child may not allocate.
  std::vector<char*> argv{const_cast<char*>(program.c_str())};
  for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  if (options_.captureErrors) errors_ = memfd_create("sim-stderr", MFD_CLOEXEC);
  int in[2], out[2];
  if (pipe2(in, O_CLOEXEC) != 0) return;
  if (pipe2(out, O_CLOEXEC) != 0) {
    close(in[0]);
    close(in[1]);
    return;
  }
  pid_ = fork();
  if (pid_ == 0) {
    dup2(in[0], STDIN_FILENO);
    dup2(out[1], STDOUT_FILENO);
    if (errors_ >= 0) dup2(errors_, STDERR_FILENO);
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  close(in[0]);
  close(out[1]);
  stdin_ = in[1];
  FILE* f = fdopen(out[0], "r");
  char line[256] = {};
  if (f != nullptr && std::fgets(line, sizeof line, f) != nullptr) {
    path_ = line;
    while (!path_.empty() && (path_.back() == '\n' || path_.back() == '\r')) path_.pop_back();
  }
  if (f != nullptr) std::fclose(f);
  if (options_.exportPort && !path_.empty()) setenv("SENSORDRV_PORT", path_.c_str(), 1);
}

SimProcess::~SimProcess() {
  if (options_.exportPort) unsetenv("SENSORDRV_PORT");
  if (options_.killAtEnd)
    Kill();
  else
    Stop();
  if (errors_ >= 0) close(errors_);
}

std::string SimProcess::Errors() const {
  std::string text;
  if (errors_ < 0) return text;
  char buf[4096];
  for (off_t at = 0;;) {
    const ssize_t n = pread(errors_, buf, sizeof buf, at);
    if (n <= 0) break;
    text.append(buf, static_cast<std::size_t>(n));
    at += n;
  }
  return text;
}

void SimProcess::Stop() {
  if (stdin_ >= 0) close(stdin_);
  stdin_ = -1;
  Reap();
}

void SimProcess::Kill() {
  if (pid_ > 0) kill(pid_, SIGKILL);
  Stop();
}

void SimProcess::Reap() {
  if (pid_ > 0) waitpid(pid_, nullptr, 0);
  pid_ = -1;
}

}  // namespace sfigmo::test
