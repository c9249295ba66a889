// quasarball-scores: the world high-score service the game uploads its results to.
#include <httplib.h>
#include <pthread.h>
#include <signal.h>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <iostream>
#include <mutex>
#include <thread>

#include "options.h"
#include "scores_service.h"
#include "sqlite_store.h"

namespace {

using Clock = std::chrono::steady_clock;

// Behind a proxy the last X-Forwarded-For entry is the one our own proxy added; earlier ones
// come from the client and prove nothing.
std::string ClientAddress(const httplib::Request& request, bool trustProxy) {
  if (trustProxy && request.has_header("X-Forwarded-For")) {
    const std::string chain = request.get_header_value("X-Forwarded-For");
    std::string last = chain.substr(chain.rfind(',') + 1);
    const size_t start = last.find_first_not_of(' ');
    const size_t end = last.find_last_not_of(' ');
    if (start != std::string::npos) {
      return last.substr(start, end - start + 1);
    }
  }
  return request.remote_addr;
}

std::string UtcNow() {
  const auto now = std::chrono::system_clock::now();
  const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  const auto millis =
      std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
  std::tm parts{};
  gmtime_r(&seconds, &parts);
  char text[40];
  const size_t length = std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &parts);
  std::snprintf(text + length, sizeof text - length, ".%03dZ", static_cast<int>(millis));
  return text;
}

std::mutex logMutex;

// What the handler tells the logger that follows it on the same worker thread.
struct Handled {
  bool Done = false;
  std::string Address;
  std::string Kind;
  double Millis = 0;
};
thread_local Handled handled;

void LogRequest(const std::string& address, const std::string& kind, int status, double millis) {
  char line[160];
  std::snprintf(line, sizeof line, "%s %s %s %d %.2fms\n", UtcNow().c_str(), address.c_str(),
                kind.c_str(), status, millis);
  const std::lock_guard lock(logMutex);
  std::fputs(line, stderr);
}

int64_t UnixNow() {
  return std::chrono::duration_cast<std::chrono::seconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

}  // namespace

int main(int argc, char** argv) {
  const scores::OptionsParse parse =
      scores::ParseOptions(std::vector<std::string>(argv + 1, argv + argc));
  if (parse.Help) {
    std::cout << scores::HelpText();
    return 0;
  }
  if (!parse.Options) {
    std::cerr << "quasarball-scores: " << parse.Error << "\nTry quasarball-scores --help.\n";
    return 2;
  }
  const scores::ServerOptions& options = *parse.Options;

  // Every thread started from here on inherits the mask, so only the signal thread sees them.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGTERM);
  sigaddset(&stopSignals, SIGINT);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
  signal(SIGPIPE, SIG_IGN);

  std::unique_ptr<scores::SqliteStore> store;
  try {
    store = std::make_unique<scores::SqliteStore>(options.Database);
  } catch (const std::exception& error) {
    std::cerr << "quasarball-scores: " << error.what() << "\n";
    return 1;
  }
  scores::ScoresService service(*store, options.Service);

  httplib::Server server;
  const int threads = options.Threads;
  server.new_task_queue = [threads] { return new httplib::ThreadPool(threads); };
  // Headers and body go out in separate writes; without this each reply on a kept-alive
  // connection waits for the client's delayed acknowledgement.
  server.set_tcp_nodelay(true);
  server.set_read_timeout(5, 0);
  server.set_write_timeout(5, 0);
  server.set_keep_alive_max_count(1000);
  server.set_payload_max_length(scores::kMaxQueryBytes);
  server.Get(".*", [&](const httplib::Request& request, httplib::Response& response) {
    const auto start = Clock::now();
    scores::ScoresRequest in;
    in.Path = request.path;
    in.Params.insert(request.params.begin(), request.params.end());
    const size_t question = request.target.find('?');
    in.QueryBytes = question == std::string::npos ? 0 : request.target.size() - question - 1;
    in.Address = service.HashAddress(ClientAddress(request, options.TrustProxy));
    in.Now = UnixNow();
    scores::ScoresReply reply;
    try {
      reply = service.Handle(in);
    } catch (const std::exception& error) {
      reply = {500, "text/plain; charset=utf-8", "the score store failed\n", "failed"};
      std::cerr << "quasarball-scores: " << error.what() << "\n";
    }
    response.status = reply.Status;
    if (reply.ContentType.starts_with("text/html")) {
      response.set_header("Content-Security-Policy",
                          "default-src 'none'; style-src 'unsafe-inline'; form-action 'self'");
    }
    response.set_header("X-Content-Type-Options", "nosniff");
    response.set_content(reply.Body, reply.ContentType.c_str());
    handled = {true, in.Address, reply.Kind,
               std::chrono::duration<double, std::milli>(Clock::now() - start).count()};
  });
  // The library answers some requests itself (a target over its length limit, a bad request
  // line); the logger sees those too, and the handler's own ones after they were written.
  server.set_logger([&](const httplib::Request& request, const httplib::Response& response) {
    if (handled.Done) {
      LogRequest(handled.Address, handled.Kind, response.status, handled.Millis);
    } else {
      LogRequest(service.HashAddress(ClientAddress(request, options.TrustProxy)), "refused",
                 response.status, 0);
    }
    handled = {};
  });

  int port = options.Port;
  if (port == 0) {
    port = server.bind_to_any_port(options.Host);
  } else if (!server.bind_to_port(options.Host, port)) {
    port = -1;
  }
  if (port <= 0) {
    std::cerr << "quasarball-scores: cannot listen on " << options.Host << ":" << options.Port
              << "\n";
    return 1;
  }
  std::cout << "quasarball-scores listening on " << options.Host << ":" << port << std::endl;

  std::thread stopper([&] {
    int signal = 0;
    sigwait(&stopSignals, &signal);
    server.stop();
  });
  const bool served = server.listen_after_bind();
  // Wakes the stopper when the server ended by itself.
  pthread_kill(stopper.native_handle(), SIGTERM);
  stopper.join();
  store.reset();
  return served ? 0 : 1;
}
