// Game paths resolve inside the program's folder, whatever their separators; the saved files go
// beside a portable copy that can be written, and to the player's data folder otherwise.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "core/program_folder.h"
#include "engine/paths.h"

namespace {

TEST(ProgramPathTest, ResolvesBesideTheProgram) {
  engine::SetProgramFolder("/opt/quasarball");
  EXPECT_EQ(ProgramPath("data\\Levels.dat"), "/opt/quasarball/data/Levels.dat");
  EXPECT_EQ(ProgramPath("sound/btn_clk.wav"), "/opt/quasarball/sound/btn_clk.wav");
  EXPECT_EQ(ProgramPath("data\\_fontg\\Square721 BT.wid"),
            "/opt/quasarball/data/_fontg/Square721 BT.wid");
  EXPECT_EQ(ProgramPath("play.url"), "/opt/quasarball/play.url");
  EXPECT_EQ(SavedFilePath("data\\settings.dat"), "/opt/quasarball/data/settings.dat");

  engine::SetProgramFolders({"/usr/share/quasarball", "/home/ann/.local/share/quasarball"});
  EXPECT_EQ(ProgramPath("data\\Levels.dat"), "/usr/share/quasarball/data/Levels.dat");
  EXPECT_EQ(SavedFilePath("data\\records.dat"), "/home/ann/.local/share/quasarball/records.dat");

  // Without a folder of its own, the executable's folder is used, not the working folder: the
  // tests' executables have no data/ beside them.
  engine::SetProgramFolder({});
  EXPECT_EQ(ProgramPath("x").parent_path(),
            std::filesystem::read_symlink("/proc/self/exe").parent_path());
}

TEST(ProgramPathTest, PlayerDataFolderFollowsTheXdgRules) {
  struct Case {
    const char* xdgDataHome;
    const char* home;
    const char* expected;
  };
  for (const Case& c : {
           Case{"/data/ann", "/home/ann", "/data/ann/quasarball"},
           Case{nullptr, "/home/ann", "/home/ann/.local/share/quasarball"},
           Case{"", "/home/ann", "/home/ann/.local/share/quasarball"},
           Case{"relative/share", "/home/ann", "/home/ann/.local/share/quasarball"},
       }) {
    SCOPED_TRACE(c.xdgDataHome ? c.xdgDataHome : "(unset)");
    EXPECT_EQ(engine::PlayerDataFolder(c.xdgDataHome, c.home), c.expected);
  }
  // No HOME at all: the home folder from the user database, never a path relative to the
  // working folder.
  EXPECT_TRUE(engine::PlayerDataFolder(nullptr, nullptr).is_absolute());
}

class ProgramFoldersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "qb-folders-XXXXXX").string();
    root_ = mkdtemp(pattern.data());
  }
  void TearDown() override { std::filesystem::remove_all(root_); }

  std::filesystem::path Make(const char* relative) const {
    std::filesystem::create_directories(root_ / relative);
    return root_ / relative;
  }

  std::filesystem::path root_;
};

bool AlwaysWritable(const std::filesystem::path&) {
  return true;
}
bool NeverWritable(const std::filesystem::path&) {
  return false;
}

TEST_F(ProgramFoldersTest, PortableCopiesKeepTheirFilesInstalledOnesUseThePlayersFolder) {
  const std::filesystem::path player = "/home/ann/.local/share/quasarball";
  const auto portable = Make("portable");
  Make("portable/data");
  const auto prefix = Make("prefix");
  Make("prefix/bin");
  Make("prefix/share/quasarball/data");
  const auto bare = Make("bare");

  struct Case {
    const char* name;
    std::filesystem::path executableFolder;
    bool (*writable)(const std::filesystem::path&);
    engine::ProgramFolders expected;
  };
  for (const Case& c : {
           Case{"portable", portable, AlwaysWritable, {portable, portable / "data"}},
           Case{"read-only portable", portable, NeverWritable, {portable, player}},
           // Whoever may write there, an installed copy's data stays untouched.
           Case{"installed", prefix / "bin", AlwaysWritable, {prefix / "share/quasarball", player}},
           Case{"installed read-only",
                prefix / "bin",
                NeverWritable,
                {prefix / "share/quasarball", player}},
           Case{"no data anywhere", bare, AlwaysWritable, {bare, player}},
       }) {
    SCOPED_TRACE(c.name);
    const auto found =
        engine::FindProgramFolders(c.executableFolder, "../share/quasarball", c.writable, player);
    EXPECT_EQ(found.game, c.expected.game);
    EXPECT_EQ(found.saves, c.expected.saves);
  }
}

}  // namespace
