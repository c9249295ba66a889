// Sounds over SDL2_mixer. Every sound has a mixing channel of its own, so sounds never cut each
// other off. Long sounds (music) are neither decoded up front nor held in memory: they stream from
// their file through SDL2_mixer's single music stream, and fall back to a decoded channel of their
// own only when another long sound is streaming at that moment.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <unordered_map>
#include <vector>

#include "core/frame.h"
#include "sdl/sdl_handles.h"

namespace engine::sdl {

class SoundMixer {
 public:
  // WAV files above this size stream instead of being decoded whole.
  static constexpr size_t kStreamAbove = 1 << 20;  // bytes

  SoundMixer() = default;
  SoundMixer(const SoundMixer&) = delete;
  SoundMixer& operator=(const SoundMixer&) = delete;
  ~SoundMixer();

  // `wav` holds the bytes of `file`; a long sound reads the file again as it plays. False when
  // there is no audio device or SDL2_mixer cannot read the file.
  bool Load(ResourceId id, std::span<const uint8_t> wav, const std::filesystem::path& file);
  void Release(ResourceId id);
  // loops: -1 forever, otherwise the sound plays loops + 1 times.
  void Play(ResourceId id, int32_t loops);
  void Stop(ResourceId id);
  void SetVolume(ResourceId id, float volume);

  // What the mixer is doing with a sound, for tests.
  bool IsPlaying(ResourceId id) const;
  bool IsStreaming(ResourceId id) const;

 private:
  struct Sound {
    int channel = -1;
    ChunkPtr chunk;              // decoded samples; for a long sound only once it needed them
    std::filesystem::path file;  // a long sound's WAV file, which its stream reads from
    MusicPtr music;
    float volume = 1;  // 0..1
  };

  int TakeChannel();
  bool Decode(Sound& sound);

  std::unordered_map<ResourceId, Sound> sounds_;
  std::vector<int> freeChannels_;
  int channels_ = 0;
  ResourceId streaming_ = 0;  // the sound on the music stream, 0 for none
};

}  // namespace engine::sdl
