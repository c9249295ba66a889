#include "core/frame_builder.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "core/text_layout.h"
#include "core/uploads.h"

namespace engine {
namespace {

struct Ordered {
  int32_t priority;
  uint64_t serial;
  int32_t handle;

  bool operator<(const Ordered& other) const {
    return priority != other.priority ? priority < other.priority : serial < other.serial;
  }
};

float Clamp01(float value) {
  return std::isfinite(value) ? std::clamp(value, 0.0f, 1.0f) : 0.0f;
}

ResourceId TextureOf(EngineState& state, int32_t texture) {
  const TextureObject* object = state.textures.Find(texture);
  return object ? DrawableTexture(object->upload) : 0;
}

// Built in place: both a brace-built item (a false "may be used uninitialized" from GCC) and
// parentheses (which Clang 14 cannot use for an aggregate) fail one of our compilers.
void AddItem(Frame& frame, ItemSource source, const Geometry& geometry) {
  DrawItem& item = frame.items.emplace_back();
  item.source = source;
  item.content = geometry;
}

// Appends a model's triangles, its positions mapped to the screen by `place`.
template <typename Place>
void AddModel(Frame& frame, const Model& model, Place&& place, Geometry geometry, Rgba colour,
              ItemSource source) {
  const auto base = static_cast<int32_t>(frame.vertices.size());
  for (size_t i = 0; i < model.positions.size(); ++i) {
    const Vec2f at = place(model.positions[i]);
    frame.vertices.push_back({at.x, at.y, model.uvs[i].x, model.uvs[i].y, colour});
  }
  geometry.firstIndex = static_cast<int32_t>(frame.indices.size());
  geometry.indexCount = static_cast<int32_t>(model.triangles.size());
  for (const int32_t index : model.triangles) {
    frame.indices.push_back(base + index);
  }
  AddItem(frame, source, geometry);
}

void AddMesh(EngineState& state, Frame& frame, int32_t handle) {
  const MeshObject& mesh = *state.meshes.Find(handle);
  const auto& m = mesh.rotation;
  const auto place = [&](const Vec3f& p) {
    const Vec3f s{p.x * mesh.scale.x, p.y * mesh.scale.y, p.z * mesh.scale.z};
    return EngineToScreen(mesh.location.x + m[0] * s.x + m[1] * s.y + m[2] * s.z,
                          mesh.location.y + m[3] * s.x + m[4] * s.y + m[5] * s.z);
  };
  Geometry geometry;
  geometry.texture = TextureOf(state, mesh.texture);
  geometry.addressing = mesh.textureMode == 3 ? Addressing::kWrap : Addressing::kClamp;
  AddModel(frame, *mesh.model, place, geometry, MeshTint(state, mesh),
           {ItemSource::Kind::kMesh, handle});
}

void AddSprite(EngineState& state, Frame& frame, int32_t handle) {
  const SpriteObject& sprite = *state.sprites.Find(handle);
  const Vec2f centre = PrintToScreen(sprite.location.x, sprite.location.y);
  const auto place = [&](const Vec3f& p) {
    return Vec2f{centre.x + p.x * sprite.scale.x * kSpritePixels,
                 centre.y - p.y * sprite.scale.y * kSpritePixels};
  };
  Geometry geometry;
  geometry.texture = TextureOf(state, sprite.texture);
  AddModel(frame, *sprite.model, place, geometry, Rgba{}, {ItemSource::Kind::kSprite, handle});
}

void AddParticles(Frame& frame, const ParticleObject& object, int32_t handle) {
  const ParticleSystem& system = object.system;
  if (system.Alive() == 0) {
    return;
  }
  Geometry geometry;
  geometry.texture = DrawableTexture(object.upload);
  geometry.blend = Blend::kAdditive;
  geometry.firstIndex = static_cast<int32_t>(frame.indices.size());
  for (int i = 0; i < system.Alive(); ++i) {
    const Particle& p = system.At(i);
    const Vec2f centre = ParticleToScreen(p.position.x, p.position.y);
    const float halfWidth = p.size.x * kParticleSizePixels / 2;
    const float halfHeight = p.size.y * kParticleSizePixels / 2;
    const Vec4f c = system.ColourAt(p.age);
    const Rgba colour{Clamp01(c.x), Clamp01(c.y), Clamp01(c.z), Clamp01(c.w)};
    const auto base = static_cast<int32_t>(frame.vertices.size());
    frame.vertices.push_back({centre.x - halfWidth, centre.y - halfHeight, 0, 0, colour});
    frame.vertices.push_back({centre.x + halfWidth, centre.y - halfHeight, 1, 0, colour});
    frame.vertices.push_back({centre.x + halfWidth, centre.y + halfHeight, 1, 1, colour});
    frame.vertices.push_back({centre.x - halfWidth, centre.y + halfHeight, 0, 1, colour});
    frame.indices.insert(frame.indices.end(), {base, base + 1, base + 2, base, base + 2, base + 3});
  }
  geometry.indexCount = static_cast<int32_t>(frame.indices.size()) - geometry.firstIndex;
  AddItem(frame, {ItemSource::Kind::kParticles, handle}, geometry);
}

}  // namespace

Rgba MeshTint(const EngineState& state, const MeshObject& mesh) {
  return {Clamp01(state.lightColour.x), Clamp01(state.lightColour.y), Clamp01(state.lightColour.z),
          Clamp01(mesh.alpha)};
}

ScreenRect MeshScreenRect(const MeshObject& mesh) {
  const Model& model = *mesh.model;
  const float x0 = model.min.x * mesh.scale.x, x1 = model.max.x * mesh.scale.x;
  const float y0 = model.min.y * mesh.scale.y, y1 = model.max.y * mesh.scale.y;
  const Vec2f topLeft =
      EngineToScreen(mesh.location.x + std::min(x0, x1), mesh.location.y + std::max(y0, y1));
  return {topLeft.x, topLeft.y, std::abs(x1 - x0) * kEnginePixels,
          std::abs(y1 - y0) * kEnginePixels};
}

ScreenRect SpriteScreenRect(const SpriteObject& sprite) {
  const Model& model = *sprite.model;
  const Vec2f centre = PrintToScreen(sprite.location.x, sprite.location.y);
  const float x0 = model.min.x * sprite.scale.x, x1 = model.max.x * sprite.scale.x;
  const float y0 = model.min.y * sprite.scale.y, y1 = model.max.y * sprite.scale.y;
  return {centre.x + std::min(x0, x1) * kSpritePixels, centre.y - std::max(y0, y1) * kSpritePixels,
          std::abs(x1 - x0) * kSpritePixels, std::abs(y1 - y0) * kSpritePixels};
}

void BuildFrame(EngineState& state, Frame& frame) {
  frame.Clear();
  std::vector<Ordered> meshes;
  state.meshes.ForEach([&](int32_t handle, const MeshObject& mesh) {
    if (mesh.visible) {
      meshes.push_back({mesh.priority, mesh.serial, handle});
    }
  });
  std::sort(meshes.begin(), meshes.end());
  const auto firstAbove = std::find_if(meshes.begin(), meshes.end(), [](const Ordered& o) {
    return o.priority >= kParticleLayerPriority;
  });
  for (auto it = meshes.begin(); it != firstAbove; ++it) {
    AddMesh(state, frame, it->handle);
  }

  std::vector<Ordered> systems;
  state.particles.ForEach([&](int32_t handle, const ParticleObject& object) {
    if (object.visible) {
      systems.push_back({0, object.serial, handle});
    }
  });
  std::sort(systems.begin(), systems.end());
  for (const Ordered& o : systems) {
    AddParticles(frame, *state.particles.Find(o.handle), o.handle);
  }

  for (auto it = firstAbove; it != meshes.end(); ++it) {
    AddMesh(state, frame, it->handle);
  }

  for (size_t i = 0; i < state.prints.size(); ++i) {
    if (const FontObject* font = state.fonts.Find(state.prints[i].font)) {
      frame.items.push_back({{ItemSource::Kind::kText, static_cast<int32_t>(i)},
                             LayOutText(state.prints[i], font->id)});
    }
  }

  std::vector<Ordered> sprites;
  state.sprites.ForEach([&](int32_t handle, const SpriteObject& sprite) {
    if (sprite.visible) {
      sprites.push_back({sprite.priority, sprite.serial, handle});
    }
  });
  std::sort(sprites.begin(), sprites.end());
  for (const Ordered& o : sprites) {
    AddSprite(state, frame, o.handle);
  }
  ReadyFramePictures(frame);
}

}  // namespace engine
