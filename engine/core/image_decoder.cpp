#include "core/image_decoder.h"

#include <SDL.h>
#include <SDL_image.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>

#include "core/dds_image.h"

namespace engine {
namespace {

struct SurfaceDeleter {
  void operator()(SDL_Surface* surface) const { SDL_FreeSurface(surface); }
};
using SurfacePtr = std::unique_ptr<SDL_Surface, SurfaceDeleter>;

bool StartsWith(std::span<const uint8_t> bytes, std::span<const uint8_t> magic) {
  return bytes.size() >= magic.size() && std::equal(magic.begin(), magic.end(), bytes.begin());
}

// A JPEG decoder pads a truncated file with grey and calls it a picture; the end marker tells a
// whole file. Inside the compressed data 0xFF is always followed by 0x00 or a restart marker, so
// the pair cannot occur there by chance.
bool HasJpegEnd(std::span<const uint8_t> bytes) {
  for (size_t i = bytes.size(); i >= 2; --i) {
    if (bytes[i - 2] == 0xFF && bytes[i - 1] == 0xD9) {
      return true;
    }
  }
  return false;
}

// The closing IEND chunk: four length bytes, the name, four check bytes.
bool HasPngEnd(std::span<const uint8_t> bytes) {
  static constexpr std::array<uint8_t, 4> kEnd = {'I', 'E', 'N', 'D'};
  return bytes.size() >= 12 && std::equal(kEnd.begin(), kEnd.end(), bytes.end() - 8);
}

// SDL2_image guesses some formats (TGA) from almost any bytes, so the format is chosen here from
// the file's signature and SDL2_image is only asked for that one. Truncated files are refused
// here too.
const char* FormatOf(std::span<const uint8_t> bytes) {
  static constexpr std::array<uint8_t, 8> kPng = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  static constexpr std::array<uint8_t, 3> kJpeg = {0xFF, 0xD8, 0xFF};
  if (StartsWith(bytes, kPng) && HasPngEnd(bytes)) {
    return "PNG";
  }
  if (StartsWith(bytes, kJpeg) && HasJpegEnd(bytes)) {
    return "JPG";
  }
  return nullptr;
}

std::optional<Image> DecodeWithSdlImage(std::span<const uint8_t> bytes, const char* format) {
  if (bytes.size() > static_cast<size_t>(INT32_MAX)) {
    return std::nullopt;
  }
  SDL_RWops* stream = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
  if (!stream) {
    return std::nullopt;
  }
  const SurfacePtr decoded(IMG_LoadTyped_RW(stream, 1, format));
  if (!decoded || decoded->w <= 0 || decoded->h <= 0 || decoded->w > kMaxImageSide ||
      decoded->h > kMaxImageSide) {
    return std::nullopt;
  }
  const SurfacePtr rgba(SDL_ConvertSurfaceFormat(decoded.get(), SDL_PIXELFORMAT_RGBA32, 0));
  if (!rgba || SDL_LockSurface(rgba.get()) != 0) {
    return std::nullopt;
  }
  Image image;
  image.width = rgba->w;
  image.height = rgba->h;
  const size_t rowBytes = static_cast<size_t>(rgba->w) * 4;
  image.rgba.resize(rowBytes * static_cast<size_t>(rgba->h));
  const auto* source = static_cast<const uint8_t*>(rgba->pixels);
  for (int y = 0; y < rgba->h; ++y) {
    std::memcpy(image.rgba.data() + rowBytes * static_cast<size_t>(y),
                source + static_cast<size_t>(rgba->pitch) * static_cast<size_t>(y), rowBytes);
  }
  SDL_UnlockSurface(rgba.get());
  return image;
}

}  // namespace

std::optional<Image> DecodeImage(std::span<const uint8_t> bytes) {
  if (LooksLikeDds(bytes)) {
    return ReadDds(bytes);
  }
  const char* format = FormatOf(bytes);
  return format ? DecodeWithSdlImage(bytes, format) : std::nullopt;
}

}  // namespace engine
