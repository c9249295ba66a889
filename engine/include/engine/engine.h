// The engine as the game sees it: every call the game makes for drawing, sound, input and frame
// pacing. Implemented by engine/core over a backend (engine/sdl or engine/headless).
//
// Handles are positive; 0 means none. A call with a handle that is 0, unknown, destroyed or from
// before the last i3ImpactClose does nothing and returns 0. Status results are nonzero for yes.
//
// Spaces:
//  - screen: the 800 x 600 virtual screen, pixels from the top left, y down;
//  - engine space: origin at the screen centre, 8 pixels per unit, y up, z only orders drawing;
//  - print space: x -16..16 left to right, y -12..12 bottom to top, 25 pixels per unit.
// Paths are relative to the program's folder and may use '\'.
#pragma once

#include <cstdint>

#include "engine/platform.h"

struct Vec2f {
  float x;
  float y;
};

struct Vec3f {
  float x;
  float y;
  float z;
};

struct Vec4f {
  float x;
  float y;
  float z;
  float w;
};

// --- Lifecycle ------------------------------------------------------------------------------

// Opens the engine on a window made by CreateWindowExA and shows the window. Nonzero on success.
int32_t i3ImpactOpen(HWND window, int32_t flags);
// Six values: 0, 0, display value, 0, windowed selector (0 = window, -1 = full screen), -1.
int32_t i3ImpactSettings(const int32_t* block);
// Destroys every engine object; handles issued before are dead from now on.
void i3ImpactClose();

// --- The loop -------------------------------------------------------------------------------

// One engine pass: waits for the next frame time where the display does not pace us.
void i3ImpactMain();
void i3ImpactInitBegin();
void i3ImpactInitEnd();
void i3ImpactRunBegin();
void i3ImpactRunEnd();
void i3ImpactExitBegin();
void i3ImpactExitEnd();
// Draws the frame of this pass.
void i3ImpactRender();

int32_t i3ImpactIsActive();
int32_t i3ImpactIsReady();
int32_t i3ImpactIsExecuting();
// Nonzero once after each i3ImpactOpen, until the initialisation phase has run.
int32_t i3ImpactIsInitializing();
// Nonzero from i3ImpactOpen until i3ImpactIsRenderingSet(0) or iExit.
int32_t i3ImpactIsRendering();
void i3ImpactIsRenderingSet(int32_t rendering);
int32_t i3ImpactIsSkippingRunPhase();
int32_t i3ImpactIsSkippingRenderPhase();
int32_t i3ImpactErrorFlag();
void i3ImpactErrorFlagSet(int32_t flag);

// --- Display and time -----------------------------------------------------------------------

// Above 0 while full screen.
int32_t iDisplayMode();
// Seconds on the engine's clock (the clock behind QueryPerformanceCounter).
double iSystemTimer();
// Clears the window to a colour (components 0..255) at once.
void iScreenWipe(int32_t red, int32_t green, int32_t blue);
// Draws the current scene at once, outside the render phase.
void iRender();
// Accepted for compatibility; drawing happens in the render phase and in iRender.
void iRenderingDisable();
void iEscEnable(int32_t enable);
// Ends rendering: the engine loop finishes after this pass.
void iExit();
void iTextureMipLevelsSet(int32_t levels);

// --- Input ----------------------------------------------------------------------------------

// Keys are DirectInput scan codes (1..255).
int32_t iKeyDown(int32_t scanCode);
// Nonzero once per press: the query uses the press up.
int32_t iKeyClick(int32_t scanCode);
// Pointer as a fraction 0..1 of the virtual screen, from the left and from the top.
float iMouseX();
float iMouseY();
// Button 0 left, 1 right.
int32_t iMouseButtonDown(int32_t button);
int32_t iMouseButtonClick(int32_t button);
// Moves the pointer to a fraction of the virtual screen.
void iMouseReset(const Vec2f& position);
void iMouseResolutionSet(int32_t resolution);
// The game's left, right and fire keys, which a gamepad's stick, d-pad and A button press.
void iGamepadKeys(int32_t left, int32_t right, int32_t fire);
// A key pressed (down nonzero) or let go by a program rather than a keyboard, as the autoplayer
// does: the game reads it exactly as it reads the keyboard's.
void iKeyInject(int32_t scanCode, int32_t down);

// --- Meshes ---------------------------------------------------------------------------------

// Loads a model (the quad "data/sprite.x"); 0 when the file is missing or not a model we read.
// A new mesh is hidden.
int32_t iMeshCreate(const char* modelPath);
void iMeshDestroy(int32_t mesh);
void iMeshShow(int32_t mesh);
void iMeshHide(int32_t mesh);
// Engine-space location.
int32_t iMeshLocation(int32_t mesh, Vec3f& location);
void iMeshLocationSet(int32_t mesh, const Vec3f& location);
void iMeshScaleSet(int32_t mesh, const Vec3f& scale);
// Degrees; a rotation about z turns the picture on the screen.
void iMeshEulerOrientationSet(int32_t mesh, float x, float y, float z, const char* order);
// Multiplies the texture's alpha; clamped to 0..1.
void iMeshAlphaSet(int32_t mesh, float alpha);
void iMeshRenderModeSet(int32_t mesh, int32_t a, int32_t b, int32_t c, int32_t d);
// Higher priorities are drawn on top; ties in creation order.
void iMeshRenderPrioritySet(int32_t mesh, int32_t priority);
void iMeshTextureSet(int32_t mesh, int32_t texture);
// 3 wraps texture coordinates, 4 clamps them.
void iMeshTextureModeSet(int32_t mesh, int32_t mode);
// Takes the texture off the mesh (it is then drawn as a plain quad).
void iMeshTextureReset(int32_t mesh);

