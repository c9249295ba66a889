// Screen pictures on the running engine: where sprites land, and image packs read safely.
#include <gtest/gtest.h>

#include <fstream>
#include <vector>

#include "engine/engine.h"
#include "headless/headless.h"
#include "program_test.h"
#include "sprites/image_pack.h"
#include "sprites/mesh_sprite.h"

namespace {

std::optional<headless::MeshView> Drawn(int32_t mesh) {
  for (const auto& view : headless::VisibleMeshes())
    if (view.handle == mesh)
      return view;
  return std::nullopt;
}

using SpritesTest = ProgramTest;

TEST_F(SpritesTest, SpritesCoverTheirScreenRectangles) {
  RunSteps({[] {
    auto full = TMeshSprite::Create("data\\Pause.png", 800, 600, 0, 0, 30, false);
    Vec3f location{};
    iMeshLocation(full->Mesh, location);
    EXPECT_EQ(location.x, 0);
    EXPECT_EQ(location.y, 0);
    EXPECT_EQ(location.z, 1);
    full->Show();
    const auto view = Drawn(full->Mesh);
    EXPECT_TRUE(view.has_value());
    if (view) {
      EXPECT_NEAR(view->left, 0, 1e-3);
      EXPECT_NEAR(view->top, 0, 1e-3);
      EXPECT_NEAR(view->width, 800, 1e-3);
      EXPECT_NEAR(view->height, 600, 1e-3);
      EXPECT_EQ(view->priority, 30);
      EXPECT_EQ(view->textureSource, "data\\Pause.png");
    }

    auto centred = TMeshSprite::Create("data\\DB.png", 129, 33, 400, 300, 10, true);
    EXPECT_EQ(centred->ScreenX(), 400);
    EXPECT_EQ(centred->ScreenY(), 300);
    auto corner =
        TMeshSprite::CreateFromPack("data\\MainMenu.dat", 0, 1000010, 366, 133, -20, 220, 1, false);
    EXPECT_EQ(corner->ScreenX(), -20 + 183);
    EXPECT_EQ(corner->ScreenY(), 220 + 66.5f);
    EXPECT_NE(corner->Texture, 0);
    return true;
  }});
}

void WriteFile(const std::filesystem::path& path, const std::vector<uint32_t>& words,
               size_t extraBytes = 0) {
  std::ofstream out(path, std::ios::binary);
  for (uint32_t w : words)
    for (int i = 0; i < 4; ++i)
      out.put(static_cast<char>(w >> (8 * i)));
  for (size_t i = 0; i < extraBytes; ++i)
    out.put('\0');
}

// A pack whose every entry is damaged in another way; only a real picture makes a texture.
TEST_F(SpritesTest, DamagedPackEntriesGiveNoTexture) {
  std::ifstream real(folder.Data("cursor.png"), std::ios::binary);
  const std::vector<char> png((std::istreambuf_iterator<char>(real)),
                              std::istreambuf_iterator<char>());
  const uint32_t tableEnd = 5 * 8;
  const uint32_t size = static_cast<uint32_t>(png.size());
  WriteFile(folder.Data("broken.dat"), {tableEnd, size,         // 0: the picture
                                        tableEnd, 0,            // 1: empty
                                        tableEnd + 4, size,     // 2: runs past the end
                                        0xFFFFFFF0u, 64,        // 3: offset past the end
                                        tableEnd, 17u << 20});  // 4: far too large
  {
    std::ofstream out(folder.Data("broken.dat"), std::ios::binary | std::ios::app);
    out.write(png.data(), static_cast<std::streamsize>(png.size()));
  }
  WriteFile(folder.Data("stub.dat"), {}, 3);

  RunSteps({[] {
    EXPECT_NE(LoadPackTexture("data\\broken.dat", 0, 77), 0);
    for (uint16_t entry : {1, 2, 3, 4, 5, 6, 65535}) {
      EXPECT_EQ(LoadPackTexture("data\\broken.dat", entry, 77), 0) << "entry " << entry;
    }
    EXPECT_EQ(LoadPackTexture("data\\stub.dat", 0, 78), 0);
    EXPECT_EQ(LoadPackTexture("data\\missing.dat", 0, 79), 0);
    auto sprite = TMeshSprite::CreateFromPack("data\\missing.dat", 0, 79, 10, 10, 0, 0, 1, false);
    EXPECT_EQ(sprite->Texture, 0);
    EXPECT_NE(sprite->Mesh, 0);
    return true;
  }});
}

}  // namespace
