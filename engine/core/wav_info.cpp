#include "core/wav_info.h"

#include "core/byte_reader.h"

namespace engine {
namespace {

constexpr uint16_t kPcm = 1;
constexpr uint16_t kFloat = 3;
constexpr uint16_t kExtensible = 0xFFFE;

struct Format {
  uint16_t encoding = 0;
  uint16_t channels = 0;
  uint32_t sampleRate = 0;
  uint32_t byteRate = 0;
  uint16_t blockAlign = 0;
  uint16_t bits = 0;
};

bool ReadFormat(ByteReader in, uint32_t size, Format& format) {
  if (size < 16 || !in.U16(format.encoding) || !in.U16(format.channels) ||
      !in.U32(format.sampleRate) || !in.U32(format.byteRate) || !in.U16(format.blockAlign) ||
      !in.U16(format.bits)) {
    return false;
  }
  if (format.encoding == kExtensible) {
    // The real encoding is the first two bytes of the sub-format GUID.
    uint16_t extraSize, validBits;
    uint32_t channelMask;
    if (size < 40 || !in.U16(extraSize) || extraSize < 22 || !in.U16(validBits) ||
        !in.U32(channelMask) || !in.U16(format.encoding)) {
      return false;
    }
  }
  const bool pcm = format.encoding == kPcm && (format.bits == 8 || format.bits == 16 ||
                                               format.bits == 24 || format.bits == 32);
  const bool floating = format.encoding == kFloat && (format.bits == 32 || format.bits == 64);
  return (pcm || floating) && format.channels >= 1 && format.channels <= 8 &&
         format.sampleRate >= 1000 && format.sampleRate <= 384000 &&
         format.blockAlign == format.channels * format.bits / 8 &&
         format.byteRate == format.sampleRate * format.blockAlign;
}

}  // namespace

std::optional<WavInfo> ReadWavInfo(std::span<const uint8_t> bytes) {
  ByteReader in(bytes);
  uint32_t riffSize;
  if (!in.Tag("RIFF") || !in.U32(riffSize) || !in.Tag("WAVE")) {
    return std::nullopt;
  }
  Format format;
  bool haveFormat = false;
  while (in.Remaining() >= 8) {
    const size_t chunkStart = in.Position();
    uint32_t size;
    const bool isFormat = in.Tag("fmt ");
    const bool isData = !isFormat && in.Tag("data");
    if (!isFormat && !isData && !in.Skip(4)) {
      return std::nullopt;
    }
    if (!in.U32(size) || size > in.Remaining()) {
      return std::nullopt;
    }
    if (isFormat) {
      haveFormat = ReadFormat(in, size, format);
      if (!haveFormat) {
        return std::nullopt;
      }
    } else if (isData) {
      if (!haveFormat || size % format.blockAlign != 0) {
        return std::nullopt;
      }
      WavInfo info;
      info.channels = format.channels;
      info.sampleRate = static_cast<int>(format.sampleRate);
      info.bitsPerSample = format.bits;
      info.duration = static_cast<double>(size) / format.byteRate;
      return info;
    }
    // Chunks are padded to an even size; a missing pad byte at the very end is tolerated.
    const size_t next = chunkStart + 8 + size + (size & 1);
    if (!in.Seek(next < bytes.size() ? next : bytes.size())) {
      return std::nullopt;
    }
  }
  return std::nullopt;
}

}  // namespace engine
