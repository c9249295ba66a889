// Every file the game opens, by the names the game uses, exists in the build after the data
// steps ran, in a form the game can read. The list is kept here by hand, apart from the
// generator's own, so a file the generator forgets is caught.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "formats/byte_io.h"
#include "formats/file_io.h"
#include "formats/image_pack.h"
#include "formats/level_set.h"
#include "formats/picture_info.h"

namespace qbtools {
namespace {

const std::filesystem::path kRoot = QB_DATA_ROOT;

struct PackUse {
  const char* file;
  size_t entries;  // the highest entry the game reads, plus one
};

// Packs and the entries the game takes from them.
constexpr PackUse kPacks[] = {
    {"data/MainMenu.dat", 16},  {"data/Forms.dat", 55},       {"data/OptMenu.dat", 33},
    {"data/Background.dat", 4}, {"data/Numbers.dat", 10},     {"data/Cursor.dat", 11},
    {"data/Blocks.dat", 10},    {"data/BlocksExplo.dat", 10}, {"data/Explo.dat", 16},
    {"data/Asteroid.dat", 12},  {"data/Bita.dat", 23},        {"data/Enemies.dat", 15},
    {"data/Bonuses.dat", 128},  {"data/GameBack.dat", 7},     {"data/Interface.dat", 2},
};

const char* const kPictures[] = {
    "data/GameOver.png",    "data/Congratulations.png",
    "data/cursor.png",      "data/Pause.png",
    "data/DB.png",          "data/Bubble.png",
    "data/BubbleGlare.png", "data/BubbleArmored.png",
    "data/Over1.png",       "data/Over2.png",
    "data/Over3.png",       "data/Over4.png",
    "data/Over5.png",       "data/Over6.png",
};

const char* const kSounds[] = {
    "sound/mainmenuchg.WAV", "sound/btn_clk.wav",  "sound/level_complete.wav",
    "sound/game_over.wav",   "sound/out_time.wav", "sound/bita_explo.wav",
    "sound/Bonus1.wav",      "sound/Bonus6.wav",   "sound/Bita_Shot.wav",
    "sound/Block1.wav",      "sound/Block10.wav",  "sound/Bita_Sound.wav",
    "sound/EnemyHit.wav",    "sound/Enemy1.wav",   "sound/musmenu.wav",
    "sound/musgame.wav",
};

TEST(DataFiles, PacksHoldEveryEntryTheGameReads) {
  for (const PackUse& use : kPacks) {
    SCOPED_TRACE(use.file);
    const PackReader pack(ReadFile(kRoot / use.file));
    EXPECT_GE(pack.Count(), use.entries);
    for (size_t i = 0; i < pack.Count(); ++i) {
      const PictureInfo info = InspectPicture(pack.Picture(i));
      EXPECT_TRUE(info.format == "PNG" || info.format == "JPEG") << "entry " << i;
      EXPECT_GT(info.width, 0) << "entry " << i;
    }
  }
}

TEST(DataFiles, PicturesAreImagesOfTheirOwnKind) {
  for (const char* name : kPictures) {
    EXPECT_EQ(InspectPicture(ReadFile(kRoot / name)).format, "PNG") << name;
  }
  const PictureInfo loading = InspectPicture(ReadFile(kRoot / "data/loading.jpg"));
  EXPECT_EQ(loading.format, "JPEG");
  EXPECT_EQ(loading.width, 800);
  EXPECT_EQ(loading.height, 600);

  const Bytes glow = ReadFile(kRoot / "data/particle_clot.dds");
  ASSERT_GE(glow.size(), 128u);
  EXPECT_EQ(std::string(glow.begin(), glow.begin() + 4), "DDS ");
  EXPECT_EQ(GetWord(glow, 88), 32u) << "32 bits per pixel";
  EXPECT_EQ(glow.size(), 128u + GetWord(glow, 12) * GetWord(glow, 16) * 4);
}

TEST(DataFiles, ModelFontsAndShortcutAreThere) {
  const Bytes model = ReadFile(kRoot / "data/sprite.x");
  EXPECT_EQ(std::string(model.begin(), model.begin() + 16), "xof 0303txt 0032");

  for (const char* font : {"data/_fontw/Millenium BdEx BT.wid", "data/_fontg/Square721 BT.wid"}) {
    const Bytes bytes = ReadFile(kRoot / font);
    ASSERT_GE(bytes.size(), 4u) << font;
    EXPECT_EQ(GetWord(bytes, 0), 0x00000100u) << font << " is not a TrueType font";
  }

  const Bytes shortcut = ReadFile(kRoot / "play.url");
  const std::string text(shortcut.begin(), shortcut.end());
  EXPECT_EQ(text.rfind("[InternetShortcut]", 0), 0u);
  EXPECT_NE(text.find("\nURL=https://"), std::string::npos);
}

TEST(DataFiles, SoundsAreSixteenBitWaves) {
  for (const char* name : kSounds) {
    SCOPED_TRACE(name);
    const Bytes wave = ReadFile(kRoot / name);
    ASSERT_GE(wave.size(), 44u);
    EXPECT_EQ(std::string(wave.begin(), wave.begin() + 4), "RIFF");
    EXPECT_EQ(std::string(wave.begin() + 8, wave.begin() + 16), "WAVEfmt ");
    EXPECT_EQ(wave[20] | wave[21] << 8, 1) << "PCM";
    EXPECT_EQ(wave[34] | wave[35] << 8, 16) << "bits per sample";
    const uint32_t byte_rate = GetWord(wave, 28);
    const double seconds = static_cast<double>(GetWord(wave, 40)) / byte_rate;
    if (std::strstr(name, "/mus") != nullptr) {
      EXPECT_GE(seconds, 60.0);
    } else {
      EXPECT_GT(seconds, 0.02);
      EXPECT_LT(seconds, 8.0);
    }
  }
}

TEST(DataFiles, LevelsAreReadable) {
  const std::vector<Level> levels =
      DecodeLevels(ReadFile(kRoot / "data/Levels.dat"), ReadFile(kRoot / "data/Dynamic.dat"));
  EXPECT_GE(levels.size(), 30u);
}

}  // namespace
}  // namespace qbtools
