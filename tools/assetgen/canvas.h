// A Cairo picture with the few effects our art needs that Cairo lacks (blur, glow), and its
// encodings to PNG and JPEG.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <functional>
#include <vector>

namespace qbart {

using Bytes = std::vector<uint8_t>;

struct Rgb {
  double r, g, b;
};

// Colours from 0xRRGGBB.
constexpr Rgb Hex(uint32_t rgb) {
  return {((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0, (rgb & 0xFF) / 255.0};
}
Rgb Mix(Rgb a, Rgb b, double t);
Rgb Scale(Rgb c, double k);

class Canvas {
 public:
  Canvas(int width, int height);
  ~Canvas();
  Canvas(Canvas&& other) noexcept;
  Canvas& operator=(Canvas&& other) noexcept;
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  int width() const { return width_; }
  int height() const { return height_; }
  cairo_t* cr() const { return cr_; }
  cairo_surface_t* surface() const { return surface_; }

  // Premultiplied ARGB pixels, row by row (stride in 32-bit words).
  uint32_t* pixels();
  int stride() const;

  // Approximates a Gaussian blur of the given radius with three box passes; `alpha_only` blurs
  // just the alpha channel (enough for a mask).
  void Blur(double radius, bool alpha_only = false);

  Canvas Copy() const;
  // Draws `other` onto this canvas with its top-left at (x, y), scaled by `scale`.
  void Paint(const Canvas& other, double x, double y, double scale = 1.0, double alpha = 1.0);

  Bytes Png() const;
  // JPEG of the picture laid over black.
  Bytes Jpeg(int quality) const;

 private:
  int width_;
  int height_;
  cairo_surface_t* surface_;
  cairo_t* cr_;
};

// Draws `shape` as a soft light around itself: the shape is filled white off-screen, blurred by
// `radius`, and added in `colour` with `strength` (1 = as bright as the shape).
void Glow(Canvas& canvas, const std::function<void(cairo_t*)>& shape, Rgb colour, double radius,
          double strength);

void SetColour(cairo_t* cr, Rgb colour, double alpha = 1.0);
void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double r);
// A linear gradient from top to bottom through the given stops (offset, colour, alpha).
struct Stop {
  double offset;
  Rgb colour;
  double alpha = 1.0;
};
cairo_pattern_t* VerticalGradient(double y0, double y1, std::initializer_list<Stop> stops);
cairo_pattern_t* RadialGradient(double cx, double cy, double r0, double r1,
                                std::initializer_list<Stop> stops);
// Sets the pattern as source and releases our reference to it.
void UsePattern(cairo_t* cr, cairo_pattern_t* pattern);

}  // namespace qbart
