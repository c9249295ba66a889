// The upload thread over real HTTP on loopback: against the high-score service itself, and
// against small servers of the test's own that answer wrongly, refuse, or never answer.
#include <gtest/gtest.h>
#include <httplib.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <mutex>
#include <thread>

#include "online/conn_thread.h"
#include "online/record_codec.h"
#include "scores_process.h"

namespace {

using namespace std::chrono_literals;
using Outcome = ConnThrd::Outcome;

// Waits for the thread's outcome, for at most `limit`.
Outcome Await(const ConnThrd& upload, std::chrono::seconds limit = 20s) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (upload.Poll() == Outcome::Pending && std::chrono::steady_clock::now() < end)
    std::this_thread::sleep_for(5ms);
  return upload.Poll();
}

std::string Url(int port) {
  return "http://127.0.0.1:" + std::to_string(port);
}

// A service of the test's own: the version reply and the upload's status are the test's to set;
// the last upload's `inf` is kept.
class Responder {
 public:
  Responder(int versionStatus, std::string versionBody, int uploadStatus) {
    server_.Get("/cgi/version.pl",
                [=, this](const httplib::Request& request, httplib::Response& response) {
                  if (request.has_param("version")) {
                    response.status = versionStatus;
                    response.set_content(versionBody, "text/plain");
                  } else {
                    uploads_++;
                    inf_ = request.get_param_value("inf");
                    response.status = uploadStatus;
                    response.set_content("OK", "text/plain");
                  }
                });
    port_ = server_.bind_to_any_port("127.0.0.1");
    thread_ = std::thread([this] { server_.listen_after_bind(); });
    while (!server_.is_running())
      std::this_thread::sleep_for(1ms);
  }
  ~Responder() {
    server_.stop();
    thread_.join();
  }
  int Port() const { return port_; }
  int Uploads() const {
    const std::lock_guard lock(mutex_);
    return uploads_;
  }
  std::string Inf() const {
    const std::lock_guard lock(mutex_);
    return inf_;
  }

 private:
  httplib::Server server_;
  int port_ = 0;
  mutable std::mutex mutex_;
  int uploads_ = 0;
  std::string inf_;
  std::thread thread_;
};

// A port where nothing listens, and one where the system accepts connections that nobody ever
// answers.
struct Socket {
  int fd = socket(AF_INET, SOCK_STREAM, 0);
  int port = 0;
  explicit Socket(bool listening) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    socklen_t length = sizeof address;
    getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    port = ntohs(address.sin_port);
    if (listening)
      listen(fd, 8);
  }
  ~Socket() { close(fd); }
};

const ConnThrd::Result kResult{"Bob", 500, "UK"};

TEST(VersionToken, IsTheFifthFieldOfTheReply) {
  const struct {
    const char* reply;
    const char* token;
  } kCases[] = {
      {"OK|a|b|c|d|e", "d"},
      {"OK|quasarball-scores|1|Hello|ABCDEFGHJKLMNPQR|", "ABCDEFGHJKLMNPQR"},
      {"OK", ""},
      {"OK|a|b|c|d", ""},  // no separator after the fifth field: it is not there
      {"OK||||x|", "x"},
      {"", ""},
  };
  for (const auto& c : kCases)
    EXPECT_EQ(VersionToken(c.reply), c.token) << c.reply;
}

TEST(Upload, AResultSentToTheServiceIsOnItsWorldPage) {
  scores_test::TempFolder folder;
  auto service =
      scores_test::ScoresProcess::Start(folder.File("scores.sqlite"), {}, folder.File("log.txt"));
  ASSERT_TRUE(service);
  ConnThrd upload(Url(service->Port()), {"Bob", 12345, "UK"});
  upload.Start();
  EXPECT_EQ(Await(upload), Outcome::Sent);

  httplib::Client client("127.0.0.1", service->Port());
  const auto page = client.Get("/cgi/version.pl?prg=Quasarball&show&type=0&format=json");
  ASSERT_TRUE(page);
  EXPECT_NE(page->body.find("\"Bob\""), std::string::npos) << page->body;
  EXPECT_NE(page->body.find("12345"), std::string::npos) << page->body;
  EXPECT_NE(page->body.find("\"UK\""), std::string::npos) << page->body;
}