// --- Textures -------------------------------------------------------------------------------

// PNG, JPEG or uncompressed 32-bit DDS; 0 when missing or undecodable.
int32_t iTextureCreate(const char* imagePath);
// The same formats from memory; the tag names the picture (the same tag, the same picture).
int32_t iTextureCreateFromMemory(const void* data, int32_t size, int32_t tag);
void iTextureDestroy(int32_t texture);

// --- Engine sprites (drawn above everything, placed in print space) --------------------------

int32_t iSpriteCreate(const char* modelPath, int32_t flags);
void iSpriteShow(int32_t sprite);
void iSpriteHide(int32_t sprite);
void iSpriteLocationSet(int32_t sprite, const Vec2f& location);
void iSpriteScaleSet(int32_t sprite, const Vec2f& scale);
void iSpritePrioritySet(int32_t sprite, int32_t priority);
void iSpriteTextureSet(int32_t sprite, int32_t texture);
void iSpriteTextureReset(int32_t sprite);
// Replaces the sprite's texture.
void iSpriteTextureSwap(int32_t sprite, int32_t texture);

// --- Particles ------------------------------------------------------------------------------

// A particle system of at most `capacity` live particles drawn with one texture, additively.
int32_t iParticleCreate(const char* texturePath, int32_t capacity);
void iParticleShow(int32_t particles);
void iParticleHide(int32_t particles);
// Colour ramp from birth to death (components 0..1).
void iParticleColorSet(int32_t particles, const Vec3f& from, const Vec3f& to);
void iParticleLifeTimeSet(int32_t particles, float seconds);
// Acceleration in engine units per second squared.
void iParticleGravitySet(int32_t particles, const Vec3f& gravity);
// Velocity damping per second.
void iParticleAirResistanceSet(int32_t particles, float resistance);
void iParticleRenderModeSet(int32_t particles, int32_t mode);

int32_t iParticleEmitterCreate(int32_t particles);
void iParticleEmitterLocationSet(int32_t emitter, const Vec3f& location);
// Direction range of new particles; (0,0,0) to (0,0,0) means every direction.
void iParticleEmitterDirectionSet(int32_t emitter, const Vec3f& from, const Vec3f& to);
// Speed range in engine units per second.
void iParticleEmitterSpeedSet(int32_t emitter, float from, float to);
// Size range of new particles (width, height), in units of 64 screen pixels: a size in engine
// units would leave the game's particles (sizes 0.05 to 0.7) a pixel or two wide.
void iParticleEmitterScaleSet(int32_t emitter, const Vec2f& from, const Vec2f& to);
// Emits one burst whose size grows with both `amount` and `intensity`.
void iParticleEmitterEmit(int32_t emitter, float amount, float intensity);

// --- Sound ----------------------------------------------------------------------------------

// A WAV file; 0 when missing or unreadable. Each sound has its own voice.
int32_t iSoundCreate(const char* path, int32_t flags);
// Starts the sound unless it is playing. loop: -1 forever, 0 once.
void iSoundPlay(int32_t sound, int32_t loop);
// Restarts the sound at once.
void iSoundPlayNow(int32_t sound, int32_t loop);
void iSoundStop(int32_t sound, int32_t flags);
int32_t iSoundPlaying(int32_t sound);
// 0..1; above 1 is clamped.
void iSoundVolumeSet(int32_t sound, float volume);

// --- Text -----------------------------------------------------------------------------------

// A ".wid" font file (TrueType); 0 when missing or unreadable.
int32_t iFontCreate(const char* path, int32_t camera);
// Prints in print space: position is the left end of the base line, scale is the character
// size (about one print unit of advance per unit of scale), spacing is extra advance. Texts
// printed during a run phase are drawn until the next run phase begins or iPrintsHide.
void iPrint(const char* text, const Vec2f& position, const Vec2f& scale, float spacing,
            int32_t font);
// Colour of the texts printed from now on (components 0..1).
void iPrintColorSet(float red, float green, float blue, float alpha);
void iPrintsHide();

// --- Camera and light -----------------------------------------------------------------------

int32_t iCameraCreate(float left, float top, float width, float height);
void iCameraFovSet(int32_t camera, float fov);
void iCameraEulerOrientationSet(int32_t camera, float x, float y, float z, const char* order);
// The colour's first three components scale the brightness of meshes (1 = normal, clamped).
void iLightDirectionalSet(const Vec3f& direction, const Vec4f& colour);
