#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "core/program_folder.h"
#include "persist/file_store.h"
#include "persist/records.h"
#include "persist/saved_files.h"
#include "persist/settings.h"
#include "temp_program_folder.h"

namespace {

std::vector<uint8_t> ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

std::vector<uint8_t> DefaultSettingsBytes() {
  return {0x01, 0x00, 0x00, 0x00, 0x64, 0x00, 0x00, 0x00, 0x64, 0x00, 0x00, 0x00,
          0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x58,
          0x00, 0x00, 0x00, 0x00, 0xCB, 0x00, 0xCD, 0x00, 0x39, 0x00, 0x00, 0x00};
}

std::vector<uint8_t> SerializeRecordsBytes(const TRecordsTable& table) {
  const auto bytes = SerializeRecords(table);
  return {bytes.begin(), bytes.end()};
}

class SavedFilesTest : public ::testing::Test {
 protected:
  TempProgramFolder folder;
};

TEST_F(SavedFilesTest, FirstStartWritesTheDefaultFilesByteForByte) {
  LoadSavedFiles();

  EXPECT_EQ(ReadAll(folder.Data("settings.dat")), DefaultSettingsBytes());

  const auto records = ReadAll(folder.Data("records.dat"));
  ASSERT_EQ(records.size(), 160u);
  for (int i = 0; i < 10; ++i) {
    const uint8_t* entry = &records[i * 16];
    EXPECT_EQ(entry[0], 9);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(entry + 1), 9), "Anonymous");
    const int32_t score = entry[12] | entry[13] << 8 | entry[14] << 16 | entry[15] << 24;
    EXPECT_EQ(score, 10000 - 1000 * i);
  }
}

TEST_F(SavedFilesTest, SettingsSurviveARoundTrip) {
  Settings = TSettings{};
  Settings.Windowed = 0;
  Settings.SoundVolume = 37;
  Settings.Country = "Narnia";
  Settings.BossKey = 59;
  Settings.BossCtrl = 1;
  Settings.KeyFire = 29;
  SaveSettings();
  Settings = TSettings{};

  LoadSettings();

  EXPECT_EQ(Settings.Windowed, 0);
  EXPECT_EQ(Settings.SoundVolume, 37);
  EXPECT_EQ(Settings.Country, "Narnia");
  EXPECT_EQ(Settings.BossKey, 59);
  EXPECT_EQ(Settings.BossCtrl, 1);
  EXPECT_EQ(Settings.KeyFire, 29);
  EXPECT_EQ(SettingsEdit.Country, "Narnia");
}

// A file of the wrong length is treated as missing: defaults, written back whole.
TEST_F(SavedFilesTest, WrongSizedFilesAreReplacedByDefaults) {
  for (size_t size : {0u, 1u, 35u, 37u, 400u}) {
    SCOPED_TRACE(size);
    WriteBytes(folder.Data("settings.dat"), std::vector<uint8_t>(size, 0xEE));
    WriteBytes(folder.Data("records.dat"), std::vector<uint8_t>(size == 35 ? 159 : size, 0xEE));

    LoadSavedFiles();

    EXPECT_EQ(ReadAll(folder.Data("settings.dat")), DefaultSettingsBytes());
    EXPECT_EQ(Records[0].Name, "Anonymous");
    EXPECT_EQ(ReadAll(folder.Data("records.dat")).size(), 160u);
  }
}

// The player's unreadable bytes are not lost: the file is kept as "<name>.bad", replacing an
// older one, and one line on standard error names it; then the defaults are used. Sizes as
// players have reported them.
TEST_F(SavedFilesTest, AnUnreadableSavedFileIsKeptBesideTheNewOne) {
  struct Case {
    const char* name;
    size_t size;
    uint8_t fill;
  };
  for (const Case& c : {Case{"settings.dat", 4096, 0x5A}, Case{"records.dat", 10 << 20, 0xA5}}) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove_all(folder.Path() / "data");
    std::filesystem::create_directories(folder.Path() / "data");
    LoadSavedFiles();
    std::filesystem::path kept = folder.Data(c.name);
    kept += ".bad";
    WriteBytes(kept, std::vector<uint8_t>(100, 1));  // an older generation, to be replaced
    const std::vector<uint8_t> old(c.size, c.fill);
    WriteBytes(folder.Data(c.name), old);

    testing::internal::CaptureStderr();
    LoadSavedFiles();
    const std::string said = testing::internal::GetCapturedStderr();

    EXPECT_EQ(ReadAll(kept), old);
    EXPECT_EQ(ReadAll(folder.Data("settings.dat")), DefaultSettingsBytes());
    EXPECT_EQ(ReadAll(folder.Data("records.dat")), SerializeRecordsBytes(DefaultRecords()));
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    EXPECT_NE(said.find(folder.Data(c.name).string() + " is " + std::to_string(c.size) + " bytes"),
              std::string::npos)
        << said;
    EXPECT_NE(said.find("kept as " + kept.filename().string()), std::string::npos) << said;

    // Readable files now: nothing more is said, the kept file stays.
    testing::internal::CaptureStderr();
    LoadSavedFiles();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(ReadAll(kept), old);
  }
}

