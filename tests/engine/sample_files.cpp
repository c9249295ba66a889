#include "sample_files.h"

#include <SDL.h>
#include <SDL_image.h>

#include <cstring>
#include <initializer_list>
#include <stdexcept>

namespace sample {
namespace {

void AppendU32(Bytes& bytes, uint32_t value) {
  for (int i = 0; i < 4; ++i) {
    bytes.push_back(static_cast<uint8_t>(value >> (8 * i)));
  }
}

void AppendU16(Bytes& bytes, uint16_t value) {
  bytes.push_back(static_cast<uint8_t>(value));
  bytes.push_back(static_cast<uint8_t>(value >> 8));
}

// Byte by byte: GCC 12 at -O2 misreads vector inserts of byte ranges as overflows.
void AppendBytes(Bytes& bytes, std::initializer_list<uint8_t> values) {
  for (const uint8_t value : values) {
    bytes.push_back(value);
  }
}

void AppendTag(Bytes& bytes, const char* tag) {
  for (int i = 0; i < 4; ++i) {
    bytes.push_back(static_cast<uint8_t>(tag[i]));
  }
}

void AppendU32BigEndian(Bytes& bytes, uint32_t value) {
  for (int i = 3; i >= 0; --i) {
    bytes.push_back(static_cast<uint8_t>(value >> (8 * i)));
  }
}

// Saves a one-colour picture with SDL2_image into memory.
template <typename Save>
Bytes Encode(int width, int height, uint32_t rgba, Save&& save) {
  SDL_Surface* surface =
      SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_RGBA32);
  if (!surface) {
    throw std::runtime_error(SDL_GetError());
  }
  SDL_FillRect(surface, nullptr,
               SDL_MapRGBA(surface->format, static_cast<uint8_t>(rgba >> 24),
                           static_cast<uint8_t>(rgba >> 16), static_cast<uint8_t>(rgba >> 8),
                           static_cast<uint8_t>(rgba)));
  Bytes buffer(1 << 20);
  SDL_RWops* out = SDL_RWFromMem(buffer.data(), static_cast<int>(buffer.size()));
  const int result = save(surface, out);
  const auto size = SDL_RWtell(out);
  SDL_RWclose(out);
  SDL_FreeSurface(surface);
  if (result != 0 || size <= 0) {
    throw std::runtime_error("could not encode a sample picture");
  }
  buffer.resize(static_cast<size_t>(size));
  return buffer;
}

}  // namespace

std::string QuadModel() {
  return "xof 0302txt 0032\n"
         "// the quad every screen picture is made of\n"
         "Header { 1; 0; 1; }\n"
         "Mesh quad {\n"
         "  4;\n"
         "  -0.8; 0.8; 0.0;,\n"
         "  0.8; 0.8; 0.0;,\n"
         "  0.8; -0.8; 0.0;,\n"
         "  -0.8; -0.8; 0.0;;\n"
         "  2;\n"
         "  3; 0, 1, 2;,\n"
         "  3; 0, 2, 3;;\n"
         "  MeshNormals { 1; 0.0; 0.0; -1.0;; 2; 3; 0, 0, 0;, 3; 0, 0, 0;; }\n"
         "  MeshTextureCoords {\n"
         "    4;\n"
         "    0.0; 0.0;,\n"
         "    1.0; 0.0;,\n"
         "    1.0; 1.0;,\n"
         "    0.0; 1.0;;\n"
         "  }\n"
         "}\n";
}

Bytes Wav(double seconds) {
  const uint32_t rate = 8000;
  const auto frames = static_cast<uint32_t>(seconds * rate);
  const uint32_t dataSize = frames * 2;
  Bytes bytes;
  AppendTag(bytes, "RIFF");
  AppendU32(bytes, 36 + dataSize);
  AppendTag(bytes, "WAVE");
  AppendTag(bytes, "fmt ");
  AppendU32(bytes, 16);
  AppendU16(bytes, 1);  // PCM
  AppendU16(bytes, 1);  // mono
  AppendU32(bytes, rate);
  AppendU32(bytes, rate * 2);  // bytes per second
  AppendU16(bytes, 2);         // bytes per frame
  AppendU16(bytes, 16);
  AppendTag(bytes, "data");
  AppendU32(bytes, dataSize);
  bytes.resize(bytes.size() + dataSize, 0);
  return bytes;
}

Bytes Font() {
  Bytes bytes;
  AppendU32BigEndian(bytes, 0x00010000);
  AppendBytes(bytes, {0, 2, 0, 32, 0, 1, 0, 0});  // two tables, search fields
  // cmap and head, the last ending exactly at the end of the file.
  const uint32_t tables[][3] = {{0x636D6170, 44, 4}, {0x68656164, 48, 8}};
  for (const auto& [tag, offset, length] : tables) {
    AppendU32BigEndian(bytes, tag);
    AppendU32BigEndian(bytes, 0);  // checksum
    AppendU32BigEndian(bytes, offset);
    AppendU32BigEndian(bytes, length);
  }
  bytes.resize(56, 0);
  return bytes;
}

Bytes Png(int width, int height, uint32_t rgba) {
  return Encode(width, height, rgba,
                [](SDL_Surface* s, SDL_RWops* out) { return IMG_SavePNG_RW(s, out, 0); });
}

Bytes Jpeg(int width, int height) {
  return Encode(width, height, 0x3060C0FF,
                [](SDL_Surface* s, SDL_RWops* out) { return IMG_SaveJPG_RW(s, out, 0, 90); });
}

Bytes Dds(int width, int height, uint8_t red, uint8_t green, uint8_t blue, uint8_t alpha) {
  Bytes bytes;
  AppendTag(bytes, "DDS ");
  AppendU32(bytes, 124);
  AppendU32(bytes, 0x100F);  // caps, height, width, pitch, pixel format
  AppendU32(bytes, static_cast<uint32_t>(height));
  AppendU32(bytes, static_cast<uint32_t>(width));
  AppendU32(bytes, static_cast<uint32_t>(width) * 4);
  bytes.resize(bytes.size() + 13 * 4, 0);  // depth, mip count, reserved
  AppendU32(bytes, 32);
  AppendU32(bytes, 0x41);  // RGB with alpha
  AppendU32(bytes, 0);
  AppendU32(bytes, 32);
  AppendU32(bytes, 0x00FF0000);
  AppendU32(bytes, 0x0000FF00);
  AppendU32(bytes, 0x000000FF);
  AppendU32(bytes, 0xFF000000);
  bytes.resize(4 + 124, 0);  // caps words
  for (int i = 0; i < width * height; ++i) {
    AppendBytes(bytes, {blue, green, red, alpha});
  }
  return bytes;
}

void PutU32(Bytes& bytes, size_t offset, uint32_t value) {
  for (int i = 0; i < 4; ++i) {
    bytes.at(offset + static_cast<size_t>(i)) = static_cast<uint8_t>(value >> (8 * i));
  }
}

}  // namespace sample
