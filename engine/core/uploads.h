// Pictures handed to the backend, shared between the texture handles and particle systems made
// from the same file or the same memory tag, and released when the last of them goes.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "core/frame.h"

namespace engine {

// The upload for a picture file at a game path; nothing when it is missing or undecodable. For a
// backend that draws, a large picture is judged by its header until its first draw: one whose
// pixels then turn out damaged draws plain.
std::optional<ResourceId> AcquireFileUpload(const char* path);
// The upload for a picture in memory, judged as above; pictures with the same tag are taken to
// be the same.
std::optional<ResourceId> AcquireMemoryUpload(std::span<const uint8_t> bytes, int32_t tag);
void ReleaseUpload(ResourceId id);
// Destroys every upload, at engine close.
void ReleaseAllUploads();
// The backend texture to draw an upload with: 0 when the backend refused it. Counts as a use in
// the frame being built; a large picture the backend does not hold yet is handed to it by
// ReadyFramePictures before the frame is drawn.
ResourceId DrawableTexture(ResourceId upload);
// Once a frame is built: when it brings up large pictures the backend does not hold (a new
// screen), first lets go of those of the screen it replaces, then decodes and hands over the
// new ones, so the two screens are never held together. A picture that cannot be had again is
// drawn plain in `frame`.
void ReadyFramePictures(Frame& frame);
// After each drawn frame: lets the backend free the pixels of large pictures nothing has drawn
// for a while (menus left behind, pictures shown once); they come back on their next use.
void ReleaseIdlePictures();

}  // namespace engine
