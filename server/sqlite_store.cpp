#include "sqlite_store.h"

#include <openssl/rand.h>

#include <array>
#include <stdexcept>

namespace scores {
namespace {

// Bump with a step in Migrate for every change of the tables below.
constexpr int kSchemaVersion = 1;
constexpr int64_t kDuplicateWindow = 60;  // seconds

constexpr const char* kCreateVersion1 = R"sql(
CREATE TABLE results (
  id INTEGER PRIMARY KEY,
  name TEXT NOT NULL,
  country TEXT NOT NULL,
  score INTEGER NOT NULL,
  time INTEGER NOT NULL,
  address TEXT NOT NULL
);
CREATE INDEX results_by_score ON results (score DESC, time, id);
CREATE INDEX results_by_country ON results (country, score DESC, time, id);
CREATE INDEX results_by_address ON results (address, time);
CREATE TABLE secrets (name TEXT PRIMARY KEY, value BLOB NOT NULL);
)sql";

constexpr const char* kBest =
    "SELECT name, country, score, time FROM results WHERE time >= ?1 "
    "ORDER BY score DESC, time, id LIMIT ?2";
constexpr const char* kBestOfCountry =
    "SELECT name, country, score, time FROM results WHERE country = ?3 AND time >= ?1 "
    "ORDER BY score DESC, time, id LIMIT ?2";
constexpr const char* kRecentSame =
    "SELECT 1 FROM results WHERE address = ?1 AND time > ?2 AND name = ?3 AND country = ?4 "
    "AND score = ?5 LIMIT 1";
constexpr const char* kInsert =
    "INSERT INTO results (name, country, score, time, address) VALUES (?1, ?2, ?3, ?4, ?5)";

struct StatementDeleter {
  void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using Statement = std::unique_ptr<sqlite3_stmt, StatementDeleter>;

[[noreturn]] void Fail(sqlite3* db, const std::string& what) {
  throw std::runtime_error(what + ": " + (db ? sqlite3_errmsg(db) : "out of memory"));
}

void Execute(sqlite3* db, const char* sql) {
  if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) != SQLITE_OK) {
    Fail(db, sql);
  }
}

Statement Prepare(sqlite3* db, const char* sql) {
  sqlite3_stmt* statement = nullptr;
  if (sqlite3_prepare_v3(db, sql, -1, SQLITE_PREPARE_PERSISTENT, &statement, nullptr) !=
      SQLITE_OK) {
    Fail(db, "cannot prepare a statement");
  }
  return Statement(statement);
}

void BindText(sqlite3_stmt* statement, int index, const std::string& text) {
  sqlite3_bind_text(statement, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
}

std::string ColumnText(sqlite3_stmt* statement, int column) {
  const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
  return text ? std::string(text, static_cast<size_t>(sqlite3_column_bytes(statement, column)))
              : std::string();
}

int64_t QueryNumber(sqlite3* db, const char* sql) {
  Statement statement = Prepare(db, sql);
  if (sqlite3_step(statement.get()) != SQLITE_ROW) {
    Fail(db, sql);
  }
  return sqlite3_column_int64(statement.get(), 0);
}

}  // namespace

struct SqliteStore::Connection {
  sqlite3* Db = nullptr;
  Statement Best;
  Statement BestOfCountry;
  Statement RecentSame;
  Statement Insert;

  ~Connection() {
    Best.reset();
    BestOfCountry.reset();
    RecentSame.reset();
    Insert.reset();
    sqlite3_close(Db);
  }
};

namespace {

// Runs `body` in one immediate transaction, rolled back when it throws.
template <typename Body>
auto InTransaction(sqlite3* db, Body body) {
  Execute(db, "BEGIN IMMEDIATE");
  try {
    auto result = body();
    Execute(db, "COMMIT");
    return result;
  } catch (...) {
    sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    throw;
  }
}

void Migrate(sqlite3* db) {
  InTransaction(db, [db] {
    const int64_t version = QueryNumber(db, "PRAGMA user_version");
    if (version > kSchemaVersion) {
      throw std::runtime_error("the database was made by a newer quasarball-scores (schema " +
                               std::to_string(version) + ")");
    }
    if (version < 1) {
      Execute(db, kCreateVersion1);
      std::array<unsigned char, 32> secret;
      if (RAND_bytes(secret.data(), static_cast<int>(secret.size())) != 1) {
        throw std::runtime_error("no random bytes for the address secret");
      }
      Statement put = Prepare(db, "INSERT INTO secrets (name, value) VALUES ('address', ?1)");
      sqlite3_bind_blob(put.get(), 1, secret.data(), static_cast<int>(secret.size()),
                        SQLITE_TRANSIENT);
      if (sqlite3_step(put.get()) != SQLITE_DONE) {
        Fail(db, "cannot store the address secret");
      }
    }
    Execute(db, ("PRAGMA user_version = " + std::to_string(kSchemaVersion)).c_str());
    return 0;
  });
}

}  // namespace

