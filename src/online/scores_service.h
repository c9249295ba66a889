// Where the high-score service lives: the world table page and the upload both start from here.
#pragma once

#include <string>

// The service's scheme and host, without a trailing slash: QUASARBALL_SCORES_URL when it is set
// and not empty (a service of one's own), else the game's public site.
std::string ScoresServiceUrl();

// The world high-score page, opened from the records panel.
std::string WorldScoresPage();
