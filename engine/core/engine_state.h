// Everything the engine holds between calls: the lifecycle flags, the object tables and the state
// of input, text and light. One instance serves the whole program, as the game's calls are free
// functions; only the engine loop's thread touches it.
#pragma once

#include <array>
#include <cstdint>
#include <limits>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/backend.h"
#include "core/frame.h"
#include "core/frame_schedule.h"
#include "core/handle_table.h"
#include "core/input_state.h"
#include "core/particles.h"
#include "core/x_model.h"
#include "engine/engine.h"

namespace engine {

struct MeshObject {
  std::shared_ptr<const Model> model;
  Vec3f location{0, 0, 0};  // engine units
  Vec3f scale{1, 1, 1};
  Vec3f euler{0, 0, 0};                                      // degrees, as last set
  std::array<float, 9> rotation{1, 0, 0, 0, 1, 0, 0, 0, 1};  // row-major, from euler and order
  float alpha = 1;                                           // 0..1
  std::array<int32_t, 4> renderMode{};
  int32_t priority = 0;
  int32_t texture = 0;      // texture handle, 0 = none
  int32_t textureMode = 0;  // 3 wraps, anything else clamps
  bool visible = false;
  uint64_t serial = 0;  // creation order, for ties in priority
};

struct TextureObject {
  ResourceId upload = 0;  // shared with other handles of the same picture
  int32_t tag = 0;        // the game's name for a picture made from memory, else 0
  std::string source;     // the path the game gave, empty for memory
  int width = 0;          // pixels
  int height = 0;
};

// An engine sprite (the cursor): a model drawn above everything, placed in print space.
struct SpriteObject {
  std::shared_ptr<const Model> model;
  Vec2f location{0, 0};  // print units, the picture's centre
  Vec2f scale{1, 1};
  int32_t priority = 0;
  int32_t texture = 0;
  bool visible = false;
  uint64_t serial = 0;
};

struct ParticleObject {
  explicit ParticleObject(int capacity) : system(capacity) {}

  ParticleSystem system;
  ResourceId upload = 0;  // 0 = plain quads
  std::string source;
  bool visible = false;
  uint64_t serial = 0;
};

struct SoundObject {
  ResourceId id = 0;
  bool loaded = false;  // the backend can play it
  std::string source;
  double duration = 0;  // seconds of one play
  float volume = 1;     // 0..1
  bool started = false;
  double startedAt = 0;  // engine clock, seconds
  int32_t loops = 0;     // -1 forever, else extra plays

  bool PlayingAt(double now) const {
    return started && (loops < 0 || now < startedAt + duration * (loops + 1));
  }
};

struct FontObject {
  ResourceId id = 0;
  std::string source;
};

struct CameraObject {
  float left = 0, top = 0, width = 1, height = 1;
  float fov = 0;
  Vec3f euler{0, 0, 0};
};

struct PrintedText {
  std::string text;
  Vec2f position;  // print units: left end of the base line
  Vec2f scale;     // print units per character cell
  float spacing;
  int32_t font;
  Rgba colour;
};

// A picture uploaded to the backend, shared by every texture handle (and particle system) made
// from the same file or the same memory tag.
struct Upload {
  std::string key;
  bool uploaded = false;  // false: the backend refused it and it draws as a plain quad
  int width = 0;
  int height = 0;
  int references = 0;
  // A large picture keeps its file's bytes, so that the backend can let go of its pixels while
  // nothing draws it and have them again when something does.
  std::vector<uint8_t> encoded;
  bool resident = false;   // the backend holds the pixels
  double lastDrawn = 0;    // engine clock, seconds
  double decodedAt = 0;    // engine clock, seconds
  uint64_t lastFrame = 0;  // the built frame that last used it (EngineState::pictureFrame)
};

struct EngineState {
  // Lifecycle.
  Backend* backend = nullptr;  // set while open
  bool open = false;
  bool ready = false;  // the display settings were applied
  bool initializing = false;
  bool rendering = false;
  bool executing = false;
  bool runPending = false;     // a pass ran and its run phase has not begun
  bool renderPending = false;  // a pass ran and its render phase has not run
  bool fullScreen = false;
  int32_t errorFlag = 0;
  uint64_t passes = 0;  // engine passes since the program (or the test) started
  engine::FrameSchedule schedule;
  double lastPass = 0;

  // Objects. Handles of every kind die with i3ImpactClose.
  HandleTable<MeshObject> meshes;
  HandleTable<TextureObject> textures;
  HandleTable<SpriteObject> sprites;
  HandleTable<ParticleObject> particles;
  HandleTable<ParticleEmitter> emitters;
  HandleTable<SoundObject> sounds;
  HandleTable<FontObject> fonts;
  HandleTable<CameraObject> cameras;
  uint64_t serials = 0;
  ResourceId resourceIds = 0;
  std::unordered_map<ResourceId, Upload> uploads;
  std::unordered_map<std::string, ResourceId> uploadByKey;
  // Counts built frames, for telling the large pictures of the screen on show from the rest.
  uint64_t pictureFrame = 1;
  // When ReleaseIdlePictures last looked through the uploads (engine clock, seconds).
  double lastIdleSweep = -std::numeric_limits<double>::infinity();
  // Large pictures the frame being built draws but the backend does not hold.
  std::vector<ResourceId> picturesToDecode;
  std::unordered_map<std::string, std::shared_ptr<const Model>> models;  // by resolved path

  // Scene-wide state.
  std::vector<PrintedText> prints;
  Rgba printColour;
  Vec3f lightDirection{0, 0, 1};
  Vec4f lightColour{1, 1, 1, 1};
  InputState input;
  std::mt19937 random;

  Frame frame;  // reused from frame to frame
};

EngineState& Engine();

// True when the engine is open; every engine call but the lifecycle ones does nothing otherwise.
inline bool IsOpen() {
  return Engine().open;
}

uint64_t NextSerial();
ResourceId NextResourceId();

// The quad model at a game path, read once per engine cycle; nothing when it is not one.
std::shared_ptr<const Model> LoadModel(const char* path);

// Closes the engine if it is open and puts every flag back as at program start, for tests.
void ResetEngine();

}  // namespace engine
