// The service's rules without a socket: a real store in a temporary file, the clock in the
// test's hands.
#include "scores_service.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include "online/record_codec.h"
#include "scores_process.h"
#include "sqlite_store.h"

namespace {

using scores::ScoresReply;
using scores_test::TempFolder;

constexpr int64_t kStart = 1'800'000'000;

class ScoresServiceTest : public testing::Test {
 protected:
  ScoresReply Get(const std::string& query, const std::string& address = "127.0.0.2") {
    scores::ScoresRequest request;
    request.Path = scores::kScoresPath;
    request.QueryBytes = query.size();
    for (size_t start = 0; start <= query.size();) {
      const size_t end = std::min(query.find('&', start), query.size());
      const std::string pair = query.substr(start, end - start);
      const size_t equals = pair.find('=');
      request.Params.emplace(pair.substr(0, equals),
                             equals == std::string::npos ? "" : pair.substr(equals + 1));
      start = end + 1;
    }
    request.Address = service_.HashAddress(address);
    request.Now = now_;
    return service_.Handle(request);
  }

  std::string Token(const std::string& address = "127.0.0.2") {
    const ScoresReply reply = Get("version&prg=Quasarball", address);
    EXPECT_EQ(reply.Status, 200);
    const std::string& body = reply.Body;
    size_t at = 0;
    for (int field = 0; field < 4; ++field) {
      at = body.find('|', at) + 1;
    }
    return body.substr(at, body.find('|', at) - at);
  }

  ScoresReply UploadRecord(const std::string& record, const std::string& address = "127.0.0.2") {
    return Get("hs&prg=Quasarball&inf=" + EncodeRecord(record), address);
  }

  ScoresReply Upload(const std::string& name, int32_t score, const std::string& country,
                     const std::string& address = "127.0.0.2") {
    return UploadRecord(BuildResultRecord(name, score, Token(address), country), address);
  }

  std::vector<scores::StoredResult> Stored() { return store_->BestResults({0, "", 1000}); }

