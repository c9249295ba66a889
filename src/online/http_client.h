// Blocking HTTP GETs for the upload thread, over libcurl (HTTPS through the system's
// certificates). Every request is bounded: in time, in the size of the reply it keeps, and by a
// flag the owner raises to abandon it at once.
#pragma once

#include <atomic>
#include <chrono>
#include <memory>
#include <string>

struct THttpReply {
  bool Ok = false;   // a reply came and its status was 2xx
  long Status = 0;   // the HTTP status, 0 when none came
  std::string Body;  // at most THttpClient::kMaxBody bytes
};

class THttpClient {
 public:
  static constexpr size_t kMaxBody = 4096;  // bytes
  using Clock = std::chrono::steady_clock;

  THttpClient();
  ~THttpClient();
  THttpClient(const THttpClient&) = delete;
  THttpClient& operator=(const THttpClient&) = delete;

  // Connecting may take `connectTimeout`, the whole request until `deadline`; a raised `abort`
  // ends the request within a tenth of a second. A reply longer than kMaxBody is cut there.
  THttpReply Get(const std::string& url, std::chrono::milliseconds connectTimeout,
                 Clock::time_point deadline, const std::atomic<bool>& abort);

 private:
  struct Handles;
  std::unique_ptr<Handles> handles_;
};
