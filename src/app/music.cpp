#include "app/music.h"

#include <cstring>

#include "engine/engine.h"
#include "persist/settings.h"

int32_t MenuMusic = 0;
int32_t GameMusic = 0;

namespace {

void StartLooping(int32_t music) {
  iSoundVolumeSet(music, EngineVolume(Settings.MusicVolume));
  iSoundPlayNow(music, -1);
}

}  // namespace

void PlayMusic(const char* which) {
  StopMusic();
  if (std::strcmp(which, "1") == 0)
    StartLooping(MenuMusic);
  else if (std::strcmp(which, "2") == 0)
    StartLooping(GameMusic);
}

void StopMusic() {
  iSoundStop(MenuMusic, 0);
  iSoundStop(GameMusic, 0);
}
