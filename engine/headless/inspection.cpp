// Read access to the scene and the simulated desktop, for the tests' assertions.
#include "core/engine_state.h"
#include "core/frame_builder.h"
#include "headless/headless.h"
#include "headless/headless_state.h"

namespace headless {
namespace {

struct TextureFacts {
  int32_t handle = 0;
  int32_t tag = 0;
  std::string source;
};

TextureFacts TextureOf(int32_t handle) {
  const engine::TextureObject* texture = engine::Engine().textures.Find(handle);
  if (!texture) {
    return {};
  }
  return {handle, texture->tag, texture->source};
}

engine::Frame CurrentFrame() {
  engine::Frame frame;
  engine::BuildFrame(engine::Engine(), frame);
  return frame;
}

}  // namespace

bool EngineOpen() {
  return engine::IsOpen();
}

bool FullScreen() {
  return Headless().fullScreen;
}

Vec4f LightColour() {
  return engine::Engine().lightColour;
}

uint64_t FramesDrawn() {
  return Headless().framesDrawn;
}

uint64_t ScreenWipes() {
  return Headless().wipes;
}

std::vector<MeshView> VisibleMeshes() {
  std::vector<MeshView> meshes;
  engine::EngineState& state = engine::Engine();
  for (const engine::DrawItem& item : CurrentFrame().items) {
    if (item.source.kind != engine::ItemSource::Kind::kMesh) {
      continue;
    }
    const engine::MeshObject& mesh = *state.meshes.Find(item.source.handle);
    const engine::ScreenRect rect = engine::MeshScreenRect(mesh);
    const TextureFacts texture = TextureOf(mesh.texture);
    meshes.push_back({item.source.handle, rect.left, rect.top, rect.width, rect.height,
                      mesh.euler.z, mesh.priority, mesh.alpha, engine::MeshTint(state, mesh),
                      texture.handle, texture.tag, texture.source});
  }
  return meshes;
}

std::vector<SpriteView> VisibleSprites() {
  std::vector<SpriteView> sprites;
  for (const engine::DrawItem& item : CurrentFrame().items) {
    if (item.source.kind != engine::ItemSource::Kind::kSprite) {
      continue;
    }
    const engine::SpriteObject& sprite = *engine::Engine().sprites.Find(item.source.handle);
    const engine::ScreenRect rect = engine::SpriteScreenRect(sprite);
    const TextureFacts texture = TextureOf(sprite.texture);
    sprites.push_back({item.source.handle, rect.left, rect.top, rect.width, rect.height,
                       sprite.priority, texture.handle, texture.tag, texture.source});
  }
  return sprites;
}

std::vector<TextView> PrintedTexts() {
  std::vector<TextView> texts;
  engine::EngineState& state = engine::Engine();
  for (const engine::PrintedText& printed : state.prints) {
    const engine::FontObject* font = state.fonts.Find(printed.font);
    texts.push_back({printed.text, printed.position, printed.scale, printed.spacing, printed.colour,
                     printed.font, font ? font->source : ""});
  }
  return texts;
}

std::vector<SoundView> Sounds() {
  std::vector<SoundView> sounds;
  const double now = Clock();
  engine::Engine().sounds.ForEach([&](int32_t handle, const engine::SoundObject& sound) {
    sounds.push_back({handle, sound.source, sound.PlayingAt(now), sound.loops < 0, sound.volume,
                      sound.duration});
  });
  return sounds;
}

std::vector<ParticleView> ParticleSystems() {
  std::vector<ParticleView> systems;
  engine::Engine().particles.ForEach([&](int32_t handle, const engine::ParticleObject& object) {
    ParticleView view{
        handle, object.source, object.visible, object.system.Alive(), object.system.Capacity(), {}};
    for (int i = 0; i < object.system.Alive(); ++i) {
      const Vec3f& p = object.system.At(i).position;
      view.positions.push_back(engine::ParticleToScreen(p.x, p.y));
    }
    systems.push_back(std::move(view));
  });
  return systems;
}

std::vector<engine::ItemSource> DrawOrder() {
  std::vector<engine::ItemSource> order;
  for (const engine::DrawItem& item : CurrentFrame().items) {
    order.push_back(item.source);
  }
  return order;
}

size_t BackendResources() {
  return Headless().resources.size();
}

void SetReadsFrames(bool reads) {
  Headless().readsFrames = reads;
}

std::vector<WindowView> Windows() {
  std::vector<WindowView> windows;
  for (const auto& w : Headless().windows) {
    windows.push_back({w.get(), w->className, w->title, w->rect, w->show, w->destroyed});
  }
  return windows;
}

std::vector<engine::HotKey> HotKeys() {
  return Headless().hotKeys.All();
}

std::vector<MessageBoxView> MessageBoxes() {
  return Headless().messageBoxes;
}

std::vector<ShellView> ShellOpened() {
  return Headless().shellOpened;
}

POINT CursorPosition() {
  return Headless().cursor;
}

int32_t CursorShowCount() {
  return Headless().cursorCount;
}

std::optional<Vec2f> LastPointerWarp() {
  return Headless().lastWarp;
}

}  // namespace headless
