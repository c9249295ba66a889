// Load on quasarball-scores over loopback: 32 keep-alive clients for 20 s of version+upload
// pairs, then 20 s of world-page views, with the server's resident memory sampled each second.
// The per-address limits are raised for the run (every client is 127.0.0.1).
//   build/scores_bench [seconds per phase] [clients]
#include <fcntl.h>
#include <httplib.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "online/record_codec.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

struct Server {
  pid_t Pid = -1;
  int Port = 0;
};

Server StartServer(const std::string& database, const std::string& log) {
  int pipeFds[2];
  if (pipe2(pipeFds, O_CLOEXEC) != 0) {
    return {};
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, log.c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0644);
  std::vector<std::string> args = {
      QB_SCORES_PROGRAM, "--listen",   "127.0.0.1:0",     "--db",      database,
      "--upload-limit",  "1000000000", "--request-limit", "1000000000"};
  std::vector<char*> argv;
  for (std::string& a : args) {
    argv.push_back(a.data());
  }
  argv.push_back(nullptr);
  Server server;
  const int failed = posix_spawn(&server.Pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(pipeFds[1]);
  std::string line;
  char c = 0;
  pollfd poller{pipeFds[0], POLLIN, 0};
  while (failed == 0 && line.find('\n') == std::string::npos && poll(&poller, 1, 5000) > 0 &&
         read(pipeFds[0], &c, 1) == 1) {
    line.push_back(c);
  }
  close(pipeFds[0]);
  const size_t colon = line.rfind(':');
  server.Port = colon == std::string::npos ? 0 : std::atoi(line.c_str() + colon + 1);
  return server;
}

long ResidentKiB(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  for (std::string line; std::getline(status, line);) {
    if (line.starts_with("VmRSS:")) {
      return std::atol(line.c_str() + 6);
    }
  }
  return -1;
}

std::string TokenOf(const std::string& reply) {
  size_t at = 0;
  for (int field = 0; field < 4; ++field) {
    at = reply.find('|', at) + 1;
  }
  return reply.substr(at, reply.find('|', at) - at);
}

struct Phase {
  std::vector<double> Millis;  // one per finished unit of work
  long Done = 0;
  long Failed = 0;
};

// Runs `work` (one unit, true when it succeeded) on `clients` threads for `seconds`.
template <typename Work>
Phase Run(int port, int clients, double seconds, pid_t pid, Work work) {
  std::vector<Phase> perClient(static_cast<size_t>(clients));
  std::atomic<bool> stop = false;
  std::vector<std::thread> threads;
  for (int i = 0; i < clients; ++i) {
    threads.emplace_back([&, i] {
      httplib::Client client("127.0.0.1", port);
      client.set_keep_alive(true);
      client.set_tcp_nodelay(true);
      client.set_read_timeout(10);
      Phase& mine = perClient[static_cast<size_t>(i)];
      for (long n = 0; !stop; ++n) {
        const auto start = Clock::now();
        const bool ok = work(client, i, n);
        mine.Millis.push_back(
            std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        ++(ok ? mine.Done : mine.Failed);
      }
    });
  }
  const auto end = Clock::now() + std::chrono::duration<double>(seconds);
  std::printf("  server memory (RSS, MiB):");
  while (Clock::now() < end) {
    std::this_thread::sleep_for(std::chrono::seconds(1));
    std::printf(" %.1f", static_cast<double>(ResidentKiB(pid)) / 1024);
    std::fflush(stdout);
  }
  std::printf("\n");
  stop = true;
  for (std::thread& t : threads) {
    t.join();
  }
  Phase all;
  for (const Phase& p : perClient) {
    all.Millis.insert(all.Millis.end(), p.Millis.begin(), p.Millis.end());
    all.Done += p.Done;
    all.Failed += p.Failed;
  }
  std::sort(all.Millis.begin(), all.Millis.end());
  return all;
}

void Report(const char* what, const Phase& phase, double seconds, int requestsPerUnit) {
  const auto at = [&](double q) {
    return phase.Millis.empty() ? 0.0
                                : phase.Millis[static_cast<size_t>(q * (phase.Millis.size() - 1))];
  };
  std::printf(
      "  %s: %.0f/s accepted (%ld in %.0f s, %ld failed), %.0f requests/s; "
      "latency p50 %.2f ms, p99 %.2f ms, max %.2f ms\n",
      what, static_cast<double>(phase.Done) / seconds, phase.Done, seconds, phase.Failed,
      static_cast<double>(phase.Done + phase.Failed) * requestsPerUnit / seconds, at(0.5), at(0.99),
      phase.Millis.empty() ? 0.0 : phase.Millis.back());
}

}  // namespace

int main(int argc, char** argv) {
  const double seconds = argc > 1 ? std::atof(argv[1]) : 20;
  const int clients = argc > 2 ? std::atoi(argv[2]) : 32;
  const auto folder =
      std::filesystem::temp_directory_path() / ("qb-scores-bench-" + std::to_string(getpid()));
  std::filesystem::create_directories(folder);
  const Server server =
      StartServer((folder / "scores.sqlite").string(), (folder / "server.log").string());
  if (server.Port <= 0) {
    std::fprintf(stderr, "scores_bench: the server did not start\n");
    return 1;
  }
  std::printf(
      "quasarball-scores on 127.0.0.1:%d, %d clients, %.0f s per phase, limits raised "
      "to 1000000000 a minute for the run\n",
      server.Port, clients, seconds);

  std::printf("version + upload pairs\n");
  const Phase uploads =
      Run(server.Port, clients, seconds, server.Pid, [](httplib::Client& client, int id, long n) {
        const auto version = client.Get("/cgi/version.pl?version&prg=Quasarball");
        if (!version || version->status != 200) {
          return false;
        }
        const std::string inf = EncodeRecord(
            BuildResultRecord("Bench", static_cast<int32_t>(id * 1'000'000 + n % 1'000'000),
                              TokenOf(version->body), "UK"));
        const auto upload = client.Get(("/cgi/version.pl?hs&prg=Quasarball&inf=" + inf).c_str());
        return upload && upload->body == "OK";
      });
  Report("uploads (latency per pair)", uploads, seconds, 2);

  std::printf("world-page views (best 100 of %ld)\n", uploads.Done);
  const Phase views =
      Run(server.Port, clients, seconds, server.Pid, [](httplib::Client& client, int, long) {
        const auto page = client.Get("/cgi/version.pl?prg=Quasarball&show&type=0");
        return page && page->status == 200;
      });
  Report("world-page views", views, seconds, 1);

  kill(server.Pid, SIGTERM);
  int status = 0;
  waitpid(server.Pid, &status, 0);
  std::filesystem::remove_all(folder);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? 0 : 1;
}
