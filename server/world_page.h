// The world high-score page, as HTML for people and as JSON for programs.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "score_store.h"

namespace scores {

struct WorldView {
  bool LastWeek = false;  // the last 7 days rather than all time
  std::string Country;    // filter; empty for every country
};

// `text` with &, <, >, " and ' written as character references.
std::string EscapeHtml(std::string_view text);
// `text` as a JSON string literal, quotes included.
std::string QuoteJson(std::string_view text);

// A whole HTML5 page: inline CSS, no scripts; results in rank order.
std::string WorldPageHtml(const WorldView& view, const std::vector<StoredResult>& results);
std::string WorldPageJson(const WorldView& view, const std::vector<StoredResult>& results);

}  // namespace scores
