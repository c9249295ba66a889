// quasarball-scores as a child process on a free loopback port, its log in a file, every wait
// bounded so a hanging server fails the test instead of hanging it.
#pragma once

#include <sys/types.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace scores_test {

struct Finished {
  int Status = -1;  // -1 when it could not start or did not end in time (it is then killed)
  std::string Output;
};

class ScoresProcess {
 public:
  // Starts the server on 127.0.0.1 with a port of its choosing and waits for it to listen;
  // nothing when it did not come up within a few seconds.
  static std::unique_ptr<ScoresProcess> Start(const std::string& database,
                                              const std::vector<std::string>& extraArgs,
                                              const std::string& logPath);
  ~ScoresProcess();
  ScoresProcess(const ScoresProcess&) = delete;
  ScoresProcess& operator=(const ScoresProcess&) = delete;

  int Port() const { return port_; }
  void Signal(int signal);
  // The exit status (or 128 + signal); nothing when it is still running after `seconds`.
  std::optional<int> Wait(double seconds);

 private:
  friend Finished Run(const std::vector<std::string>& argv, double seconds);
  ScoresProcess(pid_t pid, int port) : pid_(pid), port_(port) {}

  pid_t pid_ = -1;
  int port_ = 0;
  std::optional<int> status_;
};

// Runs argv[0] (a path) to its end, at most `seconds`; its exit status and standard output.
Finished Run(const std::vector<std::string>& argv, double seconds);
// Runs the server binary with `args`.
Finished RunScores(const std::vector<std::string>& args);

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::string& Path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

}  // namespace scores_test
