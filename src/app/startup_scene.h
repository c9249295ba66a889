// The program's work in the engine's initialisation phase: the first build creates the program's
// long-lived objects and every program-wide engine resource and starts the menu fade-in; every
// later build (after the engine was reopened) re-creates the engine resources and puts back on
// screen what the current state shows.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "engine/engine.h"
#include "sprites/mesh_sprite.h"

extern int32_t Camera;
extern int32_t MenuFont;  // menus and level messages
extern int32_t GameFont;  // the in-game numbers

// The arguments last given to iLightDirectionalSet.
extern Vec3f LightDirection;
extern Vec4f LightColour;

// Shown while resources load.
extern std::unique_ptr<TMeshSprite> LoadingSprite;
// The menu background (index 0) and its three animated pictures.
extern std::array<std::unique_ptr<TMeshSprite>, 4> MenuPictures;
extern std::unique_ptr<TMeshSprite> GameOverSprite;
extern std::unique_ptr<TMeshSprite> CongratsSprite;
extern std::array<int32_t, 10> DigitTextures;

extern int32_t MenuMoveSound;
extern int32_t MenuSelectSound;

// The engine sprite that follows the pointer, and its 11 animation frames.
extern int32_t CursorSprite;
extern std::array<int32_t, 11> CursorTextures;

// False until the first build has finished.
extern bool Initialised;

void BuildStartupScene();

// An engine sprite of `model` wearing the picture `image`.
int32_t CreateCursorSprite(const char* model, const char* image, float sx, float sy);
