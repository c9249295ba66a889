#include "world_page.h"

#include <array>
#include <cstdio>
#include <ctime>

namespace scores {
namespace {

constexpr const char* kStyle = R"css(
:root { color-scheme: dark; }
* { box-sizing: border-box; }
body { margin: 0; font: 16px/1.45 system-ui, "DejaVu Sans", sans-serif;
  background: radial-gradient(circle at 50% -20%, #26305e, #0b0d1f 60%) fixed; color: #e8ecff; }
main { max-width: 46rem; margin: 0 auto; padding: 1.5rem 1rem 3rem; }
h1 { margin: 0; font-size: 2rem; letter-spacing: .08em; text-transform: uppercase;
  color: #8fd3ff; text-shadow: 0 0 12px #3aa0ff88; }
.sub { margin: .2rem 0 1.2rem; color: #a9b3d9; }
nav { display: flex; flex-wrap: wrap; gap: .5rem; align-items: center; margin-bottom: 1rem; }
nav a, button { padding: .45rem .9rem; border-radius: 999px; border: 1px solid #3c4a8a;
  color: #cfd8ff; background: #151a3a; text-decoration: none; font: inherit; }
nav a.on { background: #2f6fd8; border-color: #2f6fd8; color: #fff; }
form { display: flex; gap: .5rem; margin-left: auto; }
input { width: 7.5rem; padding: .45rem .7rem; border-radius: 999px; border: 1px solid #3c4a8a;
  background: #0f1330; color: #fff; font: inherit; }
table { width: 100%; border-collapse: collapse; background: #11153199; border-radius: .6rem;
  overflow: hidden; }
th, td { padding: .55rem .6rem; text-align: left; border-bottom: 1px solid #232a55; }
th { font-size: .8rem; text-transform: uppercase; letter-spacing: .06em; color: #8f9ac6;
  background: #161c42; }
td.rank, td.score, th.score { text-align: right; font-variant-numeric: tabular-nums; }
td.rank { color: #8f9ac6; width: 2.5rem; }
td.name { font-weight: 600; overflow-wrap: anywhere; }
td.score { color: #ffd66e; font-weight: 600; }
tr:nth-child(-n+3) td.rank { color: #ffd66e; }
td.date { color: #a9b3d9; white-space: nowrap; }
.empty { padding: 2rem; text-align: center; color: #a9b3d9; }
footer { margin-top: 1rem; font-size: .85rem; color: #7d87b3; }
footer a { color: #8fd3ff; }
@media (max-width: 34rem) {
  body { font-size: 15px; }
  main { padding: 1rem .5rem 2rem; }
  h1 { font-size: 1.5rem; }
  form { margin-left: 0; width: 100%; }
  input { flex: 1; }
  th, td { padding: .5rem .35rem; }
  td.date { font-size: .8rem; }
}
)css";

std::string Date(int64_t time) {
  const std::time_t seconds = static_cast<std::time_t>(time);
  std::tm parts{};
  gmtime_r(&seconds, &parts);
  std::array<char, 32> text{};
  std::strftime(text.data(), text.size(), "%Y-%m-%d", &parts);
  return text.data();
}

// Digits in groups of three, easier to compare at a glance: 1234567 as 1,234,567.
std::string GroupedDigits(int64_t value) {
  std::string digits = std::to_string(value);
  for (int at = static_cast<int>(digits.size()) - 3; at > (digits[0] == '-' ? 1 : 0); at -= 3) {
    digits.insert(static_cast<size_t>(at), ",");
  }
  return digits;
}

std::string ShownName(const std::string& name) {
  return name.empty() ? "Anonymous" : name;
}

std::string ViewLink(const WorldView& view, bool lastWeek, bool json) {
  std::string link = "/cgi/version.pl?prg=Quasarball&amp;show&amp;type=0";
  if (lastWeek) {
    link += "&amp;range=week";
  }
  if (!view.Country.empty()) {
    link += "&amp;country=" + EscapeHtml(view.Country);
  }
  if (json) {
    link += "&amp;format=json";
  }
  return link;
}

}  // namespace

std::string EscapeHtml(std::string_view text) {
  std::string escaped;
  escaped.reserve(text.size());
  for (const char c : text) {
    switch (c) {
      case '&':
        escaped += "&amp;";
        break;
      case '<':
        escaped += "&lt;";
        break;
      case '>':
        escaped += "&gt;";
        break;
      case '"':
        escaped += "&quot;";
        break;
      case '\'':
        escaped += "&#39;";
        break;
      default:
        escaped += c;
    }
  }
  return escaped;
}

std::string QuoteJson(std::string_view text) {
  std::string quoted = "\"";
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      quoted += '\\';
      quoted += c;
    } else if (byte < 0x20 || byte >= 0x7f || c == '<' || c == '>' || c == '&') {
      // Markup characters too, so the JSON can never be read as HTML; other bytes are never
      // stored by an upload, and escaping them keeps the output valid JSON whatever the file holds.
      std::array<char, 7> code;
      std::snprintf(code.data(), code.size(), "\\u%04x", byte);
      quoted += code.data();
    } else {
      quoted += c;
    }
  }
  return quoted + "\"";
}

std::string WorldPageHtml(const WorldView& view, const std::vector<StoredResult>& results) {
  std::string page =
      "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
      "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
      "<title>Quasarball world high scores</title>\n<style>";
  page += kStyle;
  page +=
      "</style>\n</head>\n<body>\n<main>\n<h1>Quasarball</h1>\n<p class=\"sub\">World high scores";
  if (!view.Country.empty()) {
    page += " from " + EscapeHtml(view.Country);
  }
  page += view.LastWeek ? ", last 7 days" : ", all time";
  page += "</p>\n<nav>\n";
  page += "<a href=\"" + ViewLink(view, false, false) + "\"" +
          (view.LastWeek ? "" : " class=\"on\"") + ">All time</a>\n";
  page += "<a href=\"" + ViewLink(view, true, false) + "\"" +
          (view.LastWeek ? " class=\"on\"" : "") + ">Last 7 days</a>\n";
  page +=
      "<form method=\"get\" action=\"/cgi/version.pl\">"
      "<input type=\"hidden\" name=\"prg\" value=\"Quasarball\">"
      "<input type=\"hidden\" name=\"show\" value=\"\">"
      "<input type=\"hidden\" name=\"type\" value=\"0\">";
  if (view.LastWeek) {
    page += "<input type=\"hidden\" name=\"range\" value=\"week\">";
  }
  page +=
      "<input name=\"country\" maxlength=\"10\" pattern=\"[A-Za-z]{0,10}\" placeholder=\"Country\" "
      "aria-label=\"Country\" value=\"" +
      EscapeHtml(view.Country) + "\"><button>Filter</button></form>\n</nav>\n";
  if (results.empty()) {
    page += "<p class=\"empty\">No results yet.</p>\n";
  } else {
    page +=
        "<table>\n<thead><tr><th>#</th><th>Name</th><th>Country</th><th class=\"score\">Score</th>"
        "<th>Date</th></tr></thead>\n<tbody>\n";
    for (size_t i = 0; i < results.size(); ++i) {
      const StoredResult& r = results[i];
      page += "<tr><td class=\"rank\">" + std::to_string(i + 1) + "</td><td class=\"name\">" +
              EscapeHtml(ShownName(r.Name)) + "</td><td class=\"country\">" +
              EscapeHtml(r.Country) + "</td><td class=\"score\">" + GroupedDigits(r.Score) +
              "</td><td class=\"date\">" + Date(r.Time) + "</td></tr>\n";
    }
    page += "</tbody>\n</table>\n";
  }
  page += "<footer>The best 100 results. <a href=\"" + ViewLink(view, view.LastWeek, true) +
          "\">As JSON</a></footer>\n</main>\n</body>\n</html>\n";
  return page;
}

std::string WorldPageJson(const WorldView& view, const std::vector<StoredResult>& results) {
  std::string json = "{\"range\":";
  json += view.LastWeek ? "\"week\"" : "\"all\"";
  json += ",\"country\":" + QuoteJson(view.Country) + ",\"results\":[";
  for (size_t i = 0; i < results.size(); ++i) {
    const StoredResult& r = results[i];
    json += i == 0 ? "" : ",";
    json += "{\"rank\":" + std::to_string(i + 1) + ",\"name\":" + QuoteJson(ShownName(r.Name)) +
            ",\"country\":" + QuoteJson(r.Country) + ",\"score\":" + std::to_string(r.Score) +
            ",\"date\":" + QuoteJson(Date(r.Time)) + ",\"time\":" + std::to_string(r.Time) + "}";
  }
  return json + "]}\n";
}

}  // namespace scores
