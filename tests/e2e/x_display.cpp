#include "x_display.h"

#include <SDL_image.h>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cstdlib>
#include <thread>

namespace e2e {

XServer::XServer(const std::filesystem::path& folder) {
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) {
    return;
  }
  // Moved out of the way of descriptor 3, which it becomes in the server.
  const int writeEnd = fcntl(fds[1], F_DUPFD_CLOEXEC, 10);
  close(fds[1]);
  fds[1] = writeEnd;
  server_ = ChildProcess::Start(
      {"Xvfb", "-displayfd", "3", "-screen", "0",
       std::to_string(kScreenWidth) + "x" + std::to_string(kScreenHeight) + "x24", "-nolisten",
       "tcp", "-noreset"},
      {}, false, fds[1]);
  close(fds[1]);
  // The server writes the number and a newline, and dies if the pipe closes in between.
  std::string number;
  const auto started = std::chrono::steady_clock::now();
  while (server_ && number.find('\n') == std::string::npos &&
         std::chrono::steady_clock::now() - started < kStartTimeout) {
    pollfd poller{fds[0], POLLIN, 0};
    char buffer[16];
    if (poll(&poller, 1, 100) <= 0) {
      continue;
    }
    const ssize_t got = read(fds[0], buffer, sizeof buffer);
    if (got <= 0) {
      break;
    }
    number.append(buffer, static_cast<size_t>(got));
  }
  close(fds[0]);
  std::string display;
  if (number.find('\n') != std::string::npos) {
    // Appended, not concatenated: GCC 12 at -O3 sees a false overlap in ":" + std::string.
    display = ':';
    display += std::to_string(std::atoi(number.c_str()));
  }
  if (display.empty()) {
    return;
  }
  // The window manager runs its start-up command once it manages the screen.
  const std::filesystem::path managing = folder / "window-manager-ready";
  std::filesystem::remove(managing);
  windowManager_ =
      ChildProcess::Start({"openbox", "--sm-disable", "--startup", "touch " + managing.string()},
                          {"DISPLAY=" + display});
  const auto deadline = std::chrono::steady_clock::now() + kStartTimeout;
  while (windowManager_ && !std::filesystem::exists(managing) &&
         std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(Milliseconds(20));
  }
  if (std::filesystem::exists(managing)) {
    display_ = display;
  }
}

bool Screenshot::Take(const std::string& display, const std::filesystem::path& file) {
  if (!RunCommand({"import", "-display", display, "-window", "root", file.string()}, {},
                  kStepTimeout)) {
    return false;
  }
  surface_.reset(IMG_Load(file.c_str()));
  if (surface_) {
    surface_.reset(SDL_ConvertSurfaceFormat(surface_.get(), SDL_PIXELFORMAT_RGBA32, 0));
  }
  return surface_ != nullptr;
}

}  // namespace e2e
