// The world page in a real browser: headless Chromium reads it with twelve results, one of
// them named to inject markup, and leaves screenshots beside this test in the build folder.
#include <gtest/gtest.h>
#include <httplib.h>
#include <sqlite3.h>

#include <filesystem>
#include <fstream>
#include <regex>

#include "online/record_codec.h"
#include "scores_process.h"

namespace {

using scores_test::Finished;
using scores_test::ScoresProcess;
using scores_test::TempFolder;

constexpr const char* kChromium = "/usr/bin/chromium";
const std::string kInjected = "<script>document.title='owned'</script><b>Mallory</b>";

std::string TokenOf(const std::string& reply) {
  size_t at = 0;
  for (int field = 0; field < 4; ++field) {
    at = reply.find('|', at) + 1;
  }
  return reply.substr(at, reply.find('|', at) - at);
}

// Headless Chromium kept to loopback: no background services, and every host name but
// 127.0.0.1 resolves to nothing.
Finished RunChromium(const std::string& profile, const std::vector<std::string>& what,
                     const std::string& url) {
  std::vector<std::string> argv = {kChromium,
                                   "--headless",
                                   "--no-sandbox",
                                   "--disable-gpu",
                                   "--user-data-dir=" + profile,
                                   "--no-first-run",
                                   "--disable-background-networking",
                                   "--disable-component-update",
                                   "--disable-sync",
                                   "--disable-default-apps",
                                   "--disable-domain-reliability",
                                   "--disable-breakpad",
                                   "--no-pings",
                                   "--hide-scrollbars",
                                   "--host-resolver-rules=MAP * ~NOTFOUND , EXCLUDE 127.0.0.1"};
  argv.insert(argv.end(), what.begin(), what.end());
  argv.push_back(url);
  return scores_test::Run(argv, 60);
}

bool IsPng(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  char signature[8] = {};
  in.read(signature, sizeof signature);
  return in && std::string(signature, 8) == "\x89PNG\r\n\x1a\n" &&
         std::filesystem::file_size(path) > 10'000;
}

TEST(WorldPageInBrowser, ShowsTheRanksInOrderAndInjectedMarkupAsText) {
  ASSERT_TRUE(std::filesystem::exists(kChromium))
      << kChromium << " is missing: install Debian's chromium (scripts/setup.sh does)";
  TempFolder folder;
  const std::string database = folder.File("scores.sqlite");
  auto server = ScoresProcess::Start(database, {"--upload-limit", "50"}, folder.File("log"));
  ASSERT_TRUE(server);

  httplib::Client client("127.0.0.1", server->Port());
  const std::vector<std::string> names = {"Ada", "Ben",  "Cleo", "Dan", "Eve", "Finn",
                                          "Gus", "Hana", "Ivo",  "Jo",  "Kai"};
  for (size_t i = 0; i < names.size(); ++i) {
    const auto version = client.Get("/cgi/version.pl?version&prg=Quasarball");
    ASSERT_TRUE(version);
    const int32_t score = 120000 - static_cast<int32_t>(i) * 10000 - (i >= 6 ? 5000 : 0);
    const std::string inf = EncodeRecord(
        BuildResultRecord(names[i], score, TokenOf(version->body), i % 2 ? "UK" : "SE"));
    const auto upload = client.Get(("/cgi/version.pl?hs&prg=Quasarball&inf=" + inf).c_str());
    ASSERT_TRUE(upload);
    ASSERT_EQ(upload->body, "OK");
  }
  // An upload can never store such a name, so it goes in beside the service, as a damaged or
  // hand-edited file would; it ranks seventh.
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(database.c_str(), &db), SQLITE_OK);
  sqlite3_stmt* insert = nullptr;
  sqlite3_prepare_v2(db,
                     "INSERT INTO results (name, country, score, time, address) "
                     "VALUES (?1, 'NL', 62000, strftime('%s', 'now'), 'hand')",
                     -1, &insert, nullptr);
  sqlite3_bind_text(insert, 1, kInjected.c_str(), -1, SQLITE_TRANSIENT);
  EXPECT_EQ(sqlite3_step(insert), SQLITE_DONE);
  sqlite3_finalize(insert);
  sqlite3_close(db);

  const std::string url = "http://127.0.0.1:" + std::to_string(server->Port()) +
                          "/cgi/version.pl?prg=Quasarball&show&type=0";
  const Finished dom = RunChromium(folder.File("profile"), {"--dump-dom"}, url);
  ASSERT_EQ(dom.Status, 0) << dom.Output;

  const std::regex row(
      R"re(<tr><td class="rank">(\d+)</td><td class="name">([^<]*)</td><td class="country">([A-Z]*)</td>)re");
  std::vector<int> ranks;
  std::vector<std::string> shown;
  for (std::sregex_iterator it(dom.Output.begin(), dom.Output.end(), row), end; it != end; ++it) {
    ranks.push_back(std::stoi((*it)[1]));
    shown.push_back((*it)[2]);
  }
  EXPECT_EQ(ranks, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
  const std::string injectedAsText =
      "&lt;script&gt;document.title='owned'&lt;/script&gt;&lt;b&gt;Mallory&lt;/b&gt;";
  EXPECT_EQ(shown, (std::vector<std::string>{"Ada", "Ben", "Cleo", "Dan", "Eve", "Finn",
                                             injectedAsText, "Gus", "Hana", "Ivo", "Jo", "Kai"}))
      << dom.Output;
  EXPECT_EQ(dom.Output.find("<script"), std::string::npos);
  EXPECT_EQ(dom.Output.find("<b>"), std::string::npos);
  EXPECT_NE(dom.Output.find("<title>Quasarball world high scores</title>"), std::string::npos);

  for (const auto& [file, size] : {std::pair("world_page_desktop.png", "1280,1000"),
                                   std::pair("world_page_phone.png", "390,844")}) {
    const std::string path = std::string(QB_SCORES_OUTPUT_DIR) + "/" + file;
    std::filesystem::remove(path);
    const Finished shot =
        RunChromium(folder.File("profile"),
                    {"--window-size=" + std::string(size), "--screenshot=" + path}, url);
    EXPECT_EQ(shot.Status, 0);
    EXPECT_TRUE(IsPng(path)) << path;
  }
}

}  // namespace
