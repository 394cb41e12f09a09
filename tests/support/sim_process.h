#pragma once
// sensor-sim (or another program that names its port on the first line) as a
// child process: the pseudo-terminal's path is read from its first stdout
// line; closing its stdin ends it.

#include <sys/types.h>

#include <string>
#include <vector>

namespace sfigmo::test {

class SimProcess {
 public:
  struct Options {
    bool exportPort = false;     // SENSORDRV_PORT names the port while it runs
    bool captureErrors = false;  // stderr kept for Errors() instead of shown
    bool killAtEnd = false;      // the destructor kills instead of closing stdin
  };

  SimProcess(const std::string& program, const std::vector<std::string>& args);
  SimProcess(const std::string& program, const std::vector<std::string>& args, Options options);
  ~SimProcess();
  SimProcess(const SimProcess&) = delete;
  SimProcess& operator=(const SimProcess&) = delete;

  const std::string& Path() const { return path_; }
  bool Started() const { return !path_.empty(); }
  bool Running() const { return pid_ > 0; }
  // What it wrote on stderr so far (only with captureErrors).
  std::string Errors() const;

  // Ends it the polite way: stdin closes.
  void Stop();
  // Ends it at once, as an unplugged sensor.
  void Kill();

 private:
  void Reap();

  Options options_;
  pid_t pid_ = -1;
  int stdin_ = -1;
  int errors_ = -1;
  std::string path_;
};

}  // namespace sfigmo::test
