// A small program on the real engine and platform layer, driven by the display test: it opens the
// window as the game does, shows a known scene, and reports on its standard output what it saw
// (keys, pointer, hot keys, window messages) one line at a time.
//
//   e2e_scene FOLDER window|fullscreen
//
// FOLDER receives the scene's files. Keys: F1 warps the pointer through the engine, F2 through the
// platform layer, F5 closes and reopens the engine on a new window, F6 plays a sound.
#include <SDL_image.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/program_folder.h"
#include "engine/engine.h"
#include "engine/paths.h"
#include "engine/platform.h"

namespace {

constexpr const char* kSystemFont = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
// Never outlive a test that lost track of us.
constexpr double kLifetimeSeconds = 60;

double FilesWrittenAt = 0;  // seconds on the engine clock
bool Rendering = true;
bool ReopenWanted = false;
int32_t Music = 0;
int32_t Tone = 0;

void Say(const std::string& line) {
  std::printf("%s\n", line.c_str());
  std::fflush(stdout);
}

// The quad every mesh is made of: 1.6 units square with texture coordinates 0..1.
constexpr const char* kQuadModel = R"(xof 0303txt 0032
Mesh quad {
 4;
 -0.8;-0.8;0.0;,
 0.8;-0.8;0.0;,
 0.8;0.8;0.0;,
 -0.8;0.8;0.0;;
 2;
 3;0,1,2;,
 3;0,2,3;;
 MeshTextureCoords {
  4;
  0.0;1.0;,
  1.0;1.0;,
  1.0;0.0;,
  0.0;0.0;;
 }
}
)";

// A plain picture of the size it is drawn at, as the game's pictures are.
void WritePicture(const std::string& path, int width, int height, Uint8 r, Uint8 g, Uint8 b,
                  Uint8 a) {
  SDL_Surface* surface =
      SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_RGBA32);
  SDL_FillRect(surface, nullptr, SDL_MapRGBA(surface->format, r, g, b, a));
  IMG_SavePNG(surface, ProgramPath(path).c_str());
  SDL_FreeSurface(surface);
}

void WriteTone(const std::string& path, double seconds) {
  constexpr uint32_t kRate = 22050;
  const auto frames = static_cast<uint32_t>(seconds * kRate);
  std::vector<uint8_t> wav;
  const auto u32 = [&](uint32_t v) {
    for (int i = 0; i < 4; ++i)
      wav.push_back(static_cast<uint8_t>(v >> (8 * i)));
  };
  const auto u16 = [&](uint16_t v) {
    wav.push_back(static_cast<uint8_t>(v));
    wav.push_back(static_cast<uint8_t>(v >> 8));
  };
  const auto tag = [&](const char* t) { wav.insert(wav.end(), t, t + 4); };
  tag("RIFF");
  u32(36 + frames * 2);
  tag("WAVE");
  tag("fmt ");
  u32(16);
  u16(1);
  u16(1);
  u32(kRate);
  u32(kRate * 2);
  u16(2);
  u16(16);
  tag("data");
  u32(frames * 2);
  for (uint32_t i = 0; i < frames; ++i) {
    u16(static_cast<uint16_t>(i % 50 < 25 ? 6000 : -6000));
  }
  std::ofstream(ProgramPath(path), std::ios::binary)
      .write(reinterpret_cast<const char*>(wav.data()), static_cast<std::streamsize>(wav.size()));
}

std::vector<char> ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFiles() {
  std::filesystem::create_directories(ProgramPath("data"));
  std::filesystem::create_directories(ProgramPath("sound"));
  std::ofstream(ProgramPath("data/sprite.x")) << kQuadModel;
  WritePicture("data/back.png", 800, 600, 0, 0, 96, 255);
  WritePicture("data/red.png", 200, 150, 255, 0, 0, 255);
  WritePicture("data/green.png", 200, 150, 0, 255, 0, 255);
  WritePicture("data/yellow.png", 100, 100, 255, 255, 0, 255);
  WritePicture("data/white.png", 150, 150, 255, 255, 255, 255);
  WritePicture("data/spark.png", 16, 16, 255, 255, 255, 255);
  WritePicture("data/cursor.png", 32, 32, 255, 0, 255, 255);
  std::filesystem::copy_file(kSystemFont, ProgramPath("data/font.wid"),
                             std::filesystem::copy_options::overwrite_existing);
  WriteTone("sound\\tone.wav", 0.3);
  WriteTone("sound\\music.wav", 30);  // long enough to be streamed
}

