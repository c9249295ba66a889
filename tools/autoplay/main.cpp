// quasarball-autoplay: the level designer's balance report. The bot plays each chosen level from a
// fresh game with each seed, over the headless engine as fast as the machine goes, and the report
// says per run and per level how it went. Exit status 1 when an invariant broke or a run did not
// finish, 2 for a bad command line.
#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "level_run.h"

namespace {

constexpr int32_t kFirstLevel = 1;
constexpr int32_t kLastLevel = 30;

struct Options {
  int32_t FirstLevel = kFirstLevel, LastLevel = kLastLevel;
  uint32_t Seeds = 1;
  TRunLimits Limits;
};

std::optional<long> Number(std::string_view text) {
  long value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size())
    return std::nullopt;
  return value;
}

void Usage(FILE* to) {
  std::fprintf(to,
               "usage: quasarball-autoplay [--levels N|A-B] [--seeds N] [--cap SECONDS]\n"
               "  --levels  the levels to play, each from a fresh game (default 1-30)\n"
               "  --seeds   seeds 1..N per level (default 1)\n"
               "  --cap     game seconds after which a level counts as unfinished (default 600)\n");
}

std::optional<Options> Parse(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--help") {
      Usage(stdout);
      std::exit(0);
    }
    if (i + 1 >= argc)
      return std::nullopt;
    const std::string_view value = argv[++i];
    if (arg == "--levels") {
      const size_t dash = value.find('-');
      const auto a = Number(value.substr(0, dash));
      const auto b = dash == std::string_view::npos ? a : Number(value.substr(dash + 1));
      if (!a || !b || *a < kFirstLevel || *b > kLastLevel || *a > *b)
        return std::nullopt;
      options.FirstLevel = static_cast<int32_t>(*a);
      options.LastLevel = static_cast<int32_t>(*b);
    } else if (arg == "--seeds") {
      const auto n = Number(value);
      if (!n || *n < 1 || *n > 100000)
        return std::nullopt;
      options.Seeds = static_cast<uint32_t>(*n);
    } else if (arg == "--cap") {
      const auto n = Number(value);
      if (!n || *n < 1)
        return std::nullopt;
      options.Limits.GameSecondsCap = static_cast<double>(*n);
    } else {
      return std::nullopt;
    }
  }
  return options;
}

std::string CapsuleList(const TLevelRun& run) {
  std::string text;
  for (size_t kind = 1; kind < run.Caught.size(); ++kind) {
    if (run.Caught[kind] == 0)
      continue;
    if (!text.empty())
      text += ' ';
    text += std::to_string(kind) + "x" + std::to_string(run.Caught[kind]);
  }
  return text.empty() ? "-" : text;
}

void PrintRun(const TLevelRun& run) {
  std::printf(
      "level %2d seed %3u  %-10s  time %6.1f s  balls lost %2d  longest no-touch %5.1f s"
      "  capsules %s\n",
      run.Level, run.Seed, OutcomeName(run.Outcome), run.GameSeconds, run.BallsLost,
      run.LongestNoTouch, CapsuleList(run).c_str());
  if (run.Outcome == TOutcome::Unfinished && !run.BlocksLeft.empty()) {
    std::printf("  blocks left (column,row):");
    for (const auto& [column, row] : run.BlocksLeft)
      std::printf(" %d,%d", column, row);
    std::printf("\n");
  }
  for (const std::string& fault : run.Faults)
    std::printf("  FAULT level %d seed %u %s\n", run.Level, run.Seed, fault.c_str());
  for (const TStuckBall& stuck : run.Stuck) {
    std::printf("  STUCK BALL level %d seed %u slot %d: no block or paddle since %.1f s; path",
                stuck.Level, stuck.Seed, stuck.Slot, stuck.Since);
    for (const TPathPoint& p : stuck.Path)
      std::printf(" %.1fs(%.2f,%.2f)", p.Seconds, p.X, p.Y);
    std::printf("\n");
  }
  std::fflush(stdout);
}

struct LevelSummary {
  int Runs = 0, Cleared = 0, Lost = 0, Unfinished = 0, Stuck = 0;
  double Seconds = 0;
  long BallsLost = 0;
  double LongestNoTouch = 0;
};

void PrintSummary(const std::map<int32_t, LevelSummary>& levels) {
  std::printf(
      "\nlevel  runs  cleared  lost  unfinished  mean time s  balls lost  per run"
      "  longest no-touch s  stuck\n");
  LevelSummary all;
  const auto row = [](const char* name, const LevelSummary& s) {
    std::printf("%5s  %4d  %7d  %4d  %10d  %11.1f  %10ld  %7.2f  %18.1f  %5d\n", name, s.Runs,
                s.Cleared, s.Lost, s.Unfinished, s.Runs ? s.Seconds / s.Runs : 0.0, s.BallsLost,
                s.Runs ? static_cast<double>(s.BallsLost) / s.Runs : 0.0, s.LongestNoTouch,
                s.Stuck);
  };
  for (const auto& [level, s] : levels) {
    row(std::to_string(level).c_str(), s);
    all.Runs += s.Runs;
    all.Cleared += s.Cleared;
    all.Lost += s.Lost;
    all.Unfinished += s.Unfinished;
    all.Stuck += s.Stuck;
    all.Seconds += s.Seconds;
    all.BallsLost += s.BallsLost;
    all.LongestNoTouch = std::max(all.LongestNoTouch, s.LongestNoTouch);
  }
  row("all", all);
}

}  // namespace

int main(int argc, char** argv) {
  const auto options = Parse(argc, argv);
  if (!options) {
    Usage(stderr);
    return 2;
  }
  const TempProgramFolder folder(TempProgramFolder::Contents::GameData);
  std::map<int32_t, LevelSummary> levels;
  bool failed = false;
  for (int32_t level = options->FirstLevel; level <= options->LastLevel; ++level) {
    for (uint32_t seed = 1; seed <= options->Seeds; ++seed) {
      const TLevelRun run = PlayLevel(folder, level, seed, options->Limits);
      PrintRun(run);
      LevelSummary& s = levels[level];
      ++s.Runs;
      s.Cleared += run.Outcome == TOutcome::Cleared;
      s.Lost += run.Outcome == TOutcome::Lost;
      s.Unfinished += run.Outcome == TOutcome::Unfinished;
      s.Stuck += static_cast<int>(run.Stuck.size());
      s.Seconds += run.GameSeconds;
      s.BallsLost += run.BallsLost;
      s.LongestNoTouch = std::max(s.LongestNoTouch, run.LongestNoTouch);
      failed = failed || !run.Faults.empty() || run.Outcome == TOutcome::Unfinished;
    }
  }
  PrintSummary(levels);
  return failed ? 1 : 0;
}
