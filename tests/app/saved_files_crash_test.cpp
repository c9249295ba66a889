// The saved files against the worst a player's machine does to them: the game killed in the
// middle of a save, and a disk that fills up while the new bytes go down.
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <fstream>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "engine/paths.h"
#include "persist/file_store.h"
#include "persist/records.h"
#include "persist/settings.h"
#include "temp_program_folder.h"

namespace {

std::vector<uint8_t> ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

template <size_t N>
std::vector<uint8_t> Bytes(const std::array<uint8_t, N>& bytes) {
  return {bytes.begin(), bytes.end()};
}

std::set<std::string> FilesIn(const std::filesystem::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    names.insert(entry.path().filename().string());
  return names;
}

// Two saves that differ in every field that can, so a file mixed from both is never either.
struct Contents {
  TSettings settings;
  TRecordsTable records;
};

Contents First() {
  Contents c;
  c.settings.SoundVolume = 10;
  c.settings.Country = "Atlantis";
  c.records = DefaultRecords();
  return c;
}

Contents Second() {
  Contents c;
  c.settings.Windowed = 0;
  c.settings.SoundVolume = 90;
  c.settings.MusicVolume = 3;
  c.settings.Country = "Zanzibar!!";
  c.settings.KeyFire = 29;
  for (int i = 0; i < kRecordCount; ++i)
    c.records[i] = {"Player " + std::to_string(i), 99999 - 7 * i};
  return c;
}

void Save(const Contents& c) {
  Settings = c.settings;
  SaveSettings();
  Records = c.records;
  SaveRecords();
}

class SavedFilesCrashTest : public ::testing::Test {
 protected:
  TempProgramFolder folder;
  const std::filesystem::path settingsFile = folder.Data("settings.dat");
  const std::filesystem::path recordsFile = folder.Data("records.dat");
};

// A child saves both files over and over, alternating two contents, and is killed at a random
// moment. Each time, each file must be whole: the old bytes or the new, and a start of the game
// reads it as it is.
TEST_F(SavedFilesCrashTest, AKillDuringSavesLeavesEachFileOldOrNew) {
  const Contents first = First(), second = Second();
  const std::vector<uint8_t> settings[] = {Bytes(first.settings.Serialize()),
                                           Bytes(second.settings.Serialize())};
  const std::vector<uint8_t> records[] = {Bytes(SerializeRecords(first.records)),
                                          Bytes(SerializeRecords(second.records))};
  ASSERT_NE(settings[0], settings[1]);
  Save(first);

  const unsigned seed = std::random_device{}();
  SCOPED_TRACE("seed " + std::to_string(seed));
  std::mt19937 random(seed);
  std::uniform_int_distribution<int> delayMicroseconds(0, 3000);
  const std::set<std::string> savedOnly = {"settings.dat", "records.dat"};
  const std::set<std::string> allowed = {"settings.dat", "records.dat", "settings.dat.new",
                                         "records.dat.new"};
  int killsMidWrite = 0;
  int seenSecond = 0;

  for (int attempt = 0; attempt < 1000 && !HasFailure(); ++attempt) {
    int started[2];
    ASSERT_EQ(pipe(started), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      close(started[0]);
      for (uint64_t round = 0;; ++round) {
        Save(round % 2 == 0 ? second : first);
        if (round == 0 && write(started[1], "!", 1) != 1)
          _exit(2);
      }
    }
    close(started[1]);
    char mark;
    const bool childStarted = read(started[0], &mark, 1) == 1;
    close(started[0]);
    std::this_thread::sleep_for(std::chrono::microseconds(delayMicroseconds(random)));
    kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(childStarted);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "kill " << attempt;

    const auto names = FilesIn(settingsFile.parent_path());
    EXPECT_TRUE(std::includes(allowed.begin(), allowed.end(), names.begin(), names.end()))
        << "kill " << attempt;
    if (names != savedOnly)
      ++killsMidWrite;
    const auto settingsNow = ReadAll(settingsFile);
    const auto recordsNow = ReadAll(recordsFile);
    EXPECT_TRUE(settingsNow == settings[0] || settingsNow == settings[1]) << "kill " << attempt;
    EXPECT_TRUE(recordsNow == records[0] || recordsNow == records[1]) << "kill " << attempt;
    seenSecond += settingsNow == settings[1];

    testing::internal::CaptureStderr();
    LoadSettings();
    LoadRecords();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << "kill " << attempt;
    EXPECT_EQ(Bytes(Settings.Serialize()), settingsNow);
    EXPECT_EQ(Bytes(SerializeRecords(Records)), recordsNow);
    EXPECT_EQ(FilesIn(settingsFile.parent_path()), savedOnly) << "kill " << attempt;
  }
  // Without these the kills never landed where they could do harm.
  EXPECT_GT(killsMidWrite, 0);
  EXPECT_GT(seenSecond, 0);
}

// A full disk, as the file size limit makes it: the write stops short and then fails with EFBIG.
// The old files stay byte for byte, the game is told and goes on.
TEST_F(SavedFilesCrashTest, ADiskFullInTheMiddleOfASaveKeepsTheOldFiles) {
  Save(First());
  const auto settingsBefore = ReadAll(settingsFile);
  const auto recordsBefore = ReadAll(recordsFile);

  int said[2];
  ASSERT_EQ(pipe(said), 0);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    close(said[0]);
    dup2(said[1], STDERR_FILENO);
    signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{20, 20};  // fewer bytes than either file holds
    if (setrlimit(RLIMIT_FSIZE, &limit) != 0)
      _exit(2);
    const Contents second = Second();
    Save(second);
    const bool reported =
        !WriteFileAtomically(SavedFilePath("data\\settings.dat"), second.settings.Serialize());
    _exit(reported ? 0 : 1);
  }
  close(said[1]);
  std::string text;
  char buffer[512];
  for (ssize_t n; (n = read(said[0], buffer, sizeof buffer)) > 0;)
    text.append(buffer, static_cast<size_t>(n));
  close(said[0]);
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);

  ASSERT_TRUE(WIFEXITED(status)) << "the save ended the game";
  EXPECT_EQ(WEXITSTATUS(status), 0) << "the failed write was not reported";
  EXPECT_EQ(ReadAll(settingsFile), settingsBefore);
  EXPECT_EQ(ReadAll(recordsFile), recordsBefore);
  EXPECT_EQ(FilesIn(settingsFile.parent_path()),
            (std::set<std::string>{"settings.dat", "records.dat"}));
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 3) << text;
  EXPECT_NE(text.find(settingsFile.string() + " could not be saved (File too large)"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find(recordsFile.string() + " could not be saved"), std::string::npos) << text;
}

}  // namespace
