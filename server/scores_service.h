// The requests on /cgi/version.pl: the version request that hands out upload tokens, the upload
// of a result and the world page. Free of HTTP, so the rules are tested without a socket.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "score_store.h"

namespace scores {

inline constexpr const char* kScoresPath = "/cgi/version.pl";
inline constexpr size_t kMaxQueryBytes = 8 * 1024;
inline constexpr int64_t kTokenLifetime = 10 * 60;  // seconds
inline constexpr int64_t kMaxScore = 100'000'000;

struct ServiceSettings {
  int UploadLimit = 10;                     // uploads per minute and address
  int RequestLimit = 120;                   // requests per minute and address
  std::string Message = "Break them all!";  // the message of the day, without '|'
};

struct ScoresRequest {
  std::string Path;
  std::multimap<std::string, std::string> Params;  // decoded query keys and values
  size_t QueryBytes = 0;                           // length of the raw query
  std::string Address;                             // the client address's hash
  int64_t Now = 0;                                 // Unix seconds
};

struct ScoresReply {
  int Status = 200;
  std::string ContentType = "text/plain; charset=utf-8";
  std::string Body;
  std::string Kind;  // what the request was, for the log
};

class ScoresService {
 public:
  ScoresService(ScoreStore& store, ServiceSettings settings);

  // The client address as it is logged and stored: a keyed hash, 16 hex digits.
  std::string HashAddress(std::string_view address) const;
  ScoresReply Handle(const ScoresRequest& request);

 private:
  ScoresReply Version(const ScoresRequest& request);
  ScoresReply Upload(const ScoresRequest& request);
  ScoresReply World(const ScoresRequest& request);

  ScoreStore& store_;
  ServiceSettings settings_;
  std::string secret_;
};

}  // namespace scores
