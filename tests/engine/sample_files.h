// Small, well-formed files of every kind the engine reads, made in memory for the tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace sample {

using Bytes = std::vector<uint8_t>;

// The game's quad: 1.6 x 1.6 model units centred on the origin, texture coordinates 0..1.
std::string QuadModel();
// A PCM WAV of the given length: 8000 frames per second, mono, 16 bits.
Bytes Wav(double seconds);
// The smallest sfnt the engine's check accepts (a table directory naming 'cmap' and 'head').
Bytes Font();
// Pictures of one colour (red, green, blue, alpha).
Bytes Png(int width, int height, uint32_t rgba);
Bytes Jpeg(int width, int height);
// An uncompressed 32-bit DDS with the usual B8G8R8A8 masks, every pixel the same.
Bytes Dds(int width, int height, uint8_t red, uint8_t green, uint8_t blue, uint8_t alpha);

void PutU32(Bytes& bytes, size_t offset, uint32_t value);

}  // namespace sample
