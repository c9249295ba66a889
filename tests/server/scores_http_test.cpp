// The real server on a free loopback port with a temporary database, asked as the game asks.
#include <gtest/gtest.h>
#include <httplib.h>
#include <signal.h>
#include <sqlite3.h>

#include <algorithm>
#include <atomic>
#include <fstream>
#include <regex>
#include <sstream>
#include <thread>

#include "online/record_codec.h"
#include "scores_process.h"

namespace {

using scores_test::ScoresProcess;
using scores_test::TempFolder;

const std::string kVersion = "/cgi/version.pl?version&prg=Quasarball";
const std::string kWorld = "/cgi/version.pl?prg=Quasarball&show&type=0";

// The fifth field of a version reply, as the game takes it apart.
std::string TokenOf(const std::string& reply) {
  size_t at = 0;
  for (int field = 0; field < 4 && at != std::string::npos; ++field) {
    at = reply.find('|', at);
    at = at == std::string::npos ? at : at + 1;
  }
  return at == std::string::npos ? "" : reply.substr(at, reply.find('|', at) - at);
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// Runs one SQL statement that gives one value; the value, or the error.
std::string QueryOne(const std::string& database, const std::string& sql) {
  sqlite3* db = nullptr;
  std::string value = "cannot open";
  if (sqlite3_open_v2(database.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
    sqlite3_stmt* statement = nullptr;
    value = "cannot prepare";
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr) == SQLITE_OK) {
      value = sqlite3_step(statement) == SQLITE_ROW
                  ? reinterpret_cast<const char*>(sqlite3_column_text(statement, 0))
                  : "no row";
    }
    sqlite3_finalize(statement);
  }
  sqlite3_close(db);
  return value;
}

class ScoresHttpTest : public testing::Test {
 protected:
  void StartServer(const std::vector<std::string>& args = {}) {
    server_ = ScoresProcess::Start(Database(), args, folder_.File("server.log"));
    ASSERT_TRUE(server_) << ReadFile(folder_.File("server.log"));
    client_ = std::make_unique<httplib::Client>("127.0.0.1", server_->Port());
    client_->set_connection_timeout(5);
    client_->set_read_timeout(5);
  }

  std::string Database() const { return folder_.File("scores.sqlite"); }

  // Status and body; status 0 when the request failed.
  std::pair<int, std::string> Get(const std::string& target, const httplib::Headers& headers = {}) {
    const auto result = client_->Get(target.c_str(), headers);
    return result ? std::pair(result->status, result->body) : std::pair(0, std::string());
  }

  std::pair<int, std::string> Upload(const std::string& name, int32_t score,
                                     const std::string& country,
                                     const httplib::Headers& headers = {}) {
    const auto [status, reply] = Get(kVersion, headers);
    EXPECT_EQ(status, 200);
    const std::string inf = EncodeRecord(BuildResultRecord(name, score, TokenOf(reply), country));
    return Get("/cgi/version.pl?hs&prg=Quasarball&inf=" + inf, headers);
  }

