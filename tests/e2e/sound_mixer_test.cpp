// The mixer over SDL's dummy audio device, which plays in real time into nowhere.
#include "sdl/sound_mixer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <vector>

namespace engine::sdl {
namespace {

// A 16-bit mono WAV file of a tone, `seconds` long.
std::vector<uint8_t> ToneWav(double seconds) {
  constexpr uint32_t kRate = 22050;
  const auto frames = static_cast<uint32_t>(seconds * kRate);
  std::vector<uint8_t> wav(44 + static_cast<size_t>(frames) * 2);
  size_t at = 0;
  const auto put = [&](uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
      wav[at++] = static_cast<uint8_t>(value >> (8 * i));
  };
  const auto tag = [&](const char* name) {
    for (int i = 0; i < 4; ++i)
      wav[at++] = static_cast<uint8_t>(name[i]);
  };
  tag("RIFF");
  put(36 + frames * 2, 4);
  tag("WAVE");
  tag("fmt ");
  put(16, 4);
  put(1, 2);  // PCM
  put(1, 2);  // mono
  put(kRate, 4);
  put(kRate * 2, 4);
  put(2, 2);
  put(16, 2);
  tag("data");
  put(frames * 2, 4);
  for (uint32_t i = 0; i < frames; ++i) {
    put(static_cast<uint16_t>(static_cast<int16_t>(8000 * std::sin(i * 0.05))), 2);
  }
  return wav;
}

class SoundMixerTest : public testing::Test {
 protected:
  static void SetUpTestSuite() { setenv("SDL_AUDIODRIVER", "dummy", 1); }
};

TEST_F(SoundMixerTest, ShortSoundsPlayTogetherOnChannelsOfTheirOwn) {
  SoundMixer mixer;
  const auto tone = ToneWav(2);
  ASSERT_TRUE(mixer.Load(1, tone));
  ASSERT_TRUE(mixer.Load(2, tone));
  mixer.Play(1, 0);
  mixer.Play(2, -1);
  EXPECT_TRUE(mixer.IsPlaying(1));
  EXPECT_TRUE(mixer.IsPlaying(2));
  EXPECT_FALSE(mixer.IsStreaming(1));
  mixer.Play(1, 0);  // restarting one leaves the other alone
  EXPECT_TRUE(mixer.IsPlaying(2));
  mixer.Stop(2);
  EXPECT_TRUE(mixer.IsPlaying(1));
  EXPECT_FALSE(mixer.IsPlaying(2));
  mixer.Release(1);
  EXPECT_FALSE(mixer.IsPlaying(1));
}

TEST_F(SoundMixerTest, LongSoundsStreamAndASecondOneGetsAChannel) {
  SoundMixer mixer;
  const auto music = ToneWav(30);
  ASSERT_GT(music.size(), SoundMixer::kStreamAbove);
  ASSERT_TRUE(mixer.Load(1, music));
  ASSERT_TRUE(mixer.Load(2, music));
  mixer.Play(1, -1);
  EXPECT_TRUE(mixer.IsStreaming(1));
  mixer.Play(2, 0);
  EXPECT_TRUE(mixer.IsStreaming(1));
  EXPECT_FALSE(mixer.IsStreaming(2));
  EXPECT_TRUE(mixer.IsPlaying(2));
  mixer.Stop(1);
  EXPECT_FALSE(mixer.IsPlaying(1));
  EXPECT_TRUE(mixer.IsPlaying(2));
  // With the stream free again, the next long sound takes it.
  mixer.Play(2, 0);
  EXPECT_TRUE(mixer.IsStreaming(2));
  mixer.Release(2);
  EXPECT_FALSE(mixer.IsStreaming(2));
}

TEST_F(SoundMixerTest, UnreadableOrUnknownSoundsDoNothing) {
  SoundMixer mixer;
  EXPECT_FALSE(mixer.Load(1, std::vector<uint8_t>(100, 0xAB)));
  EXPECT_FALSE(mixer.Load(2, {}));
  const auto tone = ToneWav(0.1);
  ASSERT_TRUE(mixer.Load(3, tone));
  EXPECT_FALSE(mixer.Load(3, tone));
  mixer.Play(1, 0);
  mixer.SetVolume(1, 0.5f);
  mixer.Stop(42);
  mixer.Release(42);
  EXPECT_FALSE(mixer.IsPlaying(1));
}

}  // namespace
}  // namespace engine::sdl
