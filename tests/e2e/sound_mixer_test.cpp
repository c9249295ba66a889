// The mixer over SDL's dummy audio device, which plays in real time into nowhere.
#include "sdl/sound_mixer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

#include <unistd.h>

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

  // The WAV file the mixer is handed the bytes of.
  std::filesystem::path Saved(const std::vector<uint8_t>& wav, const char* name) {
    const auto path = std::filesystem::temp_directory_path() /
                      (std::string("qb_mixer_") + std::to_string(getpid()) + name);
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(wav.data()), static_cast<std::streamsize>(wav.size()));
    files_.push_back(path);
    return path;
  }
  void TearDown() override {
    for (const auto& file : files_)
      std::filesystem::remove(file);
  }

  std::vector<std::filesystem::path> files_;
};

TEST_F(SoundMixerTest, ShortSoundsPlayTogetherOnChannelsOfTheirOwn) {
  SoundMixer mixer;
  const auto tone = ToneWav(2);
  const auto file = Saved(tone, "tone.wav");
  ASSERT_TRUE(mixer.Load(1, tone, file));
  ASSERT_TRUE(mixer.Load(2, tone, file));
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
  const auto file = Saved(music, "music.wav");
  ASSERT_TRUE(mixer.Load(1, music, file));
  ASSERT_TRUE(mixer.Load(2, music, file));
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
  const std::vector<uint8_t> noise(100, 0xAB);
  EXPECT_FALSE(mixer.Load(1, noise, Saved(noise, "noise.wav")));
  EXPECT_FALSE(mixer.Load(2, {}, {}));
  const auto tone = ToneWav(0.1);
  const auto file = Saved(tone, "tone.wav");
  ASSERT_TRUE(mixer.Load(3, tone, file));
  EXPECT_FALSE(mixer.Load(3, tone, file));
  // A long sound whose file has gone cannot stream.
  const auto music = ToneWav(30);
  EXPECT_FALSE(mixer.Load(4, music, std::filesystem::temp_directory_path() / "qb_no_such.wav"));
  mixer.Play(1, 0);
  mixer.SetVolume(1, 0.5f);
  mixer.Stop(42);
  mixer.Release(42);
  EXPECT_FALSE(mixer.IsPlaying(1));
}

}  // namespace
}  // namespace engine::sdl
