#pragma once
// Runs sensor-sim as a child process for tests and benchmarks: reads the
// pseudo-terminal path from its first line; closing its stdin ends it.

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

class SimProcess {
 public:
  SimProcess(const std::string& program, const std::vector<std::string>& args) {
    int in[2], out[2];
    if (pipe2(in, O_CLOEXEC) != 0 || pipe2(out, O_CLOEXEC) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      dup2(in[0], STDIN_FILENO);
      dup2(out[1], STDOUT_FILENO);
      close(in[1]);
      close(out[0]);
      std::vector<char*> argv{const_cast<char*>(program.c_str())};
      for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
      argv.push_back(nullptr);
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
  }
  ~SimProcess() { Stop(); }
  SimProcess(const SimProcess&) = delete;
  SimProcess& operator=(const SimProcess&) = delete;

  const std::string& Path() const { return path_; }
  bool Running() const { return pid_ > 0; }

  // Ends it the polite way: stdin closes.
  void Stop() {
    if (stdin_ >= 0) close(stdin_);
    stdin_ = -1;
    Reap();
  }
  // Ends it at once, as an unplugged sensor.
  void Kill() {
    if (pid_ > 0) kill(pid_, SIGKILL);
    Stop();
  }

 private:
  void Reap() {
    if (pid_ > 0) waitpid(pid_, nullptr, 0);
    pid_ = -1;
  }
  pid_t pid_ = -1;
  int stdin_ = -1;
  std::string path_;
};
