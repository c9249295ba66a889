#include "core/uploads.h"

#include "core/engine_state.h"
#include "core/file_bytes.h"
#include "core/image_decoder.h"
#include "engine/paths.h"

namespace engine {
namespace {

constexpr size_t kMaxPictureBytes = 64 << 20;

template <typename Decode>
std::optional<ResourceId> Acquire(const std::string& key, Decode&& decode) {
  EngineState& state = Engine();
  if (const auto found = state.uploadByKey.find(key); found != state.uploadByKey.end()) {
    ++state.uploads.at(found->second).references;
    return found->second;
  }
  const std::optional<Image> image = decode();
  if (!image) {
    return std::nullopt;
  }
  const ResourceId id = NextResourceId();
  Upload upload;
  upload.key = key;
  upload.uploaded = state.backend->UploadTexture(id, *image);
  upload.width = image->width;
  upload.height = image->height;
  upload.references = 1;
  state.uploads.emplace(id, std::move(upload));
  state.uploadByKey.emplace(key, id);
  return id;
}

}  // namespace

std::optional<ResourceId> AcquireFileUpload(const char* path) {
  if (!path || !IsOpen()) {
    return std::nullopt;
  }
  const std::string resolved = ProgramPath(path).string();
  return Acquire("file:" + resolved, [&]() -> std::optional<Image> {
    const auto bytes = ReadFileBytes(resolved, kMaxPictureBytes);
    return bytes ? DecodeImage(*bytes) : std::nullopt;
  });
}

std::optional<ResourceId> AcquireMemoryUpload(std::span<const uint8_t> bytes, int32_t tag) {
  if (!IsOpen()) {
    return std::nullopt;
  }
  return Acquire("tag:" + std::to_string(tag), [&] { return DecodeImage(bytes); });
}

void ReleaseUpload(ResourceId id) {
  EngineState& state = Engine();
  const auto found = state.uploads.find(id);
  if (found == state.uploads.end() || --found->second.references > 0) {
    return;
  }
  if (found->second.uploaded) {
    state.backend->DestroyTexture(id);
  }
  state.uploadByKey.erase(found->second.key);
  state.uploads.erase(found);
}

void ReleaseAllUploads() {
  EngineState& state = Engine();
  for (const auto& [id, upload] : state.uploads) {
    if (upload.uploaded) {
      state.backend->DestroyTexture(id);
    }
  }
  state.uploads.clear();
  state.uploadByKey.clear();
}

ResourceId DrawableTexture(ResourceId upload) {
  const auto& uploads = Engine().uploads;
  const auto found = uploads.find(upload);
  return found != uploads.end() && found->second.uploaded ? upload : 0;
}

}  // namespace engine
