#include "options.h"

#include <charconv>

namespace scores {
namespace {

std::optional<int> ParseCount(const std::string& text, int least, int most) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < least || value > most) {
    return std::nullopt;
  }
  return value;
}

}  // namespace

std::string HelpText() {
  return "Usage: quasarball-scores [OPTION]...\n"
         "The world high-score service of Quasarball: hands out upload tokens, takes results and\n"
         "shows the world page on /cgi/version.pl.\n"
         "\n"
         "  --listen ADDR:PORT     where to listen (default 127.0.0.1:8642; port 0 picks a free\n"
         "                         one and prints it)\n"
         "  --db FILE              the SQLite database (default scores.sqlite), created if "
         "missing\n"
         "  --trust-proxy          take the client address from the last X-Forwarded-For entry;\n"
         "                         only behind a proxy that sets it\n"
         "  --upload-limit N       uploads per minute and address (default 10)\n"
         "  --request-limit N      requests per minute and address (default 120)\n"
         "  --threads N            connections served at once (default 32)\n"
         "  --motd TEXT            the message of the day in the version reply (no '|')\n"
         "  --help                 show this and stop\n"
         "\n"
         "One line per request goes to standard error. SIGTERM or SIGINT finish the requests in\n"
         "flight, close the database and stop.\n";
}

OptionsParse ParseOptions(const std::vector<std::string>& args) {
  ServerOptions options;
  const auto fail = [](std::string error) { return OptionsParse{std::nullopt, false, error}; };
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--help") {
      return {std::nullopt, true, {}};
    }
    if (arg == "--trust-proxy") {
      options.TrustProxy = true;
      continue;
    }
    const bool takesValue = arg == "--listen" || arg == "--db" || arg == "--upload-limit" ||
                            arg == "--request-limit" || arg == "--threads" || arg == "--motd";
    if (!takesValue) {
      return fail("unknown argument " + arg);
    }
    if (i + 1 >= args.size()) {
      return fail(arg + " needs a value");
    }
    const std::string& value = args[++i];
    if (arg == "--listen") {
      const size_t colon = value.rfind(':');
      const auto port =
          colon == std::string::npos ? std::nullopt : ParseCount(value.substr(colon + 1), 0, 65535);
      if (!port || colon == 0) {
        return fail("--listen takes ADDR:PORT, not " + value);
      }
      options.Host = value.substr(0, colon);
      // An IPv6 address is written in brackets, as in [::1]:8642.
      if (options.Host.size() > 2 && options.Host.front() == '[' && options.Host.back() == ']') {
        options.Host = options.Host.substr(1, options.Host.size() - 2);
      }
      options.Port = *port;
    } else if (arg == "--db") {
      options.Database = value;
    } else if (arg == "--upload-limit" || arg == "--request-limit" || arg == "--threads") {
      const auto count = ParseCount(value, 1, 1'000'000'000);
      if (!count) {
        return fail(arg + " takes a whole number from 1, not " + value);
      }
      (arg == "--upload-limit"    ? options.Service.UploadLimit
       : arg == "--request-limit" ? options.Service.RequestLimit
                                  : options.Threads) = *count;
    } else {
      if (value.find('|') != std::string::npos || value.find('\n') != std::string::npos) {
        return fail("--motd cannot hold '|' or a line break");
      }
      options.Service.Message = value;
    }
  }
  return {options, false, {}};
}

}  // namespace scores
