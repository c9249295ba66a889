// The headless backend and platform layer, as the tests drive and inspect them. Nothing is drawn,
// played or shown: windows, messages, hot keys, message boxes and the clock are simulated, and
// the scene the engine would draw can be read back.
//
// Call Reset() at the start of every test: it closes the engine, forgets every window, message and
// hot key, puts the program folder back beside the executable and sets the clock to 0 with
// automatic advance of 1/60 s per engine pass.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/frame.h"
#include "core/hot_keys.h"
#include "engine/engine.h"
#include "engine/platform.h"

namespace headless {

void Reset();

// --- Scripting -------------------------------------------------------------------------------

// Called by every engine pass (i3ImpactMain) with the pass number, counted from 1 since Reset,
// before the pass's run and render phases: the place to feed messages and input, move the clock
// and look at the scene the previous pass drew.
void SetPassHook(std::function<void(uint64_t pass)> hook);
// Called whenever the program would wait: by GetMessageA while the queue is empty, up to 1000
// times per call, and by i3ImpactIsActive while the engine's window is minimised or hidden, up to
// 1000 times between two engine passes (each call also moves the clock on by the automatic
// advance). When nothing has happened by then, or there is no hook, the test fails: GetMessageA
// returns -1, and the inactive engine stops rendering, instead of hanging.
void SetIdleHook(std::function<void()> hook);
// The next GetMessageA returns -1.
void FailNextGetMessage();
// The next i3ImpactOpen (or i3ImpactSettings) fails.
void FailNextOpen();
void FailNextDisplaySettings();

// Seconds on the engine clock (behind iSystemTimer, QueryPerformanceCounter and GetTickCount).
double Clock();
void SetClock(double seconds);
void AdvanceClock(double seconds);
// How far each engine pass moves the clock by itself; 0 leaves time to the test.
void SetAutoAdvance(double seconds);

// Folder that ProgramPath resolves in; empty: the executable's folder.
void SetProgramFolder(const std::filesystem::path& folder);

// Screen size for GetSystemMetrics and full screen; the caption height is 23.
void SetScreenSize(int32_t width, int32_t height);

void PostMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Keys are DirectInput scan codes. A press that matches a registered hot key (its virtual key
// with exactly the modifiers held) posts WM_HOTKEY to the hot key's window instead of reaching
// the engine.
void PressKey(int scanCode);
void ReleaseKey(int scanCode);
void TapKey(int scanCode);
// Posts the WM_HOTKEY of a registered hot key to its window; false when none has this identifier.
bool FireHotKey(int32_t id);
// Moves the pointer to a pixel of the 800 x 600 virtual screen: the engine's mouse and the
// desktop cursor (GetCursorPos) over the engine's window both follow.
void MoveMouse(float x, float y);
// 0 left, 1 right.
void PressMouseButton(int button);
void ReleaseMouseButton(int button);
void ClickMouse(int button);
// The desktop cursor alone, in desktop pixels.
void SetCursorPosition(int32_t x, int32_t y);

// Answers for the next MessageBoxA calls, in order; without one, a message box answers IDNO (a
// box with only OK answers IDOK).
void QueueMessageBoxAnswer(int32_t answer);

// --- Inspection ------------------------------------------------------------------------------

bool EngineOpen();
bool FullScreen();
Vec4f LightColour();
uint64_t FramesDrawn();  // frames the engine drew (render phases and iRender)
uint64_t ScreenWipes();

struct MeshView {
  int32_t handle;
  float left, top, width, height;  // screen pixels, before rotation
  float rotation;                  // degrees about the screen normal, counter-clockwise
  int32_t priority;
  float alpha;                // 0..1
  engine::Rgba tint;          // light and alpha as drawn
  int32_t texture;            // 0 = none
  int32_t textureTag;         // 0 unless made from memory
  std::string textureSource;  // the path the game gave, empty for memory
};
// Visible meshes in draw order, bottom first.
std::vector<MeshView> VisibleMeshes();

struct SpriteView {
  int32_t handle;
  float left, top, width, height;  // screen pixels
  int32_t priority;
  int32_t texture;
  int32_t textureTag;
  std::string textureSource;
};
std::vector<SpriteView> VisibleSprites();

struct TextView {
  std::string text;
  Vec2f position;  // print units, left end of the base line
  Vec2f scale;
  float spacing;
  engine::Rgba colour;
  int32_t font;
  std::string fontSource;
};
// The texts the next render would draw, in print order.
std::vector<TextView> PrintedTexts();

struct SoundView {
  int32_t handle;
  std::string path;  // as the game gave it
  bool playing;
  bool looping;
  float volume;
  double duration;  // seconds
};
std::vector<SoundView> Sounds();

struct ParticleView {
  int32_t handle;
  std::string texturePath;
  bool visible;
  int alive;
  int capacity;
  std::vector<Vec2f> positions;  // screen pixels of the live particles, oldest first
};
std::vector<ParticleView> ParticleSystems();

// What the next frame would draw, in order.
std::vector<engine::ItemSource> DrawOrder();

// Textures, fonts and sounds the backend holds at the moment.
size_t BackendResources();
// Makes the backend take the engine's frames as a drawing backend does (it does not, by default),
// so a test sees what the engine does for one: large pictures held only once drawn, and let go.
void SetReadsFrames(bool reads);

enum class ShowState { kHidden, kShown, kMinimised };
struct WindowView {
  HWND handle;
  std::string className;
  std::string title;
  RECT rect;
  ShowState show;
  bool destroyed;
};
std::vector<WindowView> Windows();

std::vector<engine::HotKey> HotKeys();

struct MessageBoxView {
  HWND owner;
  std::string text;
  std::string caption;
  UINT type;
  int32_t answer;
};
std::vector<MessageBoxView> MessageBoxes();

struct ShellView {
  HWND window;
  std::string operation;  // empty for none
  std::string file;
  std::string parameters;
  std::string directory;
  int32_t showCommand;
};
std::vector<ShellView> ShellOpened();

POINT CursorPosition();
int32_t CursorShowCount();
// The last place iMouseReset asked the pointer to go, in virtual-screen pixels.
std::optional<Vec2f> LastPointerWarp();

}  // namespace headless