// A mesh covering the screen rectangle (left, top, width, height) in pixels.
int32_t Quad(int32_t texture, float left, float top, float width, float height, int32_t priority,
             float degrees = 0) {
  const int32_t mesh = iMeshCreate("data/sprite.x");
  iMeshScaleSet(mesh, {width / 12.8f, height / 12.8f, 1});
  iMeshLocationSet(mesh, {(left + width / 2 - 400) / 8, (300 - top - height / 2) / 8, 1});
  iMeshEulerOrientationSet(mesh, 0, 0, degrees, "xyz");
  iMeshRenderModeSet(mesh, 5, 6, 0, -1);
  iMeshRenderPrioritySet(mesh, priority);
  iMeshTextureSet(mesh, texture);
  iMeshShow(mesh);
  return mesh;
}

int32_t Font = 0;

void BuildScene() {
  iLightDirectionalSet({0, 0, 1}, {1, 1, 1, 1});
  Quad(iTextureCreate("data\\back.png"), 0, 0, 800, 600, 0);
  Quad(iTextureCreate("data/red.png"), 100, 100, 200, 150, 5);
  const std::vector<char> green = ReadBytes(ProgramPath("data/green.png"));
  Quad(iTextureCreateFromMemory(green.data(), static_cast<int32_t>(green.size()), 7001), 500, 100,
       200, 150, 5);
  Quad(iTextureCreate("data/yellow.png"), 550, 370, 100, 100, 5, 45);
  const int32_t glass = Quad(iTextureCreate("data/white.png"), 100, 350, 150, 150, 5);
  iMeshAlphaSet(glass, 0.5f);

  const int32_t sparks = iParticleCreate("data/spark.png", 100);
  iParticleColorSet(sparks, {1, 1, 1}, {1, 1, 1});
  iParticleLifeTimeSet(sparks, 1000);
  iParticleShow(sparks);
  const int32_t emitter = iParticleEmitterCreate(sparks);
  iParticleEmitterLocationSet(emitter, {0, -30, 1.5f});
  iParticleEmitterSpeedSet(emitter, 0, 0);
  iParticleEmitterScaleSet(emitter, {0.25f, 0.25f}, {0.25f, 0.25f});
  iParticleEmitterEmit(emitter, 100, 1);

  const int32_t cursor = iSpriteCreate("data/sprite.x", 0);
  iSpriteTextureSet(cursor, iTextureCreate("data/cursor.png"));
  iSpriteScaleSet(cursor, {5.12f, 5.12f});
  iSpriteLocationSet(cursor, {-8, 5});
  iSpriteShow(cursor);

  Font = iFontCreate("data\\font.wid", 0);
  Music = iSoundCreate("sound\\music.wav", 0);
  Tone = iSoundCreate("sound\\tone.wav", 0);
  iSoundVolumeSet(Music, 1);
  iSoundPlay(Music, -1);
}

float LastMouseX = -1, LastMouseY = -1;

void RunStep() {
  iPrintColorSet(1, 1, 1, 1);
  iPrint("HELLO", {-4, -9}, {1, 1}, 0, Font);
  for (int32_t key = 1; key < 256; ++key) {
    if (!iKeyClick(key)) {
      continue;
    }
    Say("key " + std::to_string(key));
    if (key == 59) {
      iMouseReset({0.25f, 0.75f});
      Say("warped");
    } else if (key == 60) {
      SetCursorPos(123, 45);
      POINT at{};
      GetCursorPos(&at);
      Say("cursor " + std::to_string(at.x) + " " + std::to_string(at.y));
    } else if (key == 63) {
      ReopenWanted = true;
    } else if (key == 64) {
      iSoundPlayNow(Tone, 0);
      Say("tone " + std::to_string(iSoundPlaying(Tone)));
    }
  }
  if (iMouseX() != LastMouseX || iMouseY() != LastMouseY) {
    LastMouseX = iMouseX();
    LastMouseY = iMouseY();
    Say("mouse " + std::to_string(LastMouseX) + " " + std::to_string(LastMouseY));
  }
  for (int32_t button = 0; button < 2; ++button) {
    if (iMouseButtonClick(button)) {
      Say("click " + std::to_string(button));
    }
  }
  if (iSystemTimer() > kLifetimeSeconds) {
    iExit();
  }
}

