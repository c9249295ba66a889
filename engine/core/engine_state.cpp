#include "core/engine_state.h"

#include <string_view>

#include "core/file_bytes.h"
#include "engine/paths.h"

namespace engine {
namespace {

constexpr size_t kMaxModelBytes = 1 << 20;

}  // namespace

EngineState& Engine() {
  // Never destroyed: the program's long-lived objects give their handles back while the program
  // exits, in whatever order the exit destroys them, so the engine must outlive them all.
  static EngineState* const state = new EngineState;
  return *state;
}

uint64_t NextSerial() {
  return ++Engine().serials;
}

ResourceId NextResourceId() {
  return ++Engine().resourceIds;
}

std::shared_ptr<const Model> LoadModel(const char* path) {
  if (!path) {
    return nullptr;
  }
  const std::string resolved = ProgramPath(path).string();
  auto& models = Engine().models;
  if (const auto found = models.find(resolved); found != models.end()) {
    return found->second;
  }
  const auto bytes = ReadFileBytes(resolved, kMaxModelBytes);
  if (!bytes) {
    return nullptr;
  }
  auto model =
      ReadXModel(std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()));
  if (!model) {
    return nullptr;
  }
  auto shared = std::make_shared<const Model>(std::move(*model));
  models.emplace(resolved, shared);
  return shared;
}

void ResetEngine() {
  i3ImpactClose();
  EngineState& state = Engine();
  const uint64_t serials = state.serials;
  const ResourceId resources = state.resourceIds;
  state = EngineState();
  // Serials and resource ids keep counting so that nothing from before the reset is ever named
  // again.
  state.serials = serials;
  state.resourceIds = resources;
}

}  // namespace engine
