// Upload tokens and request counts held in this process's memory: enough for one service
// instance; several instances would keep them in a shared store instead.
#pragma once

#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>

namespace scores {

// 16 letters of the record alphabet from the operating system's cryptographic random source.
std::string RandomToken();

class TokenBook {
 public:
  std::string Issue(int64_t now, int64_t lifetime);
  bool Use(std::string_view token, int64_t now);

 private:
  // Drops expired and used tokens from the front of the issue order, so memory follows the
  // tokens still open rather than all ever issued.
  void Prune(int64_t now);

  std::mutex mutex_;
  std::unordered_map<std::string, int64_t> expiry_;  // open token -> expiry time
  std::deque<std::pair<std::string, int64_t>> issued_;
};

// Counts per address in windows of one minute, each starting with the address's first request.
class RateCounter {
 public:
  bool Count(std::string_view address, int64_t now, int perMinute);

 private:
  struct Window {
    int64_t Start = 0;
    int Count = 0;
  };

  std::mutex mutex_;
  std::unordered_map<std::string, Window> windows_;
  int64_t lastSweep_ = 0;
};

}  // namespace scores