// Values no version of the game writes are clamped field by field; nothing is read past a field.
TEST_F(SavedFilesTest, ImpossibleFieldValuesAreClamped) {
  auto bytes = DefaultSettingsBytes();
  bytes[4] = 0xFA;  // sound volume 250
  bytes[8] = 0xFB;  // music volume -5
  bytes[9] = bytes[10] = bytes[11] = 0xFF;
  bytes[12] = 200;  // country length
  for (int i = 13; i < 23; ++i)
    bytes[i] = 'A' + (i - 13);
  WriteBytes(folder.Data("settings.dat"), bytes);

  std::vector<uint8_t> records(160, 0);
  records[0] = 255;
  for (int i = 1; i < 11; ++i)
    records[i] = 'z';
  WriteBytes(folder.Data("records.dat"), records);

  LoadSavedFiles();

  EXPECT_EQ(Settings.SoundVolume, 100);
  EXPECT_EQ(Settings.MusicVolume, 0);
  EXPECT_EQ(Settings.Country, "ABCDEFGHIJ");
  EXPECT_EQ(Records[0].Name, "zzzzzzzzzz");
}

TEST_F(SavedFilesTest, TheBossFileIsConsumed) {
  WriteBytes(folder.Data("boss.dat"), {0, StatePaused, 0, 0, 0, 0, 0, 0});
  AppState = StateMainMenu;
  MenuBackgroundOn = true;

  LoadSavedFiles();

  EXPECT_FALSE(std::filesystem::exists(folder.Data("boss.dat")));
  EXPECT_EQ(AppState, StatePaused);
  EXPECT_FALSE(MenuBackgroundOn);

  WriteBytes(folder.Data("boss.dat"), {1, 2, 3});
  AppState = StateMainMenu;
  LoadSavedFiles();
  EXPECT_FALSE(std::filesystem::exists(folder.Data("boss.dat")));
  EXPECT_EQ(AppState, StateMainMenu);
}

TEST_F(SavedFilesTest, AFailedWriteKeepsTheOldFile) {
  LoadSavedFiles();
  const auto before = ReadAll(folder.Data("settings.dat"));
  // The temporary file's name is taken by a folder, so the new file cannot be written.
  std::filesystem::create_directory(folder.Data("settings.dat.new"));

  Settings.SoundVolume = 12;
  SaveSettings();

  EXPECT_EQ(ReadAll(folder.Data("settings.dat")), before);
  EXPECT_FALSE(WriteFileAtomically(folder.Path() / "missing" / "x.dat", before));
}

// An installed copy: the game's data in a share folder, the player's folder not there yet. The
// first start makes it and keeps every saved file there, byte for byte as beside the program,
// and the game's own data folder gets nothing.
TEST_F(SavedFilesTest, AnInstalledCopyKeepsItsFilesInThePlayersFolder) {
  const auto game = folder.Path() / "usr/share/quasarball";
  const auto player = folder.Path() / "home/ann/.local/share/quasarball";
  std::filesystem::create_directories(game / "data");
  engine::SetProgramFolders({game, player});

  LoadSavedFiles();

  EXPECT_TRUE(std::filesystem::is_empty(game / "data"));
  EXPECT_EQ(std::filesystem::status(player).permissions() & std::filesystem::perms::all,
            std::filesystem::perms::owner_all);
  EXPECT_EQ(ReadAll(player / "settings.dat"), DefaultSettingsBytes());
  EXPECT_EQ(ReadAll(player / "records.dat").size(), 160u);

  Settings.MusicVolume = 40;
  SaveSettings();
  InsertRecord(1, "Ann", 20000);
  WriteBytes(player / "boss.dat", {0, StatePaused, 1, 0, 0, 0, 0, 0});
  Settings = TSettings{};
  Records = DefaultRecords();
  LoadSavedFiles();

  EXPECT_EQ(Settings.MusicVolume, 40);
  EXPECT_EQ(Records[0].Name, "Ann");
  EXPECT_FALSE(std::filesystem::exists(player / "boss.dat"));
  EXPECT_TRUE(std::filesystem::is_empty(game / "data"));
}

class RecordsTest : public ::testing::Test {
 protected:
  void SetUp() override { Records = DefaultRecords(); }
  TempProgramFolder folder;
};

TEST_F(RecordsTest, PlaceOfANewResult) {
  struct Case {
    int32_t score;
    int place;
  };
  for (const Case& c : {Case{1000, 0}, Case{999, 0}, Case{1001, 10}, Case{9000, 3}, Case{9001, 2},
                        Case{10001, 1}, Case{-5, 0}}) {
    SCOPED_TRACE(c.score);
    EXPECT_EQ(PlaceOfNewResult(c.score), c.place);
  }
}

TEST_F(RecordsTest, InsertingMovesTheLowerEntriesDownAndSaves) {
  InsertRecord(1, "Champion of the galaxy", 12345);
  EXPECT_EQ(Records[0].Name, "Champion o");
  EXPECT_EQ(Records[0].Score, 12345);
  EXPECT_EQ(Records[1].Score, 10000);
  EXPECT_EQ(Records[9].Score, 2000);

  InsertRecord(10, "Last", 2001);
  EXPECT_EQ(Records[9].Name, "Last");
  EXPECT_EQ(Records[8].Score, 3000);

  Records = DefaultRecords();
  LoadRecords();
  EXPECT_EQ(Records[0].Name, "Champion o");
  EXPECT_EQ(Records[9].Score, 2001);

  ResetRecords();
  LoadRecords();
  EXPECT_EQ(Records[0].Score, 10000);
}

}  // namespace