SqliteStore::SqliteStore(const std::string& path) : path_(path) {
  writer_ = Open();
  sqlite3* db = writer_->Db;
  {
    Statement mode = Prepare(db, "PRAGMA journal_mode = WAL");
    if (sqlite3_step(mode.get()) != SQLITE_ROW || ColumnText(mode.get(), 0) != "wal") {
      throw std::runtime_error(path + ": cannot switch to write-ahead logging");
    }
  }
  Migrate(db);
  writer_->RecentSame = Prepare(db, kRecentSame);
  writer_->Insert = Prepare(db, kInsert);
}

SqliteStore::~SqliteStore() = default;

std::unique_ptr<SqliteStore::Connection> SqliteStore::Open() const {
  auto connection = std::make_unique<Connection>();
  const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX;
  if (sqlite3_open_v2(path_.c_str(), &connection->Db, flags, nullptr) != SQLITE_OK) {
    Fail(connection->Db, path_);
  }
  sqlite3_busy_timeout(connection->Db, 5000);
  // In write-ahead mode a normal sync keeps every commit through a crash of the process; only a
  // power cut can lose the last ones.
  Execute(connection->Db, "PRAGMA synchronous = NORMAL");
  return connection;
}

std::unique_ptr<SqliteStore::Connection> SqliteStore::TakeReader() {
  {
    const std::lock_guard lock(readersMutex_);
    if (!idleReaders_.empty()) {
      auto reader = std::move(idleReaders_.back());
      idleReaders_.pop_back();
      return reader;
    }
  }
  auto reader = Open();
  reader->Best = Prepare(reader->Db, kBest);
  reader->BestOfCountry = Prepare(reader->Db, kBestOfCountry);
  return reader;
}

void SqliteStore::GiveBackReader(std::unique_ptr<Connection> reader) {
  const std::lock_guard lock(readersMutex_);
  idleReaders_.push_back(std::move(reader));
}

std::string SqliteStore::AddressSecret() {
  const std::lock_guard lock(writeMutex_);
  Statement get = Prepare(writer_->Db, "SELECT value FROM secrets WHERE name = 'address'");
  if (sqlite3_step(get.get()) != SQLITE_ROW) {
    Fail(writer_->Db, "no address secret");
  }
  const auto* bytes = static_cast<const char*>(sqlite3_column_blob(get.get(), 0));
  return std::string(bytes, static_cast<size_t>(sqlite3_column_bytes(get.get(), 0)));
}

std::string SqliteStore::IssueToken(int64_t now, int64_t lifetime) {
  return tokens_.Issue(now, lifetime);
}

bool SqliteStore::UseToken(std::string_view token, int64_t now) {
  return tokens_.Use(token, now);
}

bool SqliteStore::Count(Counted kind, std::string_view address, int64_t now, int perMinute) {
  return (kind == Counted::Upload ? uploads_ : requests_).Count(address, now, perMinute);
}

Added SqliteStore::AddResult(const NewResult& result) {
  const std::lock_guard lock(writeMutex_);
  sqlite3* db = writer_->Db;
  return InTransaction(db, [&] {
    sqlite3_stmt* same = writer_->RecentSame.get();
    sqlite3_reset(same);
    BindText(same, 1, result.Address);
    sqlite3_bind_int64(same, 2, result.Time - kDuplicateWindow);
    BindText(same, 3, result.Name);
    BindText(same, 4, result.Country);
    sqlite3_bind_int64(same, 5, result.Score);
    const int found = sqlite3_step(same);
    sqlite3_reset(same);
    if (found == SQLITE_ROW) {
      return Added::Duplicate;
    }
    if (found != SQLITE_DONE) {
      Fail(db, "cannot look for a repeated result");
    }
    sqlite3_stmt* insert = writer_->Insert.get();
    sqlite3_reset(insert);
    BindText(insert, 1, result.Name);
    BindText(insert, 2, result.Country);
    sqlite3_bind_int64(insert, 3, result.Score);
    sqlite3_bind_int64(insert, 4, result.Time);
    BindText(insert, 5, result.Address);
    const int inserted = sqlite3_step(insert);
    sqlite3_reset(insert);
    if (inserted != SQLITE_DONE) {
      Fail(db, "cannot store a result");
    }
    return Added::Stored;
  });
}

std::vector<StoredResult> SqliteStore::BestResults(const ResultQuery& query) {
  auto reader = TakeReader();
  sqlite3_stmt* best = query.Country.empty() ? reader->Best.get() : reader->BestOfCountry.get();
  sqlite3_reset(best);
  sqlite3_bind_int64(best, 1, query.Since);
  sqlite3_bind_int(best, 2, query.Limit);
  if (!query.Country.empty()) {
    BindText(best, 3, query.Country);
  }
  std::vector<StoredResult> results;
  int step = SQLITE_ROW;
  while ((step = sqlite3_step(best)) == SQLITE_ROW) {
    results.push_back({ColumnText(best, 0), ColumnText(best, 1), sqlite3_column_int64(best, 2),
                       sqlite3_column_int64(best, 3)});
  }
  sqlite3_reset(best);
  if (step != SQLITE_DONE) {
    Fail(reader->Db, "cannot read the results");
  }
  GiveBackReader(std::move(reader));
  return results;
}

}  // namespace scores
