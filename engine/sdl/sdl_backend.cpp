#include "sdl/sdl_backend.h"

#include <chrono>
#include <cstring>
#include <filesystem>
#include <string_view>
#include <thread>

#ifdef __GLIBC__
#include <malloc.h>
#endif

#include "core/clock.h"
#include "sdl/event_pump.h"
#include "sdl/frame_compare.h"
#include "sdl/platform_window.h"
#include "sdl/sdl_session.h"
#include "sdl/system_pointer.h"

namespace engine::sdl {
namespace {

constexpr int kIdleMilliseconds = 1000 / 60;
// Allocations from this size up get a mapping of their own (see Open).
constexpr int kOwnMappingBytes = 128 << 10;
constexpr unsigned kGlRenderer = 0x1F01;  // GL_RENDERER

// Whether an OpenGL renderer runs on a CPU rasteriser (Mesa's llvmpipe and kin, as on a machine
// without a GPU or under Xvfb): for our flat 2D quads SDL's own software renderer costs a
// fraction of that.
bool RasterisesOnTheCpu(SDL_Renderer* renderer) {
  SDL_RendererInfo info{};
  if (SDL_GetRendererInfo(renderer, &info) != 0 || std::strncmp(info.name, "opengl", 6) != 0) {
    return false;
  }
  using GetString = const unsigned char* (*)(unsigned);
  const auto getString = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
  const unsigned char* name = getString ? getString(kGlRenderer) : nullptr;
  if (!name) {
    return false;
  }
  const std::string_view device(reinterpret_cast<const char*>(name));
  for (const std::string_view software : {"llvmpipe", "softpipe", "Software Rasterizer", "SWR"}) {
    if (device.find(software) != std::string_view::npos) {
      return true;
    }
  }
  return false;
}

bool HasGpuDevice() {
#ifdef __linux__
  std::error_code error;
  return std::filesystem::exists("/dev/dri", error);
#else
  return true;
#endif
}

// The GPU with vertical sync where there is one, SDL's software renderer otherwise; a renderer
// chosen by name through SDL's own setting is left as it is.
RendererPtr CreateRenderer(SDL_Window* window) {
  RendererPtr renderer;
  // Without a GPU device (a virtual display, a machine without graphics) OpenGL could only be
  // emulated, and setting that up costs more start-up time and memory than the whole game.
  if (SDL_GetHint(SDL_HINT_RENDER_DRIVER) || HasGpuDevice()) {
    renderer.reset(
        SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC));
  }
  if (renderer && (SDL_GetHint(SDL_HINT_RENDER_DRIVER) || !RasterisesOnTheCpu(renderer.get()))) {
    return renderer;
  }
  renderer.reset();
  renderer.reset(SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE));
  return renderer;
}

}  // namespace

// Touching the session first makes it outlive the backend at program exit.
SdlBackend::SdlBackend() {
  VideoReady();
}

bool SdlBackend::Open(HWND window) {
  PlatformWindow* live = LiveWindow(window);
  if (!live || renderer_) {
    return false;
  }
  SDL_Window* sdl = live->sdl.get();
#ifdef __GLIBC__
  // Pictures are held in buffers of a few hundred kilobytes to megabytes that come and go with
  // the screens. A fixed threshold keeps every such buffer in a mapping of its own, handed back
  // to the system when freed; glibc's own threshold rises after the first free and would then
  // keep them in the heap, where the process's size only grows.
  mallopt(M_MMAP_THRESHOLD, kOwnMappingBytes);
#endif
  renderer_ = CreateRenderer(sdl);
  if (!renderer_) {
    return false;
  }
  // Mouse events arrive in virtual-screen pixels from here on: the renderer maps them through
  // the scaling and the letterbox.
  SDL_RenderSetLogicalSize(renderer_.get(), kScreenWidth, kScreenHeight);
  SDL_RendererInfo info{};
  SDL_GetRendererInfo(renderer_.get(), &info);
  // SDL's software renderer reports vertical sync, yet it copies into the window and returns.
  const bool vsync =
      (info.flags & SDL_RENDERER_PRESENTVSYNC) != 0 && (info.flags & SDL_RENDERER_SOFTWARE) == 0;
  SDL_DisplayMode mode{};
  const bool knowsRate = SDL_GetWindowDisplayMode(sdl, &mode) == 0 && mode.refresh_rate > 0;
  pacer_.Reset(vsync, knowsRate ? 1.0 / mode.refresh_rate : 0);
  software_ = (info.flags & SDL_RENDERER_SOFTWARE) != 0;
  frames_ = std::make_unique<FrameRenderer>(renderer_.get());
  window_ = window;
  sdlWindow_ = sdl;
  presentedValid_ = false;
  return true;
}

// The window is shown here rather than in Open, so that a game that starts in full screen never
// flashes a window first.
bool SdlBackend::ApplyDisplay(const DisplaySettings& settings) {
  if (!renderer_) {
    return false;
  }
  if (settings.fullScreen) {
    if (SDL_SetWindowFullscreen(sdlWindow_, SDL_WINDOW_FULLSCREEN_DESKTOP) != 0) {
      return false;
    }
  } else {
    if (SDL_SetWindowFullscreen(sdlWindow_, 0) != 0) {
      return false;
    }
    SDL_SetWindowSize(sdlWindow_, kScreenWidth, kScreenHeight);
  }
  // In full screen the system's own Alt+Tab and Alt+F4 reach the program, which swallows them
  // with its hot keys.
  SDL_SetWindowKeyboardGrab(sdlWindow_, settings.fullScreen ? SDL_TRUE : SDL_FALSE);
  HideSystemCursorForFullScreen(settings.fullScreen);
  SDL_ShowWindow(sdlWindow_);
  SDL_RaiseWindow(sdlWindow_);
  presentedValid_ = false;
  return true;
}

