#include "menus/menu_sound.h"

#include "engine/engine.h"
#include "persist/settings.h"

void PlayMenuSound(int32_t sound) {
  iSoundVolumeSet(sound, EngineVolume(Settings.SoundVolume));
  iSoundPlayNow(sound, 0);
}
