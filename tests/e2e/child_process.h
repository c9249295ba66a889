// Child processes for the display test, every wait bounded: a program that hangs is stopped, and
// the test fails instead of hanging with it.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

using Milliseconds = std::chrono::milliseconds;

class ChildProcess {
 public:
  // Starts argv[0] (looked up in PATH) with the environment plus `environment` ("NAME=value").
  // With `readOutput`, its standard output comes back through ReadLine. `passFd`, when not -1,
  // becomes the child's descriptor 3.
  static std::optional<ChildProcess> Start(const std::vector<std::string>& argv,
                                           const std::vector<std::string>& environment = {},
                                           bool readOutput = false, int passFd = -1);

  ChildProcess(ChildProcess&& other) noexcept;
  ChildProcess& operator=(ChildProcess&& other) noexcept;
  ~ChildProcess();

  // The next line of output, without its newline; nothing when none came in time or the output
  // ended.
  std::optional<std::string> ReadLine(Milliseconds timeout);
  // The exit status (or 128 + signal) once the child ended; nothing when it is still running.
  std::optional<int> Wait(Milliseconds timeout);
  void Signal(int signal);
  // Asks the child to end, then makes it.
  void Stop();

 private:
  ChildProcess(pid_t pid, int output) : pid_(pid), output_(output) {}

  pid_t pid_ = -1;
  int output_ = -1;
  std::string pending_;
  std::optional<int> status_;
};

// Runs a command to its end; its standard output, or nothing when it failed or took too long.
std::optional<std::string> RunCommand(const std::vector<std::string>& argv,
                                      const std::vector<std::string>& environment,
                                      Milliseconds timeout);

}  // namespace e2e
