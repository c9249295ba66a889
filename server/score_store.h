// The one door from the service to what it keeps: results, upload tokens and the per-address
// request counts. Everything a second service instance would have to share sits behind it, so a
// store over a database server can replace the single-file one without touching the requests.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace scores {

// Times are Unix seconds throughout.
struct NewResult {
  std::string Name;     // 0-10 ASCII letters
  std::string Country;  // 0-10 ASCII letters
  int64_t Score = 0;
  int64_t Time = 0;
  std::string Address;  // the client address's hash, never the address itself
};

struct StoredResult {
  std::string Name;
  std::string Country;
  int64_t Score = 0;
  int64_t Time = 0;
};

struct ResultQuery {
  int64_t Since = 0;    // only results stored at or after this time
  std::string Country;  // only this country's results; empty for all
  int Limit = 100;
};

enum class Counted { Request, Upload };
enum class Added { Stored, Duplicate };

class ScoreStore {
 public:
  virtual ~ScoreStore() = default;

  // A secret of the service's own, kept with the data, that keys the address hash.
  virtual std::string AddressSecret() = 0;

  // A fresh one-time upload token, valid for `lifetime` seconds from `now`.
  virtual std::string IssueToken(int64_t now, int64_t lifetime) = 0;
  // True, once, for a token that was issued and has not expired; it is used up by this call.
  virtual bool UseToken(std::string_view token, int64_t now) = 0;

  // Counts one request of this kind from `address` and tells whether that address is still
  // within `perMinute` in the current minute.
  virtual bool Count(Counted kind, std::string_view address, int64_t now, int perMinute) = 0;

  // Stores a result, unless the same name, country and score came from the same address within
  // the last minute. Throws std::runtime_error when the storage fails.
  virtual Added AddResult(const NewResult& result) = 0;
  // The best results, highest score first and, among equal scores, the earliest first.
  virtual std::vector<StoredResult> BestResults(const ResultQuery& query) = 0;
};

}  // namespace scores
