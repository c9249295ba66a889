#include "online/http_client.h"

#include <curl/curl.h>

#include <algorithm>
#include <mutex>

namespace {

// libcurl's global set-up is not thread-safe; the first client is made on the main thread.
void InitialiseCurl() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

struct Received {
  std::string body;
  bool cut = false;
};

size_t Receive(char* data, size_t size, size_t count, void* user) {
  auto& received = *static_cast<Received*>(user);
  const size_t bytes = size * count;
  const size_t room = THttpClient::kMaxBody - received.body.size();
  received.body.append(data, std::min(bytes, room));
  if (bytes > room) {
    received.cut = true;
    return 0;  // the rest is not read at all
  }
  return bytes;
}

constexpr int kPollMilliseconds = 100;

}  // namespace

struct THttpClient::Handles {
  CURL* easy = nullptr;
  CURLM* multi = nullptr;
};

THttpClient::THttpClient() : handles_(std::make_unique<Handles>()) {
  InitialiseCurl();
  handles_->easy = curl_easy_init();
  handles_->multi = curl_multi_init();
}

THttpClient::~THttpClient() {
  curl_multi_cleanup(handles_->multi);
  curl_easy_cleanup(handles_->easy);
}

THttpReply THttpClient::Get(const std::string& url, std::chrono::milliseconds connectTimeout,
                            Clock::time_point deadline, const std::atomic<bool>& abort) {
  THttpReply reply;
  CURL* easy = handles_->easy;
  CURLM* multi = handles_->multi;
  const auto budget =
      std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
  if (!easy || !multi || budget.count() <= 0) {
    return reply;
  }
  Received received;
  curl_easy_reset(easy);
  curl_easy_setopt(easy, CURLOPT_URL, url.c_str());
  curl_easy_setopt(easy, CURLOPT_HTTPGET, 1L);
  curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(easy, CURLOPT_USERAGENT, "Quasarball");
  curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS,
                   static_cast<long>(std::min(connectTimeout, budget).count()));
  curl_easy_setopt(easy, CURLOPT_TIMEOUT_MS, static_cast<long>(budget.count()));
  curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, Receive);
  curl_easy_setopt(easy, CURLOPT_WRITEDATA, &received);
  if (curl_multi_add_handle(multi, easy) != CURLM_OK) {
    return reply;
  }
  int running = 1;
  while (running > 0 && !abort) {
    if (curl_multi_perform(multi, &running) != CURLM_OK) {
      break;
    }
    if (running > 0) {
      curl_multi_poll(multi, nullptr, 0, kPollMilliseconds, nullptr);
    }
  }
  CURLcode result = CURLE_ABORTED_BY_CALLBACK;
  int queued = 0;
  while (CURLMsg* message = curl_multi_info_read(multi, &queued)) {
    if (message->msg == CURLMSG_DONE && message->easy_handle == easy) {
      result = message->data.result;
    }
  }
  curl_multi_remove_handle(multi, easy);
  const bool complete = result == CURLE_OK || (result == CURLE_WRITE_ERROR && received.cut);
  if (!complete || abort) {
    return reply;
  }
  curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &reply.Status);
  reply.Ok = reply.Status >= 200 && reply.Status <= 299;
  reply.Body = std::move(received.body);
  return reply;
}
