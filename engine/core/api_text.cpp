// Fonts and the print queue.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "core/engine_state.h"
#include "core/file_bytes.h"
#include "core/font_file.h"
#include "engine/engine.h"
#include "engine/paths.h"

using engine::Engine;

namespace {

constexpr size_t kMaxFontBytes = 64 << 20;
// Bounds the queue should a caller print every frame without a run phase to clear it.
constexpr size_t kMaxPrints = 4096;
constexpr size_t kMaxPrintLength = 1024;

float Component(float value) {
  return std::isfinite(value) ? std::clamp(value, 0.0f, 1.0f) : 0;
}

}  // namespace

// Fonts draw in screen space, so the camera they were made for does not matter.
int32_t iFontCreate(const char* path, int32_t) {
  if (!engine::IsOpen() || !path) {
    return 0;
  }
  const auto bytes = engine::ReadFileBytes(ProgramPath(path), kMaxFontBytes);
  if (!bytes || !engine::IsFontFile(*bytes)) {
    return 0;
  }
  engine::FontObject font;
  font.id = engine::NextResourceId();
  font.source = path;
  if (!Engine().backend->LoadFont(font.id, *bytes)) {
    return 0;
  }
  const engine::ResourceId id = font.id;
  const int32_t handle = Engine().fonts.Add(std::move(font));
  if (handle == 0) {
    Engine().backend->ReleaseFont(id);
  }
  return handle;
}

void iPrint(const char* text, const Vec2f& position, const Vec2f& scale, float spacing,
            int32_t font) {
  auto& state = Engine();
  if (!text || !state.fonts.Find(font) || state.prints.size() >= kMaxPrints) {
    return;
  }
  engine::PrintedText printed;
  printed.text.assign(text, strnlen(text, kMaxPrintLength));
  printed.position = position;
  printed.scale = scale;
  printed.spacing = spacing;
  printed.font = font;
  printed.colour = state.printColour;
  state.prints.push_back(std::move(printed));
}

void iPrintColorSet(float red, float green, float blue, float alpha) {
  Engine().printColour = {Component(red), Component(green), Component(blue), Component(alpha)};
}

void iPrintsHide() {
  Engine().prints.clear();
}
