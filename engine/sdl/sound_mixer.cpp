#include "sdl/sound_mixer.h"

#include <SDL_mixer.h>

#include <algorithm>
#include <cmath>

#include "sdl/sdl_session.h"

namespace engine::sdl {
namespace {

int MixVolume(float volume) {
  return static_cast<int>(std::lround(std::clamp(volume, 0.0f, 1.0f) * MIX_MAX_VOLUME));
}

}  // namespace

SoundMixer::~SoundMixer() {
  std::vector<ResourceId> ids;
  for (const auto& [id, sound] : sounds_) {
    ids.push_back(id);
  }
  for (const ResourceId id : ids) {
    Release(id);
  }
}

bool SoundMixer::Load(ResourceId id, std::span<const uint8_t> wav,
                      const std::filesystem::path& file) {
  if (!AudioReady() || sounds_.contains(id) || wav.empty()) {
    return false;
  }
  Sound sound;
  if (wav.size() > kStreamAbove) {
    sound.file = file;
    SDL_RWops* source = SDL_RWFromFile(file.c_str(), "rb");
    sound.music.reset(source ? Mix_LoadMUS_RW(source, 1) : nullptr);
    if (!sound.music) {
      return false;
    }
  } else {
    SDL_RWops* source = SDL_RWFromConstMem(wav.data(), static_cast<int>(wav.size()));
    sound.chunk.reset(source ? Mix_LoadWAV_RW(source, 1) : nullptr);
    if (!sound.chunk) {
      return false;
    }
  }
  sound.channel = TakeChannel();
  if (sound.channel < 0) {
    return false;
  }
  Mix_Volume(sound.channel, MIX_MAX_VOLUME);
  sounds_.emplace(id, std::move(sound));
  return true;
}

void SoundMixer::Release(ResourceId id) {
  const auto found = sounds_.find(id);
  if (found == sounds_.end()) {
    return;
  }
  Stop(id);
  freeChannels_.push_back(found->second.channel);
  sounds_.erase(found);
}

void SoundMixer::Play(ResourceId id, int32_t loops) {
  const auto found = sounds_.find(id);
  if (found == sounds_.end()) {
    return;
  }
  Sound& sound = found->second;
  Stop(id);
  if (sound.music && (streaming_ == 0 || Mix_PlayingMusic() == 0)) {
    // The music stream counts plays, not repeats.
    if (Mix_PlayMusic(sound.music.get(), loops < 0 ? -1 : loops + 1) == 0) {
      streaming_ = id;
      Mix_VolumeMusic(MixVolume(sound.volume));
    }
    return;
  }
  if (!sound.chunk && !Decode(sound)) {
    return;
  }
  Mix_Volume(sound.channel, MixVolume(sound.volume));
  Mix_PlayChannel(sound.channel, sound.chunk.get(), loops < 0 ? -1 : loops);
}

void SoundMixer::Stop(ResourceId id) {
  const auto found = sounds_.find(id);
  if (found == sounds_.end()) {
    return;
  }
  Mix_HaltChannel(found->second.channel);
  if (streaming_ == id) {
    Mix_HaltMusic();
    streaming_ = 0;
  }
}

void SoundMixer::SetVolume(ResourceId id, float volume) {
  const auto found = sounds_.find(id);
  if (found == sounds_.end()) {
    return;
  }
  found->second.volume = volume;
  Mix_Volume(found->second.channel, MixVolume(volume));
  if (streaming_ == id) {
    Mix_VolumeMusic(MixVolume(volume));
  }
}

bool SoundMixer::IsPlaying(ResourceId id) const {
  const auto found = sounds_.find(id);
  if (found == sounds_.end()) {
    return false;
  }
  return Mix_Playing(found->second.channel) != 0 || (streaming_ == id && Mix_PlayingMusic() != 0);
}

bool SoundMixer::IsStreaming(ResourceId id) const {
  return streaming_ == id && Mix_PlayingMusic() != 0;
}

int SoundMixer::TakeChannel() {
  if (!freeChannels_.empty()) {
    const int channel = freeChannels_.back();
    freeChannels_.pop_back();
    return channel;
  }
  if (Mix_AllocateChannels(channels_ + 1) != channels_ + 1) {
    return -1;
  }
  return channels_++;
}

bool SoundMixer::Decode(Sound& sound) {
  SDL_RWops* source = SDL_RWFromFile(sound.file.c_str(), "rb");
  sound.chunk.reset(source ? Mix_LoadWAV_RW(source, 1) : nullptr);
  return sound.chunk != nullptr;
}

}  // namespace engine::sdl
