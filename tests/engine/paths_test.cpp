// Game paths resolve inside the program's folder, whatever their separators.
#include <gtest/gtest.h>

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

  // Without a folder of its own, the executable's folder is used, not the working folder.
  engine::SetProgramFolder({});
  EXPECT_EQ(ProgramPath("x").parent_path(),
            std::filesystem::read_symlink("/proc/self/exe").parent_path());
}

}  // namespace
