// The upload of one result to the world high-score page, on a thread of its own so that the game
// keeps drawing "Please wait...". The thread reads only what it was given when it was made and
// reports one outcome; the main loop applies whatever follows from it.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <thread>

#include "online/http_client.h"

class ConnThrd {
 public:
  enum class Outcome : uint8_t { Pending, Sent, Failed };

  struct Result {
    std::string Name;  // at most 10 letters
    int32_t Score = 0;
    std::string Country;  // at most 10 letters
  };

  // A dead, silent or endlessly slow service ends in a failure within `total` of Start.
  struct Limits {
    std::chrono::milliseconds connect{5000};
    std::chrono::milliseconds request{10000};
    std::chrono::milliseconds total{15000};
  };

  // Made suspended: nothing is sent before Start. `serviceUrl` is the scheme and host.
  ConnThrd(std::string serviceUrl, Result result, Limits limits);
  ConnThrd(std::string serviceUrl, Result result)
      : ConnThrd(std::move(serviceUrl), std::move(result), Limits{}) {}
  // Abandons a transfer still running and waits for the thread, which then ends at once.
  ~ConnThrd();
  ConnThrd(const ConnThrd&) = delete;
  ConnThrd& operator=(const ConnThrd&) = delete;

  void Start();
  Outcome Poll() const { return outcome_; }

 private:
  void Execute();

  const std::string serviceUrl_;
  const Result result_;
  const Limits limits_;
  THttpClient client_;  // used by the thread alone once it runs
  std::atomic<bool> abort_{false};
  std::atomic<Outcome> outcome_{Outcome::Pending};
  std::thread thread_;
};

// The current upload; each upload replaces the one before.
extern std::unique_ptr<ConnThrd> Connection;

// The upload token of a version reply: its fifth '|'-separated field, the first being the one
// that begins with "OK". Fields the reply does not have are empty.
std::string VersionToken(std::string_view reply);
