// Writes the seeds that are no file of the build: the saved files as the game's own writers
// write them, the level files joined into the levels target's input, and sample requests.
//
//   qb_fuzz_seeds CORPUS_FOLDER Levels.dat Dynamic.dat
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <span>
#include <string>
#include <vector>

#include "headless/headless.h"
#include "online/record_codec.h"
#include "persist/records.h"
#include "persist/settings.h"

namespace {

std::filesystem::path corpus;

void Write(const std::string& target, const std::string& name, std::span<const uint8_t> bytes) {
  std::filesystem::create_directories(corpus / target);
  std::ofstream(corpus / target / name, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

void Write(const std::string& target, const std::string& name, const std::string& text) {
  Write(target, name, std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
}

std::vector<uint8_t> Read(const char* path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fputs("usage: qb_fuzz_seeds CORPUS_FOLDER Levels.dat Dynamic.dat\n", stderr);
    return 2;
  }
  corpus = argv[1];
  headless::Reset();

  Write("settings", "settings.dat", TSettings{}.Serialize());
  TSettings changed;
  changed.Windowed = 0;
  changed.SoundVolume = 35;
  changed.Country = "Atlantis";
  changed.BossShift = 1;
  Write("settings", "changed.dat", changed.Serialize());

  Write("records", "records.dat", SerializeRecords(DefaultRecords()));
  TRecordsTable records = DefaultRecords();
  records[0] = {"Vega", 123456};
  records[9] = {"", -1};
  Write("records", "played.dat", SerializeRecords(records));

  Write("boss_file", "menu.dat", std::vector<uint8_t>{0, 4, 1, 0, 0, 0, 0, 0});
  Write("boss_file", "playing.dat", std::vector<uint8_t>{0, 3, 0, 0, 0, 0, 0, 0});

  const std::vector<uint8_t> levels = Read(argv[2]);
  const std::vector<uint8_t> dynamic = Read(argv[3]);
  std::vector<uint8_t> joined;
  for (int shift = 0; shift < 32; shift += 8) {
    joined.push_back(static_cast<uint8_t>(levels.size() >> shift));
  }
  joined.insert(joined.end(), levels.begin(), levels.end());
  joined.insert(joined.end(), dynamic.begin(), dynamic.end());
  Write("levels", "campaign.bin", joined);

  const std::string record = BuildResultRecord("Vega", 123456, "TOKEN", "Atlantis");
  Write("record_codec", "inf.txt", EncodeRecord(record));
  Write("record_codec", "record.txt", record);

  const std::string path = "/cgi/version.pl?prg=Quasarball";
  Write("score_request", "version.txt", path + "&version=1");
  Write("score_request", "upload.txt", path + "&hs=1&inf=" + EncodeRecord(record));
  Write("score_request", "world.txt", path + "&show=1&type=0&country=Atlantis&range=week");
  Write("score_request", "json.txt", path + "&show=1&type=0&format=json");
  return 0;
}
