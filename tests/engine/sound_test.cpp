// Sound state: playing follows the clock and the sound's length.
#include "engine_fixture.h"
#include "sample_files.h"

namespace {

class SoundTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    WriteFile("sound/btn_clk.wav", sample::Wav(0.5));
    OpenEngine();
    sound_ = iSoundCreate("sound\\btn_clk.wav", 0);
    ASSERT_NE(sound_, 0);
  }

  headless::SoundView View() { return headless::Sounds().at(0); }

  int32_t sound_ = 0;
};

TEST_F(SoundTest, PlaysForItsLengthOrForEverWhenLooping) {
  EXPECT_NEAR(View().duration, 0.5, 1e-9);
  EXPECT_EQ(View().path, "sound\\btn_clk.wav");
  EXPECT_EQ(iSoundPlaying(sound_), 0);
  iSoundPlayNow(sound_, 0);
  EXPECT_NE(iSoundPlaying(sound_), 0);
  headless::AdvanceClock(0.49);
  EXPECT_NE(iSoundPlaying(sound_), 0);
  headless::AdvanceClock(0.02);
  EXPECT_EQ(iSoundPlaying(sound_), 0);

  iSoundPlayNow(sound_, -1);
  headless::AdvanceClock(100);
  EXPECT_TRUE(View().playing);
  EXPECT_TRUE(View().looping);
  iSoundStop(sound_, 0);
  EXPECT_EQ(iSoundPlaying(sound_), 0);
}

TEST_F(SoundTest, PlayStartsOnlyWhenSilentButPlayNowRestarts) {
  iSoundPlay(sound_, 0);
  headless::AdvanceClock(0.3);
  iSoundPlay(sound_, 0);  // still playing: carries on
  headless::AdvanceClock(0.3);
  EXPECT_EQ(iSoundPlaying(sound_), 0);

  iSoundPlay(sound_, 0);
  headless::AdvanceClock(0.3);
  iSoundPlayNow(sound_, 0);  // back to the start
  headless::AdvanceClock(0.3);
  EXPECT_NE(iSoundPlaying(sound_), 0);
}

TEST_F(SoundTest, VolumeIsClampedToZeroToOne) {
  iSoundVolumeSet(sound_, 0.66f + 1.0f / 3);
  EXPECT_FLOAT_EQ(View().volume, 0.66f + 1.0f / 3);
  iSoundVolumeSet(sound_, 1.5f);
  EXPECT_FLOAT_EQ(View().volume, 1);
  iSoundVolumeSet(sound_, -2);
  EXPECT_FLOAT_EQ(View().volume, 0);
}

TEST_F(SoundTest, UnreadableFilesGiveNoSound) {
  auto truncated = sample::Wav(0.5);
  truncated.resize(truncated.size() / 2);
  WriteFile("sound/truncated.wav", truncated);
  EXPECT_EQ(iSoundCreate("sound\\truncated.wav", 0), 0);
  EXPECT_EQ(iSoundCreate("sound\\missing.wav", 0), 0);
  EXPECT_EQ(iSoundCreate(nullptr, 0), 0);
}

}  // namespace
