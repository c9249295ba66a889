#include "scores_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

extern char** environ;

namespace scores_test {
namespace {

using Clock = std::chrono::steady_clock;

// Spawns the server with its standard output on a pipe and its standard error in `logPath`
// (or the test's own standard error when empty).
pid_t Spawn(const std::vector<std::string>& argv, const std::string& logPath, int* output) {
  int pipeFds[2];
  if (pipe2(pipeFds, O_CLOEXEC) != 0) {
    return -1;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
  if (!logPath.empty()) {
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, logPath.c_str(),
                                     O_WRONLY | O_CREAT | O_APPEND, 0644);
  }
  std::vector<std::string> args = argv;
  std::vector<char*> pointers;
  for (std::string& arg : args) {
    pointers.push_back(arg.data());
  }
  pointers.push_back(nullptr);
  pid_t pid = -1;
  const int failed =
      posix_spawn(&pid, args[0].c_str(), &actions, nullptr, pointers.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(pipeFds[1]);
  if (failed != 0) {
    close(pipeFds[0]);
    return -1;
  }
  *output = pipeFds[0];
  return pid;
}

// Reads until end of file or `seconds` have passed.
std::string ReadAll(int fd, double seconds) {
  const auto deadline = Clock::now() + std::chrono::duration<double>(seconds);
  std::string text;
  char buffer[4096];
  while (Clock::now() < deadline) {
    pollfd poller{fd, POLLIN, 0};
    if (poll(&poller, 1, 50) <= 0) {
      continue;
    }
    const ssize_t got = read(fd, buffer, sizeof buffer);
    if (got <= 0) {
      break;
    }
    text.append(buffer, static_cast<size_t>(got));
  }
  return text;
}

}  // namespace

std::unique_ptr<ScoresProcess> ScoresProcess::Start(const std::string& database,
                                                    const std::vector<std::string>& extraArgs,
                                                    const std::string& logPath) {
  std::vector<std::string> args = {QB_SCORES_PROGRAM, "--listen", "127.0.0.1:0", "--db", database};
  args.insert(args.end(), extraArgs.begin(), extraArgs.end());
  int output = -1;
  const pid_t pid = Spawn(args, logPath, &output);
  if (pid < 0) {
    return nullptr;
  }
  std::string line;
  const auto deadline = Clock::now() + std::chrono::seconds(10);
  char c = 0;
  while (Clock::now() < deadline && line.find('\n') == std::string::npos) {
    pollfd poller{output, POLLIN, 0};
    if (poll(&poller, 1, 50) > 0) {
      if (read(output, &c, 1) != 1) {
        break;
      }
      line.push_back(c);
    }
  }
  close(output);
  std::unique_ptr<ScoresProcess> process(new ScoresProcess(pid, 0));
  const size_t colon = line.rfind(':');
  if (line.find("listening on 127.0.0.1:") == std::string::npos || colon == std::string::npos) {
    return nullptr;
  }
  process->port_ = std::stoi(line.substr(colon + 1));
  return process;
}

ScoresProcess::~ScoresProcess() {
  if (!status_) {
    Signal(SIGKILL);
    Wait(10);
  }
}

void ScoresProcess::Signal(int signal) {
  if (!status_) {
    kill(pid_, signal);
  }
}

std::optional<int> ScoresProcess::Wait(double seconds) {
  const auto deadline = Clock::now() + std::chrono::duration<double>(seconds);
  while (!status_) {
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
      status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      break;
    }
    if (Clock::now() >= deadline) {
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return status_;
}

Finished Run(const std::vector<std::string>& argv, double seconds) {
  int output = -1;
  const pid_t pid = Spawn(argv, "/dev/null", &output);
  if (pid < 0) {
    return {};
  }
  Finished finished;
  finished.Output = ReadAll(output, seconds);
  close(output);
  ScoresProcess child(pid, 0);
  finished.Status = child.Wait(1).value_or(-1);
  return finished;
}

Finished RunScores(const std::vector<std::string>& args) {
  std::vector<std::string> argv = {QB_SCORES_PROGRAM};
  argv.insert(argv.end(), args.begin(), args.end());
  return Run(argv, 10);
}

TempFolder::TempFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "qb-scores-XXXXXX").string();
  path_ = mkdtemp(pattern.data()) ? pattern : std::string();
}

TempFolder::~TempFolder() {
  if (!path_.empty()) {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
}

}  // namespace scores_test
