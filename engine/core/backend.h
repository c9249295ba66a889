// What a backend (SDL2 for the game, headless for the tests) does for the engine. Backends know
// nothing of the game: core hands them decoded pixels, validated font and sound files, and a
// finished draw list in virtual-screen pixels.
//
// A backend library also implements the platform layer (engine/platform.h), except
// QueryPerformanceCounter, QueryPerformanceFrequency and GetTickCount, which core implements over
// its one clock (core/clock.h). It hands keyboard and mouse events to core/input_feed.h, and can
// use core/hot_keys.h and core/virtual_keys.h to turn registered hot keys into WM_HOTKEY.
//
// Threading: every call comes from the thread that runs the engine loop.
// Lifetime: core calls Open before anything else of a cycle and Close last; between the two it
// releases every texture, font and sound it loaded before calling Close.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>

#include "core/frame.h"
#include "core/image.h"
#include "engine/platform.h"

namespace engine {

struct DisplaySettings {
  bool fullScreen = false;  // desktop-sized, the 800 x 600 screen scaled and letterboxed
};

class Backend {
 public:
  virtual ~Backend() = default;

  // Takes over a window made by CreateWindowExA, with an 800 x 600 drawing area; false when the
  // window is not one of ours or no renderer can be made.
  virtual bool Open(HWND window) = 0;
  // Puts the open window in a window or full screen; the window is shown by the time it returns
  // (a backend may wait until here, so a game that starts in full screen never flashes a window
  // first); false when the display refuses.
  virtual bool ApplyDisplay(const DisplaySettings& settings) = 0;
  // Gives up the window (which the game destroys afterwards) and everything Open made.
  virtual void Close() = 0;
  // True while the window can be seen and take input (not minimised or hidden).
  virtual bool IsActive() = 0;

  // Keeps a picture under `id` for drawing, taking its pixels over (a large picture is not then
  // held twice); false when it cannot (the engine then draws plain quads for it).
  virtual bool UploadTexture(ResourceId id, Image image) = 0;
  virtual void DestroyTexture(ResourceId id) = 0;
  // Opens a font from a TrueType file's bytes, which are only valid during the call; false when
  // the font cannot be used.
  virtual bool LoadFont(ResourceId id, std::span<const uint8_t> ttf) = 0;
  virtual void ReleaseFont(ResourceId id) = 0;

  // Clears the screen to black, draws the items in order, then presents.
  virtual void DrawFrame(const Frame& frame) = 0;
  // False for a backend that never reads the frame DrawFrame is given: the engine then does not
  // build it, which is most of a pass's work when nothing is drawn.
  virtual bool ReadsFrames() const { return true; }
  // Clears the window to a colour (components 0..255) and presents at once.
  virtual void Wipe(uint8_t red, uint8_t green, uint8_t blue) = 0;

  // Prepares a WAV file (its bytes already checked by core, valid only during the call) for
  // playing on a voice of its own; the backend may read the file again as it plays. False when it
  // cannot (no audio device): the sound stays silent.
  virtual bool LoadSound(ResourceId id, std::span<const uint8_t> wav,
                         const std::filesystem::path& file) = 0;
  virtual void ReleaseSound(ResourceId id) = 0;
  // Plays from the start, cutting off the sound's previous playing: loops -1 forever, else it
  // plays loops + 1 times.
  virtual void PlaySound(ResourceId id, int32_t loops) = 0;
  virtual void StopSound(ResourceId id) = 0;
  // 0..1, applies to the playing sound at once and to later plays.
  virtual void SetSoundVolume(ResourceId id, float volume) = 0;

  // Moves the system pointer over the given virtual-screen pixel.
  virtual void WarpPointer(float x, float y) = 0;
  // Returns at the frame deadline (seconds on the engine clock) or at once when the display's
  // vertical sync already paces presenting.
  virtual void WaitForFrame(double deadline) = 0;
  // The window cannot be seen (minimised): wait up to a frame for an event, so that the program's
  // loop, which polls without pause, does not spin a core meanwhile.
  virtual void Idle() = 0;
  // Start of engine pass `pass` (counted from 1): hand input that arrived to the engine's input
  // feed (core/input_feed.h).
  virtual void Poll(uint64_t pass) = 0;
};

// The backend linked into the program; each backend library defines it.
Backend& ProgramBackend();

}  // namespace engine
