// Sounds. Whether a sound is playing follows from when it started, how long it lasts and how
// often it repeats, on the engine clock: the answer is the same with or without an audio device,
// and in tests it follows the test's clock.
#include <algorithm>
#include <cmath>
#include <filesystem>

#include "core/clock.h"
#include "core/engine_state.h"
#include "core/file_bytes.h"
#include "core/wav_info.h"
#include "engine/engine.h"
#include "engine/paths.h"

using engine::Engine;
using engine::SoundObject;

namespace {

constexpr size_t kMaxSoundBytes = 256 << 20;

SoundObject* Find(int32_t sound) {
  return Engine().sounds.Find(sound);
}

void Start(SoundObject& sound, int32_t loop) {
  sound.started = true;
  sound.startedAt = engine::ClockSeconds();
  sound.loops = loop < 0 ? -1 : loop;
  if (sound.loaded) {
    Engine().backend->PlaySound(sound.id, sound.loops);
  }
}

}  // namespace

int32_t iSoundCreate(const char* path, int32_t) {
  if (!engine::IsOpen() || !path) {
    return 0;
  }
  const std::filesystem::path file = ProgramPath(path);
  const auto bytes = engine::ReadFileBytes(file, kMaxSoundBytes);
  const auto info = bytes ? engine::ReadWavInfo(*bytes) : std::nullopt;
  if (!info) {
    return 0;
  }
  SoundObject sound;
  sound.id = engine::NextResourceId();
  sound.loaded = Engine().backend->LoadSound(sound.id, *bytes, file);
  sound.source = path;
  sound.duration = info->duration;
  const engine::ResourceId id = sound.id;
  const bool loaded = sound.loaded;
  const int32_t handle = Engine().sounds.Add(std::move(sound));
  if (handle == 0 && loaded) {
    Engine().backend->ReleaseSound(id);
  }
  return handle;
}

void iSoundPlay(int32_t sound, int32_t loop) {
  SoundObject* s = Find(sound);
  if (s && !s->PlayingAt(engine::ClockSeconds())) {
    Start(*s, loop);
  }
}

void iSoundPlayNow(int32_t sound, int32_t loop) {
  if (SoundObject* s = Find(sound)) {
    Start(*s, loop);
  }
}

void iSoundStop(int32_t sound, int32_t) {
  SoundObject* s = Find(sound);
  if (!s) {
    return;
  }
  s->started = false;
  if (s->loaded) {
    Engine().backend->StopSound(s->id);
  }
}

int32_t iSoundPlaying(int32_t sound) {
  const SoundObject* s = Find(sound);
  return s && s->PlayingAt(engine::ClockSeconds()) ? 1 : 0;
}

void iSoundVolumeSet(int32_t sound, float volume) {
  SoundObject* s = Find(sound);
  if (!s) {
    return;
  }
  s->volume = std::isfinite(volume) ? std::clamp(volume, 0.0f, 1.0f) : 0.0f;
  if (s->loaded) {
    Engine().backend->SetSoundVolume(s->id, s->volume);
  }
}