void SdlBackend::Close() {
  if (sdlWindow_) {
    SDL_SetWindowKeyboardGrab(sdlWindow_, SDL_FALSE);
    HideSystemCursorForFullScreen(false);
  }
  frames_.reset();
  renderer_.reset();
  window_ = nullptr;
  sdlWindow_ = nullptr;
  presentedValid_ = false;
  presented_.Clear();
}

void SdlBackend::LoseWindow(HWND window) {
  if (window == window_) {
    Close();
  }
}

bool SdlBackend::IsActive() {
  if (!sdlWindow_) {
    return false;
  }
  return (SDL_GetWindowFlags(sdlWindow_) & (SDL_WINDOW_HIDDEN | SDL_WINDOW_MINIMIZED)) == 0;
}

bool SdlBackend::UploadTexture(ResourceId id, Image image) {
  return frames_ && frames_->UploadTexture(id, std::move(image));
}

void SdlBackend::DestroyTexture(ResourceId id) {
  if (frames_) {
    frames_->DestroyTexture(id);
  }
}

bool SdlBackend::LoadFont(ResourceId id, std::span<const uint8_t> ttf) {
  return frames_ && frames_->LoadFont(id, ttf);
}

void SdlBackend::ReleaseFont(ResourceId id) {
  if (frames_) {
    frames_->ReleaseFont(id);
  }
}

void SdlBackend::DrawFrame(const Frame& frame) {
  if (!frames_ || (presentedValid_ && SameFrame(frame, presented_))) {
    return;
  }
  if (DrawsInPlace()) {
    if (!presentedValid_) {
      frames_->Forget();
    }
    frames_->SetTarget(SDL_GetWindowSurface(sdlWindow_));
    const Damage& damage = frames_->DrawChanges(frame);
    if (damage.full) {
      Present();
    } else if (!damage.rects.empty()) {
      // The software renderer draws straight into the window's surface: only the rectangles
      // that changed go to the display.
      SDL_RenderFlush(renderer_.get());
      SDL_UpdateWindowSurfaceRects(sdlWindow_, damage.rects.data(),
                                   static_cast<int>(damage.rects.size()));
      pacer_.NotePresent(ClockSeconds());
    }
  } else {
    frames_->SetTarget(nullptr);
    frames_->Draw(frame);
    Present();
  }
  presented_ = frame;
  presentedValid_ = true;
}

// A GPU's back buffer holds nothing defined after a present, so every frame is drawn whole there.
// The software renderer's target is the window's own surface, which keeps its pixels; frames are
// drawn into it in place while it maps one to one onto the virtual screen.
bool SdlBackend::DrawsInPlace() const {
  if (!software_) {
    return false;
  }
  int width = 0, height = 0;
  return SDL_GetRendererOutputSize(renderer_.get(), &width, &height) == 0 &&
         width == kScreenWidth && height == kScreenHeight;
}

void SdlBackend::Wipe(uint8_t red, uint8_t green, uint8_t blue) {
  if (!renderer_) {
    return;
  }
  SDL_SetRenderDrawColor(renderer_.get(), red, green, blue, 255);
  SDL_RenderClear(renderer_.get());
  Present();
  presentedValid_ = false;
}

void SdlBackend::Present() {
  SDL_RenderPresent(renderer_.get());
  pacer_.NotePresent(ClockSeconds());
}

bool SdlBackend::LoadSound(ResourceId id, std::span<const uint8_t> wav,
                           const std::filesystem::path& file) {
  return sounds_.Load(id, wav, file);
}

void SdlBackend::ReleaseSound(ResourceId id) {
  sounds_.Release(id);
}

void SdlBackend::PlaySound(ResourceId id, int32_t loops) {
  sounds_.Play(id, loops);
}

void SdlBackend::StopSound(ResourceId id) {
  sounds_.Stop(id);
}

void SdlBackend::SetSoundVolume(ResourceId id, float volume) {
  sounds_.SetVolume(id, volume);
}

void SdlBackend::WarpPointer(float x, float y) {
  if (!renderer_) {
    return;
  }
  int windowX = 0, windowY = 0;
  SDL_GetWindowPosition(sdlWindow_, &windowX, &windowY);
  int inWindowX = 0, inWindowY = 0;
  SDL_RenderLogicalToWindow(renderer_.get(), x, y, &inWindowX, &inWindowY);
  SystemPointer().MoveTo({windowX + inWindowX, windowY + inWindowY}, ClockSeconds());
}

std::optional<SDL_FPoint> SdlBackend::DesktopToScreen(DesktopPoint point) const {
  if (!renderer_) {
    return std::nullopt;
  }
  int windowX = 0, windowY = 0;
  SDL_GetWindowPosition(sdlWindow_, &windowX, &windowY);
  SDL_FPoint screen{};
  SDL_RenderWindowToLogical(renderer_.get(), point.x - windowX, point.y - windowY, &screen.x,
                            &screen.y);
  return screen;
}

void SdlBackend::WaitForFrame(double deadline) {
  const double seconds = pacer_.WaitBefore(deadline, ClockSeconds());
  if (seconds > 0) {
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
  }
}

void SdlBackend::Idle() {
  // Leaves the event queued: the message loop that called us takes it next.
  SDL_WaitEventTimeout(nullptr, kIdleMilliseconds);
}

void SdlBackend::Poll(uint64_t) {
  PumpEvents(false);
  SystemPointer().Tick(ClockSeconds());
}

SdlBackend& TheBackend() {
  static SdlBackend backend;
  return backend;
}

}  // namespace engine::sdl

namespace engine {

Backend& ProgramBackend() {
  return sdl::TheBackend();
}

}  // namespace engine
