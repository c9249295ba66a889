#include "assetgen/canvas.h"

// jpeglib.h needs FILE declared before it.
#include <cstdio>

#include <jpeglib.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <utility>

namespace qbart {

Rgb Mix(Rgb a, Rgb b, double t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Rgb Scale(Rgb c, double k) {
  return {c.r * k, c.g * k, c.b * k};
}

Canvas::Canvas(int width, int height)
    : width_(width),
      height_(height),
      surface_(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height)),
      cr_(cairo_create(surface_)) {
  if (cairo_surface_status(surface_) != CAIRO_STATUS_SUCCESS) {
    throw std::runtime_error("cannot make a " + std::to_string(width) + "x" +
                             std::to_string(height) + " picture");
  }
}

Canvas::~Canvas() {
  if (cr_ != nullptr) {
    cairo_destroy(cr_);
    cairo_surface_destroy(surface_);
  }
}

Canvas::Canvas(Canvas&& other) noexcept
    : width_(other.width_),
      height_(other.height_),
      surface_(std::exchange(other.surface_, nullptr)),
      cr_(std::exchange(other.cr_, nullptr)) {}

Canvas& Canvas::operator=(Canvas&& other) noexcept {
  std::swap(width_, other.width_);
  std::swap(height_, other.height_);
  std::swap(surface_, other.surface_);
  std::swap(cr_, other.cr_);
  return *this;
}

uint32_t* Canvas::pixels() {
  cairo_surface_flush(surface_);
  return reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(surface_));
}

int Canvas::stride() const {
  return cairo_image_surface_get_stride(surface_) / 4;
}

namespace {

// One box pass along a line of `count` samples spaced `step` apart, per channel.
void BoxLine(uint32_t* line, int count, int step, int radius, int first_channel,
             std::vector<uint32_t>& scratch) {
  scratch.resize(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) {
    scratch[static_cast<size_t>(i)] = line[i * step];
  }
  const int window = radius * 2 + 1;
  for (int channel = first_channel; channel < 32; channel += 8) {
    int sum = 0;
    auto at = [&](int i) {
      return static_cast<int>(
          (scratch[static_cast<size_t>(std::clamp(i, 0, count - 1))] >> channel) & 0xFF);
    };
    for (int i = -radius; i <= radius; ++i) {
      sum += at(i);
    }
    for (int i = 0; i < count; ++i) {
      uint32_t& pixel = line[i * step];
      const auto value = static_cast<uint32_t>((sum + window / 2) / window);
      pixel = (pixel & ~(0xFFu << channel)) | (value << channel);
      sum += at(i + radius + 1) - at(i - radius);
    }
  }
}

}  // namespace

void Canvas::Blur(double radius, bool alpha_only) {
  const int box = std::max(1, static_cast<int>(std::lround(radius / 1.7)));
  uint32_t* data = pixels();
  const int s = stride();
  std::vector<uint32_t> scratch;
  for (int pass = 0; pass < 3; ++pass) {
    for (int y = 0; y < height_; ++y) {
      BoxLine(data + y * s, width_, 1, box, alpha_only ? 24 : 0, scratch);
    }
    for (int x = 0; x < width_; ++x) {
      BoxLine(data + x, height_, s, box, alpha_only ? 24 : 0, scratch);
    }
  }
  cairo_surface_mark_dirty(surface_);
}

Canvas Canvas::Copy() const {
  Canvas copy(width_, height_);
  copy.Paint(*this, 0, 0);
  return copy;
}

void Canvas::Paint(const Canvas& other, double x, double y, double scale, double alpha) {
  cairo_save(cr_);
  cairo_translate(cr_, x, y);
  cairo_scale(cr_, scale, scale);
  cairo_set_source_surface(cr_, other.surface_, 0, 0);
  cairo_pattern_set_filter(cairo_get_source(cr_), CAIRO_FILTER_GOOD);
  cairo_paint_with_alpha(cr_, alpha);
  cairo_restore(cr_);
}

Bytes Canvas::Png() const {
  Bytes bytes;
  cairo_surface_flush(surface_);
  const auto status = cairo_surface_write_to_png_stream(
      surface_,
      [](void* closure, const unsigned char* data, unsigned int length) {
        auto* out = static_cast<Bytes*>(closure);
        out->insert(out->end(), data, data + length);
        return CAIRO_STATUS_SUCCESS;
      },
      &bytes);
  if (status != CAIRO_STATUS_SUCCESS) {
    throw std::runtime_error("PNG encoding failed");
  }
  return bytes;
}

