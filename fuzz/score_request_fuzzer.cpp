// The high-score service's requests: the target of a GET ("/cgi/version.pl?prg=…&hs=1&inf=…")
// split and decoded as the HTTP library does it, then handled by the service over a store in
// memory, so only the parsing and the rules run.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include <httplib.h>

#include "fuzz_check.h"
#include "scores_service.h"

namespace {

// Every token counts as issued and every address as within its limits, so the fuzzer reaches
// all of an upload's checks; what a stored result holds is checked instead.
class MemoryStore final : public scores::ScoreStore {
 public:
  std::string AddressSecret() override { return "fuzz"; }
  std::string IssueToken(int64_t, int64_t) override { return "TOKEN"; }
  bool UseToken(std::string_view, int64_t) override { return true; }
  bool Count(scores::Counted, std::string_view, int64_t, int) override { return true; }
  scores::Added AddResult(const scores::NewResult& result) override {
    added.push_back(result);
    return scores::Added::Stored;
  }
  std::vector<scores::StoredResult> BestResults(const scores::ResultQuery&) override {
    return {{"Anonymous", "Nowhere", 100, 0}};
  }
  std::vector<scores::NewResult> added;
};

bool Letters(const std::string& text) {
  return text.size() <= 10 &&
         text.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz") ==
             std::string::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string target(reinterpret_cast<const char*>(data), size);
  scores::ScoresRequest request;
  const size_t question = target.find('?');
  request.Path = httplib::detail::decode_url(target.substr(0, question), false);
  if (question != std::string::npos) {
    httplib::detail::parse_query_text(target.substr(question + 1), request.Params);
    request.QueryBytes = target.size() - question - 1;
  }
  request.Address = "0123456789abcdef";
  request.Now = 1'700'000'000;

  MemoryStore store;
  scores::ScoresService service(store, {});
  const scores::ScoresReply reply = service.Handle(request);
  fuzz::Check(reply.Status == 200 || !reply.Body.empty(), "a refusal says why");
  for (const scores::NewResult& result : store.added) {
    fuzz::Check(Letters(result.Name) && Letters(result.Country), "names of letters only");
    fuzz::Check(result.Score >= 0 && result.Score <= scores::kMaxScore, "a score in range");
  }
  return 0;
}
