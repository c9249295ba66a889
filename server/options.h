// The command line of quasarball-scores.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "scores_service.h"

namespace scores {

struct ServerOptions {
  std::string Host = "127.0.0.1";
  int Port = 8642;  // 0 picks a free port, printed at start
  std::string Database = "scores.sqlite";
  bool TrustProxy = false;  // take the client address from X-Forwarded-For
  int Threads = 32;         // connections served at once
  ServiceSettings Service;
};

struct OptionsParse {
  std::optional<ServerOptions> Options;  // nothing on an error or for --help
  bool Help = false;
  std::string Error;
};

// `args` without the program name.
OptionsParse ParseOptions(const std::vector<std::string>& args);
std::string HelpText();

}  // namespace scores
