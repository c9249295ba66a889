#include "core/uploads.h"

#ifdef __GLIBC__
#include <malloc.h>
#endif

#include "core/clock.h"
#include "core/engine_state.h"
#include "core/file_bytes.h"
#include "core/image_decoder.h"
#include "engine/paths.h"

namespace engine {
namespace {

constexpr size_t kMaxPictureBytes = 64 << 20;
// Pictures whose pixels take at least this much can be let go of between uses; the file's bytes
// kept instead are a fraction of it. Small pictures stay, so play never waits for a decode.
constexpr size_t kReleasablePixelBytes = 256 << 10;
constexpr double kIdleSeconds = 5;
// Looking through every upload each frame would cost more than holding a picture a moment longer.
constexpr double kIdleSweepSeconds = 0.5;
// A picture decoded again this recently stays through the next screen change, so two large
// pictures drawn by turns are not decoded frame after frame.
constexpr double kRecentDecodeSeconds = 1;

// Hands the pages the allocator kept back to the system: pictures are large and few, and freed
// ones would otherwise stay in the process's heap.
void ReturnFreedMemory() {
#ifdef __GLIBC__
  malloc_trim(0);
#endif
}

// Another reference to the upload already made under `key`, if there is one.
std::optional<ResourceId> Share(const std::string& key) {
  EngineState& state = Engine();
  const auto found = state.uploadByKey.find(key);
  if (found == state.uploadByKey.end()) {
    return std::nullopt;
  }
  ++state.uploads.at(found->second).references;
  return found->second;
}

std::optional<ResourceId> Acquire(const std::string& key, std::span<const uint8_t> encoded) {
  EngineState& state = Engine();
  Upload upload;
  // A backend that draws is handed a large picture only when something first draws it, and it
  // is decoded only then: of the screens a game loads (backgrounds, end screens), most are never
  // on show together. Its size comes from the file's header.
  const auto size = state.backend->ReadsFrames() ? ProbeImage(encoded) : std::nullopt;
  const bool deferred =
      size && static_cast<size_t>(size->width) * size->height * 4 >= kReleasablePixelBytes;
  std::optional<Image> image = deferred ? std::nullopt : DecodeImage(encoded);
  if (!deferred && !image) {
    return std::nullopt;
  }
  const ResourceId id = NextResourceId();
  bool large = deferred;
  if (deferred) {
    upload.width = size->width;
    upload.height = size->height;
    upload.uploaded = true;
  } else {
    upload.width = image->width;
    upload.height = image->height;
    large = image->rgba.size() >= kReleasablePixelBytes;
    upload.uploaded = state.backend->UploadTexture(id, std::move(*image));
    upload.resident = upload.uploaded;
  }
  upload.key = key;
  upload.references = 1;
  upload.lastDrawn = ClockSeconds();
  upload.decodedAt = upload.lastDrawn;
  if (upload.uploaded && large) {
    upload.encoded.assign(encoded.begin(), encoded.end());
  }
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
  const std::string key = "file:" + resolved;
  if (const auto shared = Share(key)) {
    return shared;
  }
  const auto bytes = ReadFileBytes(resolved, kMaxPictureBytes);
  return bytes ? Acquire(key, *bytes) : std::nullopt;
}

std::optional<ResourceId> AcquireMemoryUpload(std::span<const uint8_t> bytes, int32_t tag) {
  if (!IsOpen()) {
    return std::nullopt;
  }
  const std::string key = "tag:" + std::to_string(tag);
  if (const auto shared = Share(key)) {
    return shared;
  }
  return Acquire(key, bytes);
}

void ReleaseUpload(ResourceId id) {
  EngineState& state = Engine();
  const auto found = state.uploads.find(id);
  if (found == state.uploads.end() || --found->second.references > 0) {
    return;
  }
  if (found->second.resident) {
    state.backend->DestroyTexture(id);
  }
  state.uploadByKey.erase(found->second.key);
  state.uploads.erase(found);
}

void ReleaseAllUploads() {
  EngineState& state = Engine();
  for (const auto& [id, upload] : state.uploads) {
    if (upload.resident) {
      state.backend->DestroyTexture(id);
    }
  }
  state.uploads.clear();
  state.uploadByKey.clear();
}

ResourceId DrawableTexture(ResourceId upload) {
  EngineState& state = Engine();
  const auto found = state.uploads.find(upload);
  if (found == state.uploads.end() || !found->second.uploaded) {
    return 0;
  }
  Upload& picture = found->second;
  picture.lastDrawn = ClockSeconds();
  if (!picture.resident && picture.lastFrame != state.pictureFrame) {
    state.picturesToDecode.push_back(upload);
  }
  picture.lastFrame = state.pictureFrame;
  return upload;
}

void ReadyFramePictures(Frame& frame) {
  EngineState& state = Engine();
  const double now = ClockSeconds();
  if (!state.picturesToDecode.empty()) {
    bool released = false;
    for (auto& [id, upload] : state.uploads) {
      if (upload.resident && !upload.encoded.empty() && upload.lastFrame != state.pictureFrame &&
          now - upload.decodedAt > kRecentDecodeSeconds) {
        state.backend->DestroyTexture(id);
        upload.resident = false;
        released = true;
      }
    }
    if (released) {
      ReturnFreedMemory();
    }
  }
  for (const ResourceId id : state.picturesToDecode) {
    Upload& picture = state.uploads.at(id);
    std::optional<Image> image = DecodeImage(picture.encoded);
    picture.resident = image && state.backend->UploadTexture(id, std::move(*image));
    picture.decodedAt = now;
    if (picture.resident) {
      continue;
    }
    // One the backend no longer takes draws plain from now on instead of being decoded again on
    // every frame.
    picture.uploaded = false;
    for (DrawItem& item : frame.items) {
      if (auto* geometry = std::get_if<Geometry>(&item.content);
          geometry && geometry->texture == id) {
        geometry->texture = 0;
      }
    }
  }
  state.picturesToDecode.clear();
  ++state.pictureFrame;
}

void ReleaseIdlePictures() {
  EngineState& state = Engine();
  const double now = ClockSeconds();
  // A clock that went back (a new clock source) sweeps at once.
  if (now >= state.lastIdleSweep && now - state.lastIdleSweep < kIdleSweepSeconds) {
    return;
  }
  state.lastIdleSweep = now;
  bool released = false;
  for (auto& [id, upload] : state.uploads) {
    if (upload.resident && !upload.encoded.empty() && now - upload.lastDrawn > kIdleSeconds) {
      state.backend->DestroyTexture(id);
      upload.resident = false;
      released = true;
    }
  }
  if (released) {
    ReturnFreedMemory();
  }
}

}  // namespace engine