LRESULT SceneWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CLOSE:
      Say("close");
      Rendering = false;
      i3ImpactIsRenderingSet(0);
      PostQuitMessage(0);
      return 0;
    case WM_HOTKEY:
      Say("hotkey " + std::to_string(wParam));
      return 0;
    case WM_PAINT:
      if (i3ImpactIsReady()) {
        iScreenWipe(0, 0, 0);
      }
      break;
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

void RunCycle(HWND window, int32_t selector, int cycle) {
  const int32_t settings[6] = {0, 0, 800 * 600 * 32, 0, selector, -1};
  if (!i3ImpactOpen(window, 0) || !i3ImpactSettings(settings)) {
    Say("open failed");
    Rendering = false;
    return;
  }
  if (iDisplayMode() > 0) {
    RegisterHotKey(window, 100, MOD_ALT, 0x09);
    RegisterHotKey(window, 101, MOD_ALT, 0x73);
  }
  bool reported = false;
  while (i3ImpactIsRendering()) {
    MSG msg{};
    if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
      continue;
    }
    if (i3ImpactIsActive() && i3ImpactIsReady()) {
      i3ImpactMain();
      if (!i3ImpactIsExecuting()) {
        continue;
      }
    }
    if (i3ImpactIsInitializing()) {
      i3ImpactInitBegin();
      BuildScene();
      i3ImpactInitEnd();
    }
    if (!i3ImpactIsSkippingRunPhase()) {
      i3ImpactRunBegin();
      RunStep();
      iRender();
      i3ImpactRunEnd();
      if (ReopenWanted) {
        break;
      }
    }
    if (!i3ImpactIsSkippingRenderPhase()) {
      i3ImpactRender();
      if (!reported) {
        reported = true;
        RECT rect{};
        GetWindowRect(FindWindowA("Game", nullptr), &rect);
        Say("rect " + std::to_string(rect.left) + " " + std::to_string(rect.top) + " " +
            std::to_string(rect.right) + " " + std::to_string(rect.bottom) + " caption " +
            std::to_string(GetSystemMetrics(SM_CYCAPTION)) + " display " +
            std::to_string(iDisplayMode()));
        Say("ready " + std::to_string(cycle) + " ms " +
            std::to_string((iSystemTimer() - FilesWrittenAt) * 1000));
      }
    }
  }
  i3ImpactExitBegin();
  i3ImpactExitEnd();
  if (iDisplayMode() > 0) {
    UnregisterHotKey(window, 100);
    UnregisterHotKey(window, 101);
  }
  i3ImpactClose();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: e2e_scene FOLDER window|fullscreen\n");
    return 2;
  }
  engine::SetProgramFolder(argv[1]);
  const int32_t selector = std::strcmp(argv[2], "fullscreen") == 0 ? -1 : 0;
  WriteFiles();
  // "ready" reports the time from here, when the program starts as the game does, to its first
  // frame on the screen.
  FilesWrittenAt = iSystemTimer();

  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = SceneWindowProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.hbrBackground = GetStockObject(BLACK_BRUSH);
  windowClass.lpszClassName = "Game";
  RegisterClassA(&windowClass);

  const int32_t halfWidth = GetSystemMetrics(SM_CXSCREEN) / 2;
  const int32_t halfHeight = GetSystemMetrics(SM_CYSCREEN) / 2;
  for (int cycle = 1; Rendering; ++cycle) {
    ReopenWanted = false;
    HWND window = CreateWindowExA(0, "Game", "Quasarball", WS_POPUP | WS_CAPTION | WS_SYSMENU,
                                  halfWidth - 400, halfHeight - 300, 800,
                                  600 + GetSystemMetrics(SM_CYCAPTION), nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    if (!window) {
      Say("no window");
      return 1;
    }
    RunCycle(window, selector, cycle);
    DestroyWindow(window);
    if (!ReopenWanted) {
      break;
    }
    Say("reopening");
  }
  Say("done");
  return 0;
}
