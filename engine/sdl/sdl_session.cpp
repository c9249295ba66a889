#include "sdl/sdl_session.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <SDL_ttf.h>

#include "sdl/lost_display.h"

namespace engine::sdl {
namespace {

constexpr int kMixFrequency = 44100;
constexpr int kMixChannels = 2;
// Frames per mixing buffer: about 23 ms at 44.1 kHz, short enough that a hit sounds with its hit.
constexpr int kMixChunkFrames = 1024;

class Session {
 public:
  Session() {
    // The window procedure hears of a closed window as WM_CLOSE; SDL_QUIT is kept for the
    // signals (Ctrl+C, a terminating session) that SDL turns into it.
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    // Losing the focus in full screen is the game's to handle (it closes and reopens the
    // engine), so SDL must not minimise the window behind its back.
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    // A software-rendered window goes to the display as it is (X11's shared memory), not
    // through a second, GPU-emulating renderer.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    // In full screen the program's hot keys swallow Alt+Tab; SDL must not act on it first.
    SDL_SetHint(SDL_HINT_ALLOW_ALT_TAB_WHILE_GRABBED, "0");
    video_ = SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) == 0;
    if (video_) {
      EndAtOnceOnLostDisplay();
    }
    fonts_ = TTF_Init() == 0;
  }

  ~Session() {
    if (audio_) {
      Mix_CloseAudio();
    }
    if (fonts_) {
      TTF_Quit();
    }
    SDL_Quit();
  }

  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  bool Video() const { return video_; }
  bool Fonts() const { return fonts_; }

  bool Audio() {
    if (!audioTried_) {
      audioTried_ = true;
      audio_ = Mix_OpenAudio(kMixFrequency, MIX_DEFAULT_FORMAT, kMixChannels, kMixChunkFrames) == 0;
    }
    return audio_;
  }

 private:
  bool video_ = false;
  bool fonts_ = false;
  bool audio_ = false;
  bool audioTried_ = false;
};

Session& TheSession() {
  static Session session;
  return session;
}

}  // namespace

bool VideoReady() {
  return TheSession().Video();
}

bool FontsReady() {
  return TheSession().Fonts();
}

bool AudioReady() {
  return TheSession().Audio();
}

}  // namespace engine::sdl
