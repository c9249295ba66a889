#include "core/image_decoder.h"

#include <jpeglib.h>
// After jpeglib.h, which it needs.
#include <jerror.h>
#include <png.h>

#include <algorithm>
#include <array>
#include <csetjmp>
#include <cstdio>

#include "core/dds_image.h"

namespace engine {
namespace {

bool StartsWith(std::span<const uint8_t> bytes, std::span<const uint8_t> magic) {
  return bytes.size() >= magic.size() && std::equal(magic.begin(), magic.end(), bytes.begin());
}

// The closing IEND chunk: four length bytes, the name, four check bytes.
bool HasPngEnd(std::span<const uint8_t> bytes) {
  static constexpr std::array<uint8_t, 4> kEnd = {'I', 'E', 'N', 'D'};
  return bytes.size() >= 12 && std::equal(kEnd.begin(), kEnd.end(), bytes.end() - 8);
}

bool SizeTaken(uint64_t width, uint64_t height) {
  return width > 0 && height > 0 && width <= kMaxImageSide && height <= kMaxImageSide;
}

DecodedImage Refused(std::string problem) {
  return {std::nullopt, std::move(problem)};
}

// libpng's simplified reader keeps its messages in the png_image instead of printing them.
DecodedImage DecodePng(std::span<const uint8_t> bytes) {
  if (!HasPngEnd(bytes)) {
    return Refused("PNG: cut short");
  }
  png_image png{};
  png.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&png, bytes.data(), bytes.size())) {
    return Refused(std::string("PNG: ") + png.message);
  }
  if (!SizeTaken(png.width, png.height)) {
    png_image_free(&png);
    return Refused("PNG: larger than the engine takes");
  }
  png.format = PNG_FORMAT_RGBA;
  Image image;
  image.width = static_cast<int>(png.width);
  image.height = static_cast<int>(png.height);
  image.rgba.resize(PNG_IMAGE_SIZE(png));
  if (!png_image_finish_read(&png, nullptr, image.rgba.data(), 0, nullptr)) {
    return Refused(std::string("PNG: ") + png.message);
  }
  return {std::move(image), {}};
}

// Everything libjpeg works on lives here, outside the frame that calls setjmp, so nothing there is
// changed between the setjmp and a longjmp back to it.
struct JpegDecode {
  jpeg_decompress_struct info;
  jpeg_error_mgr errors;
  std::jmp_buf exit;
  std::array<char, JMSG_LENGTH_MAX> message;
};

[[noreturn]] void JpegFail(j_common_ptr info) {
  auto* decode = static_cast<JpegDecode*>(info->client_data);
  info->err->format_message(info, decode->message.data());
  std::longjmp(decode->exit, 1);
}

// Warnings are a few damaged bytes libjpeg decodes around, not worth a line, except the data
// ending before the picture does, at the end of the file or at a marker: libjpeg would pad the
// rest with grey and call it whole.
void JpegMessage(j_common_ptr info, int level) {
  const int code = info->err->msg_code;
  if (level < 0 && (code == JWRN_JPEG_EOF || code == JWRN_HIT_MARKER)) {
    JpegFail(info);
  }
}

// Errors end the decode by a longjmp back here; no object with a destructor may live in this
// frame. Without `pixels`, only the header is read, for the picture's size.
bool ReadJpeg(std::span<const uint8_t> bytes, Image& image, JpegDecode& decode, bool pixels) {
  jpeg_decompress_struct& info = decode.info;
  info.err = jpeg_std_error(&decode.errors);
  decode.errors.error_exit = JpegFail;
  decode.errors.emit_message = JpegMessage;
  info.client_data = &decode;
  if (setjmp(decode.exit)) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&info, TRUE);
  if (!SizeTaken(info.image_width, info.image_height)) {
    std::snprintf(decode.message.data(), decode.message.size(), "larger than the engine takes");
    jpeg_destroy_decompress(&info);
    return false;
  }
  if (!pixels) {
    image.width = static_cast<int>(info.image_width);
    image.height = static_cast<int>(info.image_height);
    jpeg_destroy_decompress(&info);
    return true;
  }
  info.out_color_space = JCS_EXT_RGBA;
  jpeg_start_decompress(&info);
  image.width = static_cast<int>(info.output_width);
  image.height = static_cast<int>(info.output_height);
  const size_t rowBytes = static_cast<size_t>(info.output_width) * 4;
  image.rgba.resize(rowBytes * info.output_height);
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = image.rgba.data() + rowBytes * info.output_scanline;
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return true;
}

DecodedImage DecodeJpeg(std::span<const uint8_t> bytes) {
  Image image;
  JpegDecode decode{};
  if (!ReadJpeg(bytes, image, decode, true)) {
    return Refused(std::string("JPEG: ") + decode.message.data());
  }
  return {std::move(image), {}};
}

// The format is chosen from the file's signature alone: guessing from the content would take
// almost any bytes for some format.
constexpr std::array<uint8_t, 8> kPng = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr std::array<uint8_t, 3> kJpeg = {0xFF, 0xD8, 0xFF};

}  // namespace

DecodedImage TryDecodeImage(std::span<const uint8_t> bytes) {
  if (LooksLikeDds(bytes)) {
    auto image = ReadDds(bytes);
    return image ? DecodedImage{std::move(image), {}} : Refused("damaged or unsupported DDS");
  }
  if (StartsWith(bytes, kPng)) {
    return DecodePng(bytes);
  }
  if (StartsWith(bytes, kJpeg)) {
    return DecodeJpeg(bytes);
  }
  return Refused("not a PNG, JPEG or DDS picture");
}

std::optional<Image> DecodeImage(std::span<const uint8_t> bytes) {
  DecodedImage decoded = TryDecodeImage(bytes);
  if (!decoded.image) {
    std::fprintf(stderr, "quasarball: a picture gives nothing to draw: %s\n",
                 decoded.problem.c_str());
  }
  return std::move(decoded.image);
}

std::optional<ImageSize> ProbeImage(std::span<const uint8_t> bytes) {
  if (StartsWith(bytes, kPng) && HasPngEnd(bytes)) {
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&png, bytes.data(), bytes.size())) {
      return std::nullopt;
    }
    const ImageSize size{static_cast<int>(png.width), static_cast<int>(png.height)};
    png_image_free(&png);
    return SizeTaken(size.width, size.height) ? std::optional(size) : std::nullopt;
  }
  if (StartsWith(bytes, kJpeg)) {
    Image header;
    JpegDecode decode{};
    if (ReadJpeg(bytes, header, decode, false)) {
      return ImageSize{header.width, header.height};
    }
  }
  return std::nullopt;
}

}  // namespace engine