  TempFolder folder_;
  std::unique_ptr<scores::SqliteStore> store_ =
      std::make_unique<scores::SqliteStore>(folder_.File("scores.sqlite"));
  scores::ScoresService service_{*store_, {}};
  int64_t now_ = kStart;
};

TEST_F(ScoresServiceTest, VersionReplyCarriesAFreshTokenAsItsFifthField) {
  const ScoresReply reply = Get("version&prg=Quasarball");
  EXPECT_EQ(reply.Status, 200);
  ASSERT_TRUE(reply.Body.starts_with("OK|quasarball-scores|1|Break them all!|")) << reply.Body;
  ASSERT_TRUE(reply.Body.ends_with("|"));
  const std::string first = Token();
  const std::string second = Token();
  EXPECT_EQ(first.size(), 16u);
  EXPECT_EQ(first.find_first_not_of(kRecordLetters), std::string::npos) << first;
  EXPECT_NE(first, second);
}

TEST_F(ScoresServiceTest, StoresAnAcceptedResult) {
  const ScoresReply reply = Upload("Bob", 500, "UK");
  EXPECT_EQ(reply.Status, 200) << reply.Body;
  EXPECT_EQ(reply.Body, "OK");
  const auto stored = Stored();
  ASSERT_EQ(stored.size(), 1u);
  EXPECT_EQ(stored[0].Name, "Bob");
  EXPECT_EQ(stored[0].Country, "UK");
  EXPECT_EQ(stored[0].Score, 500);
  EXPECT_EQ(stored[0].Time, kStart);
}

TEST_F(ScoresServiceTest, AcceptsTheEdgesOfEachValue) {
  EXPECT_EQ(Upload("", 0, "").Status, 200);
  EXPECT_EQ(Upload("AbcdefghiJ", 100000000, "Neverlandx").Status, 200);
  EXPECT_EQ(Stored().size(), 2u);
  const ScoresReply json = Get("prg=Quasarball&show&type=0&format=json");
  EXPECT_NE(json.Body.find("\"name\":\"Anonymous\",\"country\":\"\",\"score\":0"),
            std::string::npos)
      << json.Body;
  const std::string html = Get("prg=Quasarball&show&type=0").Body;
  EXPECT_NE(html.find("<td class=\"score\">100,000,000</td>"), std::string::npos);
  EXPECT_NE(html.find(">Anonymous<"), std::string::npos);
  EXPECT_NE(html.find("<td class=\"score\">0</td>"), std::string::npos);
}

TEST_F(ScoresServiceTest, RefusesMalformedUploadsAndStoresNothing) {
  struct Case {
    const char* why;
    std::string name, score, key, country;
  };
  const Case cases[] = {
      {"markup in the name", "<script>", "500", "Q", "UK"},
      {"digits in the name", "Bob1", "500", "Q", "UK"},
      {"eleven letters", "Abcdefghijk", "500", "Q", "UK"},
      {"a space in the name", "Bo b", "500", "Q", "UK"},
      {"a letter beyond ASCII",
       "B\xc3\xb6"
       "b",
       "500", "Q", "UK"},
      {"markup in the country", "Bob", "500", "Q", "<b>"},
      {"eleven-letter country", "Bob", "500", "Q", "Abcdefghijk"},
      {"a plus sign", "Bob", "+500", "Q", "UK"},
      {"a minus sign", "Bob", "-500", "Q", "UK"},
      {"twenty digits", "Bob", "12345678901234567890", "Q", "UK"},
      {"over the highest score", "Bob", "100000001", "Q", "UK"},
      {"no score", "Bob", "", "Q", "UK"},
      {"a fraction", "Bob", "5.5", "Q", "UK"},
      {"another key", "Bob", "500", "R", "UK"},
      {"a longer key", "Bob", "500", "QQ", "UK"},
  };
  for (const Case& c : cases) {
    std::string record = "type=0|name=" + c.name + "|score=" + c.score + "|key=" + c.key +
                         "|p=" + Token() + "|add=" + c.country + "|z=";
    while (record.size() % 5 != 0) {
      record += '0';
    }
    const ScoresReply reply = UploadRecord(record);
    EXPECT_EQ(reply.Status, 400) << c.why;
    EXPECT_TRUE(reply.Body.ends_with("\n") && reply.Body.find('\n') == reply.Body.size() - 1)
        << c.why << ": " << reply.Body;
    now_ += 60;  // keeps the upload limit out of the way
  }
  const std::string typeOne = "type=1|name=Bob|score=500|key=Q|p=" + Token() + "|add=UK|z=0";
  EXPECT_EQ(UploadRecord(typeOne).Status, 400);
  EXPECT_EQ(Get("hs&prg=Quasarball&inf=GC2VI").Status, 400);  // I is not one of the letters
  EXPECT_EQ(Get("hs&prg=Quasarball&inf=GC2").Status, 400);    // not whole bytes
  EXPECT_EQ(Get("hs&prg=Quasarball&inf=" + EncodeRecord("type=0|name=Bob")).Status, 400);
  EXPECT_EQ(Get("hs&prg=Quasarball").Status, 400);
  EXPECT_TRUE(Stored().empty());
}

TEST_F(ScoresServiceTest, ATokenIsGoodOnceAndForTenMinutes) {
  EXPECT_EQ(UploadRecord(BuildResultRecord("Bob", 1, "ABCDEFGHJKLMNPQR", "UK")).Status, 400)
      << "never issued";
  EXPECT_EQ(UploadRecord(BuildResultRecord("Bob", 2, "", "UK")).Status, 400) << "empty";

  const std::string token = Token();
  EXPECT_EQ(UploadRecord(BuildResultRecord("Bob", 3, token, "UK")).Status, 200);
  EXPECT_EQ(UploadRecord(BuildResultRecord("Bob", 4, token, "UK")).Status, 400) << "reused";

  const std::string late = Token();
  const std::string inTime = Token();
  now_ += 10 * 60 - 1;
  EXPECT_EQ(UploadRecord(BuildResultRecord("Bob", 5, inTime, "UK")).Status, 200);
  now_ += 1;
  EXPECT_EQ(UploadRecord(BuildResultRecord("Bob", 6, late, "UK")).Status, 400) << "expired";

  std::vector<int64_t> scores;
  for (const auto& r : Stored()) {
    scores.push_back(r.Score);
  }
  EXPECT_EQ(scores, (std::vector<int64_t>{5, 3}));
}

TEST_F(ScoresServiceTest, TheSameResultFromOneAddressWithinAMinuteIsStoredOnce) {
  EXPECT_EQ(Upload("Bob", 500, "UK").Status, 200);
  now_ += 59;
  EXPECT_EQ(Upload("Bob", 500, "UK").Status, 200);
  EXPECT_EQ(Stored().size(), 1u);
  EXPECT_EQ(Upload("Bob", 500, "UK", "127.0.0.3").Status, 200) << "another address";
  EXPECT_EQ(Upload("Bob", 501, "UK").Status, 200) << "another score";
  EXPECT_EQ(Stored().size(), 3u);
  now_ += 1;
  EXPECT_EQ(Upload("Bob", 500, "UK").Status, 200);
  EXPECT_EQ(Stored().size(), 4u);
}

TEST_F(ScoresServiceTest, LimitsUploadsAndRequestsPerAddressAndMinute) {
  for (int i = 0; i < 10; ++i) {
    ASSERT_EQ(Upload("Bob", i, "UK").Status, 200) << i;
  }
  const std::string token = Token();
  EXPECT_EQ(UploadRecord(BuildResultRecord("Bob", 10, token, "UK")).Status, 429);
  EXPECT_EQ(Upload("Bob", 11, "UK", "127.0.0.3").Status, 200) << "another address";
  // 22 requests so far from the first address (ten pairs, a version, the refused upload);
  // the 120th is still served.
  for (int i = 22; i < 120; ++i) {
    ASSERT_EQ(Get("prg=Quasarball&show&type=0").Status, 200) << i;
  }
  EXPECT_EQ(Get("prg=Quasarball&show&type=0").Status, 429);
  EXPECT_EQ(Get("version&prg=Quasarball").Status, 429);
  now_ += 60;
  EXPECT_EQ(UploadRecord(BuildResultRecord("Bob", 12, token, "UK")).Status, 200);
  EXPECT_EQ(Stored().size(), 12u);
}

TEST_F(ScoresServiceTest, RefusesOtherRequests) {
  EXPECT_EQ(Get("version&prg=Other").Status, 400);
  EXPECT_EQ(Get("version").Status, 400);
  EXPECT_EQ(Get("prg=Quasarball").Status, 400);
  EXPECT_EQ(Get("prg=Quasarball&show&type=1").Status, 400);
  EXPECT_EQ(Get("prg=Quasarball&show&type=0&country=U1").Status, 400);
  EXPECT_EQ(Get("prg=Quasarball&show&type=0&range=year").Status, 400);
  scores::ScoresRequest elsewhere;
  elsewhere.Path = "/index.html";
  EXPECT_EQ(service_.Handle(elsewhere).Status, 404);
  scores::ScoresRequest tooLong;
  tooLong.Path = scores::kScoresPath;
  tooLong.Params.emplace("version", "");
  tooLong.Params.emplace("prg", "Quasarball");
  tooLong.QueryBytes = 8 * 1024 + 1;
  EXPECT_EQ(service_.Handle(tooLong).Status, 414);
}

TEST_F(ScoresServiceTest, WorldPageRanksByScoreThenTimeAndFiltersByWeekAndCountry) {
  const auto add = [&](const char* name, int64_t score, const char* country, int64_t time) {
    store_->AddResult({name, country, score, time, "x"});
  };
  add("Old", 900, "UK", kStart - 8 * 24 * 3600);
  add("Later", 500, "FR", kStart - 60);
  add("Early", 500, "UK", kStart - 120);
  add("Low", 100, "UK", kStart);
  const auto names = [&](const std::string& query) {
    std::vector<std::string> found;
    const std::string body = Get("prg=Quasarball&show&type=0&format=json" + query).Body;
    for (size_t at = body.find("\"name\":\""); at != std::string::npos;
         at = body.find("\"name\":\"", at + 1)) {
      found.push_back(body.substr(at + 8, body.find('"', at + 8) - at - 8));
    }
    return found;
  };
  EXPECT_EQ(names(""), (std::vector<std::string>{"Old", "Early", "Later", "Low"}));
  EXPECT_EQ(names("&range=week"), (std::vector<std::string>{"Early", "Later", "Low"}));
  EXPECT_EQ(names("&country=UK"), (std::vector<std::string>{"Old", "Early", "Low"}));
  EXPECT_EQ(names("&country=UK&range=week"), (std::vector<std::string>{"Early", "Low"}));

  const ScoresReply html = Get("prg=Quasarball&show&type=0&range=week");
  EXPECT_EQ(html.ContentType, "text/html; charset=utf-8");
  EXPECT_LT(html.Body.find(">Early<"), html.Body.find(">Later<"));
  EXPECT_EQ(html.Body.find(">Old<"), std::string::npos);
  EXPECT_EQ(html.Body.find("<script"), std::string::npos);
}

TEST_F(ScoresServiceTest, WorldPageShowsTheBestHundredAndEscapesStoredText) {
  for (int i = 0; i < 105; ++i) {
    store_->AddResult({"P", "UK", i, kStart, "x"});
  }
  store_->AddResult({"<b>&'\"", "<i>", 1000, kStart, "x"});
  const std::string html = Get("prg=Quasarball&show&type=0").Body;
  EXPECT_NE(html.find("&lt;b&gt;&amp;&#39;&quot;"), std::string::npos);
  EXPECT_NE(html.find("&lt;i&gt;"), std::string::npos);
  EXPECT_EQ(html.find("<b>"), std::string::npos);
  EXPECT_NE(html.find("<td class=\"rank\">100</td>"), std::string::npos);
  EXPECT_EQ(html.find("<td class=\"rank\">101</td>"), std::string::npos);
  const std::string json = Get("prg=Quasarball&show&type=0&format=json").Body;
  EXPECT_NE(json.find(R"("name":"\u003cb\u003e\u0026'\"")"), std::string::npos) << json;
  EXPECT_NE(json.find("\"rank\":100,"), std::string::npos);
  EXPECT_EQ(json.find("\"rank\":101,"), std::string::npos);
}

TEST(SqliteStore, KeepsResultsAndItsSchemaVersionAcrossOpens) {
  TempFolder folder;
  const std::string path = folder.File("scores.sqlite");
  {
    scores::SqliteStore store(path);
    store.AddResult({"Bob", "UK", 500, kStart, "x"});
  }
  scores::SqliteStore again(path);
  ASSERT_EQ(again.BestResults({}).size(), 1u);
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
  int version = -1;
  sqlite3_exec(
      db, "PRAGMA user_version",
      [](void* out, int, char** values, char**) {
        *static_cast<int*>(out) = std::stoi(values[0]);
        return 0;
      },
      &version, nullptr);
  char* mode = nullptr;
  sqlite3_exec(
      db, "PRAGMA journal_mode",
      [](void* out, int, char** values, char**) {
        *static_cast<char**>(out) = sqlite3_mprintf("%s", values[0]);
        return 0;
      },
      &mode, nullptr);
  EXPECT_EQ(version, 1);
  EXPECT_STREQ(mode, "wal");
  sqlite3_free(mode);
  EXPECT_EQ(sqlite3_exec(db, "PRAGMA user_version = 2", nullptr, nullptr, nullptr), SQLITE_OK);
  sqlite3_close(db);
  EXPECT_THROW(scores::SqliteStore newer(path), std::runtime_error);
}

}  // namespace