Bytes Canvas::Jpeg(int quality) const {
  jpeg_compress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);
  // libjpeg cannot unwind through C++; a failure here is a bug in the generator.
  errors.error_exit = [](j_common_ptr common) {
    (*common->err->output_message)(common);
    std::abort();
  };
  jpeg_create_compress(&info);
  const std::unique_ptr<jpeg_compress_struct, void (*)(jpeg_compress_struct*)> guard(
      &info, [](jpeg_compress_struct* c) { jpeg_destroy_compress(c); });

  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = static_cast<JDIMENSION>(width_);
  info.image_height = static_cast<JDIMENSION>(height_);
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  jpeg_start_compress(&info, TRUE);

  cairo_surface_flush(surface_);
  const auto* data = reinterpret_cast<const uint32_t*>(cairo_image_surface_get_data(surface_));
  const int words = cairo_image_surface_get_stride(surface_) / 4;
  std::vector<unsigned char> row(static_cast<size_t>(width_) * 3);
  while (info.next_scanline < info.image_height) {
    const uint32_t* line = data + static_cast<size_t>(info.next_scanline) * words;
    for (int x = 0; x < width_; ++x) {
      // Premultiplied over black is the colour as it stands.
      row[static_cast<size_t>(x) * 3] = static_cast<unsigned char>(line[x] >> 16);
      row[static_cast<size_t>(x) * 3 + 1] = static_cast<unsigned char>(line[x] >> 8);
      row[static_cast<size_t>(x) * 3 + 2] = static_cast<unsigned char>(line[x]);
    }
    JSAMPROW rows[] = {row.data()};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  Bytes bytes(buffer, buffer + size);
  std::free(buffer);
  return bytes;
}

void Glow(Canvas& canvas, const std::function<void(cairo_t*)>& shape, Rgb colour, double radius,
          double strength) {
  // Only the shape's surroundings are blurred: find where it lands first.
  cairo_surface_t* recording = cairo_recording_surface_create(CAIRO_CONTENT_ALPHA, nullptr);
  cairo_t* probe = cairo_create(recording);
  shape(probe);
  cairo_destroy(probe);
  double x, y, w, h;
  cairo_recording_surface_ink_extents(recording, &x, &y, &w, &h);
  cairo_surface_destroy(recording);
  const double margin = std::ceil(radius * 2.5) + 2;
  const double left = std::max(0.0, std::floor(x - margin));
  const double top = std::max(0.0, std::floor(y - margin));
  const double right = std::min<double>(canvas.width(), std::ceil(x + w + margin));
  const double bottom = std::min<double>(canvas.height(), std::ceil(y + h + margin));
  if (right <= left || bottom <= top) {
    return;
  }
  Canvas mask(static_cast<int>(right - left), static_cast<int>(bottom - top));
  cairo_translate(mask.cr(), -left, -top);
  cairo_set_source_rgb(mask.cr(), 1, 1, 1);
  shape(mask.cr());
  mask.Blur(radius, true);
  cairo_t* cr = canvas.cr();
  cairo_save(cr);
  cairo_set_operator(cr, CAIRO_OPERATOR_ADD);
  double remaining = strength;
  while (remaining > 0) {
    SetColour(cr, colour, std::min(1.0, remaining));
    cairo_mask_surface(cr, mask.surface(), left, top);
    remaining -= 1.0;
  }
  cairo_restore(cr);
}

void SetColour(cairo_t* cr, Rgb colour, double alpha) {
  cairo_set_source_rgba(cr, colour.r, colour.g, colour.b, alpha);
}

void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double r) {
  r = std::min({r, w / 2, h / 2});
  cairo_new_sub_path(cr);
  cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
  cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
  cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
  cairo_arc(cr, x + r, y + r, r, M_PI, 3 * M_PI / 2);
  cairo_close_path(cr);
}

namespace {
void AddStops(cairo_pattern_t* pattern, std::initializer_list<Stop> stops) {
  for (const Stop& stop : stops) {
    cairo_pattern_add_color_stop_rgba(pattern, stop.offset, stop.colour.r, stop.colour.g,
                                      stop.colour.b, stop.alpha);
  }
}
}  // namespace

cairo_pattern_t* VerticalGradient(double y0, double y1, std::initializer_list<Stop> stops) {
  cairo_pattern_t* pattern = cairo_pattern_create_linear(0, y0, 0, y1);
  AddStops(pattern, stops);
  return pattern;
}

cairo_pattern_t* RadialGradient(double cx, double cy, double r0, double r1,
                                std::initializer_list<Stop> stops) {
  cairo_pattern_t* pattern = cairo_pattern_create_radial(cx, cy, r0, cx, cy, r1);
  AddStops(pattern, stops);
  return pattern;
}

void UsePattern(cairo_t* cr, cairo_pattern_t* pattern) {
  cairo_set_source(cr, pattern);
  cairo_pattern_destroy(pattern);
}

}  // namespace qbart
