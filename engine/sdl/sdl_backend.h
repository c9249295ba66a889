// The engine's backend on a real desktop: an SDL_Renderer on the game's window, SDL2_ttf text,
// SDL2_mixer sound, SDL's events as input, and frame pacing by vertical sync or by sleeping.
#pragma once

#include <SDL.h>

#include <memory>
#include <optional>

#include "core/backend.h"
#include "sdl/frame_pacer.h"
#include "sdl/frame_renderer.h"
#include "sdl/pointer_control.h"
#include "sdl/sdl_handles.h"
#include "sdl/sound_mixer.h"

namespace engine::sdl {

class SdlBackend final : public Backend {
 public:
  SdlBackend();

  bool Open(HWND window) override;
  bool ApplyDisplay(const DisplaySettings& settings) override;
  void Close() override;
  bool IsActive() override;

  bool UploadTexture(ResourceId id, Image image) override;
  void DestroyTexture(ResourceId id) override;
  bool LoadFont(ResourceId id, std::span<const uint8_t> ttf) override;
  void ReleaseFont(ResourceId id) override;

  void DrawFrame(const Frame& frame) override;
  void Wipe(uint8_t red, uint8_t green, uint8_t blue) override;

  bool LoadSound(ResourceId id, std::span<const uint8_t> wav,
                 const std::filesystem::path& file) override;
  void ReleaseSound(ResourceId id) override;
  void PlaySound(ResourceId id, int32_t loops) override;
  void StopSound(ResourceId id) override;
  void SetSoundVolume(ResourceId id, float volume) override;

  void WarpPointer(float x, float y) override;
  void WaitForFrame(double deadline) override;
  void Idle() override;
  void Poll(uint64_t pass) override;

  // The window has to be drawn again in full (it was uncovered or resized).
  void ForgetPresentedFrame() { presentedValid_ = false; }
  // The window is being destroyed: whatever was drawn on it goes first.
  void LoseWindow(HWND window);
  // A desktop point as a virtual-screen pixel; nothing while no window is open.
  std::optional<SDL_FPoint> DesktopToScreen(DesktopPoint point) const;

 private:
  void Present();
  bool DrawsInPlace() const;

  HWND window_ = nullptr;
  SDL_Window* sdlWindow_ = nullptr;
  RendererPtr renderer_;
  std::unique_ptr<FrameRenderer> frames_;
  SoundMixer sounds_;
  FramePacer pacer_;
  Frame presented_;  // the last frame presented, to skip presenting it again
  bool presentedValid_ = false;
  bool software_ = false;  // SDL's software renderer, drawing into the window's surface
};

SdlBackend& TheBackend();

}  // namespace engine::sdl
