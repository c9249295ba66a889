// levelc: compiles the level sources into the game's two level files, and back.
//
//   levelc compile CAMPAIGN.txt Levels.dat Dynamic.dat
//   levelc decompile Levels.dat Dynamic.dat FOLDER
#include <cstdio>
#include <exception>
#include <string>

#include "formats/file_io.h"
#include "formats/level_source.h"

namespace {

int Usage() {
  std::fputs(
      "usage: levelc compile CAMPAIGN.txt Levels.dat Dynamic.dat\n"
      "       levelc decompile Levels.dat Dynamic.dat FOLDER\n",
      stderr);
  return 2;
}

void Compile(const char* campaign, const char* levels_file, const char* dynamic_file) {
  std::vector<qbtools::Level> levels;
  for (qbtools::LevelSource& source : qbtools::LoadCampaign(campaign)) {
    levels.push_back(std::move(source.level));
  }
  const qbtools::LevelFiles files = qbtools::EncodeLevels(levels);
  qbtools::WriteFile(levels_file, files.levels);
  qbtools::WriteFile(dynamic_file, files.dynamic);
}

void Decompile(const char* levels_file, const char* dynamic_file, const char* folder) {
  const std::vector<qbtools::Level> levels =
      qbtools::DecodeLevels(qbtools::ReadFile(levels_file), qbtools::ReadFile(dynamic_file));
  std::vector<qbtools::LevelSource> sources;
  for (size_t n = 0; n < levels.size(); ++n) {
    sources.push_back({"Level " + std::to_string(n + 1), levels[n]});
  }
  qbtools::SaveCampaign(sources, folder);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    return Usage();
  }
  const std::string command = argv[1];
  try {
    if (command == "compile") {
      Compile(argv[2], argv[3], argv[4]);
    } else if (command == "decompile") {
      Decompile(argv[2], argv[3], argv[4]);
    } else {
      return Usage();
    }
  } catch (const std::exception& error) {
    std::fprintf(stderr, "levelc: %s\n", error.what());
    return 1;
  }
  return 0;
}