  TempFolder folder_;
  std::unique_ptr<ScoresProcess> server_;
  std::unique_ptr<httplib::Client> client_;
};

TEST_F(ScoresHttpTest, TheGamesRequestsLandOnTheWorldPage) {
  StartServer();
  const auto [status, reply] = Get(kVersion);
  EXPECT_EQ(status, 200);
  EXPECT_TRUE(reply.starts_with("OK|quasarball-scores|1|")) << reply;
  EXPECT_EQ(TokenOf(reply).size(), 16u) << reply;

  EXPECT_EQ(Upload("Bob", 500, "UK"), std::pair(200, std::string("OK")));
  EXPECT_EQ(Upload("", 700, "").first, 200);

  const auto result = client_->Get(kWorld.c_str());
  ASSERT_TRUE(result);
  EXPECT_EQ(result->status, 200);
  EXPECT_EQ(result->get_header_value("Content-Type"), "text/html; charset=utf-8");
  EXPECT_TRUE(result->has_header("Content-Security-Policy"));
  const std::string& html = result->body;
  EXPECT_TRUE(html.starts_with("<!DOCTYPE html>"));
  EXPECT_LT(html.find(">Anonymous<"), html.find(">Bob<"));
  EXPECT_NE(html.find(">UK<"), std::string::npos);

  const auto [jsonStatus, json] = Get(kWorld + "&format=json");
  EXPECT_EQ(jsonStatus, 200);
  EXPECT_NE(json.find(R"({"rank":2,"name":"Bob","country":"UK","score":500,)"), std::string::npos)
      << json;
  EXPECT_EQ(Get(kWorld + "&country=FR&format=json").second.find("Bob"), std::string::npos);

  // The log: one line per request with time, address hash, kind, status and milliseconds.
  server_->Signal(SIGTERM);
  ASSERT_EQ(server_->Wait(10), 0);
  const std::string log = ReadFile(folder_.File("server.log"));
  const std::regex line(
      R"(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\.\d{3}Z [0-9a-f]{16} [a-z-]+ \d{3} [0-9.]+ms)");
  std::istringstream lines(log);
  std::vector<std::string> kinds;
  for (std::string l; std::getline(lines, l);) {
    EXPECT_TRUE(std::regex_match(l, line)) << l;
    kinds.push_back(l.substr(l.find(' ', 25) + 1, l.rfind(' ') - l.find(' ', 25) - 1));
  }
  // Each line is written once its reply has gone out, so lines of requests on different
  // connections may swap places.
  std::sort(kinds.begin(), kinds.end());
  EXPECT_EQ(kinds, (std::vector<std::string>{"upload 200", "upload 200", "version 200",
                                             "version 200", "version 200", "world 200",
                                             "world-json 200", "world-json 200"}))
      << log;
  EXPECT_EQ(QueryOne(Database(), "SELECT count(*) FROM results"), "2");
}

TEST_F(ScoresHttpTest, RefusesBadUploadsWithAOneLineReason) {
  StartServer();
  const auto [status, reason] = Get("/cgi/version.pl?hs&prg=Quasarball&inf=" +
                                    EncodeRecord(BuildResultRecord("Bob", 500, "NOTISSUED", "UK")));
  EXPECT_EQ(status, 400);
  EXPECT_EQ(reason, "the token is unknown, expired or used\n");
  EXPECT_EQ(Get("/cgi/version.pl?hs&prg=Quasarball&inf=abc").first, 400);
  EXPECT_EQ(Get("/elsewhere").first, 404);
  EXPECT_EQ(Get(kVersion + "&pad=" + std::string(9 * 1024, 'A')).first, 414);
  EXPECT_EQ(Get(kVersion).first, 200) << "the server goes on after a refused query";
  EXPECT_EQ(QueryOne(Database(), "SELECT count(*) FROM results"), "0");
}

TEST_F(ScoresHttpTest, LimitsUploadsAndRequestsAtTheirDefaults) {
  StartServer();
  for (int i = 0; i < 10; ++i) {
    ASSERT_EQ(Upload("Bob", i, "UK").first, 200) << i;
  }
  EXPECT_EQ(Upload("Bob", 10, "UK").first, 429);
  // 22 requests so far; the 120th of the minute is served and the 121st is not.
  for (int i = 22; i < 120; ++i) {
    ASSERT_EQ(Get(kWorld).first, 200) << i;
  }
  const auto [status, reason] = Get(kWorld);
  EXPECT_EQ(status, 429);
  EXPECT_EQ(reason.find('\n'), reason.size() - 1);
  EXPECT_EQ(QueryOne(Database(), "SELECT count(*) FROM results"), "10");
}

TEST_F(ScoresHttpTest, BehindAProxyTheLastForwardedAddressIsTheClient) {
  StartServer({"--trust-proxy"});
  const httplib::Headers first = {{"X-Forwarded-For", "127.0.0.9, 127.0.0.5"}};
  for (int i = 0; i < 10; ++i) {
    ASSERT_EQ(Upload("Bob", i, "UK", first).first, 200) << i;
  }
  EXPECT_EQ(Upload("Bob", 10, "UK", first).first, 429);
  EXPECT_EQ(Upload("Bob", 10, "UK", {{"X-Forwarded-For", "127.0.0.5, 127.0.0.6"}}).first, 200);
  EXPECT_EQ(Upload("Bob", 11, "UK").first, 200) << "no header: the connection's address";
}

TEST_F(ScoresHttpTest, WithoutTrustingAProxyTheHeaderIsIgnored) {
  StartServer();
  for (int i = 0; i < 10; ++i) {
    ASSERT_EQ(
        Upload("Bob", i, "UK", {{"X-Forwarded-For", "127.0.0." + std::to_string(i + 10)}}).first,
        200);
  }
  EXPECT_EQ(Upload("Bob", 10, "UK", {{"X-Forwarded-For", "127.0.0.99"}}).first, 429);
}

TEST_F(ScoresHttpTest, TheLimitsAreOptions) {
  StartServer({"--upload-limit", "2", "--request-limit", "5"});
  EXPECT_EQ(Upload("Bob", 1, "UK").first, 200);
  EXPECT_EQ(Upload("Bob", 2, "UK").first, 200);
  EXPECT_EQ(Get(kWorld).first, 200);
  EXPECT_EQ(Get(kWorld).first, 429);
}

// Sends version and upload pairs until 300 uploads were accepted, then signals the server while
// the stream goes on; the scores of the accepted uploads.
std::vector<int> SignalDuringUploads(ScoresProcess& server, int signal) {
  std::vector<int> accepted;
  std::atomic<int> acceptedCount = 0;
  std::atomic<bool> stop = false;
  std::thread stream([&] {
    httplib::Client client("127.0.0.1", server.Port());
    client.set_read_timeout(5);
    for (int score = 1; !stop && score < 100000; ++score) {
      const auto version = client.Get(kVersion.c_str());
      if (!version) {
        break;
      }
      const std::string inf =
          EncodeRecord(BuildResultRecord("Kim", score, TokenOf(version->body), "SE"));
      const auto upload = client.Get(("/cgi/version.pl?hs&prg=Quasarball&inf=" + inf).c_str());
      if (!upload) {
        break;
      }
      if (upload->status == 200 && upload->body == "OK") {
        accepted.push_back(score);
        ++acceptedCount;
      }
    }
  });
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (acceptedCount < 300 && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  server.Signal(signal);
  server.Wait(10);
  stop = true;
  stream.join();
  return accepted;
}

void ExpectAllStored(const std::string& database, const std::vector<int>& accepted) {
  EXPECT_EQ(QueryOne(database, "PRAGMA integrity_check"), "ok");
  EXPECT_GE(std::stoul(QueryOne(database, "SELECT count(*) FROM results")), accepted.size());
  for (const int score : accepted) {
    ASSERT_EQ(QueryOne(database, "SELECT count(*) FROM results WHERE name = 'Kim' AND score = " +
                                     std::to_string(score)),
              "1")
        << score;
  }
}

TEST_F(ScoresHttpTest, EveryAcceptedUploadSurvivesAKill) {
  StartServer({"--upload-limit", "1000000", "--request-limit", "1000000"});
  const std::vector<int> accepted = SignalDuringUploads(*server_, SIGKILL);
  EXPECT_EQ(server_->Wait(0), 128 + SIGKILL);
  ASSERT_GE(accepted.size(), 300u);

  StartServer();
  ExpectAllStored(Database(), accepted);
  EXPECT_EQ(Get(kWorld + "&format=json").first, 200);
}

TEST_F(ScoresHttpTest, ATermFinishesTheRequestsInFlightAndClosesTheDatabase) {
  StartServer({"--upload-limit", "1000000", "--request-limit", "1000000"});
  const std::vector<int> accepted = SignalDuringUploads(*server_, SIGTERM);
  EXPECT_EQ(server_->Wait(0), 0);
  ASSERT_GE(accepted.size(), 300u);
  EXPECT_FALSE(std::ifstream(Database() + "-wal").good()) << "the database was not closed";
  ExpectAllStored(Database(), accepted);
}

TEST_F(ScoresHttpTest, StopsCleanlyOnSigint) {
  StartServer();
  EXPECT_EQ(Upload("Bob", 500, "UK").first, 200);
  server_->Signal(SIGINT);
  EXPECT_EQ(server_->Wait(10), 0);
  EXPECT_FALSE(std::ifstream(Database() + "-wal").good()) << "the database was not closed";
  EXPECT_EQ(QueryOne(Database(), "SELECT name FROM results"), "Bob");
}

TEST(ScoresCommandLine, HelpAndBadOptions) {
  const scores_test::Finished help = scores_test::RunScores({"--help"});
  EXPECT_EQ(help.Status, 0);
  EXPECT_NE(help.Output.find("--listen ADDR:PORT"), std::string::npos) << help.Output;
  EXPECT_NE(help.Output.find("--upload-limit"), std::string::npos);
  EXPECT_EQ(scores_test::RunScores({"--listen", "nowhere"}).Status, 2);
  EXPECT_EQ(scores_test::RunScores({"--upload-limit", "0"}).Status, 2);
  EXPECT_EQ(scores_test::RunScores({"--motd", "a|b"}).Status, 2);
  EXPECT_EQ(scores_test::RunScores({"--db", "/nonexistent/folder/scores.sqlite"}).Status, 1);
}

}  // namespace
