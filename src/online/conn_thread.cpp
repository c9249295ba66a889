#include "online/conn_thread.h"

#ifdef __linux__
#include <sys/resource.h>
#endif

#include "online/record_codec.h"

std::unique_ptr<ConnThrd> Connection;

namespace {

constexpr const char* kVersionRequest = "/cgi/version.pl?version&prg=Quasarball";
constexpr const char* kUploadRequest = "/cgi/version.pl?hs&prg=Quasarball&inf=";
constexpr int kTokenField = 5;

// The upload waits for nobody: it yields to the game's own thread.
void LowerThisThreadsPriority() {
#ifdef __linux__
  setpriority(PRIO_PROCESS, 0, 19);  // on Linux this names the calling thread alone
#endif
}

}  // namespace

std::string VersionToken(std::string_view reply) {
  std::string_view field;
  for (int step = 0; step < kTokenField; ++step) {
    const size_t bar = reply.find('|');
    if (bar == std::string_view::npos) {
      field = {};
      reply = {};
      continue;
    }
    field = reply.substr(0, bar);
    reply.remove_prefix(bar + 1);
  }
  return std::string(field);
}

ConnThrd::ConnThrd(std::string serviceUrl, Result result, Limits limits)
    : serviceUrl_(std::move(serviceUrl)), result_(std::move(result)), limits_(limits) {}

ConnThrd::~ConnThrd() {
  abort_ = true;
  if (thread_.joinable()) {
    thread_.join();
  }
}

void ConnThrd::Start() {
  if (!thread_.joinable()) {
    thread_ = std::thread([this] { Execute(); });
  }
}

// A failed upload request is a failure too: the player is asked whether to try again, and the
// local table is saved already.
void ConnThrd::Execute() {
  LowerThisThreadsPriority();
  const auto end = THttpClient::Clock::now() + limits_.total;
  auto deadline = [&] { return std::min(end, THttpClient::Clock::now() + limits_.request); };

  const THttpReply version =
      client_.Get(serviceUrl_ + kVersionRequest, limits_.connect, deadline(), abort_);
  if (!version.Ok || !version.Body.starts_with("OK")) {
    outcome_ = Outcome::Failed;
    return;
  }
  const std::string record =
      BuildResultRecord(result_.Name, result_.Score, VersionToken(version.Body), result_.Country);
  const THttpReply upload = client_.Get(serviceUrl_ + kUploadRequest + EncodeRecord(record),
                                        limits_.connect, deadline(), abort_);
  outcome_ = upload.Ok ? Outcome::Sent : Outcome::Failed;
}
