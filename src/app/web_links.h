// Where the game sends the player outside itself.
#pragma once

inline constexpr const char* kHomePage = "https://quasarball.example.org/";
inline constexpr const char* kSubscribePage = "https://quasarball.example.org/subscribe";
inline constexpr const char* kRecommendMail =
    "mailto:<>?subject= The Best Free Games&body=Hi! I have been playing Quasarball, a free "
    "brick breaker set in deep space, and thought you would like it too: "
    "https://quasarball.example.org/";
