#include "local_limits.h"

#include <openssl/rand.h>

#include <array>
#include <stdexcept>

#include "online/record_codec.h"

namespace scores {
namespace {

constexpr size_t kTokenLetters = 16;
constexpr int64_t kMinute = 60;

}  // namespace

std::string RandomToken() {
  std::array<unsigned char, kTokenLetters> bytes;
  if (RAND_bytes(bytes.data(), static_cast<int>(bytes.size())) != 1) {
    throw std::runtime_error("no random bytes for a token");
  }
  std::string token;
  // 256 is a multiple of 32, so every letter is equally likely.
  for (const unsigned char b : bytes) {
    token.push_back(kRecordLetters[b % kRecordLetters.size()]);
  }
  return token;
}

std::string TokenBook::Issue(int64_t now, int64_t lifetime) {
  std::string token = RandomToken();
  const std::lock_guard lock(mutex_);
  Prune(now);
  expiry_[token] = now + lifetime;
  issued_.emplace_back(token, now + lifetime);
  return token;
}

bool TokenBook::Use(std::string_view token, int64_t now) {
  const std::lock_guard lock(mutex_);
  const auto found = expiry_.find(std::string(token));
  if (found == expiry_.end()) {
    return false;
  }
  const bool open = now < found->second;
  expiry_.erase(found);
  Prune(now);
  return open;
}

void TokenBook::Prune(int64_t now) {
  while (!issued_.empty()) {
    const auto& [token, expiry] = issued_.front();
    const auto open = expiry_.find(token);
    if (open != expiry_.end() && now < expiry) {
      break;
    }
    if (open != expiry_.end()) {
      expiry_.erase(open);
    }
    issued_.pop_front();
  }
}

bool RateCounter::Count(std::string_view address, int64_t now, int perMinute) {
  const std::lock_guard lock(mutex_);
  if (now - lastSweep_ >= kMinute) {
    std::erase_if(windows_,
                  [now](const auto& entry) { return now - entry.second.Start >= kMinute; });
    lastSweep_ = now;
  }
  Window& window = windows_[std::string(address)];
  if (window.Count == 0 || now - window.Start >= kMinute) {
    window = {now, 0};
  }
  ++window.Count;
  return window.Count <= perMinute;
}

}  // namespace scores
