#include "child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <thread>
#include <utility>

extern char** environ;

namespace e2e {
namespace {

using Clock = std::chrono::steady_clock;

std::vector<std::string> MergedEnvironment(const std::vector<std::string>& overrides) {
  std::vector<std::string> merged;
  for (char** entry = environ; *entry; ++entry) {
    const std::string line(*entry);
    const std::string name = line.substr(0, line.find('='));
    bool replaced = false;
    for (const std::string& o : overrides) {
      replaced = replaced || o.substr(0, o.find('=')) == name;
    }
    if (!replaced) {
      merged.push_back(line);
    }
  }
  merged.insert(merged.end(), overrides.begin(), overrides.end());
  return merged;
}

std::vector<char*> Pointers(std::vector<std::string>& strings) {
  std::vector<char*> pointers;
  for (std::string& s : strings) {
    pointers.push_back(s.data());
  }
  pointers.push_back(nullptr);
  return pointers;
}

}  // namespace

std::optional<ChildProcess> ChildProcess::Start(const std::vector<std::string>& argv,
                                                const std::vector<std::string>& environment,
                                                bool readOutput, int passFd) {
  int pipeFds[2] = {-1, -1};
  if (readOutput && pipe2(pipeFds, O_CLOEXEC) != 0) {
    return std::nullopt;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (readOutput) {
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
  }
  if (passFd >= 0) {
    posix_spawn_file_actions_adddup2(&actions, passFd, 3);
  }
  std::vector<std::string> args = argv;
  std::vector<std::string> env = MergedEnvironment(environment);
  const std::vector<char*> argp = Pointers(args);
  const std::vector<char*> envp = Pointers(env);
  pid_t pid = -1;
  const int failed =
      posix_spawnp(&pid, args[0].c_str(), &actions, nullptr, argp.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  if (readOutput) {
    close(pipeFds[1]);
  }
  if (failed != 0) {
    if (readOutput) {
      close(pipeFds[0]);
    }
    return std::nullopt;
  }
  return ChildProcess(pid, readOutput ? pipeFds[0] : -1);
}

ChildProcess::ChildProcess(ChildProcess&& other) noexcept
    : pid_(other.pid_),
      output_(other.output_),
      pending_(std::move(other.pending_)),
      status_(other.status_) {
  other.pid_ = -1;
  other.output_ = -1;
}

ChildProcess& ChildProcess::operator=(ChildProcess&& other) noexcept {
  if (this != &other) {
    Stop();
    if (output_ >= 0) {
      close(output_);
    }
    pid_ = std::exchange(other.pid_, -1);
    output_ = std::exchange(other.output_, -1);
    pending_ = std::move(other.pending_);
    status_ = other.status_;
  }
  return *this;
}

ChildProcess::~ChildProcess() {
  Stop();
  if (output_ >= 0) {
    close(output_);
  }
}

std::optional<std::string> ChildProcess::ReadLine(Milliseconds timeout) {
  const auto deadline = Clock::now() + timeout;
  for (;;) {
    if (const size_t end = pending_.find('\n'); end != std::string::npos) {
      std::string line = pending_.substr(0, end);
      pending_.erase(0, end + 1);
      return line;
    }
    const auto left = std::chrono::duration_cast<Milliseconds>(deadline - Clock::now());
    if (output_ < 0 || left.count() <= 0) {
      return std::nullopt;
    }
    pollfd poller{output_, POLLIN, 0};
    if (poll(&poller, 1, static_cast<int>(left.count())) <= 0) {
      return std::nullopt;
    }
    char buffer[4096];
    const ssize_t got = read(output_, buffer, sizeof buffer);
    if (got <= 0) {
      close(output_);
      output_ = -1;
      continue;
    }
    pending_.append(buffer, static_cast<size_t>(got));
  }
}

std::optional<int> ChildProcess::Wait(Milliseconds timeout) {
  const auto deadline = Clock::now() + timeout;
  while (!status_ && pid_ > 0) {
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
      status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      break;
    }
    if (Clock::now() >= deadline) {
      break;
    }
    std::this_thread::sleep_for(Milliseconds(10));
  }
  return status_;
}

void ChildProcess::Signal(int signal) {
  if (pid_ > 0 && !status_) {
    kill(pid_, signal);
  }
}

void ChildProcess::Stop() {
  if (pid_ <= 0 || status_) {
    return;
  }
  Signal(SIGTERM);
  if (!Wait(Milliseconds(5000))) {
    Signal(SIGKILL);
    Wait(Milliseconds(5000));
  }
}

std::optional<std::string> RunCommand(const std::vector<std::string>& argv,
                                      const std::vector<std::string>& environment,
                                      Milliseconds timeout) {
  auto child = ChildProcess::Start(argv, environment, true);
  if (!child) {
    return std::nullopt;
  }
  const auto deadline = Clock::now() + timeout;
  std::string output;
  while (Clock::now() < deadline) {
    const auto line =
        child->ReadLine(std::chrono::duration_cast<Milliseconds>(deadline - Clock::now()));
    if (!line) {
      break;
    }
    output += *line + "\n";
  }
  const auto status = child->Wait(
      std::max(Milliseconds(0), std::chrono::duration_cast<Milliseconds>(deadline - Clock::now())));
  if (!status || *status != 0) {
    return std::nullopt;
  }
  return output;
}

}  // namespace e2e