// Each row: the version reply's status and text, the upload's status, the outcome, and whether
// an upload was sent at all.
TEST(Upload, EveryWrongAnswerIsAFailure) {
  const struct {
    int versionStatus;
    const char* versionBody;
    int uploadStatus;
    Outcome outcome;
    int uploads;
  } kCases[] = {
      {200, "OK|a|b|c|d|", 200, Outcome::Sent, 1},
      {200, "OK", 200, Outcome::Sent, 1},
      {200, "ok|a|b|c|d|", 200, Outcome::Failed, 0},
      {200, "NO", 200, Outcome::Failed, 0},
      {500, "OK|a|b|c|d|", 200, Outcome::Failed, 0},
      {200, "OK|a|b|c|d|", 500, Outcome::Failed, 1},  // the upload itself failed: say so
      {200, "OK|a|b|c|d|", 404, Outcome::Failed, 1},
  };
  for (const auto& c : kCases) {
    Responder responder(c.versionStatus, c.versionBody, c.uploadStatus);
    ConnThrd upload(Url(responder.Port()), kResult);
    upload.Start();
    EXPECT_EQ(Await(upload), c.outcome) << c.versionBody << " " << c.uploadStatus;
    EXPECT_EQ(responder.Uploads(), c.uploads) << c.versionBody << " " << c.uploadStatus;
  }
}

TEST(Upload, TheRecordSentIsTheGamesEncodedResult) {
  Responder responder(200, "OK|a|b|c|tok|", 200);
  ConnThrd upload(Url(responder.Port()), kResult);
  upload.Start();
  ASSERT_EQ(Await(upload), Outcome::Sent);
  EXPECT_EQ(DecodeRecord(responder.Inf()), "type=0|name=Bob|score=500|key=Q|p=tok|add=UK|z=000");
}

// The version reply is read up to 4 KiB and no more: a huge token cannot make the upload's
// address huge.
TEST(Upload, AVersionReplyIsReadUpTo4KiB) {
  for (const size_t tokenLength : {size_t{3000}, size_t{1} << 20}) {
    Responder responder(200, "OK|a|b|c|" + std::string(tokenLength, 'x') + "|", 200);
    ConnThrd upload(Url(responder.Port()), kResult);
    upload.Start();
    EXPECT_EQ(Await(upload), Outcome::Sent) << tokenLength;
    const auto record = DecodeRecord(responder.Inf());
    ASSERT_TRUE(record) << tokenLength;
    EXPECT_LT(record->size(), THttpClient::kMaxBody + 100) << tokenLength;
    // A token whose end lies past the first 4 KiB never came: it is empty.
    EXPECT_EQ(record->find("|p=xxx") != std::string::npos, tokenLength == 3000) << tokenLength;
  }
}

TEST(Upload, ARefusedConnectionFails) {
  const Socket closed(false);
  ConnThrd upload(Url(closed.port), kResult);
  upload.Start();
  EXPECT_EQ(Await(upload), Outcome::Failed);
}

TEST(Upload, AServiceThatNeverAnswersFailsWhenTheTimeRunsOut) {
  const Socket silent(true);
  ConnThrd upload(Url(silent.port), kResult, {500ms, 1000ms, 1500ms});
  upload.Start();
  EXPECT_EQ(Await(upload, 10s), Outcome::Failed);
}

// Leaving the game mid-upload: the transfer is abandoned and the thread joined at once, long
// before the 15 s a silent service would otherwise take.
TEST(Upload, DestroyingARunningUploadAbandonsItAtOnce) {
  const Socket silent(true);
  auto upload = std::make_unique<ConnThrd>(Url(silent.port), kResult);
  upload->Start();
  std::this_thread::sleep_for(200ms);
  EXPECT_EQ(upload->Poll(), Outcome::Pending);
  const auto before = std::chrono::steady_clock::now();
  upload.reset();
  EXPECT_LT(std::chrono::steady_clock::now() - before, 5s);
}

TEST(Upload, AnUploadNeverStartedSendsNothing) {
  Responder responder(200, "OK|a|b|c|d|", 200);
  { ConnThrd upload(Url(responder.Port()), kResult); }
  EXPECT_EQ(responder.Uploads(), 0);
}

}  // namespace
