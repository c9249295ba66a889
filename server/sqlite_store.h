// The results in one SQLite file (write-ahead log, schema versioned by PRAGMA user_version);
// tokens and request counts in this process.
#pragma once

#include <sqlite3.h>

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "local_limits.h"
#include "score_store.h"

namespace scores {

class SqliteStore final : public ScoreStore {
 public:
  // Opens or creates the file and brings its schema up to date; throws std::runtime_error when
  // the file cannot be used.
  explicit SqliteStore(const std::string& path);
  ~SqliteStore() override;
  SqliteStore(const SqliteStore&) = delete;
  SqliteStore& operator=(const SqliteStore&) = delete;

  std::string AddressSecret() override;
  std::string IssueToken(int64_t now, int64_t lifetime) override;
  bool UseToken(std::string_view token, int64_t now) override;
  bool Count(Counted kind, std::string_view address, int64_t now, int perMinute) override;
  Added AddResult(const NewResult& result) override;
  std::vector<StoredResult> BestResults(const ResultQuery& query) override;

 private:
  struct Connection;
  std::unique_ptr<Connection> Open() const;
  std::unique_ptr<Connection> TakeReader();
  void GiveBackReader(std::unique_ptr<Connection> reader);

  std::string path_;
  std::mutex writeMutex_;
  std::unique_ptr<Connection> writer_;
  std::mutex readersMutex_;
  // Readers run beside the writer and each other, one connection each.
  std::vector<std::unique_ptr<Connection>> idleReaders_;
  TokenBook tokens_;
  RateCounter requests_;
  RateCounter uploads_;
};

}  // namespace scores
