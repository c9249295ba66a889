#include "scores_service.h"

#include <openssl/evp.h>
#include <openssl/hmac.h>

#include <algorithm>
#include <array>
#include <cstdio>

#include "online/record_codec.h"
#include "world_page.h"

namespace scores {
namespace {

constexpr size_t kMaxTextLetters = 10;
constexpr size_t kMaxScoreDigits = 9;
constexpr int64_t kWeek = 7 * 24 * 60 * 60;

ScoresReply Refuse(int status, std::string kind, std::string reason) {
  return {status, "text/plain; charset=utf-8", std::move(reason) + "\n", std::move(kind)};
}

bool IsAsciiLetters(std::string_view text) {
  return text.size() <= kMaxTextLetters && std::all_of(text.begin(), text.end(), [](char c) {
           return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
         });
}

// A whole number in plain decimal digits from 0 to kMaxScore; nothing for anything else.
std::optional<int64_t> ParseScore(std::string_view text) {
  if (text.empty() || text.size() > kMaxScoreDigits ||
      !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return std::nullopt;
  }
  int64_t score = 0;
  for (const char c : text) {
    score = score * 10 + (c - '0');
  }
  return score <= kMaxScore ? std::optional(score) : std::nullopt;
}

const std::string* Single(const ScoresRequest& request, const std::string& key) {
  const auto [first, last] = request.Params.equal_range(key);
  return first != last && std::next(first) == last ? &first->second : nullptr;
}

bool Has(const ScoresRequest& request, const std::string& key) {
  return request.Params.count(key) > 0;
}

}  // namespace

ScoresService::ScoresService(ScoreStore& store, ServiceSettings settings)
    : store_(store), settings_(std::move(settings)), secret_(store.AddressSecret()) {}

std::string ScoresService::HashAddress(std::string_view address) const {
  std::array<unsigned char, EVP_MAX_MD_SIZE> digest;
  unsigned length = 0;
  HMAC(EVP_sha256(), secret_.data(), static_cast<int>(secret_.size()),
       reinterpret_cast<const unsigned char*>(address.data()), address.size(), digest.data(),
       &length);
  std::string hex;
  for (size_t i = 0; i < 8 && i < length; ++i) {
    std::array<char, 3> pair;
    std::snprintf(pair.data(), pair.size(), "%02x", digest[i]);
    hex.append(pair.data(), 2);
  }
  return hex;
}

ScoresReply ScoresService::Handle(const ScoresRequest& request) {
  if (!store_.Count(Counted::Request, request.Address, request.Now, settings_.RequestLimit)) {
    return Refuse(429, "limited", "too many requests from this address; try again in a minute");
  }
  if (request.QueryBytes > kMaxQueryBytes) {
    return Refuse(414, "too-long", "the query is longer than 8 KiB");
  }
  if (request.Path != kScoresPath) {
    return Refuse(404, "other", "nothing here");
  }
  const std::string* program = Single(request, "prg");
  if (!program || *program != "Quasarball") {
    return Refuse(400, "other", "prg must be Quasarball");
  }
  if (Has(request, "version")) {
    return Version(request);
  }
  if (Has(request, "hs")) {
    if (!store_.Count(Counted::Upload, request.Address, request.Now, settings_.UploadLimit)) {
      return Refuse(429, "upload", "too many uploads from this address; try again in a minute");
    }
    return Upload(request);
  }
  if (Has(request, "show")) {
    return World(request);
  }
  return Refuse(400, "other", "unknown request");
}

ScoresReply ScoresService::Version(const ScoresRequest& request) {
  const std::string token = store_.IssueToken(request.Now, kTokenLifetime);
  return {200, "text/plain; charset=utf-8",
          "OK|quasarball-scores|1|" + settings_.Message + "|" + token + "|", "version"};
}

ScoresReply ScoresService::Upload(const ScoresRequest& request) {
  const auto refuse = [](std::string reason) { return Refuse(400, "upload", std::move(reason)); };
  const std::string* inf = Single(request, "inf");
  if (!inf) {
    return refuse("the upload needs one inf");
  }
  const std::optional<std::string> text = DecodeRecord(*inf);
  if (!text) {
    return refuse("inf is not in the record encoding");
  }
  const TRecordParse parse = ParseResultRecord(*text);
  if (!parse.Record) {
    return refuse(parse.Error);
  }
  const TResultRecord& record = *parse.Record;
  if (record.Type != "0") {
    return refuse("type must be 0");
  }
  if (!IsAsciiLetters(record.Name)) {
    return refuse("the name must be 0 to 10 ASCII letters");
  }
  if (!IsAsciiLetters(record.Country)) {
    return refuse("the country must be 0 to 10 ASCII letters");
  }
  const std::optional<int64_t> score = ParseScore(record.Score);
  if (!score) {
    return refuse("the score must be a whole number from 0 to 100000000");
  }
  if (record.Key != std::string(1, kRecordKey)) {
    return refuse("wrong key");
  }
  if (!store_.UseToken(record.P, request.Now)) {
    return refuse("the token is unknown, expired or used");
  }
  store_.AddResult({record.Name, record.Country, *score, request.Now, request.Address});
  return {200, "text/plain; charset=utf-8", "OK", "upload"};
}

ScoresReply ScoresService::World(const ScoresRequest& request) {
  const std::string* type = Single(request, "type");
  if (!type || *type != "0") {
    return Refuse(400, "world", "type must be 0");
  }
  WorldView view;
  if (const std::string* country = Single(request, "country")) {
    if (!IsAsciiLetters(*country)) {
      return Refuse(400, "world", "the country must be 0 to 10 ASCII letters");
    }
    view.Country = *country;
  }
  if (const std::string* range = Single(request, "range")) {
    if (*range != "all" && *range != "week") {
      return Refuse(400, "world", "range must be all or week");
    }
    view.LastWeek = *range == "week";
  }
  bool json = false;
  if (const std::string* format = Single(request, "format")) {
    if (*format != "html" && *format != "json") {
      return Refuse(400, "world", "format must be html or json");
    }
    json = *format == "json";
  }
  const std::vector<StoredResult> results =
      store_.BestResults({view.LastWeek ? request.Now - kWeek : 0, view.Country, 100});
  if (json) {
    return {200, "application/json", WorldPageJson(view, results), "world-json"};
  }
  return {200, "text/html; charset=utf-8", WorldPageHtml(view, results), "world"};
}

}  // namespace scores
