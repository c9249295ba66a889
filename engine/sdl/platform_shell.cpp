// Opening links and files with the desktop's opener.
#include <fcntl.h>
#include <spawn.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "engine/paths.h"
#include "engine/platform.h"

extern char** environ;

namespace {

// What ShellExecuteA returns: above 32 when the opener was started, an error code otherwise.
constexpr intptr_t kStarted = 42;
constexpr intptr_t kFileNotFound = 2;

// Openers we started and have not reaped yet; each call reaps those that have finished, so none
// lingers as a zombie and we never wait for one.
std::vector<pid_t>& Openers() {
  static std::vector<pid_t> openers;
  return openers;
}

void ReapFinishedOpeners() {
  auto& openers = Openers();
  openers.erase(std::remove_if(openers.begin(), openers.end(),
                               [](pid_t pid) { return waitpid(pid, nullptr, WNOHANG) != 0; }),
                openers.end());
}

// A URL or a mailto: link goes to the opener as it is; anything else is a file of the program's.
bool IsLink(std::string_view target) {
  return target.find("://") != std::string_view::npos || target.starts_with("mailto:");
}

}  // namespace

intptr_t ShellExecuteA(HWND, const char*, const char* file, const char*, const char*, int32_t) {
  ReapFinishedOpeners();
  if (!file || *file == '\0') {
    return kFileNotFound;
  }
  const std::string target = IsLink(file) ? std::string(file) : ProgramPath(file).string();
  std::string opener = "xdg-open";
  std::vector<char*> argv = {opener.data(), const_cast<char*>(target.c_str()), nullptr};
  // The opener and the browsers it tries talk on their output; that is not the game's to show.
  posix_spawn_file_actions_t quiet;
  posix_spawn_file_actions_init(&quiet);
  posix_spawn_file_actions_addopen(&quiet, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&quiet, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  const int failed = posix_spawnp(&pid, opener.c_str(), &quiet, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&quiet);
  if (failed != 0) {
    return kFileNotFound;
  }
  Openers().push_back(pid);
  return kStarted;
}
