#include "online/scores_service.h"

#include <cstdlib>

namespace {

constexpr const char* kPublicService = "https://quasarball.example.org";

}  // namespace

std::string ScoresServiceUrl() {
  const char* configured = std::getenv("QUASARBALL_SCORES_URL");
  std::string url = configured != nullptr && *configured != '\0' ? configured : kPublicService;
  while (!url.empty() && url.back() == '/')
    url.pop_back();
  return url;
}

std::string WorldScoresPage() {
  return ScoresServiceUrl() + "/cgi/version.pl?prg=Quasarball&show&type=0";
}
