// The two pieces of music, menu and game, of which at most one plays at a time.
#pragma once

#include <cstdint>

// Engine sound handles, made by the start-up scene.
extern int32_t MenuMusic;
extern int32_t GameMusic;

// Stops both; then "1" starts the menu music and "2" the game music, looping, at the music volume.
void PlayMusic(const char* which);
void StopMusic();
